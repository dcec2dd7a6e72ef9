// Page 4 of the database window, "スキル": the skill groups (1 to 16) with
// their options, scenes, menu words, default slots and categories, and the
// group's skills in a second list whose "編集" opens the skill sheet on a copy.
// Group and skill numbers follow their positions after every change of either
// list, since the CSV files and the game address skills by them. The two CSV
// buttons save the database first (the sheet's apply) and then export or
// import the selected group.
#pragma once

#include <QListWidget>
#include <functional>
#include <set>

#include "database/skill.h"
#include "database/window/db_page.h"

class DLG_DBSKILLLIST : public DB_LIST_PAGE<cSkillList> {
public:
    enum {
        IDC_NAME = 1100, IDC_SLOT_TYPE, IDC_RESERVE, IDC_PTVAL, IDC_HEADER_SP, IDC_SYMBOL_SENSE, IDC_STATUS_SENSE,
        IDC_SENSE_WORD, IDC_MULTIPLE, IDC_RESTORE, IDC_STOCK_AS_LEARN, IDC_FORGET_DEATH, IDC_FORGET_DISMISS,
        IDC_TEST_LEARN, IDC_TEST_OBTAIN, IDC_FORGOTTEN_STOCK, IDC_CONFIRM_LEARN, IDC_CONFIRM_FORGET,
        IDC_RESERVE_COUNT = 1130,  // edit and arrows
        IDC_CATEGORIES = 1140, IDC_GROUP_DELETE, IDC_CSV_SAVE, IDC_CSV_LOAD,
        IDC_SLOTS = 1150, IDC_SLOT_INSERT, IDC_SLOT_EDIT, IDC_SLOT_DELETE,
        IDC_SKILLS = 1160, IDC_SKILL_INSERT, IDC_SKILL_EDIT, IDC_SKILL_DELETE,
        IDC_SCENE = 1200,         // one check per scene position (position 3 has none)
        IDC_ORG_CHECK = 1220,     // the organisation menu's seven entries
        IDC_ORG_TEXT = 1230,
        IDC_LEARN_TEXT = 1240,    // two words each
        IDC_SELL_TEXT = 1242,
        IDC_FORGET_TEXT = 1244,
    };
    DLG_DBSKILLLIST();

    // Saves the whole database before a CSV command (the sheet's apply unless
    // replaced).
    std::function<void()> applySheet;
    QListWidget* UsageList() const { return m_pUsage; }

protected:
    std::vector<cSkillList>& Records() override;
    std::string RecordName(int, const cSkillList& r) const override { return r.m_Name; }
    void DefineFields(FieldForm& f) override;
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;
    void RefreshChoices() override;
    void AfterShow() override;
    void OnPageCommand(int id, Notify code) override;

private:
    int Group();
    // Puts every group and skill number back on its position when a list
    // change moved them, and shows the current group again.
    void Renumber();
    void SkillsChanged();
    void ShowSkillUsage();
    void RunCsv(bool import);

    NestedList<cSlot> m_Slots;
    NestedList<cSkill> m_Skills;
    QListWidget* m_pUsage = nullptr;
    QWidget* m_pSkillPart = nullptr;  // the skills, under the group list
    std::set<int> m_OwnFields;  // inputs made by the page itself
};
