#include "database/land.h"

#include "base/text.h"
#include "records/tables.h"

const std::vector<std::string>& LandSpecialNames()
{
    static const std::vector<std::string> names = {SJ("なし"), SJ("戦闘時間の修正(%)")};
    return names;
}

const std::vector<std::string>& InflItemNames()
{
    static const std::vector<std::string> names = {SJ("命中率"), SJ("必殺率"), SJ("ダメージ")};
    return names;
}

const std::vector<std::string>& InflOperatorNames()
{
    static const std::vector<std::string> names = {SJ("＝"), SJ("＋"), SJ("－"), SJ("×"),
                                                   SJ("÷"), SJ("÷ X の余り"), SJ("X ％")};
    return names;
}

// ---------------------------------------------------------------------------
// cLand

cLand::cLand()
{
    Init();
    m_nMoveCost = 1;
    m_bTraining = 1;
    m_nBack = 1;
    Validate();
}

int cLand::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cLand> m(*this, op, other, io, version);
    m.Int("value", &cLand::m_nValue);
    m.Int("moveCost", &cLand::m_nMoveCost);
    m.Int("impassable", &cLand::m_bImpassable);
    m.Int("graphic", &cLand::m_nGraphic);
    m.Int("statPercent", &cLand::m_bStatPercent);
    m.Array("statMod", &cLand::m_StatMod);
    m.IntVec("elemMod", &cLand::m_ElemMod, Since(94));
    m.Int("special", &cLand::m_nSpecial);
    m.Int("specialValue", &cLand::m_nSpecialValue);
    m.Int("training", &cLand::m_bTraining);
    m.Str("name", &cLand::m_Name);
    m.Str("help", &cLand::m_Help);
    m.Int("back", &cLand::m_nBack, Since(66));
    m.DroppedStr();
    return m.Result();
}

void cLand::Validate()
{
    if (m_nMoveCost < 1)
        m_nMoveCost = 1;
    if (BeyondTable(m_nBack, Table::Back))
        m_nBack = 1;
    // One modifier per element; modifiers for added elements start at 100 %.
    int elements = TableSize(Table::Element);
    if (elements >= 0 && m_ElemMod.size() != static_cast<std::size_t>(elements))
        m_ElemMod.resize(static_cast<std::size_t>(elements), 100);
}

int cLand::LoadBody(RecordReader& in)
{
    int result = cSerial::LoadBody(in);
    Validate();
    return result;
}

int cLand::SaveBody(RecordWriter& out)
{
    Validate();
    return cSerial::SaveBody(out);
}

// ---------------------------------------------------------------------------
// cInfl, cCompatiType

int cInfl::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cInfl> m(*this, op, other, io, version);
    m.Int("target", &cInfl::m_nTarget);
    m.Int("item", &cInfl::m_nItem);
    m.Int("operator", &cInfl::m_nOperator);
    m.Int("value", &cInfl::m_nValue);
    return m.Result();
}

int cCompatiType::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cCompatiType> m(*this, op, other, io, version);
    m.Str("name", &cCompatiType::m_Name);
    m.List("infls", &cCompatiType::m_Infls);
    return m.Result();
}

void cCompatiType::Validate()
{
    std::erase_if(m_Infls.items(), [](const cInfl& infl) { return BeyondTable(infl.m_nTarget, Table::CompatiType); });
}

int cCompatiType::LoadBody(RecordReader& in)
{
    int result = cSerial::LoadBody(in);
    Validate();
    return result;
}

int cCompatiType::SaveBody(RecordWriter& out)
{
    Validate();
    return cSerial::SaveBody(out);
}

// ---------------------------------------------------------------------------
// cElem, cPtVal

int cElem::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cElem> m(*this, op, other, io, version);
    m.Int("value", &cElem::m_nValue);
    m.Str("name", &cElem::m_Name);
    return m.Result();
}

cPtVal::cPtVal()
{
    Init();
    m_nVariable = 1;
    m_nMin = 0;
    m_nMax = 999999;
}

int cPtVal::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cPtVal> m(*this, op, other, io, version);
    m.Str("name", &cPtVal::m_Name);
    m.Str("unit", &cPtVal::m_Unit);
    m.Int("variable", &cPtVal::m_nVariable);
    m.Int("min", &cPtVal::m_nMin);
    m.Int("max", &cPtVal::m_nMax);
    m.Int("showStatus", &cPtVal::m_bShowStatus);
    m.Int("showSave", &cPtVal::m_bShowSave, Since(31));
    m.Int("value", &cPtVal::m_nValue);
    return m.Result();
}
