#include "events/gval_info.h"

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
