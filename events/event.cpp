#include "events/event.h"

#include "events/action_kinds.h"
#include "records/tables.h"

// ---------------------------------------------------------------------------
// cEventAct

namespace {

// Puts value at k, moving the parameters from k on one place back; the last
// one falls off. Nothing happens when the action has no parameter k.
void InsertParam(cEventAct& a, std::size_t k, int32_t value)
{
    std::vector<int32_t>& p = a.m_Ints;
    if (k >= p.size())
        return;
    for (std::size_t i = p.size() - 1; i > k; --i)
        p[i] = p[i - 1];
    p[k] = value;
}

// Sets parameter k when the action has it.
void SetParam(cEventAct& a, std::size_t k, int32_t value)
{
    if (k < a.m_Ints.size())
        a.m_Ints[k] = value;
}

void Renumber(cEventAct& a, int32_t from)
{
    if (a.m_nKind >= from)
        ++a.m_nKind;
}

// Repairs of actions from older files, applied in this order to every file
// below the version given. New kinds were inserted into the kind table at 25,
// 67, 95 and 103, and the message, picture and map-chip actions gained
// parameters in the middle of their lists.
struct ActionRepair {
    uint32_t below;
    void (*apply)(cEventAct&);
};

const ActionRepair kActionRepairs[] = {
    {25, [](cEventAct& a) { Renumber(a, 5); Renumber(a, 7); }},
    // The message picture's scale arrived at 57 (in percent).
    {57, [](cEventAct& a) { if (a.m_nKind == Act::Message) SetParam(a, 21, 100); }},
    // Left-right and top-bottom mirroring.
    {59, [](cEventAct& a) {
         if (a.m_nKind == Act::Message) { InsertParam(a, 20, 0); InsertParam(a, 21, 0); }
         if (a.m_nKind == Act::Picture) { InsertParam(a, 9, 0); InsertParam(a, 10, 0); }
     }},
    // The A-key toggle of messages; the display time of pictures.
    {60, [](cEventAct& a) {
         if (a.m_nKind == Act::Message) InsertParam(a, 9, 0);
         if (a.m_nKind == Act::Picture) InsertParam(a, 16, 0);
     }},
    // Opacity, fully opaque.
    {62, [](cEventAct& a) {
         if (a.m_nKind == Act::Message) InsertParam(a, MessageParam::Opacity, 255);
         if (a.m_nKind == Act::Picture) InsertParam(a, PictureParam::Opacity, 255);
     }},
    {67, [](cEventAct& a) { Renumber(a, 8); }},
    // The status action, numbered 15 until 95, had another layout, which is
    // not carried over: its parameters start again from 0.
    {71, [](cEventAct& a) {
         if (a.m_nKind == 15) a.m_Ints.assign(15, 0);
     }},
    {95, [](cEventAct& a) { Renumber(a, 8); }},
    {103, [](cEventAct& a) { Renumber(a, 21); }},
    // The map-chip action gained its choice of all or some chips.
    {126, [](cEventAct& a) { if (a.m_nKind == Act::MapChip) InsertParam(a, 1, 0); }},
    // Music actions before 281 had no loop flag; looping is what the stage scene
    // offers, the other scenes cannot loop.
    {281, [](cEventAct& a) { if (a.m_nKind == Act::Music) SetParam(a, 2, a.P(0) == 2 ? 1 : 0); }},
};

}  // namespace

cEventAct::cEventAct()
{
    Init();
    NormalizeAction();
}

cEventAct::cEventAct(int32_t kind)
{
    Init();
    MakeNew(kind);
}

int cEventAct::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cEventAct> m(*this, op, other, io, version);
    m.Int("kind", &cEventAct::m_nKind);
    m.IntVec("ints", &cEventAct::m_Ints);
    m.StrVec("strings", &cEventAct::m_Strings);
    // Files before 55 kept a list of shop skills in every action, one 4-byte
    // value per element. It is read past and dropped.
    m.ObsoleteVector(4, Range(0, 55));
    return m.Result();
}

int cEventAct::LoadBody(RecordReader& in)
{
    int result = cSerial::LoadBody(in);
    if (LoadedFileVersion < kDataVersion) {
        // The counts of the kind as stored come first, so that the repairs
        // below work on parameter lists of a known length.
        const ActionKindInfo& stored = ActionKind(m_nKind);
        m_Ints.resize(stored.intCount);
        m_Strings.resize(stored.stringCount);
        for (const ActionRepair& repair : kActionRepairs)
            if (LoadedFileVersion < repair.below)
                repair.apply(*this);
    }
    NormalizeAction();
    return result;
}

int cEventAct::SaveBody(RecordWriter& out)
{
    NormalizeAction();
    return cSerial::SaveBody(out);
}

void cEventAct::NormalizeAction()
{
    const ActionKindInfo& info = ActionKind(m_nKind);
    m_Ints.resize(info.intCount);
    m_Strings.resize(info.stringCount);
    ClampAction(*this);
}

void cEventAct::ChangeKind(int32_t kind)
{
    m_nKind = kind;
    NormalizeAction();
}

void cEventAct::MakeNew(int32_t kind)
{
    const ActionKindInfo& info = ActionKind(kind);
    m_nKind = kind;
    m_Ints = info.newInts;
    m_Strings.clear();
    NormalizeAction();
}

int32_t cEventAct::P(int i) const
{
    return i >= 0 && i < static_cast<int>(m_Ints.size()) ? m_Ints[i] : 0;
}

const std::string& cEventAct::S(int i) const
{
    static const std::string none;
    return i >= 0 && i < static_cast<int>(m_Strings.size()) ? m_Strings[i] : none;
}

std::string cEventAct::ListText() const { return ActionKind(m_nKind).label + ActionSummary(*this); }

// ---------------------------------------------------------------------------
// cEventPage

cEventPage::cEventPage()
{
    Init();
    m_nGroupIndex = 1;
    ClampPage();
}

int cEventPage::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cEventPage> m(*this, op, other, io, version);
    m.Int("graphic", &cEventPage::m_nGraphic);
    // Before 27 a page had a single turn condition: the base turn alone.
    m.Int("turnAOn", &cEventPage::m_bTurnAOn, Since(27));
    m.Int("turnABase", &cEventPage::m_nTurnABase);
    m.Int("turnAStep", &cEventPage::m_nTurnAStep, Since(27));
    m.Int("turnBOn", &cEventPage::m_bTurnBOn, Since(27));
    m.Int("turnBFrom", &cEventPage::m_nTurnBFrom, Since(27));
    m.Int("turnBTo", &cEventPage::m_nTurnBTo, Since(27));
    m.Int("eventVarOn", &cEventPage::m_bEventVarOn);
    m.Int("eventVarValue", &cEventPage::m_nEventVarValue);
    m.Int("eventVarCompare", &cEventPage::m_EventVarCompare);
    m.Int("commonVar", &cEventPage::m_nCommonVar);
    m.Int("commonVarValue", &cEventPage::m_nCommonVarValue);
    m.Int("commonVarCompare", &cEventPage::m_nCommonVarCompare);
    m.Int("firstAttemptOnly", &cEventPage::m_bFirstAttemptOnly);
    m.Int("scope", &cEventPage::m_Scope);
    m.Int("who", &cEventPage::m_nWho);
    m.Int("presence", &cEventPage::m_nPresence);
    m.Int("friendCondition", &cEventPage::m_nFriendCondition, Since(42));
    m.Int("groupIndex", &cEventPage::m_nGroupIndex);
    m.Int("enemyGroupOn", &cEventPage::m_bEnemyGroupOn, Since(114));
    m.Int("enemyGroup", &cEventPage::m_nEnemyGroup, Since(114));
    m.Int("enemyIdOn", &cEventPage::m_bEnemyIdOn, Since(114));
    m.Int("enemyId", &cEventPage::m_nEnemyId, Since(114));
    m.Int("timing", &cEventPage::m_Timing);
    m.Str("commandName", &cEventPage::m_CommandName);
    m.Int("chainAfterPrevious", &cEventPage::m_bChainAfterPrevious, Since(75));
    m.List("actions", &cEventPage::m_Actions);
    return m.Result();
}

int cEventPage::LoadBody(RecordReader& in)
{
    int result = cSerial::LoadBody(in);
    ClampPage();
    return result;
}

int cEventPage::SaveBody(RecordWriter& out)
{
    ClampPage();
    return cSerial::SaveBody(out);
}

void cEventPage::ClampPage()
{
    if (BeyondTable(m_nGroupIndex, Table::PositionGroup))
        m_nGroupIndex = 0;
    if (BeyondTable(m_nFriendCondition, Table::Friend))
        m_nFriendCondition = 0;
}

// ---------------------------------------------------------------------------
// cEvent

cEvent::cEvent()
{
    Init();
    m_Pages.emplace_back();
}

int cEvent::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cEvent> m(*this, op, other, io, version);
    m.Int("x", &cEvent::m_nX);
    m.Int("y", &cEvent::m_nY);
    m.Int("heldByCharacter", &cEvent::m_bHeldByCharacter);
    m.Int("reserved1", &cEvent::m_nReserved1);
    m.Int("reserved2", &cEvent::m_nReserved2);
    m.Int("reserved3", &cEvent::m_nReserved3);
    m.Str("name", &cEvent::m_Name);
    m.List("pages", &cEvent::m_Pages);
    return m.Result();
}

cEvent* FindEventAt(RecordList<cEvent>& events, int x, int y)
{
    for (cEvent& e : events)
        if (e.m_nX == x && e.m_nY == y)
            return &e;
    return nullptr;
}
