#include "database/window/list_dialogs.h"

#include <QVBoxLayout>

#include "database/usage.h"

namespace {

ListOptions Numbered(int minimum, int maximum)
{
    ListOptions o;
    o.numbering = true;
    o.minCount = minimum;
    o.maxCount = maximum;
    return o;
}

// The list with 挿入 and 削除 under it.
QVBoxLayout* ListColumn(DLG_CLASS* dlg, QWidget* parent, int listId, int insertId, int deleteId)
{
    auto* column = new QVBoxLayout;
    column->addWidget(DbList(dlg, parent, listId));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(DbButton(dlg, parent, insertId, "挿入"));
    buttons->addWidget(DbButton(dlg, parent, deleteId, "削除"));
    column->addLayout(buttons);
    return column;
}

}  // namespace

// ---------------------------------------------------------------------------

DLG_ELEM::DLG_ELEM(RecordList<cElem>& elems) : m_Target(elems) { SetTitle(QStringLiteral("属性の種類")); }

void DLG_ELEM::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    auto* row = new QHBoxLayout;
    row->addLayout(ListColumn(this, dialog, IDC_LIST, IDC_INSERT, IDC_DELETE));
    auto* fields = new QGridLayout;
    fields->addWidget(DbLabel(dialog, "名称"), 0, 0);
    fields->addWidget(DbText(this, dialog, IDC_NAME), 0, 1);
    fields->addWidget(DbLabel(dialog, "使用箇所"), 1, 0, 1, 2);
    QListWidget* usage = MakeUsageList(dialog);
    usage->setMinimumWidth(260);
    AddItem(IDC_USAGE, usage);
    fields->addWidget(usage, 2, 0, 1, 2);
    fields->setRowStretch(3, 1);
    row->addLayout(fields);
    layout->addLayout(row);
    layout->addLayout(DbOkCancel(this, dialog));
}

void DLG_ELEM::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_Work = m_Target;
    m_Pane.Attach(this, IDC_LIST, &m_Work, Numbered(1, 99), [](int, const cElem& e) { return e.m_Name; });
    m_Pane.beforeShow = [this] { ShowElementUsage(); };
    (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_NAME, &m_Pane.current.m_Name, 16, 16, 1);
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_INSERT);
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_DELETE);
    m_Pane.SetFields({IDC_NAME});
    UpdateAll();
    m_Pane.ShowSelected();
}

void DLG_ELEM::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    if (m_Pane.ListCommand(id))
        return;
    if (id == IDC_LIST && code == Notify::SelChange)
        m_Pane.ShowSelected();
    else if (m_Pane.IsFieldChange(id, code))
        m_Pane.StoreSelected();
    else if (id == IDC_INSERT)
        m_Pane.Insert();
    else if (id == IDC_DELETE)
        m_Pane.Delete();
    else if (id == IDC_OK) {
        m_Pane.StoreSelected();
        m_Target = m_Work;
        Close(1);
    } else if (id == IDC_CANCEL)
        Close(0);
}

// Resistances and modifiers follow the elements by position, so the records
// that use the selected line are those with a value at that position.
void DLG_ELEM::ShowElementUsage()
{
    auto* list = qobject_cast<QListWidget*>(Item(IDC_USAGE));
    if (m_Pane.HasRecord())
        ShowUsage(list, FindElementUsage(ProjectDatabaseView(), m_Pane.Selection()));
    else if (list)
        list->clear();
}

// ---------------------------------------------------------------------------

DLG_CATEG::DLG_CATEG(RecordList<cCateg>& categs) : m_Target(categs) { SetTitle(QStringLiteral("カテゴリー")); }

void DLG_CATEG::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    auto* row = new QHBoxLayout;
    row->addLayout(ListColumn(this, dialog, IDC_LIST, IDC_INSERT, IDC_DELETE));
    auto* fields = new QGridLayout;
    fields->addWidget(DbLabel(dialog, "名称"), 0, 0);
    fields->addWidget(DbText(this, dialog, IDC_NAME), 0, 1);
    fields->addWidget(DbLabel(dialog, "シンボル"), 1, 0);
    fields->addWidget(DbNumber(this, dialog, IDC_SYMBOL), 1, 1);
    fields->addWidget(DbLabel(dialog, "レート"), 2, 0);
    fields->addWidget(DbNumber(this, dialog, IDC_RATE), 2, 1);
    QLabel* note = DbLabel(dialog, "☆ランダムセンス上昇用。このレート×分配されたランダムセンス上昇値が実際のセンス上昇値。0なら分配対象外");
    note->setWordWrap(true);
    note->setMaximumWidth(260);
    fields->addWidget(note, 3, 0, 1, 2);
    fields->setRowStretch(4, 1);
    row->addLayout(fields);
    layout->addLayout(row);
    layout->addLayout(DbOkCancel(this, dialog));
}

void DLG_CATEG::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_Work = m_Target;
    m_Pane.Attach(this, IDC_LIST, &m_Work, Numbered(1, 99), [](int, const cCateg& c) { return c.m_Name; });
    (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_NAME, &m_Pane.current.m_Name, 16, 16, 1);
    AttachNum<int32_t>(this, IDC_SYMBOL, &m_Pane.current.m_nSymbol, 0, 9999);
    AttachNum<double>(this, IDC_RATE, &m_Pane.current.m_dRate, 0.0, 100.0, 2);
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_INSERT);
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_DELETE);
    m_Pane.SetFields({IDC_NAME, IDC_SYMBOL, IDC_RATE});
    UpdateAll();
    m_Pane.ShowSelected();
}

void DLG_CATEG::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    if (m_Pane.ListCommand(id))
        return;
    if (id == IDC_LIST && code == Notify::SelChange)
        m_Pane.ShowSelected();
    else if (m_Pane.IsFieldChange(id, code))
        m_Pane.StoreSelected();
    else if (id == IDC_INSERT)
        m_Pane.Insert();
    else if (id == IDC_DELETE)
        m_Pane.Delete();
    else if (id == IDC_OK) {
        m_Pane.StoreSelected();
        m_Target = m_Work;
        Close(1);
    } else if (id == IDC_CANCEL)
        Close(0);
}

// ---------------------------------------------------------------------------

DLG_SENSE::DLG_SENSE(std::vector<std::vector<int32_t>>& senses, const RecordList<cSkillList>& groups)
    : m_Target(senses), m_Groups(groups)
{
    SetTitle(QStringLiteral("センス"));
}

void DLG_SENSE::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(DbCombo(this, dialog, IDC_GROUP));
    layout->addWidget(DbList(this, dialog, IDC_LIST));
    auto* row = new QHBoxLayout;
    row->addWidget(DbLabel(dialog, "センス"));
    row->addWidget(DbNumber(this, dialog, IDC_VALUE));
    layout->addLayout(row);
    layout->addLayout(DbOkCancel(this, dialog));
}

void DLG_SENSE::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_Work = m_Target;
    m_nGroup = 0;
    m_nShown = 0;
    m_Values = m_Work.empty() ? std::vector<int32_t>() : m_Work[0];
    AttachCombo<int32_t>(this, IDC_GROUP, &m_nGroup, NumberedNames(m_Groups));
    // Fixed length: one line per category; nothing is inserted or deleted here.
    ListOptions o;
    o.numbering = true;
    m_Pane.Attach(this, IDC_LIST, &m_Values, o, [this](int index, const int32_t& value) {
        std::string name;
        if (m_nShown < m_Groups.size() && index < m_Groups[m_nShown].m_Categs.size())
            name = m_Groups[m_nShown].m_Categs[index].m_Name;
        return name + "  " + std::to_string(value);
    });
    m_Pane.List()->ClearListKeys();
    m_Pane.List()->ClearListMenu();
    AttachNum<int32_t>(this, IDC_VALUE, &m_Pane.current, 0, 99);
    m_Pane.SetFields({IDC_VALUE});
    UpdateAll();
    m_Pane.ShowSelected();
}

void DLG_SENSE::ShowGroup()
{
    m_Pane.List()->Store();
    if (m_nShown >= 0 && m_nShown < static_cast<int>(m_Work.size()))
        m_Work[static_cast<std::size_t>(m_nShown)] = m_Values;
    m_nShown = m_nGroup;
    m_Values = m_nShown >= 0 && m_nShown < static_cast<int>(m_Work.size()) ? m_Work[static_cast<std::size_t>(m_nShown)]
                                                                            : std::vector<int32_t>();
    m_Pane.Reload();
}

void DLG_SENSE::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    if (id == IDC_GROUP && code == Notify::SelChange) {
        StoreAll();
        ShowGroup();
    } else if (id == IDC_LIST && code == Notify::SelChange)
        m_Pane.ShowSelected();
    else if (m_Pane.IsFieldChange(id, code))
        m_Pane.StoreSelected();
    else if (id == IDC_OK) {
        m_Pane.StoreSelected();
        if (m_nShown >= 0 && m_nShown < static_cast<int>(m_Work.size()))
            m_Work[static_cast<std::size_t>(m_nShown)] = m_Values;
        m_Target = m_Work;
        Close(1);
    } else if (id == IDC_CANCEL)
        Close(0);
}
