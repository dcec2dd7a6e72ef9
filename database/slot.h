// Skill slots: the places of a character where skills are learned, and the
// categories each place accepts. Skill groups hold default slots; classes hold
// their own slot sets.
#pragma once

#include <cstdint>

#include "records/serial.h"

// One category a slot accepts.
class cAcqCond : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cAcqCond)
    SERIAL_MEMBERS;

    int32_t m_nCategory = 0;  // category number within the skill group
};

class cSlot : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cSlot)
    SERIAL_MEMBERS;

    // Removes every accepted category that is not below the group's category count.
    void DropCategoriesFrom(int categoryCount);

    int32_t m_bAnyCategory = 0;     // takes every category the character can learn
    int32_t m_bShowAllSymbols = 0;  // shows every accepted category's symbol while empty
    int32_t m_nEmptySymbol = 0;     // symbol shown while no skill is learned
    RecordList<cAcqCond> m_AcqConds;
};
