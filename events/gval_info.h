// The names of the common variables ("コモン変数"), the game's global variables.
#pragma once

#include <string>

#include "records/serial.h"

// The list always holds this many entries; an entry's position is the variable's
// number. Number 0 holds no variable: choices of 0 mean none.
inline constexpr int kGlobalVariableCount = 1000;

class cGValInfo : public cSerial {
public:
    cGValInfo() { Init(); }
    SERIAL_MEMBERS;

    std::string m_Name;
};

// Brings a loaded list to exactly kGlobalVariableCount entries (surplus dropped,
// missing ones added without a name).
void FitGlobalVariables(RecordList<cGValInfo>& list);

// The name shown for a common variable: empty for 0 (none) and for numbers
// without an entry.
std::string GlobalVariableName(long long number);
