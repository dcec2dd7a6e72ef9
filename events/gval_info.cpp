#include "events/gval_info.h"

#include "base/text.h"
#include "records/tables.h"

int cGValInfo::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cGValInfo> m(*this, op, other, io, version);
    m.Str("name", &cGValInfo::m_Name);
    return m.Result();
}

void FitGlobalVariables(RecordList<cGValInfo>& list) { list.resize(kGlobalVariableCount); }

std::string GlobalVariableName(long long number)
{
    if (number <= 0 || BeyondTable(number, Table::GlobalVariable))
        return {};
    return TableName(Table::GlobalVariable, static_cast<int>(number));
}

std::vector<std::string> CommonVariableChoices()
{
    std::vector<std::string> lines;
    lines.reserve(kGlobalVariableCount);
    lines.push_back(SJ("コモン変数条件なし"));
    for (int n = 1; n < kGlobalVariableCount; ++n)
        lines.push_back(NumberedLine(n, kGlobalVariableCount, GlobalVariableName(n)));
    return lines;
}

bool RenameGlobalVariable(RecordList<cGValInfo>& names, int number, const std::string& name,
                          const std::string& filePath)
{
    if (number <= 0 || number >= static_cast<int>(names.size()))
        return false;
    names[number].m_Name = std::string(CutToBytes(name, kGlobalVariableNameBytes));
    return SaveListFile(names, filePath) != 0;
}
