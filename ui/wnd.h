// The window framework: every editor window is an object of a class derived
// from WND_CLASS; dialogs derive from DLG_CLASS and own the control objects
// bound to the data they edit. Commands travel as ids to one OnCommand.
#pragma once

#include <QDialog>
#include <QMainWindow>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "project/settings.h"
#include "app/window_logic.h"

class QScrollBar;
class QMenu;
class QKeyEvent;
class CTRL_CLASS;
class DLG_CLASS;
class PROP_CLASS;

// How a command reached OnCommand.
enum class Notify {
    Click,          // button pressed (or a command sent by code)
    EditUpdate,     // edit text changed by the user
    EditKillFocus,  // edit lost the focus
    SelChange,      // combo or list selection changed by the user
    ListKillFocus,  // list lost the focus
    ListDblClk,     // list line double-clicked
    Accelerator,    // key of an accelerator table or a list key table
    Menu,           // popup or window menu item
};

// Notification codes offered to the controls' OnNotify.
enum NotifyCode { NC_SPIN_DELTA = 1 };

// Ids of buttons every simple dialog shares.
enum StandardId { IDC_ESCAPE = 2, IDC_OK = 1006, IDC_CANCEL = 1007 };

// Ids that dialogs give their own scroll bars (set once at program entry).
extern int ScrollBarIdH;
extern int ScrollBarIdV;

// Options of a modal or modeless run.
enum DialogOption { DO_HIDE_OTHERS = 1, DO_DISABLE_OTHERS = 2 };

// Kinds of window.
enum class WindowKind { Plain, Dialog, Page };

// The keyboard record every framework dialog carries.
struct cHook {
    QWidget* window = nullptr;
    bool modeless = false;
    bool swallowEscape = false;
    DLG_CLASS* dialog = nullptr;
};

class WND_CLASS {
public:
    WND_CLASS();
    virtual ~WND_CLASS();
    WND_CLASS(const WND_CLASS&) = delete;
    WND_CLASS& operator=(const WND_CLASS&) = delete;

    virtual void OnIdle() {}
    virtual void OnCommand(int /*id*/, Notify /*code*/) {}
    virtual void OnMouseMove(const QPoint& /*pos*/) {}
    virtual void OnLButtonDown(const QPoint& /*pos*/) {}
    virtual void OnRButtonDown(const QPoint& /*pos*/) {}
    virtual void OnLButtonDblClk(const QPoint& /*pos*/) {}
    virtual void OnRButtonDblClk(const QPoint& /*pos*/) {}
    virtual void OnLButtonUp(const QPoint& /*pos*/) {}
    virtual void OnRButtonUp(const QPoint& /*pos*/) {}
    // The window's own handler of every event; returns true to consume it.
    // Derived handlers call WndProc first.
    virtual bool MsgProc(QEvent* e) { return WndProc(e); }
    virtual bool WndProc(QEvent* e);
    virtual void RefreshLists() {}
    virtual void OnPaint(class QPainter& /*painter*/) {}
    // Asked to close (the window's close button); default: nothing.
    virtual void OnClose() {}

    // Sends a command to OnCommand unless one is being handled for this window
    // already; returns 0 when it was dropped.
    int SendCommand(int id, Notify code = Notify::Click);

    QWidget* Widget() const { return m_pWnd; }
    bool Exists() const { return m_pWnd != nullptr; }

    void SetupWindow(int resourceId, QWidget* parentWindow, WND_CLASS* parentObject);
    void SetFrame(int clientW, int clientH, int minW, int minH, int maxW, int maxH);
    void Show(bool show);
    void Enable(bool enable);
    void MoveTo(int x, int y);
    void ResizeClient(int w, int h);
    void GetWindowPos(int& x, int& y) const;
    void SetDebugName(const std::string& name, bool trace) { m_DebugName = name; m_bTrace = trace; }

    // Placement: over an owner (centred when asked), over a parent's rectangle,
    // or at a saved position; then pulled into the work area.
    void SetOwner(WND_CLASS* owner, bool centre) { m_pOwner = owner; m_bCentre = centre; }
    void SetPlaceParent(QWidget* parent, bool centre) { m_pPlaceParent = parent; m_bCentre = centre; }
    void SetSavedPosition(int x, int y) { m_nSavedX = x; m_nSavedY = y; }
    void PlaceWindow();
    // The record a tool window keeps its place in: once it holds a place the
    // window opens there (before any other placement), and the window stores
    // its position and size into it when it is destroyed.
    void SetPlaceRecord(cWndPosInfo* place) { m_pPlace = place; }
    cWndPosInfo* PlaceRecord() const { return m_pPlace; }
    void StorePlace();

    // Accelerator tables (resource ids) with the widget they serve; the message
    // filter translates keys with them while this window is active.
    void AddAccelerator(QWidget* target, int acceleratorId);
    const std::vector<std::pair<int, QPointer<QWidget>>>& Accelerators() const { return m_Accelerators; }

    // Popup menu shown on right-button release (a menu resource id; 0 for none).
    void SetPopupMenu(int menuId);
    // Shows a menu resource at the cursor (or at a given screen point); the
    // chosen item is sent as a command. Returns the command id or 0.
    int TrackPopup(int menuId, QPoint screenPos = QPoint());
    // Adds window-specific items to a popup menu just built from its resource
    // (items carry their command id as data).
    virtual void ExtendPopup(QMenu& /*menu*/, int /*menuId*/) {}

    const MouseButtons& Mouse() const { return m_Mouse; }
    const QPoint& MousePos() const { return m_MousePos; }
    // Reads the mouse; returns 0 when outside the client area and not forced.
    int UpdateMouse(bool force);
    WindowKind Kind() const { return m_Kind; }
    virtual bool IsActive() const;

protected:
    void AttachWidget(QWidget* w);
    void DetachWidget();

    QWidget* m_pWnd = nullptr;
    WindowKind m_Kind = WindowKind::Plain;
    int m_nResourceId = 0;
    QPointer<QWidget> m_pParentWnd;
    WND_CLASS* m_pParentObj = nullptr;
    WND_CLASS* m_pOwner = nullptr;
    QPointer<QWidget> m_pPlaceParent;
    bool m_bCentre = false;
    int m_nSavedX = kNoSavedPosition, m_nSavedY = kNoSavedPosition;
    cWndPosInfo* m_pPlace = nullptr;
    int m_nClientW = 0, m_nClientH = 0;
    int m_nMinW = 0, m_nMinH = 0, m_nMaxW = 0, m_nMaxH = 0;
    std::string m_DebugName;
    bool m_bTrace = false;
    MouseButtons m_Mouse;
    QPoint m_MousePos;
    QPoint m_CursorScreen;
    PopupTrigger m_Popup;
    int m_nPopupMenu = 0;
    std::vector<std::pair<int, QPointer<QWidget>>> m_Accelerators;
    bool m_bInCommand = false;
};

// A plain window; OnCreate runs when it is created.
class VIEW_CLASS : public WND_CLASS {
public:
    ~VIEW_CLASS() override;
    virtual void OnCreate() {}
    // Creates the window (a main window that may carry a tool bar and status bar).
    bool Create(const QString& title, int x, int y, int w, int h);
    QMainWindow* MainWindow() const { return static_cast<QMainWindow*>(m_pWnd); }
    // Adds tool bar buttons: images of 16 x 15 pixels from a strip of count images.
    struct ToolButton { int command; int image; const char* tip; };  // command 0: separator
    void AddToolbarButtons(const ToolButton* buttons, int count, const QString& bitmapFile);
};

// The application frame: a window object that is never shown. It owns the
// tool windows and the application's lifetime: closing it asks whether to
// end, and the application becoming active again brings back the editor's
// windows. The main window, not the frame, is the application's entry in the
// task bar.
class VIEW_MAIN : public VIEW_CLASS {
public:
    ~VIEW_MAIN() override;
    void OnCreate() override;
    // The main window. While it exists, closing the frame is quitting through
    // it (with its save question); without it the frame asks whether to end.
    void SetMainDialog(DLG_CLASS* main) { m_pMain = main; }
    void OnClose() override;
    // Runs onRestore (the main window puts back what it put away when it was
    // minimized); the frame itself stays out of sight.
    void Restore();
    std::function<void()> onRestore;
    // Ends the application (default: leaves the event loop with status 0).
    std::function<void()> onQuit;

private:
    DLG_CLASS* m_pMain = nullptr;
    QMetaObject::Connection m_Activation;
    bool m_bRestoring = false;
};

class DLG_CLASS : public WND_CLASS {
public:
    DLG_CLASS();
    ~DLG_CLASS() override;

    // Runs the dialog modally; refuses (0) when its window exists already.
    int DoModal(int options = 0);
    // Opens the dialog modeless (closing a previous window of it first).
    void CreateModeless(int options = 0, bool show = true);
    // Stores the result, drops the controls and ends the dialog.
    void Close(int result);
    int Result() const { return m_nResult; }
    bool IsModeless() const { return m_bModeless; }

    // Writes every bound value into its control (Store does nothing meanwhile).
    void UpdateAll();
    void UpdateAllBut(int id);
    void StoreAll();
    bool Updating() const { return m_bUpdating; }
    void RefreshLists() override;
    // The id of the first control with that id whose kind produces the code, or 0.
    int FindCommandSource(int id, Notify code) const;

    void OnCommand(int id, Notify code) override;
    bool WndProc(QEvent* e) override;
    void OnClose() override { Close(0); }
    virtual void OnInitDialog();
    // Builds the dialog's widgets and gives each input an id (AddItem).
    virtual void Build(QDialog* dialog) = 0;

    // OK stores the controls and closes with 1; Cancel closes with 0. True when handled.
    bool StandardButtons(int id);

    // --- dialog items and controls
    void AddItem(int id, QWidget* widget);
    QWidget* Item(int id) const;
    void RegisterControl(CTRL_CLASS* control);  // takes ownership
    CTRL_CLASS* FindControl(int id) const;
    // A registered control by id; an unknown id is reported and ends the editor.
    template <class C>
    C* Control(int id) const
    {
        C* c = dynamic_cast<C*>(FindControl(id));
        if (!c)
            MissingControl(id);
        return c;
    }
    const std::vector<std::unique_ptr<CTRL_CLASS>>& Controls() const { return m_Controls; }

    // Routed from the widgets.
    void ItemNotify(int id, int code, int data);
    void ItemScroll(int id, int pos);
    // A key reaching the dialog (reposted by the keyboard rules).
    void KeyDown(int key, bool ctrlDown);

    // The dialog's own scroll bars: bit 0 horizontal, bit 1 vertical.
    void SetOwnScrollBars(int flags) { m_nScrollFlags = flags; }
    void SetScrollRange(bool vertical, int minimum, int maximum, int page);
    void SetScrollPos(int pos, bool vertical = true);
    int ScrollBy(int delta, bool vertical = true);
    QScrollBar* OwnScrollBar(bool vertical) const { return vertical ? m_pScrollV : m_pScrollH; }

    cHook& Hook() { return m_Hook; }
    QDialog* Dialog() const { return static_cast<QDialog*>(m_pWnd); }
    void SetPage(PROP_CLASS* sheet) { m_pSheet = sheet; m_Kind = WindowKind::Page; }
    // A sheet's page becomes the current page, or stops being it.
    virtual void OnPageEnter() {}
    virtual void OnPageLeave() {}
    PROP_CLASS* Sheet() const { return m_pSheet; }
    bool IsActive() const override;
    QString Title() const { return m_Title; }
    void SetTitle(const QString& title);

protected:
    void MissingControl(int id) const;
    void HideOthers();
    void RestoreOthers();
    QDialog* CreateWidget();
    void DestroyWidget();

    bool m_bModeless = false;
    int m_nOptions = 0;
    int m_nResult = 0;
    bool m_bOthersChanged = false;
    std::vector<QPointer<QWidget>> m_Hidden, m_Disabled;
    std::vector<std::unique_ptr<CTRL_CLASS>> m_Controls;
    // Controls dropped by Close while one of them may still be running (a key
    // or a notification that led to the close); freed at the next opening.
    std::vector<std::unique_ptr<CTRL_CLASS>> m_Retired;
    void RetireControls();
    std::map<int, QPointer<QWidget>> m_Items;
    bool m_bUpdating = false;
    int m_nScrollFlags = 0;
    QScrollBar* m_pScrollH = nullptr;
    QScrollBar* m_pScrollV = nullptr;
    cHook m_Hook;
    PROP_CLASS* m_pSheet = nullptr;
    QString m_Title;
    class QObject* m_pItemFilter = nullptr;
    bool m_bPlacedShown = false;
};

// A property sheet whose pages are dialogs: tabs, then OK (the default
// button: Enter in any page), "キャンセル" and "適用(&A)". OK and Apply call
// OnApply, OK then closes the pages; Cancel and the close box call OnCancel.
// Leaving a page calls its OnPageLeave, entering one its OnPageEnter. With
// SetBuildOnShow a page is created when it is first shown; each page sits in a
// scroll area, so the sheet may be smaller than its pages.
class PROP_CLASS {
public:
    virtual ~PROP_CLASS();
    void AddPage(DLG_CLASS* page, const QString& title);
    bool Create(QWidget* parent, const QString& title, bool modeless);
    void Destroy();
    QDialog* Widget() const { return m_pWnd; }
    DLG_CLASS* CurrentPage() const;
    int CurrentIndex() const;
    // Shows the page (building it first when needed).
    void SetCurrentPage(int index);
    int PageCount() const { return static_cast<int>(m_Pages.size()); }
    DLG_CLASS* Page(int index) const { return m_Pages[static_cast<std::size_t>(index)].page; }
    QString PageTitle(int index) const { return m_Pages[static_cast<std::size_t>(index)].title; }
    class QTabWidget* Tabs() const { return m_pTabs; }
    bool IsModeless() const { return m_bModeless; }
    void SetBuildOnShow(bool lazy) { m_bLazy = lazy; }
    // Forgets the pages (a derived sheet that owns them, before they go).
    void RemovePages() { m_Pages.clear(); }
    // Closes every page, as the sheet's OK and Cancel buttons do; the sheet
    // itself goes at the next event (CloseFinishedSheets).
    void ClosePages();
    // The sheet's buttons: OK applies and closes, Cancel (also the close box)
    // closes, Apply applies. Enter in a page is OK.
    virtual void OnOk();
    virtual void OnCancel();
    virtual void OnApply() {}
    // After the sheet's window was destroyed.
    virtual void OnSheetClosed() {}
    // True once the sheet's window stands without any open page.
    bool Finished() const;

private:
    void BuildPage(int index);
    void PageChanged(int index);

    struct PageEntry {
        DLG_CLASS* page;
        QString title;
        class QScrollArea* area = nullptr;
    };
    QPointer<QDialog> m_pWnd;
    class QTabWidget* m_pTabs = nullptr;
    std::vector<PageEntry> m_Pages;
    bool m_bModeless = false;
    bool m_bLazy = false;
    int m_nCurrent = -1;
};

// The open modeless dialogs and property sheets, which the message filter walks.
class ModelessRegistry {
public:
    static ModelessRegistry& Instance();
    void Add(DLG_CLASS* d);
    void Remove(DLG_CLASS* d);
    void Add(PROP_CLASS* s);
    void Remove(PROP_CLASS* s);
    const std::vector<DLG_CLASS*>& Dialogs() const { return m_Dialogs; }
    const std::vector<PROP_CLASS*>& Sheets() const { return m_Sheets; }

private:
    std::vector<DLG_CLASS*> m_Dialogs;
    std::vector<PROP_CLASS*> m_Sheets;
};

// Destroys the registered modeless sheets whose pages were closed and takes
// them out of the registry; runs before every event is delivered.
void CloseFinishedSheets();

// The application: every event passes the dialogs' keyboard rules and the
// accelerator tables of the modeless dialogs before it is delivered.
class EditorApplication;
bool KeyboardFilter(QObject* receiver, QEvent* e);
// True when the event is user input for a window that a modal run holds still
// (its owner's window); such input is dropped.
bool HeldByModalRun(QObject* receiver, QEvent* e);
// The dialog of the innermost modal run, if any.
QDialog* CurrentModalDialog();
// True while an input-method composition is in progress.
bool ImeComposing();
// The process-wide Ctrl flag of the keyboard rules.
bool CtrlKeyDown();
