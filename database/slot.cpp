#include "database/slot.h"

int cAcqCond::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cAcqCond> m(*this, op, other, io, version);
    m.Int("category", &cAcqCond::m_nCategory);
    return m.Result();
}

int cSlot::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cSlot> m(*this, op, other, io, version);
    m.Int("anyCategory", &cSlot::m_bAnyCategory);
    m.Int("showAllSymbols", &cSlot::m_bShowAllSymbols);
    m.Int("emptySymbol", &cSlot::m_nEmptySymbol);
    m.List("categories", &cSlot::m_AcqConds);
    return m.Result();
}

void cSlot::DropCategoriesFrom(int categoryCount)
{
    for (int i = m_AcqConds.size() - 1; i >= 0; --i)
        if (m_AcqConds[i].m_nCategory >= categoryCount)
            m_AcqConds.erase(i);
}
