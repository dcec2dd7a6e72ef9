// The action palette: a project-wide library of named action sequences
// ("data\EventActionPlt.dat"). The event editor saves selected actions as an
// entry, overwrites an entry with them and pastes an entry's actions into a
// page; the palette dialog renames, describes, reorders and deletes entries.
// Everything here is independent of the windows, which only call it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "events/event.h"
#include "records/serial.h"

// An entry of the action palette: a named sequence of event actions that the
// event editor pastes as a whole.
class cEventActPlt : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cEventActPlt)
    SERIAL_MEMBERS;

    std::string m_Name;         // "名称", one line of at most 64 characters
    std::string m_Description;  // "説明", one line of at most 256 characters
    RecordList<cEventAct> m_Actions;
};

using ActionPalette = RecordList<cEventActPlt>;

constexpr int kActionPaletteMax = 999;  // entries "新規保存" can make
constexpr int kActionPaletteNameMax = 64;
constexpr int kActionPaletteDescriptionMax = 256;

// "内容： " followed by the labels of the entry's action kinds joined by " → " (CP932).
std::string ActionPaletteContents(const cEventActPlt& entry);
// The line of entry index (0-based) in the palette submenus: "%0.2d %s".
std::string ActionPaletteMenuText(int index, const cEventActPlt& entry);
// The tooltip of a submenu entry: the description (when there is one) and the contents.
std::string ActionPaletteTooltip(const cEventActPlt& entry);

// What a command id of the action list's menu asks of the palette.
enum class PaletteCommand { None, Paste, Overwrite, New, Sort };
struct PaletteCommandTarget {
    PaletteCommand command = PaletteCommand::None;
    int entry = -1;  // the entry of Paste and Overwrite
};
// The ids of entry i's paste and overwrite items; 0 for an entry no id reaches.
int ActionPalettePasteId(int entry);
int ActionPaletteOverwriteId(int entry);
// The command an id stands for; None for ids of other commands.
PaletteCommandTarget DecodeActionPaletteCommand(int id);

// The selected actions in list order (not in the order of the indices); indices
// outside the list are ignored, repeated ones taken once.
std::vector<cEventAct> SelectedActions(const std::vector<cEventAct>& actions, std::vector<int> selected);

// Copies of the actions as a paste inserts them: in start-event mode only the
// kinds the start event allows, each normalized to the current tables.
std::vector<cEventAct> ActionsForPaste(const std::vector<cEventAct>& source, bool startEventMode);

// Inserts copies of the entry's actions into actions before position at (the
// end when at is the list's size). Returns how many went in; nothing happens
// when at lies outside 0..size.
int PasteActionPaletteEntry(const cEventActPlt& entry, std::vector<cEventAct>& actions, int at,
                            bool startEventMode);

// Saves the palette to path (a stored path). A failure is not reported: the
// palette in memory keeps the change.
void SaveActionPalette(ActionPalette& palette, const std::string& path);

enum class NewEntryResult { Full, NothingSelected, Ready };
// Starts "新規保存": refused with an error box when the palette is full, then
// nothing when no action is given; otherwise working becomes a copy of the
// palette with a new entry (no name, no description, copies of the actions) at its end.
NewEntryResult PrepareNewActionPaletteEntry(const ActionPalette& palette, const std::vector<cEventAct>& selected,
                                            ActionPalette& working);

// "上書き保存" of entry: with actions given, asks whether to overwrite the entry;
// on Yes replaces its actions by copies (name and description stay) and saves
// the palette at once. Returns 1 when the entry was replaced.
int OverwriteActionPaletteEntry(ActionPalette& palette, int entry, const std::vector<cEventAct>& selected,
                                const std::string& path);

// The palette dialog's commands on its working list. Each returns the entry to
// select afterwards; "↑" on the first and "↓" on the last change nothing.
int MoveActionPaletteEntryUp(ActionPalette& palette, int entry);
int MoveActionPaletteEntryDown(ActionPalette& palette, int entry);
// Deletes the entry; the selection stays on its line (the new last entry when
// it was the last; -1 when the palette is empty).
int DeleteActionPaletteEntry(ActionPalette& palette, int entry);

// Runs the palette dialog on a working list in a mode (0: the first entry
// selected, 1: the last); returns 1 for OK, 0 for cancel.
using ActionPaletteDialog = std::function<int(ActionPalette& working, int mode)>;

// Runs the dialog on a copy of the palette; on OK the copy replaces the palette,
// which is saved. Returns the dialog's result.
int EditActionPalette(ActionPalette& palette, const std::string& path, int mode, const ActionPaletteDialog& dialog);

// Everything a palette command of the action list's menu works on.
struct ActionPaletteTarget {
    std::vector<cEventAct>* actions = nullptr;  // the action list of the shown page
    std::vector<int> selected;                 // the selected lines
    int insertAt = -1;                         // the line a paste goes before (size: the end)
    bool startEventMode = false;
    ActionPalette* palette = nullptr;
    std::string path;                          // where the palette is saved
    ActionPaletteDialog dialog;
};
struct ActionPaletteOutcome {
    bool handled = false;         // the id was a palette command
    int inserted = 0;             // actions a paste put into the list, at insertAt
    bool paletteChanged = false;  // the palette was replaced or an entry overwritten
};
// Runs the palette command of id on the target.
ActionPaletteOutcome RunActionPaletteCommand(int id, ActionPaletteTarget& target);
