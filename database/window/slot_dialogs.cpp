#include "database/window/slot_dialogs.h"

#include <QVBoxLayout>
#include <algorithm>

#include "ui/qt_text.h"

bool CTRL_ACQLIST_CLASS::Attach(DLG_CLASS* dlg, int id, RecordList<cAcqCond>* conds, std::vector<std::string> names)
{
    m_pConds = conds;
    m_Names = std::move(names);
    return AttachTo(dlg, id, CK_NONE);
}

void CTRL_ACQLIST_CLASS::Show()
{
    auto* list = qobject_cast<QListWidget*>(m_pWnd);
    if (!list || !m_pConds)
        return;
    QSignalBlocker block(list);
    list->clear();
    for (int i = 0; i < static_cast<int>(m_Names.size()); ++i) {
        auto* item = new QListWidgetItem(ToQt(NumberedLine(i + 1, static_cast<int>(m_Names.size()), m_Names[i])), list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        bool accepted = std::any_of(m_pConds->begin(), m_pConds->end(),
                                    [i](const cAcqCond& c) { return c.m_nCategory == i; });
        item->setCheckState(accepted ? Qt::Checked : Qt::Unchecked);
    }
}

void CTRL_ACQLIST_CLASS::Store()
{
    auto* list = qobject_cast<QListWidget*>(m_pWnd);
    if (Updating() || !list || !m_pConds)
        return;
    int count = std::min(list->count(), static_cast<int>(m_Names.size()));
    auto checked = [&](int category) {
        return category >= 0 && category < count && list->item(category)->checkState() == Qt::Checked;
    };
    RecordList<cAcqCond> kept;
    for (const cAcqCond& c : *m_pConds)
        if (checked(c.m_nCategory) || c.m_nCategory < 0 || c.m_nCategory >= count)
            kept.push_back(c);
    for (int i = 0; i < count; ++i)
        if (checked(i) && std::none_of(kept.begin(), kept.end(), [i](const cAcqCond& c) { return c.m_nCategory == i; }))
            kept.emplace_back().m_nCategory = i;
    *m_pConds = kept;
}

// ---------------------------------------------------------------------------

DLG_SLOT::DLG_SLOT(cSlot& slot, const RecordList<cCateg>& categs) : m_Target(slot), m_Categs(categs)
{
    SetTitle(QStringLiteral("スロット"));
}

void DLG_SLOT::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(DbCheck(this, dialog, IDC_ANY, "キャラが習得可能な全てのカテゴリーを習得できる"));
    layout->addWidget(DbCheck(this, dialog, IDC_SHOW_ALL, "スキル未習得時、このスロットが習得可能な全てのカテゴリーシンボルを表示"));
    auto* row = new QHBoxLayout;
    row->addWidget(DbLabel(dialog, "スキル未習得時に表示するシンボル"));
    row->addWidget(DbNumber(this, dialog, IDC_SYMBOL));
    layout->addLayout(row);
    layout->addWidget(DbLabel(dialog, "習得可能なカテゴリー"));
    layout->addWidget(DbList(this, dialog, IDC_CATEGS));
    layout->addLayout(DbOkCancel(this, dialog));
}

void DLG_SLOT::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_Work = m_Target;
    AttachCheck<int32_t>(this, IDC_ANY, &m_Work.m_bAnyCategory);
    AttachCheck<int32_t>(this, IDC_SHOW_ALL, &m_Work.m_bShowAllSymbols);
    AttachNum<int32_t>(this, IDC_SYMBOL, &m_Work.m_nEmptySymbol, 0, 9999);
    std::vector<std::string> names;
    for (const cCateg& c : m_Categs)
        names.push_back(c.m_Name);
    (new CTRL_ACQLIST_CLASS)->Attach(this, IDC_CATEGS, &m_Work.m_AcqConds, names);
    UpdateAll();
    EnableCategories();
}

void DLG_SLOT::EnableCategories()
{
    if (auto* any = qobject_cast<QCheckBox*>(Item(IDC_ANY)))
        Item(IDC_CATEGS)->setEnabled(!any->isChecked());
}

void DLG_SLOT::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    if (id == IDC_ANY)
        EnableCategories();
    else if (id == IDC_OK) {
        StoreAll();
        m_Target = m_Work;
        Close(1);
    } else if (id == IDC_CANCEL)
        Close(0);
}

std::string SlotLine(const cSlot& slot, const RecordList<cCateg>& categs)
{
    if (slot.m_bAnyCategory)
        return SJ("全てのカテゴリー");
    std::string line;
    for (const cAcqCond& c : slot.m_AcqConds) {
        if (!line.empty())
            line += SJ("・");
        line += c.m_nCategory >= 0 && c.m_nCategory < categs.size() ? categs[c.m_nCategory].m_Name
                                                                       : std::to_string(c.m_nCategory + 1);
    }
    return line.empty() ? SJ("（なし）") : line;
}

// ---------------------------------------------------------------------------

DLG_ORGSLOT::DLG_ORGSLOT(RecordList<cOrgSlotList>& sets, const RecordList<cSkillList>& groups)
    : m_Target(sets), m_Groups(groups)
{
    SetTitle(QStringLiteral("スロット"));
    editSlot = [this](cSlot& slot, const RecordList<cCateg>& categs) {
        DLG_SLOT dlg(slot, categs);
        return dlg.Run(this);
    };
}

void DLG_ORGSLOT::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(DbCombo(this, dialog, IDC_GROUP));
    layout->addWidget(DbCheck(this, dialog, IDC_OWN, "このクラス独自のスロットを使用"));
    layout->addWidget(DbList(this, dialog, IDC_LIST, 320));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(DbButton(this, dialog, IDC_INSERT, "挿入"));
    buttons->addWidget(DbButton(this, dialog, IDC_EDIT, "編集"));
    buttons->addWidget(DbButton(this, dialog, IDC_DELETE, "削除"));
    layout->addLayout(buttons);
    QLabel* note = DbLabel(dialog, "☆スロットはスキルのスロットタイプが「スロット数とカテゴリーの制限有り」のときのみ有効");
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addLayout(DbOkCancel(this, dialog));
}

const RecordList<cCateg>& DLG_ORGSLOT::ShownCategs() const
{
    static const RecordList<cCateg> none;
    return m_nShown >= 0 && m_nShown < m_Groups.size() ? m_Groups[m_nShown].m_Categs : none;
}

void DLG_ORGSLOT::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_Work = m_Target;
    m_nGroup = 0;
    m_nShown = 0;
    m_Set = m_Work.empty() ? cOrgSlotList() : m_Work[0];
    AttachCombo<int32_t>(this, IDC_GROUP, &m_nGroup, NumberedNames(m_Groups));
    AttachCheck<int32_t>(this, IDC_OWN, &m_Set.m_bOwnSlots);
    ListOptions o;
    o.numbering = true;
    o.maxCount = 99;
    m_Pane.Attach(this, IDC_LIST, &m_Set.m_Slots, o,
                  [this](int, const cSlot& slot) { return SlotLine(slot, ShownCategs()); });
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_INSERT);
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_EDIT);
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_DELETE);
    m_Pane.SetFields({IDC_EDIT, IDC_DELETE});
    UpdateAll();
    m_Pane.ShowSelected();
}

void DLG_ORGSLOT::ShowGroup()
{
    if (m_nShown >= 0 && m_nShown < m_Work.size())
        m_Work[m_nShown] = m_Set;
    m_nShown = m_nGroup;
    m_Set = m_nShown >= 0 && m_nShown < m_Work.size() ? m_Work[m_nShown] : cOrgSlotList();
    m_Pane.Reload();
}

void DLG_ORGSLOT::EditSelected()
{
    if (!m_Pane.HasRecord())
        return;
    cSlot slot = m_Pane.current;
    if (editSlot && editSlot(slot, ShownCategs()) == 1)
        m_Pane.PutSelected(slot);
}

void DLG_ORGSLOT::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    if (m_Pane.ListCommand(id))
        return;
    if (id == IDC_GROUP && code == Notify::SelChange) {
        StoreAll();
        ShowGroup();
    } else if (id == IDC_LIST && code == Notify::SelChange)
        m_Pane.ShowSelected();
    else if ((id == IDC_LIST && code == Notify::ListDblClk) || id == IDC_EDIT)
        EditSelected();
    else if (id == IDC_INSERT)
        m_Pane.Insert();
    else if (id == IDC_DELETE)
        m_Pane.Delete();
    else if (id == IDC_OWN)
        StoreAll();
    else if (id == IDC_OK) {
        StoreAll();
        if (m_nShown >= 0 && m_nShown < m_Work.size())
            m_Work[m_nShown] = m_Set;
        m_Target = m_Work;
        Close(1);
    } else if (id == IDC_CANCEL)
        Close(0);
}
