// "イベント": the event editor. Edits one event on a working copy: its name,
// holder flag and pages, each page's conditions, trigger, graphic and actions.
// The same dialog edits the start event with everything but the action list
// disabled.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "events/event_edit.h"
#include "ui/controls.h"
#include "ui/wnd.h"

class EditorState;
class Project;
class DLG_EVENT_SET;

// What other editors plug into every event editor: the action editor (owner,
// action, whether it is a new one, start-event mode; 1 when accepted), items
// added to the action list's menu 176 as it opens, and the commands of those
// items (true when handled).
struct EventEditorHooks {
    std::function<int(WND_CLASS* owner, cEventAct& act, bool newAction, bool startEventMode)> editAction;
    std::function<void(DLG_EVENT_SET& dialog, QMenu& menu)> extendActionMenu;
    std::function<bool(DLG_EVENT_SET& dialog, int command)> actionCommand;
};
EventEditorHooks& EventEditorExtensions();

class DLG_EVENT_SET : public DLG_CLASS {
public:
    enum { IDD = 167, IDM_PAGES = 116, IDA_PAGES = 117, IDM_ACTIONS = 176, IDA_ACTIONS = 130 };

    // Edits target; it changes only on OK.
    DLG_EVENT_SET(cEvent* target, bool startEventMode);

    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;
    void ExtendPopup(QMenu& menu, int menuId) override;

    // Edits one action (1 when accepted). Unset, an inserted action is removed
    // again. Filled from EventEditorExtensions() when the dialog is made.
    std::function<int(cEventAct&, bool newAction)> editAction;

    // The shown page's action list as the list shows it, and its selected lines.
    std::vector<cEventAct> Actions();
    std::vector<int> SelectedActions();
    // The line a paste goes before: the first selected line, the append line
    // being the list's size; -1 with no line selected.
    int ActionInsertLine();
    // Replaces the shown page's actions and selects line select.
    void SetActions(const std::vector<cEventAct>& actions, int select);

    bool StartEventMode() const { return m_bStartEventMode; }
    const EventEditSession& Session() const { return m_Session; }

    // The lists, for tests and the action palette commands.
    CTRL_LIST_CLASS<cEventPage>* PageList() const { return m_pPages; }
    CTRL_LIST_CLASS<cEventAct>* ActionList() const { return m_pActions; }

private:
    void ApplyEnabling();
    void ShowPage(int index);
    void UpdatePreview();
    void FillCommonVariables();
    void PageCommand(int id);
    void ActionCommand(int id);
    void InsertAction();
    void EditSelectedAction();
    void RenameVariable();
    void ChooseGraphic();
    // Stores the controls and brings the page list's lines up to date.
    void StoreAndRefresh();

    cEvent* m_pTarget;
    bool m_bStartEventMode;
    EventEditSession m_Session;
    CTRL_LIST_CLASS<cEventPage>* m_pPages = nullptr;
    CTRL_LIST_CLASS<cEventAct>* m_pActions = nullptr;
    CTRL_COMBO_CLASS<int32_t>* m_pCommonVar = nullptr;
};

// Runs the event editor on event over owner; clears the start-event mode
// first. 1 for OK (event changed), 0 for Cancel.
int EditEvent(WND_CLASS* owner, EditorState& ed, cEvent& event);
// Edits the project's start event in start-event mode; OK writes it back and
// saves "data\database\StartEvent.dat" at once. 1 for OK.
int EditStartEvent(WND_CLASS* owner, Project& p, EditorState& ed);
