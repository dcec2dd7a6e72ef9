// Loading image files into surfaces.
//
// Paths are stored paths (CP932, backslashes, relative to the project folder);
// every failure is reported in an error box naming the path.
#pragma once

#include <string>

#include "media/surface.h"

// One image source: where the image comes from and what surface it becomes.
struct ImageSource {
    // A file path; "*" as the extension means the PNG file, or else the BMP file;
    // "E" means an empty surface of m_nWidth x m_nHeight.
    std::string m_Path;
    int m_nDepth = 24;
    int m_nMask = 0;          // 1: build a transparency mask from the colour key
    int m_nCellWidth = 0;     // when not 0, cells of this size are turned on load
    int m_nCellHeight = 0;
    int m_nWidth = 0;         // size of an empty surface
    int m_nHeight = 0;
    int m_nOptional = 0;      // 1: a missing file is not an error
};

// Loads the source into s (released first). Returns 1 on success, and for a
// missing optional file (s stays empty); 0 on failure after reporting it.
int LoadSurface(Surface& s, const ImageSource& src);

// The file loaders. depth and mask are the surface's; only 24-bit surfaces are
// filled. With quietWhenMissing a file that does not exist fails without a box
// (the "*" rule tries the PNG and the BMP file before it says anything).
int LoadPngFile(Surface& s, const std::string& path, int depth, int mask, bool quietWhenMissing = false);
int LoadBmpFile(Surface& s, const std::string& path, int depth, int mask, bool quietWhenMissing = false);
