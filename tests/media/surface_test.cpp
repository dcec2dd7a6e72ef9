#include <gtest/gtest.h>

#include "base/text.h"
#include "media/surface.h"
#include "tests/test_util.h"

namespace {

constexpr uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, K = 0xFF000000, W = 0xFFFFFFFF;

// A surface from rows of pixels (and of mask pixels when given).
Surface Make(int w, int h, const std::vector<uint32_t>& px, const std::vector<uint32_t>& mask = {}, int depth = 24)
{
    Surface s;
    EXPECT_EQ(CreateSurface(s, w, h, depth, mask.empty() ? 0 : 1), 1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            s.Row(y)[x] = px[std::size_t(y) * w + x];
            if (!mask.empty())
                s.MaskRow(y)[x] = mask[std::size_t(y) * w + x];
        }
    return s;
}

std::vector<uint32_t> All(const Surface& s)
{
    std::vector<uint32_t> out;
    for (int y = 0; y < s.Height(); ++y)
        out.insert(out.end(), s.Row(y), s.Row(y) + s.Width());
    return out;
}

std::vector<uint32_t> AllMask(const Surface& s)
{
    std::vector<uint32_t> out;
    for (int y = 0; y < s.Height(); ++y)
        out.insert(out.end(), s.MaskRow(y), s.MaskRow(y) + s.Width());
    return out;
}

}  // namespace

TEST(SurfaceTest, CreateRefusesImpossibleSurfacesAndReleaseEmpties)
{
    Surface s;
    EXPECT_EQ(CreateSurface(s, 0, 5, 24, 0), 0);
    EXPECT_EQ(CreateSurface(s, 5, 5, 16, 0), 0);
    EXPECT_EQ(CreateSurface(s, kMaxSurfaceSide + 1, 1, 24, 0), 0);
    EXPECT_EQ(CreateSurface(s, 30000, 30000, 24, 1), 0);  // beyond the pixel limit, never allocated
    EXPECT_TRUE(s.Empty());

    ASSERT_EQ(CreateSurface(s, 3, 2, 24, 1), 1);
    EXPECT_EQ(s.Stride(), 12);
    EXPECT_TRUE(s.HasMask());
    EXPECT_EQ(s.Pixel(2, 1), K);
    FillSurface(s, Rgb{1, 2, 3});
    EXPECT_EQ(All(s), std::vector<uint32_t>(6, 0xFF010203));
    EXPECT_EQ(s.MaskPixel(0, 0), K);  // the fill leaves the mask alone
    ReleaseSurface(s);
    EXPECT_TRUE(s.Empty());
    EXPECT_FALSE(s.HasMask());
    EXPECT_EQ(s.Width(), 0);
}

// Target AND mask, then OR image: white mask pixels keep the target, black ones
// take the image. A mask pixel that is neither shows the bitwise mixture.
TEST(SurfaceTest, MaskedDrawAndsTheMaskThenOrsTheImage)
{
    Surface src = Make(3, 1, {R, K, 0xFF0000F0}, {K, W, 0xFF00000F});
    Surface dst = Make(4, 1, {G, G, G, G});

    DrawSurface(dst, 1, 0, 3, 1, src, 0, 0, 0);
    EXPECT_EQ(All(dst), (std::vector<uint32_t>{G, R, G, 0xFF0000F0}));

    Surface copied = Make(4, 1, {G, G, G, G});
    DrawSurface(copied, 1, 0, 3, 1, src, 0, 0, 1);
    EXPECT_EQ(All(copied), (std::vector<uint32_t>{G, R, K, 0xFF0000F0}));

    // Without a mask the draw copies whatever the flag.
    Surface plain = Make(2, 1, {B, R});
    Surface d2 = Make(2, 1, {G, G});
    DrawSurface(d2, 0, 0, 2, 1, plain, 0, 0, 0);
    EXPECT_EQ(All(d2), (std::vector<uint32_t>{B, R}));
}

TEST(SurfaceTest, DrawIsClippedToBothSurfaces)
{
    // Source 3 x 3 numbered 1..9, target 4 x 4 of zeros (opaque black).
    std::vector<uint32_t> px;
    for (uint32_t i = 1; i <= 9; ++i)
        px.push_back(K | i);
    const Surface src = Make(3, 3, px);
    struct Case {
        int x, y, w, h, sx, sy;
        std::vector<uint32_t> expect;  // the target's low bytes, row by row
    } cases[] = {
        // Hanging over the top-left corner of the target.
        {-1, -1, 3, 3, 0, 0, {5, 6, 0, 0, 8, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        // Hanging over the bottom-right corner.
        {3, 3, 3, 3, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
        // A rectangle larger than the source is cut to it.
        {1, 0, 10, 10, 1, 1, {0, 5, 6, 0, 0, 8, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        // A negative source position moves the target position with it.
        {0, 0, 3, 3, -1, -2, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 0, 0, 0, 0, 0}},
        // Wholly outside: nothing.
        {4, 0, 3, 3, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {0, -3, 3, 3, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Surface dst;
        ASSERT_EQ(CreateSurface(dst, 4, 4, 24, 0), 1);
        DrawSurface(dst, c.x, c.y, c.w, c.h, src, c.sx, c.sy, 1);
        std::vector<uint32_t> got;
        for (uint32_t v : All(dst))
            got.push_back(v & 0xFFFFFF);
        EXPECT_EQ(got, c.expect) << c.x << "," << c.y << " " << c.w << "x" << c.h << " from " << c.sx << "," << c.sy;
    }
}

TEST(SurfaceTest, MaskCopyTakesTheSourceMaskOrMakesItOpaque)
{
    Surface dst = Make(2, 1, {K, K}, {W, W});
    Surface masked = Make(1, 1, {R}, {0xFF00FF00});
    Surface plain = Make(1, 1, {R});
    DrawSurfaceMask(dst, 0, 0, 1, 1, masked, 0, 0);
    DrawSurfaceMask(dst, 1, 0, 1, 1, plain, 0, 0);
    EXPECT_EQ(AllMask(dst), (std::vector<uint32_t>{0xFF00FF00, K}));
}

TEST(SurfaceTest, CutOutIsTransparentByMaskOrKeyAndOutside)
{
    const Rgb magenta{255, 0, 255};
    constexpr uint32_t M = 0xFFFF00FF, O = 0;
    Surface plain = Make(2, 2, {M, R, G, M});
    EXPECT_EQ(CutOut(plain, 0, 0, 2, 2, &magenta), (std::vector<uint32_t>{O, R, G, O}));
    EXPECT_EQ(CutOut(plain, 0, 0, 2, 2, nullptr), (std::vector<uint32_t>{M, R, G, M})) << "no key: all opaque";
    EXPECT_EQ(CutOut(plain, 1, 1, 2, 2, &magenta), (std::vector<uint32_t>{O, O, O, O}));
    EXPECT_EQ(CutOut(plain, -1, 0, 2, 1, nullptr), (std::vector<uint32_t>{O, M}));
    // White in the mask is transparent (keyed pixels of a masked image are
    // black); the key colour under a black mask too, as a sheet composed from
    // an unmasked picture holds it.
    Surface masked = Make(3, 1, {K, M, R}, {W, K, K});
    EXPECT_EQ(CutOut(masked, 0, 0, 3, 1, &magenta), (std::vector<uint32_t>{O, O, R}));
    EXPECT_EQ(CutOut(masked, 0, 0, 3, 1, nullptr), (std::vector<uint32_t>{O, M, R}));
    EXPECT_TRUE(CutOut(plain, 0, 0, 0, 5, &magenta).empty());
}

TEST(SurfaceTest, TurnCellsMirrorsEachCell)
{
    // 4 x 2 numbered 1..8.
    struct Case {
        int cw, ch;
        std::vector<uint32_t> expect;
    } cases[] = {
        {2, 2, {6, 5, 8, 7, 2, 1, 4, 3}},  // half a turn per 2 x 2 cell
        {2, 0, {2, 1, 4, 3, 6, 5, 8, 7}},  // column strips left to right
        {0, 1, {1, 2, 3, 4, 5, 6, 7, 8}},  // one-row strips stay as they are
        {0, 2, {5, 6, 7, 8, 1, 2, 3, 4}},  // row strips top to bottom
        {3, 0, {3, 2, 1, 4, 7, 6, 5, 8}},  // the column cut off at the edge stays
        {0, 0, {1, 2, 3, 4, 5, 6, 7, 8}},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> px;
        for (uint32_t i = 1; i <= 8; ++i)
            px.push_back(K | i);
        Surface s = Make(4, 2, px);
        TurnCells(s, c.cw, c.ch);
        std::vector<uint32_t> got;
        for (uint32_t v : All(s))
            got.push_back(v & 0xFF);
        EXPECT_EQ(got, c.expect) << c.cw << "x" << c.ch;
    }
}

// The mask and key rules for each depth; the key is magenta.
TEST(SurfaceTest, MaskAndColourKeyByDepthAndAlpha)
{
    SetColorKey(Rgb{255, 0, 255});
    constexpr uint32_t M = 0xFFFF00FF;
    struct Case {
        const char* what;
        int depth;
        bool alpha, mask;
        std::vector<uint32_t> px, expectPx, expectMask;
    } cases[] = {
        {"24-bit keyed", 24, false, true, {M, R, K}, {K, R, K}, {W, K, K}},
        {"24-bit without mask keeps the key colour", 24, false, false, {M, R}, {M, R}, {}},
        // A 24-bit alpha image holds black where it was transparent: black is see-through.
        {"24-bit alpha", 24, true, true, {K, M, R}, {K, M, R}, {W, K, K}},
        {"32-bit keyed", 32, false, true, {0x00FF00FF, 0x80FF0000, 0x00000000}, {K, 0x80FF0000, 0}, {W, K, K}},
        {"32-bit keyed without mask", 32, false, false, {0x12FF00FF, R}, {K, R}, {}},
        {"32-bit alpha", 32, true, true, {0x00FF0000, 0x80FF00FF, R}, {K, 0x80FF00FF, R}, {W, K, K}},
    };
    for (const Case& c : cases) {
        Surface s = Make(int(c.px.size()), 1, c.px, c.mask ? std::vector<uint32_t>(c.px.size(), 0) : std::vector<uint32_t>{},
                         c.depth);
        s.SetAlpha(c.alpha);
        ApplyMaskAndKey(s, "x.png");
        EXPECT_EQ(All(s), c.expectPx) << c.what;
        if (c.mask) {
            EXPECT_EQ(AllMask(s), c.expectMask) << c.what;
        }
    }

    // The key's red meets the pixel's red.
    SetColorKey(Rgb{0, 0, 255});
    Surface s = Make(2, 1, {M, B}, {0, 0});
    ApplyMaskAndKey(s, "x.png");
    EXPECT_EQ(AllMask(s), (std::vector<uint32_t>{K, W}));

    RecordingSink sink;
    Surface eight = Make(1, 1, {M}, {0}, 8);
    ApplyMaskAndKey(eight, "image\\a.bmp");
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0], SJ("24bitDIB以外には未対応！ image\\a.bmp"));
    SetColorKey(Rgb{});
}
