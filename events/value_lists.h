// The fixed value lists of events: the choices of the page conditions and of
// the action parameters. The stored value of such a parameter is its index in
// the list; the labels are what the drop-down lists and the summaries show.
#pragma once

#include <cstdint>
#include <string>

#include "records/labels.h"

enum class ValueList {
    // Page conditions and triggers.
    TriggerTiming,
    TriggerScope,
    TriggerWho,
    TriggerPresence,
    CompareOp,
    // Action parameters.
    ScreenPosition,
    DisplayDuration,
    WindowWidth,
    FacePosition,
    CursorTarget,
    WarpSubject,
    ChipScope,
    ChipSelect,
    AssignOp,
    StatusTarget,
    StatusSource,
    VariableKind,
    CharacterRef,
    StatusName,
    StockGain,
    BgmScene,
    Count_
};

// Number of entries of a list.
int ValueCount(ValueList list);
// The label (CP932) of an entry; empty for an index outside the list.
const std::string& ValueLabel(ValueList list, long long index);

// Whether value stands in the relation op to operand. A multiple of 0 is only 0;
// an unknown comparison never holds.
bool CompareValues(CompareOp op, int32_t value, int32_t operand);

// When a page is tested.
enum class TriggerTiming : int32_t {
    FriendTurnStart,      // 0 "味方のターン開始後(B-1)"
    FriendTurnEnd,
    FriendActionEnd,
    FriendCommand,        // 3: uses the page's command name
    EnemyTurnStart,
    EnemyTurnEnd,
    EnemyActionEnd,
    AnyTurnStart,
    AnyTurnEnd,
    AnyActionEnd,
    BattleStart,          // 10
    BattleEnd,
    BattleWon,
    BattleLost,
    LeaderLost,
    HolderActionEnd,      // 15 to 20 refer to the event's holder
    HolderCommand,        // 16: uses the page's command name
    HolderBattleStart,
    HolderBattleEnd,
    HolderBattleWon,
    HolderBattleLost,
    StageStart,           // 21 "ステージ開始前(A)"
    StageClear,           // 22 "ステージクリア前(H)"
};

// Where the trigger looks for characters.
enum class TriggerScope : int32_t {
    None,           // "条件なし": the page fires at its timing alone
    WholeMap,       // "マップ全範囲内"
    EventCell,      // "このイベントの位置"
    PositionGroup,  // "位置グループ内"
};
