// The main window: the stage map with its scroll bars, the menu bar, the
// toolbar and the status bar; every command of the stage editor arrives here.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "media/surface.h"
#include "app/editor_state.h"
#include "ui/map_view.h"
#include "ui/wnd.h"

class QAction;
class QLabel;
class QMenuBar;
class QScrollBar;
class QStatusBar;
class QToolBar;
class DLG_MAIN;
class DLG_EVENT;
class DLG_CHIP;
class DLG_ENEMY;

class DLG_MAIN : public DLG_CLASS {
public:
    enum { IDC_TOOLBAR = 107, IDM_MENU = 104, IDM_EVENT_CELL = 165, IDA_MAIN = 132 };

    DLG_MAIN();
    ~DLG_MAIN() override;

    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;
    void OnClose() override;
    bool MsgProc(QEvent* e) override;

    // Minimizing the main window puts its palettes away with it; restoring it
    // (its task bar entry, or the application becoming active) brings them back.
    void Minimize();
    void RestoreMinimized();
    bool IsMinimized() const { return m_bMinimized; }
    DLG_EVENT* EventPalette() const { return m_pEventPalette.get(); }
    // The three palette windows (map chips, enemies, events) once they exist.
    void SetPaletteWindow(PaletteMode mode, DLG_CLASS* palette) { m_Palettes[static_cast<int>(mode)] = palette; }
    // The map chip and enemy palettes: opened with the main window while a
    // stage is open, closed with it (storing their places).
    DLG_CHIP* ChipPalette() const { return m_pChipPalette.get(); }
    DLG_ENEMY* EnemyPalette() const { return m_pEnemyPalette.get(); }
    // Closes the palettes, then the main window.
    void Close(int result);
    // Scrolls the map to show a cell and puts the cursor on it.
    void ShowCell(CellPos cell);

    // Operations the other editor windows call.
    void SetPaletteMode(PaletteMode mode);
    void MarkModified();
    bool PushUndo();
    void RefreshUndoButtons();
    void UpdateTitle();
    void RefreshPalettes();
    void Repaint();
    // Scroll ranges from the map size and the view size; positions are kept.
    void LayoutScrollBars();

    // Answers the file questions (the file dialogs unless replaced).
    FileChooser chooseFile;
    // After new, open and close: the frame rebuilds the main window. Unset, the
    // window only refreshes itself.
    std::function<void()> onStageReplaced;
    // Ends the application once the save question let it (default: quit).
    std::function<void()> onQuit;

    // --- the map view
    void MapKey(int key);
    MapViewWidget* MapView() const { return m_pMap; }
    QScrollBar* ScrollBar(bool vertical) const { return m_pMap->ScrollBar(vertical); }
    QString StatusText() const { return m_pMap->StatusText(); }
    QAction* Action(int command) const;
    QToolBar* ToolBar() const { return m_pToolBar; }
    // The map as last drawn, of the view's size.
    const Surface& Canvas() const { return m_pMap->Canvas(); }

private:
    using Handler = void (DLG_MAIN::*)(int id);
    struct CommandRow { int id; Handler handler; bool needsStage; };
    static const CommandRow kCommands[];

    void CmdNew(int);
    void CmdOpen(int);
    void CmdClose(int);
    void CmdSave(int id);
    void CmdSavePalette(int);
    void CmdDefaultStage(int);
    void CmdUndo(int);
    void CmdRedo(int);
    void CmdPaletteMode(int id);
    void CmdClear(int id);
    void CmdPenTool(int id);
    // In stage_dialog.cpp and group_dialog.cpp.
    void CmdStageSettings(int);
    void CmdPositionGroups(int);
    void CmdWorldMap(int);
    void CmdStartEvent(int);
    void CmdDatabase(int);
    void CmdTestPlay(int);
    void CmdTestPlaySettings(int);
    // The test-play button names the program F5 starts.
    void UpdateTestPlayTip();
    void CmdEventCell(int id);

    void AfterStageReplaced();
    void SyncPaletteButtons();
    void RenderView(Surface& canvas, int scrollX, int scrollY);
    void MapMouse(QMouseEvent* e, CellPos cell, bool onMap);
    void EventCellPopup(const QPoint& globalPos);
    MapHooks Hooks();
    void CreateEventPalette();
    // Hovering an event names it, its pages and its first page's timing.
    void ShowEventTip(CellPos cell, const QPoint& globalPos);
    bool ChooseFile(std::string& path, const FileQuestion& q);
    // Runs a command with the other windows disabled.
    void WithOthersDisabled(const std::function<void()>& body);

    QMenuBar* m_pMenuBar = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QStatusBar* m_pStatus = nullptr;
    MapViewWidget* m_pMap = nullptr;
    std::map<int, std::vector<QPointer<QAction>>> m_Actions;
    CellPos m_PopupCell{0, 0};
    DLG_CLASS* m_Palettes[3] = {nullptr, nullptr, nullptr};
    bool m_bMinimized = false;
    std::vector<QPointer<QWidget>> m_PutAway;  // palettes hidden by the minimize
    std::unique_ptr<DLG_EVENT> m_pEventPalette;
    void OpenPalettes();
    void ShowModePalette(bool deferred);
    void ClosePalettes();
    std::unique_ptr<DLG_CHIP> m_pChipPalette;
    std::unique_ptr<DLG_ENEMY> m_pEnemyPalette;
};

// The main window of this process; cleared while it does not exist.
extern DLG_MAIN* MainWindow;
