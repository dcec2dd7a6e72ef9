#include "media/image_load.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <functional>

#include "base/log.h"
#include "base/paths.h"

#include "base/text.h"
#include "media/image_table.h"
#include "tests/media/image_files.h"
#include "tests/test_util.h"

namespace {

constexpr uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, K = 0xFF000000, W = 0xFFFFFFFF;
constexpr uint32_t M = 0xFFFF00FF;  // the colour key of these tests

// Six distinct colours in 3 x 2, so that flipped rows or swapped channels show.
const Pixels kSix = {R, G, B, 0xFF102030, 0xFFFFFFFF, 0xFF808080};

ImageSource Source(const std::string& path, int mask = 0, int optional = 0)
{
    ImageSource src;
    src.m_Path = path;
    src.m_nMask = mask;
    src.m_nOptional = optional;
    return src;
}

std::vector<uint32_t> All(const Surface& s)
{
    std::vector<uint32_t> out;
    for (int y = 0; y < s.Height(); ++y)
        out.insert(out.end(), s.Row(y), s.Row(y) + s.Width());
    return out;
}

class ImageLoadTest : public ::testing::Test {
protected:
    void SetUp() override { SetColorKey(Rgb{255, 0, 255}); }
    void TearDown() override
    {
        SetColorKey(Rgb{});
        ResetImages();
    }
    TempDir dir;
    RecordingSink sink;
};

}  // namespace

TEST_F(ImageLoadTest, PngIsPreferredOverBmpAndMissingFilesAreNamed)
{
    WritePng("image/MapChip.png", 2, 2, Plain(2, 2, R));
    WriteBmp("image/MapChip.bmp", MakeBmp(2, 2, 24, Plain(2, 2, B)));
    Surface s;
    ASSERT_EQ(LoadSurface(s, Source("image\\MapChip.*")), 1);
    EXPECT_EQ(s.Pixel(1, 1), R);

    std::filesystem::remove("image/MapChip.png");
    ASSERT_EQ(LoadSurface(s, Source("image\\MapChip.*")), 1);
    EXPECT_EQ(s.Pixel(1, 1), B);
    EXPECT_TRUE(sink.texts.empty());

    std::filesystem::remove("image/MapChip.bmp");
    EXPECT_EQ(LoadSurface(s, Source("image\\MapChip.*")), 0);
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0], SJ("image\\MapChip.png(または.bmp) が見つかりません！"));
    EXPECT_EQ(sink.titles[0], SJ("エラー"));

    // Optional: no image, no message, success.
    EXPECT_EQ(LoadSurface(s, Source("image\\MapChip.*", 0, 1)), 1);
    EXPECT_TRUE(s.Empty());
    EXPECT_EQ(sink.texts.size(), 1u);

    // A path with its own extension is loaded by it, whatever the case of the
    // file name on disk.
    WritePng("image/back/World.PNG", 1, 1, Plain(1, 1, G));
    EXPECT_EQ(LoadSurface(s, Source("image\\back\\world.png")), 1);
    EXPECT_EQ(s.Pixel(0, 0), G);
    EXPECT_EQ(LoadSurface(s, Source("image\\back\\none.bmp")), 0);
    EXPECT_EQ(sink.texts.back(), SJ("image\\back\\none.bmp が読み込めません！"));
}

TEST_F(ImageLoadTest, EveryAcceptedPixelSizeGivesTheSameColours)
{
    // Palettes of 16 entries or fewer are written with fewer bits a pixel: fill it to 256.
    Pixels palette = {R, G, B, 0xFF102030, 0xFFFFFFFF, 0xFF808080};
    palette.resize(256, K);
    const Pixels indices = {0, 1, 2, 3, 4, 5};
    Pixels grey;
    for (uint32_t v : kSix)
        grey.push_back(K | ((v >> 8) & 0xFF) * 0x010101);

    struct Case {
        const char* name;
        std::function<void(const std::string&)> write;
        const Pixels* expect;
    } cases[] = {
        {"p24.png", [](const std::string& p) { WritePng(p, 3, 2, kSix); }, &kSix},
        {"p32.png", [](const std::string& p) { WritePng(p, 3, 2, kSix, PNG_FORMAT_RGBA); }, &kSix},
        {"p8pal.png", [&](const std::string& p) { WritePalettePng(p, 3, 2, indices, palette); }, &kSix},
        {"p8grey.png", [](const std::string& p) { WritePng(p, 3, 2, kSix, PNG_FORMAT_GRAY); }, &grey},
        {"b24.bmp", [](const std::string& p) { WriteBmp(p, MakeBmp(3, 2, 24, kSix)); }, &kSix},
        {"b24down.bmp", [](const std::string& p) { WriteBmp(p, MakeBmp(3, 2, 24, kSix, true)); }, &kSix},
        {"b32.bmp", [](const std::string& p) { WriteBmp(p, MakeBmp(3, 2, 32, kSix)); }, &kSix},
        {"b32fields.bmp", [](const std::string& p) { WriteBmp(p, MakeBmp(3, 2, 32, kSix, false, {}, true)); }, &kSix},
        {"b8.bmp", [&](const std::string& p) { WriteBmp(p, MakeBmp(3, 2, 8, indices, false, palette)); }, &kSix},
    };
    for (const Case& c : cases) {
        c.write(std::string("image/") + c.name);
        Surface s;
        ASSERT_EQ(LoadSurface(s, Source(std::string("image\\") + c.name)), 1) << c.name;
        EXPECT_EQ(s.Width(), 3);
        EXPECT_EQ(s.Height(), 2);
        EXPECT_EQ(s.Depth(), 24);
        EXPECT_EQ(All(s), *c.expect) << c.name;
        EXPECT_EQ(s.Alpha(), std::string(c.name) == "p32.png") << c.name;
    }
    EXPECT_TRUE(sink.texts.empty()) << Cp932ToUtf8(sink.texts.front());
}

TEST_F(ImageLoadTest, BrokenAndUnsupportedFilesEndInTheirMessages)
{
    std::vector<uint8_t> bmp24 = MakeBmp(4, 4, 24, Plain(4, 4, R));
    std::vector<uint8_t> huge = bmp24;
    huge[18] = 0x30, huge[19] = 0x75, huge[22] = 0x30, huge[23] = 0x75;  // 30000 x 30000
    std::vector<uint8_t> rle = MakeBmp(4, 4, 8, Pixels(16, 0), false, {R});
    rle[30] = 1;

    WritePng("image/ok.png", 4, 4, Plain(4, 4, R));
    std::vector<uint8_t> png = ReadFile("image/ok.png");
    // The same few bytes claiming 30000 x 30000 pixels (header checksum made good).
    std::vector<uint8_t> hugePng = png;
    for (int at : {16, 20})
        hugePng[at] = 0, hugePng[at + 1] = 0, hugePng[at + 2] = 0x75, hugePng[at + 3] = 0x30;
    uLong crc = crc32(0, hugePng.data() + 12, 17);
    for (int i = 0; i < 4; ++i)
        hugePng[29 + i] = uint8_t(crc >> (24 - 8 * i));

    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;  // written as is unless empty
        const char* message;         // UTF-8, "%s" for the stored path
    } cases[] = {
        {"b16.bmp", MakeBmp(2, 2, 16, Plain(2, 2, 0)), "%s (16bit)の読み込みに失敗しました！\n8bit,24bit,32bit以外のカラーには対応していません。"},
        {"b1.bmp", MakeBmp(8, 1, 8, Pixels(8, 0), false, {R}), nullptr},  // a one-colour palette
        {"p1.png", {}, "%s (1bit)の読み込みに失敗しました！\n8bit,24bit,32bit以外のカラーには対応していません。"},
        {"notbmp.bmp", {'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40}, "%s はビットマップファイルではありません！"},
        {"short.bmp", {'B', 'M', 1}, "%s はビットマップファイルではありません！"},
        {"cut.bmp", std::vector<uint8_t>(bmp24.begin(), bmp24.end() - 5), "%s が読み込めません！"},
        {"huge.bmp", huge, "%s が読み込めません！"},
        {"rle.bmp", rle, "%s が読み込めません！"},
        {"notpng.png", bmp24, "%s はpngファイルではありません！"},
        {"huge.png", hugePng, "%s が読み込めません！\nファイルが不正、もしくは対応していない形式です。"},
        {"cut.png", std::vector<uint8_t>(png.begin(), png.begin() + 40), "%s が読み込めません！\nファイルが不正、もしくは対応していない形式です。"},
    };
    WritePalettePng("image/p1.png", 2, 2, Pixels(4, 1), {R, G});
    for (Case& c : cases) {
        if (!c.bytes.empty())
            WriteBmp(std::string("image/") + c.name, c.bytes);
        sink.texts.clear();
        Surface s;
        std::string stored = std::string("image\\") + c.name;
        int ok = LoadSurface(s, Source(stored));
        if (!c.message) {
            EXPECT_EQ(ok, 1) << c.name;
            EXPECT_TRUE(sink.texts.empty()) << c.name;
            continue;
        }
        EXPECT_EQ(ok, 0) << c.name;
        EXPECT_TRUE(s.Empty()) << c.name;
        ASSERT_EQ(sink.texts.size(), 1u) << c.name;
        EXPECT_EQ(sink.texts[0], StrPrintf(Utf8ToCp932(c.message).c_str(), stored.c_str())) << c.name;
    }

    // PNG pixel sizes other than 8, 24 and 32 name their size.
    struct PngCase {
        png_uint_32 format;
        int bits;
    } sizes[] = {{PNG_FORMAT_GA, 16}, {PNG_FORMAT_RGB | PNG_FORMAT_FLAG_LINEAR, 48},
                 {PNG_FORMAT_RGBA | PNG_FORMAT_FLAG_LINEAR, 64}};
    for (const PngCase& c : sizes) {
        ASSERT_TRUE(WritePng("image/deep.png", 2, 2, Plain(2, 2, R), c.format));
        sink.texts.clear();
        Surface s;
        EXPECT_EQ(LoadSurface(s, Source("image\\deep.png")), 0);
        ASSERT_EQ(sink.texts.size(), 1u);
        EXPECT_EQ(sink.texts[0], StrPrintf(SJ("%s (%dbit)の読み込みに失敗しました！\n8bit,24bit,32bit以外のカラーには対応していません。").c_str(),
                                           "image\\deep.png", c.bits));
    }

    // Only 24-bit surfaces are filled from files; the PNG loader says so only
    // while the error log is on.
    WriteBmp("image/b.bmp", bmp24);
    sink.texts.clear();
    Surface s;
    ImageSource deep = Source("image\\b.bmp");
    deep.m_nDepth = 32;
    EXPECT_EQ(LoadSurface(s, deep), 0);
    deep.m_Path = "image\\ok.png";
    EXPECT_EQ(LoadSurface(s, deep), 0);
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0], SJ("24bitDIB以外には未対応！ image\\b.bmp"));
}

TEST_F(ImageLoadTest, MaskAndKeyFollowTheImageKind)
{
    // Row 0 is keyed, black and transparent; the alpha image has one clear pixel.
    const Pixels keyed = {M, K, R, G};
    WriteBmp("image/Keyed.bmp", MakeBmp(2, 2, 24, keyed));
    WritePng("image/Alpha.png", 2, 2, {0x00FF0000, K, 0x80FF00FF, G}, PNG_FORMAT_RGBA);

    Surface s;
    ASSERT_EQ(LoadSurface(s, Source("image\\Keyed.*", 1)), 1);
    EXPECT_EQ(All(s), (Pixels{K, K, R, G}));
    EXPECT_EQ(s.MaskPixel(0, 0), W);
    EXPECT_EQ(s.MaskPixel(1, 0), K);
    EXPECT_EQ(s.MaskPixel(0, 1), K);

    ASSERT_EQ(LoadSurface(s, Source("image\\Keyed.*", 0)), 1);
    EXPECT_FALSE(s.HasMask());
    EXPECT_EQ(s.Pixel(0, 0), M);  // keyed only with a mask

    // The transparent pixel becomes black; every black pixel of an alpha image is
    // see-through, and a half-transparent one keeps its colour (the key plays no part).
    ASSERT_EQ(LoadSurface(s, Source("image\\Alpha.*", 1)), 1);
    EXPECT_TRUE(s.Alpha());
    EXPECT_EQ(All(s), (Pixels{K, K, M, G}));
    EXPECT_EQ(s.MaskPixel(0, 0), W);
    EXPECT_EQ(s.MaskPixel(1, 0), W);
    EXPECT_EQ(s.MaskPixel(0, 1), K);
    EXPECT_EQ(s.MaskPixel(1, 1), K);

    // Drawn masked over blue, the keyed and clear pixels show the blue.
    ASSERT_EQ(LoadSurface(s, Source("image\\Keyed.*", 1)), 1);
    Surface target;
    ASSERT_EQ(CreateSurface(target, 2, 2, 24, 0), 1);
    FillSurface(target, Rgb{0, 0, 255});
    DrawSurface(target, 0, 0, 2, 2, s, 0, 0, 0);
    EXPECT_EQ(All(target), (Pixels{B, K, R, G}));
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(ImageLoadTest, ProjectImagesLoadInOrderWithTheirSheets)
{
    // Every required file as a small BMP; the map chips carry one red chip at 129.
    for (int i = 0; i < kImageCount; ++i) {
        const ImageSource& row = ImageSourceRow(i);
        if (row.m_Path == "E" || row.m_nOptional || i == IMG_WORLDBACK)
            continue;
        std::string stored;
        ReplaceExtension(stored, row.m_Path, "bmp");
        WriteBmp(HostPath(stored), MakeBmp(8, 8, 24, Plain(8, 8, G)));
    }
    Pixels chips = Plain(256, 544, G);
    for (int y = 512; y < 544; ++y)
        for (int x = 32; x < 64; ++x)
            chips[std::size_t(y) * 256 + x] = R;
    WritePng("image/MapChip.png", 256, 544, chips);

    // No world background: skipped, and a surface it held is released.
    CreateSurface(ImageSurface(IMG_WORLDBACK), 4, 4, 24, 0);
    ASSERT_EQ(LoadProjectImages(""), 1);
    EXPECT_TRUE(sink.texts.empty());
    EXPECT_TRUE(ImageSurface(IMG_WORLDBACK).Empty());
    EXPECT_TRUE(ImageSurface(IMG_CHARACTER1 + 1).Empty());  // optional and missing
    EXPECT_EQ(ImageSurface(IMG_EVENT).Width(), 8);
    EXPECT_TRUE(ImageSurface(IMG_EVENT).HasMask());
    const Surface& land = ImageSurface(IMG_SHEET_LAND);
    EXPECT_EQ(land.Width(), 512);
    EXPECT_EQ(land.Height(), 512);
    EXPECT_TRUE(land.HasMask());
    EXPECT_EQ(land.Pixel(256 + 32 + 5, 5), R);  // chip 129 in the right half
    EXPECT_EQ(land.Pixel(5, 5), G);
    EXPECT_EQ(land.MaskPixel(5, 5), K);
    // The small event image fills only the corner of its sheet; the rest is clear.
    EXPECT_EQ(ImageSurface(IMG_SHEET_EVENT).MaskPixel(0, 0), K);
    EXPECT_EQ(ImageSurface(IMG_SHEET_EVENT).MaskPixel(100, 100), W);
    EXPECT_EQ(ImageSurface(IMG_WORK_WIDE).Width(), 1024);

    // A missing world background is passed over: the loader's own box only.
    ASSERT_EQ(LoadProjectImages("image\\back\\Sky.*"), 1);
    EXPECT_EQ(ImageSourceRow(IMG_WORLDBACK).m_Path, "image\\back\\Sky.*");
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0], SJ("image\\back\\Sky.png(または.bmp) が見つかりません！"));
    WriteBmp("image/back/Sky.bmp", MakeBmp(3, 3, 24, Plain(3, 3, B)));
    ASSERT_EQ(LoadProjectImages("image\\back\\Sky.*"), 1);
    EXPECT_EQ(ImageSurface(IMG_WORLDBACK).Pixel(2, 2), B);

    // A missing required image stops the load there: two boxes.
    sink.texts.clear();
    std::filesystem::remove("image/Symbol.bmp");
    ReleaseSurface(ImageSurface(IMG_EFFECT1));
    EXPECT_EQ(LoadProjectImages(""), 0);
    ASSERT_EQ(sink.texts.size(), 2u);
    EXPECT_EQ(sink.texts[0], SJ("image\\Symbol.png(または.bmp) が見つかりません！"));
    EXPECT_EQ(sink.texts[1], SJ("image\\Symbol.* が読み込めません！"));
    EXPECT_TRUE(ImageSurface(IMG_EFFECT1).Empty());  // the later rows were not reached
}
