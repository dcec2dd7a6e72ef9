// The page pattern of the database window, one template for every table page
// and every list dialog of the database:
//
//   DB_PAGE               base of the 25 pages: the sheet's store, reload,
//                         focus and stop hooks.
//   FieldForm             builds labelled inputs into a grid and binds each
//                         to a member of the page's current record; the same
//                         call both makes the widget and registers the control.
//   DB_FORM_PAGE          a page built with a FieldForm: the hooks below.
//   DB_LIST_PAGE<T>       a table page: the numbered record list bound to the
//                         shared list itself (filter box, "新規", "ｸﾘｱ",
//                         "ﾃﾞｰﾀ数", the keys and popup of a fixed-length list),
//                         and the current record's fields on the right.
//   DB_RECORD_PAGE<T>     a page over one record (the system record).
//   NestedList<U>         a second list inside the current record ("挿入",
//                         "編集", "削除", the keys and popup of a variable list);
//                         "編集" or a double-click edits one entry in a dialog.
//   DB_RECORD_DIALOG<U>   a modal dialog over a copy of one record, built
//                         with a FieldForm; OK writes the copy back.
//
// A page derived from DB_LIST_PAGE<T> supplies:
//   Records()          the shared list (the project's RecordList items)
//   RecordName()       the text after a line's number
//   DefineFields(f)    the inputs, e.g. f.Int(IDC_X, "名称", &m_Current.m_nX, 0, 99)
// and may override RefreshChoices (combos over other tables, on entering the
// page), AfterShow (previews, enabling after the fields were shown),
// AfterFieldChange (rules that follow an input) and OnPageCommand (its own
// buttons). Every input change writes the current record into the shared
// list at once; a selection change writes back first. Only "新規" and
// "ﾃﾞｰﾀ数" change the number of records.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSlider>
#include <QVBoxLayout>
#include <climits>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/text.h"
#include "database/window/db_common.h"
#include "ui/controls.h"
#include "ui/input_dialogs.h"
#include "ui/qt_text.h"
#include "ui/widgets.h"
#include "ui/wnd.h"

// Ids every page shares.
enum DbPageId {
    IDC_DB_LIST = 1065,
    IDC_DB_NEW = 1066,      // "新規"
    IDC_DB_CLEAR = 1067,    // "ｸﾘｱ"
    IDC_DB_COUNT = 11071,   // "ﾃﾞｰﾀ数"
    IDC_DB_FILTER = 11072,  // the filter box over the list
};

// Commands of the record list (fixed length, group 1) and of a nested list
// (variable length, group 2): keys and popup menu items.
namespace dbcmd {
constexpr int kCutKey = 40030, kCopyKey = 40031, kPasteKey = 40032, kClearCtrlI = 40082, kClearDelete = 40083;
constexpr int kCutMenu = 40027, kCopyMenu = 40024, kPasteMenu = 40025, kClearMenu = 40081;
constexpr int kNestedCutKey = 40040, kNestedCopyKey = 40035, kNestedPasteKey = 40038, kNestedInsertKey = 40071,
              kNestedDeleteKey = 40039;
constexpr int kNestedCutMenu = 40075, kNestedCopyMenu = 40076, kNestedPasteMenu = 40077, kNestedInsertMenu = 40078,
              kNestedDeleteMenu = 40079;
constexpr int kListAccel = 132, kListMenu = 170, kNestedAccel = 130, kNestedMenu = 169;
}  // namespace dbcmd

// Base of every page of the database window.
class DB_PAGE : public DLG_CLASS {
public:
    DB_PAGE(int resourceId, const QString& title) : m_nPageResource(resourceId) { SetTitle(title); }
    // The page's inputs into the shared lists (apply runs this twice).
    virtual void StorePage() {}
    // Reads the shared lists again: on entering the page and after a change
    // behind it (a rename, an import, a restore).
    virtual void ReloadPage() {}
    virtual void FocusList() {}
    // Leaving the page: sounds and previews stop.
    virtual void StopPage() {}
    void OnPageEnter() override { ReloadPage(); }
    void OnPageLeave() override
    {
        StorePage();
        StopPage();
    }
    // Pages without content yet.
    void Build(QDialog* dialog) override { new QVBoxLayout(dialog); }
    int PageResource() const { return m_nPageResource; }
    bool applied = false;

private:
    int m_nPageResource;
};

// Builds labelled inputs in rows of a grid and binds them: each call makes
// the widgets (with their ids) now and queues the control's registration for
// OnInitDialog. Limits in characters count a double-byte character once; a
// member without a range takes its type's full range.
class FieldForm {
public:
    FieldForm(DLG_CLASS* dlg, QWidget* parent, QGridLayout* grid) : m_pDlg(dlg), m_pParent(parent), m_pGrid(grid) {}

    // Spin ids are the edit's id + this.
    static constexpr int kSpinOffset = 20000;

    template <class V>
    QLineEdit* Number(int id, const QString& label, V* value, V minimum, V maximum, int decimals = 0)
    {
        auto* edit = new QLineEdit(m_pParent);
        edit->setMaximumWidth(110);
        auto* spin = new UpDownWidget(m_pParent);
        AddRow(label, {edit, spin});
        m_pDlg->AddItem(id, edit);
        m_pDlg->AddItem(id + kSpinOffset, spin);
        DLG_CLASS* dlg = m_pDlg;
        attach.push_back([=] {
            (new CTRL_KEEPVAL_CLASS<V>)->Attach(dlg, id, value, minimum, maximum, id + kSpinOffset, V(1), decimals);
        });
        ids.insert(id);
        return edit;
    }
    QLineEdit* Int(int id, const QString& label, int32_t* value, int32_t minimum = INT_MIN, int32_t maximum = INT_MAX)
    {
        return Number<int32_t>(id, label, value, minimum, maximum);
    }
    // One entry of an integer vector (the vector keeps its storage: the
    // record's member, not a copy).
    QLineEdit* VecInt(int id, const QString& label, std::vector<int32_t>* vec, std::size_t index, int32_t minimum,
                      int32_t maximum);
    QLineEdit* Text(int id, const QString& label, std::string* value, int maxChars = 0)
    {
        auto* edit = new QLineEdit(m_pParent);
        if (maxChars > 0)
            edit->setMaxLength(maxChars);
        edit->setMinimumWidth(maxChars > 0 && maxChars <= 8 ? 120 : 220);
        AddRow(label, {edit});
        m_pDlg->AddItem(id, edit);
        DLG_CLASS* dlg = m_pDlg;
        // A double-byte character is two bytes: the byte limit never cuts
        // what the character limit let in.
        int bytes = maxChars > 0 ? maxChars * 2 : 0;
        attach.push_back([=] { (new CTRL_EDITSTR_CLASS)->Attach(dlg, id, value, bytes); });
        ids.insert(id);
        return edit;
    }
    QPlainTextEdit* LongText(int id, const QString& label, std::string* value)
    {
        auto* edit = new QPlainTextEdit(m_pParent);
        AddRow(label, {edit});
        m_pDlg->AddItem(id, edit);
        DLG_CLASS* dlg = m_pDlg;
        attach.push_back([=] { (new CTRL_EDITSTR_CLASS)->Attach(dlg, id, value, 0, 0, 1000); });
        ids.insert(id);
        return edit;
    }
    QCheckBox* Check(int id, const QString& label, int32_t* value)
    {
        auto* box = new QCheckBox(label, m_pParent);
        AddRow(QString(), {box});
        m_pDlg->AddItem(id, box);
        DLG_CLASS* dlg = m_pDlg;
        attach.push_back([=] { (new CTRL_CHECK_CLASS<int32_t>)->Attach(dlg, id, value); });
        ids.insert(id);
        return box;
    }
    // A drop-down whose entry i stands for the value i; items (CP932) may be
    // set now or refreshed later (SetComboItems).
    QComboBox* Combo(int id, const QString& label, int32_t* value, const std::vector<std::string>& items = {})
    {
        auto* combo = new QComboBox(m_pParent);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(16);
        for (const std::string& t : items)
            combo->addItem(ToQt(t));
        AddRow(label, {combo});
        m_pDlg->AddItem(id, combo);
        DLG_CLASS* dlg = m_pDlg;
        attach.push_back([=] { (new CTRL_COMBO_CLASS<int32_t>)->Attach(dlg, id, value, 0); });
        ids.insert(id);
        return combo;
    }
    // A track bar with its numeric edit.
    QSlider* Slider(int id, int editId, const QString& label, int32_t* value, int minimum, int maximum, int step)
    {
        auto* slider = new QSlider(Qt::Horizontal, m_pParent);
        slider->setSingleStep(step);
        slider->setPageStep(step);
        slider->setTickInterval(step);
        slider->setTickPosition(QSlider::TicksBelow);
        auto* edit = new QLineEdit(m_pParent);
        edit->setMaximumWidth(60);
        AddRow(label, {slider, edit});
        m_pDlg->AddItem(id, slider);
        m_pDlg->AddItem(editId, edit);
        DLG_CLASS* dlg = m_pDlg;
        attach.push_back([=] { (new CTRL_SLIDER_CLASS<int32_t>)->Attach(dlg, id, value, minimum, maximum, editId); });
        ids.insert(id);
        ids.insert(editId);
        return slider;
    }
    QPushButton* Button(int id, const QString& text, bool newRow = false)
    {
        auto* b = new QPushButton(text, m_pParent);
        b->setAutoDefault(false);
        if (newRow || !m_pLastRow)
            AddRow(QString(), {b});
        else
            m_pLastRow->insertWidget(m_pLastRow->count() - 1, b);  // before the row's stretch
        m_pDlg->AddItem(id, b);
        DLG_CLASS* dlg = m_pDlg;
        attach.push_back([=] { (new CTRL_BUTTON_CLASS)->Attach(dlg, id); });
        return b;
    }
    QLabel* Note(const QString& text)
    {
        auto* l = new QLabel(text, m_pParent);
        l->setWordWrap(true);
        AddRow(QString(), {l});
        return l;
    }
    // A widget of the page's own in a row of its own (a preview, a nested list).
    void Widget(const QString& label, QWidget* w) { AddRow(label, {w}); }
    // Later rows go into a second column of the grid.
    void NextColumn()
    {
        m_nColumn += 2;
        m_pGrid->setColumnStretch(m_nColumn + 1, 1);
        m_pLastRow = nullptr;
    }
    // Later rows go into a column beside all rows so far, in a grid of its
    // own: its rows keep their own heights (a tall block there does not
    // stretch the rows beside it).
    void SideColumn()
    {
        auto* side = new QGridLayout;
        side->setColumnStretch(1, 1);
        m_pGrid->addLayout(side, 0, m_nColumn + 2, -1, 1, Qt::AlignTop);
        m_pGrid = side;
        m_nColumn = 0;
        m_Rows.clear();
        m_pLastRow = nullptr;
    }
    // The row's label widget of the last row (to rename it later).
    QLabel* LastLabel() const { return m_pLastLabel; }
    QGridLayout* Grid() const { return m_pGrid; }
    QWidget* Parent() const { return m_pParent; }

    std::vector<std::function<void()>> attach;
    std::set<int> ids;  // inputs whose change is a change of the record

private:
    void AddRow(const QString& label, std::initializer_list<QWidget*> widgets)
    {
        int row = m_Rows[m_nColumn]++;
        m_pLastLabel = new QLabel(label, m_pParent);
        m_pGrid->addWidget(m_pLastLabel, row, m_nColumn);
        m_pLastRow = new QHBoxLayout;
        for (QWidget* w : widgets)
            m_pLastRow->addWidget(w);
        m_pLastRow->addStretch(1);
        m_pGrid->addLayout(m_pLastRow, row, m_nColumn + 1);
    }

    DLG_CLASS* m_pDlg;
    QWidget* m_pParent;
    QGridLayout* m_pGrid;
    QHBoxLayout* m_pLastRow = nullptr;
    QLabel* m_pLastLabel = nullptr;
    int m_nColumn = 0;
    std::map<int, int> m_Rows;  // next row of each column
};

// One entry of an integer vector as a numeric edit.
class CTRL_EDITVEC_CLASS : public CTRL_ENTRY_CLASS<CTRL_KEEPVAL_CLASS<int32_t>, int32_t> {
public:
    CTRL_EDITVEC_CLASS(std::vector<int32_t>* vec, std::size_t index) : CTRL_ENTRY_CLASS(VectorEntry(vec, index)) {}
    bool AttachEntry(DLG_CLASS* dlg, int id, int32_t minimum, int32_t maximum, int spinId)
    {
        return Attach(dlg, id, &proxy, minimum, maximum, spinId);
    }
};

inline QLineEdit* FieldForm::VecInt(int id, const QString& label, std::vector<int32_t>* vec, std::size_t index,
                                    int32_t minimum, int32_t maximum)
{
    auto* edit = new QLineEdit(m_pParent);
    edit->setMaximumWidth(110);
    auto* spin = new UpDownWidget(m_pParent);
    AddRow(label, {edit, spin});
    m_pDlg->AddItem(id, edit);
    m_pDlg->AddItem(id + kSpinOffset, spin);
    DLG_CLASS* dlg = m_pDlg;
    attach.push_back([=] { (new CTRL_EDITVEC_CLASS(vec, index))->AttachEntry(dlg, id, minimum, maximum, id + kSpinOffset); });
    ids.insert(id);
    return edit;
}

// Numbered names of a table's records as its page's list shows them, for
// combos over that table (entry i is record i).
template <class List, class NameFn>
std::vector<std::string> NumberedNames(const List& list, NameFn name)
{
    std::vector<std::string> out;
    int count = static_cast<int>(list.size());
    for (int i = 0; i < count; ++i)
        out.push_back(NumberedLine(i + 1, count, name(list[i])));
    return out;
}

// Sets a combo's entries, keeping its selection.
inline void SetComboItems(DLG_CLASS* dlg, int id, const std::vector<std::string>& items)
{
    if (auto* c = qobject_cast<QComboBox*>(dlg->Item(id))) {
        QSignalBlocker block(c);
        int index = c->currentIndex();
        c->clear();
        for (const std::string& t : items)
            c->addItem(ToQt(t));
        c->setCurrentIndex(index < c->count() ? index : -1);
    }
}

// A modal dialog over a copy of one record, its inputs built with a FieldForm;
// OK stores them into the copy, and Run writes the copy back.
template <class U>
class DB_RECORD_DIALOG : public DLG_CLASS {
public:
    using Define = std::function<void(FieldForm&, U&)>;
    DB_RECORD_DIALOG(int resourceId, const QString& title, Define define) : m_nRes(resourceId), m_Define(std::move(define))
    {
        SetTitle(title);
    }
    // 1 when OK wrote the edited copy into record.
    int Run(WND_CLASS* owner, U& record)
    {
        m_Work = record;
        SetupWindow(m_nRes, owner ? owner->Widget() : nullptr, owner);
        SetOwner(owner, true);
        if (DoModal() != 1)
            return 0;
        record = m_Work;
        return 1;
    }
    void Build(QDialog* dialog) override
    {
        auto* layout = new QVBoxLayout(dialog);
        auto* grid = new QGridLayout;
        layout->addLayout(grid);
        FieldForm form(this, dialog, grid);
        m_Define(form, m_Work);
        m_Attach = std::move(form.attach);
        auto* row = new QHBoxLayout;
        row->addStretch();
        auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
        auto* cancel = new QPushButton(QStringLiteral("キャンセル"), dialog);
        ok->setDefault(true);
        row->addWidget(ok);
        row->addWidget(cancel);
        layout->addLayout(row);
        AddItem(IDC_OK, ok);
        AddItem(IDC_CANCEL, cancel);
    }
    void OnInitDialog() override
    {
        DLG_CLASS::OnInitDialog();
        for (auto& a : m_Attach)
            a();
        if (onInit)
            onInit(*this);
        UpdateAll();
    }
    void OnCommand(int id, Notify code) override
    {
        DLG_CLASS::OnCommand(id, code);
        StandardButtons(id);
    }
    U& Work() { return m_Work; }
    // Runs after the controls were registered (items of combos over tables).
    std::function<void(DB_RECORD_DIALOG&)> onInit;

private:
    int m_nRes;
    Define m_Define;
    U m_Work;
    std::vector<std::function<void()>> m_Attach;
};

// A nested list of the page's current record: its own list control bound to
// the record's member list, "挿入" / "編集" / "削除" and the keys and popup of a
// variable-length list (group 2). Changes go into the current record; the page
// then writes it back.
template <class U>
class NestedList {
public:
    struct Ids {
        int list, insert, edit, remove;
    };
    using LineTextFn = typename ListModel<U>::LineTextFn;
    // Edits one entry (a copy); true when it was changed.
    using EditFn = std::function<bool(U&)>;

    // Makes the list and its buttons in a row of the form.
    void Build(FieldForm& form, const QString& label, Ids ids)
    {
        m_Ids = ids;
        QWidget* parent = form.Parent();
        auto* box = new QWidget(parent);
        auto* v = new QVBoxLayout(box);
        v->setContentsMargins(0, 0, 0, 0);
        auto* list = new QListWidget(box);
        list->setMinimumHeight(120);
        v->addWidget(list);
        auto* row = new QHBoxLayout;
        auto* insert = new QPushButton(QStringLiteral("挿入"), box);
        auto* edit = new QPushButton(QStringLiteral("編集"), box);
        auto* remove = new QPushButton(QStringLiteral("削除"), box);
        for (QPushButton* b : {insert, edit, remove}) {
            b->setAutoDefault(false);
            row->addWidget(b);
        }
        row->addStretch(1);
        v->addLayout(row);
        form.Widget(label, box);
        DLG_CLASS* dlg = m_pDlg;
        dlg->AddItem(ids.list, list);
        dlg->AddItem(ids.insert, insert);
        dlg->AddItem(ids.edit, edit);
        dlg->AddItem(ids.remove, remove);
    }
    void Attach(std::vector<U>* items, LineTextFn lineText, int maxCount)
    {
        m_pItems = items;
        ListOptions o;
        o.numbering = true;
        o.minCount = 0;
        o.maxCount = maxCount;
        m_pList = new CTRL_LIST_CLASS<U>;
        m_pList->AttachShared(m_pDlg, m_Ids.list, items, nullptr, o, std::move(lineText));
        m_pList->SetListCommands(dbcmd::kNestedAccel, 1, 2);
        m_pList->SetListMenu(dbcmd::kNestedMenu, 1, 2);
        m_pList->ClearListKeys();
        for (int id : {m_Ids.insert, m_Ids.edit, m_Ids.remove})
            (new CTRL_BUTTON_CLASS)->Attach(m_pDlg, id);
    }
    // Handles a command of the nested list; true when the entries changed.
    bool Command(int id, Notify code, const EditFn& edit)
    {
        if (!m_pList)
            return false;
        using namespace dbcmd;
        if (id == m_Ids.list && code == Notify::ListDblClk)
            id = m_Ids.edit;
        if (id == m_Ids.insert || id == kNestedInsertKey || id == kNestedInsertMenu)
            return m_pList->Insert() != 0;
        if (id == m_Ids.remove || id == kNestedDeleteKey || id == kNestedDeleteMenu)
            return m_pList->DeleteSel() != 0;
        if (id == kNestedCutKey || id == kNestedCutMenu)
            return m_pList->CutSel() != 0;
        if (id == kNestedCopyKey || id == kNestedCopyMenu) {
            m_pList->CopySel();
            return false;
        }
        if (id == kNestedPasteKey || id == kNestedPasteMenu)
            return m_pList->Paste() != 0;
        if (id == m_Ids.edit) {
            int line = m_pList->GetSel();
            if (line < 0 || !m_pList->Model().IsRecordLine(line) || !edit)
                return false;
            U copy = m_pList->Model().Record(line);
            if (!edit(copy))
                return false;
            m_pList->Model().Record(line) = copy;
            m_pList->Show();
            return true;
        }
        return false;
    }
    CTRL_LIST_CLASS<U>* List() const { return m_pList; }
    void SetDialog(DLG_CLASS* dlg) { m_pDlg = dlg; }

private:
    DLG_CLASS* m_pDlg = nullptr;
    Ids m_Ids{};
    std::vector<U>* m_pItems = nullptr;
    CTRL_LIST_CLASS<U>* m_pList = nullptr;
};

// A page whose inputs a FieldForm builds: the form's registrations run when
// the page's window exists, and a change of one of its inputs is a change of
// the page's record. A page supplies DefineFields(f) and may override
// RefreshChoices (combos over other tables, on entering the page), AfterShow
// (previews, enabling), AfterFieldChange (rules that follow an input) and
// OnPageCommand (its own buttons).
class DB_FORM_PAGE : public DB_PAGE {
public:
    using DB_PAGE::DB_PAGE;

protected:
    virtual void DefineFields(FieldForm& form) = 0;
    virtual void RefreshChoices() {}
    virtual void AfterShow() {}
    virtual void AfterFieldChange(int /*id*/) {}
    virtual void OnPageCommand(int /*id*/, Notify /*code*/) {}

    void BuildForm(QWidget* parent, QGridLayout* grid)
    {
        FieldForm form(this, parent, grid);
        DefineFields(form);
        m_Attach = std::move(form.attach);
        m_FieldIds = std::move(form.ids);
    }
    void AttachForm()
    {
        for (auto& a : m_Attach)
            a();
    }
    bool IsFieldChange(int id, Notify code) const
    {
        return m_FieldIds.count(id) && (code == Notify::EditUpdate || code == Notify::SelChange ||
                                        code == Notify::Click || code == Notify::EditKillFocus);
    }

private:
    std::vector<std::function<void()>> m_Attach;
    std::set<int> m_FieldIds;
};

// A table page: see the top of this file.
template <class T>
class DB_LIST_PAGE : public DB_FORM_PAGE {
public:
    struct Range {
        int minCount = 1;
        int maxCount = 999;
        int offset = 0;  // leading records not shown
    };
    DB_LIST_PAGE(int resourceId, const QString& title, Range range) : DB_FORM_PAGE(resourceId, title), m_Range(range) {}

    void Build(QDialog* dialog) override
    {
        auto* layout = new QHBoxLayout(dialog);
        auto* left = new QVBoxLayout;
        auto* filter = new QLineEdit(dialog);
        filter->setPlaceholderText(QStringLiteral("絞り込み (Ctrl+F)"));
        filter->setClearButtonEnabled(true);
        auto* list = new QListWidget(dialog);
        list->setMinimumWidth(220);
        auto* buttons = new QHBoxLayout;
        auto* add = new QPushButton(QStringLiteral("新規"), dialog);
        auto* clear = new QPushButton(QStringLiteral("ｸﾘｱ"), dialog);
        auto* count = new QPushButton(QStringLiteral("ﾃﾞｰﾀ数"), dialog);
        for (QPushButton* b : {add, clear, count}) {
            b->setAutoDefault(false);
            buttons->addWidget(b);
        }
        // The list comes first in the tab order, the filter above it after it.
        left->addWidget(filter);
        left->addWidget(list, 1);
        left->addLayout(buttons);
        layout->addLayout(left, 0);
        QWidget::setTabOrder(list, filter);
        AddItem(IDC_DB_LIST, list);
        AddItem(IDC_DB_FILTER, filter);
        AddItem(IDC_DB_NEW, add);
        AddItem(IDC_DB_CLEAR, clear);
        AddItem(IDC_DB_COUNT, count);
        auto* shortcut = new QShortcut(QKeySequence::Find, dialog);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(shortcut, &QShortcut::activated, [filter] {
            filter->setFocus();
            filter->selectAll();
        });

        auto* right = new QVBoxLayout;
        auto* grid = new QGridLayout;
        grid->setColumnStretch(1, 1);
        right->addLayout(grid);
        right->addStretch(1);
        layout->addLayout(right, 1);
        BuildForm(dialog, grid);
    }

    void OnInitDialog() override
    {
        DLG_CLASS::OnInitDialog();
        ListOptions o;
        o.offset = m_Range.offset;
        o.numbering = true;
        o.minCount = m_Range.minCount;
        o.maxCount = m_Range.maxCount;
        m_pList = new CTRL_LIST_CLASS<T>;
        m_pList->AttachShared(this, IDC_DB_LIST, &Records(), &m_Current, o,
                              [this](int index, const T& r) { return RecordName(index, r); });
        m_pList->SetListCommands(dbcmd::kListAccel, 0, 1);
        m_pList->SetListMenu(dbcmd::kListMenu, 0, 1);
        // The editing keys reach the list only while it has the focus.
        m_pList->ClearListKeys();
        for (int id : {IDC_DB_NEW, IDC_DB_CLEAR, IDC_DB_COUNT})
            (new CTRL_BUTTON_CLASS)->Attach(this, id);
        AttachForm();
        RefreshChoices();
        UpdateAll();
        AfterShow();
    }

    void StorePage() override
    {
        if (!Exists() || !m_pList)
            return;
        StoreAll();
        m_pList->WriteBack();
    }
    void ReloadPage() override
    {
        if (!Exists() || !m_pList)
            return;
        RefreshChoices();
        UpdateAll();
        AfterShow();
    }
    void FocusList() override
    {
        if (QWidget* l = Item(IDC_DB_LIST))
            l->setFocus();
    }

    void OnCommand(int id, Notify code) override
    {
        DLG_CLASS::OnCommand(id, code);
        if (!m_pList || Updating())
            return;
        using namespace dbcmd;
        switch (id) {
        case IDC_DB_LIST:
            if (code == Notify::SelChange)
                SelectionChanged();
            return;
        case IDC_DB_FILTER:
            if (code == Notify::EditUpdate)
                if (auto* f = qobject_cast<QLineEdit*>(Item(IDC_DB_FILTER)))
                    m_pList->SetFilter(f->text());
            return;
        case IDC_DB_NEW: ListChanged(m_pList->Insert()); return;
        case IDC_DB_CLEAR:
        case kClearCtrlI:
        case kClearDelete:
        case kClearMenu: ListChanged(m_pList->ClearSel()); return;
        case kCutKey:
        case kCutMenu: ListChanged(m_pList->CutClear()); return;
        case kCopyKey:
        case kCopyMenu: m_pList->CopySel(); return;
        case kPasteKey:
        case kPasteMenu: ListChanged(m_pList->PasteOver()); return;
        case IDC_DB_COUNT: {
            int count = m_pList->Model().RecordCount();
            if (InputValue(this, true, count, m_Range.minCount, m_Range.maxCount, SJ("データ数")))
                ListChanged(m_pList->Resize(count));
            return;
        }
        default: break;
        }
        if (IsFieldChange(id, code)) {
            FieldChanged(id);
            return;
        }
        OnPageCommand(id, code);
    }

    CTRL_LIST_CLASS<T>* List() const { return m_pList; }
    T& Current() { return m_Current; }

protected:
    virtual std::vector<T>& Records() = 0;
    virtual std::string RecordName(int index, const T& record) const = 0;

    // The inputs into the current record, and the record into the shared list.
    void WriteCurrent()
    {
        StoreAll();
        m_pList->WriteBack();
        m_pList->UpdateSelectedLine();
    }
    // The current record was changed by the page itself (a nested list, a
    // chooser): into the shared list, and shown again.
    void CurrentChanged()
    {
        m_pList->WriteBack();
        m_pList->UpdateSelectedLine();
        UpdateAllBut(IDC_DB_LIST);
        AfterShow();
    }

    T m_Current;
    CTRL_LIST_CLASS<T>* m_pList = nullptr;
    Range m_Range;

private:
    void FieldChanged(int id)
    {
        WriteCurrent();
        AfterFieldChange(id);
    }
    void SelectionChanged()
    {
        // The record left keeps what was typed; then the new one is shown.
        m_pList->WriteBack();
        m_pList->Sync();
        m_pList->Model().CopyCurrent();
        UpdateAllBut(IDC_DB_LIST);
        AfterShow();
    }
    void ListChanged(int done)
    {
        if (!done)
            return;
        UpdateAllBut(IDC_DB_LIST);
        AfterShow();
    }

};

// A page over one record (the system record): its inputs built with a
// FieldForm, in a scrolling area, bound to the shared record itself, so that
// every input change is in the record at once as on a table page. A page
// supplies Record() and DefineFields(f), and may override RefreshChoices,
// AfterShow, AfterFieldChange and OnPageCommand as a table page does.
template <class T>
class DB_RECORD_PAGE : public DB_FORM_PAGE {
public:
    using DB_FORM_PAGE::DB_FORM_PAGE;

    void Build(QDialog* dialog) override
    {
        auto* layout = new QVBoxLayout(dialog);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* scroll = new QScrollArea(dialog);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        auto* inner = new QWidget(scroll);
        auto* v = new QVBoxLayout(inner);
        auto* grid = new QGridLayout;
        grid->setColumnStretch(1, 1);
        v->addLayout(grid);
        v->addStretch(1);
        scroll->setWidget(inner);
        layout->addWidget(scroll);
        BuildForm(inner, grid);
    }
    void OnInitDialog() override
    {
        DLG_CLASS::OnInitDialog();
        AttachForm();
        m_bReady = true;
        RefreshChoices();
        UpdateAll();
        AfterShow();
    }
    void StorePage() override
    {
        if (Exists() && m_bReady)
            StoreAll();
    }
    void ReloadPage() override
    {
        if (!Exists() || !m_bReady)
            return;
        RefreshChoices();
        UpdateAll();
        AfterShow();
    }
    void OnCommand(int id, Notify code) override
    {
        DLG_CLASS::OnCommand(id, code);
        if (!m_bReady || Updating())
            return;
        if (IsFieldChange(id, code)) {
            StoreAll();
            AfterFieldChange(id);
            return;
        }
        OnPageCommand(id, code);
    }

protected:
    virtual T& Record() = 0;
    // The record was changed by the page itself (a dialog, a derived value):
    // shown again.
    void RecordChanged()
    {
        UpdateAll();
        AfterShow();
    }

private:
    bool m_bReady = false;
};
