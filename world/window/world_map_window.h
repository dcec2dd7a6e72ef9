// The world map window (DLG_WORLDMAP) with its view, and the world chip
// palette (DLG_WORLDCHIP). While the world map window is open the stage
// editor's windows are hidden and disabled.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "app/editor_state.h"
#include "media/surface.h"
#include "stage/world_edit.h"
#include "ui/map_view.h"
#include "ui/wnd.h"

class QAction;
class QMenuBar;
class QScrollBar;
class QStatusBar;
class QToolBar;
class DLG_WORLDMAP;
class DLG_WORLDEVENT;
class DLG_WORLDCHIP;

// The map's own chips to choose from; a click makes a 1 x 1 brush.
class DLG_WORLDCHIP : public DLG_CLASS {
public:
    DLG_WORLDCHIP();
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnClose() override;
    void RefreshLists() override;
    // Picks the chip under a pixel of the chip area; false for none.
    bool ClickAt(int px, int py);
    void Paint(class QPainter& painter);
    void Wheel(int notches);
    QWidget* ChipArea() const { return m_pArea; }
    QString StatusText() const;
    std::function<void()> onChosen;

private:
    void LayoutScroll();
    QWidget* m_pArea = nullptr;
    QScrollBar* m_pBar = nullptr;
    class QLabel* m_pStatus = nullptr;
};

class DLG_WORLDMAP : public DLG_CLASS {
public:
    enum { IDC_TOOLBAR = 193, IDM_MENU = 155, IDM_EVENT_CELL = 165, IDA_MAIN = 132 };

    DLG_WORLDMAP();
    ~DLG_WORLDMAP() override;

    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;
    void OnClose() override;
    bool MsgProc(QEvent* e) override;

    void SetMode(WorldMode mode);
    void RefreshUndoButtons();
    void RefreshPalettes();
    void Repaint();
    void LayoutScrollBars();
    // Closes after the close question; false when the user chose to stay.
    bool AskAndClose();

    // --- the view
    void MapKey(int key);
    MapViewWidget* MapView() const { return m_pMap; }
    QScrollBar* ScrollBar(bool vertical) const { return m_pMap->ScrollBar(vertical); }
    QString StatusText() const { return m_pMap->StatusText(); }
    QAction* Action(int command) const;
    // The map as last drawn, of the view's size.
    const Surface& Canvas() const { return m_pMap->Canvas(); }
    DLG_WORLDCHIP* ChipPalette() const { return m_pChips.get(); }
    DLG_WORLDEVENT* EventPalette() const { return m_pEvents.get(); }
    // Chooses the picture for the background-image setting ("参照").
    FileChooser chooseFile;
    // Runs the settings dialog on the settings (true for OK); tests may replace it.
    std::function<bool(WorldMapSettings&)> runSettings;
    // After the window closed (the stage windows are back).
    std::function<void()> onClosed;

private:
    using Handler = void (DLG_WORLDMAP::*)(int id);
    struct CommandRow { int id; Handler handler; };
    static const CommandRow kCommands[];

    void CmdSave(int id);
    void CmdSaveClose(int);
    void CmdCloseNoSave(int);
    void CmdUndo(int);
    void CmdRedo(int);
    void CmdMode(int id);
    void CmdClear(int id);
    void CmdSettings(int);
    void CmdEventCell(int id);
    void CmdEscape(int);
    void RenderView(Surface& canvas, int scrollX, int scrollY);
    void MapMouse(QMouseEvent* e, CellPos cell, bool onMap);
    void EventCellPopup(const QPoint& globalPos);
    void SyncModeButtons();
    void Finish();
    WorldHooks Hooks();

    QMenuBar* m_pMenuBar = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QStatusBar* m_pStatus = nullptr;
    MapViewWidget* m_pMap = nullptr;
    std::map<int, std::vector<QPointer<QAction>>> m_Actions;
    CellPos m_PopupCell{0, 0};
    std::unique_ptr<DLG_WORLDCHIP> m_pChips;
    std::unique_ptr<DLG_WORLDEVENT> m_pEvents;
    std::function<void()> m_SavedRestore;
    bool m_bMinimized = false;
    bool m_bClosing = false;
};

// The world map window of this process while it is open, else nullptr.
DLG_WORLDMAP* WorldMapWindow();
// Opens the world map window (or brings it forward) over the frame window.
DLG_WORLDMAP* OpenWorldMap(WND_CLASS* frame);
// Before the editor quits: asks the world map's close question when its
// window is open; false when the user cancelled (the quit stops).
bool CloseWorldMapForQuit();
