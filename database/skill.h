// Skill records: skill groups (Skill.dat) with their categories, default slots,
// menu words and skills, and the acquisition records characters and old event
// files hold. A skill is addressed by (group number, skill number in the group).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "database/slot.h"
#include "records/labels.h"
#include "records/serial.h"

// The kinds of skill. Kinds 7 to 9 are equipment: sub-effect A applies to the
// wearer, sub-effect B only while equipped in automatic battle.
enum class SkillKind : int32_t {
    Physical = 0,
    Magic = 1,
    Heal = 2,
    Guard = 3,
    Time = 4,
    Support = 5,
    Land = 6,
    PhysicalWeapon = 7,
    MagicWeapon = 8,
    Armour = 9,
};

struct SkillKindInfo {
    SkillKind kind;
    const char* label;  // UTF-8, as the skill page lists it
    bool equipment;
};

// One row per kind, in value order.
extern const std::array<SkillKindInfo, 10> kSkillKinds;

// The row of a kind value; null for values outside the table.
const SkillKindInfo* FindSkillKind(int32_t kind);
// The label of a kind in CP932; empty for values outside the table.
const std::string& SkillKindLabel(int32_t kind);

// The choices of the skill sheet's combos, by value.
const LabelTable& SkillResourceTypeLabels();   // "リソースタイプ": SP cost or limited uses
const LabelTable& SkillTargetLabels();         // "対象"
const LabelTable& WeaponSkillLabels();         // "対応する武器スキル"
const LabelTable& SkillSpecialEffectLabels();  // "特殊効果": only "なし" so far
const LabelTable& SlotTypeLabels();            // a group's "スロットタイプ"

// The group flags that the group page labels with words of its own (UTF-8).
inline constexpr const char* kStatusSenseLabel = "キャラのステータスにセンスを表示";
inline constexpr const char* kForgetOnDeathLabel = "死亡時に全スキルをストックへ";
inline constexpr const char* kForgetOnDismissLabel = "放出時に全スキルをストックへ";

// The places where a skill group's list may be shown, by position in the
// group's scene flags. Position 3 has no check box and is carried as it is.
inline constexpr int kSkillSceneCount = 11;
extern const std::array<const char*, kSkillSceneCount> kSkillSceneLabels;  // UTF-8; empty at position 3
// The label of a scene position in CP932; empty at position 3 and outside.
const std::string& SkillSceneLabel(int position);

// A skill category of a group.
class cCateg : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cCateg)
    SERIAL_MEMBERS;

    int32_t m_nSymbol = 0;
    std::string m_Name;
    double m_dRate = 0.0;  // share of a random sense rise; 0 = takes no share
};

// One menu word: its text and whether the entry is offered.
class cCmd : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cCmd)
    SERIAL_MEMBERS;

    std::string m_Text;
    int32_t m_bEnabled = 0;
};

class cSkill : public cSerial {
public:
    // A new skill: stock of 99, 50 uses, hit and damage 100 percent, effect,
    // animations and sound 1, scale 200, opaque.
    cSkill();
    SERIAL_MEMBERS;
    int LoadBody(RecordReader& in) override;
    int SaveBody(RecordWriter& out) override;

    // Compatibility types and elements beyond their tables fall back to 0.
    void AdjustToTables();

    int32_t m_nUnedited1 = 0;         // not edited by the skill page; carried as it is
    int32_t m_nSkillNo = 0;           // own position in the group, renumbered after loading
    int32_t m_bUnused = 0;            // marked out of use
    int32_t m_nPrice = 0;             // 0 = cannot be sold
    int32_t m_nStockMax = 0;          // 1 to 99
    int32_t m_nResourceType = 0;      // 0 spends SP, 1 limited uses
    int32_t m_nSpCost = 0;
    int32_t m_nUseLimit = 0;
    int32_t m_bUnlimitedUse = 0;
    int32_t m_bStockConsumed = 0;     // vanishes when used from stock
    int32_t m_nCategory = 0;          // category number within the group
    int32_t m_nRequiredSense = 0;
    int32_t m_nLearnClass = 0;        // class number
    int32_t m_bUnforgettable = 0;
    int32_t m_nKind = 0;              // SkillKind
    int32_t m_bMapSkill = 0;          // usable from the map part's skill command
    int32_t m_bMapStock = 0;          // ... from the map part's stock command
    int32_t m_bBattleSkill = 0;       // ... from the battle part's skill command
    int32_t m_bBattleQuick = 0;       // ... from the battle part's quick command
    int32_t m_bBattleStock = 0;       // ... from the battle part's stock command
    int32_t m_nTarget = 0;            // 0 self, 1 opponent, 2 time, 3 land
    int32_t m_nWeaponSkill = 0;       // matching weapon skill: 0 physical, 1 magic
    int32_t m_nCompatiType = 0;       // compatibility type number
    int32_t m_bWeaponCompatiType = 0; // same compatibility type as the weapon skill
    int32_t m_nElement = 0;           // element number
    int32_t m_nElementValue = 0;      // -999 to 999, armour only
    int32_t m_bWeaponElement = 0;
    int32_t m_nHitRate = 0;           // percent
    int32_t m_bWeaponHitRate = 0;
    int32_t m_nEffectValue = 0;
    int32_t m_nDamageRate = 0;        // percent
    int32_t m_nCriticalRate = 0;      // percent
    int32_t m_bAddWeaponCritical = 0;
    int32_t m_bIgnoreStats = 0;       // the character's stats do not affect the effect
    std::array<int32_t, 9> m_SubEffectA{};  // stat changes, in stat order
    int32_t m_bSubEffectAPercent = 0;
    std::array<int32_t, 9> m_SubEffectB{};
    int32_t m_bSubEffectBPercent = 0;
    int32_t m_nSpecialEffect = 0;     // 0 none
    int32_t m_nSpecialValue = 0;
    int32_t m_bUseSortNo = 0;
    double m_dSortNo = 0.0;           // shop order, 0 to 999.99
    int32_t m_bWeaponEffect = 0;      // same effect as the weapon skill
    int32_t m_nEffect = 0;            // 1 to 127
    int32_t m_nCharaAnim = 0;         // character animation number
    int32_t m_nEffectAnim = 0;        // effect animation number
    int32_t m_nScale = 0;             // percent, 1 to 900
    uint8_t m_byOpacity = 0;          // 255 = opaque
    int16_t m_nHue = 0;               // 0 to 359
    int16_t m_nSaturation = 0;        // -255 to 255
    int16_t m_nBrightness = 0;        // -255 to 255
    int32_t m_nLearnChance = 0;       // percent
    int32_t m_nLearnSenseBonusOld = 0;  // whole-number sense bonus of old files
    double m_dLearnSenseBonus = 0.0;  // learning chance + sense x this
    int32_t m_nLearnLevelMin = 0;
    int32_t m_nLearnLevelMax = 0;
    int32_t m_nUnedited2 = 0;
    double m_dLearnLevelSense = 0.0;  // learning level - sense x this
    int32_t m_nRankMin = 0;
    int32_t m_nRankMax = 0;
    int32_t m_nRarity = 0;
    std::string m_Name;               // at most 8 characters
    std::string m_Description;        // at most 38 characters
    int32_t m_nSound = 0;             // sound number
    std::string m_UneditedText;       // not edited by the skill page; carried as it is

private:
};

// A skill group.
class cSkillList : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cSkillList)
    SERIAL_MEMBERS;
    int LoadBody(RecordReader& in) override;
    int SaveBody(RecordWriter& out) override;

    // Skills whose category lies beyond the group's categories fall back to 0;
    // default slots lose the categories beyond them.
    void AdjustCategories();

    int32_t m_nGroupNo = 0;           // own position in the skill table, renumbered after loading
    std::string m_Name;
    int32_t m_nSlotType = 0;          // 0 limited slots and categories, 1 unlimited, 2 no slots
    int32_t m_nUnedited1 = 0;
    int32_t m_bReserve = 0;           // skill reserve enabled
    int32_t m_nReserveCount = 0;      // 1 to 999
    int32_t m_bHeaderSp = 0;          // SP shown in the skill list header
    int32_t m_bSymbolSense = 0;       // required sense shown on category symbols
    int32_t m_bStatusSense = 0;       // sense shown in the character status window
    std::string m_SenseWord;          // the word shown for sense
    int32_t m_nUnedited2 = 0;
    int32_t m_bMultipleSameKind = 0;  // several skills of one kind may be learned
    int32_t m_bRestoreAfterClear = 0; // remaining uses restored after a stage clear
    int32_t m_bStockUseAsLearn = 0;   // using from stock needs the learning conditions
    int32_t m_nTradePartyVal = 0;     // party value spent and earned by buying and selling
    int32_t m_bForgetOnDeath = 0;     // every skill goes to stock on death
    int32_t m_bForgetOnDismiss = 0;   // ... on dismissal
    int32_t m_bTestLearnAll = 0;      // test play: F8 learns every skill
    int32_t m_bTestObtainAll = 0;     // test play: F8 obtains every skill
    int32_t m_bForgottenToStock = 0;
    int32_t m_bConfirmLearn = 0;
    int32_t m_bConfirmForget = 0;
    RecordList<cSlot> m_Slots;        // default slots
    RecordList<cCateg> m_Categs;
    std::vector<int32_t> m_Scenes;    // one flag per scene, kSkillSceneLabels
    RecordList<cCmd> m_OrgMenu;       // learn, reserve, equip, restore, sell, forget, back
    RecordList<cCmd> m_LearnMenu;     // learn, cancel
    RecordList<cCmd> m_SellMenu;      // sell, cancel
    RecordList<cCmd> m_ForgetMenu;    // forget, cancel
    RecordList<cSkill> m_Skills;
};

// A skill a character has learned, in the character's list for one group.
class cAcqSkill : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cAcqSkill)
    SERIAL_MEMBERS;

    int32_t m_nUnedited1 = 0;
    int32_t m_nSkillNo = 0;  // skill number within the group
    int32_t m_nUnedited2 = 0;
    int32_t m_nUnedited3 = 0;
    cSlot m_Slot;
};

// A shop entry of old event files; only the skill number was ever stored.
class cShopSkill : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cShopSkill)
    SERIAL_MEMBERS;

    int32_t m_nValue1 = 0;
    int32_t m_nSkillNo = 0;
    int32_t m_nValue3 = 0;
    int32_t m_nValue4 = 0;
};

// Sets every group number to the group's position in the table and every skill
// number to the skill's position in its group.
void RenumberSkillTable(RecordList<cSkillList>& table);

// Learning classes not below classCount become 0 (nothing happens when
// classCount is negative, i.e. unknown).
void CheckLearnClasses(RecordList<cSkillList>& table, int classCount);
