// Stage events: an event on a map cell holds pages; a page holds its appearance
// conditions, its trigger and its actions. The same records make up the event
// palette and the start event; actions also make up the action palette.
#pragma once

#include <string>
#include <vector>

#include "events/value_lists.h"
#include "records/serial.h"

// One action: a kind and the parameters the kind prescribes (see action_kinds.h).
class cEventAct : public cSerial {
public:
    cEventAct();
    explicit cEventAct(int32_t kind);  // a new action of the kind with its new values
    SERIAL_MEMBERS;
    int LoadBody(RecordReader& in) override;
    int SaveBody(RecordWriter& out) override;

    // Brings ints and strings to the counts of the kind and clamps its references
    // to the current tables.
    void NormalizeAction();
    // Changes the kind, keeping the parameters that still fit.
    void ChangeKind(int32_t kind);
    // Makes this a freshly created action of the kind.
    void MakeNew(int32_t kind);

    // The parameter i, 0 when the action has no such parameter.
    int32_t P(int i) const;
    // The text parameter i, empty when there is none.
    const std::string& S(int i) const;

    // What the action list shows: the kind's label followed by its summary.
    std::string ListText() const;

    int32_t m_nKind = 0;               // ActionKind
    std::vector<int32_t> m_Ints;       // integer parameters
    std::vector<std::string> m_Strings;  // text parameters (the message text)
};

// One page of an event.
class cEventPage : public cSerial {
public:
    cEventPage();
    SERIAL_MEMBERS;
    int LoadBody(RecordReader& in) override;
    int SaveBody(RecordWriter& out) override;

    // Drops references to position groups and friends that no longer exist.
    void ClampPage();

    int32_t m_nGraphic = 0;            // map graphic, 0 to 511
    int32_t m_bTurnAOn = 0;            // "ターン数条件A"
    int32_t m_nTurnABase = 0;          // appears on turn base + n * step
    int32_t m_nTurnAStep = 0;
    int32_t m_bTurnBOn = 0;            // "ターン数条件B"
    int32_t m_nTurnBFrom = 0;          // appears from turn ... to turn
    int32_t m_nTurnBTo = 0;
    int32_t m_bEventVarOn = 0;         // "イベント変数条件"
    int32_t m_nEventVarValue = 0;
    CompareOp m_EventVarCompare = CompareOp::Equal;
    int32_t m_nCommonVar = 0;          // common variable tested; 0 = no condition
    int32_t m_nCommonVarValue = 0;
    int32_t m_nCommonVarCompare = 0;   // CompareOp
    int32_t m_bFirstAttemptOnly = 0;   // "ステージ初挑戦時のみ出現"
    TriggerScope m_Scope = TriggerScope::None;
    int32_t m_nWho = 0;                // TriggerWho
    int32_t m_nPresence = 0;           // TriggerPresence
    int32_t m_nFriendCondition = 0;    // friend the trigger is restricted to
    int32_t m_nGroupIndex = 0;         // position group of TriggerScope::PositionGroup
    int32_t m_bEnemyGroupOn = 0;       // enemy must belong to group m_nEnemyGroup
    int32_t m_nEnemyGroup = 0;
    int32_t m_bEnemyIdOn = 0;          // enemy must have the character id m_nEnemyId
    int32_t m_nEnemyId = 0;
    TriggerTiming m_Timing = TriggerTiming::FriendTurnStart;
    std::string m_CommandName;         // "特殊コマンド名" of the command timings
    int32_t m_bChainAfterPrevious = 0; // runs after the previous page of the same timing
    RecordList<cEventAct> m_Actions;
};

class cEvent : public cSerial {
public:
    cEvent();  // holds one default page
    SERIAL_MEMBERS;

    int32_t m_nX = 0;                  // cell column
    int32_t m_nY = 0;                  // cell row
    int32_t m_bHeldByCharacter = 0;    // "キャラにこのイベントを所持させる"
    int32_t m_nReserved1 = 0;          // kept as found
    int32_t m_nReserved2 = 0;
    int32_t m_nReserved3 = 0;
    std::string m_Name;                // "イベント名"
    RecordList<cEventPage> m_Pages;
};

// The first event of the list on the cell, or null.
cEvent* FindEventAt(RecordList<cEvent>& events, int x, int y);
