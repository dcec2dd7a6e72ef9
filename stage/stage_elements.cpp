#include "stage/stage_elements.h"

#include <algorithm>

#include "records/tables.h"

int cPutEnemy::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cPutEnemy> m(*this, op, other, io, version);
    m.Int("enemy", &cPutEnemy::m_nEnemy);
    m.Int("x", &cPutEnemy::m_nX);
    m.Int("y", &cPutEnemy::m_nY);
    m.Int("groupOn", &cPutEnemy::m_bGroup, Since(46));
    m.Int("group", &cPutEnemy::m_nGroup);
    m.Int("charaIdOn", &cPutEnemy::m_bCharaId, Since(52));
    m.Int("charaId", &cPutEnemy::m_nCharaId, Since(52));
    m.List("moveAI", &cPutEnemy::m_MoveAI);
    return m.Result();
}

void cPutEnemy::Adjust(const StageExtent& stage)
{
    if (BeyondTable(m_nEnemy, Table::Enemy))
        m_nEnemy = 0;
    for (cMoveAI& rule : m_MoveAI)
        rule.Adjust(stage.positionGroups);
}

int cGroupPos::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cGroupPos> m(*this, op, other, io, version);
    m.Int("x", &cGroupPos::m_nX);
    m.Int("y", &cGroupPos::m_nY);
    m.Str("name", &cGroupPos::m_Name);
    m.Cells("positions", &cGroupPos::m_Positions);
    return m.Result();
}

void cGroupPos::Adjust(const StageExtent& stage)
{
    std::erase_if(m_Positions, [&](const CellPos& c) { return c.x >= stage.width || c.y >= stage.height; });
    if (m_nX >= stage.width)
        m_nX = 0;
    if (m_nY >= stage.height)
        m_nY = 0;
}

const LabelTable& EndCondTargetLabels()
{
    static const LabelTable labels{"なし", "リーダー", "敵(IDで指定)", "位置グループ", "座標"};
    return labels;
}

int cEndCond::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cEndCond> m(*this, op, other, io, version);
    m.Int("target", &cEndCond::m_nTarget);
    m.Int("charaId", &cEndCond::m_nCharaId);
    m.Int("group", &cEndCond::m_nGroup);
    m.Int("x", &cEndCond::m_nX);
    m.Int("y", &cEndCond::m_nY);
    m.Int("showGroup", &cEndCond::m_nShowGroup);
    m.Str("text", &cEndCond::m_Text);
    return m.Result();
}

void cEndCond::Adjust(const StageExtent& stage)
{
    // The targeted group falls back to 1, the displayed one to 0 (none).
    if (m_nGroup >= stage.positionGroups)
        m_nGroup = 1;
    if (m_nX >= stage.width)
        m_nX = stage.width - 1;
    if (m_nY >= stage.height)
        m_nY = stage.height - 1;
    if (m_nShowGroup >= stage.positionGroups)
        m_nShowGroup = 0;
}
