// "敵": one enemy placement — the enemy, its group and character id, and its
// movement rules, with the rule templates.
#pragma once

#include "stage/stage_elements.h"
#include "ui/controls.h"
#include "ui/wnd.h"

class DLG_ENEMY_SET : public DLG_CLASS {
public:
    enum {
        IDD = 169,
        IDC_GROUP_CHECK = 1566, IDC_GROUP = 1199, IDC_GROUP_SPIN = 1200, IDC_ENEMY = 1198,
        IDC_CHARA_CHECK = 1567, IDC_CHARA = 1202, IDC_CHARA_SPIN = 1203,
        IDC_TEMPLATE = 1201, IDC_SORT = 1073, IDC_LOAD = 1070, IDC_OVERWRITE = 1074, IDC_SAVE_NEW = 1072,
        IDC_RULES = 1112, IDC_RULE_INSERT = 1068, IDC_RULE_EDIT = 1069, IDC_RULE_DELETE = 11072,
    };

    // Works on a copy of placement; OK writes the copy back.
    explicit DLG_ENEMY_SET(cPutEnemy& placement);
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

    const cPutEnemy& Work() const { return m_Work; }
    // Opens the rule dialog on a rule (true for OK); tests may replace it.
    std::function<bool(cMoveAI& rule)> editRule;

private:
    void FillTemplates(int select);
    int TemplateSelection() const;
    void EnableEdits();
    void RulesChanged();
    void RuleCommand(int id);

    cPutEnemy& m_Target;
    cPutEnemy m_Work;
    CTRL_LIST_CLASS<cMoveAI>* m_pRules = nullptr;
};
