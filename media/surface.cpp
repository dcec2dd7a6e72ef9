#include "media/surface.h"

#include <algorithm>
#include <bit>
#include <new>

#include "base/log.h"
#include "base/text.h"

static_assert(std::endian::native == std::endian::little,
              "surfaces are laid out for little-endian hosts (B, G, R, A in memory)");

namespace {

Rgb g_colorKey;

constexpr uint32_t kColourBits = 0x00FFFFFFu;

uint32_t KeyPixel() { return PixelOf(g_colorKey) & kColourBits; }

// Clips the rectangle copy to both surfaces; false when nothing is left.
bool ClipCopy(const Surface& dst, int& x, int& y, int& w, int& h, const Surface& src, int& sx, int& sy)
{
    if (dst.Empty() || src.Empty())
        return false;
    if (sx < 0) { x -= sx; w += sx; sx = 0; }
    if (sy < 0) { y -= sy; h += sy; sy = 0; }
    if (x < 0) { sx -= x; w += x; x = 0; }
    if (y < 0) { sy -= y; h += y; y = 0; }
    w = std::min({w, src.Width() - sx, dst.Width() - x});
    h = std::min({h, src.Height() - sy, dst.Height() - y});
    return w > 0 && h > 0;
}

// Mirrors the rectangle left to right and/or top to bottom in place.
void MirrorRect(Surface& s, int x0, int y0, int w, int h, bool across, bool down)
{
    if (down) {
        for (int i = 0; i < h / 2; ++i)
            std::swap_ranges(s.Row(y0 + i) + x0, s.Row(y0 + i) + x0 + w, s.Row(y0 + h - 1 - i) + x0);
    }
    if (across) {
        for (int y = y0; y < y0 + h; ++y)
            std::reverse(s.Row(y) + x0, s.Row(y) + x0 + w);
    }
}

}  // namespace

int CreateSurface(Surface& s, int width, int height, int depth, int mask)
{
    ReleaseSurface(s);
    if (depth != 8 && depth != 24 && depth != 32)
        return 0;
    if (width < 1 || height < 1 || width > kMaxSurfaceSide || height > kMaxSurfaceSide ||
        int64_t(width) * height > kMaxSurfacePixels)
        return 0;
    std::size_t count = std::size_t(width) * std::size_t(height);
    // A fresh 32-bit bitmap is all zero, alpha included; the others are opaque black.
    uint32_t black = depth == 32 ? 0u : kOpaque;
    try {
        s.m_Pixels.assign(count, black);
        if (mask)
            s.m_Mask.assign(count, black);
    } catch (const std::bad_alloc&) {
        ReleaseSurface(s);
        return 0;
    }
    s.m_nWidth = width;
    s.m_nHeight = height;
    s.m_nDepth = depth;
    return 1;
}

void ReleaseSurface(Surface& s)
{
    std::vector<uint32_t>().swap(s.m_Pixels);
    std::vector<uint32_t>().swap(s.m_Mask);
    s.m_nWidth = s.m_nHeight = s.m_nDepth = 0;
    s.m_bAlpha = false;
}

void FillSurface(Surface& s, Rgb colour)
{
    uint32_t v = PixelOf(colour);
    for (int y = 0; y < s.Height(); ++y)
        std::fill_n(s.Row(y), s.Width(), v);
}

void DrawSurface(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, int opaque)
{
    if (!ClipCopy(dst, x, y, w, h, src, sx, sy))
        return;
    uint32_t keep = dst.Depth() == 32 ? 0u : kOpaque;
    if (src.HasMask() && !opaque) {
        for (int j = 0; j < h; ++j) {
            uint32_t* d = dst.Row(y + j) + x;
            const uint32_t* m = src.MaskRow(sy + j) + sx;
            const uint32_t* p = src.Row(sy + j) + sx;
            for (int i = 0; i < w; ++i)
                d[i] = (d[i] & m[i]) | p[i] | keep;
        }
    } else {
        for (int j = 0; j < h; ++j) {
            uint32_t* d = dst.Row(y + j) + x;
            const uint32_t* p = src.Row(sy + j) + sx;
            if (keep) {
                for (int i = 0; i < w; ++i)
                    d[i] = p[i] | keep;
            } else {
                std::copy_n(p, w, d);
            }
        }
    }
}

void DrawSurfaceMask(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy)
{
    if (!dst.HasMask() || !ClipCopy(dst, x, y, w, h, src, sx, sy))
        return;
    for (int j = 0; j < h; ++j) {
        uint32_t* d = dst.MaskRow(y + j) + x;
        if (src.HasMask())
            std::copy_n(src.MaskRow(sy + j) + sx, w, d);
        else
            std::fill_n(d, w, kMaskBlack);
    }
}

void SetColorKey(Rgb key) { g_colorKey = key; }

Rgb ColorKey() { return g_colorKey; }

std::vector<uint32_t> CutOut(const Surface& src, int sx, int sy, int w, int h, const Rgb* key)
{
    std::vector<uint32_t> out(static_cast<std::size_t>(std::max(w, 0)) * static_cast<std::size_t>(std::max(h, 0)), 0);
    const uint32_t k = key ? PixelOf(*key) & 0x00FFFFFFu : 0;
    for (int j = 0; j < h; ++j) {
        const int fy = sy + j;
        if (fy < 0 || fy >= src.Height())
            continue;
        for (int i = 0; i < w; ++i) {
            const int fx = sx + i;
            if (fx < 0 || fx >= src.Width())
                continue;
            const uint32_t p = src.Pixel(fx, fy);
            if ((src.HasMask() && src.MaskPixel(fx, fy) == kMaskWhite) || (key && (p & 0x00FFFFFFu) == k))
                continue;
            out[static_cast<std::size_t>(j) * w + i] = p | kOpaque;
        }
    }
    return out;
}

void TurnCells(Surface& s, int cellWidth, int cellHeight)
{
    if (s.Empty() || (cellWidth <= 0 && cellHeight <= 0))
        return;
    int cw = cellWidth > 0 ? cellWidth : s.Width();
    int ch = cellHeight > 0 ? cellHeight : s.Height();
    int columns = s.Width() / cw;
    int rows = s.Height() / ch;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            MirrorRect(s, c * cw, r * ch, cw, ch, cellWidth > 0, cellHeight > 0);
}

void ApplyMaskAndKey(Surface& s, const std::string& path)
{
    if (s.Empty())
        return;
    const uint32_t key = KeyPixel();
    const bool alpha = s.Alpha();
    const int depth = s.Depth();

    if (s.HasMask()) {
        if (depth == 24 || depth == 32) {
            for (int y = 0; y < s.Height(); ++y) {
                const uint32_t* p = s.Row(y);
                uint32_t* m = s.MaskRow(y);
                for (int x = 0; x < s.Width(); ++x) {
                    bool clear;
                    if (depth == 24)
                        clear = alpha ? (p[x] & kColourBits) == 0 : (p[x] & kColourBits) == key;
                    else
                        clear = alpha ? (p[x] >> 24) == 0 : (p[x] & kColourBits) == key;
                    m[x] = clear ? kMaskWhite : kMaskBlack;
                }
            }
        } else {
            ErrorBoxPrintf(SJ("24bitDIB以外には未対応！ %s").c_str(), path.c_str());
        }
    }

    // Keyed pixels become black so that OR-ing the image leaves the target as the mask kept it.
    // A 24-bit alpha image already holds black where it is transparent.
    if (depth == 24 && !alpha && s.HasMask()) {
        for (int y = 0; y < s.Height(); ++y) {
            uint32_t* p = s.Row(y);
            for (int x = 0; x < s.Width(); ++x)
                if ((p[x] & kColourBits) == key)
                    p[x] = kOpaque;
        }
    } else if (depth == 32) {
        for (int y = 0; y < s.Height(); ++y) {
            uint32_t* p = s.Row(y);
            for (int x = 0; x < s.Width(); ++x)
                if (alpha ? (p[x] >> 24) == 0 : (p[x] & kColourBits) == key)
                    p[x] = kOpaque;
        }
    }
}
