// Pieces the database dialogs share: building their widgets, controls that
// leave a value alone unless the user changed it, and a record list whose
// selected record the dialog's other controls edit.
#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "records/labels.h"
#include "ui/controls.h"

// --- widgets, each given its id in the dialog

QPushButton* DbButton(DLG_CLASS* dlg, QWidget* parent, int id, const char* utf8);
QCheckBox* DbCheck(DLG_CLASS* dlg, QWidget* parent, int id, const char* utf8);
QComboBox* DbCombo(DLG_CLASS* dlg, QWidget* parent, int id);
QLineEdit* DbText(DLG_CLASS* dlg, QWidget* parent, int id, int width = 160);
QListWidget* DbList(DLG_CLASS* dlg, QWidget* parent, int id, int width = 260, int height = 200);
// A numeric edit with its up-down arrows (ids id and id + 1) in one row.
QWidget* DbNumber(DLG_CLASS* dlg, QWidget* parent, int id, int width = 70);
QLabel* DbLabel(QWidget* parent, const char* utf8);
// OK and キャンセル at the bottom right.
QHBoxLayout* DbOkCancel(DLG_CLASS* dlg, QWidget* parent);

// The names of a table as numbered combo entries ("01 name").
template <class T>
std::vector<std::string> NumberedNames(const RecordList<T>& list)
{
    std::vector<std::string> out;
    for (int i = 0; i < list.size(); ++i)
        out.push_back(NumberedLine(i + 1, list.size(), list[i].m_Name));
    return out;
}
std::vector<std::string> NumberedTexts(const std::vector<std::string>& names);
std::vector<std::string> LabelTexts(const LabelTable& labels);

// --- controls

// A combo over the entries of another table: a value with no entry (a
// reference beyond the table) shows nothing and is kept as it is.
template <class T>
class CTRL_REFCOMBO_CLASS : public CTRL_COMBO_CLASS<T> {
public:
    bool Attach(DLG_CLASS* dlg, int id, T* variable, const std::vector<std::string>& items)
    {
        bool ok = CTRL_COMBO_CLASS<T>::Attach(dlg, id, variable, 0);
        this->SetItems(items);
        return ok;
    }
    void Store() override
    {
        QComboBox* c = this->Combo();
        if (c && c->currentIndex() >= 0)
            CTRL_COMBO_CLASS<T>::Store();
    }
};

// Inputs that leave their member alone until the user changes what they
// showed: a value outside the input's range, a real finer than its shown
// decimals, a flag holding 2 or a text that does not come back byte for byte
// from the widget all survive a page that is only looked at. Once typed over,
// the input is the user's: typing the shown text again stores it too.
template <class T>
class CTRL_KEEPVAL_CLASS : public CTRL_EDITVAL_CLASS<T> {
public:
    void Show() override
    {
        CTRL_EDITVAL_CLASS<T>::Show();
        m_Shown = this->Text();
    }
    void Store() override
    {
        if (this->Updating() || this->Text() == m_Shown)
            return;
        CTRL_EDITVAL_CLASS<T>::Store();
        m_Shown = this->Text();
    }

private:
    std::string m_Shown;
};

template <class T>
class CTRL_KEEPCHECK_CLASS : public CTRL_CHECK_CLASS<T> {
public:
    void Show() override
    {
        CTRL_CHECK_CLASS<T>::Show();
        m_bShown = Checked();
    }
    void Store() override
    {
        if (this->Updating() || Checked() == m_bShown)
            return;
        CTRL_CHECK_CLASS<T>::Store();
        m_bShown = Checked();
    }

private:
    bool Checked() const
    {
        auto* b = qobject_cast<QAbstractButton*>(this->Widget());
        return b && b->isChecked();
    }
    bool m_bShown = false;
};

class CTRL_KEEPSTR_CLASS : public CTRL_EDITSTR_CLASS {
public:
    void Show() override
    {
        CTRL_EDITSTR_CLASS::Show();
        m_Shown = Text();
    }
    void Store() override
    {
        if (Updating() || Text() == m_Shown)
            return;
        CTRL_EDITSTR_CLASS::Store();
        m_Shown = Text();
    }

private:
    std::string m_Shown;
};

// A numeric edit with its arrows at id + 1.
template <class T>
class CTRL_NUM_CLASS : public CTRL_KEEPVAL_CLASS<T> {
public:
    bool Attach(DLG_CLASS* dlg, int id, T* variable, T minimum, T maximum, int decimals = 0)
    {
        return CTRL_EDITVAL_CLASS<T>::Attach(dlg, id, variable, minimum, maximum, id + 1, T(1), decimals);
    }
};

// One entry of a list member through the input Base, bound to `proxy`: the
// entry is looked up again at every show, so it follows the list when the
// list is replaced or resized. An entry the list does not hold (find gives
// null) shows empty. Without `make` it is disabled and never created by
// storing; with it, storing anything but the empty value creates the entry
// (make grows the list and gives the entry).
template <class Base, class V>
class CTRL_ENTRY_CLASS : public Base {
public:
    using Find = std::function<V*()>;
    explicit CTRL_ENTRY_CLASS(Find find, Find make = {}) : m_Find(std::move(find)), m_Make(std::move(make)) {}
    V proxy{};
    void Show() override
    {
        V* entry = m_Find();
        proxy = entry ? *entry : V{};
        Base::Show();
        this->Enable(entry != nullptr || static_cast<bool>(m_Make));
    }
    void Store() override
    {
        V* entry = m_Find();
        if (this->Updating() || (!entry && !m_Make))
            return;
        Base::Store();
        if (!entry) {
            if (proxy == V{})
                return;
            entry = m_Make();
        }
        *entry = proxy;
    }

private:
    Find m_Find;
    Find m_Make;
};

// Entry index of a vector (the vector itself, not a copy).
template <class V>
std::function<V*()> VectorEntry(std::vector<V>* vec, std::size_t index)
{
    return [vec, index]() -> V* { return index < vec->size() ? &(*vec)[index] : nullptr; };
}
// Entry index of a vector made by growing the vector to at least minSize
// entries of value-initialised elements.
template <class V>
std::function<V*()> GrowVectorTo(std::vector<V>* vec, std::size_t index, std::size_t minSize)
{
    return [vec, index, minSize]() -> V* {
        vec->resize(std::max({vec->size(), index + 1, minSize}));
        return &(*vec)[index];
    };
}

// Widgets side by side without margins, as one widget of a form row.
QWidget* WidgetRow(QWidget* parent, const std::vector<QWidget*>& widgets);

// Attaches a combo over fixed labels or a table's names (entry i = value i).
template <class T>
CTRL_REFCOMBO_CLASS<T>* AttachCombo(DLG_CLASS* dlg, int id, T* variable, const std::vector<std::string>& items)
{
    auto* c = new CTRL_REFCOMBO_CLASS<T>;
    c->Attach(dlg, id, variable, items);
    return c;
}
template <class T>
CTRL_REFCOMBO_CLASS<T>* AttachCombo(DLG_CLASS* dlg, int id, T* variable, const LabelTable& labels)
{
    return AttachCombo(dlg, id, variable, LabelTexts(labels));
}
template <class T>
CTRL_NUM_CLASS<T>* AttachNum(DLG_CLASS* dlg, int id, T* variable, T minimum, T maximum, int decimals = 0)
{
    auto* c = new CTRL_NUM_CLASS<T>;
    c->Attach(dlg, id, variable, minimum, maximum, decimals);
    return c;
}
template <class T>
CTRL_CHECK_CLASS<T>* AttachCheck(DLG_CLASS* dlg, int id, T* variable)
{
    auto* c = new CTRL_CHECK_CLASS<T>;
    c->Attach(dlg, id, variable);
    return c;
}

// --- a list whose selected record the other controls edit

template <class T>
class ListPane {
public:
    using LineTextFn = typename CTRL_LIST_CLASS<T>::LineTextFn;

    template <class Source>
    void Attach(DLG_CLASS* dlg, int id, Source* source, const ListOptions& options, LineTextFn lineText)
    {
        m_pDlg = dlg;
        m_pList = new CTRL_LIST_CLASS<T>;
        m_pList->Attach(dlg, id, source, &current, options, std::move(lineText));
    }
    // The controls that edit the selected record: disabled while none is selected.
    void SetFields(std::vector<int> ids) { m_Fields = std::move(ids); }

    CTRL_LIST_CLASS<T>* List() const { return m_pList; }
    int Id() const { return m_pList->Id(); }
    int Selection() const { return m_pList->GetSel(); }
    bool HasRecord() const { return m_pList->Model().IsRecordLine(m_pList->GetSel()); }

    // The selection moved: the selected record into the controls.
    void ShowSelected()
    {
        m_pList->Sync();
        m_pList->Model().CopyCurrent();
        if (beforeShow)
            beforeShow();
        m_pDlg->UpdateAllBut(Id());
        EnableFields();
    }
    // A control changed: the controls into the selected record and its line.
    void StoreSelected()
    {
        if (m_pDlg->Updating())
            return;
        m_pDlg->StoreAll();
        if (!HasRecord())
            return;
        m_pList->Model().Record(m_pList->GetSel()) = current;
        m_pList->Store();
        m_pList->Show();
    }
    // The selected record was replaced (by a dialog of its own).
    void PutSelected(const T& record)
    {
        if (!HasRecord())
            return;
        current = record;
        m_pList->Model().Record(m_pList->GetSel()) = record;
        m_pList->Store();
        m_pList->Show();
        ShowSelected();
    }
    int Insert() { return Edited(m_pList->Insert()); }
    int Delete() { return Edited(m_pList->DeleteSel()); }
    // The list's editing keys and popup menu while the list has the focus:
    // cut, copy, paste, insert and delete (clearing is left to 新規/削除).
    // True when the command was one of them and the list changed.
    bool ListCommand(int id)
    {
        QWidget* w = m_pList->Widget();
        if (!w || !w->hasFocus())
            return false;
        switch (id) {
        case cmd::kCut1: case cmd::kMenuCut1: return Edited(m_pList->CutSel()) != 0;
        case cmd::kCopy1: case cmd::kMenuCopy1: m_pList->CopySel(); return false;
        case cmd::kPaste1: case cmd::kMenuPaste1: return Edited(m_pList->Paste()) != 0;
        case cmd::kInsertKey1: case cmd::kMenuInsert1: return Insert() != 0;
        case cmd::kDeleteKey1: case cmd::kMenuDelete1: return Delete() != 0;
        default: return false;
        }
    }
    // The list's source changed under it (another group chosen): shown again
    // from its first line.
    void Reload()
    {
        m_pList->Show();
        m_pList->Select(0, true);
        ShowSelected();
    }
    void EnableFields()
    {
        bool on = HasRecord();
        for (int id : m_Fields)
            if (CTRL_CLASS* c = m_pDlg->FindControl(id))
                c->Enable(on);
    }
    // True when the command is a change of one of the fields.
    bool IsFieldChange(int id, Notify code) const
    {
        for (int f : m_Fields)
            if (f == id)
                return m_pDlg->FindCommandSource(id, code) != 0;
        return false;
    }

    T current{};
    // Runs before the selected record is shown (to refill dependent combos).
    std::function<void()> beforeShow;

private:
    int Edited(int result)
    {
        if (result) {
            m_pList->Store();
            ShowSelected();
        }
        return result;
    }

    DLG_CLASS* m_pDlg = nullptr;
    CTRL_LIST_CLASS<T>* m_pList = nullptr;
    std::vector<int> m_Fields;
};

// Runs a database dialog modally over its owner; the dialog's result.
int RunDbDialog(DLG_CLASS& dlg, WND_CLASS* owner);

// --- "使用箇所"

struct Usage;
struct DatabaseView;
// The loaded project's tables.
DatabaseView ProjectDatabaseView();
// A read-only list of what refers to an entry, one line each (UsageLine).
QListWidget* MakeUsageList(QWidget* parent);
void ShowUsage(QListWidget* list, const std::vector<Usage>& usages);
