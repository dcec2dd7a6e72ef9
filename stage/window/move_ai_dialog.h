// "移動AI": one movement rule (range で target に action, the skill, the
// destination and the conditions); and "移動AIテンプレート", the manager of
// the named rule sets.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "database/ai.h"
#include "stage/enemy_placement.h"
#include "ui/wnd.h"

class DLG_MOVEAI : public DLG_CLASS {
public:
    enum {
        IDD = 142,
        IDC_RANGE = 1300, IDC_TARGET, IDC_ACTION, IDC_SKILL_GROUP, IDC_SKILL, IDC_DESTINATION,
        IDC_CONDITIONS, IDC_SAME_GROUP, IDC_ONCE, IDC_STATUS, IDC_STATUS_STAT, IDC_STATUS_VALUE,
        IDC_STATUS_PERCENT, IDC_STATUS_COMPARE, IDC_VARIABLE, IDC_VARIABLE_NUMBER, IDC_VARIABLE_VALUE,
        IDC_VARIABLE_COMPARE, IDC_MOVED, IDC_JUDGE,
    };

    // Edits rule on OK; destinations are the choices of the "目的地" combo.
    DLG_MOVEAI(cMoveAI& rule, std::vector<Choice> destinations);
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

private:
    void FillSkills();
    void EnableControls();

    cMoveAI& m_Target;
    cMoveAI m_Work;
    std::vector<Choice> m_Destinations;
};

class DLG_MOVEAITEMPLATE : public DLG_CLASS {
public:
    enum { IDD = 219, IDC_LIST = 1112, IDC_UP = 1068, IDC_DOWN = 1069, IDC_DELETE = 1067, IDC_NAME = 1044,
           IDC_DESCRIPTION = 12057 };

    // Manages the project's templates; newMode: the last one was just appended.
    explicit DLG_MOVEAITEMPLATE(bool newMode);
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;
    // The close box is Cancel (in "new" mode it takes the new template away).
    void OnClose() override { OnCommand(IDC_CANCEL, Notify::Click); }

    const TemplateManager& Manager() const { return *m_pManager; }

private:
    void StoreFields();
    void ShowSelection();

    bool m_bNew;
    std::unique_ptr<TemplateManager> m_pManager;
    std::string m_Name, m_Description;
};
