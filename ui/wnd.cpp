#include "ui/wnd.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCloseEvent>
#include <QCursor>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "base/log.h"
#include "base/text.h"
#include "resources/menus.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/qt_text.h"
#include "ui/resources_qt.h"
#include "ui/widgets.h"

int ScrollBarIdH = 1196;
int ScrollBarIdV = 1197;

namespace {

// Events the keyboard rules post to a dialog.
const QEvent::Type kHookKeyEvent = static_cast<QEvent::Type>(QEvent::User + 1000);
const QEvent::Type kPostedKeyEvent = static_cast<QEvent::Type>(QEvent::User + 1001);

class DialogKeyEvent : public QEvent {
public:
    DialogKeyEvent(Type type, int key, bool press, bool ctrl) : QEvent(type), key(key), press(press), ctrl(ctrl) {}
    int key;
    bool press;
    bool ctrl;  // the Ctrl flag when the key was pressed
};

bool g_ctrlDown = false;
bool g_composing = false;

// The dialog window: forwards every event to its DLG_CLASS.
// True when a visible push button of the window is its default button.
bool HasDefaultButton(QWidget* window)
{
    for (QPushButton* b : window->findChildren<QPushButton*>())
        if (b->isDefault() && b->isVisible())
            return true;
    return false;
}

class DlgWidget : public QDialog {
public:
    DlgWidget(DLG_CLASS* owner, QWidget* parent) : QDialog(parent), owner(owner) {}
    DLG_CLASS* owner;

protected:
    bool event(QEvent* e) override
    {
        if (owner && owner->MsgProc(e))
            return true;
        return QDialog::event(e);
    }
    void paintEvent(QPaintEvent* e) override
    {
        QDialog::paintEvent(e);
        if (owner) {
            QPainter p(this);
            owner->OnPaint(p);
        }
    }
    void closeEvent(QCloseEvent* e) override
    {
        e->ignore();
        if (owner)
            owner->OnClose();
    }
    // Escape (when the keyboard rules let it through) arrives as a command.
    void reject() override
    {
        if (owner)
            owner->SendCommand(IDC_ESCAPE, Notify::Click);
    }
    // Enter clicks only a button the dialog made its default; without one it
    // goes on to the window around (a sheet's page hands it to the sheet).
    void keyPressEvent(QKeyEvent* e) override
    {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !HasDefaultButton(this)) {
            e->ignore();
            return;
        }
        QDialog::keyPressEvent(e);
    }
};

// The property sheet's window: closing it is the sheet's Cancel.
class SheetWidget : public QDialog {
public:
    SheetWidget(PROP_CLASS* owner, QWidget* parent) : QDialog(parent), owner(owner) {}
    PROP_CLASS* owner;

protected:
    void reject() override
    {
        if (owner)
            owner->OnCancel();
    }
};

class ViewWidget : public QMainWindow {
public:
    explicit ViewWidget(WND_CLASS* owner) : owner(owner) {}
    WND_CLASS* owner;

protected:
    bool event(QEvent* e) override
    {
        if (owner && owner->MsgProc(e))
            return true;
        return QMainWindow::event(e);
    }
    void closeEvent(QCloseEvent* e) override
    {
        e->ignore();
        if (owner)
            owner->OnClose();
    }
};

HookKey ClassifyKey(int key)
{
    switch (key) {
    case Qt::Key_Escape: return HookKey::Escape;
    case Qt::Key_Return:
    case Qt::Key_Enter: return HookKey::Enter;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return HookKey::Tab;
    case Qt::Key_Control: return HookKey::Ctrl;
    case Qt::Key_Space: return HookKey::Space;
    case Qt::Key_Left: return HookKey::Left;
    case Qt::Key_Up: return HookKey::Up;
    case Qt::Key_Right: return HookKey::Right;
    case Qt::Key_Down: return HookKey::Down;
    case Qt::Key_Delete: return HookKey::Delete;
    default:
        return key >= Qt::Key_F1 && key <= Qt::Key_F8 ? HookKey::F1to8 : HookKey::Other;
    }
}

cHook* HookOf(QWidget* window)
{
    if (!window)
        return nullptr;
    QVariant v = window->property("cHook");
    return v.isValid() ? static_cast<cHook*>(v.value<void*>()) : nullptr;
}

// The current page of the registered sheet whose window is `window`, if any.
DLG_CLASS* CurrentSheetPage(QWidget* window)
{
    for (PROP_CLASS* s : ModelessRegistry::Instance().Sheets())
        if (s->Widget() == window)
            return s->CurrentPage();
    for (DLG_CLASS* d : ModelessRegistry::Instance().Dialogs())
        if (d->Kind() == WindowKind::Page && d->Sheet() && d->Sheet()->Widget() == window)
            return d->Sheet()->CurrentPage();
    return nullptr;
}

// Accelerators of the registered modeless dialogs (the active one only).
bool TranslateModelessAccelerators(QWidget* active, const QKeyEvent& key)
{
    for (DLG_CLASS* d : ModelessRegistry::Instance().Dialogs()) {
        if (!d->Widget())
            continue;
        bool qualifies = d->Kind() == WindowKind::Page
                             ? d->Sheet() && d->Sheet()->Widget() == active && d->Sheet()->CurrentPage() == d
                             : d->Widget() == active;
        if (!qualifies)
            continue;
        for (const auto& [table, target] : d->Accelerators()) {
            if (target != d->Widget() && target != QApplication::focusWidget())
                continue;
            if (int command = TranslateAccelerator(table, key)) {
                d->SendCommand(command, Notify::Accelerator);
                return true;
            }
        }
    }
    return false;
}

}  // namespace

bool ImeComposing() { return g_composing; }
bool CtrlKeyDown() { return g_ctrlDown; }

// The keyboard rules of dialogs and the accelerators of modeless dialogs.
bool KeyboardFilter(QObject* receiver, QEvent* e)
{
    if (e->type() == QEvent::InputMethod) {
        g_composing = !static_cast<QInputMethodEvent*>(e)->preeditString().isEmpty();
        return false;
    }
    if (e->type() == QEvent::FocusOut)
        return false;
    if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease)
        return false;
    if (!receiver->isWidgetType())
        return false;
    auto* key = static_cast<QKeyEvent*>(e);
    const bool press = e->type() == QEvent::KeyPress;
    // An open menu or drop-down list handles its own keys: Escape closes it,
    // Alt and the arrows move through it. Only the Ctrl flag is kept.
    if (QApplication::activePopupWidget()) {
        if (key->key() == Qt::Key_Control)
            g_ctrlDown = press;
        return false;
    }
    QWidget* active = static_cast<QWidget*>(receiver)->window();
    cHook* hook = HookOf(active);
    // A property sheet has no keyboard record of its own: its current page
    // takes the keys, while Escape stays swallowed (the sheet closes only by
    // its buttons).
    bool sheet = false;
    if (!hook) {
        if (DLG_CLASS* page = CurrentSheetPage(active)) {
            hook = &page->Hook();
            sheet = true;
        }
    }

    HookInput in;
    in.key = ClassifyKey(key->key());
    in.press = press;
    in.hasHook = hook != nullptr && hook->window;
    in.swallowEscape = hook && (hook->swallowEscape || sheet);
    in.modeless = hook && hook->modeless;
    in.composing = g_composing;
    HookDecision d = DecideHookKey(in, g_ctrlDown);
    if (d.consume)
        return true;
    // A key an accelerator translated ends there: the list key tables carry
    // the same commands, and a second delivery would run them twice.
    if (press && TranslateModelessAccelerators(active, *key))
        return true;
    if (in.hasHook && (d.postHookKey || d.postKey)) {
        // The Ctrl flag travels with the key: Ctrl may be up again by the time
        // the dialog sees it.
        QCoreApplication::postEvent(hook->window, new DialogKeyEvent(d.postHookKey ? kHookKeyEvent : kPostedKeyEvent,
                                                                     key->key(), in.press, g_ctrlDown));
    }
    return false;
}

EditorApplication::EditorApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void CloseFinishedSheets()
{
    // A copy: destroying a sheet takes it out of the registry. The event goes
    // on to its receiver (dropping it could lose a timer or a deferred delete).
    std::vector<PROP_CLASS*> sheets = ModelessRegistry::Instance().Sheets();
    for (PROP_CLASS* s : sheets)
        if (s->Finished())
            s->Destroy();
}

bool EditorApplication::notify(QObject* receiver, QEvent* e)
{
    if (!ModelessRegistry::Instance().Sheets().empty())
        CloseFinishedSheets();
    if (HeldByModalRun(receiver, e))
        return true;
    if (KeyboardFilter(receiver, e))
        return true;
    return QApplication::notify(receiver, e);
}

// ---------------------------------------------------------------------------
// WND_CLASS

WND_CLASS::WND_CLASS() = default;

WND_CLASS::~WND_CLASS() = default;

void WND_CLASS::AttachWidget(QWidget* w) { m_pWnd = w; }

void WND_CLASS::DetachWidget() { m_pWnd = nullptr; }

int WND_CLASS::SendCommand(int id, Notify code)
{
    if (m_bInCommand)
        return 0;
    m_bInCommand = true;
    OnCommand(id, code);
    m_bInCommand = false;
    return 1;
}

bool WND_CLASS::IsActive() const { return m_pWnd && m_pWnd->isActiveWindow(); }

int WND_CLASS::UpdateMouse(bool force)
{
    if (!m_pWnd)
        return 0;
    QPoint screen = QCursor::pos();
    QPoint local = m_pWnd->mapFromGlobal(screen);
    if (!force && !m_pWnd->rect().contains(local))
        return 0;
    m_MousePos = local;
    m_CursorScreen = screen;
    if (IsActive()) {
        Qt::MouseButtons b = QGuiApplication::mouseButtons();
        m_Mouse.Poll(b & Qt::LeftButton, b & Qt::RightButton);
    }
    return 1;
}

bool WND_CLASS::WndProc(QEvent* e)
{
    switch (e->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* m = static_cast<QMouseEvent*>(e);
        m_MousePos = m->position().toPoint();
        m_CursorScreen = m->globalPosition().toPoint();
        m_Mouse.Poll(m->buttons() & Qt::LeftButton, m->buttons() & Qt::RightButton);
        bool left = m->button() == Qt::LeftButton;
        bool right = m->button() == Qt::RightButton;
        if (e->type() == QEvent::MouseMove)
            OnMouseMove(m_MousePos);
        else if (e->type() == QEvent::MouseButtonPress) {
            if (left) OnLButtonDown(m_MousePos);
            if (right) OnRButtonDown(m_MousePos);
        } else if (e->type() == QEvent::MouseButtonDblClick) {
            if (left) OnLButtonDblClk(m_MousePos);
            if (right) OnRButtonDblClk(m_MousePos);
        } else {
            if (left) OnLButtonUp(m_MousePos);
            if (right) OnRButtonUp(m_MousePos);
        }
        if (m_Popup.Due(m_Mouse, IsActive()))
            TrackPopup(m_nPopupMenu);
        return false;
    }
    default:
        return false;
    }
}

void WND_CLASS::SetupWindow(int resourceId, QWidget* parentWindow, WND_CLASS* parentObject)
{
    m_nResourceId = resourceId;
    m_pParentWnd = parentWindow;
    m_pParentObj = parentObject;
}

void WND_CLASS::SetFrame(int clientW, int clientH, int minW, int minH, int maxW, int maxH)
{
    m_nClientW = clientW;
    m_nClientH = clientH;
    m_nMinW = minW;
    m_nMinH = minH;
    m_nMaxW = maxW;
    m_nMaxH = maxH;
}

void WND_CLASS::Show(bool show)
{
    if (m_pWnd)
        m_pWnd->setVisible(show);
}

void WND_CLASS::Enable(bool enable)
{
    if (m_pWnd)
        m_pWnd->setEnabled(enable);
}

void WND_CLASS::MoveTo(int x, int y)
{
    if (m_pWnd)
        m_pWnd->move(x, y);
}

void WND_CLASS::ResizeClient(int w, int h)
{
    m_nClientW = w;
    m_nClientH = h;
    if (m_pWnd)
        m_pWnd->resize(w, h);
}

void WND_CLASS::GetWindowPos(int& x, int& y) const
{
    QPoint p = m_pWnd ? m_pWnd->pos() : QPoint();
    x = p.x();
    y = p.y();
}

void WND_CLASS::PlaceWindow()
{
    // A window set into another (a property-sheet page) is laid out by it.
    if (!m_pWnd || !m_pWnd->isWindow())
        return;
    QSize size = m_pWnd->frameGeometry().size();
    QPoint at;
    const bool stored = m_pPlace && m_pPlace->m_bValid;
    // Centring puts this window's client area over the other's client area;
    // the result is the position of this window's frame.
    auto centredIn = [&](const QRect& client) {
        const QPoint frameToClient = m_pWnd->geometry().topLeft() - m_pWnd->frameGeometry().topLeft();
        const QSize own = m_pWnd->size();
        return QPoint(client.x() + (client.width() - own.width()) / 2,
                      client.y() + (client.height() - own.height()) / 2) - frameToClient;
    };
    auto centred = [&](const QWidget* over) { return centredIn(QRect(over->mapToGlobal(QPoint(0, 0)), over->size())); };
    if (stored) {
        at = QPoint(m_pPlace->m_nLeft, m_pPlace->m_nTop);
    } else if (m_pOwner && m_pOwner->Widget()) {
        QWidget* o = m_pOwner->Widget();
        at = m_bCentre ? centred(o) : o->pos();
    } else if (m_pPlaceParent) {
        QRect r = m_pPlaceParent->frameGeometry();
        at = m_bCentre ? centred(m_pPlaceParent) : r.topLeft();
    } else if (m_nSavedX != kNoSavedPosition || m_nSavedY != kNoSavedPosition) {
        at = QPoint(m_nSavedX, m_nSavedY);
    } else {
        // Where the platform puts a window of its own accord: centred in the
        // work area of the screen under the mouse.
        QScreen* under = QGuiApplication::screenAt(QCursor::pos());
        if (!under)
            under = QGuiApplication::primaryScreen();
        at = under ? centredIn(under->availableGeometry()) : m_pWnd->pos();
    }
    // Clamped into the work area of the screen the window lands on.
    QScreen* screen = QGuiApplication::screenAt(at + QPoint(size.width() / 2, size.height() / 2));
    if (!screen)
        screen = m_pWnd->screen() ? m_pWnd->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect a = screen->availableGeometry();
        WorkArea area{a.left(), a.top(), a.left() + a.width(), a.top() + a.height()};
        int x = at.x(), y = at.y();
        ClampToWorkArea(x, y, size.width(), size.height(), area);
        at = QPoint(x, y);
    }
    m_pWnd->move(at);
}

void WND_CLASS::StorePlace()
{
    if (!m_pPlace || !m_pWnd)
        return;
    m_pPlace->m_bValid = 1;
    m_pPlace->m_nLeft = m_pWnd->x();
    m_pPlace->m_nTop = m_pWnd->y();
    m_pPlace->m_nRight = m_pWnd->width();
    m_pPlace->m_nBottom = m_pWnd->height();
}

void WND_CLASS::AddAccelerator(QWidget* target, int acceleratorId)
{
    m_Accelerators.emplace_back(acceleratorId, QPointer<QWidget>(target ? target : m_pWnd));
}

// A popup is armed only once the right button is up, so that the release of the
// click that opened the window shows nothing.
static bool RightButtonUp() { return !(QGuiApplication::mouseButtons() & Qt::RightButton); }

void WND_CLASS::SetPopupMenu(int menuId)
{
    m_nPopupMenu = menuId;
    m_Popup.enabled = menuId != 0;
    m_Popup.armed = m_Popup.enabled && RightButtonUp();
}

int WND_CLASS::TrackPopup(int menuId, QPoint screenPos)
{
    if (!m_pWnd || !menuId)
        return 0;
    QMenu menu(m_pWnd);
    BuildMenu(menu, menuId);
    ExtendPopup(menu, menuId);
    int chosen = 0;
    QObject::connect(&menu, &QMenu::triggered, [&chosen](QAction* a) { chosen = a->data().toInt(); });
    if (screenPos.isNull())
        screenPos = m_CursorScreen.isNull() ? QCursor::pos() : m_CursorScreen;
    menu.exec(screenPos);
    if (chosen)
        SendCommand(chosen, Notify::Menu);
    return chosen;
}

// ---------------------------------------------------------------------------
// VIEW_CLASS

VIEW_CLASS::~VIEW_CLASS()
{
    // The window goes with its object; after the application object is gone
    // there is nothing left to delete it with.
    if (auto* v = static_cast<ViewWidget*>(m_pWnd)) {
        v->owner = nullptr;
        if (QCoreApplication::instance())
            delete v;
    }
}

bool VIEW_CLASS::Create(const QString& title, int x, int y, int w, int h)
{
    auto* v = new ViewWidget(this);
    v->setWindowTitle(title);
    v->setGeometry(x, y, w, h);
    AttachWidget(v);
    OnCreate();
    return true;
}

void VIEW_CLASS::AddToolbarButtons(const ToolButton* buttons, int count, const QString& bitmapFile)
{
    QMainWindow* main = MainWindow();
    if (!main)
        return;
    QToolBar* bar = main->findChild<QToolBar*>();
    if (!bar)
        bar = main->addToolBar(QString());
    QImage strip(bitmapFile);
    for (int i = 0; i < count; ++i) {
        const ToolButton& b = buttons[i];
        if (b.command == 0) {
            bar->addSeparator();
            continue;
        }
        QIcon icon;
        if (!strip.isNull())
            icon = QIcon(QPixmap::fromImage(strip.copy(b.image * 16, 0, 16, 15)));
        QAction* a = bar->addAction(icon, QString::fromUtf8(b.tip ? b.tip : ""));
        int command = b.command;
        QObject::connect(a, &QAction::triggered, [this, command] { SendCommand(command, Notify::Menu); });
    }
}

VIEW_MAIN::~VIEW_MAIN() { QObject::disconnect(m_Activation); }

void VIEW_MAIN::OnCreate()
{
    // The application becoming active again restores the editor's windows as
    // the frame's own restore command does.
    QObject::disconnect(m_Activation);
    m_Activation = QObject::connect(qApp, &QGuiApplication::applicationStateChanged, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive && m_pWnd)
            Restore();
    });
}

void VIEW_MAIN::OnClose()
{
    if (m_pMain && m_pMain->Exists()) {
        m_pMain->OnClose();
        return;
    }
    if (MessageBoxText(SJ("終了しますか？\n"), SJ("終了確認"), Buttons::YesNo) != Answer::Yes)
        return;
    if (onQuit)
        onQuit();
    else
        QCoreApplication::exit(0);
}

void VIEW_MAIN::Restore()
{
    if (!m_pWnd || m_bRestoring)
        return;
    m_bRestoring = true;
    if (onRestore)
        onRestore();
    m_bRestoring = false;
}

// ---------------------------------------------------------------------------
// ModelessRegistry

ModelessRegistry& ModelessRegistry::Instance()
{
    static ModelessRegistry registry;
    return registry;
}

void ModelessRegistry::Add(DLG_CLASS* d)
{
    if (std::find(m_Dialogs.begin(), m_Dialogs.end(), d) == m_Dialogs.end())
        m_Dialogs.push_back(d);
}

void ModelessRegistry::Remove(DLG_CLASS* d) { m_Dialogs.erase(std::remove(m_Dialogs.begin(), m_Dialogs.end(), d), m_Dialogs.end()); }

void ModelessRegistry::Add(PROP_CLASS* s)
{
    if (std::find(m_Sheets.begin(), m_Sheets.end(), s) == m_Sheets.end())
        m_Sheets.push_back(s);
}

void ModelessRegistry::Remove(PROP_CLASS* s) { m_Sheets.erase(std::remove(m_Sheets.begin(), m_Sheets.end(), s), m_Sheets.end()); }

// ---------------------------------------------------------------------------
// DLG_CLASS

namespace {

// Watches the dialog's items for focus loss.
class ItemFilter : public QObject {
public:
    explicit ItemFilter(DLG_CLASS* dlg) : dlg_(dlg) {}
    std::map<QObject*, std::pair<int, Notify>> focusCodes;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::FocusOut) {
            auto it = focusCodes.find(o);
            if (it != focusCodes.end() && dlg_->Exists())
                dlg_->SendCommand(it->second.first, it->second.second);
        }
        return false;
    }

private:
    DLG_CLASS* dlg_;
};

}  // namespace

DLG_CLASS::DLG_CLASS() { m_Kind = WindowKind::Dialog; }

DLG_CLASS::~DLG_CLASS()
{
    // A window that outlives its editor's run (the process is ending) keeps
    // no place: the record may be gone already.
    m_pPlace = nullptr;
    ModelessRegistry::Instance().Remove(this);
    m_Controls.clear();
    DestroyWidget();
}

void DLG_CLASS::SetTitle(const QString& title)
{
    m_Title = title;
    if (m_pWnd)
        m_pWnd->setWindowTitle(title);
}

bool DLG_CLASS::IsActive() const
{
    if (m_Kind == WindowKind::Page)
        return m_pSheet && m_pSheet->Widget() && m_pSheet->Widget()->isActiveWindow() && m_pSheet->CurrentPage() == this;
    return WND_CLASS::IsActive();
}

QDialog* DLG_CLASS::CreateWidget()
{
    QWidget* parent = m_pParentWnd ? m_pParentWnd.data() : nullptr;
    if (!parent && m_pParentObj)
        parent = m_pParentObj->Widget();
    auto* w = new DlgWidget(this, parent);
    if (!m_Title.isEmpty())
        w->setWindowTitle(m_Title);
    AttachWidget(w);
    m_Items.clear();
    m_bPlacedShown = false;
    delete m_pItemFilter;
    m_pItemFilter = new ItemFilter(this);
    m_pItemFilter->setParent(w);
    Build(w);
    // Enter clicks no button that merely has the focus or comes first: only
    // a button the dialog made its default (OK of the simple dialogs).
    for (QPushButton* b : w->findChildren<QPushButton*>())
        if (!b->isDefault())
            b->setAutoDefault(false);
    return w;
}

void DLG_CLASS::DestroyWidget()
{
    if (!m_pWnd)
        return;
    StorePlace();
    auto* w = static_cast<DlgWidget*>(m_pWnd);
    w->owner = nullptr;
    w->setProperty("cHook", QVariant());
    w->hide();
    DetachWidget();
    // The items outlive this object until their deferred delete; a focus
    // change meanwhile must not reach a filter that calls back into it.
    delete m_pItemFilter;
    m_pItemFilter = nullptr;
    m_pScrollH = m_pScrollV = nullptr;
    m_Items.clear();
    w->deleteLater();
}

void DLG_CLASS::HideOthers()
{
    m_Hidden.clear();
    m_Disabled.clear();
    std::vector<QWidget*> others;
    for (DLG_CLASS* d : ModelessRegistry::Instance().Dialogs())
        if (d != this && d->Widget())
            others.push_back(d->Widget());
    for (PROP_CLASS* s : ModelessRegistry::Instance().Sheets())
        if (s->Widget())
            others.push_back(s->Widget());
    for (QWidget* w : others) {
        if ((m_nOptions & DO_HIDE_OTHERS) && w->isVisible()) {
            w->hide();
            m_Hidden.emplace_back(w);
        }
        if ((m_nOptions & DO_DISABLE_OTHERS) && w->isEnabled()) {
            w->setEnabled(false);
            m_Disabled.emplace_back(w);
        }
    }
    m_bOthersChanged = true;
}

void DLG_CLASS::RestoreOthers()
{
    if (!m_bOthersChanged)
        return;
    m_bOthersChanged = false;
    for (auto& w : m_Hidden)
        if (w)
            w->show();
    for (auto& w : m_Disabled)
        if (w)
            w->setEnabled(true);
    m_Hidden.clear();
    m_Disabled.clear();
}

namespace {

// The modal runs in progress, innermost last, each with the window it holds
// still (its owner's window; none when it has no owner).
struct ModalRun {
    DLG_CLASS* dialog;
    QPointer<QWidget> held;
};
std::vector<ModalRun> g_modalRuns;

// Input that a window held by a modal run does not get.
bool IsUserInput(QEvent::Type t)
{
    switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

}  // namespace

bool HeldByModalRun(QObject* receiver, QEvent* e)
{
    if (g_modalRuns.empty() || !receiver->isWidgetType() || !IsUserInput(e->type()))
        return false;
    QWidget* window = static_cast<QWidget*>(receiver)->window();
    for (const ModalRun& run : g_modalRuns)
        if (run.held == window)
            return true;
    return false;
}

QDialog* CurrentModalDialog()
{
    for (auto it = g_modalRuns.rbegin(); it != g_modalRuns.rend(); ++it)
        if (it->dialog->Widget())
            return it->dialog->Dialog();
    return nullptr;
}

int DLG_CLASS::DoModal(int options)
{
    if (m_pWnd)
        return 0;
    m_Controls.clear();
    m_bModeless = false;
    m_nOptions = options;
    m_nResult = 0;
    HideOthers();
    QDialog* w = CreateWidget();
    // A modal run holds still only its owner's window, as the platform's own
    // modal dialogs do; other windows are hidden or disabled only when the
    // options ask for it.
    QEventLoop loop;
    bool finished = false;
    QObject::connect(w, &QDialog::finished, &loop, [&finished, &loop] {
        finished = true;
        loop.quit();
    });
    OnInitDialog();
    if (!finished) {
        QWidget* owner = m_pParentWnd ? m_pParentWnd.data() : m_pParentObj ? m_pParentObj->Widget() : nullptr;
        g_modalRuns.push_back({this, owner ? owner->window() : nullptr});
        w->show();
        w->raise();
        w->activateWindow();
        loop.exec(QEventLoop::DialogExec);
        g_modalRuns.erase(std::find_if(g_modalRuns.begin(), g_modalRuns.end(),
                                       [this](const ModalRun& r) { return r.dialog == this; }));
    }
    RestoreOthers();
    RetireControls();
    DestroyWidget();
    return m_nResult;
}

void DLG_CLASS::CreateModeless(int options, bool show)
{
    Close(0);
    if (m_pWnd)
        return;
    m_bModeless = true;
    m_nOptions = options;
    m_nResult = 0;
    HideOthers();
    CreateWidget();
    OnInitDialog();
    if (show) {
        m_pWnd->show();
        m_pWnd->raise();
        m_pWnd->activateWindow();
    }
}

void DLG_CLASS::RetireControls()
{
    for (auto& c : m_Controls)
        m_Retired.push_back(std::move(c));
    m_Controls.clear();
}

void DLG_CLASS::Close(int result)
{
    m_nResult = result;
    RetireControls();
    if (!m_pWnd)
        return;
    if (m_bModeless) {
        ModelessRegistry::Instance().Remove(this);
        RestoreOthers();
        DestroyWidget();
    } else {
        Dialog()->done(result);
    }
}

void DLG_CLASS::OnInitDialog()
{
    m_Controls.clear();
    m_Retired.clear();
    if (m_bModeless)
        ModelessRegistry::Instance().Add(this);
    if (m_pPlace && m_pPlace->m_bValid && m_pPlace->m_nRight > 0 && m_pPlace->m_nBottom > 0)
        m_pWnd->resize(m_pPlace->m_nRight, m_pPlace->m_nBottom);
    else if (m_nClientW > 0 && m_nClientH > 0)
        m_pWnd->resize(m_nClientW, m_nClientH);
    else
        m_pWnd->adjustSize();
    if (m_nMinW > 0 || m_nMinH > 0)
        m_pWnd->setMinimumSize(m_nMinW, m_nMinH);
    if (m_nMaxW > 0 && m_nMaxH > 0)
        m_pWnd->setMaximumSize(m_nMaxW, m_nMaxH);
    if (m_nScrollFlags & 1) {
        m_pScrollH = new QScrollBar(Qt::Horizontal, m_pWnd);
        m_pScrollH->setValue(0);
        QObject::connect(m_pScrollH, &QScrollBar::valueChanged, [this](int) { if (m_pWnd) m_pWnd->update(); });
    }
    if (m_nScrollFlags & 2) {
        m_pScrollV = new QScrollBar(Qt::Vertical, m_pWnd);
        m_pScrollV->setValue(0);
        QObject::connect(m_pScrollV, &QScrollBar::valueChanged, [this](int) { if (m_pWnd) m_pWnd->update(); });
    }
    PlaceWindow();
    m_Hook.window = m_pWnd;
    m_Hook.modeless = m_bModeless;
    m_Hook.dialog = this;
    m_pWnd->setProperty("cHook", QVariant::fromValue<void*>(&m_Hook));
}

bool DLG_CLASS::WndProc(QEvent* e)
{
    if (WND_CLASS::WndProc(e))
        return true;
    switch (e->type()) {
    case QEvent::Resize: {
        QSize s = m_pWnd->size();
        const int extent = 16;
        if (m_pScrollV)
            m_pScrollV->setGeometry(s.width() - extent, 0, extent, s.height() - (m_pScrollH ? extent : 0));
        if (m_pScrollH)
            m_pScrollH->setGeometry(0, s.height() - extent, s.width() - (m_pScrollV ? extent : 0), extent);
        return false;
    }
    default:
        break;
    }
    if (e->type() == kHookKeyEvent) {
        auto* k = static_cast<DialogKeyEvent*>(e);
        KeyDown(k->key, k->ctrl);
        return true;
    }
    if (e->type() == kPostedKeyEvent) {
        auto* k = static_cast<DialogKeyEvent*>(e);
        if (k->press)
            KeyDown(k->key, k->ctrl);
        return true;
    }
    if (e->type() == QEvent::Show && !m_bPlacedShown) {
        // Placed again once shown, when the frame around the dialog is known.
        m_bPlacedShown = true;
        PlaceWindow();
    }
    return false;
}

void DLG_CLASS::KeyDown(int key, bool ctrl)
{
    // Paging and arrow keys scroll the dialog's own scroll bars.
    struct ScrollKey { int key; bool vertical; QAbstractSlider::SliderAction action; };
    static const ScrollKey kScrollKeys[] = {
        {Qt::Key_PageUp, true, QAbstractSlider::SliderPageStepSub},
        {Qt::Key_PageDown, true, QAbstractSlider::SliderPageStepAdd},
        {Qt::Key_End, false, QAbstractSlider::SliderPageStepAdd},
        {Qt::Key_Home, false, QAbstractSlider::SliderPageStepSub},
        {Qt::Key_Left, false, QAbstractSlider::SliderSingleStepSub},
        {Qt::Key_Up, true, QAbstractSlider::SliderSingleStepSub},
        {Qt::Key_Right, false, QAbstractSlider::SliderSingleStepAdd},
        {Qt::Key_Down, true, QAbstractSlider::SliderSingleStepAdd},
    };
    for (const ScrollKey& s : kScrollKeys)
        if (s.key == key)
            if (QScrollBar* bar = OwnScrollBar(s.vertical))
                bar->triggerAction(s.action);
    if (m_bUpdating)
        return;
    for (std::size_t i = 0; i < m_Controls.size(); ++i)
        m_Controls[i]->OnKeyDown(key, ctrl);
}

void DLG_CLASS::SetScrollRange(bool vertical, int minimum, int maximum, int page)
{
    if (QScrollBar* bar = OwnScrollBar(vertical)) {
        bar->setRange(minimum, maximum);
        bar->setPageStep(page);
    }
}

void DLG_CLASS::SetScrollPos(int pos, bool vertical)
{
    if (QScrollBar* bar = OwnScrollBar(vertical))
        bar->setValue(pos);
}

int DLG_CLASS::ScrollBy(int delta, bool vertical)
{
    QScrollBar* bar = OwnScrollBar(vertical);
    if (!bar)
        return 0;
    bar->setValue(bar->value() + delta);
    return bar->value();
}

bool DLG_CLASS::StandardButtons(int id)
{
    if (id == IDC_OK) {
        StoreAll();
        Close(1);
        return true;
    }
    if (id == IDC_CANCEL) {
        Close(0);
        return true;
    }
    return false;
}

void DLG_CLASS::UpdateAll() { UpdateAllBut(-1); }

void DLG_CLASS::UpdateAllBut(int id)
{
    m_bUpdating = true;
    for (std::size_t i = 0; i < m_Controls.size(); ++i)
        if (m_Controls[i]->Id() != id)
            m_Controls[i]->Show();
    m_bUpdating = false;
}

void DLG_CLASS::StoreAll()
{
    for (std::size_t i = 0; i < m_Controls.size(); ++i)
        m_Controls[i]->Store();
}

void DLG_CLASS::RefreshLists()
{
    for (std::size_t i = 0; i < m_Controls.size(); ++i)
        if (m_Controls[i]->Kind() == CK_LIST)
            m_Controls[i]->Refresh();
}

namespace {

// Which notifications a control kind takes (and what they call).
enum class Route { None, Change, KillFocus };

Route RouteFor(int kind, Notify code)
{
    switch (kind) {
    case CK_EDITVAL:
    case CK_EDITSTR:
        return code == Notify::EditUpdate ? Route::Change : code == Notify::EditKillFocus ? Route::KillFocus : Route::None;
    case CK_COMBO:
        return code == Notify::SelChange ? Route::Change : Route::None;
    case CK_LIST:
        return code == Notify::SelChange ? Route::Change : code == Notify::ListKillFocus ? Route::KillFocus : Route::None;
    default:
        return Route::None;
    }
}

}  // namespace

void DLG_CLASS::OnCommand(int id, Notify code)
{
    for (std::size_t i = 0; i < m_Controls.size(); ++i) {
        CTRL_CLASS* c = m_Controls[i].get();
        if (c->Id() != id)
            continue;
        Route r = RouteFor(c->Kind(), code);
        if (r == Route::None)
            continue;
        if (r == Route::Change)
            c->OnChange();
        else
            c->OnKillFocus();
        break;
    }
    for (std::size_t i = 0; i < m_Controls.size(); ++i)
        if (m_Controls[i]->Kind() == CK_LIST)
            m_Controls[i]->OnCommandDone();
}

int DLG_CLASS::FindCommandSource(int id, Notify code) const
{
    for (const auto& c : m_Controls) {
        if (c->Id() != id)
            continue;
        bool match = false;
        switch (c->Kind()) {
        case CK_BUTTON: match = code == Notify::Click; break;
        case CK_EDITVAL:
        case CK_EDITSTR: match = code == Notify::EditUpdate; break;
        case CK_CHECK:
        case CK_SLIDER: match = true; break;
        case CK_COMBO: match = code == Notify::SelChange; break;
        default: break;
        }
        if (match)
            return id;
    }
    return 0;
}

void DLG_CLASS::ItemNotify(int id, int code, int data)
{
    for (std::size_t i = 0; i < m_Controls.size(); ++i)
        if (m_Controls[i]->OnNotify(id, code, data))
            break;
}

void DLG_CLASS::ItemScroll(int id, int pos)
{
    for (std::size_t i = 0; i < m_Controls.size(); ++i)
        if (m_Controls[i]->OnScroll(id, pos))
            break;
}

void DLG_CLASS::AddItem(int id, QWidget* w)
{
    m_Items[id] = w;
    w->setProperty("ctrlId", id);
    auto* filter = static_cast<ItemFilter*>(m_pItemFilter);
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        QObject::connect(b, &QAbstractButton::clicked, [this, id] { SendCommand(id, Notify::Click); });
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        QObject::connect(e, &QLineEdit::textChanged, [this, id] { SendCommand(id, Notify::EditUpdate); });
        filter->focusCodes[e] = {id, Notify::EditKillFocus};
        e->installEventFilter(filter);
    } else if (auto* t = qobject_cast<QPlainTextEdit*>(w)) {
        QObject::connect(t, &QPlainTextEdit::textChanged, [this, id] { SendCommand(id, Notify::EditUpdate); });
        filter->focusCodes[t] = {id, Notify::EditKillFocus};
        t->installEventFilter(filter);
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        QObject::connect(c, &QComboBox::activated, [this, id] { SendCommand(id, Notify::SelChange); });
    } else if (auto* l = qobject_cast<QListWidget*>(w)) {
        QObject::connect(l, &QListWidget::itemSelectionChanged, [this, id] { SendCommand(id, Notify::SelChange); });
        QObject::connect(l, &QListWidget::itemDoubleClicked, [this, id] { SendCommand(id, Notify::ListDblClk); });
        filter->focusCodes[l] = {id, Notify::ListKillFocus};
        l->installEventFilter(filter);
    } else if (auto* s = qobject_cast<QAbstractSlider*>(w)) {
        QObject::connect(s, &QAbstractSlider::valueChanged, [this, id](int pos) { ItemScroll(id, pos); });
    } else if (auto* u = qobject_cast<UpDownWidget*>(w)) {
        QObject::connect(u, &UpDownWidget::stepped, [this, id](int delta) { ItemNotify(id, NC_SPIN_DELTA, delta); });
    }
}

QWidget* DLG_CLASS::Item(int id) const
{
    auto it = m_Items.find(id);
    return it == m_Items.end() ? nullptr : it->second.data();
}

void DLG_CLASS::RegisterControl(CTRL_CLASS* control) { m_Controls.emplace_back(control); }

CTRL_CLASS* DLG_CLASS::FindControl(int id) const
{
    for (const auto& c : m_Controls)
        if (c->Id() == id)
            return c.get();
    return nullptr;
}

void DLG_CLASS::MissingControl(int id) const
{
    DebugBoxPrintf(SJ("コントロールID 【%u】 が見つかりません！").c_str(), static_cast<unsigned>(id));
    CurrentMessageSink().RequestQuit();
}

// ---------------------------------------------------------------------------
// PROP_CLASS

PROP_CLASS::~PROP_CLASS() { Destroy(); }

void PROP_CLASS::AddPage(DLG_CLASS* page, const QString& title)
{
    page->SetPage(this);
    m_Pages.push_back({page, title, nullptr});
}

bool PROP_CLASS::Create(QWidget* parent, const QString& title, bool modeless)
{
    Destroy();
    m_bModeless = modeless;
    m_pWnd = new SheetWidget(this, parent);
    m_pWnd->setWindowTitle(title);
    auto* layout = new QVBoxLayout(m_pWnd);
    m_pTabs = new QTabWidget(m_pWnd);
    layout->addWidget(m_pTabs, 1);
    // OK (the default: Enter in any page), Cancel and Apply under the pages.
    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), m_pWnd);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), m_pWnd);
    auto* apply = new QPushButton(QStringLiteral("適用(&A)"), m_pWnd);
    ok->setObjectName(QStringLiteral("sheetOk"));
    cancel->setObjectName(QStringLiteral("sheetCancel"));
    apply->setObjectName(QStringLiteral("sheetApply"));
    ok->setAutoDefault(false);
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    apply->setAutoDefault(false);
    QObject::connect(ok, &QPushButton::clicked, [this] { OnOk(); });
    QObject::connect(cancel, &QPushButton::clicked, [this] { OnCancel(); });
    QObject::connect(apply, &QPushButton::clicked, [this] { OnApply(); });
    row->addWidget(ok);
    row->addWidget(cancel);
    row->addWidget(apply);
    layout->addLayout(row);
    m_nCurrent = -1;
    for (std::size_t i = 0; i < m_Pages.size(); ++i) {
        auto* area = new QScrollArea(m_pTabs);
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::NoFrame);
        m_Pages[i].area = area;
        m_pTabs->addTab(area, m_Pages[i].title);
        if (!m_bLazy)
            BuildPage(static_cast<int>(i));
    }
    if (!m_Pages.empty())
        PageChanged(0);
    QObject::connect(m_pTabs, &QTabWidget::currentChanged, [this](int index) { PageChanged(index); });
    if (modeless) {
        ModelessRegistry::Instance().Add(this);
        m_pWnd->show();
    }
    return true;
}

void PROP_CLASS::BuildPage(int index)
{
    PageEntry& e = m_Pages[static_cast<std::size_t>(index)];
    if (e.page->Exists() || !e.area)
        return;
    e.page->CreateModeless(0, false);
    if (QWidget* w = e.page->Widget()) {
        w->setWindowFlags(Qt::Widget);
        e.area->setWidget(w);
        w->show();
    }
}

void PROP_CLASS::PageChanged(int index)
{
    if (index == m_nCurrent || index < 0 || index >= PageCount())
        return;
    if (m_nCurrent >= 0 && m_nCurrent < PageCount() && Page(m_nCurrent)->Exists())
        Page(m_nCurrent)->OnPageLeave();
    m_nCurrent = index;
    BuildPage(index);
    if (Page(index)->Exists())
        Page(index)->OnPageEnter();
}

void PROP_CLASS::SetCurrentPage(int index)
{
    if (m_pTabs && index >= 0 && index < PageCount())
        m_pTabs->setCurrentIndex(index);
}

int PROP_CLASS::CurrentIndex() const { return m_pTabs ? m_pTabs->currentIndex() : -1; }

void PROP_CLASS::OnOk()
{
    OnApply();
    ClosePages();
}

void PROP_CLASS::OnCancel() { ClosePages(); }

void PROP_CLASS::Destroy()
{
    ModelessRegistry::Instance().Remove(this);
    for (auto& entry : m_Pages)
        entry.page->Close(0);
    bool had = m_pWnd != nullptr;
    if (m_pWnd) {
        static_cast<SheetWidget*>(m_pWnd.data())->owner = nullptr;
        m_pWnd->hide();
        m_pWnd->deleteLater();
    }
    m_pWnd = nullptr;
    m_pTabs = nullptr;
    m_nCurrent = -1;
    for (auto& entry : m_Pages)
        entry.area = nullptr;
    if (had)
        OnSheetClosed();
}

void PROP_CLASS::ClosePages()
{
    for (auto& entry : m_Pages)
        entry.page->Close(0);
}

bool PROP_CLASS::Finished() const
{
    if (!m_pWnd)
        return false;
    for (auto& entry : m_Pages)
        if (entry.page->Exists())
            return false;
    return true;
}

DLG_CLASS* PROP_CLASS::CurrentPage() const
{
    if (!m_pTabs)
        return nullptr;
    int index = m_pTabs->currentIndex();
    if (index < 0 || index >= PageCount() || !Page(index)->Exists())
        return nullptr;
    return Page(index);
}

// ---------------------------------------------------------------------------
// Menus and accelerators

void BuildMenu(QMenu& menu, int menuId)
{
    for (const MenuItem& item : kMenuItems) {
        if (item.menu != menuId)
            continue;
        if (item.command == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* a = menu.addAction(QString::fromUtf8(item.text));
        a->setData(item.command);
    }
}

int TranslateAccelerator(int tableId, const QKeyEvent& key)
{
    bool ctrl = key.modifiers() & Qt::ControlModifier;
    int k = key.key() == Qt::Key_Delete ? AK_DELETE : key.key();
    for (const AccelEntry& a : kAccelerators)
        if (a.table == tableId && a.key == k && a.ctrl == ctrl)
            return a.command;
    return 0;
}
