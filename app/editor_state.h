// The stage editor's process-wide state and the commands of the main window
// that need no window: new, open, close, save, the clear commands, palette
// modes, the undo steps and what the mouse does on the map. Questions go
// through the message sink; file names come from an injected chooser.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "stage/map_edit.h"
#include "stage/map_render.h"

class cStage;
class Project;

// What each palette mode keeps for itself: pen tool, cursor kind and brush.
struct ToolState {
    PenTool pen = PenTool::Normal;
    int cursorKind = CURSOR_NORMAL;
    Brush brush;
};

// An open or save file question and the chooser that answers it (true with a
// stored path in path, false when cancelled).
struct FileQuestion {
    bool save = false;
    std::string title;
    std::string folder;
    std::vector<std::pair<std::string, std::string>> filter;  // display text, pattern
    std::string defaultExt;
};
using FileChooser = std::function<bool(std::string& path, const FileQuestion& question)>;

// The stage's layers as the painting code sees them.
MapLayers StageLayers(cStage& stage);

class EditorState {
public:
    EditorState();

    bool stageOpen = false;
    std::string stagePath;           // relative where possible; empty before the first save
    bool stageModified = false;
    bool paletteModified = false;    // the event palette
    PaletteMode mode = PaletteMode::Chips;
    bool testPlayRunning = false;
    uint32_t testPlayStart = 0;

    std::array<ToolState, 3> tools;
    UndoHistory undo;

    // The map cursor and the anchors of the line, rectangle and pick-up.
    CellPos cursor{0, 0};
    CellPos anchor{0, 0};
    CellPos pickAnchor{0, 0};
    bool penDown = false;            // the left button paints
    bool picking = false;            // the right button picks up
    bool marked = false;             // cursor kind 4 shows this cell
    CellPos markCell{0, 0};
    // The event palette's selection (-1 none) and the event clipboard.
    int paletteEvent = -1;
    std::vector<cEvent> eventClipboard;
    // The event editor's clipboards, shared by every event it opens.
    std::vector<cEventPage> pageClipboard;
    std::vector<cEventAct> actionClipboard;
    // Set while the start event is edited; every other way into the event
    // editor clears it.
    bool startEventMode = false;
    // The event stroke in progress has recorded its undo step.
    bool strokeUndone = false;

    ToolState& Tools() { return tools[static_cast<int>(mode)]; }
    const ToolState& Tools() const { return tools[static_cast<int>(mode)]; }
    // Normal pen, 1 x 1 brush and nothing selected in every mode; chip mode.
    void ResetTools();
};

// The editor of this process.
EditorState& Editor();

// "ヴァントール  <path>", or the application name alone before the first save (CP932).
std::string TitleText(const std::string& stagePath);

// The file questions of the stage commands.
FileQuestion OpenStageQuestion();
FileQuestion SaveStageQuestion();
FileQuestion DefaultStageQuestion();

// The commands. Each returns true when it did what it was asked; new, open and
// close then want the main window rebuilt.
bool NewStage(EditorState& ed, Project& p);
bool OpenStage(EditorState& ed, Project& p, const FileChooser& choose);
void CloseStage(EditorState& ed, Project& p);
// Writes the event palette, then the stage: over its file, or (saveAs, or never
// saved) to a file the chooser names.
bool SaveStage(EditorState& ed, Project& p, bool saveAs, const FileChooser& choose);
void SaveEventPalette(EditorState& ed, Project& p);
bool ChangeDefaultStage(Project& p, const FileChooser& choose);
// Asks, then clears every chip (to 0), every placed enemy or every event.
enum class ClearLayer { Chips, Enemies, Events };
bool ClearStageLayer(EditorState& ed, Project& p, ClearLayer layer);
// Asks to save the stage and the event palette when they changed; false when
// the user cancelled (the caller stops).
bool ConfirmSave(EditorState& ed, Project& p, const FileChooser& choose);

// Switches the palette mode (only while a stage is open); true when it changed.
bool SetPaletteMode(EditorState& ed, PaletteMode mode);
PaletteMode NextPaletteMode(PaletteMode mode);
// Sets the pen tool of the current mode and with it the cursor kind.
void SetPenTool(EditorState& ed, PenTool pen);

// Undo steps of the stage with the depth from the editor settings.
bool PushUndo(EditorState& ed, Project& p);
bool UndoStep(EditorState& ed, Project& p);
bool RedoStep(EditorState& ed, Project& p);

// What the mouse does on the map, cell by cell. The event hooks open the event
// editor on an event (true for OK); unset hooks accept.
struct MapHooks {
    std::function<bool(cEvent& event)> editNewEvent;
    std::function<bool(cEvent& event)> editPlacedEvent;
};
// Left button: press, move while down, release; right button: pick-up.
// Each returns true when the map (or the brush) changed.
bool PenPress(EditorState& ed, Project& p, CellPos cell, const MapHooks& hooks = {});
bool PenDrag(EditorState& ed, Project& p, CellPos cell, const MapHooks& hooks = {});
bool PenRelease(EditorState& ed, Project& p, CellPos cell);
void PickPress(EditorState& ed, CellPos cell);
// Ends the pick-up; in enemy mode a 1 x 1 pick-up over an enemy gives its index
// (the enemy palette selects it), otherwise -1.
int PickRelease(EditorState& ed, Project& p, CellPos cell);
// The enemy a right double-click edits: the 1 x 1 enemy brush's placement, or -1.
int EnemyToEdit(const EditorState& ed, const Project& p);

// The cell under a pixel of a view scrolled to (scrollX, scrollY) cells, of
// clientW x clientH pixels: outside the client area the pixel is pulled in and
// the cell pulled into the map. False when a pixel inside the client area lies
// beyond the map (the cursor then stays).
bool CellAt(int px, int py, int scrollX, int scrollY, int clientW, int clientH, int mapW, int mapH, CellPos& cell);

// The wheel's notches: delta / 120, 1 in the scroll-down direction whatever its
// size, at most 9 in the other.
int WheelNotches(int delta);

// Selects entry index of the event palette as the event brush (1 x 1); -1 or
// an index outside the palette selects none (a 0 x 0 brush, no cursor frame).
void SelectPaletteEvent(EditorState& ed, const Project& p, int index);

// The events of the stage on a cell, -1 when none.
int EventAt(const cStage& stage, int x, int y);
// Event cell commands; each returns true when the stage changed.
bool CopyEventAt(EditorState& ed, Project& p, CellPos cell);
bool CutEventAt(EditorState& ed, Project& p, CellPos cell);
bool PasteEventAt(EditorState& ed, Project& p, CellPos cell);
bool DeleteEventAt(EditorState& ed, Project& p, CellPos cell);
// A fresh event for the cell, placed when the hook accepts it.
bool NewEventAt(EditorState& ed, Project& p, CellPos cell, const MapHooks& hooks);

// The map view's cursor for the editor's state, and the scene of the project's
// stage and images.
MapCursor CursorOf(const EditorState& ed);
MapScene ProjectScene(const Project& p);
