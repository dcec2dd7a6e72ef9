#include <gtest/gtest.h>

#include "stage/map_render.h"
#include "world/world_map.h"

namespace {

constexpr Rgb kKey{255, 0, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};

// Each pixel of the background picture names its own place.
Rgb BackAt(int x, int y) { return Rgb{uint8_t(x), uint8_t(y), 200}; }

uint32_t Rgb24(uint32_t pixel) { return pixel & 0x00FFFFFFu; }

struct WorldArt {
    WorldArt()
    {
        // 96 x 128: narrower than the 4 x 3 map below, taller than it.
        CreateSurface(back, 96, 128, 24, 0);
        for (int y = 0; y < back.Height(); ++y)
            for (int x = 0; x < back.Width(); ++x)
                back.SetPixel(x, y, PixelOf(BackAt(x, y)));
        // Picture 0 red; picture 1 the transparent colour on its left half, green on its right.
        CreateSurface(chips, 256, 32, 24, 0);
        FillRect(chips, 0, 0, 32, 32, kRed);
        FillRect(chips, 32, 0, 16, 32, kKey);
        FillRect(chips, 48, 0, 16, 32, kGreen);

        map.m_Chips.clear();
        map.m_Chips.resize(2);
        map.m_Chips[1].m_nGraphic = 1;
        map.ResizeWorldMap(4, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                map.SetCell(x, y, x == 0 && y == 0 ? 0 : 1);
        map.m_BackImage = "image\\back\\World.png";
    }
    Surface back, chips;
    cWorldMap map;
};

}  // namespace

// The background picture lies under the chips, from the map's corner, scrolls
// with the map and ends at the map's edge; only transparent chip pixels show it.
TEST(WorldMapRender, BackgroundPictureUnderTheChips)
{
    WorldArt art;
    struct Case {
        const char* what;
        bool useBack;
        int scrollX, scrollY;
        int px, py;  // a pixel of the view (away from the grid lines and the cursor)
        uint32_t want;
    };
    const Case cases[] = {
        {"an opaque chip hides the picture", true, 0, 0, 8, 8, PixelOf(kRed)},
        {"a transparent chip pixel shows the picture", true, 0, 0, 40, 40, PixelOf(BackAt(40, 40))},
        {"the chip's own pixels stay", true, 0, 0, 56, 40, PixelOf(kGreen)},
        {"past the picture's right edge: black", true, 0, 0, 104, 40, PixelOf(Rgb{})},
        {"past the map's bottom edge the picture stops", true, 0, 0, 40, 104, PixelOf(Rgb{})},
        {"scrolled, the picture moves with the map", true, 1, 1, 8, 8, PixelOf(BackAt(40, 40))},
        {"scrolled, a lower row of the picture", true, 1, 1, 8, 40, PixelOf(BackAt(40, 72))},
        {"unused, the chips are copied whole", false, 0, 0, 40, 40, PixelOf(kKey)},
    };
    for (const Case& c : cases) {
        art.map.m_bUseBackImage = c.useBack;
        WorldScene scene{&art.map, &art.chips, nullptr, &art.back, kKey};
        Surface view;
        ASSERT_TRUE(CreateSurface(view, 160, 128, 24, 0));
        MapCursor cursor;
        cursor.cell = {3, 2};
        RenderWorldMap(view, scene, c.scrollX, c.scrollY, cursor);
        EXPECT_EQ(Rgb24(view.Pixel(c.px, c.py)), Rgb24(c.want)) << c.what;
    }
}

// Placed events and the grid are drawn over the picture.
TEST(WorldMapRender, EventsAndGridOverThePicture)
{
    WorldArt art;
    art.map.m_bUseBackImage = 1;
    art.map.SetCell(1, 1, 5);  // no such chip: the picture alone
    cWorldEvent e;
    e.m_nX = 1;
    e.m_nY = 1;
    e.m_Pages[0].m_nGraphic = -1;  // no picture: the frame alone
    art.map.m_Events.push_back(e);
    WorldScene scene{&art.map, &art.chips, nullptr, &art.back, kKey};
    Surface view;
    ASSERT_TRUE(CreateSurface(view, 160, 128, 24, 0));
    MapCursor cursor;
    cursor.cell = {3, 2};
    RenderWorldMap(view, scene, 0, 0, cursor);
    EXPECT_EQ(Rgb24(view.Pixel(48, 48)), Rgb24(PixelOf(BackAt(48, 48))));
    EXPECT_EQ(Rgb24(view.Pixel(33, 48)), Rgb24(PixelOf(kEventFrameColour)));
    EXPECT_EQ(Rgb24(view.Pixel(32, 48)), Rgb24(PixelOf(kGridColour)));
}
