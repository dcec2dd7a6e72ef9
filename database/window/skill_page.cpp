#include "database/window/skill_page.h"

#include <QApplication>
#include <algorithm>
#include <memory>

#include "database/csv_commands.h"
#include "database/skill_edit.h"
#include "database/usage.h"
#include "database/window/database_sheet.h"
#include "database/window/db_common.h"
#include "database/window/skill_dialog.h"
#include "database/window/slot_dialogs.h"
#include "database/window/list_dialogs.h"
#include "project/project.h"

namespace {

Project& P() { return TheProject(); }

// A member of one menu word; a word the menu does not hold yet is added
// (the menu grown to it) when it gets a check or a text.
template <class V>
std::function<V*()> MenuEntry(RecordList<cCmd>* menu, int index, V cCmd::*member)
{
    return [=]() -> V* { return index < menu->size() ? &((*menu)[index].*member) : nullptr; };
}
template <class V>
std::function<V*()> GrowMenuTo(RecordList<cCmd>* menu, int index, V cCmd::*member)
{
    return [=]() -> V* {
        if (index >= menu->size())
            menu->items().resize(static_cast<std::size_t>(index + 1));
        return &((*menu)[index].*member);
    };
}

using CTRL_ENTRYCHECK_CLASS = CTRL_ENTRY_CLASS<CTRL_KEEPCHECK_CLASS<int32_t>, int32_t>;
using CTRL_ENTRYTEXT_CLASS = CTRL_ENTRY_CLASS<CTRL_KEEPSTR_CLASS, std::string>;

void AttachMenuCheck(DLG_CLASS* dlg, int id, RecordList<cCmd>* menu, int index)
{
    auto* c = new CTRL_ENTRYCHECK_CLASS(MenuEntry(menu, index, &cCmd::m_bEnabled),
                                        GrowMenuTo(menu, index, &cCmd::m_bEnabled));
    c->Attach(dlg, id, &c->proxy);
}

void AttachMenuText(DLG_CLASS* dlg, int id, RecordList<cCmd>* menu, int index)
{
    auto* c = new CTRL_ENTRYTEXT_CLASS(MenuEntry(menu, index, &cCmd::m_Text), GrowMenuTo(menu, index, &cCmd::m_Text));
    c->Attach(dlg, id, &c->proxy);
}

// The words of the menus, as the rows are labelled.
const char* const kOrgWords[7] = {"覚える", "リザーブ", "装備", "回復", "売る", "忘れる", "戻る"};
const char* const kLearnWords[2] = {"覚える", "やめる"};
const char* const kSellWords[2] = {"売る", "やめる"};
const char* const kForgetWords[2] = {"忘れる", "やめる"};

std::string SlotText(const cSlot& slot, const cSkillList& group) { return SlotLine(slot, group.m_Categs); }

// The box layout that holds the widget itself, searched from layout down.
QBoxLayout* BoxOf(QLayout* layout, QWidget* widget)
{
    if (!layout)
        return nullptr;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == widget)
            return qobject_cast<QBoxLayout*>(layout);
        if (QBoxLayout* found = BoxOf(item->layout(), widget))
            return found;
    }
    return nullptr;
}

bool IsNestedKey(int id)
{
    using namespace dbcmd;
    for (int k : {kNestedCutKey, kNestedCopyKey, kNestedPasteKey, kNestedInsertKey, kNestedDeleteKey, kNestedCutMenu,
                  kNestedCopyMenu, kNestedPasteMenu, kNestedInsertMenu, kNestedDeleteMenu})
        if (id == k)
            return true;
    return false;
}

bool HasFocus(DLG_CLASS* dlg, int id)
{
    QWidget* w = dlg->Item(id);
    return w && (w->hasFocus() || w->isAncestorOf(QApplication::focusWidget()));
}

}  // namespace

DLG_DBSKILLLIST::DLG_DBSKILLLIST() : DB_LIST_PAGE(196, QStringLiteral("　　スキル　　"), {1, kMaxSkillGroups, 0})
{
    m_Slots.SetDialog(this);
    m_Skills.SetDialog(this);
    applySheet = [] {
        if (PROP_DATABASE* sheet = DatabaseWindow())
            sheet->OnApply();
    };
}

std::vector<cSkillList>& DLG_DBSKILLLIST::Records() { return P().m_SkillLists.items(); }

// The page in three parts, each a form of its own so that a tall list in one
// does not stretch the rows of another: under the group list the group's
// skills with their usage and the CSV buttons; on the right the group's
// options, then its scenes, menus and default slots.
void DLG_DBSKILLLIST::DefineFields(FieldForm& f)
{
    auto part = [this](QWidget* owner) {
        auto* w = new QWidget(owner);
        auto* grid = new QGridLayout(w);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setVerticalSpacing(2);
        grid->setColumnStretch(1, 1);
        return std::make_unique<FieldForm>(this, w, grid);
    };
    std::unique_ptr<FieldForm> options = part(f.Parent()), scenes = part(f.Parent()), skills = part(f.Parent());
    auto own = [this](int id) { m_OwnFields.insert(id); };

    // Labels go inside the rows, so that no part keeps a column for them.
    auto labelled = [](QWidget* parent, const char* label, std::initializer_list<QWidget*> widgets) {
        std::vector<QWidget*> all;
        if (*label)
            all.push_back(new QLabel(QString::fromUtf8(label), parent));
        all.insert(all.end(), widgets.begin(), widgets.end());
        return WidgetRow(parent, all);
    };
    {
        FieldForm& a = *options;
        QWidget* parent = a.Parent();
        auto check = [&](int id, const char* label, int32_t* value) { a.Check(id, QString::fromUtf8(label), value); };
        a.Widget(QString(), labelled(parent, "名称", {DbText(this, parent, IDC_NAME, 200)}));
        own(IDC_NAME);
        a.Widget(QString(), labelled(parent, "スロットタイプ", {DbCombo(this, parent, IDC_SLOT_TYPE)}));
        own(IDC_SLOT_TYPE);
        a.Widget(QString(), labelled(parent, "", {DbCheck(this, parent, IDC_RESERVE, "スキルのリザーブが有効"),
                                                  new QLabel(QStringLiteral("リザーブの数"), parent),
                                                  DbNumber(this, parent, IDC_RESERVE_COUNT)}));
        own(IDC_RESERVE);
        own(IDC_RESERVE_COUNT);
        a.Widget(QString(), labelled(parent, "売買に使用するパーティー変数", {DbCombo(this, parent, IDC_PTVAL)}));
        own(IDC_PTVAL);
        check(IDC_HEADER_SP, "スキルリストのヘッダーにSPを表示", &m_Current.m_bHeaderSp);
        check(IDC_SYMBOL_SENSE, "カテゴリーシンボルに必要センスを表示", &m_Current.m_bSymbolSense);
        a.Widget(QString(), labelled(parent, "", {DbCheck(this, parent, IDC_STATUS_SENSE, kStatusSenseLabel),
                                                  DbText(this, parent, IDC_SENSE_WORD, 80)}));
        own(IDC_STATUS_SENSE);
        own(IDC_SENSE_WORD);
        check(IDC_MULTIPLE, "同じ種類のスキルを複数習得可", &m_Current.m_bMultipleSameKind);
        check(IDC_RESTORE, "ステージクリア後にスキルの残り使用回数を回復", &m_Current.m_bRestoreAfterClear);
        check(IDC_STOCK_AS_LEARN, "ストックからの使用条件をスキルの習得条件と同じにする", &m_Current.m_bStockUseAsLearn);
        check(IDC_FORGET_DEATH, kForgetOnDeathLabel, &m_Current.m_bForgetOnDeath);
        check(IDC_FORGET_DISMISS, kForgetOnDismissLabel, &m_Current.m_bForgetOnDismiss);
        check(IDC_FORGOTTEN_STOCK, "忘れたスキルはストックに戻る", &m_Current.m_bForgottenToStock);
        check(IDC_CONFIRM_LEARN, "「覚える」ときに確認する", &m_Current.m_bConfirmLearn);
        check(IDC_CONFIRM_FORGET, "「忘れる」ときに確認する", &m_Current.m_bConfirmForget);
        check(IDC_TEST_LEARN, "テストプレイ時、F8キーで全てのスキルを習得", &m_Current.m_bTestLearnAll);
        check(IDC_TEST_OBTAIN, "テストプレイ時、F8キーで全てのスキルを入手", &m_Current.m_bTestObtainAll);
        a.Note(QStringLiteral("スロット"));
        m_Slots.Build(a, QString(), {IDC_SLOTS, IDC_SLOT_INSERT, IDC_SLOT_EDIT, IDC_SLOT_DELETE});
        if (auto* l = qobject_cast<QListWidget*>(Item(IDC_SLOTS))) {
            l->setMinimumHeight(40);
            l->setMaximumHeight(60);
        }
    }
    {
        FieldForm& b = *scenes;
        QWidget* parent = b.Parent();
        b.Note(QStringLiteral("スキルリストを表示するシーン（閲覧・使用の許可）"))->setMinimumWidth(300);
        for (int i = 0; i < kSkillSceneCount; ++i) {
            if (!*kSkillSceneLabels[static_cast<std::size_t>(i)])
                continue;  // position 3: carried, never shown
            b.Widget(QString(), DbCheck(this, parent, IDC_SCENE + i, kSkillSceneLabels[static_cast<std::size_t>(i)]));
            own(IDC_SCENE + i);
        }
        b.Note(QStringLiteral("スキル編成メニュー"));
        // Two entries a row, in order.
        for (int i = 0; i < 7; i += 2) {
            std::vector<QWidget*> entry;
            for (int k = i; k < std::min(i + 2, 7); ++k) {
                QLabel* word = new QLabel(QString::fromUtf8(kOrgWords[k]), parent);
                word->setMinimumWidth(50);
                entry.push_back(DbCheck(this, parent, IDC_ORG_CHECK + k, ""));
                entry.push_back(word);
                entry.push_back(DbText(this, parent, IDC_ORG_TEXT + k, 80));
                own(IDC_ORG_CHECK + k);
                own(IDC_ORG_TEXT + k);
            }
            b.Widget(QString(), WidgetRow(parent, entry));
        }
        auto twoWords = [&](const char* label, int id, const char* const words[2]) {
            auto* first = DbText(this, parent, id, 70);
            auto* second = DbText(this, parent, id + 1, 70);
            first->setPlaceholderText(QString::fromUtf8(words[0]));
            second->setPlaceholderText(QString::fromUtf8(words[1]));
            QLabel* title = new QLabel(QString::fromUtf8(label), parent);
            title->setMinimumWidth(80);
            b.Widget(QString(), labelled(parent, "", {title, first, second}));
            own(id);
            own(id + 1);
        };
        twoWords("「覚える」", IDC_LEARN_TEXT, kLearnWords);
        twoWords("「売る」", IDC_SELL_TEXT, kSellWords);
        twoWords("「忘れる」", IDC_FORGET_TEXT, kForgetWords);
        b.Widget(QString(), DbButton(this, parent, IDC_CATEGORIES, "カテゴリー"));
        QLabel* rate = b.Note(QStringLiteral(
            "☆カテゴリーのレートはランダムセンス上昇用。このレート×分配されたランダムセンス上昇値が実際のセンス上昇値。0なら分配対象外"));
        rate->setMinimumWidth(300);
    }
    {
        FieldForm& c = *skills;
        QWidget* parent = c.Parent();
        m_Skills.Build(c, QString(), {IDC_SKILLS, IDC_SKILL_INSERT, IDC_SKILL_EDIT, IDC_SKILL_DELETE});
        if (auto* l = qobject_cast<QListWidget*>(Item(IDC_SKILLS)))
            l->setMinimumHeight(120);
        c.Note(QStringLiteral("使用箇所"));
        m_pUsage = MakeUsageList(parent);
        m_pUsage->setMaximumHeight(70);
        c.Widget(QString(), m_pUsage);
        c.Widget(QString(), DbButton(this, parent, IDC_CSV_SAVE, "CSVファイルに保存"));
        c.Widget(QString(), DbButton(this, parent, IDC_CSV_LOAD, "CSVファイルの読込"));
        c.Note(QStringLiteral("※スキルの編集内容は、データベース全体を保存（OK・適用）したときにのみ保存されます。"));
    }

    f.Grid()->addWidget(options->Parent(), 0, 0, Qt::AlignTop);
    f.Grid()->addWidget(scenes->Parent(), 0, 1, Qt::AlignTop);
    m_pSkillPart = skills->Parent();
    for (FieldForm* part : {options.get(), scenes.get(), skills.get()}) {
        for (auto& a : part->attach)
            f.attach.push_back(std::move(a));
        f.ids.insert(part->ids.begin(), part->ids.end());
    }
}

void DLG_DBSKILLLIST::Build(QDialog* dialog)
{
    DB_LIST_PAGE::Build(dialog);
    // The group list's "削除" after its other buttons.
    auto* remove = new QPushButton(QStringLiteral("削除"), dialog);
    remove->setAutoDefault(false);
    QWidget* count = Item(IDC_DB_COUNT);
    if (QBoxLayout* row = BoxOf(dialog->layout(), count))
        row->insertWidget(row->indexOf(count) + 1, remove);
    AddItem(IDC_GROUP_DELETE, remove);
    for (int id : {int(IDC_DB_NEW), int(IDC_DB_CLEAR), int(IDC_DB_COUNT), int(IDC_GROUP_DELETE)})
        Item(id)->setMaximumWidth(52);
    for (int id : {int(IDC_SKILL_INSERT), int(IDC_SKILL_EDIT), int(IDC_SKILL_DELETE)})
        Item(id)->setMaximumWidth(60);
    // The group list keeps a few lines; the group's skills under it take the rest.
    QWidget* groups = Item(IDC_DB_LIST);
    groups->setMinimumSize(180, 80);
    groups->setMaximumHeight(120);
    if (QBoxLayout* left = BoxOf(dialog->layout(), groups)) {
        left->setStretchFactor(groups, 0);
        left->addWidget(m_pSkillPart, 1);
    }
}

void DLG_DBSKILLLIST::OnInitDialog()
{
    DB_LIST_PAGE::OnInitDialog();
    cSkillList& g = m_Current;
    (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_NAME, &g.m_Name);
    AttachCombo(this, IDC_SLOT_TYPE, &g.m_nSlotType, SlotTypeLabels());
    AttachCheck(this, IDC_RESERVE, &g.m_bReserve);
    AttachCheck(this, IDC_STATUS_SENSE, &g.m_bStatusSense);
    (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_SENSE_WORD, &g.m_SenseWord);
    AttachNum<int32_t>(this, IDC_RESERVE_COUNT, &g.m_nReserveCount, 1, 999);
    AttachCombo(this, IDC_PTVAL, &g.m_nTradePartyVal, NumberedNames(P().m_Database.m_PtVals));
    // A scene the group's list does not hold yet is added (the list grown to
    // every scene) when its box gets checked.
    for (int i = 0; i < kSkillSceneCount; ++i)
        if (Item(IDC_SCENE + i)) {
            const auto index = static_cast<std::size_t>(i);
            auto* c = new CTRL_ENTRYCHECK_CLASS(VectorEntry(&g.m_Scenes, index),
                                                GrowVectorTo(&g.m_Scenes, index, kSkillSceneCount));
            c->Attach(this, IDC_SCENE + i, &c->proxy);
        }
    for (int i = 0; i < 7; ++i) {
        AttachMenuCheck(this, IDC_ORG_CHECK + i, &g.m_OrgMenu, i);
        AttachMenuText(this, IDC_ORG_TEXT + i, &g.m_OrgMenu, i);
    }
    for (int i = 0; i < 2; ++i) {
        AttachMenuText(this, IDC_LEARN_TEXT + i, &g.m_LearnMenu, i);
        AttachMenuText(this, IDC_SELL_TEXT + i, &g.m_SellMenu, i);
        AttachMenuText(this, IDC_FORGET_TEXT + i, &g.m_ForgetMenu, i);
    }
    for (int id : {IDC_CATEGORIES, IDC_GROUP_DELETE, IDC_CSV_SAVE, IDC_CSV_LOAD})
        (new CTRL_BUTTON_CLASS)->Attach(this, id);
    m_Slots.Attach(&g.m_Slots.items(), [this](int, const cSlot& s) { return SlotText(s, m_Current); },
                   kMaxSkillsPerGroup);
    // A group loaded with more skills than the list takes is shown whole and
    // refuses to grow.
    m_Skills.Attach(&g.m_Skills.items(), [](int, const cSkill& s) { return s.m_Name; }, kMaxSkillsPerGroup);
    UpdateAllBut(IDC_DB_LIST);
    AfterShow();
}

void DLG_DBSKILLLIST::RefreshChoices()
{
    if (auto* c = dynamic_cast<CTRL_COMBO_CLASS<int32_t>*>(FindControl(IDC_PTVAL)))
        c->SetItems(NumberedNames(P().m_Database.m_PtVals));
}

int DLG_DBSKILLLIST::Group() { return m_pList ? m_pList->GetSel() : -1; }

void DLG_DBSKILLLIST::AfterShow()
{
    if (CTRL_CLASS* c = FindControl(IDC_RESERVE_COUNT))
        c->Enable(m_Current.m_bReserve != 0);
    ShowSkillUsage();
}

void DLG_DBSKILLLIST::ShowSkillUsage()
{
    if (!m_pUsage)
        return;
    int group = Group();
    if (group < 0 || group >= P().m_SkillLists.size()) {
        m_pUsage->clear();
        return;
    }
    // The selected skill's users; the whole group's while it has no skill.
    int skill = m_Skills.List() ? m_Skills.List()->GetSel() : -1;
    if (skill >= m_Current.m_Skills.size())
        skill = -1;
    ShowUsage(m_pUsage, FindSkillUsage(ProjectDatabaseView(), group, skill));
}

void DLG_DBSKILLLIST::Renumber()
{
    RecordList<cSkillList>& table = P().m_SkillLists;
    bool right = true;
    for (int g = 0; g < table.size() && right; ++g) {
        right = table[g].m_nGroupNo == g;
        for (int s = 0; s < table[g].m_Skills.size() && right; ++s)
            right = table[g].m_Skills[s].m_nSkillNo == s;
    }
    if (right)
        return;
    RenumberSkillTable(table);
    m_pList->Model().CopyCurrent();
    UpdateAllBut(IDC_DB_LIST);
    AfterShow();
}

void DLG_DBSKILLLIST::SkillsChanged()
{
    int group = Group();
    for (int s = 0; s < m_Current.m_Skills.size(); ++s)
        m_Current.m_Skills[s].m_nSkillNo = s;
    if (group >= 0)
        m_Current.m_nGroupNo = group;
    CurrentChanged();
    Renumber();
}

void DLG_DBSKILLLIST::OnCommand(int id, Notify code)
{
    DB_LIST_PAGE::OnCommand(id, code);
    if (!m_pList || Updating())
        return;
    using namespace dbcmd;
    switch (id) {
    case IDC_DB_NEW: case IDC_DB_CLEAR: case IDC_DB_COUNT: case kClearCtrlI: case kClearDelete: case kClearMenu:
    case kCutKey: case kCutMenu: case kPasteKey: case kPasteMenu:
        Renumber();
        break;
    default: break;
    }
}

void DLG_DBSKILLLIST::OnPageCommand(int id, Notify code)
{
    if (m_OwnFields.count(id) &&
        (code == Notify::EditUpdate || code == Notify::SelChange || code == Notify::Click ||
         code == Notify::EditKillFocus)) {
        WriteCurrent();
        if (id == IDC_RESERVE)
            AfterShow();
        return;
    }
    int group = Group();
    switch (id) {
    case IDC_GROUP_DELETE:
        if (m_pList->DeleteSel()) {
            UpdateAllBut(IDC_DB_LIST);
            AfterShow();
            Renumber();
        }
        return;
    case IDC_CATEGORIES: {
        DLG_CATEG dlg(m_Current.m_Categs);
        if (dlg.Run(this) == 1) {
            CurrentChanged();
        }
        return;
    }
    case IDC_CSV_SAVE: RunCsv(false); return;
    case IDC_CSV_LOAD: RunCsv(true); return;
    case IDC_SKILLS:
        if (code == Notify::SelChange)
            ShowSkillUsage();
        break;
    default: break;
    }
    bool key = IsNestedKey(id);
    if (!key || HasFocus(this, IDC_SKILLS)) {
        bool changed = m_Skills.Command(id, code, [this, group](cSkill& skill) {
            return PROP_DBSKILL::Run(this, skill, SkillSheetChoices::FromProject(group)) == 1;
        });
        if (changed) {
            SkillsChanged();
            return;
        }
    }
    if (!key || HasFocus(this, IDC_SLOTS)) {
        if (m_Slots.Command(id, code, [this](cSlot& slot) { return DLG_SLOT(slot, m_Current.m_Categs).Run(this) == 1; }))
            CurrentChanged();
    }
}

void DLG_DBSKILLLIST::RunCsv(bool import)
{
    int group = Group();
    if (group < 0)
        return;
    WriteCurrent();
    RecordList<cSkillList>& table = P().m_SkillLists;
    if (!import) {
        ExportSkillCsvCommand(table, group, applySheet);
        return;
    }
    ImportSkillCsvCommand(table, group, applySheet);
    // The group's skills were read (or put back): the page shows the list again.
    m_pList->Model().CopyCurrent();
    UpdateAllBut(IDC_DB_LIST);
    AfterShow();
}
