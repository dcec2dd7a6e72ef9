#include "database/skill.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "base/text.h"
#include "tests/database/hand_file.h"

namespace {

using SkillFile = HandFile<cSkill>;

// A skill body in which member n (counted in file order from 1) holds k + n.
// The reserved text at place 67 is written as given.
SkillFile MakeSkill(uint32_t v, int k, const cSkill& prior = cSkill(), const std::string& reserved = "")
{
    SkillFile f(v, prior);
    auto arr = [&](int n) {
        std::array<int32_t, 9> a;
        for (int i = 0; i < 9; ++i)
            a[i] = (k + n) * 10 + i - 4;
        return a;
    };
    f.Put(&cSkill::m_nUnedited1, k + 1)
        .Put(&cSkill::m_nSkillNo, k + 2)
        .Put(&cSkill::m_bUnused, k + 3, 109)
        .Put(&cSkill::m_nPrice, k + 4)
        .Put(&cSkill::m_nStockMax, k + 5)
        .Put(&cSkill::m_nResourceType, k + 6)
        .Put(&cSkill::m_nSpCost, k + 7)
        .Put(&cSkill::m_nUseLimit, k + 8)
        .Put(&cSkill::m_bUnlimitedUse, k + 9)
        .Put(&cSkill::m_bStockConsumed, k + 10)
        .Put(&cSkill::m_nCategory, k + 11)
        .Put(&cSkill::m_nRequiredSense, k + 12)
        .Put(&cSkill::m_nLearnClass, k + 13)
        .Put(&cSkill::m_bUnforgettable, k + 14, 30)
        .Put(&cSkill::m_nKind, k + 15)
        .Put(&cSkill::m_bMapSkill, k + 16)
        .Put(&cSkill::m_bMapStock, k + 17)
        .Put(&cSkill::m_bBattleSkill, k + 18)
        .Put(&cSkill::m_bBattleQuick, k + 19)
        .Put(&cSkill::m_bBattleStock, k + 20)
        .Put(&cSkill::m_nTarget, k + 21)
        .Put(&cSkill::m_nWeaponSkill, k + 22, 261)
        .Put(&cSkill::m_nCompatiType, k + 23, 99)
        .Put(&cSkill::m_bWeaponCompatiType, k + 24, 99)
        .Put(&cSkill::m_nElement, k + 25)
        .Put(&cSkill::m_nElementValue, -(k + 26), 18)
        .Put(&cSkill::m_bWeaponElement, k + 27, 18)
        .Put(&cSkill::m_nHitRate, k + 28)
        .Put(&cSkill::m_bWeaponHitRate, k + 29, 17)
        .Put(&cSkill::m_nEffectValue, -(k + 30))
        .Put(&cSkill::m_nDamageRate, k + 31, 79)
        .Put(&cSkill::m_nCriticalRate, k + 32)
        .Put(&cSkill::m_bAddWeaponCritical, k + 33)
        .Put(&cSkill::m_bIgnoreStats, k + 34)
        .Put(&cSkill::m_SubEffectA, arr(35))
        .Put(&cSkill::m_bSubEffectAPercent, k + 36)
        .Put(&cSkill::m_SubEffectB, arr(37), 80)
        .Put(&cSkill::m_bSubEffectBPercent, k + 38, 80)
        .Put(&cSkill::m_nSpecialEffect, k + 39)
        .Put(&cSkill::m_nSpecialValue, k + 40)
        .Put(&cSkill::m_bUseSortNo, k + 41, 102)
        .Put(&cSkill::m_dSortNo, k + 42.25, 102)
        .Put(&cSkill::m_bWeaponEffect, k + 43, 17)
        .Put(&cSkill::m_nEffect, k + 44)
        .Put(&cSkill::m_nCharaAnim, k + 45, 14)
        .Put(&cSkill::m_nEffectAnim, k + 46, 14)
        .Put(&cSkill::m_nScale, k + 47, 36)
        .Put(&cSkill::m_byOpacity, static_cast<uint8_t>(k + 48))
        .Put(&cSkill::m_nHue, static_cast<int16_t>(k + 49), 38)
        .Put(&cSkill::m_nSaturation, static_cast<int16_t>(-(k + 50)), 38)
        .Put(&cSkill::m_nBrightness, static_cast<int16_t>(k + 51), 38)
        .Old(39, 0x52525252)
        .Old(39, 0x53535353)
        .Put(&cSkill::m_nLearnChance, k + 54)
        .Put(&cSkill::m_nLearnSenseBonusOld, k + 55)
        .Put(&cSkill::m_dLearnSenseBonus, k + 56.5, 122)
        .Put(&cSkill::m_nLearnLevelMin, k + 57)
        .Put(&cSkill::m_nLearnLevelMax, k + 58)
        .Put(&cSkill::m_nUnedited2, k + 59)
        .Put(&cSkill::m_dLearnLevelSense, k + 60.75)
        .Put(&cSkill::m_nRankMin, k + 61, 103)
        .Put(&cSkill::m_nRankMax, k + 62, 103)
        .Put(&cSkill::m_nRarity, k + 63, 103)
        .Put(&cSkill::m_Name, SJ("火炎") + std::to_string(k))
        .Put(&cSkill::m_Description, SJ("敵を焼く") + std::to_string(k))
        .Put(&cSkill::m_nSound, k + 66, 5);
    f.b.str(reserved);
    f.Put(&cSkill::m_UneditedText, SJ("メモ") + std::to_string(k));
    return f;
}

cSkill Loaded(const SkillFile& f)
{
    cSkill s;
    ReadBody(s, f.b.data, f.v);
    return s;
}

}  // namespace

TEST(SkillRecord, LayoutAt340)
{
    SkillFile f = MakeSkill(340, 100);
    cSkill s;
    EXPECT_EQ(ReadBody(s, f.b.data, 340), f.b.data.size());
    EXPECT_TRUE(s.Equals(f.want)) << "a member is read at the wrong place";
    EXPECT_EQ(WriteBody(s), f.b.data);

    // Opacity is a single byte between the scale and the hue.
    s.m_byOpacity = 255;
    s.m_nScale = 0x01020304;
    s.m_nHue = 0x0506;
    std::vector<uint8_t> bytes = WriteBody(s);
    const uint8_t scale[] = {0x04, 0x03, 0x02, 0x01};
    auto at = std::search(bytes.begin(), bytes.end(), std::begin(scale), std::end(scale));
    ASSERT_NE(at, bytes.end());
    EXPECT_EQ(std::vector<uint8_t>(at + 4, at + 7), (std::vector<uint8_t>{0xFF, 0x06, 0x05}));
}

TEST(SkillRecord, EveryVersionGate)
{
    // Members a version lacks keep what the skill held; the whole body is consumed.
    const cSkill prior = Loaded(MakeSkill(340, 200));
    for (uint32_t v : {0u, 4u, 5u, 13u, 14u, 16u, 17u, 18u, 29u, 30u, 35u, 36u, 37u, 38u, 39u, 78u, 79u, 80u, 98u,
                       99u, 101u, 102u, 103u, 108u, 109u, 121u, 122u, 260u, 261u, 339u}) {
        SCOPED_TRACE(v);
        SkillFile f = MakeSkill(v, 100, prior);
        cSkill s;
        s.CopyFrom(prior);
        EXPECT_EQ(ReadBody(s, f.b.data, v), f.b.data.size());
        cSkill& want = f.want;
        if (v < 36)
            want.m_nScale = 200;
        if (v < 79)
            want.m_nDamageRate = 100;
        if (v < 122)
            want.m_dLearnSenseBonus = 155.0;
        if (v < 261)
            want.m_nWeaponSkill = 0;
        EXPECT_TRUE(s.Equals(want));
        EXPECT_EQ(s.m_nScale, v < 36 ? 200 : 147);
        EXPECT_EQ(s.m_UneditedText, SJ("メモ") + "100");
    }
}

TEST(SkillRecord, KindsRenumberedBelow261)
{
    struct Case {
        uint32_t version;
        int32_t stored, loaded;
    };
    for (Case c : {Case{260, 7, 7}, Case{260, 8, 9}, Case{260, 9, 9}, Case{261, 8, 8}, Case{261, 9, 9}}) {
        SkillFile f = MakeSkill(c.version, 0);
        cSkill s;
        // Kind is the 15th member, all 4 bytes wide before it.
        std::vector<uint8_t> bytes = f.b.data;
        std::memcpy(bytes.data() + 14 * 4, &c.stored, 4);
        ReadBody(s, bytes, c.version);
        EXPECT_EQ(s.m_nKind, c.loaded) << c.version << " " << c.stored;
    }
    EXPECT_STREQ(FindSkillKind(9)->label, "防具（使用不可）");
    EXPECT_TRUE(FindSkillKind(8)->equipment);
    EXPECT_FALSE(FindSkillKind(6)->equipment);
    EXPECT_EQ(FindSkillKind(10), nullptr);
    EXPECT_EQ(SkillKindLabel(1), SJ("魔法攻撃"));
    EXPECT_EQ(SkillKindLabel(-1), "");
    EXPECT_EQ(SkillSceneLabel(2), SJ("編成パート「ショップ」"));
}

TEST(SkillRecord, ReservedTextIsDropped)
{
    SkillFile f = MakeSkill(340, 100, cSkill(), SJ("予約"));
    cSkill s;
    EXPECT_EQ(ReadBody(s, f.b.data, 340), f.b.data.size());
    EXPECT_TRUE(s.Equals(f.want));
    EXPECT_EQ(WriteBody(s), MakeSkill(340, 100).b.data);
    EXPECT_FALSE(s.ToJson().contains("reserved"));
}

TEST(SkillRecord, ReferencesClampedOnLoadAndSave)
{
    ScopedTables tables;
    tables.Size(Table::CompatiType, 3).Size(Table::Element, 4);
    struct Case {
        int32_t compati, element, compatiAfter, elementAfter;
    };
    for (Case c : {Case{2, 3, 2, 3}, Case{3, 4, 0, 0}, Case{99, 0, 0, 0}}) {
        cSkill s;
        s.m_nCompatiType = c.compati;
        s.m_nElement = c.element;
        cSkill copy;
        copy.CopyFrom(s);
        std::vector<uint8_t> saved = WriteBody(s);
        EXPECT_EQ(s.m_nCompatiType, c.compatiAfter);
        EXPECT_EQ(s.m_nElement, c.elementAfter);

        // Reading clamps as well: read the unclamped body with the tables unknown first.
        const TableSource* old = SetTableSource(nullptr);
        std::vector<uint8_t> raw = WriteBody(copy);
        SetTableSource(old);
        cSkill back;
        ReadBody(back, raw, 340);
        EXPECT_EQ(back.m_nCompatiType, c.compatiAfter);
        EXPECT_EQ(back.m_nElement, c.elementAfter);
        EXPECT_EQ(WriteBody(back), saved);
    }
}

// ---------------------------------------------------------------------------
// Skill groups

namespace {

using GroupFile = HandFile<cSkillList>;

HandFile<cCmd> Cmd(uint32_t v, const std::string& text, int32_t on)
{
    HandFile<cCmd> c(v);
    c.Put(&cCmd::m_Text, text).Put(&cCmd::m_bEnabled, on);
    return c;
}

HandFile<cSlot> Slot(uint32_t v, int k, std::vector<int32_t> categories)
{
    std::vector<HandFile<cAcqCond>> conds;
    for (int32_t c : categories) {
        conds.emplace_back(v);
        conds.back().Put(&cAcqCond::m_nCategory, c);
    }
    HandFile<cSlot> s(v);
    s.Put(&cSlot::m_bAnyCategory, k + 1)
        .Put(&cSlot::m_bShowAllSymbols, k + 2)
        .Put(&cSlot::m_nEmptySymbol, k + 3)
        .PutList(&cSlot::m_AcqConds, conds);
    return s;
}

HandFile<cCateg> Categ(uint32_t v, int32_t symbol, const std::string& name, double rate)
{
    HandFile<cCateg> c(v);
    c.Put(&cCateg::m_nSymbol, symbol).Put(&cCateg::m_Name, name).Put(&cCateg::m_dRate, rate, 70);
    return c;
}

struct GroupParts {
    std::vector<int32_t> scenes = {1, 0, 1, 7, 1, 0, 1, 1, 0, 1, 1};
    int orgEntries = 7;
    std::vector<int32_t> skillCategories = {0, 1};
    std::vector<int32_t> slotCategories = {1, 0};
};

// A group in which member n holds k + n: two categories, one default slot, the
// four menus and two skills.
GroupFile MakeGroup(uint32_t v, int k, const GroupParts& p = {}, const cSkillList& prior = cSkillList())
{
    GroupFile f(v, prior);
    f.Put(&cSkillList::m_nGroupNo, k + 1)
        .Put(&cSkillList::m_Name, SJ("魔法"))
        .Put(&cSkillList::m_nSlotType, k + 3)
        .Put(&cSkillList::m_nUnedited1, k + 4)
        .Put(&cSkillList::m_bReserve, k + 5)
        .Put(&cSkillList::m_nReserveCount, k + 6)
        .Put(&cSkillList::m_bHeaderSp, k + 7)
        .Put(&cSkillList::m_bSymbolSense, k + 8)
        .Put(&cSkillList::m_bStatusSense, k + 9)
        .Put(&cSkillList::m_SenseWord, SJ("素質"))
        .Put(&cSkillList::m_nUnedited2, k + 11, 70)
        .Put(&cSkillList::m_bMultipleSameKind, k + 12, 7)
        .Put(&cSkillList::m_bRestoreAfterClear, k + 13, 6)
        .Put(&cSkillList::m_bStockUseAsLearn, k + 14, 82)
        .Put(&cSkillList::m_nTradePartyVal, k + 15)
        .Put(&cSkillList::m_bForgetOnDeath, k + 16, 19)
        .Put(&cSkillList::m_bForgetOnDismiss, k + 17, 19)
        .Put(&cSkillList::m_bTestLearnAll, k + 18, 41)
        .Put(&cSkillList::m_bTestObtainAll, k + 19, 41)
        .Put(&cSkillList::m_bForgottenToStock, k + 20)
        .Put(&cSkillList::m_bConfirmLearn, k + 21)
        .Put(&cSkillList::m_bConfirmForget, k + 22)
        .PutList(&cSkillList::m_Slots, {Slot(v, k, p.slotCategories)})
        .PutList(&cSkillList::m_Categs, {Categ(v, k + 24, SJ("火"), 1.5), Categ(v, k + 25, SJ("水"), 0.25)})
        .Put(&cSkillList::m_Scenes, p.scenes);
    static const char* const words[] = {"覚える", "リザーブ", "装備", "回復", "売る", "忘れる", "戻る"};
    std::vector<HandFile<cCmd>> org;
    for (int i = 0; i < p.orgEntries; ++i)
        org.push_back(Cmd(v, Utf8ToCp932(words[i % 7]), i % 2));
    f.PutList(&cSkillList::m_OrgMenu, org)
        .PutList(&cSkillList::m_LearnMenu, {Cmd(v, SJ("覚える"), 1), Cmd(v, SJ("やめる"), 0)})
        .PutList(&cSkillList::m_SellMenu, {Cmd(v, SJ("売る"), 0), Cmd(v, SJ("やめる"), 1)}, 56)
        .PutList(&cSkillList::m_ForgetMenu, {Cmd(v, SJ("忘れる"), 1), Cmd(v, SJ("やめる"), 1)});
    std::vector<SkillFile> skills;
    for (std::size_t i = 0; i < p.skillCategories.size(); ++i) {
        SkillFile s = MakeSkill(v, 300 + static_cast<int>(i) * 100);
        // The category is the 11th member, all 4 bytes wide before it.
        std::memcpy(s.b.data.data() + (v < 109 ? 9 : 10) * 4, &p.skillCategories[i], 4);
        s.want = Loaded(s);
        skills.push_back(s);
    }
    f.PutList(&cSkillList::m_Skills, skills);
    return f;
}

cSkillList LoadedGroup(const GroupFile& f)
{
    cSkillList g;
    ReadBody(g, f.b.data, f.v);
    return g;
}

}  // namespace

TEST(SkillGroupRecord, LayoutAt340)
{
    GroupFile f = MakeGroup(340, 100);
    cSkillList g;
    EXPECT_EQ(ReadBody(g, f.b.data, 340), f.b.data.size());
    EXPECT_TRUE(g.Equals(f.want));
    ASSERT_EQ(g.m_Skills.size(), 2);
    EXPECT_EQ(g.m_Skills[1].m_nCategory, 1);
    EXPECT_EQ(g.m_OrgMenu[4].m_Text, SJ("売る"));
    EXPECT_EQ(WriteBody(g), f.b.data);
}

TEST(SkillGroupRecord, EveryVersionGate)
{
    const cSkillList prior = LoadedGroup(MakeGroup(340, 200));
    for (uint32_t v : {0u, 5u, 6u, 7u, 18u, 19u, 40u, 41u, 55u, 56u, 69u, 70u, 76u, 77u, 81u, 82u, 339u}) {
        SCOPED_TRACE(v);
        GroupFile f = MakeGroup(v, 100, {}, prior);
        cSkillList g;
        g.CopyFrom(prior);
        EXPECT_EQ(ReadBody(g, f.b.data, v), f.b.data.size());
        cSkillList& want = f.want;
        if (v < 41)
            want.m_bTestLearnAll = want.m_bTestObtainAll = 1;
        if (v < 56)
            want.m_OrgMenu.erase(4);
        if (v < 77)
            want.m_Scenes = {1, 0, 1, 1, 7, 1, 0, 1, 1, 0, 1};
        EXPECT_TRUE(g.Equals(want));
        EXPECT_EQ(g.m_Skills.size(), 2);
        EXPECT_EQ(g.m_Skills[1].m_UneditedText, SJ("メモ") + "400");
    }
}

TEST(SkillGroupRecord, ScenesMoveUpBelow77)
{
    struct Case {
        uint32_t version;
        std::vector<int32_t> stored, loaded;
    };
    const Case cases[] = {
        {76, {}, {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0}},
        {76, {5, 6, 7}, {5, 6, 1, 7, 0, 0, 0, 0, 0, 0, 0}},
        {76, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {0, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {76, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {0, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {77, {5, 6, 7}, {5, 6, 7}},
    };
    for (const Case& c : cases) {
        GroupParts p;
        p.scenes = c.stored;
        cSkillList g = LoadedGroup(MakeGroup(c.version, 0, p));
        EXPECT_EQ(g.m_Scenes, c.loaded) << c.version << " " << c.stored.size();
    }
}

TEST(SkillGroupRecord, OrganisationMenuTrimmedBelow56)
{
    struct Case {
        uint32_t version;
        int stored, loaded;
    };
    for (Case c : {Case{55, 7, 6}, Case{55, 5, 4}, Case{55, 4, 4}, Case{55, 0, 0}, Case{56, 7, 7}}) {
        GroupParts p;
        p.orgEntries = c.stored;
        cSkillList g = LoadedGroup(MakeGroup(c.version, 0, p));
        ASSERT_EQ(g.m_OrgMenu.size(), c.loaded) << c.version << " " << c.stored;
        if (c.stored == 7 && c.version < 56) {  // the fifth word is the one that goes
            EXPECT_EQ(g.m_OrgMenu[4].m_Text, SJ("忘れる"));
        }
    }
}

TEST(SkillGroupRecord, CategoriesBeyondTheGroupOnLoadAndSave)
{
    GroupParts p;
    p.skillCategories = {0, 1, 2, -1, 7};
    p.slotCategories = {2, 0, 5, 1, 2};
    cSkillList g = LoadedGroup(MakeGroup(340, 0, p));
    std::vector<int32_t> skills, conds;
    for (cSkill& s : g.m_Skills)
        skills.push_back(s.m_nCategory);
    for (cAcqCond& c : g.m_Slots[0].m_AcqConds)
        conds.push_back(c.m_nCategory);
    EXPECT_EQ(skills, (std::vector<int32_t>{0, 1, 0, -1, 0}));
    EXPECT_EQ(conds, (std::vector<int32_t>{0, 1}));

    // Removing a category before saving pulls its skills back to 0.
    g.m_Categs.erase(1);
    g.m_Slots.push_back(g.m_Slots[0]);
    WriteBody(g);
    EXPECT_EQ(g.m_Skills[1].m_nCategory, 0);
    EXPECT_EQ(g.m_Slots[0].m_AcqConds.size(), 1);
    EXPECT_EQ(g.m_Slots[1].m_AcqConds.size(), 1);
}

TEST(SkillGroupRecord, CopyAndCompareReachNestedLists)
{
    const cSkillList source = LoadedGroup(MakeGroup(340, 0));
    const std::vector<std::function<void(cSkillList&)>> changes = {
        [](cSkillList& g) { g.m_Slots[0].m_AcqConds[1].m_nCategory = 9; },
        [](cSkillList& g) { g.m_Skills[1].m_SubEffectB[8] = 0; },
        [](cSkillList& g) { g.m_Skills[0].m_Name += "x"; },
        [](cSkillList& g) { g.m_Categs[1].m_dRate = 0.5; },
        [](cSkillList& g) { g.m_SellMenu[1].m_bEnabled = 0; },
        [](cSkillList& g) { g.m_Scenes.push_back(0); },
        [](cSkillList& g) { g.m_Skills.erase(0); },
        [](cSkillList& g) { g.m_Skills[0].m_byOpacity ^= 1; },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        cSkillList copy;
        copy.m_Skills.resize(5);  // surplus elements go
        ASSERT_TRUE(copy.CopyFrom(source));
        EXPECT_TRUE(copy.Equals(source));
        changes[i](copy);
        EXPECT_FALSE(copy.Equals(source)) << "change " << i;
        EXPECT_FALSE(source.Equals(copy)) << "change " << i;
    }
}

TEST(SkillGroupRecord, RenumberAndLearningClasses)
{
    RecordList<cSkillList> table;
    table.resize(3);
    table[0].m_Skills.resize(2);
    table[2].m_Skills.resize(3);
    for (cSkillList& g : table) {
        g.m_nGroupNo = 42;
        for (cSkill& s : g.m_Skills)
            s.m_nSkillNo = 42;
    }
    RenumberSkillTable(table);
    EXPECT_EQ(table[0].m_nGroupNo, 0);
    EXPECT_EQ(table[2].m_nGroupNo, 2);
    EXPECT_EQ(table[0].m_Skills[1].m_nSkillNo, 1);
    EXPECT_EQ(table[2].m_Skills[0].m_nSkillNo, 0);
    EXPECT_EQ(table[2].m_Skills[2].m_nSkillNo, 2);

    table[0].m_Skills[0].m_nLearnClass = 3;
    table[0].m_Skills[1].m_nLearnClass = 4;
    table[2].m_Skills[0].m_nLearnClass = 0;
    table[2].m_Skills[1].m_nLearnClass = 9;
    table[2].m_Skills[2].m_nLearnClass = -1;
    CheckLearnClasses(table, -1);  // unknown class count: nothing changes
    EXPECT_EQ(table[2].m_Skills[1].m_nLearnClass, 9);
    CheckLearnClasses(table, 4);
    EXPECT_EQ(table[0].m_Skills[0].m_nLearnClass, 3);
    EXPECT_EQ(table[0].m_Skills[1].m_nLearnClass, 0);
    EXPECT_EQ(table[2].m_Skills[1].m_nLearnClass, 0);
    EXPECT_EQ(table[2].m_Skills[2].m_nLearnClass, -1);
}

TEST(SkillGroupRecord, AcquisitionRecords)
{
    // A learned skill: four integers, then its slot inline.
    HandFile<cAcqSkill> a(340);
    a.Put(&cAcqSkill::m_nUnedited1, 1)
        .Put(&cAcqSkill::m_nSkillNo, 2)
        .Put(&cAcqSkill::m_nUnedited2, 3)
        .Put(&cAcqSkill::m_nUnedited3, 4)
        .PutNested(&cAcqSkill::m_Slot, Slot(340, 10, {3, 4}));
    cAcqSkill acq;
    EXPECT_EQ(ReadBody(acq, a.b.data, 340), a.b.data.size());
    EXPECT_TRUE(acq.Equals(a.want));
    EXPECT_EQ(WriteBody(acq), a.b.data);

    // Shop entries of files below 55 hold only the skill number.
    for (uint32_t v : {54u, 55u}) {
        HandFile<cShopSkill> s(v);
        s.Put(&cShopSkill::m_nValue1, 1, 55)
            .Put(&cShopSkill::m_nSkillNo, 2)
            .Put(&cShopSkill::m_nValue3, 3, 55)
            .Put(&cShopSkill::m_nValue4, 4, 55);
        cShopSkill shop;
        EXPECT_EQ(ReadBody(shop, s.b.data, v), s.b.data.size());
        EXPECT_TRUE(shop.Equals(s.want)) << v;
    }
}
