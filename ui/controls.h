// Control objects: each input of a dialog bound to one variable of the data the
// dialog edits. Show writes the variable into the widget, Store reads it back;
// edits are filtered and corrected while the user types.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <climits>
#include <cmath>
#include <functional>
#include <list>
#include <string>
#include <vector>

#include "app/edit_rules.h"
#include "records/list_model.h"
#include "base/log.h"
#include "base/text.h"
#include "records/serial.h"
#include "resources/menus.h"
#include "ui/qt_text.h"
#include "ui/wnd.h"

// Kinds of control; the dialog routes notifications by kind.
enum ControlKind { CK_NONE = 0, CK_BUTTON = 1, CK_EDITVAL = 2, CK_EDITSTR = 3, CK_PICTURE = 4, CK_CHECK = 5,
                   CK_COMBO = 7, CK_LIST = 8, CK_SPIN = 9, CK_SLIDER = 10 };

class CTRL_CLASS {
public:
    virtual ~CTRL_CLASS() = default;
    virtual void Enable(bool enable)
    {
        if (m_pWnd)
            m_pWnd->setEnabled(enable);
    }
    virtual void Show() {}
    virtual void Store() {}
    virtual void OnChange() {}
    virtual int OnNotify(int /*id*/, int /*code*/, int /*data*/) { return 0; }
    virtual int OnScroll(int /*id*/, int /*pos*/) { return 0; }
    virtual void Refresh() {}
    virtual void OnKillFocus() {}
    virtual void OnCommandDone() {}
    virtual void OnKeyDown(int /*key*/, bool /*ctrlDown*/) {}

    int Id() const { return m_nId; }
    int Kind() const { return m_nKind; }
    QWidget* Widget() const { return m_pWnd; }
    DLG_CLASS* Dialog() const { return m_pDlg; }
    // The control's rectangle in the dialog's client area.
    QRect Position() const
    {
        if (!m_pWnd || !m_pDlg || !m_pDlg->Widget())
            return QRect();
        return QRect(m_pWnd->mapTo(m_pDlg->Widget(), QPoint(0, 0)), m_pWnd->size());
    }
    std::string m_Name;

protected:
    // Finds the widget of the id in the dialog and registers the control with it
    // (the dialog owns it from then on). False when the dialog has no such item.
    bool AttachTo(DLG_CLASS* dlg, int id, int kind)
    {
        m_pDlg = dlg;
        m_nId = id;
        m_nKind = kind;
        m_pWnd = dlg->Item(id);
        dlg->RegisterControl(this);
        if (!m_pWnd) {
            DebugBoxPrintf(SJ("コントロールID 【%u】 が見つかりません！").c_str(), static_cast<unsigned>(id));
            return false;
        }
        return true;
    }
    bool Updating() const { return m_pDlg && m_pDlg->Updating(); }

    QWidget* m_pWnd = nullptr;
    DLG_CLASS* m_pDlg = nullptr;
    int m_nKind = CK_NONE;
    int m_nId = 0;
};

class CTRL_BUTTON_CLASS : public CTRL_CLASS {
public:
    bool Attach(DLG_CLASS* dlg, int id) { return AttachTo(dlg, id, CK_BUTTON); }
};

class CTRL_LABEL_CLASS : public CTRL_CLASS {
public:
    bool Attach(DLG_CLASS* dlg, int id) { return AttachTo(dlg, id, CK_NONE); }
};

class CTRL_SCROLL_CLASS : public CTRL_CLASS {
public:
    bool Attach(DLG_CLASS* dlg, int id) { return AttachTo(dlg, id, CK_NONE); }
};

class CTRL_PICTURE_CLASS : public CTRL_CLASS {
public:
    bool Attach(DLG_CLASS* dlg, int id) { return AttachTo(dlg, id, CK_PICTURE); }
    void SetPixmap(const QPixmap& p)
    {
        if (auto* l = qobject_cast<QLabel*>(m_pWnd))
            l->setPixmap(p);
    }
};

// The up-down arrows of a numeric edit; the edit handles their clicks.
template <class T>
class CTRL_SPIN_CLASS : public CTRL_CLASS {
public:
    bool Attach(DLG_CLASS* dlg, int id) { return AttachTo(dlg, id, CK_SPIN); }
};

// Common base of the two edits: text access in CP932.
class CTRL_EDIT_CLASS : public CTRL_CLASS {
public:
    std::string Text() const
    {
        if (auto* e = qobject_cast<QLineEdit*>(m_pWnd))
            return FromQt(e->text());
        if (auto* t = qobject_cast<QPlainTextEdit*>(m_pWnd))
            return FromQt(t->toPlainText());
        return std::string();
    }
    QString QtText() const
    {
        if (auto* e = qobject_cast<QLineEdit*>(m_pWnd))
            return e->text();
        if (auto* t = qobject_cast<QPlainTextEdit*>(m_pWnd))
            return t->toPlainText();
        return QString();
    }
    void SetText(const std::string& cp932)
    {
        QSignalBlocker block(m_pWnd);
        if (auto* e = qobject_cast<QLineEdit*>(m_pWnd))
            e->setText(ToQt(cp932));
        else if (auto* t = qobject_cast<QPlainTextEdit*>(m_pWnd))
            t->setPlainText(ToQt(cp932));
    }
    // Selection as QString positions (start <= end).
    void GetSelection(int& start, int& end) const
    {
        start = end = 0;
        if (auto* e = qobject_cast<QLineEdit*>(m_pWnd)) {
            if (e->hasSelectedText()) {
                start = e->selectionStart();
                end = e->selectionEnd();
            } else {
                start = end = e->cursorPosition();
            }
        } else if (auto* t = qobject_cast<QPlainTextEdit*>(m_pWnd)) {
            QTextCursor c = t->textCursor();
            start = c.selectionStart();
            end = c.selectionEnd();
        }
    }
    void SetSelection(int start, int end)
    {
        QSignalBlocker block(m_pWnd);
        int length = QtText().size();
        start = std::clamp(start, 0, length);
        end = std::clamp(end, 0, length);
        if (auto* e = qobject_cast<QLineEdit*>(m_pWnd)) {
            if (start == end)
                e->setCursorPosition(start);
            else
                e->setSelection(start, end - start);
        } else if (auto* t = qobject_cast<QPlainTextEdit*>(m_pWnd)) {
            QTextCursor c = t->textCursor();
            c.setPosition(start);
            c.setPosition(end, QTextCursor::KeepAnchor);
            t->setTextCursor(c);
        }
    }
    void SelectAll()
    {
        if (auto* e = qobject_cast<QLineEdit*>(m_pWnd))
            e->selectAll();
        else if (auto* t = qobject_cast<QPlainTextEdit*>(m_pWnd))
            t->selectAll();
    }
};

// Edit holding a number of type T.
template <class T>
class CTRL_EDITVAL_CLASS : public CTRL_EDIT_CLASS {
public:
    bool Attach(DLG_CLASS* dlg, int id, T* variable, T minimum, T maximum, int spinId = 0, T step = 1,
                int decimals = 0)
    {
        m_pVar = variable;
        m_Min = minimum;
        m_Max = maximum;
        m_nSpinId = spinId;
        m_Step = step;
        m_nDecimals = decimals;
        bool ok = AttachTo(dlg, id, CK_EDITVAL);
        if (spinId) {
            m_pSpin = new CTRL_SPIN_CLASS<T>;
            m_pSpin->Attach(dlg, spinId);
        }
        return ok;
    }

    void Enable(bool enable) override
    {
        CTRL_CLASS::Enable(enable);
        if (m_pSpin)
            m_pSpin->Enable(enable);
    }

    void Show() override
    {
        m_Pending.clear();
        m_bEmpty = false;
        ShowValue(m_pVar ? static_cast<double>(*m_pVar) : 0.0, true);
    }

    void ShowValue(double value, bool force)
    {
        NumericDisplay d = ShowNumeric(value, static_cast<double>(m_Min), static_cast<double>(m_Max), kType,
                                       m_nDecimals, m_Pending, m_bEmpty, force);
        if (d.write && d.text != Text())
            SetText(d.text);
    }

    // Reads the widget; updates the pending text and the empty flag.
    double Parse()
    {
        NumericReading r = ParseNumeric(Text(), kType, m_nDecimals, static_cast<double>(m_Min));
        m_Pending = r.pending;
        m_bEmpty = r.empty;
        return r.value;
    }

    void OnChange() override
    {
        if (m_bInside)
            return;
        m_bInside = true;
        double value = Parse();
        int start, end;
        GetSelection(start, end);
        if (!m_bEmpty)
            ShowValue(value, false);
        SetSelection(start, end);
        m_bInside = false;
    }

    void OnKillFocus() override
    {
        double value = Parse();
        if (m_bEmpty) {
            m_bEmpty = false;
            m_Pending.clear();
            double m = static_cast<double>(m_Min);
            ShowValue(m > 0 ? m : 0.0, true);
        } else {
            ShowValue(value, true);
        }
    }

    int OnNotify(int id, int code, int data) override
    {
        if (!m_nSpinId || id != m_nSpinId || code != NC_SPIN_DELTA)
            return 0;
        double value = Parse() + data * static_cast<double>(m_Step);
        m_Pending.clear();
        ShowValue(value, true);
        return 1;
    }

    void Store() override
    {
        if (Updating() || !m_pVar)
            return;
        double value = std::clamp(Parse(), static_cast<double>(m_Min), static_cast<double>(m_Max));
        *m_pVar = static_cast<T>(value);
    }

    const std::string& Pending() const { return m_Pending; }
    bool EmptyText() const { return m_bEmpty; }

private:
    static constexpr NumericType kType = NumericTypeOf<T>();
    T* m_pVar = nullptr;
    T m_Min{}, m_Max{}, m_Step{1};
    int m_nDecimals = 0;
    int m_nSpinId = 0;
    CTRL_SPIN_CLASS<T>* m_pSpin = nullptr;
    std::string m_Pending;
    bool m_bEmpty = false;
    bool m_bInside = false;
};

// Edit holding a text, with limits on its length, line width and line count.
class CTRL_EDITSTR_CLASS : public CTRL_EDIT_CLASS {
public:
    ~CTRL_EDITSTR_CLASS() override { delete m_pKeyWatch; }
    // A zero limit takes the default (4096 bytes, lines of 1024, 32 lines).
    bool Attach(DLG_CLASS* dlg, int id, std::string* variable, int maxLength = 0, int maxLineWidth = 0,
                int maxLines = 0, bool messageChars = false);
    void Show() override;
    void Store() override;
    void OnChange() override;
    int MaxLines() const { return m_nMaxLines; }
    // Also limits the text to this many characters, a double-byte character
    // counting once (0: no such limit).
    void LimitCharacters(int maxChars) { m_nMaxChars = maxChars; }

private:
    std::string* m_pVar = nullptr;
    int m_nMaxLength = 4096;
    int m_nMaxLineWidth = 1024;
    int m_nMaxLines = 32;
    int m_nMaxChars = 0;
    bool m_bMessageChars = false;
    std::string m_Accepted;
    int m_nAcceptedStart = 0, m_nAcceptedEnd = 0;
    bool m_bInside = false;
    bool m_bBackspace = false;
    QObject* m_pKeyWatch = nullptr;
    friend class EditKeyWatch;
};

template <class T>
class CTRL_CHECK_CLASS : public CTRL_CLASS {
public:
    bool Attach(DLG_CLASS* dlg, int id, T* variable)
    {
        m_pVar = variable;
        return AttachTo(dlg, id, CK_CHECK);
    }
    void Show() override
    {
        if (auto* b = qobject_cast<QAbstractButton*>(m_pWnd)) {
            QSignalBlocker block(b);
            b->setChecked(m_pVar && *m_pVar != 0);
        }
    }
    void Store() override
    {
        if (Updating() || !m_pVar)
            return;
        if (auto* b = qobject_cast<QAbstractButton*>(m_pWnd))
            *m_pVar = static_cast<T>(b->isChecked() ? 1 : 0);
    }

private:
    T* m_pVar = nullptr;
};

template <class T>
class CTRL_COMBO_CLASS : public CTRL_CLASS {
public:
    // Entries stand for the values of the list, in order.
    bool Attach(DLG_CLASS* dlg, int id, T* variable, std::vector<int> values)
    {
        m_pVar = variable;
        m_Values = std::move(values);
        m_bList = true;
        return AttachTo(dlg, id, CK_COMBO);
    }
    // Entry i stands for the value base + i.
    bool Attach(DLG_CLASS* dlg, int id, T* variable, int base = 0)
    {
        m_pVar = variable;
        m_nBase = base;
        m_bList = false;
        return AttachTo(dlg, id, CK_COMBO);
    }
    QComboBox* Combo() const { return qobject_cast<QComboBox*>(m_pWnd); }
    void SetItems(const std::vector<std::string>& texts)
    {
        if (QComboBox* c = Combo()) {
            QSignalBlocker block(c);
            c->clear();
            for (const std::string& t : texts)
                c->addItem(ToQt(t));
        }
    }
    void Show() override
    {
        QComboBox* c = Combo();
        if (!c || !m_pVar)
            return;
        int index = -1;
        if (m_bList) {
            auto it = std::find(m_Values.begin(), m_Values.end(), static_cast<int>(*m_pVar));
            index = it == m_Values.end() ? -1 : static_cast<int>(it - m_Values.begin());
        } else {
            index = static_cast<int>(*m_pVar) - m_nBase;
        }
        QSignalBlocker block(c);
        c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1);
    }
    void Store() override
    {
        QComboBox* c = Combo();
        if (Updating() || !c || !m_pVar)
            return;
        int index = c->currentIndex();
        // A value the list does not hold shows no entry and stays as it is.
        if (index < 0)
            return;
        if (m_bList)
            *m_pVar = static_cast<T>(index >= 0 && index < static_cast<int>(m_Values.size()) ? m_Values[index] : -1);
        else
            *m_pVar = static_cast<T>(index >= 0 ? index + m_nBase : -1);
    }

private:
    T* m_pVar = nullptr;
    std::vector<int> m_Values;
    int m_nBase = 0;
    bool m_bList = false;
};

// Track bar with a companion numeric edit bound to the same variable.
template <class T>
class CTRL_SLIDER_CLASS : public CTRL_CLASS {
public:
    bool Attach(DLG_CLASS* dlg, int id, T* variable, T minimum, T maximum, int editId, int decimals = 0)
    {
        m_pVar = variable;
        m_nDecimals = decimals;
        m_dScale = std::pow(10.0, decimals);
        bool ok = AttachTo(dlg, id, CK_SLIDER);
        if (auto* s = Slider()) {
            QSignalBlocker block(s);
            s->setRange(static_cast<int>(std::lround(minimum * m_dScale)), static_cast<int>(std::lround(maximum * m_dScale)));
        }
        if (editId) {
            m_pEdit = new CTRL_EDITVAL_CLASS<T>;
            m_pEdit->Attach(dlg, editId, variable, minimum, maximum, 0, T(1), decimals);
        }
        return ok;
    }
    QAbstractSlider* Slider() const { return qobject_cast<QAbstractSlider*>(m_pWnd); }
    void Enable(bool enable) override
    {
        CTRL_CLASS::Enable(enable);
        if (m_pEdit)
            m_pEdit->Enable(enable);
    }
    void Show() override
    {
        if (auto* s = Slider(); s && m_pVar) {
            QSignalBlocker block(s);
            s->setValue(static_cast<int>(std::lround(static_cast<double>(*m_pVar) * m_dScale)));
        }
        if (m_pEdit)
            m_pEdit->Show();
    }
    void Store() override
    {
        if (Updating() || !m_pVar)
            return;
        if (auto* s = Slider())
            *m_pVar = static_cast<T>(s->value() / m_dScale);
    }
    int OnScroll(int id, int pos) override
    {
        if (id != m_nId)
            return 0;
        if (m_pEdit)
            m_pEdit->ShowValue(pos / m_dScale, true);
        m_pDlg->SendCommand(m_nId, Notify::Click);
        return 0;
    }

private:
    T* m_pVar = nullptr;
    int m_nDecimals = 0;
    double m_dScale = 1;
    CTRL_EDITVAL_CLASS<T>* m_pEdit = nullptr;
};

// ---------------------------------------------------------------------------
// List control

// What a list shows besides its records, and how it selects.
struct ListOptions {
    int offset = 0;               // leading records not shown
    bool numbering = false;       // lines start with their number
    bool appendLine = false;      // a last line for appending
    bool multiple = false;        // several lines may be selected
    bool allowEmptySelection = false;
    int minCount = 0;             // shown records
    int maxCount = INT_MAX;
};

// The key and popup-menu side of list controls, the same for every record type.
class CTRL_LIST_BASE : public CTRL_CLASS {
public:
    CTRL_LIST_BASE() : m_Keys(kListDefaultKeys), m_Menu(kListDefaultMenu) {}
    ~CTRL_LIST_BASE() override;

    // Sets the key table of (mode, group) and the accelerator table for the list.
    bool SetListCommands(int acceleratorId, int mode, int group);
    // Sets the menu table of (mode, group) and the list's popup menu.
    bool SetListMenu(int menuId, int mode, int group);
    // Empty the key table (the editing keys then reach the dialog only through
    // the list's accelerator table) and the menu table (the popup menu's items
    // still send their own ids).
    void ClearListKeys() { m_Keys.fill(0); }
    void ClearListMenu() { m_Menu.fill(0); }
    const std::array<int, 7>& KeyTable() const { return m_Keys; }
    const std::array<int, 7>& MenuTable() const { return m_Menu; }
    int PopupMenu() const { return m_nMenuId; }

    void OnKeyDown(int key, bool ctrlDown) override;
    QListWidget* List() const { return qobject_cast<QListWidget*>(m_pWnd); }

protected:
    void WatchMouse();
    void MouseEvent(QEvent* e);

    std::array<int, 7> m_Keys;
    std::array<int, 7> m_Menu;
    int m_nMenuId = 0;
    MouseButtons m_Mouse;
    PopupTrigger m_Popup;
    QObject* m_pMouseWatch = nullptr;
    friend class ListMouseWatch;
};

template <class T>
class CTRL_LIST_CLASS : public CTRL_LIST_BASE {
public:
    using LineTextFn = typename ListModel<T>::LineTextFn;

    // Mode 1: a vector of records.
    bool Attach(DLG_CLASS* dlg, int id, std::vector<T>* source, T* current, const ListOptions& options,
                LineTextFn lineText)
    {
        m_nMode = 1;
        m_Load = [source] { return *source; };
        m_Save = [source](const std::vector<T>& items) { *source = items; };
        return AttachCommon(dlg, id, current, options, std::move(lineText));
    }
    bool Attach(DLG_CLASS* dlg, int id, RecordList<T>* source, T* current, const ListOptions& options,
                LineTextFn lineText)
    {
        m_nMode = 1;
        m_Load = [source] { return source->items(); };
        m_Save = [source](const std::vector<T>& items) { source->items() = items; };
        return AttachCommon(dlg, id, current, options, std::move(lineText));
    }
    // Mode 0: a linked list of records.
    bool Attach(DLG_CLASS* dlg, int id, std::list<T>* source, T* current, const ListOptions& options,
                LineTextFn lineText)
    {
        m_nMode = 0;
        m_Load = [source] { return std::vector<T>(source->begin(), source->end()); };
        m_Save = [source](const std::vector<T>& items) { source->assign(items.begin(), items.end()); };
        return AttachCommon(dlg, id, current, options, std::move(lineText));
    }

    // Bound to the shared list itself (no working copy): every operation
    // changes the list at once and Store has nothing to write. The owner
    // writes the current record back with WriteBack.
    bool AttachShared(DLG_CLASS* dlg, int id, std::vector<T>* shared, T* current, const ListOptions& options,
                      LineTextFn lineText)
    {
        m_nMode = 1;
        m_Model.bound = shared;
        return AttachCommon(dlg, id, current, options, std::move(lineText));
    }

    ListModel<T>& Model() { return m_Model; }
    int Mode() const { return m_nMode; }

    void Show() override
    {
        Sync();
        if (m_Model.bound)
            m_Model.Reload();
        else
            m_Model.Load(m_Load());
        Fill();
    }
    void Store() override
    {
        if (Updating() || m_Model.bound)
            return;
        m_Save(m_Model.items);
    }

    // Operations of a list of fixed length (see ListModel); each refusal beeps.
    int WriteBack() { return m_Model.WriteBack(); }
    int ClearSel() { Sync(); return Done(m_Model.ClearSel()); }
    int CutClear() { Sync(); return Done(m_Model.CutClear()); }
    int PasteOver() { Sync(); return Done(m_Model.PasteOver()); }
    // Writes the selected record's line text again (after its name changed).
    void UpdateSelectedLine()
    {
        QListWidget* l = List();
        int line = m_Model.GetSel();
        if (l && line >= 0 && line < l->count() && m_Model.IsRecordLine(line)) {
            QSignalBlocker block(l);
            l->item(line)->setText(ToQt(m_Model.LineText(line)));
            ApplyFilterTo(line);
        }
    }
    // Shows only the lines whose text holds the filter (or whose number it is);
    // an empty filter shows every line.
    void SetFilter(const QString& text)
    {
        m_Filter = text.trimmed();
        if (QListWidget* l = List())
            for (int i = 0; i < l->count(); ++i)
                ApplyFilterTo(i);
    }
    // Starts from what the widget shows: a line the user clicked or moved to
    // stays selected.
    void Refresh() override
    {
        Sync();
        m_Model.Refresh();
        Restore();
        if (m_pWnd)
            m_pWnd->setUpdatesEnabled(true);
    }
    void OnKillFocus() override { Sync(); }

    int GetSel() { Sync(); return m_Model.GetSel(); }
    bool IsAppendLine(int index) const { return m_Model.IsAppendLine(index); }
    void Select(int index, bool copyCurrent)
    {
        m_Model.Select(index, copyCurrent);
        Restore();
    }

    // Record editing; a refusal beeps and returns 0.
    int CopySel() { Sync(); return Done(m_Model.CopySel()); }
    int DeleteSel(int index = -1) { Sync(); return Done(m_Model.DeleteSel(index)); }
    int CutSel() { Sync(); return Done(m_Model.CutSel()); }
    int Insert() { Sync(); return Done(m_Model.Insert()); }
    // Returns the number of records pasted; a paste cut short by the maximum
    // beeps as well.
    int Paste()
    {
        Sync();
        int pasted = Done(m_Model.Paste());
        if (pasted && m_Model.pasteStopped)
            QApplication::beep();
        return pasted;
    }
    // Copied records go to this store instead of the one shared by every list
    // of the record type.
    void SetClipboard(std::vector<T>* store) { m_Model.clipboardStore = store ? store : &ListModel<T>::SharedClipboard(); }
    int Resize(int count) { Sync(); return Done(m_Model.Resize(count)); }

    // Re-reads the selection from the widget.
    void Sync()
    {
        QListWidget* l = List();
        if (!l || m_bFilling)
            return;
        m_Model.top = l->indexAt(QPoint(1, 1)).row() >= 0 ? l->indexAt(QPoint(1, 1)).row() : 0;
        if (m_Model.multiple) {
            m_Model.flags.assign(static_cast<std::size_t>(l->count()), 0);
            for (int i = 0; i < l->count(); ++i)
                m_Model.flags[static_cast<std::size_t>(i)] = l->item(i)->isSelected();
            m_Model.caret = std::max(0, l->currentRow());
            m_Model.sel = m_Model.GetSel();
        } else {
            QList<QListWidgetItem*> sel = l->selectedItems();
            m_Model.sel = sel.isEmpty() ? -1 : l->row(sel.front());
        }
    }

private:
    bool AttachCommon(DLG_CLASS* dlg, int id, T* current, const ListOptions& o, LineTextFn lineText)
    {
        m_Model.current = current;
        m_Model.offset = o.offset;
        m_Model.numbering = o.numbering;
        m_Model.appendLine = o.appendLine;
        m_Model.multiple = o.multiple;
        m_Model.allowEmptySelection = o.allowEmptySelection;
        m_Model.minCount = o.minCount;
        m_Model.maxCount = o.maxCount;
        m_Model.lineText = std::move(lineText);
        bool ok = AttachTo(dlg, id, CK_LIST);
        if (QListWidget* l = List())
            l->setSelectionMode(o.multiple ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
        WatchMouse();
        return ok;
    }

    int Done(int result)
    {
        Fill();
        if (!result)
            QApplication::beep();
        return result;
    }

    void Fill()
    {
        QListWidget* l = List();
        if (!l)
            return;
        m_bFilling = true;
        {
            QSignalBlocker block(l);
            l->clear();
            for (const std::string& line : m_Model.Lines())
                l->addItem(ToQt(line));
        }
        m_bFilling = false;
        if (!m_Filter.isEmpty())
            SetFilter(m_Filter);
        Restore();
    }

    void ApplyFilterTo(int line)
    {
        QListWidget* l = List();
        if (!l || line < 0 || line >= l->count())
            return;
        bool shown = true;
        if (!m_Filter.isEmpty() && m_Model.IsRecordLine(line)) {
            bool isNumber = false;
            int number = m_Filter.toInt(&isNumber);
            QString text = l->item(line)->text();
            QString name = m_Model.numbering ? text.section(QLatin1Char(' '), 1) : text;
            shown = (isNumber && number == line + 1) || name.contains(m_Filter, Qt::CaseInsensitive);
        }
        l->setRowHidden(line, !shown);
    }

    void Restore()
    {
        QListWidget* l = List();
        if (!l)
            return;
        QSignalBlocker block(l);
        l->clearSelection();
        if (m_Model.multiple) {
            for (int i = 0; i < l->count() && i < static_cast<int>(m_Model.flags.size()); ++i)
                l->item(i)->setSelected(m_Model.flags[static_cast<std::size_t>(i)] != 0);
            if (m_Model.caret >= 0 && m_Model.caret < l->count())
                l->setCurrentRow(m_Model.caret, QItemSelectionModel::NoUpdate);
        } else if (m_Model.sel >= 0 && m_Model.sel < l->count()) {
            l->setCurrentRow(m_Model.sel);
        }
        if (m_Model.top >= 0 && m_Model.top < l->count())
            l->scrollToItem(l->item(m_Model.top), QAbstractItemView::PositionAtTop);
    }

    ListModel<T> m_Model;
    std::function<std::vector<T>()> m_Load;
    std::function<void(const std::vector<T>&)> m_Save;
    int m_nMode = 1;
    bool m_bFilling = false;
    QString m_Filter;
};
