// Stand-in until the shared event editing rules arrive (replaced at the merge).
#pragma once

#include <string>
#include <vector>

#include "events/gval_info.h"
#include "records/serial.h"

std::vector<std::string> CommonVariableChoices();
bool RenameGlobalVariable(RecordList<cGValInfo>& names, int number, const std::string& name, const std::string& filePath);
