// Small list dialogs of the database: "属性の種類" (elements, with the read-only
// "使用箇所" of the selected one), "カテゴリー"
// (a skill group's or the system's categories) and "センス" (a class's sense
// per category). Each works on a copy and writes it back on OK.
#pragma once

#include <vector>

#include "database/land.h"
#include "database/skill.h"
#include "database/window/db_common.h"

class DLG_ELEM : public DLG_CLASS {
public:
    enum { IDD = 119, IDC_LIST = 2001, IDC_NAME = 2002, IDC_INSERT = 2003, IDC_DELETE = 2004, IDC_USAGE = 2005 };
    explicit DLG_ELEM(RecordList<cElem>& elems);
    int Run(WND_CLASS* owner) { return RunDbDialog(*this, owner); }
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

private:
    void ShowElementUsage();
    RecordList<cElem>& m_Target;
    RecordList<cElem> m_Work;
    ListPane<cElem> m_Pane;
};

class DLG_CATEG : public DLG_CLASS {
public:
    enum { IDD = 118, IDC_LIST = 2101, IDC_NAME = 2102, IDC_INSERT = 2103, IDC_DELETE = 2104,
           IDC_SYMBOL = 2110, IDC_RATE = 2112 };
    explicit DLG_CATEG(RecordList<cCateg>& categs);
    int Run(WND_CLASS* owner) { return RunDbDialog(*this, owner); }
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

private:
    RecordList<cCateg>& m_Target;
    RecordList<cCateg> m_Work;
    ListPane<cCateg> m_Pane;
};

// The senses of a class: a skill group chosen in the combo, then one value
// per category of that group.
class DLG_SENSE : public DLG_CLASS {
public:
    enum { IDD = 216, IDC_GROUP = 2201, IDC_LIST = 2202, IDC_VALUE = 2210 };
    DLG_SENSE(std::vector<std::vector<int32_t>>& senses, const RecordList<cSkillList>& groups);
    int Run(WND_CLASS* owner) { return RunDbDialog(*this, owner); }
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

private:
    void ShowGroup();
    std::vector<std::vector<int32_t>>& m_Target;
    const RecordList<cSkillList>& m_Groups;
    std::vector<std::vector<int32_t>> m_Work;
    std::vector<int32_t> m_Values;  // the shown group's
    int32_t m_nGroup = 0;
    int m_nShown = 0;
    ListPane<int32_t> m_Pane;
};
