#include "media/image_write.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>

#include "base/paths.h"
#include "records/record_io.h"

Canvas::Canvas(int width, int height, Rgb background)
    : width_(width), height_(height), pixels_(std::size_t(width) * height, background)
{
}

void Canvas::Set(int x, int y, Rgb c)
{
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
        pixels_[std::size_t(y) * width_ + x] = c;
}

void Canvas::Fill(int x, int y, int w, int h, Rgb c)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            Set(i, j, c);
}

void Canvas::Frame(int x, int y, int w, int h, Rgb c)
{
    Fill(x, y, w, 1, c);
    Fill(x, y + h - 1, w, 1, c);
    Fill(x, y, 1, h, c);
    Fill(x + w - 1, y, 1, h, c);
}

void Canvas::Disc(int cx, int cy, int r, Rgb c)
{
    for (int j = -r; j <= r; ++j)
        for (int i = -r; i <= r; ++i)
            if (i * i + j * j <= r * r)
                Set(cx + i, cy + j, c);
}

void Canvas::Peak(int cx, int top, int halfBase, int bottom, Rgb c)
{
    int h = bottom - top;
    for (int j = 0; j <= h; ++j) {
        int half = h ? halfBase * j / h : halfBase;
        Fill(cx - half, top + j, 2 * half + 1, 1, c);
    }
}

void Canvas::Line(int x0, int y0, int x1, int y1, Rgb c)
{
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Set(x0, y0, c);
        if (x0 == x1 && y0 == y1)
            break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

bool WritePngFile(const std::string& storedPath, const Canvas& canvas)
{
    std::string host = HostPath(storedPath);
    std::FILE* f = std::fopen(host.c_str(), "wb");
    if (!f)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        std::fclose(f);
        return false;
    }
    std::vector<png_byte> row(std::size_t(canvas.Width()) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, canvas.Width(), canvas.Height(), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            Rgb c = canvas.At(x, y);
            row[std::size_t(x) * 3] = c.r;
            row[std::size_t(x) * 3 + 1] = c.g;
            row[std::size_t(x) * 3 + 2] = c.b;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

bool WriteBmpFile(const std::string& storedPath, const Canvas& canvas)
{
    const int w = canvas.Width(), h = canvas.Height();
    const uint32_t stride = (uint32_t(w) * 3 + 3) & ~3u;
    const uint32_t imageSize = stride * uint32_t(h);
    std::vector<uint8_t> bytes;
    auto u16 = [&](uint16_t v) { bytes.push_back(uint8_t(v)); bytes.push_back(uint8_t(v >> 8)); };
    auto u32 = [&](uint32_t v) { u16(uint16_t(v)); u16(uint16_t(v >> 16)); };
    bytes.push_back('B');
    bytes.push_back('M');
    u32(54 + imageSize);
    u32(0);
    u32(54);
    u32(40);
    u32(uint32_t(w));
    u32(uint32_t(h));  // bottom-up rows
    u16(1);
    u16(24);
    u32(0);
    u32(imageSize);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    for (int y = h - 1; y >= 0; --y) {
        std::size_t start = bytes.size();
        for (int x = 0; x < w; ++x) {
            Rgb c = canvas.At(x, y);
            bytes.push_back(c.b);
            bytes.push_back(c.g);
            bytes.push_back(c.r);
        }
        bytes.resize(start + stride, 0);
    }
    return WriteHostFileAtomic(HostPath(storedPath), bytes);
}
