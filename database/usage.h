// "使用箇所": which records of the database refer to a class, a skill group or
// skill, or an element, for the read-only lists beside those entries.
#pragma once

#include <string>
#include <vector>

#include "database/chara.h"
#include "database/class.h"
#include "database/land.h"
#include "database/skill.h"

// The tables searched; a null table is skipped.
struct DatabaseView {
    const RecordList<cClass>* classes = nullptr;
    const RecordList<cFriend>* friends = nullptr;
    const RecordList<cEnemy>* enemies = nullptr;
    const RecordList<cSkillList>* skills = nullptr;
    const RecordList<cLand>* lands = nullptr;
};

enum class UsageKind {
    Friend,      // an ally: its class, or a skill it learns
    Enemy,       // an enemy: its class, or a skill it learns
    Class,       // a class: its normal attack, or a resistance other than 100
    BattleRule,  // an enemy's battle rule using a skill (index: enemy, sub: rule)
    MoveRule,    // an enemy's movement rule using a skill (index: enemy, sub: rule)
    Skill,       // a skill: its learning class or its element (index: group, sub: skill)
    Land,        // a terrain with a modifier other than 100 for the element
};

struct Usage {
    UsageKind kind;
    int index;
    int sub = -1;
    bool operator==(const Usage&) const = default;
};

std::vector<Usage> FindClassUsage(const DatabaseView& db, int cls);
// skill -1: any skill of the group.
std::vector<Usage> FindSkillUsage(const DatabaseView& db, int group, int skill);
std::vector<Usage> FindElementUsage(const DatabaseView& db, int element);

// One line of the list, CP932: what refers, with its 1-based number and name
// ("敵キャラ 012 スライム 戦闘AI 2").
std::string UsageLine(const DatabaseView& db, const Usage& usage);
