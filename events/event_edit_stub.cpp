// Stand-ins until the shared common-variable helpers arrive; removed then.
#include "events/event_edit.h"

#include <cstdio>
#include "base/text.h"

std::vector<std::string> CommonVariableChoices()
{
    std::vector<std::string> out{SJ("コモン変数条件なし")};
    for (int n = 1; n < kGlobalVariableCount; ++n)
        out.push_back([&] { char b[8]; std::snprintf(b, sizeof b, "%03d", n); return std::string(b) + " " + GlobalVariableName(n); }());
    return out;
}

bool RenameGlobalVariable(RecordList<cGValInfo>& names, int number, const std::string& name, const std::string& filePath)
{
    if (number <= 0 || number >= names.size())
        return false;
    names[number].m_Name = std::string(CutToBytes(name, 12));
    return SaveListFile(names, filePath) != 0;
}
