#include "database/window/class_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <algorithm>

#include "database/usage.h"
#include "database/window/chara_dialogs.h"
#include "database/window/db_common.h"
#include "database/window/graphic_preview.h"
#include "database/window/list_dialogs.h"
#include "database/window/slot_dialogs.h"
#include "project/project.h"
#include "ui/select_graphic.h"
#include "ui/widgets.h"

namespace {

const char* const kStatNames[9] = {"HP", "SP", "攻撃", "守備", "魔力", "抵抗", "技能", "反応", "敏捷"};

Project& P() { return TheProject(); }

constexpr int kStatCellWidth = 100;

// A stat's numeric edit (0 to 999999) with its arrows in a row of the page's
// own, registered as FieldForm registers its rows.
void StatCell(FieldForm& f, DLG_CLASS* dlg, QHBoxLayout* row, int id, int32_t* value)
{
    auto* edit = new QLineEdit(f.Parent());
    auto* spin = new UpDownWidget(f.Parent());
    auto* cell = new QHBoxLayout;
    cell->setSpacing(0);
    cell->addWidget(edit);
    cell->addWidget(spin);
    auto* box = new QWidget(f.Parent());
    box->setLayout(cell);
    cell->setContentsMargins(0, 0, 0, 0);
    box->setFixedWidth(kStatCellWidth);
    row->addWidget(box);
    dlg->AddItem(id, edit);
    dlg->AddItem(id + FieldForm::kSpinOffset, spin);
    f.attach.push_back([=] {
        (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(dlg, id, value, 0, 999999, id + FieldForm::kSpinOffset);
    });
    f.ids.insert(id);
}

// A colour track bar (2-byte member) with its edit and the note "☆0が原色".
void ColourRow(FieldForm& f, DLG_CLASS* dlg, int id, int editId, const QString& label, int16_t* value,
               int16_t minimum, int16_t maximum)
{
    auto* box = new QWidget(f.Parent());
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    auto* slider = new QSlider(Qt::Horizontal, box);
    slider->setMinimumWidth(120);
    auto* edit = new QLineEdit(box);
    edit->setMaximumWidth(50);
    row->addWidget(slider, 1);
    row->addWidget(edit);
    row->addWidget(new QLabel(QStringLiteral("☆0が原色"), box));
    f.Widget(label, box);
    dlg->AddItem(id, slider);
    dlg->AddItem(editId, edit);
    f.attach.push_back([=] { (new CTRL_SLIDER_CLASS<int16_t>)->Attach(dlg, id, value, minimum, maximum, editId); });
    f.ids.insert(id);
    f.ids.insert(editId);
}

// A combo over another table's entries; its items are set when the page is
// entered, and a value with no entry is kept.
QComboBox* RefCombo(FieldForm& f, DLG_CLASS* dlg, int id, const QString& label, int32_t* value)
{
    auto* combo = new QComboBox(f.Parent());
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(16);
    f.Widget(label, combo);
    dlg->AddItem(id, combo);
    f.attach.push_back([=] { AttachCombo<int32_t>(dlg, id, value, std::vector<std::string>()); });
    f.ids.insert(id);
    return combo;
}

}  // namespace

DLG_DBCLASS::DLG_DBCLASS() : DB_LIST_PAGE(111, QStringLiteral("　　クラス　　"), {1, 999, 0}) {}

std::vector<cClass>& DLG_DBCLASS::Records() { return P().m_Classes.items(); }

void DLG_DBCLASS::DefineFields(FieldForm& f)
{
    cClass& c = m_Current;
    // Senses, slot sets and resistances follow the skill table and the
    // elements as they are now (a class that fits them is left as it is).
    FitBeforeShow(f, this, [this] { m_Current.AdjustToTables(); });
    f.Text(IDC_NAME, QStringLiteral("クラス名"), &c.m_Name, 12);
    f.Int(IDC_GRAPHIC, QStringLiteral("グラフィック"), &c.m_nGraphic, 1, 159);
    f.Button(IDC_GRAPHIC_LIST, QStringLiteral("一覧"));
    auto* preview = new QLabel(f.Parent());
    preview->setFixedSize(50, 50);  // the 48 x 48 graphic inside a frame
    preview->setFrameShape(QFrame::Box);
    preview->setAlignment(Qt::AlignCenter);
    f.Widget(QString(), preview);
    AddItem(IDC_PREVIEW, preview);
    ColourRow(f, this, IDC_HUE, IDC_HUE_EDIT, QStringLiteral("色相"), &c.m_nHue, 0, 359);
    ColourRow(f, this, IDC_SATURATION, IDC_SATURATION_EDIT, QStringLiteral("彩度"), &c.m_nSaturation, -255, 255);
    ColourRow(f, this, IDC_BRIGHTNESS, IDC_BRIGHTNESS_EDIT, QStringLiteral("明度"), &c.m_nBrightness, -255, 255);
    f.Int(IDC_SCALE, QStringLiteral("拡大率(%)"), &c.m_nScale, 1, 900);
    f.Int(IDC_MOVE, QStringLiteral("移動力"), &c.m_nMove, 0, 8);
    f.Check(IDC_FLYING, QStringLiteral("飛行"), &c.m_bFlying);
    f.Int(IDC_EXP_RATE, QStringLiteral("EX修正(%)"), &c.m_nExpRate, 0, 999);
    f.Int(IDC_LEVEL_LIMIT, QStringLiteral("限界レベル"), &c.m_nLevelLimit, 1, 99);
    RefCombo(f, this, IDC_ATTACK_LIST, QStringLiteral("通常攻撃"), &c.m_nAttackList);
    RefCombo(f, this, IDC_ATTACK_SKILL, QString(), &c.m_nAttackSkill);
    f.Check(IDC_NO_ATTACK, QStringLiteral("通常攻撃なし（オート戦闘のみ有効）"), &c.m_bNoAttack);
    f.Button(IDC_SENSE, QStringLiteral("センス（スキルの覚えやすさ）"), true);
    f.Button(IDC_SLOT, QStringLiteral("スロット"));

    f.SideColumn();
    // The nine stats at level 1 and at the level limit, side by side.
    auto* heading = new QWidget(f.Parent());
    auto* headings = new QHBoxLayout(heading);
    headings->setContentsMargins(0, 0, 0, 0);
    for (const char* text : {"初期値", "最終値"}) {
        auto* l = new QLabel(QString::fromUtf8(text), heading);
        l->setFixedWidth(kStatCellWidth);
        headings->addWidget(l);
    }
    f.Widget(QString(), heading);
    for (int i = 0; i < 9; ++i) {
        auto s = static_cast<std::size_t>(i);
        auto* row = new QWidget(f.Parent());
        auto* cells = new QHBoxLayout(row);
        cells->setContentsMargins(0, 0, 0, 0);
        StatCell(f, this, cells, IDC_INITIAL + i, &c.m_InitialStats[s]);
        StatCell(f, this, cells, IDC_FINAL + i, &c.m_FinalStats[s]);
        f.Widget(QString::fromUtf8(kStatNames[i]), row);
    }
    // Resistances have no range of their own: the member's whole range.
    m_Resists.Build(f, this, QStringLiteral("属性耐性(%)"), IDC_RESIST, &c.m_ElemResist, INT_MIN, INT_MAX);
    auto* usage = MakeUsageList(f.Parent());
    usage->setMinimumWidth(260);
    f.Widget(QStringLiteral("使用箇所"), usage);
    AddItem(IDC_USAGE, usage);
}

void DLG_DBCLASS::RefreshChoices()
{
    Control<CTRL_REFCOMBO_CLASS<int32_t>>(IDC_ATTACK_LIST)->SetItems(NumberedNames(P().m_SkillLists));
    m_Resists.Sync();
}

void DLG_DBCLASS::FillAttackSkills()
{
    auto* skills = Control<CTRL_REFCOMBO_CLASS<int32_t>>(IDC_ATTACK_SKILL);
    skills->SetItems(SkillChoices(P().m_SkillLists, m_Current.m_nAttackList));
    skills->Show();
}

void DLG_DBCLASS::AfterShow()
{
    if (auto* l = qobject_cast<QLabel*>(Item(IDC_PREVIEW)))
        l->setPixmap(GraphicPixmap(GK_CHARA, m_Current.m_nGraphic));
    FillAttackSkills();
    // Without a normal attack neither combo means anything.
    bool attack = !m_Current.m_bNoAttack;
    FindControl(IDC_ATTACK_LIST)->Enable(attack);
    FindControl(IDC_ATTACK_SKILL)->Enable(attack);
    auto* usage = qobject_cast<QListWidget*>(Item(IDC_USAGE));
    int line = m_pList->GetSel();
    if (m_pList->Model().IsRecordLine(line))
        ShowUsage(usage, FindClassUsage(ProjectDatabaseView(), line));
    else if (usage)
        usage->clear();
}

void DLG_DBCLASS::AfterFieldChange(int id)
{
    if (id == IDC_GRAPHIC || id == IDC_ATTACK_LIST || id == IDC_NO_ATTACK)
        AfterShow();
}

void DLG_DBCLASS::OnPageCommand(int id, Notify)
{
    switch (id) {
    case IDC_GRAPHIC_LIST: {
        int value = m_Current.m_nGraphic;
        if (DLG_SELECTGRAPHIC::Run(this, GK_CHARA, value) == 1) {
            m_Current.m_nGraphic = std::clamp(value, 1, 159);
            CurrentChanged();
        }
        return;
    }
    case IDC_SENSE: {
        DLG_SENSE dlg(m_Current.m_Senses, P().m_SkillLists);
        if (dlg.Run(this) == 1)
            CurrentChanged();
        return;
    }
    case IDC_SLOT: {
        DLG_ORGSLOT dlg(m_Current.m_SlotSets, P().m_SkillLists);
        if (dlg.Run(this) == 1)
            CurrentChanged();
        return;
    }
    default: return;
    }
}
