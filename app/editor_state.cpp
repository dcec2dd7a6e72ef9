#include "app/editor_state.h"

#include <algorithm>

#include "base/host_file.h"
#include "base/log.h"
#include "media/image_table.h"
#include "base/paths.h"
#include "base/text.h"
#include "project/project.h"
#include "stage/stage.h"

namespace {

const char* const kStageExt = "stg2";

std::string StageFilterText() { return StrPrintf("StageFile ( *.%s )", kStageExt); }

// Shown when a stage file lies on another drive than the editor; the file is
// then kept by its absolute path.
void ShowDriveMessage()
{
    ErrorBoxPrintf("%s", SJ("ヴァントール本体が存在するドライブとステージファイルが存在するドライブとが異なります！\n"
                            "全てのファイルは同一ドライブに保存することを推奨します。")
                             .c_str());
}

bool AskYesNo(const std::string& text, const std::string& title)
{
    return MessageBoxText(text, title, Buttons::YesNo) == Answer::Yes;
}

int ChipCount(const Project& p) { return p.m_Lands.size(); }

// After a stage was created, opened or closed: nothing to undo, nothing changed.
void StageReplaced(EditorState& ed, bool open, const std::string& path)
{
    ed.stageOpen = open;
    ed.stagePath = path;
    ed.undo.Clear();
    ed.stageModified = false;
    ed.penDown = false;
    ed.picking = false;
}

}  // namespace

MapLayers StageLayers(cStage& stage)
{
    MapLayers m;
    m.width = stage.m_nWidth;
    m.height = stage.m_nHeight;
    m.pitchBits = stage.m_nPitchBits;
    m.chips = &stage.m_Map;
    m.enemies = &stage.m_PutEnemy;
    m.events = &stage.m_Events;
    return m;
}

EditorState::EditorState() { ResetTools(); }

void EditorState::ResetTools()
{
    for (ToolState& t : tools)
        t = ToolState();
    // No chip is chosen until the palette or a pick-up chooses one.
    tools[static_cast<int>(PaletteMode::Chips)].brush.chip[0][0] = -1;
    mode = PaletteMode::Chips;
    paletteEvent = -1;
    marked = false;
    penDown = picking = false;
}

EditorState& Editor()
{
    static EditorState state;
    return state;
}

std::string TitleText(const std::string& stagePath)
{
    std::string title = SJ("ヴァントール");
    if (!stagePath.empty())
        title += "  " + stagePath;
    return title;
}

FileQuestion OpenStageQuestion()
{
    return {false, SJ("読み込むファイルの選択"), "data\\stg", {{StageFilterText(), "*.stg2"}}, kStageExt};
}

FileQuestion SaveStageQuestion()
{
    return {true, SJ("保存先のファイルの選択"), "data\\stg\\", {{StageFilterText(), StrPrintf("*.%s", kStageExt)}}, kStageExt};
}

FileQuestion DefaultStageQuestion()
{
    return {false, SJ("デフォルトステージの選択"), "data\\stg", {{StageFilterText(), "*.stg2"}}, kStageExt};
}

bool NewStage(EditorState& ed, Project& p)
{
    if (ed.stageOpen && !AskYesNo(SJ("現在のステージは破棄されます。\n新規作成しますか？\n"), SJ("新規作成の確認")))
        return false;
    // The template is read over a fresh stage, so that nothing of the old stage
    // survives in members an older template lacks.
    const std::string& path = p.m_EditConfig.m_DefaultStagePath;
    if (!PrepareStageTemplate(p.m_Stage, path)) {
        p.m_Stage.NewStage();
        p.m_Stage.ValidateStage();
        ErrorBoxPrintf(SJ("デフォルトステージ %s の読み込みに失敗しました！").c_str(), path.c_str());
    }
    StageReplaced(ed, true, std::string());
    return true;
}

bool OpenStage(EditorState& ed, Project& p, const FileChooser& choose)
{
    std::string path;
    if (!choose || !choose(path, OpenStageQuestion()))
        return false;
    if (!MakeRelative(path))
        ShowDriveMessage();
    // Read into a separate stage prepared as start-up prepares the remembered
    // one: a file that fails leaves the open stage as it was, and nothing of the
    // open stage reaches the new one.
    cStage stage;
    if (!LoadStageOverTemplate(stage, p.m_EditConfig.m_DefaultStagePath, path)) {
        ReportLoadFailure(path);
        return false;
    }
    const bool endedEarly = LastLoadEndedEarly;
    p.m_Stage = std::move(stage);
    StageReplaced(ed, true, path);
    if (endedEarly) {
        const std::string text =
            StrPrintf(SJ("ステージファイル「%s」は途中で終わっています。読めなかった部分は既定値のままです。").c_str(),
                      path.c_str());
        ReportPrintf("%s", text.c_str());
        ErrorBoxPrintf("%s", text.c_str());
    }
    return true;
}

void CloseStage(EditorState& ed, Project& p)
{
    p.m_Stage.NewStage();
    StageReplaced(ed, false, std::string());
}

void SaveEventPalette(EditorState& ed, Project& p)
{
    // A palette that could not be written is still unsaved.
    if (SaveListFile(p.m_EventPalette, ProjectFile::EventPlt))
        ed.paletteModified = false;
}

bool SaveStage(EditorState& ed, Project& p, bool saveAs, const FileChooser& choose)
{
    ClearWriteFailures();
    SaveEventPalette(ed, p);
    bool saved = false;
    if (!saveAs && !ed.stagePath.empty()) {
        saved = p.m_Stage.SaveFile(ed.stagePath) != 0;
    } else {
        std::string path;
        if (choose && choose(path, SaveStageQuestion())) {
            if (!MakeRelative(path))
                ShowDriveMessage();
            if (p.m_Stage.SaveFile(path)) {
                ed.stagePath = path;
                saved = true;
            }
        }
    }
    if (saved)
        ed.stageModified = false;
    ReportWriteFailures();
    return saved;
}

bool ChangeDefaultStage(Project& p, const FileChooser& choose)
{
    std::string path;
    if (!choose || !choose(path, DefaultStageQuestion()))
        return false;
    // The template must travel with the project.
    if (!MakeRelative(path))
        return false;
    p.m_EditConfig.m_DefaultStagePath = path;
    p.m_EditConfig.SaveFile(ProjectFile::EditConfig);
    return true;
}

bool ClearStageLayer(EditorState& ed, Project& p, ClearLayer layer)
{
    static const char* const kQuestions[] = {"全てのマップチップをクリアしますか？", "全ての敵をクリアしますか？",
                                             "全てのイベントをクリアしますか？"};
    if (!AskYesNo(Utf8ToCp932(kQuestions[static_cast<int>(layer)]), SJ("データクリアの確認")))
        return false;
    PushUndo(ed, p);
    cStage& s = p.m_Stage;
    switch (layer) {
    case ClearLayer::Chips: std::fill(s.m_Map.begin(), s.m_Map.end(), 0); break;
    case ClearLayer::Enemies: s.m_PutEnemy.clear(); break;
    case ClearLayer::Events: s.m_Events.clear(); break;
    }
    ed.stageModified = true;
    return true;
}

bool ConfirmSave(EditorState& ed, Project& p, const FileChooser& choose)
{
    if (ed.stageOpen && ed.stageModified) {
        Answer a = MessageBoxText(SJ("ステージが変更された可能性があります。\n保存しますか？"), SJ("保存確認"),
                                  Buttons::YesNoCancel);
        if (a == Answer::Cancel)
            return false;
        // A Yes whose save did not happen (no name given, or the write failed)
        // stops the caller like Cancel: going on would throw the changes away.
        if (a == Answer::Yes && !SaveStage(ed, p, false, choose))
            return false;
    }
    if (ed.paletteModified) {
        Answer a = MessageBoxText(SJ("イベントパレットが変更された可能性があります。\n保存しますか？"), SJ("保存確認"),
                                  Buttons::YesNoCancel);
        if (a == Answer::Cancel)
            return false;
        if (a == Answer::Yes && !SaveListFile(p.m_EventPalette, ProjectFile::EventPlt))
            return false;
        ed.paletteModified = false;
    }
    return true;
}

bool SetPaletteMode(EditorState& ed, PaletteMode mode)
{
    if (!ed.stageOpen || mode == ed.mode)
        return false;
    // Each mode keeps its own tool set; a stroke in progress does not carry over.
    ed.penDown = ed.picking = false;
    ed.Tools().cursorKind = CursorKindOf(ed.Tools().pen);
    ed.mode = mode;
    return true;
}

PaletteMode NextPaletteMode(PaletteMode mode) { return static_cast<PaletteMode>((static_cast<int>(mode) + 1) % 3); }

void SetPenTool(EditorState& ed, PenTool pen)
{
    ed.Tools().pen = pen;
    ed.Tools().cursorKind = CursorKindOf(pen);
}

bool PushUndo(EditorState& ed, Project& p)
{
    ed.undo.SetDepthLimit(p.m_EditConfig.m_nUndoDepth);
    MapLayers map = StageLayers(p.m_Stage);
    return ed.undo.PushUndo(map);
}

bool UndoStep(EditorState& ed, Project& p)
{
    ed.undo.SetDepthLimit(p.m_EditConfig.m_nUndoDepth);
    MapLayers map = StageLayers(p.m_Stage);
    if (!ed.undo.Undo(map))
        return false;
    ed.stageModified = true;
    return true;
}

bool RedoStep(EditorState& ed, Project& p)
{
    ed.undo.SetDepthLimit(p.m_EditConfig.m_nUndoDepth);
    MapLayers map = StageLayers(p.m_Stage);
    if (!ed.undo.Redo(map))
        return false;
    ed.stageModified = true;
    return true;
}

// ---------------------------------------------------------------------------
// The mouse on the map

namespace {

// The event palette's placing rules, for one cell of a stroke: with
// "配置済みなら編集" a cell holding an event opens the editor on that event;
// with "配置直前に編集" each copy is edited before it is placed; otherwise a
// copy is placed. opened tells that the editor was opened (the stroke ends).
// The stroke records one undo step, before its first change.
bool PaintEventCell(EditorState& ed, Project& p, CellPos cell, const MapHooks& hooks, bool& opened)
{
    opened = false;
    if (ed.paletteEvent < 0 || ed.paletteEvent >= p.m_EventPalette.size())
        return false;
    MapLayers map = StageLayers(p.m_Stage);
    if (!map.Inside(cell.x, cell.y))
        return false;
    auto record = [&] {
        if (!ed.strokeUndone)
            PushUndo(ed, p);
        ed.strokeUndone = true;
    };
    const int standing = EventAt(p.m_Stage, cell.x, cell.y);
    const PlaceChoice choice = ChoosePlacing(p.m_EditConfig.m_bEventEditIfPlaced != 0,
                                             p.m_EditConfig.m_bEventEditBeforePut != 0, standing >= 0);
    if (choice == PlaceChoice::EditPlaced) {
        opened = true;
        cEvent copy = p.m_Stage.m_Events[standing];
        if (hooks.editPlacedEvent && !hooks.editPlacedEvent(copy))
            return false;
        record();
        p.m_Stage.m_Events[standing] = copy;
        return true;
    }
    if (choice == PlaceChoice::Place) {
        record();
        PlaceEvent(map, p.m_EventPalette[ed.paletteEvent], cell.x, cell.y);
        return true;
    }
    opened = true;
    cEvent copy = p.m_EventPalette[ed.paletteEvent];
    copy.m_nX = cell.x;
    copy.m_nY = cell.y;
    if (hooks.editNewEvent && !hooks.editNewEvent(copy))
        return false;
    record();
    PlaceEvent(map, copy, cell.x, cell.y);
    return true;
}

bool FirstChipValid(const EditorState& ed, const Project& p)
{
    return ValidChip(ed.Tools().brush.chip[0][0], ChipCount(p));
}

}  // namespace

bool PenPress(EditorState& ed, Project& p, CellPos cell, const MapHooks& hooks)
{
    ed.cursor = cell;
    ed.penDown = true;
    ed.anchor = cell;
    const bool wasModified = ed.stageModified;
    ed.stageModified = true;
    ToolState& t = ed.Tools();
    MapLayers map = StageLayers(p.m_Stage);
    switch (ed.mode) {
    case PaletteMode::Chips:
        // An invalid first chip paints nothing and keeps no undo step.
        if (!FirstChipValid(ed, p))
            return false;
        PushUndo(ed, p);
        if (t.pen == PenTool::Normal)
            StampChips(map, t.brush, cell.x, cell.y, ChipCount(p));
        else if (t.pen == PenTool::Fill)
            FloodFill(map, t.brush, cell.x, cell.y, ChipCount(p));
        return t.pen == PenTool::Normal || t.pen == PenTool::Fill;
    case PaletteMode::Enemies:
        if (t.pen != PenTool::Normal)
            return false;
        PushUndo(ed, p);
        StampEnemies(map, t.brush, cell.x, cell.y);
        return true;
    case PaletteMode::Events: {
        // A click or drag places copies; a cancelled edit changes nothing.
        ed.stageModified = wasModified;
        if (t.pen != PenTool::Normal)
            return false;
        ed.strokeUndone = false;
        bool opened = false;
        bool changed = PaintEventCell(ed, p, cell, hooks, opened);
        if (opened)
            ed.penDown = false;
        ed.stageModified = wasModified || changed;
        return changed;
    }
    }
    return false;
}

bool PenDrag(EditorState& ed, Project& p, CellPos cell, const MapHooks& hooks)
{
    const CellPos previous = ed.cursor;
    ed.cursor = cell;
    if (!ed.penDown || ed.Tools().pen != PenTool::Normal)
        return false;
    if (ed.mode == PaletteMode::Events) {
        if (previous.x == cell.x && previous.y == cell.y)
            return false;
        bool opened = false;
        bool changed = PaintEventCell(ed, p, cell, hooks, opened);
        if (opened)
            ed.penDown = false;
        ed.stageModified = ed.stageModified || changed;
        return changed;
    }
    MapLayers map = StageLayers(p.m_Stage);
    if (ed.mode == PaletteMode::Chips) {
        if (!FirstChipValid(ed, p))
            return false;
        StampChips(map, ed.Tools().brush, cell.x, cell.y, ChipCount(p));
        return true;
    }
    if (ed.mode == PaletteMode::Enemies) {
        StampEnemies(map, ed.Tools().brush, cell.x, cell.y);
        return true;
    }
    return false;
}

bool PenRelease(EditorState& ed, Project& p, CellPos cell)
{
    ed.cursor = cell;
    if (!ed.penDown)
        return false;
    ed.penDown = false;
    if (ed.mode != PaletteMode::Chips || !FirstChipValid(ed, p))
        return false;
    const ToolState& t = ed.Tools();
    MapLayers map = StageLayers(p.m_Stage);
    if (t.pen == PenTool::Line) {
        DrawLine(map, t.brush, ed.anchor.x, ed.anchor.y, cell.x, cell.y, ChipCount(p));
        return true;
    }
    if (t.pen == PenTool::Rectangle) {
        FillRectangle(map, t.brush, ed.anchor.x, ed.anchor.y, cell.x, cell.y, ChipCount(p));
        return true;
    }
    return false;
}

void PickPress(EditorState& ed, CellPos cell)
{
    ed.cursor = cell;
    if (ed.mode == PaletteMode::Events)
        return;
    ed.pickAnchor = cell;
    ed.picking = true;
    ed.Tools().cursorKind = CURSOR_PICKUP;
    ed.paletteEvent = -1;
}

int PickRelease(EditorState& ed, Project& p, CellPos cell)
{
    ed.cursor = cell;
    if (!ed.picking)
        return -1;
    ed.picking = false;
    ToolState& t = ed.Tools();
    MapLayers map = StageLayers(p.m_Stage);
    PickUp(map, t.brush, ed.mode, ed.pickAnchor.x, ed.pickAnchor.y, cell.x, cell.y);
    t.cursorKind = CursorKindOf(t.pen);
    if (ed.mode == PaletteMode::Enemies && t.brush.width == 1 && t.brush.height == 1)
        return t.brush.enemy[0][0];
    return -1;
}

int EnemyToEdit(const EditorState& ed, const Project& p)
{
    const ToolState& t = ed.Tools();
    if (ed.mode != PaletteMode::Enemies || t.brush.width != 1 || t.brush.height != 1)
        return -1;
    int e = t.brush.enemy[0][0];
    return e >= 0 && e < p.m_Stage.m_PutEnemy.size() ? e : -1;
}

bool CellAt(int px, int py, int scrollX, int scrollY, int clientW, int clientH, int mapW, int mapH, CellPos& cell)
{
    if (mapW < 1 || mapH < 1)
        return false;
    bool inside = px >= 0 && py >= 0 && px < clientW && py < clientH;
    if (inside) {
        CellPos c{scrollX + px / kChipSize, scrollY + py / kChipSize};
        if (c.x >= mapW || c.y >= mapH)
            return false;
        cell = c;
        return true;
    }
    px = std::clamp(px, 0, std::max(clientW - 1, 0));
    py = std::clamp(py, 0, std::max(clientH - 1, 0));
    cell.x = std::clamp(scrollX + px / kChipSize, 0, mapW - 1);
    cell.y = std::clamp(scrollY + py / kChipSize, 0, mapH - 1);
    return true;
}

int WheelNotches(int delta)
{
    if (delta < 0)
        return 1;
    return -std::min(delta / 120, 9);
}

// ---------------------------------------------------------------------------
// Event cells

void SelectPaletteEvent(EditorState& ed, const Project& p, int index)
{
    Brush& brush = ed.tools[static_cast<int>(PaletteMode::Events)].brush;
    if (index >= 0 && index < p.m_EventPalette.size()) {
        ed.paletteEvent = index;
        brush.width = brush.height = 1;
    } else {
        ed.paletteEvent = -1;
        brush.width = brush.height = 0;
    }
}

int EventAt(const cStage& stage, int x, int y)
{
    for (int i = 0; i < stage.m_Events.size(); ++i)
        if (stage.m_Events[i].m_nX == x && stage.m_Events[i].m_nY == y)
            return i;
    return -1;
}

bool CopyEventAt(EditorState& ed, Project& p, CellPos cell)
{
    int i = EventAt(p.m_Stage, cell.x, cell.y);
    if (i < 0)
        return false;
    ed.eventClipboard.assign(1, p.m_Stage.m_Events[i]);
    return false;
}

bool CutEventAt(EditorState& ed, Project& p, CellPos cell)
{
    int i = EventAt(p.m_Stage, cell.x, cell.y);
    if (i < 0)
        return false;
    PushUndo(ed, p);
    ed.eventClipboard.assign(1, p.m_Stage.m_Events[i]);
    p.m_Stage.m_Events.erase(i);
    ed.stageModified = true;
    return true;
}

bool PasteEventAt(EditorState& ed, Project& p, CellPos cell)
{
    if (ed.eventClipboard.empty())
        return false;
    PushUndo(ed, p);
    MapLayers map = StageLayers(p.m_Stage);
    PlaceEvent(map, ed.eventClipboard.front(), cell.x, cell.y);
    ed.stageModified = true;
    return true;
}

bool DeleteEventAt(EditorState& ed, Project& p, CellPos cell)
{
    int i = EventAt(p.m_Stage, cell.x, cell.y);
    if (i < 0)
        return false;
    PushUndo(ed, p);
    p.m_Stage.m_Events.erase(i);
    ed.stageModified = true;
    return true;
}

bool NewEventAt(EditorState& ed, Project& p, CellPos cell, const MapHooks& hooks)
{
    cEvent fresh;
    fresh.m_nX = cell.x;
    fresh.m_nY = cell.y;
    if (hooks.editNewEvent && !hooks.editNewEvent(fresh))
        return false;
    PushUndo(ed, p);
    MapLayers map = StageLayers(p.m_Stage);
    PlaceEvent(map, fresh, cell.x, cell.y);
    ed.stageModified = true;
    return true;
}

MapCursor CursorOf(const EditorState& ed)
{
    const ToolState& t = ed.Tools();
    MapCursor c;
    c.kind = t.cursorKind;
    c.cell = ed.cursor;
    c.brushW = t.brush.width;
    c.brushH = t.brush.height;
    c.penDown = ed.penDown;
    c.anchor = ed.anchor;
    c.pickAnchor = ed.pickAnchor;
    c.marked = ed.marked;
    c.markCell = ed.markCell;
    return c;
}

MapScene ProjectScene(const Project& p)
{
    MapScene scene;
    scene.stage = &p.m_Stage;
    scene.chipImages.reserve(static_cast<std::size_t>(p.m_Lands.size()));
    for (const cLand& land : p.m_Lands)
        scene.chipImages.push_back(land.m_nGraphic);
    // A placed enemy shows the graphic of its class; an enemy or class
    // beyond its table shows nothing.
    scene.enemyPattern = [&p](int enemy) {
        if (enemy < 0 || enemy >= p.m_Enemies.size())
            return -1;
        int cls = p.m_Enemies[enemy].m_nClass;
        if (cls < 0 || cls >= p.m_Classes.size())
            return -1;
        return static_cast<int>(p.m_Classes[cls].m_nGraphic);
    };
    scene.art.chips = &ImageSurface(IMG_MAPCHIP);
    scene.art.chara = &ImageSurface(IMG_CHARACTER1);
    scene.art.events = &ImageSurface(IMG_EVENT);
    scene.art.markers = &ImageSurface(IMG_MAPCHARA);
    scene.art.charaKey = ColorKey();
    return scene;
}
