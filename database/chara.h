// Character records: allied characters (Friend.dat) and enemy characters
// (Enemy.dat), built on one base record that holds everything a character has
// regardless of side.
//
// A character names its class by number and falls back on the class's values
// wherever its own are 0; the "effective" members are derived from the class
// and recomputed whenever a character is loaded, saved or made new. That needs
// the live class table, which the project hands over through a CharaContext.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "database/ai.h"
#include "database/class.h"
#include "database/skill.h"
#include "records/serial.h"

// What characters need of the loaded project. The project installs one once
// its tables are loaded; without one (the data tool working on a single file)
// characters keep their derived members exactly as they were read.
class CharaContext {
public:
    virtual ~CharaContext() = default;
    // The class table; null when unknown.
    virtual const RecordList<cClass>* Classes() const = 0;
};

// Installs the context; nullptr removes it. Returns the old one.
const CharaContext* SetCharaContext(const CharaContext* context);
const CharaContext* CurrentCharaContext();

// A context over a class table held elsewhere.
class ClassTableContext : public CharaContext {
public:
    explicit ClassTableContext(const RecordList<cClass>* classes = nullptr) : classes(classes) {}
    const RecordList<cClass>* Classes() const override { return classes; }
    const RecordList<cClass>* classes;
};

// When set, new enemies start without the default battle rule.
extern bool NoDefaultBattleAI;

// Every nine-element stat array holds the stats in this order.
inline constexpr int kStatCount = 9;
const LabelTable& StatLabels();  // "HP", "SP", "攻撃", ... as the pages label their rows

// The parameters of one stat.
class cParam : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cParam)
    SERIAL_MEMBERS;

    int32_t m_nStat = 0;    // position of the stat, 0 to 8
    int32_t m_nValue = 0;   // effective initial value + first random growth value
    int32_t m_nValue2 = 0;  // the same
};

// A skill the character learns at a level.
class cLearnSkill : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cLearnSkill)
    SERIAL_MEMBERS;

    int32_t m_nSkillList = 0;  // skill group
    int32_t m_nSkill = 0;      // skill within the group
    int32_t m_nLevel = 0;      // learning level
};

class cChara : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cChara)
    SERIAL_MEMBERS;

    // Gives the record the values of a freshly created entry. The base part
    // only sets what allies and enemies share; they run Init first and add
    // their own values.
    virtual void ResetToNew();

    // Resolves the character against its class: effective initial and final
    // values and growth flags, the level limit, the per-level and random-growth
    // tables (cleared to 0) and, unless valuesOnly, the three sense tables (the
    // class's table, no personal additions). 0 when the class is not available.
    int ResolveClass(bool valuesOnly);

    // Brings the character in line with the current database: references
    // clamped to their tables, the values that come from the class, the sense
    // tables and the stat parameters recomputed. Runs after every load, before
    // every save and for new entries; does nothing without a class table (see
    // CharaContext).
    void AdjustToDatabase();

    int32_t m_nUnedited1 = 0;       // members called unedited are not edited by any page; carried as they are
    int32_t m_bRandomName = 0;      // the name is drawn from a random name list
    int32_t m_nRandomNameFile = 0;  // position in the list of random name files
    int32_t m_nUnedited2 = 0;       // 0 for new allies, 1 for new enemies
    int32_t m_nUnedited3 = 0;
    int32_t m_nClass = 0;           // class number
    int32_t m_nLevel = 0;           // 1 to 99
    int32_t m_nLevelLimit = 0;      // in effect, from the class
    int32_t m_nUnedited4 = 0;
    std::array<int32_t, kStatCount> m_InitialStats{};   // 0 = the class's initial value
    std::array<int32_t, kStatCount> m_FinalStats{};     // 0 = no growth
    std::array<int32_t, kStatCount> m_GameInitial{};    // initial values in effect
    std::array<int32_t, kStatCount> m_GameFinal{};      // final values in effect
    std::array<int32_t, kStatCount> m_RandomGrowth1{};  // 0 to 90, 50 = average
    std::array<int32_t, kStatCount> m_RandomGrowth2{};
    std::array<int32_t, kStatCount> m_Grows{};          // 1 where a final value applies
    int32_t m_bRandomGrowth = 0;
    int32_t m_bRandomSense = 0;     // random sense increase (allies)
    int32_t m_bRandomSkill = 0;     // random skill learning
    int32_t m_nGrowthTiming = 0;    // -10 early to 10 late, 0 uniform
    int32_t m_nSenseStamp = 0;      // below 232: the personal sense table is worked out from the effective one
    std::array<cParam, kStatCount> m_Params;
    int32_t m_nUnedited5 = 0;
    int32_t m_nUnedited6 = 0;
    int32_t m_nUnedited7 = 0;
    int32_t m_nUnedited8 = 0;
    int32_t m_nUnedited9 = 0;
    int32_t m_nUnedited10 = 0;
    int32_t m_nUnedited11 = 0;
    int32_t m_nUnedited12 = 0;
    int32_t m_nUnedited13 = 0;
    int32_t m_nUnedited14 = 0;
    int32_t m_nUnedited15 = 0;
    int32_t m_nUnedited16 = 0;
    int32_t m_nUnedited17 = 0;
    int32_t m_nUnedited18 = 0;
    int32_t m_nUnedited19 = 0;
    int32_t m_nCompatiType = 0;     // compatibility type number
    int32_t m_bFixedExp = 0;        // enemies: grant a fixed experience
    int32_t m_nFixedExp = 0;        // 0 to 9999
    int32_t m_nRewardPartyVal = 0;  // party value that receives the reward
    int32_t m_nReward = 0;          // amount granted on defeat, 0 to 999999
    // Three references into the first set of acquired skills: (group, entry) pairs.
    std::array<int32_t, 6> m_AcqSkillRefs{};
    std::string m_Name;
    std::string m_Description;      // enemies
    std::array<std::vector<int32_t>, kStatCount> m_LevelValues;  // per stat, one value per level
    std::array<std::vector<int32_t>, kStatCount> m_LevelGrowth;  // per stat; element 0 adds to the initial value
    std::vector<std::vector<int32_t>> m_Senses;       // in effect, per skill group and category
    std::vector<std::vector<int32_t>> m_ClassSenses;  // copy of the class's table
    std::vector<std::vector<int32_t>> m_OwnSenses;    // the character's additions to the class's table
    std::vector<RecordList<cAcqSkill>> m_AcqSkills1;  // one list per skill group
    std::vector<RecordList<cAcqSkill>> m_AcqSkills2;
    RecordList<cLearnSkill> m_LearnSkills;

private:
    // The class the character names in the installed class table; null when
    // there is none.
    const cClass* FindClass() const;
    void ResolveValues(const cClass& cls);
    void ResizeLevelTables(bool clear);
    void UpdateParams();
    void UpdateSenses(const cClass* cls);
    void CheckSkills();
};

class cFriend : public cChara {
public:
    cFriend() { ResetToNew(); }
    SERIAL_MEMBERS;
    int LoadBody(RecordReader& in) override;
    int SaveBody(RecordWriter& out) override;
    void ResetToNew() override;

    int32_t m_nUneditedF1 = 0;
    int32_t m_nUneditedF2 = 0;
    int32_t m_bShopFromStart = 0;  // registered at the recruiting shop from the start
    int32_t m_bHireAgain = 0;      // can be hired any number of times
    int32_t m_bNoDismiss = 0;      // cannot be dismissed
    int32_t m_bRegenerate = 0;     // the shop's characters are made anew after every stage clear
};

// "トレーニング": whether the player can fight the enemy in training.
enum class EnemyTraining : int32_t { AfterDefeat, FromStart, Never };
const LabelTable& EnemyTrainingLabels();

class cEnemy : public cChara {
public:
    cEnemy() { ResetToNew(); }
    SERIAL_MEMBERS;
    int LoadBody(RecordReader& in) override;
    int SaveBody(RecordWriter& out) override;
    void ResetToNew() override;

    int32_t m_nUneditedE1 = 0;
    EnemyTraining m_nTraining = EnemyTraining::AfterDefeat;
    RecordList<cMoveAI> m_MoveAI;
    RecordList<cBattleAI> m_BattleAI;
};
