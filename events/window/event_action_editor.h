// The action chooser "イベントのアクション" and the entry point the event
// editors call to create or change one action.
#pragma once

#include "events/event.h"
#include "ui/wnd.h"

class DLG_EVENTACT : public DLG_CLASS {
public:
    enum { IDD = 170 };

    DLG_EVENTACT(cEventAct& action, bool newAction, bool startEventMode);
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

private:
    // Sets the kind and runs its dialog; ends the chooser with the result.
    void Press(int kind);

    cEventAct& m_Action;
    bool m_bNew;
    bool m_bStartEvent;
};

// Creates (newAction) or changes an action: the chooser, then the kind's
// dialog. 1 on OK, 0 on cancel. A cancelled dialog leaves the kind the chooser
// set and the parameters brought to its counts, but no edited value.
int EditEventAction(WND_CLASS* owner, cEventAct& action, bool newAction, bool startEventMode);

// Plugs the chooser and the kind dialogs into every event editor (the editor
// calls this once at start; without it an inserted action is removed again).
void InstallActionEditor();
