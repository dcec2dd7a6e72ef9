#include "database/class.h"

#include <algorithm>

#include "records/tables.h"

int cOrgSlotList::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cOrgSlotList> m(*this, op, other, io, version);
    m.Int("ownSlots", &cOrgSlotList::m_bOwnSlots);
    m.List("slots", &cOrgSlotList::m_Slots);
    return m.Result();
}

cClass::cClass()
{
    Init();
    m_nGraphic = 1;
    m_nScale = 200;
    m_nMove = 4;
    m_nExpRate = 100;
    m_nLevelLimit = 30;
    m_InitialStats.fill(1);
    m_FinalStats.fill(1);
    m_nAttackSkill = 1;
    m_SlotSets.resize(1);
    m_ElemResist.assign(static_cast<std::size_t>(std::max(TableSize(Table::Element), 0)), 100);
}

int cClass::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cClass> m(*this, op, other, io, version);
    m.Int("unedited", &cClass::m_nUnedited);
    m.Int("graphic", &cClass::m_nGraphic);
    m.Int("hue", &cClass::m_nHue, Since(40));
    m.Int("saturation", &cClass::m_nSaturation, Since(40));
    m.Int("brightness", &cClass::m_nBrightness, Since(40));
    m.Int("scale", &cClass::m_nScale, Since(36));
    m.Int("move", &cClass::m_nMove);
    m.Int("flying", &cClass::m_bFlying);
    m.Int("expRate", &cClass::m_nExpRate);
    m.Int("levelLimit", &cClass::m_nLevelLimit);
    m.Array("initialStats", &cClass::m_InitialStats);
    m.Array("finalStats", &cClass::m_FinalStats);
    m.Obsolete(4, Range(0, 35));
    m.Obsolete(4, Range(0, 35));
    m.Obsolete(4, Range(0, 35));
    m.Int("attackList", &cClass::m_nAttackList, Since(16));
    m.Int("attackSkill", &cClass::m_nAttackSkill, Since(16));
    m.Int("noAttack", &cClass::m_bNoAttack, Since(116));
    m.List("slotSets", &cClass::m_SlotSets, Since(83));
    m.Str("name", &cClass::m_Name);
    m.IntVecVec("senses", &cClass::m_Senses);
    m.IntVec("elementResist", &cClass::m_ElemResist);
    return m.Result();
}

void cClass::AdjustToTables()
{
    int groups = TableSize(Table::SkillList);
    if (groups >= 0) {
        m_Senses.resize(static_cast<std::size_t>(groups));
        for (int k = 0; k < groups; ++k) {
            int categories = CategoryCount(k);
            if (categories >= 0)
                m_Senses[static_cast<std::size_t>(k)].resize(static_cast<std::size_t>(categories));
        }
        m_SlotSets.resize(groups);
    }
    // Elements added since the class was saved start at full resistance.
    int elements = TableSize(Table::Element);
    if (elements >= 0)
        m_ElemResist.resize(static_cast<std::size_t>(elements), 100);
}

int cClass::LoadBody(RecordReader& in)
{
    int result = cSerial::LoadBody(in);
    // Classes had no scale before version 36; they were drawn at 200 percent.
    if (LoadedFileVersion < 36)
        m_nScale = 200;
    AdjustToTables();
    return result;
}

int cClass::SaveBody(RecordWriter& out)
{
    AdjustToTables();
    return cSerial::SaveBody(out);
}
