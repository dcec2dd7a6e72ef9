#include "media/image_table.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "base/log.h"
#include "base/text.h"

namespace {

// path, depth, mask, cell width, cell height, width, height, optional
const std::array<ImageSource, kImageCount> kImageTable = {{
    {"image\\MapChip.*", 24, 0, 0, 0, 0, 0, 0},
    {"image\\MapChara.*", 24, 1, 0, 0, 0, 0, 0},
    {"image\\Character1.*", 24, 0, 0, 0, 0, 0, 0},
    {"image\\Character2.*", 24, 0, 0, 0, 0, 0, 1},
    {"image\\Character3.*", 24, 0, 0, 0, 0, 0, 1},
    {"image\\Character4.*", 24, 0, 0, 0, 0, 0, 1},
    {"image\\Character5.*", 24, 0, 0, 0, 0, 0, 1},
    {"image\\Character6.*", 24, 0, 0, 0, 0, 0, 1},
    {"image\\Character7.*", 24, 0, 0, 0, 0, 0, 1},
    {"image\\Character8.*", 24, 0, 0, 0, 0, 0, 1},
    {"image\\Character1_color.*", 24, 0, 0, 0, 0, 0, 1},
    {"image\\Character2_color.*", 24, 0, 0, 0, 0, 0, 1},
    {"image\\Character3_color.*", 24, 0, 0, 0, 0, 0, 1},
    {"image\\Character4_color.*", 24, 0, 0, 0, 0, 0, 1},
    {"image\\Character5_color.*", 24, 0, 0, 0, 0, 0, 1},
    {"image\\Character6_color.*", 24, 0, 0, 0, 0, 0, 1},
    {"image\\Character7_color.*", 24, 0, 0, 0, 0, 0, 1},
    {"image\\Character8_color.*", 24, 0, 0, 0, 0, 0, 1},
    {"image\\Event.*", 24, 1, 0, 0, 0, 0, 0},
    {"image\\WorldBack.*", 24, 0, 0, 0, 0, 0, 0},  // replaced by the world map's background image
    {"image\\WorldMapChip.*", 24, 0, 0, 0, 0, 0, 0},
    {"image\\WorldEvent.*", 24, 1, 0, 0, 0, 0, 0},
    {"image\\Symbol.*", 24, 1, 0, 0, 0, 0, 0},
    {"image\\Effect1.*", 24, 0, 0, 0, 0, 0, 0},
    {"image\\Effect2.*", 24, 0, 0, 0, 0, 0, 0},
    {"image\\Effect3.*", 24, 0, 0, 0, 0, 0, 0},
    {"image\\Effect4.*", 24, 0, 0, 0, 0, 0, 0},
    {"image\\Effect5.*", 24, 0, 0, 0, 0, 0, 0},
    {"image\\Effect6.*", 24, 0, 0, 0, 0, 0, 0},
    {"image\\Effect7.*", 24, 0, 0, 0, 0, 0, 0},
    {"image\\Effect8.*", 24, 0, 0, 0, 0, 0, 0},
    {"image\\Accessory.*", 24, 1, 0, 0, 0, 0, 0},
    {"E", 24, 1, 0, 0, 768, 480, 0},
    {"E", 24, 1, 0, 0, 1024, 512, 0},
    {"E", 24, 1, 0, 0, 512, 512, 0},
    {"E", 24, 1, 0, 0, 2048, 512, 0},
    {"E", 24, 1, 0, 0, 960, 48, 0},
    {"E", 24, 1, 0, 0, 1024, 64, 0},
}};

std::array<ImageSource, kImageCount> g_rows = kImageTable;
std::array<Surface, kImageCount> g_surfaces;

// Where cell k of a run lies: cells go down a column (or along a row) perLine at
// a time, pitchX and pitchY apart, starting at (x0, y0).
struct CellLayout {
    bool byColumn;
    int perLine;
    int pitchX, pitchY;
    int x0, y0;
    int X(int k) const { return x0 + (byColumn ? k / perLine : k % perLine) * pitchX; }
    int Y(int k) const { return y0 + (byColumn ? k % perLine : k / perLine) * pitchY; }
};

// A run of cells copied from a loaded image into a working sheet.
struct SheetRun {
    int sheet;
    int source;
    int count;
    int width, height;  // of one cell
    CellLayout from;
    CellLayout to;
};

// The sheets number their cells as the graphic pickers do: character graphics
// 48 x 48, ten to a column, each 32 x 32 picture centred in its cell (taken from
// the right half of the two-frame columns of Character1, twenty to a column);
// event pictures sixteen to a column (from the 64-pixel columns of Event, 32 to a
// column); map chips eight to a row with chips 128 and up in the right half;
// effects 64 x 64, eight to a column, 32 cells from each Effect image.
const SheetRun kSheetRuns[] = {
    {IMG_SHEET_CHARA, IMG_CHARACTER1, 160, 32, 32, {true, 20, 64, 32, 32, 0}, {true, 10, 48, 48, 8, 8}},
    {IMG_SHEET_EVENT, IMG_EVENT, 512, 32, 32, {true, 32, 64, 32, 0, 0}, {true, 16, 32, 32, 0, 0}},
    {IMG_SHEET_LAND, IMG_MAPCHIP, 128, 32, 32, {false, 8, 32, 32, 0, 0}, {false, 8, 32, 32, 0, 0}},
    {IMG_SHEET_LAND, IMG_MAPCHIP, 128, 32, 32, {false, 8, 32, 32, 0, 512}, {false, 8, 32, 32, 256, 0}},
    {IMG_SHEET_EFFECT, IMG_EFFECT1 + 0, 32, 64, 64, {true, 8, 64, 64, 0, 0}, {true, 8, 64, 64, 0 * 256, 0}},
    {IMG_SHEET_EFFECT, IMG_EFFECT1 + 1, 32, 64, 64, {true, 8, 64, 64, 0, 0}, {true, 8, 64, 64, 1 * 256, 0}},
    {IMG_SHEET_EFFECT, IMG_EFFECT1 + 2, 32, 64, 64, {true, 8, 64, 64, 0, 0}, {true, 8, 64, 64, 2 * 256, 0}},
    {IMG_SHEET_EFFECT, IMG_EFFECT1 + 3, 32, 64, 64, {true, 8, 64, 64, 0, 0}, {true, 8, 64, 64, 3 * 256, 0}},
    {IMG_SHEET_EFFECT, IMG_EFFECT1 + 4, 32, 64, 64, {true, 8, 64, 64, 0, 0}, {true, 8, 64, 64, 4 * 256, 0}},
    {IMG_SHEET_EFFECT, IMG_EFFECT1 + 5, 32, 64, 64, {true, 8, 64, 64, 0, 0}, {true, 8, 64, 64, 5 * 256, 0}},
    {IMG_SHEET_EFFECT, IMG_EFFECT1 + 6, 32, 64, 64, {true, 8, 64, 64, 0, 0}, {true, 8, 64, 64, 6 * 256, 0}},
    {IMG_SHEET_EFFECT, IMG_EFFECT1 + 7, 32, 64, 64, {true, 8, 64, 64, 0, 0}, {true, 8, 64, 64, 7 * 256, 0}},
};

void CheckIndex(int index)
{
    if (index < 0 || index >= kImageCount)
        throw std::out_of_range("image index");
}

}  // namespace

Surface& ImageSurface(int index)
{
    CheckIndex(index);
    return g_surfaces[index];
}

ImageSource& ImageSourceRow(int index)
{
    CheckIndex(index);
    return g_rows[index];
}

void ResetImages()
{
    for (Surface& s : g_surfaces)
        ReleaseSurface(s);
    g_rows = kImageTable;
}

int LoadProjectImages(const std::string& worldBackName)
{
    for (int i = 0; i < kImageCount; ++i) {
        ImageSource& row = g_rows[i];
        if (i == IMG_WORLDBACK) {
            if (worldBackName.empty()) {
                ReleaseSurface(g_surfaces[i]);
                continue;
            }
            row.m_Path = worldBackName;
        }
        if (!LoadSurface(g_surfaces[i], row)) {
            // The world map simply shows no background picture.
            if (i == IMG_WORLDBACK)
                continue;
            ErrorBoxPrintf(SJ("%s が読み込めません！").c_str(), row.m_Path.c_str());
            return 0;
        }
    }
    ComposeWorkingSheets();
    return 1;
}

void ComposeWorkingSheets()
{
    for (int sheet = IMG_SHEET_CHARA; sheet <= IMG_SHEET_EFFECT; ++sheet) {
        Surface& s = g_surfaces[sheet];
        FillSurface(s, Rgb{});
        // Nothing composed shows through.
        for (int y = 0; y < s.Height() && s.HasMask(); ++y)
            std::fill_n(s.MaskRow(y), s.Width(), kMaskWhite);
    }
    for (const SheetRun& run : kSheetRuns) {
        Surface& dst = g_surfaces[run.sheet];
        const Surface& src = g_surfaces[run.source];
        if (dst.Empty() || src.Empty())
            continue;
        for (int k = 0; k < run.count; ++k) {
            DrawSurface(dst, run.to.X(k), run.to.Y(k), run.width, run.height, src, run.from.X(k), run.from.Y(k), 1);
            DrawSurfaceMask(dst, run.to.X(k), run.to.Y(k), run.width, run.height, src, run.from.X(k), run.from.Y(k));
        }
    }
}
