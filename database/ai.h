// The rules enemies act by: movement rules (where to go and what to do there),
// battle rules (which action to choose in battle, under which conditions) and
// named sets of movement rules kept as templates.
#pragma once

#include <cstdint>
#include <string>

#include "records/labels.h"
#include "records/serial.h"

// The movement rule reads as one sentence: range "で" target "に" action.
enum class MoveAIRange : int32_t { WholeMap, ActionRange, SelfAndAdjacent };
enum class MoveAITarget : int32_t {
    NearestAlly,
    EffectiveAllyPhysical,
    EffectiveAllyMagic,
    EffectiveAllyBoth,
    WeakestHpAlly,
    LeaderAlly,
    RandomAlly,
    NearestEnemy,
    WeakestEnemy,
    Self,
    NearestDestination,
};
enum class MoveAIAction : int32_t { Wait, Battle, Heal };
enum class MoveAIStat : int32_t { Hp, Sp };
enum class MoveAIJudge : int32_t { AllTrue, AnyTrue };

const LabelTable& MoveAIRangeLabels();
const LabelTable& MoveAITargetLabels();
const LabelTable& MoveAIActionLabels();
const LabelTable& MoveAIStatLabels();
const LabelTable& MoveAIJudgeLabels();

class cMoveAI : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cMoveAI)
    SERIAL_MEMBERS;
    int LoadBody(RecordReader& in) override;
    int SaveBody(RecordWriter& out) override;

    // Pulls the skill back into the skill tables and the destination into the
    // position groups (positionGroups -1: unknown, left as it is).
    void Adjust(int positionGroups);
    // True when any condition is switched on.
    bool AnyCondition() const;

    MoveAIRange m_nRange = MoveAIRange::WholeMap;
    MoveAITarget m_nTarget = MoveAITarget::NearestAlly;
    MoveAIAction m_nAction = MoveAIAction::Wait;
    int32_t m_nSkillGroup = 0;       // "使用スキル": skill group
    int32_t m_nSkill = 0;            // skill within the group
    int32_t m_nDestination = 0;      // "目的地": position group
    int32_t m_bConditions = 0;       // "条件あり"
    int32_t m_bSameGroupAlly = 0;    // an ally of the same group is within the action range
    int32_t m_bOnceAlways = 0;       // once satisfied, satisfied from then on
    int32_t m_bStatusCond = 0;       // "ステータス条件"
    MoveAIStat m_nStatusStat = MoveAIStat::Hp;
    int32_t m_nStatusValue = 0;      // 0 to 999999
    int32_t m_bStatusPercent = 0;    // "％で指定"
    CompareOp m_nStatusCompare = CompareOp::Equal;
    int32_t m_bCommonVarCond = 0;    // "コモン変数条件"
    int32_t m_nCommonVar = 0;
    int32_t m_nCommonVarValue = 0;   // -999999 to 999999
    CompareOp m_nCommonVarCompare = CompareOp::Equal;
    int32_t m_bMovedOrActed = 0;     // this character has moved or acted at least once
    MoveAIJudge m_nJudgeType = MoveAIJudge::AllTrue;  // "判定タイプ"
    int32_t m_nUnedited = 0;         // kept for the game, not edited
};

enum class BattleAIAction : int32_t { Attack, Skill, Quick };
// A battle condition reads: subject "の" item "が" value comparison.
enum class BattleAISubject : int32_t { Self, Opponent };
enum class BattleAIItem : int32_t {
    Hp,
    Sp,
    Attack,
    Defence,
    Magic,
    Resistance,
    Technique,
    Reaction,
    Agility,
    Class,
    Level,
    Turn,
    TurnsLeft,
    Time,
    Land,
};

const LabelTable& BattleAIActionLabels();
const LabelTable& BattleAISubjectLabels();
const LabelTable& BattleAIItemLabels();

class cBattleAICond : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cBattleAICond)
    SERIAL_MEMBERS;

    BattleAISubject m_nSubject = BattleAISubject::Self;
    BattleAIItem m_nItem = BattleAIItem::Hp;
    int32_t m_nValue = 0;  // 0 to 999999
    CompareOp m_nCompare = CompareOp::Equal;
    int32_t m_bPercent = 0;  // "↑％で指定"
};

class cBattleAI : public cSerial {
public:
    cBattleAI();
    SERIAL_MEMBERS;

    BattleAIAction m_nAction = BattleAIAction::Attack;  // "行動"
    int32_t m_nSkillGroup = 0;       // "使用スキル": skill group
    int32_t m_nUnedited = 0;         // kept for the game, not edited
    int32_t m_nSkill = 0;            // skill within the group
    int32_t m_nPriorityLevel = 0;    // "優先レベル", 1 to 9
    int32_t m_nPriorityValue = 0;    // "優先値", 0 to 100
    int32_t m_bIgnoreForMoveAI = 0;  // left out when manual battle ranks the most effective allies
    RecordList<cBattleAICond> m_Conds;  // the action is a candidate when all hold
};

class cMoveAITemplate : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cMoveAITemplate)
    SERIAL_MEMBERS;

    std::string m_Name;
    std::string m_Description;  // at most 256 characters
    RecordList<cMoveAI> m_MoveAI;
};
