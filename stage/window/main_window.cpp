#include "stage/window/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QGridLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "app/test_play.h"
#include "base/log.h"
#include "base/paths.h"
#include "base/text.h"
#include "events/event_edit.h"
#include "events/window/event_palette.h"
#include "events/window/event_set_dialog.h"
#include "project/project.h"
#include "resources/ids.h"
#include "resources/menus.h"
#include "database/window/database_sheet.h"
#include "stage/map_render.h"
#include "stage/window/chip_palette.h"
#include "stage/window/enemy_palette.h"
#include "stage/window/palette_window.h"
#include "stage/window/testplay_dialog.h"
#include "world/window/world_map_window.h"
#include "ui/command_bars.h"
#include "ui/controls.h"
#include "ui/input_dialogs.h"
#include "ui/qt_text.h"
#include "ui/resources_qt.h"

DLG_MAIN* MainWindow = nullptr;

namespace {

PaletteMode ModeOfCommand(int id)
{
    switch (id) {
    case cmd::kPaletteEnemies:
    case cmd::kMenuPaletteEnemies: return PaletteMode::Enemies;
    case cmd::kPaletteEvents:
    case cmd::kMenuPaletteEvents: return PaletteMode::Events;
    default: return PaletteMode::Chips;
    }
}

// The toolbar's palette buttons, one per mode.
constexpr int kPaletteButtons[3] = {cmd::kPaletteChips, cmd::kPaletteEnemies, cmd::kPaletteEvents};

QIcon ToolIcon(QStyle* style, const ToolbarItem& item)
{
    switch (item.image) {
    case TI_NEW: return style->standardIcon(QStyle::SP_FileIcon);
    case TI_OPEN: return style->standardIcon(QStyle::SP_DialogOpenButton);
    case TI_SAVE: return style->standardIcon(QStyle::SP_DialogSaveButton);
    case TI_UNDO: return style->standardIcon(QStyle::SP_ArrowBack);
    case TI_REDO: return style->standardIcon(QStyle::SP_ArrowForward);
    case TI_PALETTE: return StripIcon("e_image\\ToolBar_Palette.bmp", item.index);
    case TI_TESTPLAY: return StripIcon("e_image\\ToolBar_TestPlay.bmp", item.index);
    }
    return QIcon();
}

}  // namespace

// ---------------------------------------------------------------------------
// Commands

const DLG_MAIN::CommandRow DLG_MAIN::kCommands[] = {
    {cmd::kStageNew, &DLG_MAIN::CmdNew, false},
    {cmd::kStageOpen, &DLG_MAIN::CmdOpen, false},
    {cmd::kStageOpenKey, &DLG_MAIN::CmdOpen, false},
    {cmd::kStageClose, &DLG_MAIN::CmdClose, true},
    {cmd::kStageSave, &DLG_MAIN::CmdSave, true},
    {cmd::kStageSaveKey, &DLG_MAIN::CmdSave, true},
    {cmd::kStageSaveAs, &DLG_MAIN::CmdSave, true},
    {cmd::kPaletteSave, &DLG_MAIN::CmdSavePalette, false},
    {cmd::kDefaultStage, &DLG_MAIN::CmdDefaultStage, false},
    {cmd::kUndo, &DLG_MAIN::CmdUndo, true},
    {cmd::kUndoKey, &DLG_MAIN::CmdUndo, true},
    {cmd::kRedo, &DLG_MAIN::CmdRedo, true},
    {cmd::kRedoKey, &DLG_MAIN::CmdRedo, true},
    {cmd::kPaletteChips, &DLG_MAIN::CmdPaletteMode, true},
    {cmd::kMenuPaletteChips, &DLG_MAIN::CmdPaletteMode, true},
    {cmd::kPaletteEnemies, &DLG_MAIN::CmdPaletteMode, true},
    {cmd::kMenuPaletteEnemies, &DLG_MAIN::CmdPaletteMode, true},
    {cmd::kPaletteEvents, &DLG_MAIN::CmdPaletteMode, true},
    {cmd::kMenuPaletteEvents, &DLG_MAIN::CmdPaletteMode, true},
    {cmd::kClearChips, &DLG_MAIN::CmdClear, true},
    {cmd::kClearEnemies, &DLG_MAIN::CmdClear, true},
    {cmd::kClearEvents, &DLG_MAIN::CmdClear, true},
    // The pen tools, which the chip palette's toolbar sends.
    {cmd::kPenNormal, &DLG_MAIN::CmdPenTool, true},
    {cmd::kPenLine, &DLG_MAIN::CmdPenTool, true},
    {cmd::kPenRect, &DLG_MAIN::CmdPenTool, true},
    {cmd::kPenFill, &DLG_MAIN::CmdPenTool, true},
    // Stage settings, position groups, start event, world map; the start
    // event, the world map, the database and test play need no stage.
    {cmd::kStageSettings, &DLG_MAIN::CmdStageSettings, true},
    {cmd::kPositionGroups, &DLG_MAIN::CmdPositionGroups, true},
    {cmd::kStartEvent, &DLG_MAIN::CmdStartEvent, false},
    {cmd::kWorldMap, &DLG_MAIN::CmdWorldMap, false},
    {cmd::kDatabase, &DLG_MAIN::CmdDatabase, false},
    {cmd::kTestPlaySettings, &DLG_MAIN::CmdTestPlaySettings, false},
    {cmd::kTestPlayButton, &DLG_MAIN::CmdTestPlay, false},
    {cmd::kTestPlay, &DLG_MAIN::CmdTestPlay, false},
    {cmd::kTestPlayKey, &DLG_MAIN::CmdTestPlay, false},
    // The event cell menu.
    {cmd::kMenuEdit, &DLG_MAIN::CmdEventCell, true},
    {cmd::kMenuCut1, &DLG_MAIN::CmdEventCell, true},
    {cmd::kMenuCopy1, &DLG_MAIN::CmdEventCell, true},
    {cmd::kMenuPaste1, &DLG_MAIN::CmdEventCell, true},
    {cmd::kMenuNew, &DLG_MAIN::CmdEventCell, true},
    {cmd::kMenuDelete1, &DLG_MAIN::CmdEventCell, true},
};

DLG_MAIN::DLG_MAIN()
{
    SetTitle(ToQt(TitleText(std::string())));
    chooseFile = [this](std::string& path, const FileQuestion& q) { return ChooseFile(path, q); };
    onQuit = [] { QCoreApplication::exit(0); };
}

DLG_MAIN::~DLG_MAIN()
{
    ClosePalettes();
    // Not after the application object is gone (the main window of the
    // process is a static object).
    if (m_pEventPalette && m_pEventPalette->Exists() && QCoreApplication::instance())
        m_pEventPalette->Close(0);
    if (MainWindow == this)
        MainWindow = nullptr;
}

bool DLG_MAIN::ChooseFile(std::string& path, const FileQuestion& q)
{
    if (q.save)
        return SaveFileDialog(this, path, q.folder, q.title, q.filter, q.defaultExt) != 0;
    return OpenFileDialog(this, path, q.folder, q.title, q.filter, q.defaultExt) != 0;
}

void DLG_MAIN::Build(QDialog* dialog)
{
    m_Actions.clear();
    // The main window is a top-level window of its own, the application's
    // entry in the task bar, with the title-bar buttons of one; the frame
    // behind it is never shown.
    dialog->setParent(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_pMenuBar = BuildMenuBar(this, dialog, kMainMenu, m_Actions);
    layout->setMenuBar(m_pMenuBar);
    m_pToolBar = BuildToolBar(this, dialog, IDC_TOOLBAR, kMainToolbar,
                              [style = dialog->style()](const ToolbarItem& item) { return ToolIcon(style, item); },
                              m_Actions);
    layout->addWidget(m_pToolBar);
    m_pMap = new MapViewWidget(dialog, QStringLiteral("map"));
    m_pMap->mapCells = [] {
        const cStage& s = TheProject().m_Stage;
        return QSize(s.m_nWidth, s.m_nHeight);
    };
    m_pMap->render = [this](Surface& canvas, int sx, int sy) { RenderView(canvas, sx, sy); };
    m_pMap->mouse = [this](QMouseEvent* e, CellPos cell, bool onMap) { MapMouse(e, cell, onMap); };
    m_pMap->cursor = [] { return Editor().cursor; };
    layout->addLayout(m_pMap->Layout(), 1);

    m_pStatus = new QStatusBar(dialog);
    m_pStatus->setSizeGripEnabled(false);
    layout->addWidget(m_pStatus);
    m_pMap->SetStatusBar(m_pStatus);
}

void DLG_MAIN::OnInitDialog()
{
    // Opens where it was closed the last time, 800 x 600 the first time.
    SetPlaceRecord(&TheProject().m_EditConfig.WndPos(ToolWindow::Main));
    if (!PlaceRecord()->m_bValid)
        SetFrame(800, 600, 0, 0, 0, 0);
    DLG_CLASS::OnInitDialog();
    MainWindow = this;
    m_bMinimized = false;
    if (auto* frame = dynamic_cast<VIEW_MAIN*>(m_pParentObj)) {
        frame->SetMainDialog(this);
        frame->onRestore = [this] { RestoreMinimized(); };
    }
    bool haveTable = false;
    for (const auto& acc : Accelerators())
        haveTable |= acc.first == IDA_MAIN && acc.second == m_pWnd;
    if (!haveTable)
        AddAccelerator(nullptr, IDA_MAIN);
    // Keys reaching the dialog go on to the map: Space cycles the palette
    // mode, F5 starts the test play, the arrows scroll.
    RelayKeys(this, [this](int key) { MapKey(key); });
    CreateEventPalette();
    OpenPalettes();

    UpdateTitle();
    RefreshUndoButtons();
    UpdateTestPlayTip();
    SetPaletteMode(Editor().mode);
    LayoutScrollBars();
    UpdateAll();
    m_pMap->setFocus();
}

void DLG_MAIN::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    for (const CommandRow& row : kCommands) {
        if (row.id != id)
            continue;
        if (row.needsStage && !Editor().stageOpen)
            break;
        (this->*row.handler)(id);
        break;
    }
    if (Exists()) {
        SyncPaletteButtons();
        Repaint();
    }
}

void DLG_MAIN::WithOthersDisabled(const std::function<void()>& body)
{
    std::vector<QPointer<QWidget>> disabled;
    for (DLG_CLASS* d : ModelessRegistry::Instance().Dialogs())
        if (d != this && d->Widget() && d->Widget()->isEnabled()) {
            d->Widget()->setEnabled(false);
            disabled.emplace_back(d->Widget());
        }
    body();
    for (auto& w : disabled)
        if (w)
            w->setEnabled(true);
}

void DLG_MAIN::AfterStageReplaced()
{
    RefreshUndoButtons();
    UpdateTitle();
    if (onStageReplaced) {
        onStageReplaced();
        return;
    }
    LayoutScrollBars();
    RefreshPalettes();
}

void DLG_MAIN::CmdNew(int)
{
    bool done = false;
    WithOthersDisabled([&] { done = NewStage(Editor(), TheProject()); });
    if (done)
        AfterStageReplaced();
}

void DLG_MAIN::CmdOpen(int)
{
    if (OpenStage(Editor(), TheProject(), chooseFile))
        AfterStageReplaced();
}

void DLG_MAIN::CmdClose(int)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CloseStage(Editor(), TheProject());
    AfterStageReplaced();
    QApplication::restoreOverrideCursor();
}

void DLG_MAIN::CmdSave(int id)
{
    WithOthersDisabled([&] { SaveStage(Editor(), TheProject(), id == cmd::kStageSaveAs, chooseFile); });
    UpdateTitle();
    if (m_pWnd)
        m_pWnd->activateWindow();
}

void DLG_MAIN::CmdSavePalette(int) { SaveEventPalette(Editor(), TheProject()); }

void DLG_MAIN::CmdDefaultStage(int) { ChangeDefaultStage(TheProject(), chooseFile); }

void DLG_MAIN::CmdUndo(int)
{
    UndoStep(Editor(), TheProject());
    RefreshUndoButtons();
    RefreshPalettes();
}

void DLG_MAIN::CmdRedo(int)
{
    RedoStep(Editor(), TheProject());
    RefreshUndoButtons();
    RefreshPalettes();
}

void DLG_MAIN::CmdPaletteMode(int id) { SetPaletteMode(ModeOfCommand(id)); }

void DLG_MAIN::CmdClear(int id)
{
    ClearLayer layer = id == cmd::kClearChips ? ClearLayer::Chips : id == cmd::kClearEnemies ? ClearLayer::Enemies : ClearLayer::Events;
    bool done = false;
    WithOthersDisabled([&] { done = ClearStageLayer(Editor(), TheProject(), layer); });
    if (done) {
        RefreshUndoButtons();
        RefreshPalettes();
    }
}

void DLG_MAIN::CmdPenTool(int id)
{
    PenTool pen = id == cmd::kPenLine ? PenTool::Line : id == cmd::kPenRect ? PenTool::Rectangle : id == cmd::kPenFill ? PenTool::Fill : PenTool::Normal;
    SetPenTool(Editor(), pen);
}

// The world map is project data: it opens with or without a stage.
void DLG_MAIN::CmdWorldMap(int) { OpenWorldMap(m_pParentObj); }

// The start event belongs to the project: no stage needed, no undo step, the
// stage not marked changed (OK saves its file at once).
void DLG_MAIN::CmdStartEvent(int) { EditStartEvent(this, TheProject(), Editor()); }

// The database window hides and disables the other windows while it is open.
void DLG_MAIN::CmdDatabase(int)
{
    OpenDatabaseWindow([this] {
        RefreshPalettes();
        Repaint();
    });
}

void DLG_MAIN::CmdTestPlay(int)
{
    StartTestPlay(Editor(), TheProject(), ProcessTestPlayHooks());
    RefreshUndoButtons();
    UpdateTitle();
    UpdateTestPlayTip();
}

void DLG_MAIN::CmdTestPlaySettings(int)
{
    DLG_TESTPLAY dlg;
    dlg.SetupWindow(0, m_pWnd, this);
    if (dlg.DoModal() == 1)
        UpdateTestPlayTip();
}

void DLG_MAIN::UpdateTestPlayTip()
{
    QAction* a = Action(cmd::kTestPlayButton);
    if (!a)
        return;
    std::string program;
    QString tip = QStringLiteral("テストプレイ");
    if (FindGameProgram(TheProject().m_TestPlay, program))
        tip += QStringLiteral(" (") + QString::fromStdString(program) + QStringLiteral(")");
    else
        tip += QStringLiteral(" (ゲームプログラムが見つかりません)");
    a->setToolTip(tip);
}

MapHooks DLG_MAIN::Hooks()
{
    MapHooks hooks;
    hooks.editNewEvent = [this](cEvent& event) { return EditEvent(this, Editor(), event) == 1; };
    hooks.editPlacedEvent = hooks.editNewEvent;
    return hooks;
}

void DLG_MAIN::CreateEventPalette()
{
    if (!m_pEventPalette)
        m_pEventPalette = std::make_unique<DLG_EVENT>();
    if (m_pEventPalette->Exists())
        return;
    m_pEventPalette->forwardCommand = [this](int id) { SendCommand(id, Notify::Accelerator); };
    m_pEventPalette->onChanged = [this] { Repaint(); };
    // A tool window of the frame, so that it outlives a rebuilt main window's
    // widget; without a frame a window of its own.
    m_pEventPalette->SetupWindow(DLG_EVENT::IDD, nullptr, dynamic_cast<VIEW_MAIN*>(m_pParentObj));
    m_pEventPalette->CreateModeless(0, false);
    SetPaletteWindow(PaletteMode::Events, m_pEventPalette.get());
}

void DLG_MAIN::CmdEventCell(int id)
{
    EditorState& ed = Editor();
    Project& p = TheProject();
    switch (id) {
    case cmd::kMenuCopy1: CopyEventAt(ed, p, m_PopupCell); break;
    case cmd::kMenuCut1: CutEventAt(ed, p, m_PopupCell); break;
    case cmd::kMenuPaste1: PasteEventAt(ed, p, m_PopupCell); break;
    case cmd::kMenuNew: NewEventAt(ed, p, m_PopupCell, Hooks()); break;
    case cmd::kMenuDelete1: DeleteEventAt(ed, p, m_PopupCell); break;
    case cmd::kMenuEdit: {
        int i = EventAt(p.m_Stage, m_PopupCell.x, m_PopupCell.y);
        MapHooks hooks = Hooks();
        if (i >= 0 && hooks.editPlacedEvent) {
            cEvent copy = p.m_Stage.m_Events[i];
            if (hooks.editPlacedEvent(copy)) {
                PushUndo();
                p.m_Stage.m_Events[i] = copy;
                MarkModified();
            }
        }
        break;
    }
    default: break;
    }
    RefreshUndoButtons();
    RefreshPalettes();
}

void DLG_MAIN::EventCellPopup(const QPoint& globalPos)
{
    EditorState& ed = Editor();
    m_PopupCell = ed.cursor;
    const bool onEvent = EventAt(TheProject().m_Stage, m_PopupCell.x, m_PopupCell.y) >= 0;
    if (int command = ::EventCellPopup(m_pWnd, IDM_EVENT_CELL, onEvent, !ed.eventClipboard.empty(), globalPos))
        SendCommand(command, Notify::Menu);
}

// ---------------------------------------------------------------------------
// Operations the other windows call

void DLG_MAIN::SetPaletteMode(PaletteMode mode)
{
    ::SetPaletteMode(Editor(), mode);
    SyncPaletteButtons();
    ShowModePalette(false);
    if (m_pMap)
        m_pMap->setFocus();
    Repaint();
}

// The mode's palette shows, the others hide; none without a stage. A palette
// opening with the main window waits until the main window stands where it
// belongs, so that it opens beside it.
void DLG_MAIN::ShowModePalette(bool deferred)
{
    if (!m_pWnd || m_bMinimized)
        return;
    if (!deferred && !m_pWnd->isVisible()) {
        QTimer::singleShot(0, m_pWnd, [this] { ShowModePalette(true); });
        return;
    }
    const int current = static_cast<int>(Editor().mode);
    const bool wasActive = IsActive();
    for (int m = 0; m < 3; ++m) {
        DLG_CLASS* palette = m_Palettes[m];
        if (!palette || !palette->Widget())
            continue;
        const bool show = m == current && Editor().stageOpen;
        if (show && !palette->Widget()->isVisible() && palette->PlaceRecord())
            PlacePalette(*palette, *palette->PlaceRecord());
        palette->Widget()->setVisible(show);
    }
    // Some platforms activate every window they show; the main window keeps
    // its activation, and opening with it takes it.
    if ((wasActive || deferred) && !IsActive())
        m_pWnd->activateWindow();
}

// The pressed palette button is the current mode's, also after a click that
// changed nothing.
void DLG_MAIN::SyncPaletteButtons()
{
    int current = static_cast<int>(Editor().mode);
    for (int m = 0; m < 3; ++m)
        if (QAction* a = Action(kPaletteButtons[m]))
            a->setChecked(m == current);
}

void DLG_MAIN::MarkModified() { Editor().stageModified = true; }

bool DLG_MAIN::PushUndo()
{
    bool kept = ::PushUndo(Editor(), TheProject());
    RefreshUndoButtons();
    return kept;
}

void DLG_MAIN::RefreshUndoButtons()
{
    const UndoHistory& h = Editor().undo;
    for (auto& [command, enabled] : {std::pair{cmd::kUndo, h.CanUndo()}, std::pair{cmd::kRedo, h.CanRedo()}})
        for (auto& a : m_Actions[command])
            if (a)
                a->setEnabled(enabled);
}

void DLG_MAIN::UpdateTitle() { SetTitle(ToQt(TitleText(Editor().stagePath))); }

void DLG_MAIN::RefreshPalettes()
{
    for (DLG_CLASS* palette : m_Palettes)
        if (palette && palette->Widget()) {
            if (Editor().stageOpen)
                palette->RefreshLists();
            else
                palette->Widget()->hide();
        }
}

// The palettes are windows of their own over the main window, so they go
// before it.
void DLG_MAIN::OpenPalettes()
{
    if (!Editor().stageOpen || !m_pWnd)
        return;
    if (!m_pChipPalette)
        m_pChipPalette = std::make_unique<DLG_CHIP>();
    if (!m_pEnemyPalette)
        m_pEnemyPalette = std::make_unique<DLG_ENEMY>();
    const std::pair<PaletteMode, DLG_CLASS*> palettes[] = {{PaletteMode::Chips, m_pChipPalette.get()},
                                                           {PaletteMode::Enemies, m_pEnemyPalette.get()}};
    for (auto [mode, palette] : palettes) {
        palette->SetupWindow(0, m_pWnd, this);
        palette->CreateModeless(0, false);
        // A palette installed from outside keeps its place.
        DLG_CLASS*& slot = m_Palettes[static_cast<int>(mode)];
        if (!slot)
            slot = palette;
    }
}

void DLG_MAIN::ClosePalettes()
{
    for (DLG_CLASS* palette : {static_cast<DLG_CLASS*>(m_pChipPalette.get()), static_cast<DLG_CLASS*>(m_pEnemyPalette.get())})
        if (palette) {
            palette->Close(0);
            for (DLG_CLASS*& slot : m_Palettes)
                if (slot == palette)
                    slot = nullptr;
        }
}

void DLG_MAIN::Close(int result)
{
    ClosePalettes();
    DLG_CLASS::Close(result);
}

void DLG_MAIN::ShowCell(CellPos cell)
{
    Editor().cursor = cell;
    if (m_pMap)
        m_pMap->ShowCell(cell);
}

QAction* DLG_MAIN::Action(int command) const
{
    return CommandAction(m_Actions, command);
}

void DLG_MAIN::Repaint()
{
    if (m_pMap)
        m_pMap->Refresh();
}

void DLG_MAIN::LayoutScrollBars()
{
    if (m_pMap)
        m_pMap->LayoutScrollBars();
}

// ---------------------------------------------------------------------------
// The map view

void DLG_MAIN::RenderView(Surface& canvas, int scrollX, int scrollY)
{
    MapScene scene;
    if (Editor().stageOpen)
        scene = ProjectScene(TheProject());
    RenderMap(canvas, scene, scrollX, scrollY, CursorOf(Editor()));
}

void DLG_MAIN::MapMouse(QMouseEvent* e, CellPos cell, bool onMap)
{
    EditorState& ed = Editor();
    Project& p = TheProject();
    if (!ed.stageOpen)
        return;
    if (onMap)
        ed.cursor = cell;
    cell = ed.cursor;
    // The tools answer only while the main window is the active one.
    if (!IsActive()) {
        Repaint();
        return;
    }
    const bool left = e->button() == Qt::LeftButton, right = e->button() == Qt::RightButton;
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (left || right)
            m_pMap->setFocus();
        if (left && !ed.penDown && PenPress(ed, p, cell, Hooks()) && ed.mode == PaletteMode::Enemies && EnemyPalette())
            EnemyPalette()->Reload();
        if (right && ed.mode != PaletteMode::Events)
            PickPress(ed, cell);
        if (right && e->type() == QEvent::MouseButtonDblClick && ed.mode == PaletteMode::Enemies) {
            // The pick-up ends before the modal placement dialog takes the mouse.
            int picked = PickRelease(ed, p, cell);
            int edit = EnemyToEdit(ed, p);
            if (DLG_ENEMY* palette = EnemyPalette()) {
                palette->SelectPlacement(edit >= 0 ? edit : picked);
                if (edit >= 0)
                    palette->SendCommand(DLG_ENEMY::IDC_EDIT, Notify::Click);
            }
        }
        RefreshUndoButtons();
        break;
    case QEvent::MouseMove:
        if (ed.penDown && (e->buttons() & Qt::LeftButton)) {
            if (PenDrag(ed, p, cell, Hooks()) && ed.mode == PaletteMode::Enemies && EnemyPalette())
                EnemyPalette()->Reload();
        } else if (ed.mode == PaletteMode::Events) {
            ShowEventTip(cell, e->globalPosition().toPoint());
        }
        break;
    case QEvent::MouseButtonRelease:
        if (left)
            PenRelease(ed, p, cell);
        if (right) {
            if (ed.picking) {
                int picked = PickRelease(ed, p, cell);
                // A picked enemy's line is selected, otherwise none; the
                // brush stays as picked.
                if (ed.mode == PaletteMode::Enemies && EnemyPalette())
                    EnemyPalette()->SelectPlacement(picked);
                // The chip palette's frame follows the picked chip.
                if (ed.mode == PaletteMode::Chips && ChipPalette() && ChipPalette()->View())
                    ChipPalette()->View()->update();
            } else if (ed.mode == PaletteMode::Events)
                EventCellPopup(e->globalPosition().toPoint());
        }
        RefreshUndoButtons();
        break;
    default: break;
    }
    Repaint();
}

void DLG_MAIN::ShowEventTip(CellPos cell, const QPoint& globalPos)
{
    int i = EventAt(TheProject().m_Stage, cell.x, cell.y);
    if (i < 0)
        QToolTip::hideText();
    else
        QToolTip::showText(globalPos, ToQt(EventHoverText(TheProject().m_Stage.m_Events[i])), m_pMap);
}

void DLG_MAIN::MapKey(int key)
{
    if (m_pMap && m_pMap->ScrollKey(key))
        return;
    switch (key) {
    case Qt::Key_Space:
        if (QGuiApplication::mouseButtons() == Qt::NoButton && Editor().stageOpen)
            SetPaletteMode(NextPaletteMode(Editor().mode));
        break;
    case Qt::Key_F5: SendCommand(cmd::kTestPlayKey, Notify::Accelerator); break;
    default: break;
    }
    Repaint();
}

// ---------------------------------------------------------------------------
// Quitting

void DLG_MAIN::OnClose()
{
    if (!CloseWorldMapForQuit())
        return;
    if (!ConfirmSave(Editor(), TheProject(), chooseFile)) {
        UpdateTitle();
        return;
    }
    // Closed before the application ends, so that its place is stored in
    // time for the settings that shut-down writes.
    if (m_pEventPalette)
        m_pEventPalette->Close(0);
    Close(0);
    if (onQuit)
        onQuit();
}

// ---------------------------------------------------------------------------
// Minimize and restore

bool DLG_MAIN::MsgProc(QEvent* e)
{
    bool handled = DLG_CLASS::MsgProc(e);
    if (e->type() == QEvent::WindowStateChange && m_pWnd) {
        if (m_pWnd->windowState() & Qt::WindowMinimized)
            Minimize();
        else if (m_bMinimized)
            RestoreMinimized();
    }
    return handled;
}

void DLG_MAIN::Minimize()
{
    // The platform may report the minimized state more than once.
    if (!m_pWnd || m_bMinimized)
        return;
    // The main window itself stays minimized (it is the task bar entry that
    // brings the editor back); its palettes are put away with it.
    m_PutAway.clear();
    for (DLG_CLASS* palette : m_Palettes)
        if (palette && palette->Widget() && palette->Widget()->isVisible()) {
            palette->Widget()->hide();
            m_PutAway.emplace_back(palette->Widget());
        }
    m_bMinimized = true;
}

void DLG_MAIN::RestoreMinimized()
{
    if (!m_bMinimized || !m_pWnd)
        return;
    m_bMinimized = false;
    if (m_pWnd->windowState() & Qt::WindowMinimized)
        m_pWnd->setWindowState(m_pWnd->windowState() & ~Qt::WindowMinimized);
    m_pWnd->show();
    // The palettes come back only with a stage to edit.
    if (Editor().stageOpen)
        for (auto& w : m_PutAway)
            if (w) {
                // A window manager may have iconified the palettes with
                // their main window.
                w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
                w->show();
            }
    m_PutAway.clear();
    m_pWnd->raise();
    m_pWnd->activateWindow();
}
