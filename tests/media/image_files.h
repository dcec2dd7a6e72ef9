// Image files written for the tests and the benchmarks: PNG through libpng's
// simplified writer, BMP byte by byte.
#pragma once

#include <png.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// Pixels are 0xAARRGGBB, rows top-down.
using Pixels = std::vector<uint32_t>;

inline void MakeParentFolder(const std::string& path)
{
    std::filesystem::path p(path);
    if (p.has_parent_path())
        std::filesystem::create_directories(p.parent_path());
}

// format: PNG_FORMAT_RGB, PNG_FORMAT_RGBA, PNG_FORMAT_GRAY (from the green byte),
// or any of them with PNG_FORMAT_FLAG_LINEAR for 16 bits a channel.
inline bool WritePng(const std::string& path, int w, int h, const Pixels& px, png_uint_32 format = PNG_FORMAT_RGB)
{
    MakeParentFolder(path);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = format;
    const int channels = PNG_IMAGE_SAMPLE_CHANNELS(format);
    const bool wide = (format & PNG_FORMAT_FLAG_LINEAR) != 0;
    std::vector<uint16_t> buffer(static_cast<std::size_t>(w) * h * channels);
    for (std::size_t i = 0; i < px.size(); ++i) {
        uint32_t v = px[i];
        uint16_t c[4] = {uint16_t((v >> 16) & 0xFF), uint16_t((v >> 8) & 0xFF), uint16_t(v & 0xFF), uint16_t(v >> 24)};
        if (channels == 1)
            c[0] = c[1];
        else if (channels == 2)
            c[0] = c[1], c[1] = c[3];
        for (int k = 0; k < channels; ++k)
            buffer[i * channels + k] = wide ? uint16_t(c[k] * 257) : c[k];
    }
    if (wide)
        return png_image_write_to_file(&image, path.c_str(), 0, buffer.data(), 0, nullptr) != 0;
    std::vector<uint8_t> bytes(buffer.begin(), buffer.end());
    return png_image_write_to_file(&image, path.c_str(), 0, bytes.data(), 0, nullptr) != 0;
}

// An 8-bit palette PNG: px holds palette indices in its low byte.
inline bool WritePalettePng(const std::string& path, int w, int h, const Pixels& px, const Pixels& palette)
{
    MakeParentFolder(path);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = PNG_FORMAT_RGB_COLORMAP;
    image.colormap_entries = static_cast<png_uint_32>(palette.size());
    std::vector<uint8_t> map, index;
    for (uint32_t c : palette)
        map.insert(map.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    for (uint32_t v : px)
        index.push_back(uint8_t(v));
    return png_image_write_to_file(&image, path.c_str(), 0, index.data(), 0, map.data()) != 0;
}

// A BMP file with an info header of 40 bytes. bits 8 takes px as palette indices;
// 32 with bitfields writes BI_BITFIELDS with the masks R 0xff0000, G 0xff00, B 0xff.
inline std::vector<uint8_t> MakeBmp(int w, int h, int bits, const Pixels& px, bool topDown = false,
                                    const Pixels& palette = {}, bool bitfields = false)
{
    const int stride = (w * bits + 31) / 32 * 4;
    const uint32_t paletteBytes = static_cast<uint32_t>(palette.size() * 4);
    const uint32_t maskBytes = bitfields ? 12 : 0;
    const uint32_t offset = 14 + 40 + maskBytes + paletteBytes;
    std::vector<uint8_t> out;
    auto u16 = [&](uint16_t v) { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); };
    auto u32 = [&](uint32_t v) { u16(uint16_t(v)); u16(uint16_t(v >> 16)); };
    out.push_back('B');
    out.push_back('M');
    u32(offset + uint32_t(stride) * h);
    u32(0);
    u32(offset);
    u32(40);
    u32(uint32_t(w));
    u32(uint32_t(topDown ? -h : h));
    u16(1);
    u16(uint16_t(bits));
    u32(bitfields ? 3 : 0);
    u32(uint32_t(stride) * h);
    u32(2835);
    u32(2835);
    u32(uint32_t(palette.size()));
    u32(0);
    if (bitfields) {
        u32(0xFF0000);
        u32(0xFF00);
        u32(0xFF);
    }
    for (uint32_t c : palette)
        u32(c & 0xFFFFFF);
    for (int r = 0; r < h; ++r) {
        int y = topDown ? r : h - 1 - r;
        std::size_t start = out.size();
        for (int x = 0; x < w; ++x) {
            uint32_t v = px[std::size_t(y) * w + x];
            if (bits == 8) {
                out.push_back(uint8_t(v));
            } else if (bits == 16) {
                u16(uint16_t(v));
            } else {
                out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16)});
                if (bits == 32)
                    out.push_back(uint8_t(v >> 24));
            }
        }
        out.resize(start + stride, 0);
    }
    return out;
}

inline void WriteBmp(const std::string& path, const std::vector<uint8_t>& bytes)
{
    MakeParentFolder(path);
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A w x h image of one colour.
inline Pixels Plain(int w, int h, uint32_t argb) { return Pixels(static_cast<std::size_t>(w) * h, argb); }
