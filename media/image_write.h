// Writing images: the placeholder pictures of a new project are drawn into a
// canvas and stored as PNG (the image folder) or 24-bit BMP (toolbars).
#pragma once

#include <string>
#include <vector>

#include "media/surface.h"

class Canvas {
public:
    Canvas(int width, int height, Rgb background);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb At(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }
    const std::vector<Rgb>& Pixels() const { return pixels_; }

    // Drawing is clipped to the canvas.
    void Set(int x, int y, Rgb c);
    void Fill(int x, int y, int w, int h, Rgb c);
    void Frame(int x, int y, int w, int h, Rgb c);
    void Disc(int cx, int cy, int r, Rgb c);
    // A filled triangle pointing up, apex at (cx, top), base at bottom.
    void Peak(int cx, int top, int halfBase, int bottom, Rgb c);
    void Line(int x0, int y0, int x1, int y1, Rgb c);

private:
    int width_, height_;
    std::vector<Rgb> pixels_;
};

// Writes an 8-bit RGB PNG (no time stamp, so equal canvases give equal files).
bool WritePngFile(const std::string& storedPath, const Canvas& canvas);
// Writes an uncompressed 24-bit BMP.
bool WriteBmpFile(const std::string& storedPath, const Canvas& canvas);
