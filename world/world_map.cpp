#include "world/world_map.h"

#include <algorithm>

#include "base/text.h"
#include "records/grid.h"
#include "records/tables.h"

cWorldMap::cWorldMap() { NewWorldMap(); }

int cWorldMap::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cWorldMap> m(*this, op, other, io, version);
    m.Int("width", &cWorldMap::m_nWidth);
    m.Int("height", &cWorldMap::m_nHeight);
    m.Int("pitch", &cWorldMap::m_nPitch);
    m.Int("pitchBits", &cWorldMap::m_nPitchBits);
    m.Int("startX", &cWorldMap::m_nStartX);
    m.Int("startY", &cWorldMap::m_nStartY);
    m.Int("back", &cWorldMap::m_nBack, Since(66));
    m.Reserved("reserved1", 1, Since(20));
    m.Reserved("reserved2", 1, Since(20));
    m.Reserved("reserved3", 1, Since(20));
    m.Reserved("reserved4", 4);
    m.Int("useBackImage", &cWorldMap::m_bUseBackImage);
    m.Str("name", &cWorldMap::m_Name);
    m.Str("backImage", &cWorldMap::m_BackImage);
    m.List("chips", &cWorldMap::m_Chips);
    m.IntVec("map", &cWorldMap::m_Map);
    m.List("events", &cWorldMap::m_Events);
    m.List("palette", &cWorldMap::m_Palette);
    return m.Result();
}

int cWorldMap::LoadBody(RecordReader& in)
{
    int result = cSerial::LoadBody(in);
    // Before 98 the chip set was fixed: ten chips, the first five impassable,
    // each showing the graphic of its own number.
    if (LoadedFileVersion < 98) {
        m_Chips.clear();
        m_Chips.resize(10);
        for (int i = 0; i < 10; ++i) {
            m_Chips[i].m_nGraphic = i;
            m_Chips[i].m_bImpassable = i < 5 ? 1 : 0;
            m_Chips[i].m_Text.clear();
        }
    }
    ValidateWorldMap();
    return result;
}

int cWorldMap::SaveBody(RecordWriter& out)
{
    ValidateWorldMap();
    return cSerial::SaveBody(out);
}

void cWorldMap::NewWorldMap()
{
    Init();
    m_Name = SJ("ワールド");
    m_nStartX = 9;
    m_nStartY = 7;
    m_nBack = 1;
    m_bUseBackImage = 0;
    m_Map.clear();
    ResizeWorldMap(20, 15);
    m_Events.clear();
    m_Palette.clear();
    m_Palette.emplace_back().m_Name = SJ("デフォルト");
}

void cWorldMap::ResizeWorldMap(int width, int height)
{
    const int oldWidth = m_nWidth, oldHeight = m_nHeight, oldPitch = m_nPitch;
    m_nWidth = width;
    m_nHeight = height;
    // The world map's pitch is the smallest power of two not below the width (16
    // gives 16), unlike a stage's.
    int bits = 0;
    for (int w = width - 1; w > 0; w /= 2)
        ++bits;
    m_nPitchBits = bits;
    m_nPitch = 1 << bits;
    RelayGrid(m_Map, oldWidth, oldHeight, oldPitch, width, height, m_nPitch);
}

int32_t cWorldMap::Cell(int x, int y) const { return GridCell(m_Map, m_nPitchBits, x, y); }

void cWorldMap::SetCell(int x, int y, int32_t chip) { SetGridCell(m_Map, m_nPitchBits, x, y, chip); }

void cWorldMap::ValidateWorldMap()
{
    if (m_nStartX >= m_nWidth)
        m_nStartX = m_nWidth - 1;
    if (m_nStartY >= m_nHeight)
        m_nStartY = m_nHeight - 1;
    const int rows = GridRows(m_Map, m_nPitchBits, m_nHeight), cols = GridColumns(m_nPitchBits, m_nWidth);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x)
            if (Cell(x, y) >= m_Chips.size())
                SetCell(x, y, 0);
    std::erase_if(m_Events.items(), [&](const cWorldEvent& e) { return e.m_nX >= m_nWidth || e.m_nY >= m_nHeight; });
    if (BeyondTable(m_nBack, Table::Back))
        m_nBack = 1;
}
