// The slot dialogs: "スロット" of one slot (its checks, symbol and accepted
// categories) and "スロット" of a class (its slot set per skill group).
#pragma once

#include "database/class.h"
#include "database/skill.h"
#include "database/window/db_common.h"

// The categories a slot accepts, one checkable line per category of the
// group. Unchecking drops a category, checking appends it; entries beyond the
// group's categories are kept.
class CTRL_ACQLIST_CLASS : public CTRL_CLASS {
public:
    bool Attach(DLG_CLASS* dlg, int id, RecordList<cAcqCond>* conds, std::vector<std::string> names);
    void Show() override;
    void Store() override;

private:
    RecordList<cAcqCond>* m_pConds = nullptr;
    std::vector<std::string> m_Names;
};

class DLG_SLOT : public DLG_CLASS {
public:
    enum { IDD = 198, IDC_ANY = 2301, IDC_SHOW_ALL = 2302, IDC_SYMBOL = 2310, IDC_CATEGS = 2312 };
    DLG_SLOT(cSlot& slot, const RecordList<cCateg>& categs);
    int Run(WND_CLASS* owner) { return RunDbDialog(*this, owner); }
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

private:
    void EnableCategories();
    cSlot& m_Target;
    const RecordList<cCateg>& m_Categs;
    cSlot m_Work;
};

// The line of a slot in the slot lists.
std::string SlotLine(const cSlot& slot, const RecordList<cCateg>& categs);

class DLG_ORGSLOT : public DLG_CLASS {
public:
    enum { IDD = 223, IDC_GROUP = 2401, IDC_OWN = 2402, IDC_LIST = 2403, IDC_INSERT = 2404, IDC_EDIT = 2405,
           IDC_DELETE = 2406 };
    DLG_ORGSLOT(RecordList<cOrgSlotList>& sets, const RecordList<cSkillList>& groups);
    int Run(WND_CLASS* owner) { return RunDbDialog(*this, owner); }
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

    // Answers "編集" (the slot dialog unless replaced): 1 when the slot was changed.
    std::function<int(cSlot& slot, const RecordList<cCateg>& categs)> editSlot;

private:
    void ShowGroup();
    void EditSelected();
    const RecordList<cCateg>& ShownCategs() const;
    RecordList<cOrgSlotList>& m_Target;
    const RecordList<cSkillList>& m_Groups;
    RecordList<cOrgSlotList> m_Work;
    cOrgSlotList m_Set;  // the shown group's
    int32_t m_nGroup = 0;
    int m_nShown = 0;
    ListPane<cSlot> m_Pane;
};
