// The world map: the game's overworld, a grid of world chips with a start
// position, backgrounds, the world events placed on it and the palette of world
// events ("data\database\WorldMap.dat").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "database/media.h"
#include "records/serial.h"
#include "world/world_event.h"

class cWorldMap : public cSerial {
public:
    // A fresh world map is a new one (NewWorldMap).
    cWorldMap();
    SERIAL_MEMBERS;
    int LoadBody(RecordReader& in) override;
    int SaveBody(RecordWriter& out) override;

    void NewWorldMap();
    // Sets the size and re-lays the grid. Unlike a stage, the row pitch is the
    // smallest power of two not below the width (16 gives 16).
    void ResizeWorldMap(int width, int height);
    // Pulls the start position into the map, chips into the chip set and the
    // background into its table; removes placed events outside the map.
    void ValidateWorldMap();

    int32_t Cell(int x, int y) const;
    void SetCell(int x, int y, int32_t chip);

    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    int32_t m_nPitch = 0;
    int32_t m_nPitchBits = 0;
    int32_t m_nStartX = 0;          // "初期位置 X"
    int32_t m_nStartY = 0;          // "初期位置 Y"
    int32_t m_nBack = 0;            // "最奥背景": background number
    int32_t m_bUseBackImage = 0;    // "背景画像を使用する（最奥背景より手前）"
    std::string m_Name;
    std::string m_BackImage;        // "背景画像": image file name
    RecordList<cWorldChip> m_Chips; // this map's own chip set
    std::vector<int32_t> m_Map;     // (y << pitch bits) + x: a chip of m_Chips
    RecordList<cWorldEvent> m_Events;   // placed on cells
    RecordList<cWorldEvent> m_Palette;  // world-event palette
};
