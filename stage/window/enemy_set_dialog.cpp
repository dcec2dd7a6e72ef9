#include "stage/window/enemy_set_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "project/project.h"
#include "resources/menus.h"
#include "stage/enemy_placement.h"
#include "stage/window/move_ai_dialog.h"
#include "ui/qt_text.h"
#include "ui/widgets.h"

DLG_ENEMY_SET::DLG_ENEMY_SET(cPutEnemy& placement) : m_Target(placement), m_Work(placement)
{
    SetTitle(QStringLiteral("敵"));
    editRule = [this](cMoveAI& rule) {
        DLG_MOVEAI dlg(rule, DestinationChoices(TheProject().m_Stage.m_GroupPos));
        dlg.SetupWindow(DLG_MOVEAI::IDD, m_pWnd, this);
        return dlg.DoModal() == 1;
    };
}

void DLG_ENEMY_SET::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    auto button = [&](int id, const char* text, QWidget* parent) {
        auto* b = new QPushButton(QString::fromUtf8(text), parent);
        AddItem(id, b);
        return b;
    };
    auto numeric = [&](int id, int spinId, QWidget* parent, QHBoxLayout* row) {
        auto* e = new QLineEdit(parent);
        e->setMaximumWidth(60);
        auto* spin = new UpDownWidget(parent);
        row->addWidget(e);
        row->addWidget(spin);
        AddItem(id, e);
        AddItem(spinId, spin);
    };

    auto* top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("敵"), dialog), 0, 0);
    auto* enemy = new QComboBox(dialog);
    enemy->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    top->addWidget(enemy, 0, 1, 1, 2);
    AddItem(IDC_ENEMY, enemy);
    auto* group = new QCheckBox(QStringLiteral("グループ"), dialog);
    AddItem(IDC_GROUP_CHECK, group);
    top->addWidget(group, 1, 0);
    auto* groupRow = new QHBoxLayout;
    numeric(IDC_GROUP, IDC_GROUP_SPIN, dialog, groupRow);
    top->addLayout(groupRow, 1, 1);
    auto* chara = new QCheckBox(QStringLiteral("キャラID"), dialog);
    AddItem(IDC_CHARA_CHECK, chara);
    top->addWidget(chara, 2, 0);
    auto* charaRow = new QHBoxLayout;
    numeric(IDC_CHARA, IDC_CHARA_SPIN, dialog, charaRow);
    top->addLayout(charaRow, 2, 1);
    layout->addLayout(top);

    auto* rulesFrame = new QGroupBox(QStringLiteral("移動AI"), dialog);
    auto* rulesLayout = new QVBoxLayout(rulesFrame);
    auto* templates = new QHBoxLayout;
    auto* combo = new QComboBox(rulesFrame);
    combo->setMinimumWidth(200);
    AddItem(IDC_TEMPLATE, combo);
    templates->addWidget(combo, 1);
    templates->addWidget(button(IDC_SORT, "並び替え", rulesFrame));
    rulesLayout->addLayout(templates);
    rulesLayout->addWidget(button(IDC_LOAD, "↓選択したテンプレートを読込", rulesFrame));
    rulesLayout->addWidget(button(IDC_OVERWRITE, "↑現在の設定を選択したテンプレートに上書き保存", rulesFrame));
    rulesLayout->addWidget(button(IDC_SAVE_NEW, "↑現在の設定をテンプレートとして新規保存", rulesFrame));
    auto* rules = new QListWidget(rulesFrame);
    rules->setMinimumSize(420, 160);
    AddItem(IDC_RULES, rules);
    rulesLayout->addWidget(rules, 1);
    auto* ruleButtons = new QHBoxLayout;
    ruleButtons->addWidget(button(IDC_RULE_INSERT, "挿入", rulesFrame));
    ruleButtons->addWidget(button(IDC_RULE_EDIT, "編集", rulesFrame));
    ruleButtons->addWidget(button(IDC_RULE_DELETE, "削除", rulesFrame));
    ruleButtons->addStretch(1);
    rulesLayout->addLayout(ruleButtons);
    layout->addWidget(rulesFrame, 1);

    layout->addLayout(OkCancelRow(this, dialog));
}

void DLG_ENEMY_SET::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    Project& p = TheProject();
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_GROUP_CHECK, &m_Work.m_bGroup);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_GROUP, &m_Work.m_nGroup, 1, 100, IDC_GROUP_SPIN, 1);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_CHARA_CHECK, &m_Work.m_bCharaId);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_CHARA, &m_Work.m_nCharaId, 1, 999, IDC_CHARA_SPIN, 1);
    auto* enemy = new CTRL_COMBO_CLASS<int32_t>;
    enemy->Attach(this, IDC_ENEMY, &m_Work.m_nEnemy);
    enemy->SetItems(EnemyChoices(p.m_Enemies));
    m_pRules = new CTRL_LIST_CLASS<cMoveAI>;
    ListOptions o;
    o.appendLine = true;
    o.maxCount = kMaxPlacementRules;
    m_pRules->Attach(this, IDC_RULES, &m_Work.m_MoveAI, nullptr, o,
                     [](int, const cMoveAI& rule) { return MoveAILine(rule); });
    m_pRules->SetListCommands(ListAcceleratorId(1, 1), 1, 1);
    m_pRules->SetListMenu(ListMenuId(1, 1), 1, 1);
    FillTemplates(-1);
    UpdateAll();
    EnableEdits();
}

void DLG_ENEMY_SET::FillTemplates(int select)
{
    auto* combo = qobject_cast<QComboBox*>(Item(IDC_TEMPLATE));
    if (!combo)
        return;
    const RecordList<cMoveAITemplate>& templates = TheProject().m_MoveAITemplates;
    QSignalBlocker block(combo);
    combo->clear();
    for (int i = 0; i < templates.size(); ++i)
        combo->addItem(ToQt(templates[i].m_Name));
    combo->setCurrentIndex(select >= 0 && select < templates.size() ? select : -1);
}

int DLG_ENEMY_SET::TemplateSelection() const
{
    auto* combo = qobject_cast<QComboBox*>(Item(IDC_TEMPLATE));
    return combo ? combo->currentIndex() : -1;
}

void DLG_ENEMY_SET::EnableEdits()
{
    auto checked = [this](int id) {
        auto* b = qobject_cast<QAbstractButton*>(Item(id));
        return b && b->isChecked();
    };
    Control<CTRL_EDITVAL_CLASS<int32_t>>(IDC_GROUP)->Enable(checked(IDC_GROUP_CHECK));
    Control<CTRL_EDITVAL_CLASS<int32_t>>(IDC_CHARA)->Enable(checked(IDC_CHARA_CHECK));
}

// The rules in the list's working copy go into the placement's copy.
void DLG_ENEMY_SET::RulesChanged()
{
    m_pRules->Store();
    m_pRules->Show();
}

void DLG_ENEMY_SET::RuleCommand(int id)
{
    ListModel<cMoveAI>& m = m_pRules->Model();
    switch (id) {
    case IDC_RULE_INSERT:
    case 40069:
    case 40070: {
        if (!m_pRules->Insert())
            return;
        int line = m_pRules->GetSel();
        cMoveAI rule = m.Record(line);
        if (editRule && !editRule(rule)) {
            m_pRules->DeleteSel(line);
            return;
        }
        m.Record(line) = rule;
        RulesChanged();
        return;
    }
    case IDC_RULE_EDIT: {
        int line = m_pRules->GetSel();
        if (!m.IsRecordLine(line))
            return;
        cMoveAI rule = m.Record(line);
        if (editRule && editRule(rule)) {
            m.Record(line) = rule;
            RulesChanged();
        }
        return;
    }
    case IDC_RULE_DELETE:
    case 40029:
    case 40034: m_pRules->DeleteSel(); break;
    case 40027:
    case 40030: m_pRules->CutSel(); break;
    case 40024:
    case 40031: m_pRules->CopySel(); break;
    case 40025:
    case 40032: m_pRules->Paste(); break;
    default: return;
    }
    m_pRules->Store();
}

void DLG_ENEMY_SET::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    if (!m_pRules)
        return;
    Project& p = TheProject();
    switch (id) {
    case IDC_OK: {
        // A switched-off number keeps what it held: the edit's minimum would
        // otherwise replace a 0.
        const int32_t group = m_Work.m_nGroup, chara = m_Work.m_nCharaId;
        StoreAll();
        if (!m_Work.m_bGroup)
            m_Work.m_nGroup = group;
        if (!m_Work.m_bCharaId)
            m_Work.m_nCharaId = chara;
        m_Target = m_Work;
        Close(1);
        return;
    }
    case IDC_CANCEL:
    case IDC_ESCAPE: Close(0); return;
    case IDC_RULES:
        if (code == Notify::ListDblClk)
            RuleCommand(IDC_RULE_EDIT);
        break;
    case IDC_LOAD:
        m_pRules->Store();
        if (LoadTemplateRules(p.m_MoveAITemplates, TemplateSelection(), m_Work.m_MoveAI) == TemplateResult::Done)
            m_pRules->Show();
        break;
    case IDC_OVERWRITE:
        m_pRules->Store();
        OverwriteTemplate(p.m_MoveAITemplates, TemplateSelection(), m_Work.m_MoveAI,
                          SaveTemplatesTo(ProjectFile::MoveAITemplate));
        break;
    case IDC_SAVE_NEW: {
        m_pRules->Store();
        TemplateResult r = AppendTemplate(p.m_MoveAITemplates, m_Work.m_MoveAI);
        if (r == TemplateResult::NoRules)
            QApplication::beep();
        if (r != TemplateResult::Done)
            break;
        DLG_MOVEAITEMPLATE manager(true);
        manager.SetupWindow(DLG_MOVEAITEMPLATE::IDD, m_pWnd, this);
        int result = manager.DoModal();
        FillTemplates(result == 1 ? manager.Manager().Selection() : -1);
        break;
    }
    case IDC_SORT: {
        DLG_MOVEAITEMPLATE manager(false);
        manager.SetupWindow(DLG_MOVEAITEMPLATE::IDD, m_pWnd, this);
        manager.DoModal();
        FillTemplates(-1);
        break;
    }
    default: RuleCommand(id); break;
    }
    EnableEdits();
}
