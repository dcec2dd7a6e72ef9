// The action kinds: one row per kind with its label, its parameter counts, the
// values of a new action, the clamping of its references and its summary. The
// loader, the action editor, the palettes and the action list all read this
// table; adding or changing a kind touches its row only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "events/value_lists.h"
#include "records/tables.h"

class cEventAct;

namespace Act {
enum : int32_t {
    None,
    Message,
    Picture,
    Wait,
    MapCursor,
    Warp,
    EnemyGroup,
    EnemyCopy,
    PlaceFriend,
    StartPosition,
    EventVariable,
    CommonVariable,
    MapChip,
    EventGraphic,
    SoundEffect,
    Music,
    Status,
    Money,
    LearnSkill,
    Stock,
    ShopItem,
    RandomSkill,
    FriendShop,
    Party,
    StageClear,
    GameOver,
    TurnBack,
    Count_
};
}  // namespace Act

// Parameters of the message action that the loader and the summary use.
namespace MessageParam {
enum : int { Erase = 15, Opacity = 23, Scale = 25 };
}
// Parameters of the picture action.
namespace PictureParam {
enum : int { Picture = 0, Erase = 3, Opacity = 11 };
}

// One reference a kind keeps inside a table.
struct ActionClamp {
    enum class Rule : uint8_t {
        ToTable,    // param to [low, N-1] of table (N unknown: left alone)
        SkillPair,  // param is a skill list, param+1 a skill in it
        SkillList,  // param is a skill list
    };
    Rule rule;
    int param;
    int low = 0;
    Table table = Table::Count_;
};

// Where the values of an integer parameter come from: the range or the list
// that the editor's control offers.
struct ParamSource {
    enum class Kind : uint8_t {
        Range,           // a number from low to high (a flag is 0 to 1)
        List,            // an entry of a fixed value list
        Labels,          // one of the row's own labels, value = position
        TableEntry,      // an entry of a table, from low on
        SkillOf,         // a skill (from 1) of the skill list in parameter `other`
        CommonVariable,  // a common variable, from 1
        Music,           // a piece of music; 0 is "なし" (no music)
        Kept,            // no control: the value is kept as it is
    };
    Kind kind = Kind::Range;
    int32_t low = 0;
    int32_t high = 0;
    ValueList list = ValueList::Count_;
    Table table = Table::Count_;
    int other = -1;
    std::vector<std::string> labels;  // CP932

    bool IsChoice() const { return kind != Kind::Range && kind != Kind::Kept; }
};

struct ActionKindInfo {
    std::string label;            // CP932; empty for kind 0
    int intCount = 0;
    int stringCount = 0;
    bool startEventAllowed = false;
    int dialogId = 0;             // the editing dialog's resource, 0 when none
    std::vector<int32_t> newInts; // leading values of a new action; the rest are 0
    std::vector<ActionClamp> clamps;
    std::vector<ParamSource> params;  // one per integer parameter
    // The text after the label in the action list; null for kinds without one.
    std::string (*summary)(const cEventAct&) = nullptr;
};

// The row of a kind; kinds outside the table get the row of kind 0.
const ActionKindInfo& ActionKind(long long kind);

// Clamps the references of a normalized action to the current tables.
void ClampAction(cEventAct& act);

// The summary text of an action (without its label).
std::string ActionSummary(const cEventAct& act);

// Clamps value to [low, high]; when high < low the result is low.
int32_t ClampTo(int32_t value, long long low, long long high);
