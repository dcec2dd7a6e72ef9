// The project's images: 38 sources loaded once at project load into process-wide
// surfaces, and the working sheets the palettes compose from them.
#pragma once

#include <string>

#include "media/image_load.h"
#include "media/surface.h"

constexpr int kImageCount = 38;

// Rows of the image table that other code names.
enum ImageIndex {
    IMG_MAPCHIP = 0,
    IMG_MAPCHARA = 1,
    IMG_CHARACTER1 = 2,         // 2 to 9: Character1 to Character8
    IMG_CHARACTER1_COLOR = 10,  // 10 to 17: their colour variants
    IMG_EVENT = 18,
    IMG_WORLDBACK = 19,
    IMG_WORLDMAPCHIP = 20,
    IMG_WORLDEVENT = 21,
    IMG_SYMBOL = 22,
    IMG_EFFECT1 = 23,           // 23 to 30: Effect1 to Effect8
    IMG_ACCESSORY = 31,
    IMG_SHEET_CHARA = 32,       // working sheets, composed after loading
    IMG_SHEET_EVENT = 33,
    IMG_SHEET_LAND = 34,
    IMG_SHEET_EFFECT = 35,
    IMG_WORK_STRIP = 36,
    IMG_WORK_WIDE = 37,
};

// The surface and the source row of an image (index 0 to 37).
Surface& ImageSurface(int index);
ImageSource& ImageSourceRow(int index);

// Releases every image surface and puts the rows back as the table gives them.
void ResetImages();

// Loads rows 0 to 37 in order. Row 19 is the world map's background image:
// skipped (its surface released) when the name is empty, and passed over when it
// fails to load. Any other failure shows "<path> が読み込めません！" and returns 0
// at once. On success composes the working sheets and returns 1.
int LoadProjectImages(const std::string& worldBackName);

// Clears the working sheets 32 to 35 and copies into them, image and mask, the
// cells of the loaded images in the order the palettes and the graphic pickers
// number them (see the layout table in image_table.cpp).
void ComposeWorkingSheets();
