#include "ui/controls.h"

#include <QKeyEvent>
#include <QMouseEvent>

// ---------------------------------------------------------------------------
// Text edit

// Notes whether Backspace is held, so that deleting a line break is not undone
// by breaking the joined line again at once.
class EditKeyWatch : public QObject {
public:
    explicit EditKeyWatch(CTRL_EDITSTR_CLASS* edit) : edit_(edit) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
            auto* k = static_cast<QKeyEvent*>(e);
            if (k->key() == Qt::Key_Backspace)
                edit_->m_bBackspace = e->type() == QEvent::KeyPress;
        }
        return false;
    }

private:
    CTRL_EDITSTR_CLASS* edit_;
};

bool CTRL_EDITSTR_CLASS::Attach(DLG_CLASS* dlg, int id, std::string* variable, int maxLength, int maxLineWidth,
                                int maxLines, bool messageChars)
{
    m_pVar = variable;
    m_nMaxLength = maxLength > 0 ? maxLength : 4096;
    m_nMaxLineWidth = maxLineWidth > 0 ? maxLineWidth : 1024;
    m_nMaxLines = maxLines > 0 ? maxLines : 32;
    m_bMessageChars = messageChars;
    bool ok = AttachTo(dlg, id, CK_EDITSTR);
    // A single-line edit cannot hold a line break.
    if (qobject_cast<QLineEdit*>(m_pWnd))
        m_nMaxLines = 1;
    if (m_pWnd) {
        m_pKeyWatch = new EditKeyWatch(this);
        m_pWnd->installEventFilter(m_pKeyWatch);
    }
    return ok;
}

void CTRL_EDITSTR_CLASS::Show()
{
    std::string text = m_pVar ? *m_pVar : std::string();
    SetText(text);
    m_Accepted = text;
    GetSelection(m_nAcceptedStart, m_nAcceptedEnd);
}

void CTRL_EDITSTR_CLASS::Store()
{
    if (Updating() || !m_pVar)
        return;
    const std::string all = Text();
    std::string_view text = CutTextForStore(all, static_cast<std::size_t>(m_nMaxLength), m_bMessageChars);
    if (m_nMaxChars > 0)
        text = CutToChars(text, static_cast<std::size_t>(m_nMaxChars));
    *m_pVar = std::string(text);
}

void CTRL_EDITSTR_CLASS::OnChange()
{
    if (m_bInside)
        return;
    m_bInside = true;
    QString qtext = QtText();
    int start, end;
    GetSelection(start, end);
    std::string text = FromQt(qtext);
    std::size_t selStart = BytePos(qtext, start), selEnd = BytePos(qtext, end);
    // A text over the length limit keeps what fits, cut at a character
    // boundary as Store cuts it: what was just inserted is cut first, before
    // the lines are broken; whatever the breaks add is cut from the end.
    std::size_t maxBytes =
        m_bMessageChars ? (m_nMaxLength > 0 ? static_cast<std::size_t>(m_nMaxLength) * 2 - 1 : 0)
                        : static_cast<std::size_t>(m_nMaxLength);
    if (m_nMaxChars > 0 && CountChars(text) > static_cast<std::size_t>(m_nMaxChars)) {
        // The largest byte limit whose kept text has no more characters than
        // allowed: the edit is then cut as it would be by bytes.
        const auto maxChars = static_cast<std::size_t>(m_nMaxChars);
        std::size_t low = 0, high = std::min(maxBytes, text.size());
        while (low < high) {
            std::size_t mid = (low + high + 1) / 2, caret = 0;
            if (CountChars(LimitEditedText(m_Accepted, text, mid, caret)) <= maxChars)
                low = mid;
            else
                high = mid - 1;
        }
        maxBytes = low;
    }
    bool cut = false;
    if (text.size() > maxBytes) {
        std::size_t caret = 0;
        text = LimitEditedText(m_Accepted, text, maxBytes, caret);
        selStart = selEnd = caret;
        cut = true;
    }
    int breaks = 0;
    if (!(m_bBackspace && start == end))
        breaks = BreakLongLines(text, selStart, selEnd, static_cast<std::size_t>(m_nMaxLineWidth), m_bMessageChars);
    if (text.size() > maxBytes) {
        text.resize(CutToBytes(text, maxBytes).size());
        if (!text.empty() && text.back() == '\r')  // half a line break
            text.pop_back();
        selStart = std::min(selStart, text.size());
        selEnd = std::min(selEnd, text.size());
        cut = true;
    }
    if (CountLines(text) > m_nMaxLines) {
        // Too many lines: the last accepted text comes back.
        SetText(m_Accepted);
        SetSelection(m_nAcceptedStart, m_nAcceptedEnd);
    } else {
        if (breaks || cut) {
            SetText(text);
            SetSelection(QtPos(text, selStart), QtPos(text, selEnd));
        }
        m_Accepted = text;
        GetSelection(m_nAcceptedStart, m_nAcceptedEnd);
    }
    m_bInside = false;
}

// ---------------------------------------------------------------------------
// List keys and popup menu

class ListMouseWatch : public QObject {
public:
    explicit ListMouseWatch(CTRL_LIST_BASE* list) : list_(list) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            list_->MouseEvent(e);
            // The right button opens the popup menu on the lines selected
            // already; it never moves the selection.
            return static_cast<QMouseEvent*>(e)->button() == Qt::RightButton;
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
            list_->MouseEvent(e);
            break;
        default:
            break;
        }
        return false;
    }

private:
    CTRL_LIST_BASE* list_;
};

CTRL_LIST_BASE::~CTRL_LIST_BASE() { delete m_pMouseWatch; }

void CTRL_LIST_BASE::WatchMouse()
{
    QListWidget* l = List();
    if (!l)
        return;
    m_pMouseWatch = new ListMouseWatch(this);
    l->viewport()->installEventFilter(m_pMouseWatch);
}

void CTRL_LIST_BASE::MouseEvent(QEvent* e)
{
    auto* m = static_cast<QMouseEvent*>(e);
    m_Mouse.Poll(m->buttons() & Qt::LeftButton, m->buttons() & Qt::RightButton);
    if (m_nMenuId && m_Popup.Due(m_Mouse, m_pWnd && m_pWnd->isActiveWindow()) && m_pDlg)
        m_pDlg->TrackPopup(m_nMenuId, m->globalPosition().toPoint());
}

bool CTRL_LIST_BASE::SetListCommands(int acceleratorId, int mode, int group)
{
    const ListCommandRow* row = FindListCommandRow(mode, group);
    if (!row) {
        DebugBoxPrintf("%s", SJ("アクセラレータのIDが用意されていません！").c_str());
        return false;
    }
    m_Keys = row->keys;
    if (m_pDlg && acceleratorId)
        m_pDlg->AddAccelerator(m_pWnd, acceleratorId);
    return true;
}

bool CTRL_LIST_BASE::SetListMenu(int menuId, int mode, int group)
{
    const ListCommandRow* row = FindListCommandRow(mode, group);
    if (!row) {
        DebugBoxPrintf("%s", SJ("ポップアップメニューのIDが用意されていません！").c_str());
        return false;
    }
    m_Menu = row->menu;
    m_nMenuId = menuId;
    m_Popup.enabled = menuId != 0;
    // Armed once the right button is up (see WND_CLASS::SetPopupMenu).
    m_Popup.armed = m_Popup.enabled && !(QGuiApplication::mouseButtons() & Qt::RightButton);
    return true;
}

void CTRL_LIST_BASE::OnKeyDown(int key, bool ctrlDown)
{
    int k = key == Qt::Key_Delete ? AK_DELETE : key;
    for (std::size_t i = 0; i < kListKeySlots.size(); ++i) {
        const ListKeySlot& slot = kListKeySlots[i];
        if (m_Keys[i] != 0 && (!slot.ctrl || ctrlDown) && slot.key == k && m_pDlg)
            m_pDlg->SendCommand(m_Keys[i], Notify::Accelerator);
    }
}
