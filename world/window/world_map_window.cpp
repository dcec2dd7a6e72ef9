#include "world/window/world_map_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "app/world_commands.h"
#include "base/log.h"
#include "base/paths.h"
#include "base/text.h"
#include "media/image_table.h"
#include "project/project.h"
#include "resources/ids.h"
#include "resources/world_menus.h"
#include "stage/chip_palette.h"
#include "stage/map_render.h"
#include "ui/command_bars.h"
#include "ui/controls.h"
#include "ui/qt_text.h"
#include "ui/resources_qt.h"
#include "world/window/world_event_dialogs.h"

namespace {

std::unique_ptr<DLG_WORLDMAP>& WorldMapSlot()
{
    static std::unique_ptr<DLG_WORLDMAP> window;
    return window;
}

QIcon ToolIcon(QStyle* style, const ToolbarItem& item)
{
    switch (item.image) {
    case TI_SAVE: return style->standardIcon(QStyle::SP_DialogSaveButton);
    case TI_UNDO: return style->standardIcon(QStyle::SP_ArrowBack);
    case TI_REDO: return style->standardIcon(QStyle::SP_ArrowForward);
    case TI_PALETTE: return StripIcon("e_image\\ToolBar_WorldPalette.bmp", item.index);
    default: return QIcon();
    }
}

WorldEditOptions Options() { return WorldOptions(TheProject()); }
cWorldMap& Map() { return TheProject().m_WorldMap; }

// The editor settings are written when a world window closes.
void WriteEditorSettings() { TheProject().m_EditConfig.SaveFile(ProjectFile::EditConfig); }

QImage SheetImage(const Surface& s)
{
    if (s.Empty())
        return QImage();
    return QImage(s.Bits(), s.Width(), s.Height(), s.Stride(), QImage::Format_RGB32);
}

// The chip palette's drawing area.
class WorldChipArea : public QWidget {
public:
    WorldChipArea(DLG_WORLDCHIP* owner, QWidget* parent) : QWidget(parent), owner_(owner)
    {
        setMinimumSize(kPaletteColumns * kPaletteCell, 2 * kPaletteCell);
        setObjectName(QStringLiteral("worldChips"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        owner_->Paint(p);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            owner_->ClickAt(e->position().toPoint().x(), e->position().toPoint().y());
    }
    void wheelEvent(QWheelEvent* e) override
    {
        owner_->Wheel(WheelNotches(e->angleDelta().y()));
        e->accept();
    }
    void resizeEvent(QResizeEvent* e) override
    {
        QWidget::resizeEvent(e);
        owner_->RefreshLists();
    }

private:
    DLG_WORLDCHIP* owner_;
};

}  // namespace

// ---------------------------------------------------------------------------
// The world chip palette

DLG_WORLDCHIP::DLG_WORLDCHIP() { SetTitle(QStringLiteral("マップチップパレット")); }

void DLG_WORLDCHIP::Build(QDialog* d)
{
    d->setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(d);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* row = new QHBoxLayout;
    m_pArea = new WorldChipArea(this, d);
    m_pBar = new QScrollBar(Qt::Vertical, d);
    m_pBar->setObjectName(QStringLiteral("worldChipScroll"));
    QObject::connect(m_pBar, &QScrollBar::valueChanged, [this](int) { m_pArea->update(); });
    row->addWidget(m_pArea, 1);
    row->addWidget(m_pBar);
    layout->addLayout(row, 1);
    m_pStatus = new QLabel(d);
    layout->addWidget(m_pStatus);
}

void DLG_WORLDCHIP::OnInitDialog()
{
    SetPlaceRecord(&TheProject().m_EditConfig.WndPos(ToolWindow::WorldChipPalette));
    // First opening: as tall as the chips (up to ten rows) and the status line.
    if (!PlaceRecord()->m_bValid) {
        const int rows = std::clamp(PaletteRows(Map().m_Chips.size()), 2, 10);
        SetFrame(kPaletteColumns * kPaletteCell + 20, rows * kPaletteCell + 24, 0, 0, 0, 0);
    }
    DLG_CLASS::OnInitDialog();
    RefreshLists();
}

void DLG_WORLDCHIP::OnClose()
{
    Close(0);
    WriteEditorSettings();
}

void DLG_WORLDCHIP::LayoutScroll()
{
    if (!m_pBar || !m_pArea)
        return;
    PaletteScroll range = PaletteScrollRange(Map().m_Chips.size(), m_pArea->height());
    QSignalBlocker block(m_pBar);
    m_pBar->setRange(0, range.maximum);
    m_pBar->setPageStep(range.page);
}

void DLG_WORLDCHIP::RefreshLists()
{
    LayoutScroll();
    if (m_pStatus)
        m_pStatus->setText(StatusText());
    if (m_pArea)
        m_pArea->update();
}

QString DLG_WORLDCHIP::StatusText() const
{
    const int chip = WorldEditor().paletteChip;
    if (chip < 0 || chip >= Map().m_Chips.size())
        return QString();
    return ToQt(ChipStatusText(chip, Map().m_Chips.size(), Map().m_Chips[chip].m_Name));
}

bool DLG_WORLDCHIP::ClickAt(int px, int py)
{
    int chip = PaletteChipAt(px, py, m_pBar ? m_pBar->value() : 0);
    if (chip < 0 || chip >= Map().m_Chips.size())
        return false;
    SelectWorldChip(WorldEditor(), chip);
    RefreshLists();
    if (onChosen)
        onChosen();
    return true;
}

void DLG_WORLDCHIP::Wheel(int notches)
{
    if (m_pBar)
        m_pBar->setValue(m_pBar->value() + notches);
}

void DLG_WORLDCHIP::Paint(QPainter& p)
{
    p.fillRect(m_pArea->rect(), Qt::black);
    const QImage sheet = SheetImage(ImageSurface(IMG_WORLDMAPCHIP));
    const int count = Map().m_Chips.size(), firstRow = m_pBar ? m_pBar->value() : 0;
    const int c = kPaletteCell;
    for (int i = firstRow * kPaletteColumns; i < count; ++i) {
        int x, y;
        PaletteChipPos(i, firstRow, x, y);
        if (y >= m_pArea->height())
            break;
        int g = Map().m_Chips[i].m_nGraphic;
        if (!sheet.isNull()) {
            int sx, sy;
            ChipSheetPos(g, sx, sy);
            p.drawImage(x, y, sheet, sx, sy, c, c);
        }
        if (i == WorldEditor().paletteChip) {
            p.setPen(QPen(QColor(kCursorColour.r, kCursorColour.g, kCursorColour.b), 2));
            p.drawRect(x + 1, y + 1, c - 2, c - 2);
        }
    }
}

// ---------------------------------------------------------------------------
// The window

const DLG_WORLDMAP::CommandRow DLG_WORLDMAP::kCommands[] = {
    {cmd::kStageSave, &DLG_WORLDMAP::CmdSave},
    {cmd::kStageSaveKey, &DLG_WORLDMAP::CmdSave},
    {cmd::kWorldSaveClose, &DLG_WORLDMAP::CmdSaveClose},
    {cmd::kWorldCloseNoSave, &DLG_WORLDMAP::CmdCloseNoSave},
    {cmd::kUndo, &DLG_WORLDMAP::CmdUndo},
    {cmd::kUndoKey, &DLG_WORLDMAP::CmdUndo},
    {cmd::kRedo, &DLG_WORLDMAP::CmdRedo},
    {cmd::kRedoKey, &DLG_WORLDMAP::CmdRedo},
    {cmd::kMenuPaletteChips, &DLG_WORLDMAP::CmdMode},
    {cmd::kWorldPaletteChips, &DLG_WORLDMAP::CmdMode},
    {cmd::kMenuPaletteEvents, &DLG_WORLDMAP::CmdMode},
    {cmd::kWorldPaletteEvents, &DLG_WORLDMAP::CmdMode},
    {cmd::kClearChips, &DLG_WORLDMAP::CmdClear},
    {cmd::kClearEvents, &DLG_WORLDMAP::CmdClear},
    {cmd::kWorldSettings, &DLG_WORLDMAP::CmdSettings},
    {IDC_ESCAPE, &DLG_WORLDMAP::CmdEscape},
    {cmd::kMenuEdit, &DLG_WORLDMAP::CmdEventCell},
    {cmd::kMenuCut1, &DLG_WORLDMAP::CmdEventCell},
    {cmd::kMenuCopy1, &DLG_WORLDMAP::CmdEventCell},
    {cmd::kMenuPaste1, &DLG_WORLDMAP::CmdEventCell},
    {cmd::kMenuNew, &DLG_WORLDMAP::CmdEventCell},
    {cmd::kMenuDelete1, &DLG_WORLDMAP::CmdEventCell},
};

DLG_WORLDMAP::DLG_WORLDMAP()
{
    SetTitle(QStringLiteral("ワールドマップ"));
    runSettings = [this](WorldMapSettings& s) {
        DLG_WORLDMAP_SET dlg(s);
        if (chooseFile)
            dlg.chooseFile = chooseFile;
        dlg.SetupWindow(0, m_pWnd, this);
        return dlg.DoModal() == 1;
    };
}

DLG_WORLDMAP::~DLG_WORLDMAP() = default;

void DLG_WORLDMAP::Build(QDialog* dialog)
{
    m_Actions.clear();
    dialog->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                           Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_pMenuBar = BuildMenuBar(this, dialog, kWorldMenu, m_Actions);
    layout->setMenuBar(m_pMenuBar);
    m_pToolBar = BuildToolBar(this, dialog, IDC_TOOLBAR, kWorldToolbar,
                              [style = dialog->style()](const ToolbarItem& item) { return ToolIcon(style, item); },
                              m_Actions);
    layout->addWidget(m_pToolBar);
    m_pMap = new MapViewWidget(dialog, QStringLiteral("world"));
    m_pMap->setObjectName(QStringLiteral("worldMapView"));
    m_pMap->mapCells = [] { return QSize(Map().m_nWidth, Map().m_nHeight); };
    m_pMap->render = [this](Surface& canvas, int sx, int sy) { RenderView(canvas, sx, sy); };
    m_pMap->mouse = [this](QMouseEvent* e, CellPos cell, bool onMap) { MapMouse(e, cell, onMap); };
    m_pMap->cursor = [] { return WorldEditor().cursor; };
    layout->addLayout(m_pMap->Layout(), 1);

    m_pStatus = new QStatusBar(dialog);
    m_pStatus->setSizeGripEnabled(false);
    layout->addWidget(m_pStatus);
    m_pMap->SetStatusBar(m_pStatus);
}

void DLG_WORLDMAP::OnInitDialog()
{
    SetPlaceRecord(&TheProject().m_EditConfig.WndPos(ToolWindow::WorldMap));
    if (!PlaceRecord()->m_bValid)
        SetFrame(800, 600, 0, 0, 0, 0);
    DLG_CLASS::OnInitDialog();
    WorldEditor().Reset();
    m_bMinimized = false;
    m_bClosing = false;
    // The frame is in world-map mode: restoring the editor brings back this
    // window and its palette.
    if (auto* frame = dynamic_cast<VIEW_MAIN*>(m_pParentObj)) {
        m_SavedRestore = frame->onRestore;
        frame->onRestore = [this] {
            if (!m_pWnd)
                return;
            m_pWnd->showNormal();
            RefreshPalettes();
            m_pWnd->raise();
            m_pWnd->activateWindow();
        };
    }
    bool haveTable = false;
    for (const auto& acc : Accelerators())
        haveTable |= acc.first == IDA_MAIN && acc.second == m_pWnd;
    if (!haveTable)
        AddAccelerator(nullptr, IDA_MAIN);
    // Keys reaching the window go on to the map: Space switches the mode, the
    // arrows scroll.
    RelayKeys(this, [this](int key) { MapKey(key); });

    m_pChips = std::make_unique<DLG_WORLDCHIP>();
    m_pChips->SetupWindow(0, m_pWnd, this);
    m_pChips->onChosen = [this] { Repaint(); };
    m_pEvents = std::make_unique<DLG_WORLDEVENT>();
    m_pEvents->SetupWindow(0, m_pWnd, this);
    m_pEvents->onChanged = [this] { Repaint(); };

    SetMode(WorldMode::Chips);
    RefreshUndoButtons();
    LayoutScrollBars();
    m_pMap->setFocus();
}

void DLG_WORLDMAP::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    for (const CommandRow& row : kCommands)
        if (row.id == id) {
            (this->*row.handler)(id);
            break;
        }
    if (Exists()) {
        SyncModeButtons();
        RefreshUndoButtons();
        Repaint();
    }
}

WorldHooks DLG_WORLDMAP::Hooks()
{
    auto edit = [this](cWorldEvent& e) { return RunWorldEventEditor(this, e); };
    return WorldHooks{edit, edit};
}

void DLG_WORLDMAP::CmdSave(int) { SaveWorldMap(WorldEditor(), TheProject()); }

void DLG_WORLDMAP::CmdSaveClose(int)
{
    if (SaveWorldMap(WorldEditor(), TheProject()))
        Finish();
}

void DLG_WORLDMAP::CmdCloseNoSave(int)
{
    // Closes without asking; what was changed is read back from the file.
    if (WorldEditor().modified)
        RevertWorldMap(WorldEditor(), TheProject());
    Finish();
}

void DLG_WORLDMAP::CmdUndo(int)
{
    WorldUndo(WorldEditor(), Map(), Options());
    RefreshPalettes();
}

void DLG_WORLDMAP::CmdRedo(int)
{
    WorldRedo(WorldEditor(), Map(), Options());
    RefreshPalettes();
}

void DLG_WORLDMAP::CmdMode(int id)
{
    SetMode(id == cmd::kMenuPaletteEvents || id == cmd::kWorldPaletteEvents ? WorldMode::Events : WorldMode::Chips);
}

void DLG_WORLDMAP::CmdClear(int id)
{
    const bool chips = id == cmd::kClearChips;
    const std::string question = chips ? SJ("全てのマップチップをクリアしますか？") : SJ("全てのイベントをクリアしますか？");
    if (MessageBoxText(question, SJ("データクリアの確認"), Buttons::YesNo) != Answer::Yes)
        return;
    if (chips)
        ClearWorldChips(WorldEditor(), Map(), Options());
    else
        ClearWorldEvents(WorldEditor(), Map(), Options());
}

void DLG_WORLDMAP::CmdSettings(int)
{
    WorldMapSettings s = SettingsOf(Map());
    if (!runSettings || !runSettings(s))
        return;
    ApplyWorldMapSettings(WorldEditor(), Map(), s);
    ReloadWorldBack(TheProject());
    LayoutScrollBars();
    RefreshPalettes();
}

void DLG_WORLDMAP::CmdEventCell(int id)
{
    WorldEditState& ed = WorldEditor();
    const WorldEditOptions o = Options();
    switch (id) {
    case cmd::kMenuEdit: EditWorldEventAt(ed, Map(), o, m_PopupCell, Hooks()); break;
    case cmd::kMenuCut1: CutWorldEventAt(ed, Map(), o, m_PopupCell); break;
    case cmd::kMenuCopy1: CopyWorldEventAt(ed, Map(), m_PopupCell); break;
    case cmd::kMenuPaste1: PasteWorldEventAt(ed, Map(), o, m_PopupCell); break;
    case cmd::kMenuNew: NewWorldEventAt(ed, Map(), o, m_PopupCell, Hooks()); break;
    case cmd::kMenuDelete1: DeleteWorldEventAt(ed, Map(), o, m_PopupCell); break;
    default: break;
    }
}

void DLG_WORLDMAP::EventCellPopup(const QPoint& globalPos)
{
    m_PopupCell = WorldEditor().cursor;
    const WorldCellMenu state = WorldCellMenuFor(WorldEditor(), Map(), m_PopupCell);
    if (int command = ::EventCellPopup(m_pWnd, IDM_EVENT_CELL, state.onEvent, state.canPaste, globalPos,
                                       QStringLiteral("worldEventCellMenu")))
        SendCommand(command, Notify::Menu);
}

void DLG_WORLDMAP::SetMode(WorldMode mode)
{
    SetWorldMode(WorldEditor(), mode);
    SyncModeButtons();
    // The palette of the mode shows; the other goes away.
    DLG_CLASS* show = mode == WorldMode::Chips ? static_cast<DLG_CLASS*>(m_pChips.get()) : m_pEvents.get();
    DLG_CLASS* hide = mode == WorldMode::Chips ? static_cast<DLG_CLASS*>(m_pEvents.get()) : m_pChips.get();
    if (hide && hide->Exists())
        hide->Close(0);
    if (show && !show->Exists()) {
        // The first time right of the world map window, later where it was.
        if (m_pWnd) {
            QRect frame = m_pWnd->frameGeometry();
            show->SetSavedPosition(frame.right() + 1, frame.top());
        }
        show->CreateModeless(0, true);
    }
    if (show && show->Widget() && !m_bMinimized)
        show->Widget()->show();
    RefreshPalettes();
    if (m_pWnd)
        m_pWnd->activateWindow();
    if (m_pMap)
        m_pMap->setFocus();
    Repaint();
}

void DLG_WORLDMAP::SyncModeButtons()
{
    const bool chips = WorldEditor().mode == WorldMode::Chips;
    if (QAction* a = Action(cmd::kWorldPaletteChips))
        a->setChecked(chips);
    if (QAction* a = Action(cmd::kWorldPaletteEvents))
        a->setChecked(!chips);
}

void DLG_WORLDMAP::RefreshUndoButtons()
{
    const WorldUndoHistory& h = WorldEditor().undo;
    for (auto& [command, enabled] : {std::pair{cmd::kUndo, h.CanUndo()}, std::pair{cmd::kRedo, h.CanRedo()}})
        for (auto& a : m_Actions[command])
            if (a)
                a->setEnabled(enabled);
}

void DLG_WORLDMAP::RefreshPalettes()
{
    if (m_pChips && m_pChips->Exists())
        m_pChips->RefreshLists();
    if (m_pEvents && m_pEvents->Exists())
        m_pEvents->RefreshLists();
}

QAction* DLG_WORLDMAP::Action(int command) const
{
    return CommandAction(m_Actions, command);
}

void DLG_WORLDMAP::Repaint()
{
    if (m_pMap)
        m_pMap->Refresh();
}

void DLG_WORLDMAP::LayoutScrollBars()
{
    if (m_pMap)
        m_pMap->LayoutScrollBars();
}

void DLG_WORLDMAP::RenderView(Surface& canvas, int scrollX, int scrollY)
{
    const WorldEditState& ed = WorldEditor();
    WorldScene scene{&Map(), &ImageSurface(IMG_WORLDMAPCHIP), &ImageSurface(IMG_WORLDEVENT),
                     &ImageSurface(IMG_WORLDBACK), ColorKey()};
    MapCursor cursor;
    cursor.kind = WorldCursorKind(ed);
    cursor.cell = ed.cursor;
    if (ed.mode == WorldMode::Chips) {
        cursor.brushW = ed.brush.width;
        cursor.brushH = ed.brush.height;
    }
    cursor.pickAnchor = ed.pickAnchor;
    RenderWorldMap(canvas, scene, scrollX, scrollY, cursor);
}

void DLG_WORLDMAP::MapMouse(QMouseEvent* e, CellPos cell, bool onMap)
{
    WorldEditState& ed = WorldEditor();
    cWorldMap& map = Map();
    if (onMap)
        ed.cursor = cell;
    cell = ed.cursor;
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
        if (left && !ed.penDown)
            WorldPenPress(ed, map, Options(), cell, Hooks());
        if (right && ed.mode == WorldMode::Chips) {
            WorldPickPress(ed, cell);
            RefreshPalettes();
        }
        break;
    case QEvent::MouseMove:
        if (ed.penDown && (e->buttons() & Qt::LeftButton))
            WorldPenDrag(ed, map, Options(), cell, Hooks());
        break;
    case QEvent::MouseButtonRelease:
        if (left)
            WorldPenRelease(ed, cell);
        if (right) {
            if (ed.picking)
                WorldPickRelease(ed, map, cell);
            else if (ed.mode == WorldMode::Events)
                EventCellPopup(e->globalPosition().toPoint());
        }
        break;
    default: break;
    }
    if (Exists()) {
        RefreshUndoButtons();
        Repaint();
    }
}

void DLG_WORLDMAP::MapKey(int key)
{
    if (m_pMap && m_pMap->ScrollKey(key))
        return;
    switch (key) {
    case Qt::Key_Space:
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            SetMode(WorldEditor().mode == WorldMode::Chips ? WorldMode::Events : WorldMode::Chips);
        break;
    default: break;
    }
    Repaint();
}

// ---------------------------------------------------------------------------
// Closing, minimize and restore

void DLG_WORLDMAP::OnClose() { AskAndClose(); }

void DLG_WORLDMAP::CmdEscape(int) { AskAndClose(); }

bool DLG_WORLDMAP::AskAndClose()
{
    if (!Exists())
        return true;
    if (ConfirmCloseWorldMap(WorldEditor(), TheProject()) == WorldClose::Stay)
        return false;
    Finish();
    return true;
}

void DLG_WORLDMAP::Finish()
{
    if (m_bClosing || !Exists())
        return;
    m_bClosing = true;
    if (m_pChips && m_pChips->Exists())
        m_pChips->Close(0);
    if (m_pEvents && m_pEvents->Exists())
        m_pEvents->Close(0);
    if (auto* frame = dynamic_cast<VIEW_MAIN*>(m_pParentObj))
        frame->onRestore = m_SavedRestore;
    m_SavedRestore = nullptr;
    // Closing shows and enables the stage windows again.
    Close(0);
    WriteEditorSettings();
    if (onClosed)
        onClosed();
}

bool DLG_WORLDMAP::MsgProc(QEvent* e)
{
    bool handled = DLG_CLASS::MsgProc(e);
    if (e->type() == QEvent::WindowStateChange && m_pWnd) {
        const bool minimized = (m_pWnd->windowState() & Qt::WindowMinimized) != 0;
        if (minimized && !m_bMinimized) {
            m_bMinimized = true;
            for (DLG_CLASS* palette : {static_cast<DLG_CLASS*>(m_pChips.get()), static_cast<DLG_CLASS*>(m_pEvents.get())})
                if (palette && palette->Widget())
                    palette->Widget()->hide();
        } else if (!minimized && m_bMinimized) {
            m_bMinimized = false;
            DLG_CLASS* palette = WorldEditor().mode == WorldMode::Chips ? static_cast<DLG_CLASS*>(m_pChips.get())
                                                                        : m_pEvents.get();
            if (palette && palette->Widget())
                palette->Widget()->show();
        }
    }
    return handled;
}

// ---------------------------------------------------------------------------

DLG_WORLDMAP* WorldMapWindow()
{
    DLG_WORLDMAP* w = WorldMapSlot().get();
    return w && w->Exists() ? w : nullptr;
}

DLG_WORLDMAP* OpenWorldMap(WND_CLASS* frame)
{
    if (DLG_WORLDMAP* open = WorldMapWindow()) {
        open->Widget()->raise();
        open->Widget()->activateWindow();
        return open;
    }
    auto& slot = WorldMapSlot();
    if (!slot)
        slot = std::make_unique<DLG_WORLDMAP>();
    slot->SetupWindow(0, frame ? frame->Widget() : nullptr, frame);
    slot->CreateModeless(DO_HIDE_OTHERS | DO_DISABLE_OTHERS, true);
    return slot.get();
}

bool CloseWorldMapForQuit()
{
    DLG_WORLDMAP* w = WorldMapWindow();
    return !w || w->AskAndClose();
}
