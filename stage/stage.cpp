#include "stage/stage.h"

#include <algorithm>

#include "base/text.h"
#include "records/grid.h"
#include "records/tables.h"

cStage::cStage() { NewStage(); }

int cStage::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cStage> m(*this, op, other, io, version);
    m.Int("width", &cStage::m_nWidth);
    m.Int("height", &cStage::m_nHeight);
    m.Int("pitch", &cStage::m_nPitch);
    m.Int("pitchBits", &cStage::m_nPitchBits);
    m.Int("allyStartGroup", &cStage::m_nAllyStartGroup);
    m.Int("rewardKind", &cStage::m_nRewardKind, Since(87));
    m.Int("reward", &cStage::m_nReward);
    m.Int("rewardDecrease", &cStage::m_nRewardDecrease, Since(118));
    m.Int("decreasePercent", &cStage::m_bDecreasePercent, Since(127));
    m.Int("rewardSecond", &cStage::m_nRewardSecond);
    m.Int("expRate", &cStage::m_nExpRate);
    m.Int("expRateCleared", &cStage::m_nExpRateCleared);
    m.Int("moneyRate", &cStage::m_nMoneyRate, Since(87));
    m.Int("moneyRateCleared", &cStage::m_nMoneyRateCleared, Since(87));
    m.Str("name", &cStage::m_Name);
    m.Int("back", &cStage::m_nBack, Since(66));
    m.Int("bgm", &cStage::m_nBgm);
    m.Int("allGroups", &cStage::m_bAllGroups, Since(47));
    m.Int("showClear", &cStage::m_bShowClear, Since(84));
    m.Int("showGameOver", &cStage::m_bShowGameOver, Since(84));
    m.IntVec("map", &cStage::m_Map);
    if (version >= 68) {
        m.List("groups", &cStage::m_GroupPos);
        m.List("enemies", &cStage::m_PutEnemy);
        m.List("oldEvents", &cStage::m_OldEvents, Range(0, 108));
        m.List("events", &cStage::m_Events);
    } else {
        // Old files kept the placements and events before the position groups.
        m.List("enemies", &cStage::m_PutEnemy);
        m.List("events", &cStage::m_Events);
        m.List("oldEvents", &cStage::m_OldEvents);
        m.List("groups", &cStage::m_GroupPos);
    }
    m.List("victory", &cStage::m_Victory);
    m.List("defeat", &cStage::m_Defeat);
    m.List("special", &cStage::m_Special);
    return m.Result();
}

int cStage::LoadBody(RecordReader& in)
{
    int result = cSerial::LoadBody(in);
    ValidateStage();
    return result;
}

int cStage::SaveBody(RecordWriter& out)
{
    ValidateStage();
    return cSerial::SaveBody(out);
}

void cStage::NewStage()
{
    Init();
    m_OldEvents.clear();
    m_Name = SJ("ステージ");
    m_Map.clear();
    ResizeMap(20, 15);
    m_GroupPos.clear();
    m_GroupPos.emplace_back();
    m_GroupPos.emplace_back();
    m_nRewardKind = 1;
    m_bDecreasePercent = 1;
    m_nRewardSecond = 50;
    m_nExpRate = 100;
    m_nExpRateCleared = 50;
    m_nMoneyRate = 100;
    m_nMoneyRateCleared = 50;
    m_nBack = 1;
    m_nBgm = 0;
    m_bAllGroups = 1;
    m_bShowClear = 1;
    m_bShowGameOver = 1;
}

void cStage::ResizeMap(int width, int height)
{
    const int oldWidth = m_nWidth, oldHeight = m_nHeight, oldPitch = m_nPitch;
    m_nWidth = width;
    m_nHeight = height;
    // The stage's pitch is the smallest power of two above the width (16 gives 32);
    // the world map has a rule of its own.
    int bits = 0;
    for (int w = width; w > 0; w /= 2)
        ++bits;
    m_nPitchBits = bits;
    m_nPitch = 1 << bits;
    RelayGrid(m_Map, oldWidth, oldHeight, oldPitch, width, height, m_nPitch);
}

int32_t cStage::Cell(int x, int y) const { return GridCell(m_Map, m_nPitchBits, x, y); }

void cStage::SetCell(int x, int y, int32_t land) { SetGridCell(m_Map, m_nPitchBits, x, y, land); }

StageExtent cStage::Extent() const { return {m_nWidth, m_nHeight, m_GroupPos.size()}; }

void cStage::ValidateStage()
{
    if (m_nAllyStartGroup >= m_GroupPos.size())
        m_nAllyStartGroup = 0;
    if (BeyondTable(m_nRewardKind, Table::PartyVal))
        m_nRewardKind = 1;
    if (TableSize(Table::Land) >= 0)
        for (int y = 0, rows = GridRows(m_Map, m_nPitchBits, m_nHeight); y < rows; ++y)
            for (int x = 0, cols = GridColumns(m_nPitchBits, m_nWidth); x < cols; ++x)
                if (BeyondTable(Cell(x, y), Table::Land))
                    SetCell(x, y, 0);
    const StageExtent extent = Extent();
    for (cPutEnemy& p : m_PutEnemy) {
        p.Adjust(extent);
        if (p.m_nX >= m_nWidth || p.m_nY >= m_nHeight) {
            p.m_nX = -1;
            p.m_nY = -1;
        }
    }
    std::erase_if(m_Events.items(), [&](const cEvent& e) { return e.m_nX >= m_nWidth || e.m_nY >= m_nHeight; });
    for (cGroupPos& g : m_GroupPos)
        g.Adjust(extent);
    for (RecordList<cEndCond>* list : {&m_Victory, &m_Defeat, &m_Special})
        for (cEndCond& c : *list)
            c.Adjust(extent);
    if (BeyondTable(m_nBack, Table::Back))
        m_nBack = 1;
    if (BeyondTable(m_nBgm, Table::Bgm))
        m_nBgm = 0;
}
