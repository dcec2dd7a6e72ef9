#include "database/skill.h"

#include "base/text.h"
#include "records/tables.h"

const std::array<SkillKindInfo, 10> kSkillKinds = {{
    {SkillKind::Physical, "物理攻撃", false},
    {SkillKind::Magic, "魔法攻撃", false},
    {SkillKind::Heal, "回復", false},
    {SkillKind::Guard, "ダメージ軽減", false},
    {SkillKind::Time, "時間", false},
    {SkillKind::Support, "補助", false},
    {SkillKind::Land, "地形", false},
    {SkillKind::PhysicalWeapon, "物理武器（使用不可）", true},
    {SkillKind::MagicWeapon, "魔法武器（使用不可）", true},
    {SkillKind::Armour, "防具（使用不可）", true},
}};

const SkillKindInfo* FindSkillKind(int32_t kind)
{
    for (const SkillKindInfo& row : kSkillKinds)
        if (static_cast<int32_t>(row.kind) == kind)
            return &row;
    return nullptr;
}

const LabelTable& SkillResourceTypeLabels()
{
    static const LabelTable labels{"SPを消費", "回数を制限"};
    return labels;
}

const LabelTable& SkillTargetLabels()
{
    static const LabelTable labels{"自分", "相手", "時間", "地形"};
    return labels;
}

const LabelTable& WeaponSkillLabels()
{
    static const LabelTable labels{"物理武器", "魔法武器"};
    return labels;
}

const LabelTable& SkillSpecialEffectLabels()
{
    static const LabelTable labels{"なし"};
    return labels;
}

const LabelTable& SlotTypeLabels()
{
    static const LabelTable labels{"スロット数とカテゴリーの制限有り", "スロット数とカテゴリーの制限無し", "スロットなし"};
    return labels;
}

const std::array<const char*, kSkillSceneCount> kSkillSceneLabels = {
    "編成パート全般",
    "編成パート「ストック」",
    "編成パート「ショップ」",
    "",
    "マップパート全般",
    "オート戦闘：マップパート「闘う」「待機」「装備」",
    "マップパート「スキル」（回復スキルのみ使用可）",
    "マップパート「ストック」（回復スキルのみ使用可）",
    "マニュアル戦闘：戦闘パート「スキル」",
    "マニュアル戦闘：戦闘パート「クイック」",
    "マニュアル戦闘：戦闘パート「ストック」",
};

namespace {

// Converts a table of UTF-8 labels to CP932 once.
template <class Table, class Label>
const std::vector<std::string>& Cp932Labels(const Table& table, Label label)
{
    static const std::vector<std::string> labels = [&] {
        std::vector<std::string> out;
        for (const auto& row : table)
            out.push_back(Utf8ToCp932(label(row)));
        return out;
    }();
    return labels;
}

const std::string& LabelAt(const std::vector<std::string>& labels, long long i)
{
    static const std::string none;
    return i >= 0 && i < static_cast<long long>(labels.size()) ? labels[static_cast<std::size_t>(i)] : none;
}

}  // namespace

const std::string& SkillKindLabel(int32_t kind)
{
    return LabelAt(Cp932Labels(kSkillKinds, [](const SkillKindInfo& row) { return row.label; }), kind);
}

const std::string& SkillSceneLabel(int position)
{
    return LabelAt(Cp932Labels(kSkillSceneLabels, [](const char* label) { return label; }), position);
}

// ---------------------------------------------------------------------------

int cCateg::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cCateg> m(*this, op, other, io, version);
    m.Int("symbol", &cCateg::m_nSymbol);
    m.Str("name", &cCateg::m_Name);
    m.Real("rate", &cCateg::m_dRate, Since(70));
    return m.Result();
}

int cCmd::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cCmd> m(*this, op, other, io, version);
    m.Str("text", &cCmd::m_Text);
    m.Int("enabled", &cCmd::m_bEnabled);
    return m.Result();
}

// ---------------------------------------------------------------------------
// cSkill

cSkill::cSkill()
{
    Init();
    AdjustToTables();
    m_nStockMax = 99;
    m_nUseLimit = 50;
    m_bStockConsumed = 1;
    m_nRequiredSense = 1;
    m_bBattleSkill = 1;
    m_nHitRate = 100;
    m_nDamageRate = 100;
    m_nEffect = 1;
    m_nCharaAnim = 1;
    m_nEffectAnim = 1;
    m_nScale = 200;
    m_byOpacity = 255;
    m_nSound = 1;
}

int cSkill::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cSkill> m(*this, op, other, io, version);
    m.Int("unedited1", &cSkill::m_nUnedited1);
    m.Int("skillNo", &cSkill::m_nSkillNo);
    m.Int("unused", &cSkill::m_bUnused, Since(109));
    m.Int("price", &cSkill::m_nPrice);
    m.Int("stockMax", &cSkill::m_nStockMax);
    m.Int("resourceType", &cSkill::m_nResourceType);
    m.Int("spCost", &cSkill::m_nSpCost);
    m.Int("useLimit", &cSkill::m_nUseLimit);
    m.Int("unlimitedUse", &cSkill::m_bUnlimitedUse);
    m.Int("stockConsumed", &cSkill::m_bStockConsumed);
    m.Int("category", &cSkill::m_nCategory);
    m.Int("requiredSense", &cSkill::m_nRequiredSense);
    m.Int("learnClass", &cSkill::m_nLearnClass);
    m.Int("unforgettable", &cSkill::m_bUnforgettable, Since(30));
    m.Int("kind", &cSkill::m_nKind);
    m.Int("mapSkill", &cSkill::m_bMapSkill);
    m.Int("mapStock", &cSkill::m_bMapStock);
    m.Int("battleSkill", &cSkill::m_bBattleSkill);
    m.Int("battleQuick", &cSkill::m_bBattleQuick);
    m.Int("battleStock", &cSkill::m_bBattleStock);
    m.Int("target", &cSkill::m_nTarget);
    m.Int("weaponSkill", &cSkill::m_nWeaponSkill, Since(261));
    m.Int("compatiType", &cSkill::m_nCompatiType, Since(99));
    m.Int("weaponCompatiType", &cSkill::m_bWeaponCompatiType, Since(99));
    m.Int("element", &cSkill::m_nElement);
    m.Int("elementValue", &cSkill::m_nElementValue, Since(18));
    m.Int("weaponElement", &cSkill::m_bWeaponElement, Since(18));
    m.Int("hitRate", &cSkill::m_nHitRate);
    m.Int("weaponHitRate", &cSkill::m_bWeaponHitRate, Since(17));
    m.Int("effectValue", &cSkill::m_nEffectValue);
    m.Int("damageRate", &cSkill::m_nDamageRate, Since(79));
    m.Int("criticalRate", &cSkill::m_nCriticalRate);
    m.Int("addWeaponCritical", &cSkill::m_bAddWeaponCritical);
    m.Int("ignoreStats", &cSkill::m_bIgnoreStats);
    m.Array("subEffectA", &cSkill::m_SubEffectA);
    m.Int("subEffectAPercent", &cSkill::m_bSubEffectAPercent);
    m.Array("subEffectB", &cSkill::m_SubEffectB, Since(80));
    m.Int("subEffectBPercent", &cSkill::m_bSubEffectBPercent, Since(80));
    m.Int("specialEffect", &cSkill::m_nSpecialEffect);
    m.Int("specialValue", &cSkill::m_nSpecialValue);
    m.Int("useSortNo", &cSkill::m_bUseSortNo, Since(102));
    m.Real("sortNo", &cSkill::m_dSortNo, Since(102));
    m.Int("weaponEffect", &cSkill::m_bWeaponEffect, Since(17));
    m.Int("effect", &cSkill::m_nEffect);
    m.Int("charaAnim", &cSkill::m_nCharaAnim, Since(14));
    m.Int("effectAnim", &cSkill::m_nEffectAnim, Since(14));
    m.Int("scale", &cSkill::m_nScale, Since(36));
    m.Int("opacity", &cSkill::m_byOpacity);
    m.Int("hue", &cSkill::m_nHue, Since(38));
    m.Int("saturation", &cSkill::m_nSaturation, Since(38));
    m.Int("brightness", &cSkill::m_nBrightness, Since(38));
    m.Obsolete(4, Range(0, 39));
    m.Obsolete(4, Range(0, 39));
    m.Int("learnChance", &cSkill::m_nLearnChance);
    m.Int("learnSenseBonusOld", &cSkill::m_nLearnSenseBonusOld);
    m.Real("learnSenseBonus", &cSkill::m_dLearnSenseBonus, Since(122));
    m.Int("learnLevelMin", &cSkill::m_nLearnLevelMin);
    m.Int("learnLevelMax", &cSkill::m_nLearnLevelMax);
    m.Int("unedited2", &cSkill::m_nUnedited2);
    m.Real("learnLevelSense", &cSkill::m_dLearnLevelSense);
    m.Int("rankMin", &cSkill::m_nRankMin, Since(103));
    m.Int("rankMax", &cSkill::m_nRankMax, Since(103));
    m.Int("rarity", &cSkill::m_nRarity, Since(103));
    m.Str("name", &cSkill::m_Name);
    m.Str("description", &cSkill::m_Description);
    m.Int("sound", &cSkill::m_nSound, Since(5));
    m.DroppedStr();
    m.Str("uneditedText", &cSkill::m_UneditedText);
    return m.Result();
}

void cSkill::AdjustToTables()
{
    if (BeyondTable(m_nCompatiType, Table::CompatiType))
        m_nCompatiType = 0;
    if (BeyondTable(m_nElement, Table::Element))
        m_nElement = 0;
}

int cSkill::LoadBody(RecordReader& in)
{
    int result = cSerial::LoadBody(in);
    uint32_t v = LoadedFileVersion;
    // Skills had no scale before version 36 and no damage modifier before 79.
    if (v < 36)
        m_nScale = 200;
    if (v < 79)
        m_nDamageRate = 100;
    // The sense bonus was a whole number before version 122.
    if (v < 122)
        m_dLearnSenseBonus = m_nLearnSenseBonusOld;
    // Version 261 inserted the magic weapon as kind 8: the old 8 (armour) is now 9,
    // and the matching weapon skill arrived with it.
    if (v < 261) {
        if (m_nKind == static_cast<int32_t>(SkillKind::MagicWeapon))
            m_nKind = static_cast<int32_t>(SkillKind::Armour);
        m_nWeaponSkill = 0;
    }
    AdjustToTables();
    return result;
}

int cSkill::SaveBody(RecordWriter& out)
{
    AdjustToTables();
    return cSerial::SaveBody(out);
}

// ---------------------------------------------------------------------------
// cSkillList

int cSkillList::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cSkillList> m(*this, op, other, io, version);
    m.Int("groupNo", &cSkillList::m_nGroupNo);
    m.Str("name", &cSkillList::m_Name);
    m.Int("slotType", &cSkillList::m_nSlotType);
    m.Int("unedited1", &cSkillList::m_nUnedited1);
    m.Int("reserve", &cSkillList::m_bReserve);
    m.Int("reserveCount", &cSkillList::m_nReserveCount);
    m.Int("headerSp", &cSkillList::m_bHeaderSp);
    m.Int("symbolSense", &cSkillList::m_bSymbolSense);
    m.Int("statusSense", &cSkillList::m_bStatusSense);
    m.Str("senseWord", &cSkillList::m_SenseWord);
    m.Int("unedited2", &cSkillList::m_nUnedited2, Since(70));
    m.Int("multipleSameKind", &cSkillList::m_bMultipleSameKind, Since(7));
    m.Int("restoreAfterClear", &cSkillList::m_bRestoreAfterClear, Since(6));
    m.Int("stockUseAsLearn", &cSkillList::m_bStockUseAsLearn, Since(82));
    m.Int("tradePartyVal", &cSkillList::m_nTradePartyVal);
    m.Int("forgetOnDeath", &cSkillList::m_bForgetOnDeath, Since(19));
    m.Int("forgetOnDismiss", &cSkillList::m_bForgetOnDismiss, Since(19));
    m.Int("testLearnAll", &cSkillList::m_bTestLearnAll, Since(41));
    m.Int("testObtainAll", &cSkillList::m_bTestObtainAll, Since(41));
    m.Int("forgottenToStock", &cSkillList::m_bForgottenToStock);
    m.Int("confirmLearn", &cSkillList::m_bConfirmLearn);
    m.Int("confirmForget", &cSkillList::m_bConfirmForget);
    m.List("slots", &cSkillList::m_Slots);
    m.List("categories", &cSkillList::m_Categs);
    m.IntVec("scenes", &cSkillList::m_Scenes);
    m.List("orgMenu", &cSkillList::m_OrgMenu);
    m.List("learnMenu", &cSkillList::m_LearnMenu);
    m.List("sellMenu", &cSkillList::m_SellMenu, Since(56));
    m.List("forgetMenu", &cSkillList::m_ForgetMenu);
    m.List("skills", &cSkillList::m_Skills);
    return m.Result();
}

void cSkillList::AdjustCategories()
{
    int count = m_Categs.size();
    for (cSkill& skill : m_Skills)
        if (skill.m_nCategory >= count)
            skill.m_nCategory = 0;
    for (cSlot& slot : m_Slots)
        slot.DropCategoriesFrom(count);
}

int cSkillList::LoadBody(RecordReader& in)
{
    int result = cSerial::LoadBody(in);
    uint32_t v = LoadedFileVersion;
    // The F8 test-play shortcuts were always on before they became options.
    if (v < 41) {
        m_bTestLearnAll = 1;
        m_bTestObtainAll = 1;
    }
    // Old organisation menus had an entry at the fifth place that was dropped.
    if (v < 56 && m_OrgMenu.size() > 4)
        m_OrgMenu.erase(4);
    // Version 77 inserted the shop scene at position 2, shown by default; the
    // later scenes move up by one and the last one falls off.
    if (v < 77) {
        m_Scenes.resize(kSkillSceneCount, 0);
        for (int i = kSkillSceneCount - 1; i > 2; --i)
            m_Scenes[static_cast<std::size_t>(i)] = m_Scenes[static_cast<std::size_t>(i - 1)];
        m_Scenes[2] = 1;
    }
    AdjustCategories();
    return result;
}

int cSkillList::SaveBody(RecordWriter& out)
{
    AdjustCategories();
    return cSerial::SaveBody(out);
}

// ---------------------------------------------------------------------------

int cAcqSkill::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cAcqSkill> m(*this, op, other, io, version);
    m.Int("unedited1", &cAcqSkill::m_nUnedited1);
    m.Int("skillNo", &cAcqSkill::m_nSkillNo);
    m.Int("unedited2", &cAcqSkill::m_nUnedited2);
    m.Int("unedited3", &cAcqSkill::m_nUnedited3);
    m.Nested("slot", &cAcqSkill::m_Slot);
    return m.Result();
}

int cShopSkill::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cShopSkill> m(*this, op, other, io, version);
    m.Int("value1", &cShopSkill::m_nValue1, Since(55));
    m.Int("skillNo", &cShopSkill::m_nSkillNo);
    m.Int("value3", &cShopSkill::m_nValue3, Since(55));
    m.Int("value4", &cShopSkill::m_nValue4, Since(55));
    return m.Result();
}

// ---------------------------------------------------------------------------

void RenumberSkillTable(RecordList<cSkillList>& table)
{
    for (int g = 0; g < table.size(); ++g) {
        cSkillList& group = table[g];
        group.m_nGroupNo = g;
        for (int s = 0; s < group.m_Skills.size(); ++s)
            group.m_Skills[s].m_nSkillNo = s;
    }
}

void CheckLearnClasses(RecordList<cSkillList>& table, int classCount)
{
    if (classCount < 0)
        return;
    for (cSkillList& group : table)
        for (cSkill& skill : group.m_Skills)
            if (skill.m_nLearnClass >= classCount)
                skill.m_nLearnClass = 0;
}
