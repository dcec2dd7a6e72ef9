#include "events/window/event_action_editor.h"
#include "events/window/event_set_dialog.h"

#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "events/action_forms.h"
#include "events/window/action_dialogs.h"
#include "ui/qt_text.h"

namespace {

int ButtonOf(int kind) { return kChooserButtonFirst + kind - 1; }

// The chooser's columns: nine, nine and seven buttons.
constexpr int kColumnHeight = 9;

}  // namespace

DLG_EVENTACT::DLG_EVENTACT(cEventAct& action, bool newAction, bool startEventMode)
    : m_Action(action), m_bNew(newAction), m_bStartEvent(startEventMode)
{
    SetTitle(QStringLiteral("イベントのアクション"));
}

void DLG_EVENTACT::Build(QDialog* dialog)
{
    auto* outer = new QVBoxLayout(dialog);
    auto* grid = new QGridLayout;
    outer->addLayout(grid);
    for (int kind = 1; kind <= kChooserLastKind; ++kind) {
        auto* b = new QPushButton(dialog);
        b->setMinimumWidth(200);
        grid->addWidget(b, (kind - 1) % kColumnHeight, (kind - 1) / kColumnHeight);
        AddItem(ButtonOf(kind), b);
    }
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), dialog);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(cancel);
    outer->addLayout(row);
    AddItem(IDC_CANCEL, cancel);
}

void DLG_EVENTACT::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    for (int kind = 1; kind <= kChooserLastKind; ++kind) {
        if (auto* b = qobject_cast<QPushButton*>(Item(ButtonOf(kind)))) {
            b->setText(ToQt(ActionKind(kind).label));
            b->setEnabled(ChooserButtonEnabled(kind, m_bStartEvent));
        }
    }
    // An existing action goes straight to its kind's dialog.
    if (int kind = ChooserOpeningKind(m_Action, m_bNew, m_bStartEvent))
        Press(kind);
}

void DLG_EVENTACT::Press(int kind)
{
    m_Action.m_nKind = kind;
    std::unique_ptr<DLG_EACT_BASE> dialog = MakeActionDialog(kind, m_Action, m_bNew, m_bStartEvent);
    if (!dialog) {
        // Stage clear and game over have nothing to edit.
        m_Action.NormalizeAction();
        Close(1);
        return;
    }
    // Pressed at the opening the chooser is not on screen: the kind's dialog
    // then stands over the chooser's own owner. Otherwise its modal run holds
    // the chooser still.
    bool shown = m_pWnd && m_pWnd->isVisible();
    dialog->SetupWindow(ActionKind(kind).dialogId, shown ? m_pWnd : m_pParentWnd.data(), shown ? this : m_pOwner);
    dialog->SetOwner(shown ? this : m_pOwner, true);
    Close(dialog->DoModal());
}

void DLG_EVENTACT::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    if (code != Notify::Click)
        return;
    if (id == IDC_CANCEL || id == IDC_ESCAPE) {
        Close(0);
        return;
    }
    int kind = id - kChooserButtonFirst + 1;
    if (ChooserButtonEnabled(kind, m_bStartEvent))
        Press(kind);
}

int EditEventAction(WND_CLASS* owner, cEventAct& action, bool newAction, bool startEventMode)
{
    DLG_EVENTACT chooser(action, newAction, startEventMode);
    chooser.SetupWindow(DLG_EVENTACT::IDD, owner ? owner->Widget() : nullptr, owner);
    chooser.SetOwner(owner, true);
    return chooser.DoModal();
}

void InstallActionEditor() { EventEditorExtensions().editAction = EditEventAction; }
