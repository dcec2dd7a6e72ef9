#include "events/window/event_palette.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/editor_state.h"
#include "base/text.h"
#include "events/event_edit.h"
#include "events/window/event_set_dialog.h"
#include "project/project.h"
#include "ui/input_dialogs.h"

namespace {

constexpr int kCut[] = {40030, 40027}, kCopy[] = {40031, 40024}, kPaste[] = {40032, 40025},
              kInsert[] = {40069, 40070, DLG_EVENT::IDC_INSERT}, kDelete[] = {40034, 40029, DLG_EVENT::IDC_DELETE};
// The main window's keys in the palette's accelerator table: Ctrl+S, O, Z, Y, T.
constexpr int kMainKeys[] = {40026, 40062, 40063, 40064, 40108};

template <std::size_t N>
bool In(int id, const int (&ids)[N])
{
    for (int i : ids)
        if (i == id)
            return true;
    return false;
}

}  // namespace

DLG_EVENT::DLG_EVENT() { SetTitle(QStringLiteral("イベントパレット")); }

void DLG_EVENT::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    auto* ifPlaced = new QCheckBox(QStringLiteral("配置済みなら編集"), dialog);
    auto* beforePut = new QCheckBox(QStringLiteral("配置直前に編集"), dialog);
    layout->addWidget(ifPlaced);
    layout->addWidget(beforePut);
    layout->addWidget(new QLabel(QStringLiteral("イベント一覧(テンプレート)"), dialog));
    auto* list = new QListWidget(dialog);
    list->setMinimumSize(180, 200);
    layout->addWidget(list, 1);
    auto* buttons = new QHBoxLayout;
    auto button = [&](int id, const QString& text) {
        auto* b = new QPushButton(text, dialog);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        AddItem(id, b);
    };
    button(IDC_INSERT, QStringLiteral("挿入"));
    button(IDC_EDIT, QStringLiteral("編集"));
    button(IDC_DELETE, QStringLiteral("削除"));
    button(IDC_COUNT, QStringLiteral("ﾃﾞｰﾀ数"));
    layout->addLayout(buttons);
    AddItem(IDC_EDIT_IF_PLACED, ifPlaced);
    AddItem(IDC_EDIT_BEFORE_PUT, beforePut);
    AddItem(IDC_LIST, list);
}

void DLG_EVENT::OnInitDialog()
{
    SetPlaceRecord(&TheProject().m_EditConfig.WndPos(ToolWindow::EventPalette));
    DLG_CLASS::OnInitDialog();
    cEditConfig& config = TheProject().m_EditConfig;
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_EDIT_IF_PLACED, &config.m_bEventEditIfPlaced);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_EDIT_BEFORE_PUT, &config.m_bEventEditBeforePut);
    ListOptions options;
    options.numbering = true;
    options.appendLine = true;
    options.allowEmptySelection = true;
    options.minCount = 1;
    options.maxCount = 999;
    m_pList = new CTRL_LIST_CLASS<cEvent>;
    m_pList->Attach(this, IDC_LIST, &TheProject().m_EventPalette, nullptr, options,
                    [](int, const cEvent& ev) { return ev.m_Name; });
    m_pList->SetListCommands(IDA_LIST, 1, 1);
    m_pList->SetListMenu(IDM_LIST, 1, 1);
    m_pList->SetClipboard(&Editor().eventClipboard);
    for (int id : {IDC_INSERT, IDC_EDIT, IDC_DELETE, IDC_COUNT})
        (new CTRL_BUTTON_CLASS)->Attach(this, id);
    UpdateAll();
    int sel = Editor().paletteEvent;
    m_pList->Select(sel, false);
}

void DLG_EVENT::RefreshLists()
{
    if (!m_pList)
        return;
    UpdateAll();
    m_pList->Select(Editor().paletteEvent, false);
}

void DLG_EVENT::Changed()
{
    EditorState& ed = Editor();
    int line = m_pList->GetSel();
    SelectPaletteEvent(ed, TheProject(), m_pList->Model().IsRecordLine(line) ? line : -1);
    if (onChanged)
        onChanged();
}

bool DLG_EVENT::EditSelected()
{
    int line = m_pList->GetSel();
    Project& p = TheProject();
    if (!m_pList->Model().IsRecordLine(line) || line >= p.m_EventPalette.size()) {
        QApplication::beep();
        return false;
    }
    // A palette entry is no part of the stage: no undo step, the palette changed.
    cEvent copy = p.m_EventPalette[line];
    if (EditEvent(this, Editor(), copy) != 1 || !Exists())
        return false;
    p.m_EventPalette[line] = copy;
    Editor().paletteModified = true;
    UpdateAll();
    m_pList->Select(line, false);
    return true;
}

void DLG_EVENT::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    if (In(id, kMainKeys)) {
        if (forwardCommand)
            forwardCommand(id);
        return;
    }
    EditorState& ed = Editor();
    bool changed = true;
    if ((id == IDC_LIST && code == Notify::ListDblClk) || id == IDC_EDIT) {
        changed = EditSelected();
    } else if (id == IDC_LIST || id == IDC_EDIT_IF_PLACED || id == IDC_EDIT_BEFORE_PUT) {
        changed = false;
    } else if (In(id, kInsert)) {
        // The append line inserts at the end; no line selected refuses.
        if (m_pList->GetSel() < 0)
            QApplication::beep();
        else
            m_pList->Insert();
    } else if (In(id, kDelete)) {
        m_pList->DeleteSel();
    } else if (In(id, kCut)) {
        m_pList->CutSel();
    } else if (In(id, kCopy)) {
        m_pList->CopySel();
        changed = false;
    } else if (In(id, kPaste)) {
        m_pList->Paste();
    } else if (id == IDC_COUNT) {
        int count = TheProject().m_EventPalette.size();
        if (InputValue(this, false, count, 1, 999, SJ("データ数")) == 1 && Exists()) {
            ResizeEventPalette(TheProject().m_EventPalette, count);
            UpdateAll();
        }
    } else {
        changed = false;
    }
    if (!Exists())
        return;
    StoreAll();
    if (changed)
        ed.paletteModified = true;
    Changed();
}
