#include "events/window/action_palette_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "base/text.h"
#include "events/window/event_set_dialog.h"
#include "project/project.h"
#include "resources/menus.h"
#include "ui/controls.h"
#include "ui/qt_text.h"
#include "ui/widgets.h"

DLG_EVENTACTPLT::DLG_EVENTACTPLT(ActionPalette& working, int mode) : m_Work(working), m_nMode(mode)
{
    SetTitle(QStringLiteral("イベントアクションパレット"));
}

void DLG_EVENTACTPLT::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);

    auto* top = new QHBoxLayout;
    auto* list = new QListWidget(dialog);
    list->setMinimumSize(260, 220);
    top->addWidget(list, 1);
    auto* side = new QVBoxLayout;
    auto* up = new QPushButton(QStringLiteral("↑"), dialog);
    auto* down = new QPushButton(QStringLiteral("↓"), dialog);
    auto* remove = new QPushButton(QStringLiteral("削除"), dialog);
    side->addWidget(up);
    side->addWidget(down);
    side->addSpacing(12);
    side->addWidget(remove);
    side->addStretch(1);
    top->addLayout(side);
    layout->addLayout(top, 1);
    AddItem(IDC_LIST, list);
    AddItem(IDC_UP, up);
    AddItem(IDC_DOWN, down);
    AddItem(IDC_DELETE, remove);

    auto* fields = new QGridLayout;
    auto* name = new QLineEdit(dialog);
    auto* description = new QLineEdit(dialog);
    description->setMinimumWidth(320);
    fields->addWidget(new QLabel(QStringLiteral("名称"), dialog), 0, 0);
    fields->addWidget(name, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("説明"), dialog), 1, 0);
    fields->addWidget(description, 1, 1);
    layout->addLayout(fields);
    AddItem(IDC_NAME, name);
    AddItem(IDC_DESCRIPTION, description);

    auto* contents = new QLabel(dialog);
    contents->setWordWrap(true);
    contents->setMinimumHeight(36);
    contents->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(contents);
    AddItem(IDC_CONTENTS, contents);

    layout->addLayout(OkCancelRow(this, dialog));
}

void DLG_EVENTACTPLT::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_NAME, &m_Name, kActionPaletteNameMax, kActionPaletteNameMax, 1);
    (new CTRL_EDITSTR_CLASS)
        ->Attach(this, IDC_DESCRIPTION, &m_Description, kActionPaletteDescriptionMax, kActionPaletteDescriptionMax, 1);
    (new CTRL_LABEL_CLASS)->Attach(this, IDC_CONTENTS);
    for (int id : {int(IDC_UP), int(IDC_DOWN), int(IDC_DELETE), int(IDC_OK), int(IDC_CANCEL)})
        (new CTRL_BUTTON_CLASS)->Attach(this, id);
    m_nSel = m_Work.empty() ? -1 : m_nMode == 1 ? m_Work.size() - 1 : 0;
    FillList();
    ShowEntry();
}

void DLG_EVENTACTPLT::FillList()
{
    auto* list = qobject_cast<QListWidget*>(Item(IDC_LIST));
    if (!list)
        return;
    QSignalBlocker block(list);
    list->clear();
    for (int i = 0; i < m_Work.size(); ++i)
        list->addItem(ToQt(NumberedLine(i + 1, m_Work.size(), m_Work[i].m_Name)));
}

void DLG_EVENTACTPLT::StoreEntry()
{
    if (m_nSel < 0 || m_nSel >= m_Work.size())
        return;
    StoreAll();
    m_Work[m_nSel].m_Name = m_Name;
    m_Work[m_nSel].m_Description = m_Description;
    if (auto* list = qobject_cast<QListWidget*>(Item(IDC_LIST)))
        if (QListWidgetItem* line = list->item(m_nSel))
            line->setText(ToQt(NumberedLine(m_nSel + 1, m_Work.size(), m_Name)));
}

void DLG_EVENTACTPLT::ShowEntry()
{
    bool any = m_nSel >= 0 && m_nSel < m_Work.size();
    m_Name = any ? m_Work[m_nSel].m_Name : std::string();
    m_Description = any ? m_Work[m_nSel].m_Description : std::string();
    UpdateAll();
    for (int id : {IDC_NAME, IDC_DESCRIPTION, IDC_UP, IDC_DOWN, IDC_DELETE})
        if (QWidget* w = Item(id))
            w->setEnabled(any);
    if (auto* list = qobject_cast<QListWidget*>(Item(IDC_LIST))) {
        QSignalBlocker block(list);
        list->clearSelection();
        if (any) {
            list->setCurrentRow(m_nSel);
            list->scrollToItem(list->item(m_nSel));
        }
    }
    if (auto* label = qobject_cast<QLabel*>(Item(IDC_CONTENTS)))
        label->setText(any ? ToQt(ActionPaletteContents(m_Work[m_nSel])) : QString());
}

void DLG_EVENTACTPLT::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    switch (id) {
    case IDC_NAME:
        // The list line follows the name as it is typed.
        if (code == Notify::EditUpdate)
            StoreEntry();
        break;
    case IDC_LIST: {
        if (code != Notify::SelChange)
            break;
        auto* list = qobject_cast<QListWidget*>(Item(IDC_LIST));
        int row = list ? list->currentRow() : -1;
        if (row < 0 || row == m_nSel)
            break;
        StoreEntry();
        m_nSel = row;
        ShowEntry();
        break;
    }
    case IDC_UP:
    case IDC_DOWN:
    case IDC_DELETE:
        if (code != Notify::Click)
            break;
        StoreEntry();
        m_nSel = id == IDC_UP     ? MoveActionPaletteEntryUp(m_Work, m_nSel)
                 : id == IDC_DOWN ? MoveActionPaletteEntryDown(m_Work, m_nSel)
                                  : DeleteActionPaletteEntry(m_Work, m_nSel);
        FillList();
        ShowEntry();
        break;
    case IDC_OK:
        StoreEntry();
        Close(1);
        break;
    case IDC_CANCEL: Close(0); break;
    default: break;
    }
}

int DLG_EVENTACTPLT::Run(WND_CLASS* owner, ActionPalette& working, int mode)
{
    DLG_EVENTACTPLT dlg(working, mode);
    dlg.SetupWindow(IDD, owner ? owner->Widget() : nullptr, owner);
    return dlg.DoModal();
}

ActionPaletteDialog ActionPaletteDialogFor(WND_CLASS* owner)
{
    return [owner](ActionPalette& working, int mode) { return DLG_EVENTACTPLT::Run(owner, working, mode); };
}

void FillActionPaletteMenu(QMenu& menu, const ActionPalette& palette)
{
    if (!menu.isEmpty())
        menu.addSeparator();
    auto addEntries = [&palette](QMenu* sub, int (*idOf)(int)) {
        sub->setToolTipsVisible(true);
        for (int i = 0; i < palette.size(); ++i) {
            QAction* a = sub->addAction(ToQt(ActionPaletteMenuText(i, palette[i])));
            a->setToolTip(ToQt(ActionPaletteTooltip(palette[i])));
            a->setData(idOf(i));
            // Only a file made by hand holds more entries than ids reach.
            a->setEnabled(idOf(i) != 0);
        }
        sub->setEnabled(!palette.empty());
    };
    addEntries(menu.addMenu(QString::fromUtf8(actplt::kPasteMenu)), ActionPalettePasteId);
    QMenu* save = menu.addMenu(QString::fromUtf8(actplt::kSaveMenu));
    save->addAction(QString::fromUtf8(actplt::kNewItem))->setData(actplt::kNew);
    addEntries(save->addMenu(QString::fromUtf8(actplt::kOverwriteMenu)), ActionPaletteOverwriteId);
    menu.addAction(QString::fromUtf8(actplt::kSortItem))->setData(actplt::kSort);
}

ActionPaletteOutcome RunActionPaletteMenuCommand(WND_CLASS* owner, int id, std::vector<cEventAct>& actions,
                                                 const std::vector<int>& selected, int insertAt,
                                                 bool startEventMode, ActionPalette& palette,
                                                 const std::string& savePath)
{
    ActionPaletteTarget target;
    target.actions = &actions;
    target.selected = selected;
    target.insertAt = insertAt;
    target.startEventMode = startEventMode;
    target.palette = &palette;
    target.path = savePath;
    target.dialog = ActionPaletteDialogFor(owner);
    return RunActionPaletteCommand(id, target);
}

void InstallActionPaletteMenu()
{
    EventEditorHooks& hooks = EventEditorExtensions();
    hooks.extendActionMenu = [](DLG_EVENT_SET&, QMenu& menu) {
        FillActionPaletteMenu(menu, TheProject().m_ActionPalette);
    };
    hooks.actionCommand = [](DLG_EVENT_SET& dialog, int id) {
        std::vector<cEventAct> actions = dialog.Actions();
        int insertAt = dialog.ActionInsertLine();
        ActionPaletteOutcome done =
            RunActionPaletteMenuCommand(&dialog, id, actions, dialog.SelectedActions(), insertAt,
                                        dialog.StartEventMode(), TheProject().m_ActionPalette,
                                        ProjectFile::EventActionPlt);
        if (done.inserted > 0)
            dialog.SetActions(actions, insertAt);
        return done.handled;
    };
}
