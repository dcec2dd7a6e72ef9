#include "stage/window/move_ai_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "base/text.h"
#include "events/gval_info.h"
#include "project/project.h"
#include "records/tables.h"
#include "ui/controls.h"
#include "ui/qt_text.h"
#include "ui/widgets.h"

namespace {

std::vector<std::string> LabelTexts(const LabelTable& labels)
{
    std::vector<std::string> out;
    for (int i = 0; i < labels.Count(); ++i)
        out.push_back(labels[i]);
    return out;
}

QPushButton* OkCancel(QDialog* dialog, QVBoxLayout* layout, DLG_CLASS* owner)
{
    layout->addLayout(OkCancelRow(owner, dialog));
    return qobject_cast<QPushButton*>(owner->Item(IDC_OK));
}

template <class T>
void Combo(DLG_CLASS* dlg, int id, T* variable, const std::vector<std::string>& texts)
{
    auto* c = new CTRL_COMBO_CLASS<T>;
    c->Attach(dlg, id, variable);
    c->SetItems(texts);
}

}  // namespace

// ---------------------------------------------------------------------------
// DLG_MOVEAI

DLG_MOVEAI::DLG_MOVEAI(cMoveAI& rule, std::vector<Choice> destinations)
    : m_Target(rule), m_Work(rule), m_Destinations(std::move(destinations))
{
    SetTitle(QStringLiteral("移動AI"));
}

void DLG_MOVEAI::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    auto combo = [&](int id) {
        auto* c = new QComboBox(dialog);
        c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        AddItem(id, c);
        return c;
    };
    auto check = [&](int id, const char* text, QWidget* parent) {
        auto* c = new QCheckBox(QString::fromUtf8(text), parent);
        AddItem(id, c);
        return c;
    };
    auto edit = [&](int id, QWidget* parent) {
        auto* e = new QLineEdit(parent);
        e->setMaximumWidth(90);
        AddItem(id, e);
        return e;
    };
    auto label = [&](const char* text, QWidget* parent) { return new QLabel(QString::fromUtf8(text), parent); };

    // range で target に action
    auto* sentence = new QHBoxLayout;
    sentence->addWidget(combo(IDC_RANGE));
    sentence->addWidget(label("で", dialog));
    sentence->addWidget(combo(IDC_TARGET));
    sentence->addWidget(label("に", dialog));
    sentence->addWidget(combo(IDC_ACTION));
    sentence->addStretch(1);
    layout->addLayout(sentence);

    auto* grid = new QGridLayout;
    grid->addWidget(label("使用スキル", dialog), 0, 0);
    grid->addWidget(combo(IDC_SKILL_GROUP), 0, 1);
    grid->addWidget(combo(IDC_SKILL), 0, 2);
    grid->addWidget(label("目的地", dialog), 1, 0);
    grid->addWidget(combo(IDC_DESTINATION), 1, 1, 1, 2);
    grid->addWidget(label("※位置データが5点以上のものは設定不可", dialog), 2, 1, 1, 2);
    layout->addLayout(grid);

    layout->addWidget(check(IDC_CONDITIONS, "条件あり", dialog));
    auto* conds = new QGroupBox(QStringLiteral("条件"), dialog);
    auto* c = new QGridLayout(conds);
    int row = 0;
    c->addWidget(check(IDC_SAME_GROUP, "同一グループの行動範囲内に味方がいたら成立", conds), row++, 0, 1, 5);
    c->addWidget(check(IDC_MOVED, "このキャラが一度でも移動または行動したことがあるなら成立", conds), row++, 0, 1, 5);
    c->addWidget(check(IDC_STATUS, "ステータス条件", conds), row, 0);
    c->addWidget(combo(IDC_STATUS_STAT), row, 1);
    c->addWidget(label("が", conds), row, 2);
    c->addWidget(edit(IDC_STATUS_VALUE, conds), row, 3);
    c->addWidget(combo(IDC_STATUS_COMPARE), row++, 4);
    c->addWidget(check(IDC_STATUS_PERCENT, "％で指定", conds), row++, 3, 1, 2);
    c->addWidget(check(IDC_VARIABLE, "コモン変数条件", conds), row, 0);
    c->addWidget(combo(IDC_VARIABLE_NUMBER), row, 1);
    c->addWidget(label("が", conds), row, 2);
    c->addWidget(edit(IDC_VARIABLE_VALUE, conds), row, 3);
    c->addWidget(combo(IDC_VARIABLE_COMPARE), row++, 4);
    c->addWidget(check(IDC_ONCE, "一度でも条件が成立していると、以後無条件で成立", conds), row++, 0, 1, 5);
    c->addWidget(label("判定タイプ", conds), row, 0);
    c->addWidget(combo(IDC_JUDGE), row++, 1, 1, 4);
    layout->addWidget(conds);
    OkCancel(dialog, layout, this);
}

void DLG_MOVEAI::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    cMoveAI& w = m_Work;
    Combo(this, IDC_RANGE, &w.m_nRange, LabelTexts(MoveAIRangeLabels()));
    Combo(this, IDC_TARGET, &w.m_nTarget, LabelTexts(MoveAITargetLabels()));
    Combo(this, IDC_ACTION, &w.m_nAction, LabelTexts(MoveAIActionLabels()));
    std::vector<std::string> groups;
    for (int g = 0; g < std::max(TableSize(Table::SkillList), 0); ++g)
        groups.push_back(StrPrintf("%d-%s", g, TableName(Table::SkillList, g).c_str()));
    Combo(this, IDC_SKILL_GROUP, &w.m_nSkillGroup, groups);
    Combo(this, IDC_SKILL, &w.m_nSkill, {});
    std::vector<std::string> destinations;
    for (const Choice& d : m_Destinations)
        destinations.push_back(d.text);
    Combo(this, IDC_DESTINATION, &w.m_nDestination, destinations);
    if (auto* combo = qobject_cast<QComboBox*>(Item(IDC_DESTINATION)))
        if (auto* model = qobject_cast<QStandardItemModel*>(combo->model()))
            for (std::size_t i = 0; i < m_Destinations.size(); ++i)
                model->item(static_cast<int>(i))->setEnabled(m_Destinations[i].enabled);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_CONDITIONS, &w.m_bConditions);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_SAME_GROUP, &w.m_bSameGroupAlly);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_ONCE, &w.m_bOnceAlways);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_STATUS, &w.m_bStatusCond);
    Combo(this, IDC_STATUS_STAT, &w.m_nStatusStat, LabelTexts(MoveAIStatLabels()));
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_STATUS_VALUE, &w.m_nStatusValue, 0, 999999);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_STATUS_PERCENT, &w.m_bStatusPercent);
    Combo(this, IDC_STATUS_COMPARE, &w.m_nStatusCompare, LabelTexts(CompareOpLabels()));
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_VARIABLE, &w.m_bCommonVarCond);
    Combo(this, IDC_VARIABLE_NUMBER, &w.m_nCommonVar, CommonVariableChoices());
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_VARIABLE_VALUE, &w.m_nCommonVarValue, -999999, 999999);
    Combo(this, IDC_VARIABLE_COMPARE, &w.m_nCommonVarCompare, LabelTexts(CompareOpLabels()));
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_MOVED, &w.m_bMovedOrActed);
    Combo(this, IDC_JUDGE, &w.m_nJudgeType, LabelTexts(MoveAIJudgeLabels()));
    FillSkills();
    UpdateAll();
    EnableControls();
}

void DLG_MOVEAI::FillSkills()
{
    auto* skills = Control<CTRL_COMBO_CLASS<int32_t>>(IDC_SKILL);
    std::vector<std::string> texts;
    int count = std::max(SkillCount(m_Work.m_nSkillGroup), 0);
    for (int s = 0; s < count; ++s)
        texts.push_back(StrPrintf("%d-%s", s, SkillName(m_Work.m_nSkillGroup, s).c_str()));
    skills->SetItems(texts);
    if (m_Work.m_nSkill >= count)
        m_Work.m_nSkill = 0;
    skills->Show();
}

void DLG_MOVEAI::EnableControls()
{
    auto checked = [this](int id) {
        auto* b = qobject_cast<QAbstractButton*>(Item(id));
        return b && b->isChecked();
    };
    auto index = [this](int id) {
        auto* c = qobject_cast<QComboBox*>(Item(id));
        return c ? c->currentIndex() : -1;
    };
    auto enable = [this](int id, bool on) {
        if (QWidget* w = Item(id))
            w->setEnabled(on);
    };
    const bool heal = index(IDC_ACTION) == static_cast<int>(MoveAIAction::Heal);
    enable(IDC_SKILL_GROUP, heal);
    enable(IDC_SKILL, heal);
    enable(IDC_DESTINATION, index(IDC_TARGET) == static_cast<int>(MoveAITarget::NearestDestination));
    const bool conds = checked(IDC_CONDITIONS);
    for (int id : {IDC_SAME_GROUP, IDC_ONCE, IDC_STATUS, IDC_VARIABLE, IDC_MOVED, IDC_JUDGE})
        enable(id, conds);
    const bool status = conds && checked(IDC_STATUS);
    for (int id : {IDC_STATUS_STAT, IDC_STATUS_VALUE, IDC_STATUS_PERCENT, IDC_STATUS_COMPARE})
        enable(id, status);
    const bool variable = conds && checked(IDC_VARIABLE);
    for (int id : {IDC_VARIABLE_NUMBER, IDC_VARIABLE_VALUE, IDC_VARIABLE_COMPARE})
        enable(id, variable);
}

void DLG_MOVEAI::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    switch (id) {
    case IDC_SKILL_GROUP:
        if (code == Notify::SelChange) {
            Control<CTRL_COMBO_CLASS<int32_t>>(IDC_SKILL_GROUP)->Store();
            FillSkills();
        }
        break;
    case IDC_OK:
        StoreAll();
        m_Target = m_Work;
        Close(1);
        return;
    case IDC_CANCEL:
    case IDC_ESCAPE: Close(0); return;
    default: break;
    }
    EnableControls();
}

// ---------------------------------------------------------------------------
// DLG_MOVEAITEMPLATE

DLG_MOVEAITEMPLATE::DLG_MOVEAITEMPLATE(bool newMode) : m_bNew(newMode)
{
    SetTitle(QStringLiteral("移動AIテンプレート"));
}

void DLG_MOVEAITEMPLATE::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    auto* row = new QHBoxLayout;
    auto* list = new QListWidget(dialog);
    list->setMinimumSize(260, 240);
    row->addWidget(list, 1);
    auto* side = new QVBoxLayout;
    const std::pair<int, const char*> kButtons[] = {{IDC_UP, "↑"}, {IDC_DOWN, "↓"}, {IDC_DELETE, "削除"}};
    for (auto [id, text] : kButtons) {
        auto* b = new QPushButton(QString::fromUtf8(text), dialog);
        side->addWidget(b);
        AddItem(id, b);
    }
    side->addStretch(1);
    row->addLayout(side);
    layout->addLayout(row);
    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("名称"), dialog), 0, 0);
    auto* name = new QLineEdit(dialog);
    fields->addWidget(name, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("説明"), dialog), 1, 0, Qt::AlignTop);
    auto* description = new QPlainTextEdit(dialog);
    description->setMaximumHeight(80);
    fields->addWidget(description, 1, 1);
    layout->addLayout(fields);
    AddItem(IDC_LIST, list);
    AddItem(IDC_NAME, name);
    AddItem(IDC_DESCRIPTION, description);
    OkCancel(dialog, layout, this);
}

void DLG_MOVEAITEMPLATE::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_pManager = std::make_unique<TemplateManager>(TheProject().m_MoveAITemplates, m_bNew);
    (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_NAME, &m_Name, 64, 0, 1);
    // 256 characters, a double-byte one counting once (so at most 512 bytes).
    auto* description = new CTRL_EDITSTR_CLASS;
    description->Attach(this, IDC_DESCRIPTION, &m_Description, 512, 0, 0);
    description->LimitCharacters(256);
    ShowSelection();
}

void DLG_MOVEAITEMPLATE::StoreFields()
{
    StoreAll();
    m_pManager->Store(m_Name, m_Description);
}

void DLG_MOVEAITEMPLATE::ShowSelection()
{
    const RecordList<cMoveAITemplate>& work = m_pManager->Work();
    int sel = m_pManager->Selection();
    m_Name = sel >= 0 ? work[sel].m_Name : std::string();
    m_Description = sel >= 0 ? work[sel].m_Description : std::string();
    if (auto* l = qobject_cast<QListWidget*>(Item(IDC_LIST))) {
        QSignalBlocker block(l);
        l->clear();
        for (int i = 0; i < work.size(); ++i)
            l->addItem(ToQt(NumberedLine(i + 1, work.size(), work[i].m_Name)));
        if (sel >= 0)
            l->setCurrentRow(sel);
    }
    for (int id : {IDC_NAME, IDC_DESCRIPTION})
        if (QWidget* w = Item(id))
            w->setEnabled(sel >= 0);
    UpdateAll();
}

void DLG_MOVEAITEMPLATE::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    if (Updating())
        return;
    switch (id) {
    case IDC_NAME:
    case IDC_DESCRIPTION:
        // Typed text belongs to the selected template at once, so it goes
        // with it when the selection moves.
        if (code == Notify::EditUpdate)
            StoreFields();
        break;
    case IDC_LIST:
        if (code == Notify::SelChange)
            if (auto* l = qobject_cast<QListWidget*>(Item(IDC_LIST))) {
                StoreFields();
                m_pManager->Select(l->currentRow());
                ShowSelection();
            }
        break;
    case IDC_UP:
    case IDC_DOWN:
    case IDC_DELETE: {
        StoreFields();
        bool moved = id == IDC_UP ? m_pManager->Up() : id == IDC_DOWN ? m_pManager->Down() : m_pManager->Delete();
        if (!moved)
            QApplication::beep();
        ShowSelection();
        break;
    }
    case IDC_OK:
        StoreFields();
        m_pManager->Ok(TheProject().m_MoveAITemplates, SaveTemplatesTo(ProjectFile::MoveAITemplate));
        Close(1);
        break;
    case IDC_CANCEL:
    case IDC_ESCAPE:
        m_pManager->Cancel(TheProject().m_MoveAITemplates);
        Close(0);
        break;
    default: break;
    }
}
