// The names of the common variables ("コモン変数"), the game's global variables.
#pragma once

#include <string>
#include <vector>

#include "records/serial.h"

// The list always holds this many entries; an entry's position is the variable's
// number. Number 0 holds no variable: choices of 0 mean none.
inline constexpr int kGlobalVariableCount = 1000;

class cGValInfo : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cGValInfo)
    SERIAL_MEMBERS;

    std::string m_Name;
};

// Brings a loaded list to exactly kGlobalVariableCount entries (surplus dropped,
// missing ones added without a name).
void FitGlobalVariables(RecordList<cGValInfo>& list);

// The name shown for a common variable: empty for 0 (none) and for numbers
// without an entry.
std::string GlobalVariableName(long long number);

// The lines of a common-variable choice: entry 0 "コモン変数条件なし" (no
// variable), then entry n as "%s %s" with n zero-padded and its name.
std::vector<std::string> CommonVariableChoices();

// Gives common variable `number` a new name (cut to 12 bytes on a character
// boundary) and saves the whole list to filePath at once. Number 0 and numbers
// outside the list change nothing and return false; otherwise returns whether
// the save succeeded (the new name stays in memory either way).
inline constexpr int kGlobalVariableNameBytes = 12;
bool RenameGlobalVariable(RecordList<cGValInfo>& names, int number, const std::string& name,
                          const std::string& filePath);
