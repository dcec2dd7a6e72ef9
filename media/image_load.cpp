#include "media/image_load.h"

#include <png.h>

#include <bit>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "base/log.h"
#include "base/paths.h"
#include "base/text.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

bool FileExists(const std::string& host)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(host, ec);
}

bool IsPngExtension(const std::string& path)
{
    std::string ext;
    if (!GetExtension(ext, path) || ext.size() != 3)
        return false;
    for (char& c : ext)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext == "png";
}

void ReportCannotRead(const std::string& path) { ErrorBoxPrintf(SJ("%s が読み込めません！").c_str(), path.c_str()); }

void ReportBitSize(const std::string& path, int bits)
{
    ErrorBoxPrintf(SJ("%s (%dbit)の読み込みに失敗しました！\n8bit,24bit,32bit以外のカラーには対応していません。").c_str(),
                   path.c_str(), bits);
}

// ---- PNG -------------------------------------------------------------------

struct PngHeader {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    int channels = 0;
};

[[noreturn]] void PngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngWarning(png_structp, png_const_charp) {}

struct PngReadGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReadGuard()
    {
        if (png)
            png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

// libpng reports a broken file by jumping back to the setjmp: the two functions
// that call into it hold no object with a destructor.
bool PngReadHeader(png_structp png, png_infop info, PngHeader* h)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    h->width = png_get_image_width(png, info);
    h->height = png_get_image_height(png, info);
    h->bitDepth = png_get_bit_depth(png, info);
    h->colorType = png_get_color_type(png, info);
    h->channels = png_get_channels(png, info);
    return true;
}

// Decodes into rows of B, G, R, A bytes (0xAARRGGBB words); images without an
// alpha channel get alpha 0xFF. A transparent palette entry is not turned into
// alpha: only a true alpha channel makes an alpha image.
bool PngReadPixels(png_structp png, png_infop info, int colorType, png_bytepp rows, png_size_t rowBytes)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    else if (colorType == PNG_COLOR_TYPE_GRAY)
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if (!(colorType & PNG_COLOR_MASK_ALPHA))
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != rowBytes)
        return false;
    png_read_image(png, rows);
    return true;
}

// ---- BMP -------------------------------------------------------------------

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kLargestHeaderSize = 124;

// One colour channel of a 32-bit bit-field bitmap.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    explicit Channel(uint32_t m) : mask(m)
    {
        if (m) {
            shift = std::countr_zero(m);
            bits = std::bit_width(m >> shift);
        }
    }
    uint8_t Get(uint32_t v) const
    {
        if (!mask)
            return 0;
        uint32_t x = (v & mask) >> shift;
        if (bits >= 8)
            return static_cast<uint8_t>(x >> (bits - 8));
        return static_cast<uint8_t>(x * 255 / ((1u << bits) - 1));
    }
};

struct BmpInfo {
    int64_t width = 0;
    int64_t height = 0;  // rows, always positive
    bool topDown = false;
    int bits = 0;
    uint32_t compression = kBiRgb;
    uint32_t masks[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    std::vector<uint32_t> palette;
};

enum class BmpResult { Ok, NotBitmap, CannotRead, BitSize };

// Reads the file and info headers, the bit-field masks and the palette; leaves
// the file after them.
BmpResult ReadBmpHeaders(std::FILE* f, BmpInfo& bi, uint32_t& pixelOffset)
{
    uint8_t fh[14];
    if (std::fread(fh, 1, sizeof fh, f) != sizeof fh || fh[0] != 'B' || fh[1] != 'M')
        return BmpResult::NotBitmap;
    pixelOffset = U32(fh + 10);

    uint8_t ih[kLargestHeaderSize] = {};
    if (std::fread(ih, 1, 4, f) != 4)
        return BmpResult::NotBitmap;
    uint32_t size = U32(ih);
    bool core = size == kCoreHeaderSize;
    if (!core && (size < kInfoHeaderSize || size > kLargestHeaderSize))
        return BmpResult::NotBitmap;
    if (std::fread(ih + 4, 1, size - 4, f) != size - 4)
        return BmpResult::NotBitmap;

    if (core) {
        bi.width = U16(ih + 4);
        bi.height = U16(ih + 6);
        bi.bits = U16(ih + 10);
    } else {
        bi.width = static_cast<int32_t>(U32(ih + 4));
        int64_t h = static_cast<int32_t>(U32(ih + 8));
        bi.topDown = h < 0;
        bi.height = h < 0 ? -h : h;
        bi.bits = U16(ih + 14);
        bi.compression = U32(ih + 16);
    }
    if (bi.bits != 8 && bi.bits != 24 && bi.bits != 32)
        return BmpResult::BitSize;
    if (bi.compression != kBiRgb && !(bi.compression == kBiBitfields && bi.bits == 32))
        return BmpResult::CannotRead;

    if (bi.compression == kBiBitfields) {
        uint8_t m[12];
        if (size >= kInfoHeaderSize + 12)
            std::memcpy(m, ih + kInfoHeaderSize, 12);
        else if (std::fread(m, 1, 12, f) != 12)
            return BmpResult::CannotRead;
        for (int i = 0; i < 3; ++i)
            bi.masks[i] = U32(m + 4 * i);
    }

    if (bi.bits == 8) {
        uint32_t used = core ? 0 : U32(ih + 32);
        std::size_t count = used == 0 || used > 256 ? 256 : used;
        std::size_t entry = core ? 3 : 4;
        std::vector<uint8_t> raw(count * entry);
        if (std::fread(raw.data(), 1, raw.size(), f) != raw.size())
            return BmpResult::CannotRead;
        bi.palette.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            bi.palette[i] = PixelOf(Rgb{raw[i * entry + 2], raw[i * entry + 1], raw[i * entry]});
    }
    return BmpResult::Ok;
}

}  // namespace

int LoadPngFile(Surface& s, const std::string& path, int depth, int mask, bool quietWhenMissing)
{
    ReleaseSurface(s);
    std::string host = HostPath(path);
    if (quietWhenMissing && !FileExists(host))
        return 0;
    FilePtr f(std::fopen(host.c_str(), "rb"));
    if (!f) {
        ReportCannotRead(path);
        return 0;
    }
    unsigned char sig[8];
    if (std::fread(sig, 1, sizeof sig, f.get()) != sizeof sig || png_sig_cmp(sig, 0, sizeof sig) != 0) {
        ErrorBoxPrintf(SJ("%s はpngファイルではありません！").c_str(), path.c_str());
        return 0;
    }

    auto reportBroken = [&] {
        ReleaseSurface(s);
        ErrorBoxPrintf(SJ("%s が読み込めません！\nファイルが不正、もしくは対応していない形式です。").c_str(), path.c_str());
        return 0;
    };
    PngReadGuard g;
    g.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!g.png)
        return reportBroken();
    g.info = png_create_info_struct(g.png);
    if (!g.info)
        return reportBroken();
    png_init_io(g.png, f.get());
    png_set_sig_bytes(g.png, sizeof sig);
    png_set_user_limits(g.png, kMaxSurfaceSide, kMaxSurfaceSide);

    PngHeader h;
    if (!PngReadHeader(g.png, g.info, &h))
        return reportBroken();
    int bits = h.channels * h.bitDepth;
    if (bits != 8 && bits != 24 && bits != 32) {
        ReportBitSize(path, bits);
        return 0;
    }
    // Deflate packs at most 1032 bytes into one: a file too short for its rows is
    // refused before a surface is made for them.
    std::error_code ec;
    uint64_t fileSize = std::filesystem::file_size(host, ec);
    uint64_t rawBytes = (uint64_t(h.width) * bits / 8 + 1) * h.height;
    if (!ec && fileSize * 1032 < rawBytes)
        return reportBroken();
    if (!CreateSurface(s, static_cast<int>(h.width), static_cast<int>(h.height), depth, mask)) {
        ErrorBoxPrintf(SJ("%s の作成に失敗しました！").c_str(), path.c_str());
        return 0;
    }
    bool alpha = bits == 32;
    s.SetAlpha(alpha);
    if (depth != 24) {
        DebugBoxPrintf("%s", SJ("24bitDIB以外は未対応").c_str());
        ReleaseSurface(s);
        return 0;
    }

    std::vector<png_bytep> rows(static_cast<std::size_t>(s.Height()));
    for (int y = 0; y < s.Height(); ++y)
        rows[y] = reinterpret_cast<png_bytep>(s.Row(y));
    if (!PngReadPixels(g.png, g.info, h.colorType, rows.data(), static_cast<png_size_t>(s.Stride())))
        return reportBroken();

    if (alpha) {
        // A 24-bit surface has no alpha: fully transparent pixels become black, which
        // is what the mask of an alpha image is built from.
        for (int y = 0; y < s.Height(); ++y) {
            uint32_t* p = s.Row(y);
            for (int x = 0; x < s.Width(); ++x)
                p[x] = (p[x] >> 24) == 0 ? kOpaque : p[x] | kOpaque;
        }
    }
    return 1;
}

int LoadBmpFile(Surface& s, const std::string& path, int depth, int mask, bool quietWhenMissing)
{
    ReleaseSurface(s);
    std::string host = HostPath(path);
    if (quietWhenMissing && !FileExists(host))
        return 0;
    FilePtr f(std::fopen(host.c_str(), "rb"));
    if (!f) {
        ReportCannotRead(path);
        return 0;
    }
    std::error_code ec;
    uint64_t fileSize = std::filesystem::file_size(host, ec);
    if (ec)
        fileSize = 0;

    BmpInfo bi;
    uint32_t pixelOffset = 0;
    switch (ReadBmpHeaders(f.get(), bi, pixelOffset)) {
    case BmpResult::Ok:
        break;
    case BmpResult::NotBitmap:
        ErrorBoxPrintf(SJ("%s はビットマップファイルではありません！").c_str(), path.c_str());
        return 0;
    case BmpResult::BitSize:
        ReportBitSize(path, bi.bits);
        return 0;
    case BmpResult::CannotRead:
        ReportCannotRead(path);
        return 0;
    }

    // The rows must all be in the file before a surface is made for them, so a
    // header claiming a huge image costs nothing.
    long afterHeaders = std::ftell(f.get());
    if (pixelOffset < static_cast<uint64_t>(afterHeaders) || pixelOffset > fileSize)
        pixelOffset = static_cast<uint32_t>(afterHeaders);
    if (bi.width < 1 || bi.height < 1 || bi.width > kMaxSurfaceSide || bi.height > kMaxSurfaceSide) {
        ReportCannotRead(path);
        return 0;
    }
    std::size_t stride = static_cast<std::size_t>((bi.width * bi.bits + 31) / 32 * 4);
    if (pixelOffset + stride * static_cast<uint64_t>(bi.height) > fileSize) {
        ReportCannotRead(path);
        return 0;
    }
    if (!CreateSurface(s, static_cast<int>(bi.width), static_cast<int>(bi.height), depth, mask)) {
        ReportCannotRead(path);
        return 0;
    }
    if (depth != 24) {
        ReleaseSurface(s);
        ErrorBoxPrintf(SJ("24bitDIB以外には未対応！ %s").c_str(), path.c_str());
        return 0;
    }

    std::vector<uint8_t> row(stride);
    const Channel red(bi.masks[0]), green(bi.masks[1]), blue(bi.masks[2]);
    if (std::fseek(f.get(), static_cast<long>(pixelOffset), SEEK_SET) != 0) {
        ReleaseSurface(s);
        ReportCannotRead(path);
        return 0;
    }
    for (int y = 0; y < s.Height(); ++y) {
        if (std::fread(row.data(), 1, stride, f.get()) != stride) {
            ReleaseSurface(s);
            ReportCannotRead(path);
            return 0;
        }
        uint32_t* out = s.Row(bi.topDown ? y : s.Height() - 1 - y);
        const uint8_t* p = row.data();
        for (int x = 0; x < s.Width(); ++x) {
            switch (bi.bits) {
            case 8:
                out[x] = p[x] < bi.palette.size() ? bi.palette[p[x]] : kOpaque;
                break;
            case 24:
                out[x] = PixelOf(Rgb{p[3 * x + 2], p[3 * x + 1], p[3 * x]});
                break;
            default:
                if (bi.compression == kBiBitfields) {
                    uint32_t v = U32(p + 4 * x);
                    out[x] = PixelOf(Rgb{red.Get(v), green.Get(v), blue.Get(v)});
                } else {
                    out[x] = PixelOf(Rgb{p[4 * x + 2], p[4 * x + 1], p[4 * x]});
                }
                break;
            }
        }
    }
    return 1;
}

int LoadSurface(Surface& s, const ImageSource& src)
{
    ReleaseSurface(s);
    const std::string& path = src.m_Path;
    if (path == "E")
        return CreateSurface(s, src.m_nWidth, src.m_nHeight, src.m_nDepth, src.m_nMask);

    std::string ext;
    std::string loaded = path;
    if (!GetExtension(ext, path) || ext != "*") {
        int ok = IsPngExtension(path) ? LoadPngFile(s, path, src.m_nDepth, src.m_nMask)
                                      : LoadBmpFile(s, path, src.m_nDepth, src.m_nMask);
        if (!ok)
            return 0;
    } else {
        std::string png, bmp;
        ReplaceExtension(png, path, "png");
        ReplaceExtension(bmp, path, "bmp");
        if (LoadPngFile(s, png, src.m_nDepth, src.m_nMask, true)) {
            loaded = png;
        } else if (LoadBmpFile(s, bmp, src.m_nDepth, src.m_nMask, true)) {
            loaded = bmp;
        } else {
            if (src.m_nOptional)
                return 1;
            std::string shown;
            ReplaceExtension(shown, path, SJ("png(または.bmp)"));
            ErrorBoxPrintf(SJ("%s が見つかりません！").c_str(), shown.c_str());
            return 0;
        }
    }
    TurnCells(s, src.m_nCellWidth, src.m_nCellHeight);
    ApplyMaskAndKey(s, loaded);
    return 1;
}
