#include "database/ai.h"

#include "records/tables.h"

const LabelTable& MoveAIRangeLabels()
{
    static const LabelTable labels{"マップ全範囲内", "行動範囲内", "自分＋隣4マス内"};
    return labels;
}

const LabelTable& MoveAITargetLabels()
{
    static const LabelTable labels{
        "最も近い味方",
        "最も効果的な味方（物理攻撃計算）",
        "最も効果的な味方（魔法攻撃計算）",
        "最も効果的な味方（物理と魔法）",
        "最もHPが低い味方",
        "リーダーの味方",
        "味方の誰か（ランダム）",
        "最も近い敵",
        "最も弱っている敵",
        "自分自身",
        "最も近い目的地",
    };
    return labels;
}

const LabelTable& MoveAIActionLabels()
{
    static const LabelTable labels{"待機", "戦闘", "回復"};
    return labels;
}

const LabelTable& MoveAIStatLabels()
{
    static const LabelTable labels{"HP", "SP"};
    return labels;
}

const LabelTable& MoveAIJudgeLabels()
{
    static const LabelTable labels{"全ての条件が真なら成立", "1つ以上の条件が真なら成立"};
    return labels;
}

const LabelTable& BattleAIActionLabels()
{
    static const LabelTable labels{"攻撃", "スキル", "クイック"};
    return labels;
}

const LabelTable& BattleAISubjectLabels()
{
    static const LabelTable labels{"自分", "相手"};
    return labels;
}

const LabelTable& BattleAIItemLabels()
{
    // The nine stats in their usual order, then the rest.
    static const LabelTable labels{"HP", "SP", "攻撃", "守備", "魔力", "抵抗", "技能", "反応", "敏捷",
                                   "クラス", "レベル", "ターン", "残りターン数", "時間", "地形"};
    return labels;
}

// ---------------------------------------------------------------------------

int cMoveAI::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cMoveAI> m(*this, op, other, io, version);
    m.Int("range", &cMoveAI::m_nRange);
    m.Int("target", &cMoveAI::m_nTarget);
    m.Int("action", &cMoveAI::m_nAction);
    m.Int("skillGroup", &cMoveAI::m_nSkillGroup);
    m.Int("skill", &cMoveAI::m_nSkill);
    m.Int("destination", &cMoveAI::m_nDestination);
    m.Int("conditions", &cMoveAI::m_bConditions, Since(113));
    m.Int("sameGroupAlly", &cMoveAI::m_bSameGroupAlly, Since(44));
    m.Int("onceAlways", &cMoveAI::m_bOnceAlways, Since(44));
    m.Int("statusCond", &cMoveAI::m_bStatusCond, Since(44));
    m.Int("statusStat", &cMoveAI::m_nStatusStat, Since(44));
    m.Int("statusValue", &cMoveAI::m_nStatusValue, Since(44));
    m.Int("statusPercent", &cMoveAI::m_bStatusPercent, Since(44));
    m.Int("statusCompare", &cMoveAI::m_nStatusCompare, Since(44));
    m.Int("commonVarCond", &cMoveAI::m_bCommonVarCond, Since(44));
    m.Int("commonVar", &cMoveAI::m_nCommonVar, Since(44));
    m.Int("commonVarValue", &cMoveAI::m_nCommonVarValue, Since(44));
    m.Int("commonVarCompare", &cMoveAI::m_nCommonVarCompare, Since(44));
    m.Int("movedOrActed", &cMoveAI::m_bMovedOrActed, Since(51));
    m.Int("judgeType", &cMoveAI::m_nJudgeType, Since(112));
    m.Int("unedited", &cMoveAI::m_nUnedited, Since(45));
    return m.Result();
}

bool cMoveAI::AnyCondition() const
{
    return m_bMovedOrActed || m_bCommonVarCond || m_bSameGroupAlly || m_bStatusCond;
}

void cMoveAI::Adjust(int positionGroups)
{
    if (BeyondTable(m_nSkillGroup, Table::SkillList))
        m_nSkillGroup = 0;
    int skills = SkillCount(m_nSkillGroup);
    if (skills >= 0 && m_nSkill >= skills)
        m_nSkill = 0;
    if (positionGroups >= 0 && (m_nDestination < 0 || m_nDestination >= positionGroups))
        m_nDestination = 0;
}

int cMoveAI::LoadBody(RecordReader& in)
{
    int result = cSerial::LoadBody(in);
    // Targets were inserted in versions 48 (at 5) and 50 (at 3); the numbers of
    // older files move up past each insertion in turn.
    auto target = static_cast<int32_t>(m_nTarget);
    if (LoadedFileVersion < 48 && target >= 5)
        ++target;
    if (LoadedFileVersion < 50 && target >= 3)
        ++target;
    m_nTarget = static_cast<MoveAITarget>(target);
    // Before the "条件あり" switch existed, a rule with any condition set was conditional.
    if (LoadedFileVersion < 113 && AnyCondition())
        m_bConditions = 1;
    Adjust(TableSize(Table::PositionGroup));
    return result;
}

int cMoveAI::SaveBody(RecordWriter& out)
{
    Adjust(TableSize(Table::PositionGroup));
    return cSerial::SaveBody(out);
}

// ---------------------------------------------------------------------------

int cBattleAICond::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cBattleAICond> m(*this, op, other, io, version);
    m.Int("subject", &cBattleAICond::m_nSubject);
    m.Int("item", &cBattleAICond::m_nItem);
    m.Int("value", &cBattleAICond::m_nValue);
    m.Int("compare", &cBattleAICond::m_nCompare);
    m.Int("percent", &cBattleAICond::m_bPercent);
    return m.Result();
}

cBattleAI::cBattleAI()
{
    Init();
    m_nSkill = 1;
    m_nPriorityLevel = 1;
    m_nPriorityValue = 10;
}

int cBattleAI::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cBattleAI> m(*this, op, other, io, version);
    m.Int("action", &cBattleAI::m_nAction);
    m.Int("skillGroup", &cBattleAI::m_nSkillGroup);
    m.Int("unedited", &cBattleAI::m_nUnedited);
    m.Int("skill", &cBattleAI::m_nSkill);
    m.Int("priorityLevel", &cBattleAI::m_nPriorityLevel);
    m.Int("priorityValue", &cBattleAI::m_nPriorityValue);
    m.Int("ignoreForMoveAI", &cBattleAI::m_bIgnoreForMoveAI, Since(250));
    m.List("conditions", &cBattleAI::m_Conds);
    return m.Result();
}

int cMoveAITemplate::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cMoveAITemplate> m(*this, op, other, io, version);
    m.Str("name", &cMoveAITemplate::m_Name, Since(49));
    m.Str("description", &cMoveAITemplate::m_Description, Since(58));
    m.List("moveAI", &cMoveAITemplate::m_MoveAI);
    return m.Result();
}
