// The stage being edited: a grid of terrain cells with its enemy placements,
// position groups, events, end conditions, reward and rule switches. One stage
// per file (extension "stg2", normally under "data\stg").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "events/event.h"
#include "records/serial.h"
#include "stage/stage_elements.h"

class cStage : public cSerial {
public:
    // A fresh stage is a new stage (NewStage).
    cStage();
    SERIAL_MEMBERS;
    int LoadBody(RecordReader& in) override;
    int SaveBody(RecordWriter& out) override;

    // Resets the stage to what "new stage" gives: 20 x 15 cells, two position
    // groups, the usual reward and experience percentages.
    void NewStage();
    // Sets the size and re-lays the grid: cells keep their column and row, new
    // cells hold 0. The row pitch is the smallest power of two above the width.
    void ResizeMap(int width, int height);
    // Pulls every reference back into its table and into the map: lands, the
    // party value of the reward, background, music, position groups; placements
    // outside the map are taken off it, events outside it are removed.
    void ValidateStage();

    // Terrain of a cell (its land number); 0 outside the grid.
    int32_t Cell(int x, int y) const;
    void SetCell(int x, int y, int32_t land);
    StageExtent Extent() const;

    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    int32_t m_nPitch = 0;            // row pitch of the grid
    int32_t m_nPitchBits = 0;        // log2 of the row pitch
    int32_t m_nAllyStartGroup = 0;   // position group where the allies start
    int32_t m_nRewardKind = 0;       // party value the clear reward adds to
    int32_t m_nReward = 0;
    int32_t m_nRewardDecrease = 0;   // per elapsed turn
    int32_t m_bDecreasePercent = 0;  // the decrease is a percentage of the reward
    int32_t m_nRewardSecond = 0;     // percent of the reward from the second clear on
    int32_t m_nExpRate = 0;          // percent
    int32_t m_nExpRateCleared = 0;   // percent, once the stage is cleared
    int32_t m_nMoneyRate = 0;        // enemy money, percent
    int32_t m_nMoneyRateCleared = 0; // enemy money once cleared, percent
    std::string m_Name;              // at most 30 bytes
    int32_t m_nBack = 0;             // background number
    int32_t m_nBgm = 0;              // music number
    int32_t m_bAllGroups = 0;        // every enemy group appears at the start
    int32_t m_bShowClear = 0;        // the clear banner and the reward are shown
    int32_t m_bShowGameOver = 0;     // the game-over banner is shown
    std::vector<int32_t> m_Map;      // (y << pitch bits) + x; padding columns hold 0
    RecordList<cGroupPos> m_GroupPos;
    RecordList<cPutEnemy> m_PutEnemy;
    RecordList<cEvent> m_OldEvents;  // read from files before 108 and never written
    RecordList<cEvent> m_Events;
    RecordList<cEndCond> m_Victory;
    RecordList<cEndCond> m_Defeat;
    RecordList<cEndCond> m_Special;  // other conditions (special rules)
};
