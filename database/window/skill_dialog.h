// "スキル": one skill with every member the skill page edits, on a copy that
// OK writes back. PROP_DBSKILL runs it modally; the sheet has this one page,
// so the page runs as a dialog of its own with OK and キャンセル.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "database/skill.h"
#include "database/window/db_common.h"

// The entries of the combos that name other tables, in table order (CP932).
struct SkillSheetChoices {
    std::vector<std::string> categories;  // of the skill's group
    std::vector<std::string> classes;
    std::vector<std::string> compatiTypes;
    std::vector<std::string> elements;
    std::vector<std::string> charaAnims;
    std::vector<std::string> effectAnims;
    std::vector<std::string> sounds;      // numbered from 0: the first sound is "none"
    // From the loaded project, for a skill of the group.
    static SkillSheetChoices FromProject(int group);
};

class DLG_DBSKILL : public DLG_CLASS {
public:
    enum {
        IDD = 124,
        IDC_NAME = 3000, IDC_DESC, IDC_UNUSED, IDC_RESOURCE, IDC_UNLIMITED, IDC_CONSUMED, IDC_CATEGORY,
        IDC_LEARN_CLASS, IDC_UNFORGET, IDC_KIND, IDC_MAP_SKILL, IDC_MAP_STOCK, IDC_BATTLE_SKILL, IDC_BATTLE_QUICK,
        IDC_BATTLE_STOCK, IDC_TARGET, IDC_WEAPON_SKILL, IDC_COMPATI, IDC_W_COMPATI, IDC_ELEMENT, IDC_W_ELEMENT,
        IDC_W_HIT, IDC_W_CRITICAL, IDC_IGNORE_STATS, IDC_SUB_A_PERCENT, IDC_SUB_B_PERCENT, IDC_SPECIAL, IDC_USE_SORT,
        IDC_W_EFFECT, IDC_SELECT_EFFECT, IDC_CHARA_ANIM, IDC_EFFECT_ANIM, IDC_SOUND,
        // numeric edits take two ids each (the edit and its arrows)
        IDC_PRICE = 3100, IDC_STOCK_MAX = 3102, IDC_SP_COST = 3104, IDC_USE_LIMIT = 3106, IDC_SENSE = 3108,
        IDC_ELEM_VALUE = 3110, IDC_HIT = 3112, IDC_EFFECT_VALUE = 3114, IDC_DAMAGE = 3116, IDC_CRITICAL = 3118,
        IDC_SPECIAL_VALUE = 3120, IDC_SORT_NO = 3122, IDC_EFFECT = 3124, IDC_SCALE = 3126, IDC_OPACITY = 3128,
        IDC_HUE = 3130, IDC_SATURATION = 3132, IDC_BRIGHTNESS = 3134, IDC_LEARN_CHANCE = 3136,
        IDC_SENSE_BONUS = 3138, IDC_LEVEL_MIN = 3140, IDC_LEVEL_MAX = 3142, IDC_LEVEL_SENSE = 3144,
        IDC_RANK_MIN = 3146, IDC_RANK_MAX = 3148, IDC_RARITY = 3150,
        IDC_SUB_A = 3200,  // nine edits, 2 ids apart
        IDC_SUB_B = 3220,
    };
    DLG_DBSKILL(cSkill& skill, SkillSheetChoices choices);
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

    // Answers the effect's "一覧" (kind 1 of the picture chooser): 1 when a
    // cell was chosen into value.
    std::function<int(int kind, int& value)> chooseGraphic;

private:
    cSkill& m_Target;
    SkillSheetChoices m_Choices;
    cSkill m_Work;
};

class PROP_DBSKILL {
public:
    // Edits the skill modally; 1 when OK wrote it back.
    static int Run(WND_CLASS* owner, cSkill& skill, const SkillSheetChoices& choices);
};
