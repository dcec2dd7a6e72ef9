// Class records: the templates characters are built from (Class.dat).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "database/slot.h"
#include "records/serial.h"

// The slots a class uses in one skill group.
class cOrgSlotList : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cOrgSlotList)
    SERIAL_MEMBERS;

    int32_t m_bOwnSlots = 0;  // use these slots instead of the group's default slots
    RecordList<cSlot> m_Slots;
};

class cClass : public cSerial {
public:
    // A new class: graphic 1, scale 200, movement 4, stats 1, one slot set and
    // a resistance of 100 to every element of the element table.
    cClass();
    SERIAL_MEMBERS;
    int LoadBody(RecordReader& in) override;
    int SaveBody(RecordWriter& out) override;

    // Fits the sense table, the resistances and the slot sets to the current
    // number of skill groups, of their categories and of elements. Tables of
    // unknown size leave their part as it is.
    void AdjustToTables();

    int32_t m_nUnedited = 0;     // not edited by the class page; carried as it is
    int32_t m_nGraphic = 0;      // class graphic, 1 to 159
    int16_t m_nHue = 0;          // 0 to 359
    int16_t m_nSaturation = 0;   // -255 to 255
    int16_t m_nBrightness = 0;   // -255 to 255
    int32_t m_nScale = 0;        // percent, 1 to 900
    int32_t m_nMove = 0;         // 0 to 8
    int32_t m_bFlying = 0;
    int32_t m_nExpRate = 0;      // experience modifier in percent, 0 to 999
    int32_t m_nLevelLimit = 0;   // 1 to 99
    std::array<int32_t, 9> m_InitialStats{};  // at level 1, in stat order
    std::array<int32_t, 9> m_FinalStats{};    // at the level limit; 0 = no growth
    int32_t m_nAttackList = 0;   // normal attack: skill group
    int32_t m_nAttackSkill = 0;  // normal attack: skill within the group
    int32_t m_bNoAttack = 0;     // no normal attack (automatic battle only)
    RecordList<cOrgSlotList> m_SlotSets;  // one per skill group
    std::string m_Name;
    std::vector<std::vector<int32_t>> m_Senses;  // per skill group, one value per category
    std::vector<int32_t> m_ElemResist;           // per element, percent
};
