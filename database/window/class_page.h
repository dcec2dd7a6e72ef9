// Page 1 of the database window: classes ("　　クラス　　"), with the senses
// ("センス") and slot sets ("スロット") in dialogs of their own and the
// read-only list of what uses the selected class.
#pragma once

#include <QListWidget>

#include "database/class.h"
#include "database/window/db_page.h"
#include "database/window/element_rows.h"

class DLG_DBCLASS : public DB_LIST_PAGE<cClass> {
public:
    enum {
        IDC_NAME = 1100, IDC_GRAPHIC, IDC_GRAPHIC_LIST, IDC_PREVIEW, IDC_HUE, IDC_HUE_EDIT, IDC_SATURATION,
        IDC_SATURATION_EDIT, IDC_BRIGHTNESS, IDC_BRIGHTNESS_EDIT, IDC_SCALE, IDC_MOVE, IDC_FLYING, IDC_EXP_RATE,
        IDC_LEVEL_LIMIT, IDC_ATTACK_LIST, IDC_ATTACK_SKILL, IDC_NO_ATTACK, IDC_SENSE, IDC_SLOT, IDC_USAGE,
        IDC_INITIAL = 1200,  // nine stats
        IDC_FINAL = 1220,    // nine stats
        IDC_RESIST = 1300,   // one per element
    };
    DLG_DBCLASS();
    const ElementRows& Resistances() const { return m_Resists; }

protected:
    std::vector<cClass>& Records() override;
    std::string RecordName(int, const cClass& r) const override { return r.m_Name; }
    void DefineFields(FieldForm& f) override;
    void RefreshChoices() override;
    void AfterShow() override;
    void AfterFieldChange(int id) override;
    void OnPageCommand(int id, Notify code) override;

private:
    void FillAttackSkills();
    ElementRows m_Resists;
};
