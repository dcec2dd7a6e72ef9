#include "database/window/chara_dialogs.h"

#include <QGroupBox>
#include <QVBoxLayout>

std::vector<std::string> SkillChoices(const RecordList<cSkillList>& groups, int group)
{
    if (group < 0 || group >= groups.size())
        return {};
    return NumberedNames(groups[group].m_Skills);
}

std::string SkillText(const RecordList<cSkillList>& groups, int group, int skill)
{
    if (group < 0 || group >= groups.size())
        return std::string();
    const cSkillList& g = groups[group];
    std::string text = g.m_Name + SJ(" の ");
    if (skill >= 0 && skill < g.m_Skills.size())
        text += g.m_Skills[skill].m_Name;
    return text;
}

// ---------------------------------------------------------------------------

DLG_LEARNSKILL::DLG_LEARNSKILL(RecordList<cLearnSkill>& learn, const RecordList<cSkillList>& groups)
    : m_Target(learn), m_Groups(groups)
{
    SetTitle(QStringLiteral("習得スキル"));
}

void DLG_LEARNSKILL::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(DbList(this, dialog, IDC_LIST, 360));
    auto* row = new QHBoxLayout;
    row->addWidget(DbCombo(this, dialog, IDC_GROUP));
    row->addWidget(DbLabel(dialog, "の"));
    row->addWidget(DbCombo(this, dialog, IDC_SKILL));
    row->addWidget(DbLabel(dialog, "習得LV"));
    row->addWidget(DbNumber(this, dialog, IDC_LEVEL, 40));
    layout->addLayout(row);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(DbButton(this, dialog, IDC_INSERT, "挿入"));
    buttons->addWidget(DbButton(this, dialog, IDC_DELETE, "削除"));
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addLayout(DbOkCancel(this, dialog));
}

void DLG_LEARNSKILL::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_Work = m_Target;
    ListOptions o;
    o.numbering = true;
    o.maxCount = 99;
    m_Pane.Attach(this, IDC_LIST, &m_Work, o, [this](int, const cLearnSkill& l) {
        return SkillText(m_Groups, l.m_nSkillList, l.m_nSkill) + SJ("  習得LV ") + std::to_string(l.m_nLevel);
    });
    AttachCombo<int32_t>(this, IDC_GROUP, &m_Pane.current.m_nSkillList, NumberedNames(m_Groups));
    AttachCombo<int32_t>(this, IDC_SKILL, &m_Pane.current.m_nSkill, std::vector<std::string>());
    AttachNum<int32_t>(this, IDC_LEVEL, &m_Pane.current.m_nLevel, 1, 99);
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_INSERT);
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_DELETE);
    m_Pane.SetFields({IDC_GROUP, IDC_SKILL, IDC_LEVEL, IDC_DELETE});
    m_Pane.beforeShow = [this] { FillSkills(); };
    UpdateAll();
    m_Pane.ShowSelected();
}

void DLG_LEARNSKILL::FillSkills()
{
    Control<CTRL_REFCOMBO_CLASS<int32_t>>(IDC_SKILL)->SetItems(SkillChoices(m_Groups, m_Pane.current.m_nSkillList));
}

void DLG_LEARNSKILL::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    // The list's insert key and menu item add a row as 挿入 does.
    if (id == cmd::kInsertKey1 || id == cmd::kMenuInsert1)
        id = IDC_INSERT;
    else if (m_Pane.ListCommand(id))
        return;
    if (id == IDC_LIST && code == Notify::SelChange)
        m_Pane.ShowSelected();
    else if (id == IDC_INSERT) {
        // A new entry is learned at level 1.
        if (m_Pane.Insert()) {
            cLearnSkill fresh = m_Pane.current;
            fresh.m_nLevel = 1;
            m_Pane.PutSelected(fresh);
        }
    } else if (id == IDC_DELETE)
        m_Pane.Delete();
    else if (m_Pane.IsFieldChange(id, code)) {
        m_Pane.StoreSelected();
        if (id == IDC_GROUP) {
            FillSkills();
            UpdateAllBut(IDC_LIST);
        }
    } else if (id == IDC_OK) {
        m_Pane.StoreSelected();
        m_Target = m_Work;
        Close(1);
    } else if (id == IDC_CANCEL)
        Close(0);
}

// ---------------------------------------------------------------------------

DLG_BATTLEAI_COND::DLG_BATTLEAI_COND(cBattleAICond& cond) : m_Target(cond) { SetTitle(QStringLiteral("戦闘AI 条件")); }

void DLG_BATTLEAI_COND::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    auto* row = new QHBoxLayout;
    row->addWidget(DbCombo(this, dialog, IDC_SUBJECT));
    row->addWidget(DbLabel(dialog, "の"));
    row->addWidget(DbCombo(this, dialog, IDC_ITEM));
    row->addWidget(DbLabel(dialog, "が"));
    row->addWidget(DbNumber(this, dialog, IDC_VALUE));
    row->addWidget(DbCombo(this, dialog, IDC_COMPARE));
    layout->addLayout(row);
    layout->addWidget(DbCheck(this, dialog, IDC_PERCENT, "↑％で指定"));
    layout->addLayout(DbOkCancel(this, dialog));
}

void DLG_BATTLEAI_COND::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_Work = m_Target;
    AttachCombo(this, IDC_SUBJECT, &m_Work.m_nSubject, BattleAISubjectLabels());
    AttachCombo(this, IDC_ITEM, &m_Work.m_nItem, BattleAIItemLabels());
    AttachNum<int32_t>(this, IDC_VALUE, &m_Work.m_nValue, 0, 999999);
    AttachCombo(this, IDC_COMPARE, &m_Work.m_nCompare, CompareOpLabels());
    AttachCheck<int32_t>(this, IDC_PERCENT, &m_Work.m_bPercent);
    UpdateAll();
}

void DLG_BATTLEAI_COND::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    if (id == IDC_OK) {
        StoreAll();
        m_Target = m_Work;
        Close(1);
    } else if (id == IDC_CANCEL)
        Close(0);
}

std::string BattleAICondLine(const cBattleAICond& c)
{
    return BattleAISubjectLabels()[c.m_nSubject] + SJ("の") + BattleAIItemLabels()[c.m_nItem] + SJ("が") +
           std::to_string(c.m_nValue) + (c.m_bPercent ? SJ("％") : std::string()) + CompareOpLabels()[c.m_nCompare];
}

std::string BattleAILine(const cBattleAI& rule, const RecordList<cSkillList>& groups)
{
    std::string line = BattleAIActionLabels()[rule.m_nAction];
    if (rule.m_nAction != BattleAIAction::Attack)
        line += "  " + SkillText(groups, rule.m_nSkillGroup, rule.m_nSkill);
    return line + SJ("  優先レベル") + std::to_string(rule.m_nPriorityLevel) + SJ("  優先値") +
           std::to_string(rule.m_nPriorityValue);
}

// ---------------------------------------------------------------------------

DLG_BATTLEAI::DLG_BATTLEAI(RecordList<cBattleAI>& rules, const RecordList<cSkillList>& groups)
    : m_Target(rules), m_Groups(groups)
{
    SetTitle(QStringLiteral("戦闘AI"));
    editCond = [this](cBattleAICond& cond) {
        DLG_BATTLEAI_COND dlg(cond);
        return dlg.Run(this);
    };
}

void DLG_BATTLEAI::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(DbList(this, dialog, IDC_LIST, 420, 160));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(DbButton(this, dialog, IDC_INSERT, "挿入"));
    buttons->addWidget(DbButton(this, dialog, IDC_DELETE, "削除"));
    buttons->addStretch();
    layout->addLayout(buttons);

    auto* grid = new QGridLayout;
    grid->addWidget(DbLabel(dialog, "行動"), 0, 0);
    grid->addWidget(DbCombo(this, dialog, IDC_ACTION), 0, 1);
    grid->addWidget(DbLabel(dialog, "使用スキル"), 1, 0);
    auto* skill = new QHBoxLayout;
    skill->addWidget(DbCombo(this, dialog, IDC_GROUP));
    skill->addWidget(DbLabel(dialog, "の"));
    skill->addWidget(DbCombo(this, dialog, IDC_SKILL));
    skill->addStretch();
    grid->addLayout(skill, 1, 1);
    grid->addWidget(DbLabel(dialog, "優先レベル"), 2, 0);
    grid->addWidget(DbNumber(this, dialog, IDC_LEVEL, 40), 2, 1);
    grid->addWidget(DbLabel(dialog, "優先値"), 3, 0);
    grid->addWidget(DbNumber(this, dialog, IDC_VALUE, 40), 3, 1);
    layout->addLayout(grid);
    layout->addWidget(DbCheck(this, dialog, IDC_IGNORE,
                              "マニュアル戦闘時、移動AIの「最も効果的な味方」の行動対象を決める計算でこの行動を無視する"));

    auto* conds = new QGroupBox(QStringLiteral("条件(全条件を満たせば、使用候補になる)"), dialog);
    auto* condLayout = new QVBoxLayout(conds);
    condLayout->addWidget(DbList(this, conds, IDC_CONDS, 420, 100));
    auto* condButtons = new QHBoxLayout;
    condButtons->addWidget(DbButton(this, conds, IDC_COND_INSERT, "挿入"));
    condButtons->addWidget(DbButton(this, conds, IDC_COND_EDIT, "編集"));
    condButtons->addWidget(DbButton(this, conds, IDC_COND_DELETE, "削除"));
    condButtons->addStretch();
    condLayout->addLayout(condButtons);
    layout->addWidget(conds);
    layout->addLayout(DbOkCancel(this, dialog));
}

void DLG_BATTLEAI::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_Work = m_Target;
    ListOptions o;
    o.numbering = true;
    o.maxCount = 99;
    m_Rules.Attach(this, IDC_LIST, &m_Work, o, [this](int, const cBattleAI& r) { return BattleAILine(r, m_Groups); });
    AttachCombo(this, IDC_ACTION, &m_Rules.current.m_nAction, BattleAIActionLabels());
    AttachCombo<int32_t>(this, IDC_GROUP, &m_Rules.current.m_nSkillGroup, NumberedNames(m_Groups));
    AttachCombo<int32_t>(this, IDC_SKILL, &m_Rules.current.m_nSkill, std::vector<std::string>());
    AttachNum<int32_t>(this, IDC_LEVEL, &m_Rules.current.m_nPriorityLevel, 1, 9);
    AttachNum<int32_t>(this, IDC_VALUE, &m_Rules.current.m_nPriorityValue, 0, 100);
    AttachCheck<int32_t>(this, IDC_IGNORE, &m_Rules.current.m_bIgnoreForMoveAI);
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_INSERT);
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_DELETE);

    ListOptions co;
    co.maxCount = 99;
    m_Conds.Attach(this, IDC_CONDS, &m_Rules.current.m_Conds, co,
                   [](int, const cBattleAICond& c) { return BattleAICondLine(c); });
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_COND_INSERT);
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_COND_EDIT);
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_COND_DELETE);
    m_Conds.SetFields({IDC_COND_EDIT, IDC_COND_DELETE});

    m_Rules.SetFields({IDC_ACTION, IDC_GROUP, IDC_SKILL, IDC_LEVEL, IDC_VALUE, IDC_IGNORE, IDC_DELETE, IDC_CONDS,
                       IDC_COND_INSERT});
    m_Rules.beforeShow = [this] { FillSkills(); };
    UpdateAll();
    m_Rules.ShowSelected();
    m_Conds.EnableFields();
    EnableSkill();
}

void DLG_BATTLEAI::FillSkills()
{
    Control<CTRL_REFCOMBO_CLASS<int32_t>>(IDC_SKILL)->SetItems(SkillChoices(m_Groups, m_Rules.current.m_nSkillGroup));
}

// Only skills and quick actions use a skill.
void DLG_BATTLEAI::EnableSkill()
{
    bool on = m_Rules.HasRecord() && m_Rules.current.m_nAction != BattleAIAction::Attack;
    FindControl(IDC_GROUP)->Enable(on);
    FindControl(IDC_SKILL)->Enable(on);
}

void DLG_BATTLEAI::ConditionsChanged()
{
    m_Rules.StoreSelected();
    m_Conds.EnableFields();
}

void DLG_BATTLEAI::EditCondition()
{
    if (!m_Conds.HasRecord())
        return;
    cBattleAICond cond = m_Conds.current;
    if (editCond && editCond(cond) == 1) {
        m_Conds.PutSelected(cond);
        ConditionsChanged();
    }
}

void DLG_BATTLEAI::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    if (m_Rules.ListCommand(id)) {
        m_Conds.EnableFields();
        EnableSkill();
        return;
    }
    if (m_Conds.ListCommand(id)) {
        ConditionsChanged();
        return;
    }
    if (id == IDC_LIST && code == Notify::SelChange) {
        m_Rules.ShowSelected();
        m_Conds.EnableFields();
        EnableSkill();
    } else if (id == IDC_INSERT || id == IDC_DELETE) {
        if (id == IDC_INSERT)
            m_Rules.Insert();
        else
            m_Rules.Delete();
        m_Conds.EnableFields();
        EnableSkill();
    } else if (id == IDC_CONDS && code == Notify::SelChange)
        m_Conds.ShowSelected();
    else if ((id == IDC_CONDS && code == Notify::ListDblClk) || id == IDC_COND_EDIT)
        EditCondition();
    else if (id == IDC_COND_INSERT) {
        m_Conds.Insert();
        ConditionsChanged();
    } else if (id == IDC_COND_DELETE) {
        m_Conds.Delete();
        ConditionsChanged();
    } else if (m_Rules.IsFieldChange(id, code)) {
        m_Rules.StoreSelected();
        if (id == IDC_GROUP) {
            FillSkills();
            UpdateAllBut(IDC_LIST);
        }
        EnableSkill();
    } else if (id == IDC_OK) {
        m_Rules.StoreSelected();
        m_Target = m_Work;
        Close(1);
    } else if (id == IDC_CANCEL)
        Close(0);
}
