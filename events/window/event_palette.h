// "イベントパレット": the tool window of template events. A selected entry is
// the event the map paints; entries are edited with the event editor and
// exchanged with the map through the one event clipboard.
#pragma once

#include <functional>

#include "ui/controls.h"
#include "ui/wnd.h"

class cEvent;

class DLG_EVENT : public DLG_CLASS {
public:
    enum {
        IDD = 166,
        IDC_EDIT_IF_PLACED = 1037,
        IDC_EDIT_BEFORE_PUT = 1035,
        IDC_LIST = 1241,
        IDC_INSERT = 1066,
        IDC_EDIT = 1226,
        IDC_DELETE = 1067,
        IDC_COUNT = 11071,
        IDM_LIST = 116,
        IDA_LIST = 117,
    };

    DLG_EVENT();
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;
    // The palette list may have changed behind the window (a new project, a
    // stage opened): shows it again.
    void RefreshLists() override;

    // Commands that belong to the main window (save, open, undo, redo, test
    // play) go there.
    std::function<void(int command)> forwardCommand;
    // After the selection (the brush) or an entry changed.
    std::function<void()> onChanged;

    CTRL_LIST_CLASS<cEvent>* List() const { return m_pList; }

private:
    void Changed();
    bool EditSelected();

    CTRL_LIST_CLASS<cEvent>* m_pList = nullptr;
};
