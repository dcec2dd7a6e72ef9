// The element records of a stage: enemy placements, position groups and end
// conditions. The stage validates every element when it is loaded or saved,
// passing its own size and number of position groups.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "database/ai.h"
#include "records/labels.h"
#include "records/serial.h"

// What the elements of a stage are validated against.
struct StageExtent {
    int width = 0;
    int height = 0;
    int positionGroups = 0;
};

class cPutEnemy : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cPutEnemy)
    SERIAL_MEMBERS;

    // An enemy beyond the enemy table becomes "not set"; the movement rules are
    // pulled back into the tables and the stage's position groups. (Taking a
    // placement outside the map off the map is the stage's part.)
    void Adjust(const StageExtent& stage);
    bool IsPlaced() const { return m_nX != -1; }

    int32_t m_nEnemy = 0;    // enemy record; 0 = not set
    int32_t m_nX = 0;        // -1 = not on the map
    int32_t m_nY = 0;
    int32_t m_bGroup = 0;    // "グループ"
    int32_t m_nGroup = 0;    // 1 to 100
    int32_t m_bCharaId = 0;  // "キャラID"
    int32_t m_nCharaId = 0;  // 1 to 999
    RecordList<cMoveAI> m_MoveAI;
};

class cGroupPos : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cGroupPos)
    SERIAL_MEMBERS;

    // Drops the cells outside the map (keeping the order of the others) and
    // pulls a centre outside the map back to 0.
    void Adjust(const StageExtent& stage);

    int32_t m_nX = 0;  // centre cell
    int32_t m_nY = 0;
    std::string m_Name;  // "位置グループ名"
    std::vector<CellPos> m_Positions;
};

// What the game's cursor points at when an end condition is selected:
// 0 nothing, 1 the leader, 2 an enemy by character id, 3 a position group, 4 a cell.
const LabelTable& EndCondTargetLabels();

class cEndCond : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cEndCond)
    SERIAL_MEMBERS;

    // Pulls the position groups and the cell back into the stage.
    void Adjust(const StageExtent& stage);

    int32_t m_nTarget = 0;    // "カーソルを合わせる対象"
    int32_t m_nCharaId = 0;   // for target 2, 1 to 999
    int32_t m_nGroup = 0;     // for target 3
    int32_t m_nX = 0;         // for target 4
    int32_t m_nY = 0;
    int32_t m_nShowGroup = 0; // "表示する位置グループ"
    std::string m_Text;       // "テキスト"
};
