// "イベントアクションパレット": renames, describes, reorders and deletes the
// entries of the action palette; and the palette's part of the event editor's
// action-list menu (176) with the commands behind it.
#pragma once

#include <string>
#include <vector>

#include "events/action_palette.h"
#include "ui/wnd.h"

class QMenu;

// Works on the working list it is given (a copy the caller owns): OK stores the
// edits of the shown entry and ends with 1, Cancel ends with 0. Mode 0 selects
// the first entry, mode 1 the last (the one "新規保存" just made).
class DLG_EVENTACTPLT : public DLG_CLASS {
public:
    enum {
        IDD = 218,
        IDC_LIST = 1587,
        IDC_CONTENTS = 1588,
        IDC_UP = 1068,
        IDC_DOWN = 1069,
        IDC_DELETE = 1067,
        IDC_NAME = 1044,
        IDC_DESCRIPTION = 12057,
    };

    DLG_EVENTACTPLT(ActionPalette& working, int mode);
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

    int Selected() const { return m_nSel; }

    // Runs the dialog modally over owner (may be null).
    static int Run(WND_CLASS* owner, ActionPalette& working, int mode);

private:
    // The name and description edits into the shown entry.
    void StoreEntry();
    // The selected entry into the edits, the list selection and the contents label.
    void ShowEntry();
    void FillList();

    ActionPalette& m_Work;
    int m_nMode;
    int m_nSel = -1;
    std::string m_Name, m_Description;  // the edits' variables
};

// The palette dialog as the palette commands run it, over owner.
ActionPaletteDialog ActionPaletteDialogFor(WND_CLASS* owner);

// Appends the palette's part of the action list's menu: "アクションパレットから貼り付け"
// with an item per entry, "アクションパレットへ保存" with "新規保存" and
// "上書き保存" (an item per entry), and "アクションパレットの並べ替え". Each
// item carries its command id as data; each entry item shows the entry's
// description and contents as its tooltip. Build it each time the menu opens.
void FillActionPaletteMenu(QMenu& menu, const ActionPalette& palette);

// Runs a command of that part chosen in the event editor: actions is the shown
// page's action list, selected its selected lines, insertAt the line a paste
// goes before (the list's size for the append line, -1 for none). The dialog
// opens over owner. handled is false for ids that are no palette command.
ActionPaletteOutcome RunActionPaletteMenuCommand(WND_CLASS* owner, int id, std::vector<cEventAct>& actions,
                                                 const std::vector<int>& selected, int insertAt,
                                                 bool startEventMode, ActionPalette& palette,
                                                 const std::string& savePath);

// Plugs the palette's part of menu 176 into every event editor, over the
// project's action palette.
void InstallActionPaletteMenu();
