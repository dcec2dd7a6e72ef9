#include "events/event_edit.h"

#include "base/text.h"

std::vector<std::string> CommonVariableChoices()
{
    std::vector<std::string> out{SJ("コモン変数条件なし")};
    for (int n = 1; n < kGlobalVariableCount; ++n) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "%03d", n);
        out.push_back(std::string(buffer) + " " + GlobalVariableName(n));
    }
    return out;
}

bool RenameGlobalVariable(RecordList<cGValInfo>& names, int number, const std::string& name, const std::string& filePath)
{
    if (number <= 0 || number >= names.size())
        return false;
    names[number].m_Name = name.substr(0, 12);
    return SaveListFile(names, filePath) != 0;
}
