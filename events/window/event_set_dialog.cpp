#include "events/window/event_set_dialog.h"
#include "events/start_event.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/editor_state.h"
#include "base/text.h"
#include "events/value_lists.h"
#include "media/image_table.h"
#include "project/project.h"
#include "records/tables.h"
#include "ui/input_dialogs.h"
#include "ui/qt_text.h"
#include "ui/select_graphic.h"

using namespace evctl;

namespace {

// A combo that shows no entry leaves its member as it was (a position group
// the stage no longer has stays referenced until the page is saved).
template <class T>
class KeepingCombo : public CTRL_COMBO_CLASS<T> {
public:
    void Store() override
    {
        if (QComboBox* c = this->Combo(); c && c->currentIndex() >= 0)
            CTRL_COMBO_CLASS<T>::Store();
    }
};

std::vector<std::string> Labels(ValueList list)
{
    std::vector<std::string> out;
    for (int i = 0; i < ValueCount(list); ++i)
        out.push_back(ValueLabel(list, i));
    return out;
}

std::vector<std::string> TableNames(Table table)
{
    std::vector<std::string> out;
    for (int i = 0; i < TableSize(table); ++i)
        out.push_back(TableName(table, i));
    return out;
}

template <class T>
void AttachCombo(DLG_CLASS* dlg, int id, T* variable, const std::vector<std::string>& items)
{
    auto* c = new KeepingCombo<T>;
    c->Attach(dlg, id, variable);
    c->SetItems(items);
}

// The command ids of the two lists' keys, menus and buttons.
constexpr int kPageCut[] = {40030, 40027}, kPageCopy[] = {40031, 40024}, kPagePaste[] = {40032, 40025},
              kPageIns[] = {40069, 40070, kPageInsert}, kPageDel[] = {40034, 40029, kPageDelete};
constexpr int kActCut[] = {40040, 40075}, kActCopy[] = {40035, 40076}, kActPaste[] = {40038, 40077},
              kActIns[] = {40071, 40078, kActionInsert}, kActDel[] = {40039, 40079, kActionDelete};
template <std::size_t N>
bool In(int id, const int (&ids)[N])
{
    for (int i : ids)
        if (i == id)
            return true;
    return false;
}

// Every list of a dialog hears its keys; a key command is the focused list's
// only, so that the page list's and the action list's keys never cross.
bool KeysFor(const CTRL_CLASS* list, Notify code)
{
    return code != Notify::Accelerator || (list && list->Widget() && list->Widget()->hasFocus());
}

}  // namespace

EventEditorHooks& EventEditorExtensions()
{
    static EventEditorHooks hooks;
    return hooks;
}

DLG_EVENT_SET::DLG_EVENT_SET(cEvent* target, bool startEventMode) : m_pTarget(target), m_bStartEventMode(startEventMode)
{
    SetTitle(QStringLiteral("イベント"));
    if (EventEditorExtensions().editAction)
        editAction = [this](cEventAct& act, bool newAction) {
            auto& edit = EventEditorExtensions().editAction;
            return edit ? edit(this, act, newAction, m_bStartEventMode) : 0;
        };
}

void DLG_EVENT_SET::Build(QDialog* dialog)
{
    auto* outer = new QVBoxLayout(dialog);
    auto* columns = new QHBoxLayout;
    outer->addLayout(columns, 1);

    auto add = [this](int id, QWidget* w) {
        AddItem(id, w);
        return w;
    };
    auto check = [&](int id, const char* text, QWidget* parent) {
        return static_cast<QCheckBox*>(add(id, new QCheckBox(QString::fromUtf8(text), parent)));
    };
    auto edit = [&](int id, QWidget* parent, int width = 60) {
        auto* e = new QLineEdit(parent);
        e->setFixedWidth(width);
        return static_cast<QLineEdit*>(add(id, e));
    };
    auto combo = [&](int id, QWidget* parent) {
        auto* c = new QComboBox(parent);
        c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        return static_cast<QComboBox*>(add(id, c));
    };
    auto button = [&](int id, const char* text, QWidget* parent) {
        return static_cast<QPushButton*>(add(id, new QPushButton(QString::fromUtf8(text), parent)));
    };
    auto label = [&](const char* text, QWidget* parent) { return new QLabel(QString::fromUtf8(text), parent); };

    // Left: the event itself and its pages.
    auto* left = new QVBoxLayout;
    left->addWidget(label("イベント名", dialog));
    add(kName, new QLineEdit(dialog));
    left->addWidget(Item(kName));
    left->addWidget(check(kHeld, "キャラにこのイベントを所持させる", dialog));
    auto* pages = new QListWidget(dialog);
    pages->setMinimumWidth(140);
    left->addWidget(add(kPages, pages), 1);
    auto* pageButtons = new QHBoxLayout;
    pageButtons->addWidget(button(kPageInsert, "挿入", dialog));
    pageButtons->addWidget(button(kPageDelete, "削除", dialog));
    left->addLayout(pageButtons);
    columns->addLayout(left);

    // Right: the page area.
    auto* area = new QGroupBox(QStringLiteral("ページデータ"), dialog);
    auto* grid = new QGridLayout(area);
    int row = 0;
    auto line = [&](std::initializer_list<QWidget*> widgets) {
        auto* h = new QHBoxLayout;
        for (QWidget* w : widgets)
            h->addWidget(w);
        h->addStretch(1);
        grid->addLayout(h, row++, 0);
    };
    line({check(kTurnAOn, "ターン数条件A", area), edit(kTurnABase, area), add(kTurnAPlus, label("＋", area)),
          edit(kTurnAStep, area), add(kTurnAMultiple, label("の倍数", area))});
    line({check(kTurnBOn, "ターン数条件B", area), edit(kTurnBFrom, area), add(kTurnBTilde, label("～", area)),
          edit(kTurnBTo, area)});
    line({check(kEventVarOn, "イベント変数条件", area), edit(kEventVarValue, area, 80), combo(kEventVarCompare, area)});
    line({combo(kCommonVar, area), button(kRenameVar, "_", area)});
    static_cast<QPushButton*>(Item(kRenameVar))->setFixedWidth(24);
    line({edit(kCommonVarValue, area, 80), combo(kCommonVarCompare, area)});
    line({check(kFirstAttempt, "ステージ初挑戦時のみ出現", area)});
    line({label("タイミング", area), combo(kTiming, area)});
    line({label("特殊コマンド名", area), edit(kCommandName, area, 80)});
    line({check(kChain, "同タイミングの前（上）のページのイベント終了後に続けて実行", area)});
    line({label("対象", area), combo(kScope, area), label("に", area), combo(kWho, area), label("が", area),
          combo(kPresence, area), label("発生", area)});
    line({label("位置グループ", area), combo(kGroup, area), label("味方条件", area), combo(kFriend, area)});
    line({check(kEnemyGroupOn, "グループ", area), edit(kEnemyGroup, area), check(kEnemyIdOn, "キャラID", area),
          edit(kEnemyId, area)});
    auto* preview = new QLabel(area);
    preview->setFixedSize(32, 32);
    line({label("グラフィック", area), edit(kGraphic, area), button(kChooseGraphic, "一覧", area), add(kPreview, preview)});
    grid->addWidget(label("アクション", area), row++, 0);
    auto* actions = new QListWidget(area);
    actions->setMinimumSize(420, 160);
    grid->addWidget(add(kActions, actions), row++, 0);
    grid->setRowStretch(row - 1, 1);
    line({button(kActionInsert, "挿入", area), button(kActionEdit, "編集", area), button(kActionDelete, "削除", area)});
    columns->addWidget(area, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = button(IDC_OK, "OK", dialog);
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(button(IDC_CANCEL, "ｷｬﾝｾﾙ", dialog));
    outer->addLayout(buttons);
}

void DLG_EVENT_SET::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_Session.Open(*m_pTarget);
    cEvent& ev = m_Session.event;
    cEventPage& pg = m_Session.page;

    (new CTRL_EDITSTR_CLASS)->Attach(this, kName, &ev.m_Name, 40, 0, 1, true);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, kHeld, &ev.m_bHeldByCharacter);

    ListOptions pageOptions;
    pageOptions.numbering = true;
    pageOptions.appendLine = true;
    pageOptions.minCount = 1;
    m_pPages = new CTRL_LIST_CLASS<cEventPage>;
    m_pPages->Attach(this, kPages, &m_Session.pages, nullptr, pageOptions,
                     [](int, const cEventPage& page) { return PageLineText(page); });
    m_pPages->SetListCommands(IDA_PAGES, 1, 1);
    m_pPages->SetListMenu(IDM_PAGES, 1, 1);
    m_pPages->SetClipboard(&Editor().pageClipboard);

    auto check = [this](int id, int32_t* v) { (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, id, v); };
    auto value = [this](int id, int32_t* v, int32_t lo, int32_t hi) {
        (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, id, v, lo, hi);
    };
    check(kTurnAOn, &pg.m_bTurnAOn);
    value(kTurnABase, &pg.m_nTurnABase, 0, 999);
    value(kTurnAStep, &pg.m_nTurnAStep, 0, 999);
    check(kTurnBOn, &pg.m_bTurnBOn);
    value(kTurnBFrom, &pg.m_nTurnBFrom, 0, 999);
    value(kTurnBTo, &pg.m_nTurnBTo, 0, 999);
    check(kEventVarOn, &pg.m_bEventVarOn);
    value(kEventVarValue, &pg.m_nEventVarValue, -999999, 999999);
    AttachCombo(this, kEventVarCompare, &pg.m_EventVarCompare, Labels(ValueList::CompareOp));
    m_pCommonVar = new KeepingCombo<int32_t>;
    m_pCommonVar->Attach(this, kCommonVar, &pg.m_nCommonVar);
    FillCommonVariables();
    (new CTRL_BUTTON_CLASS)->Attach(this, kRenameVar);
    value(kCommonVarValue, &pg.m_nCommonVarValue, -999999, 999999);
    AttachCombo(this, kCommonVarCompare, &pg.m_nCommonVarCompare, Labels(ValueList::CompareOp));
    check(kFirstAttempt, &pg.m_bFirstAttemptOnly);
    AttachCombo(this, kTiming, &pg.m_Timing, Labels(ValueList::TriggerTiming));
    (new CTRL_EDITSTR_CLASS)->Attach(this, kCommandName, &pg.m_CommandName, 4, 0, 1, true);
    check(kChain, &pg.m_bChainAfterPrevious);
    AttachCombo(this, kScope, &pg.m_Scope, Labels(ValueList::TriggerScope));
    AttachCombo(this, kWho, &pg.m_nWho, Labels(ValueList::TriggerWho));
    AttachCombo(this, kPresence, &pg.m_nPresence, Labels(ValueList::TriggerPresence));
    AttachCombo(this, kGroup, &pg.m_nGroupIndex, TableNames(Table::PositionGroup));
    AttachCombo(this, kFriend, &pg.m_nFriendCondition, TableNames(Table::Friend));
    check(kEnemyGroupOn, &pg.m_bEnemyGroupOn);
    value(kEnemyGroup, &pg.m_nEnemyGroup, 1, 100);
    check(kEnemyIdOn, &pg.m_bEnemyIdOn);
    value(kEnemyId, &pg.m_nEnemyId, 1, 999);
    value(kGraphic, &pg.m_nGraphic, 0, 511);
    (new CTRL_BUTTON_CLASS)->Attach(this, kChooseGraphic);
    (new CTRL_PICTURE_CLASS)->Attach(this, kPreview);

    ListOptions actionOptions;
    actionOptions.appendLine = true;
    actionOptions.multiple = true;
    m_pActions = new CTRL_LIST_CLASS<cEventAct>;
    m_pActions->Attach(this, kActions, &pg.m_Actions, nullptr, actionOptions,
                       [](int, const cEventAct& act) { return act.ListText(); });
    m_pActions->SetListCommands(IDA_ACTIONS, 1, 2);
    m_pActions->SetListMenu(IDM_ACTIONS, 1, 2);
    m_pActions->SetClipboard(&Editor().actionClipboard);
    for (int id : {kPageInsert, kPageDelete, kActionInsert, kActionEdit, kActionDelete, int(IDC_OK), int(IDC_CANCEL)})
        (new CTRL_BUTTON_CLASS)->Attach(this, id);

    UpdateAll();
    m_pPages->Select(m_Session.Shown(), false);
    UpdatePreview();
    ApplyEnabling();
}

void DLG_EVENT_SET::FillCommonVariables()
{
    m_pCommonVar->SetItems(CommonVariableChoices());
    m_pCommonVar->Show();
}

void DLG_EVENT_SET::ApplyEnabling()
{
    for (const auto& [id, on] : EventEditorEnabling(m_Session.HasPage() ? &m_Session.page : nullptr, m_bStartEventMode))
        if (QWidget* w = Item(id))
            w->setEnabled(on);
}

void DLG_EVENT_SET::UpdatePreview()
{
    auto* label = qobject_cast<QLabel*>(Item(kPreview));
    if (!label)
        return;
    // The event's picture as the event sheet holds it, framed as on the map.
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    const int g = m_Session.HasPage() ? m_Session.page.m_nGraphic : 0;
    const Surface& sheet = ImageSurface(IMG_EVENT);
    const int sx = (g / 32) * 64, sy = (g % 32) * 32;
    if (g != 0 && sheet.Bits() && sx + 32 <= sheet.Width() && sy + 32 <= sheet.Height()) {
        QImage image(sheet.Bits(), sheet.Width(), sheet.Height(), sheet.Stride(), QImage::Format_RGB32);
        painter.drawImage(QPoint(0, 0), image, QRect(sx, sy, 32, 32));
    }
    painter.setPen(Qt::white);
    painter.drawRect(0, 0, 31, 31);
    painter.end();
    label->setPixmap(pixmap);
}

void DLG_EVENT_SET::StoreAndRefresh()
{
    StoreAll();
    m_Session.StoreShown();
    // The page list's line of the shown page counts its actions.
    int shown = m_Session.Shown();
    m_pPages->Show();
    if (shown >= 0)
        m_pPages->Select(shown, false);
}

void DLG_EVENT_SET::ShowPage(int index)
{
    StoreAll();
    m_Session.Show(index);
    UpdateAll();
    if (m_Session.Shown() >= 0)
        m_pPages->Select(m_Session.Shown(), false);
    UpdatePreview();
}

void DLG_EVENT_SET::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    if (id == IDC_OK) {
        StoreAll();
        m_Session.WriteBack(*m_pTarget);
        Close(1);
        return;
    }
    if (id == IDC_CANCEL || id == IDC_ESCAPE) {
        Close(0);
        return;
    }
    if (id == kPages && code == Notify::SelChange) {
        int line = m_pPages->GetSel();
        if (line != m_Session.Shown())
            ShowPage(m_pPages->Model().IsRecordLine(line) ? line : -1);
    } else if (In(id, kPageCut) || In(id, kPageCopy) || In(id, kPagePaste) || In(id, kPageIns) || In(id, kPageDel)) {
        if (!m_bStartEventMode && KeysFor(m_pPages, code))
            PageCommand(id);
    } else if (In(id, kActCut) || In(id, kActCopy) || In(id, kActPaste) || In(id, kActIns) || In(id, kActDel) ||
               id == kActionEdit || (id == kActions && code == Notify::ListDblClk)) {
        if (m_Session.HasPage() && KeysFor(m_pActions, code))
            ActionCommand(id);
    } else if (id == kRenameVar) {
        RenameVariable();
    } else if (id == kChooseGraphic) {
        ChooseGraphic();
    } else if (id == kActions || id == kPages) {
        // Selection changes of the action list change nothing else.
    } else if (auto& extra = EventEditorExtensions().actionCommand; extra && m_Session.HasPage() && FindControl(id) == nullptr) {
        StoreAndRefresh();
        if (extra(*this, id))
            StoreAndRefresh();
    }
    if (!Exists())
        return;
    // Every change of a control can change what is enabled.
    StoreAll();
    UpdatePreview();
    ApplyEnabling();
}

void DLG_EVENT_SET::PageCommand(int id)
{
    StoreAll();
    m_Session.StoreShown();
    m_pPages->Show();
    int line = m_pPages->GetSel();
    ListModel<cEventPage>& model = m_pPages->Model();
    if (In(id, kPageIns)) {
        if (line < 0 || !m_Session.InsertPage(line))
            QApplication::beep();
    } else if (In(id, kPageDel)) {
        if (!m_Session.DeletePage(line))
            QApplication::beep();
    } else if (In(id, kPageCopy)) {
        m_pPages->CopySel();
    } else {
        int done = In(id, kPageCut) ? m_pPages->CutSel() : m_pPages->Paste();
        if (done)
            m_Session.ReplacePages(model.items, model.IsRecordLine(model.GetSel()) ? model.GetSel() : 0);
    }
    UpdateAll();
    if (m_Session.Shown() >= 0)
        m_pPages->Select(m_Session.Shown(), false);
}

void DLG_EVENT_SET::ActionCommand(int id)
{
    StoreAll();
    if (In(id, kActIns))
        InsertAction();
    else if (id == kActionEdit || id == kActions)
        EditSelectedAction();
    else if (In(id, kActDel))
        m_pActions->DeleteSel();
    else if (In(id, kActCut))
        m_pActions->CutSel();
    else if (In(id, kActCopy))
        m_pActions->CopySel();
    else if (In(id, kActPaste))
        m_pActions->Paste();
    if (Exists())
        StoreAndRefresh();
}

void DLG_EVENT_SET::InsertAction()
{
    int line = m_pActions->GetSel();
    if (line < 0) {
        QApplication::beep();
        return;
    }
    if (!m_pActions->Insert())
        return;
    ListModel<cEventAct>& model = m_pActions->Model();
    cEventAct act = model.Record(line);
    int accepted = editAction ? editAction(act, true) : 0;
    if (!Exists())
        return;
    if (accepted) {
        model.Record(line) = act;
        StoreAll();
        m_pActions->Show();
    } else {
        m_pActions->DeleteSel(line);
    }
}

void DLG_EVENT_SET::EditSelectedAction()
{
    int line = m_pActions->GetSel();
    ListModel<cEventAct>& model = m_pActions->Model();
    if (!model.IsRecordLine(line)) {
        QApplication::beep();
        return;
    }
    cEventAct act = model.Record(line);
    if (editAction && editAction(act, false) && Exists()) {
        model.Record(line) = act;
        StoreAll();
        m_pActions->Show();
    }
}

void DLG_EVENT_SET::RenameVariable()
{
    StoreAll();
    int number = m_Session.page.m_nCommonVar;
    Project& p = TheProject();
    if (number <= 0 || number >= p.m_GlobalVariables.size()) {
        QApplication::beep();
        return;
    }
    std::string name = p.m_GlobalVariables[number].m_Name;
    if (!InputText(this, false, name, 12, false, SJ("変数名の入力")))
        return;
    RenameGlobalVariable(p.m_GlobalVariables, number, name, ProjectFile::GValInfo);
    FillCommonVariables();
}

void DLG_EVENT_SET::ChooseGraphic()
{
    StoreAll();
    int value = m_Session.page.m_nGraphic;
    if (DLG_SELECTGRAPHIC::Run(this, 3, value) == 1 && Exists()) {
        m_Session.page.m_nGraphic = std::clamp(value, 0, 511);
        UpdateAll();
    }
}

void DLG_EVENT_SET::ExtendPopup(QMenu& menu, int menuId)
{
    if (menuId == IDM_ACTIONS && EventEditorExtensions().extendActionMenu)
        EventEditorExtensions().extendActionMenu(*this, menu);
}

std::vector<cEventAct> DLG_EVENT_SET::Actions()
{
    m_pActions->Sync();
    return m_pActions->Model().items;
}

std::vector<int> DLG_EVENT_SET::SelectedActions()
{
    m_pActions->Sync();
    return m_pActions->Model().SelectedRecords();
}

int DLG_EVENT_SET::ActionInsertLine()
{
    m_pActions->Sync();
    const auto& model = m_pActions->Model();
    if (!model.multiple)
        return model.sel;
    for (std::size_t i = 0; i < model.flags.size(); ++i)
        if (model.flags[i])
            return static_cast<int>(i);
    return -1;
}

void DLG_EVENT_SET::SetActions(const std::vector<cEventAct>& actions, int select)
{
    StoreAll();
    m_Session.page.m_Actions.items() = actions;
    m_pActions->Show();
    m_pActions->Select(select, false);
    StoreAndRefresh();
}

// ---------------------------------------------------------------------------

int EditEvent(WND_CLASS* owner, EditorState& ed, cEvent& event)
{
    ed.startEventMode = false;
    DLG_EVENT_SET dlg(&event, false);
    dlg.SetupWindow(DLG_EVENT_SET::IDD, owner ? owner->Widget() : nullptr, owner);
    dlg.SetOwner(owner, true);
    return dlg.DoModal();
}

int EditStartEvent(WND_CLASS* owner, Project& p, EditorState& ed)
{
    ed.startEventMode = true;
    // Only the first page's actions are edited; a file without pages gets one.
    cEvent edited = StartEventForEditing(p.m_StartEvent);
    DLG_EVENT_SET dlg(&edited, true);
    dlg.SetupWindow(DLG_EVENT_SET::IDD, owner ? owner->Widget() : nullptr, owner);
    dlg.SetOwner(owner, true);
    if (dlg.DoModal() != 1)
        return 0;
    // Saved at once, also when nothing changed; a file that cannot be written
    // is not reported and the event stays edited.
    StoreStartEvent(p.m_StartEvent, edited, ProjectFile::StartEvent);
    return 1;
}
