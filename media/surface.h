// Image surfaces: a pixel buffer with an optional transparency mask, filled from
// the project's PNG and BMP files and copied from rectangle to rectangle by the
// views.
//
// Pixel layout (the same for every depth, and for the mask):
//   one uint32_t per pixel, 0xAARRGGBB in native byte order, rows top-down,
//   Stride() bytes from one row to the next (always Width() * 4).
// A Qt view shows a surface without copying it:
//   QImage(s.Bits(), s.Width(), s.Height(), s.Stride(),
//          s.Depth() == 32 ? QImage::Format_ARGB32 : QImage::Format_RGB32)
// (the image must not outlive the surface, nor a CreateSurface/ReleaseSurface on it).
//
// The depth (8, 24 or 32) is the colour depth the surface stands for; it decides
// which loaders accept it and how masks and the colour key are applied. Surfaces
// of depth 8 and 24 keep alpha 0xFF in every pixel, so RGB32 wrapping and the
// AND/OR of masked drawing never disturb it; 32-bit surfaces keep their alpha.
// An 8-bit surface stands for a 256-colour bitmap whose palette runs from black
// (entry 0) to white (entry 255); its pixels are held as colours all the same.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kMaskWhite = 0xFFFFFFFFu;
constexpr uint32_t kMaskBlack = 0xFF000000u;

constexpr uint32_t PixelOf(Rgb c, uint8_t alpha = 0xFF)
{
    return (uint32_t(alpha) << 24) | (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b;
}

// The largest surface made: the sides of a bitmap the game can still show, and a
// pixel count that holds a 200 x 150 cell world map background with room to spare.
constexpr int kMaxSurfaceSide = 32767;
constexpr int64_t kMaxSurfacePixels = 48LL * 1024 * 1024;

class Surface {
public:
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    int Depth() const { return m_nDepth; }
    int Stride() const { return m_nWidth * 4; }
    bool Empty() const { return m_Pixels.empty(); }
    bool HasMask() const { return !m_Mask.empty(); }
    // Set when the pixels came from a PNG with an alpha channel.
    bool Alpha() const { return m_bAlpha; }
    void SetAlpha(bool alpha) { m_bAlpha = alpha; }

    uint32_t* Row(int y) { return m_Pixels.data() + std::size_t(y) * m_nWidth; }
    const uint32_t* Row(int y) const { return m_Pixels.data() + std::size_t(y) * m_nWidth; }
    uint32_t* MaskRow(int y) { return m_Mask.data() + std::size_t(y) * m_nWidth; }
    const uint32_t* MaskRow(int y) const { return m_Mask.data() + std::size_t(y) * m_nWidth; }
    uint32_t Pixel(int x, int y) const { return Row(y)[x]; }
    uint32_t MaskPixel(int x, int y) const { return MaskRow(y)[x]; }
    void SetPixel(int x, int y, uint32_t v) { Row(y)[x] = v; }

    const unsigned char* Bits() const { return reinterpret_cast<const unsigned char*>(m_Pixels.data()); }
    const unsigned char* MaskBits() const { return reinterpret_cast<const unsigned char*>(m_Mask.data()); }

private:
    friend int CreateSurface(Surface&, int, int, int, int);
    friend void ReleaseSurface(Surface&);

    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nDepth = 0;
    bool m_bAlpha = false;
    std::vector<uint32_t> m_Pixels;
    std::vector<uint32_t> m_Mask;
};

// Makes a black surface (and a black mask when mask is set), releasing what the
// surface held. Returns 0 for a depth other than 8, 24, 32, a side below 1 or
// beyond the limits above, or when the memory cannot be had.
int CreateSurface(Surface& s, int width, int height, int depth, int mask);
void ReleaseSurface(Surface& s);
// Fills every pixel of the surface (not its mask) with the colour, alpha 0xFF.
void FillSurface(Surface& s, Rgb colour);
// Copies the w x h rectangle at (sx, sy) of src to (x, y) of dst, clipped to both.
// A source with a mask drawn with opaque 0 is combined as target AND mask, then OR
// image, so white mask pixels keep the target and black ones take the image
// (which is why keyed pixels of a masked image are made black). Otherwise the
// image is copied. A surface of depth 8 or 24 keeps alpha 0xFF whatever it is drawn from.
void DrawSurface(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, int opaque);
// The same rectangle copy for the mask: the mask of src (all black, that is
// opaque, when src has none) goes into the mask of dst. Does nothing when dst has no mask.
void DrawSurfaceMask(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy);

// The project's transparent colour, compared with the red, green and blue of each pixel.
void SetColorKey(Rgb key);
Rgb ColorKey();

// The w x h rectangle at (sx, sy) of src as pixels (0xAARRGGBB, rows top-down),
// with alpha 0 where the picture is transparent: white in its mask, or of the
// colour key when one is given (a working sheet composed from a picture
// without a mask keeps that picture's key colour under a mask that says
// opaque). Pixels outside src are transparent; the rest are opaque.
std::vector<uint32_t> CutOut(const Surface& src, int sx, int sy, int w, int h, const Rgb* key);

// Turns every cell of the surface: with both sizes set each cell by half a turn,
// with only the width each column strip left to right, with only the height each
// row strip top to bottom. Cells cut off at the right or bottom edge stay as they are.
void TurnCells(Surface& s, int cellWidth, int cellHeight);

// Builds the mask (when the surface has one) from the colour key, or from the
// alpha of an alpha image, and makes the keyed pixels of the image black so that
// the masked draw shows the target through them. path names the image in the box
// shown for a depth that has no mask rule.
void ApplyMaskAndKey(Surface& s, const std::string& path);
