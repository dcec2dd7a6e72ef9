// The character dialogs: "習得スキル" (skills learned by level), "戦闘AI"
// (an enemy's battle rules) and "戦闘AI 条件" (one condition of a rule).
// Each works on a copy and writes it back on OK.
#pragma once

#include "database/ai.h"
#include "database/chara.h"
#include "database/skill.h"
#include "database/window/db_common.h"

// Skill names of a group as combo entries; empty for a group beyond the table.
std::vector<std::string> SkillChoices(const RecordList<cSkillList>& groups, int group);
// "group name の skill name" or what of it exists.
std::string SkillText(const RecordList<cSkillList>& groups, int group, int skill);

class DLG_LEARNSKILL : public DLG_CLASS {
public:
    enum { IDD = 126, IDC_LIST = 2501, IDC_GROUP = 2502, IDC_SKILL = 2503, IDC_LEVEL = 2510, IDC_INSERT = 2504,
           IDC_DELETE = 2505 };
    DLG_LEARNSKILL(RecordList<cLearnSkill>& learn, const RecordList<cSkillList>& groups);
    int Run(WND_CLASS* owner) { return RunDbDialog(*this, owner); }
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

private:
    void FillSkills();
    RecordList<cLearnSkill>& m_Target;
    const RecordList<cSkillList>& m_Groups;
    RecordList<cLearnSkill> m_Work;
    ListPane<cLearnSkill> m_Pane;
};

class DLG_BATTLEAI_COND : public DLG_CLASS {
public:
    enum { IDD = 133, IDC_SUBJECT = 2601, IDC_ITEM = 2602, IDC_COMPARE = 2603, IDC_PERCENT = 2604, IDC_VALUE = 2610 };
    explicit DLG_BATTLEAI_COND(cBattleAICond& cond);
    int Run(WND_CLASS* owner) { return RunDbDialog(*this, owner); }
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

private:
    cBattleAICond& m_Target;
    cBattleAICond m_Work;
};

// The line of a condition: subject の item が value comparison.
std::string BattleAICondLine(const cBattleAICond& cond);
// The line of a rule: action, skill, priority level and value.
std::string BattleAILine(const cBattleAI& rule, const RecordList<cSkillList>& groups);

class DLG_BATTLEAI : public DLG_CLASS {
public:
    enum { IDD = 132, IDC_LIST = 2701, IDC_INSERT = 2702, IDC_DELETE = 2703, IDC_ACTION = 2704, IDC_GROUP = 2705,
           IDC_SKILL = 2706, IDC_IGNORE = 2707, IDC_LEVEL = 2710, IDC_VALUE = 2712, IDC_CONDS = 2720,
           IDC_COND_INSERT = 2721, IDC_COND_EDIT = 2722, IDC_COND_DELETE = 2723 };
    DLG_BATTLEAI(RecordList<cBattleAI>& rules, const RecordList<cSkillList>& groups);
    int Run(WND_CLASS* owner) { return RunDbDialog(*this, owner); }
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

    // Answers the condition's "編集" (the condition dialog unless replaced).
    std::function<int(cBattleAICond& cond)> editCond;

private:
    void FillSkills();
    void EnableSkill();
    void ConditionsChanged();
    void EditCondition();
    RecordList<cBattleAI>& m_Target;
    const RecordList<cSkillList>& m_Groups;
    RecordList<cBattleAI> m_Work;
    ListPane<cBattleAI> m_Rules;
    ListPane<cBattleAICond> m_Conds;
};
