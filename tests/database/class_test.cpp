#include "database/class.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/text.h"
#include "tests/database/hand_file.h"

namespace {

using ClassFile = HandFile<cClass>;

HandFile<cSlot> Slot(int k, std::vector<int32_t> categories)
{
    std::vector<HandFile<cAcqCond>> conds;
    for (int32_t c : categories) {
        conds.emplace_back(340);
        conds.back().Put(&cAcqCond::m_nCategory, c);
    }
    HandFile<cSlot> s(340);
    s.Put(&cSlot::m_bAnyCategory, k + 1)
        .Put(&cSlot::m_bShowAllSymbols, k + 2)
        .Put(&cSlot::m_nEmptySymbol, k + 3)
        .PutList(&cSlot::m_AcqConds, conds);
    return s;
}

HandFile<cOrgSlotList> SlotSet(int32_t own, std::vector<HandFile<cSlot>> slots)
{
    HandFile<cOrgSlotList> s(340);
    s.Put(&cOrgSlotList::m_bOwnSlots, own).PutList(&cOrgSlotList::m_Slots, slots);
    return s;
}

// A class in which member n (counted in file order from 1) holds k + n, with two
// slot sets, two sense vectors and three resistances.
ClassFile MakeClass(uint32_t v, int k, const cClass& prior = cClass())
{
    ClassFile f(v, prior);
    std::array<int32_t, 9> initial, final;
    for (int i = 0; i < 9; ++i) {
        initial[i] = (k + 11) * 10 + i;
        final[i] = (k + 12) * 10 + i;
    }
    f.Put(&cClass::m_nUnedited, k + 1)
        .Put(&cClass::m_nGraphic, k + 2)
        .Put(&cClass::m_nHue, static_cast<int16_t>(k + 3), 40)
        .Put(&cClass::m_nSaturation, static_cast<int16_t>(-(k + 4)), 40)
        .Put(&cClass::m_nBrightness, static_cast<int16_t>(k + 5), 40)
        .Put(&cClass::m_nScale, k + 6, 36)
        .Put(&cClass::m_nMove, k + 7)
        .Put(&cClass::m_bFlying, k + 8)
        .Put(&cClass::m_nExpRate, k + 9)
        .Put(&cClass::m_nLevelLimit, k + 10)
        .Put(&cClass::m_InitialStats, initial)
        .Put(&cClass::m_FinalStats, final)
        .Old(35, 0x13131313)
        .Old(35, 0x14141414)
        .Old(35, 0x15151515)
        .Put(&cClass::m_nAttackList, k + 16, 16)
        .Put(&cClass::m_nAttackSkill, k + 17, 16)
        .Put(&cClass::m_bNoAttack, k + 18, 116)
        .PutList(&cClass::m_SlotSets, {SlotSet(k + 19, {Slot(k, {0, 2}), Slot(k + 5, {})}), SlotSet(0, {})}, 83)
        .Put(&cClass::m_Name, SJ("剣士") + std::to_string(k))
        .Put(&cClass::m_Senses, std::vector<std::vector<int32_t>>{{k + 21, 0, 5}, {}})
        .Put(&cClass::m_ElemResist, std::vector<int32_t>{k + 22, -50, 150});
    return f;
}

cClass Loaded(const ClassFile& f)
{
    cClass c;
    ReadBody(c, f.b.data, f.v);
    return c;
}

}  // namespace

TEST(ClassRecord, LayoutAt340)
{
    ClassFile f = MakeClass(340, 100);
    cClass c;
    EXPECT_EQ(ReadBody(c, f.b.data, 340), f.b.data.size());
    EXPECT_TRUE(c.Equals(f.want)) << "a member is read at the wrong place";
    EXPECT_EQ(WriteBody(c), f.b.data);
}

TEST(ClassRecord, EveryVersionGate)
{
    const cClass prior = Loaded(MakeClass(340, 200));
    for (uint32_t v : {0u, 15u, 16u, 34u, 35u, 36u, 39u, 40u, 82u, 83u, 115u, 116u, 339u}) {
        SCOPED_TRACE(v);
        ClassFile f = MakeClass(v, 100, prior);
        cClass c;
        c.CopyFrom(prior);
        EXPECT_EQ(ReadBody(c, f.b.data, v), f.b.data.size());
        // Classes without a stored scale were drawn at 200 percent.
        if (v < 36)
            f.want.m_nScale = 200;
        EXPECT_TRUE(c.Equals(f.want));
        EXPECT_EQ(c.m_ElemResist, (std::vector<int32_t>{122, -50, 150}));
    }
}

TEST(ClassRecord, FittedToTheTablesOnLoadAndSave)
{
    const std::vector<uint8_t> stored = MakeClass(340, 0).b.data;  // 2 slot sets, senses {3, 0}, 3 resistances
    struct Case {
        int groups;
        std::vector<int> categories;  // per group; missing groups are unknown
        int elements;
        std::vector<std::vector<int32_t>> senses;
        int slotSets;
        std::vector<int32_t> resist;
    };
    const Case cases[] = {
        {-1, {}, -1, {{21, 0, 5}, {}}, 2, {22, -50, 150}},
        {3, {2, 1, 4}, 5, {{21, 0}, {0}, {0, 0, 0, 0}}, 3, {22, -50, 150, 100, 100}},
        {1, {}, 2, {{21, 0, 5}}, 1, {22, -50}},
        {0, {}, 0, {}, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.groups);
        ScopedTables tables;
        tables.Size(Table::SkillList, c.groups).Size(Table::Element, c.elements);
        tables.source.categoryCounts = c.categories;

        cClass loaded;
        ReadBody(loaded, stored, 340);
        EXPECT_EQ(loaded.m_Senses, c.senses);
        EXPECT_EQ(loaded.m_SlotSets.size(), c.slotSets);
        EXPECT_EQ(loaded.m_ElemResist, c.resist);
        if (c.slotSets == 3) {
            EXPECT_TRUE(loaded.m_SlotSets[2].Equals(cOrgSlotList())) << "new slot sets are default records";
        }

        // Saving fits a record that was never loaded under these tables.
        const TableSource* old = SetTableSource(nullptr);
        cClass unfitted = Loaded(MakeClass(340, 0));
        SetTableSource(old);
        std::vector<uint8_t> saved = WriteBody(unfitted);
        EXPECT_TRUE(unfitted.Equals(loaded));
        EXPECT_EQ(saved, WriteBody(loaded));
    }
}

TEST(ClassRecord, NewClassAndNestedCopies)
{
    {
        ScopedTables tables;
        tables.Size(Table::Element, 3);
        EXPECT_EQ(cClass().m_ElemResist, (std::vector<int32_t>{100, 100, 100}));
    }
    cClass fresh;
    EXPECT_TRUE(fresh.m_ElemResist.empty());
    EXPECT_EQ(fresh.m_SlotSets.size(), 1);

    const cClass source = Loaded(MakeClass(340, 0));
    const std::vector<std::function<void(cClass&)>> changes = {
        [](cClass& c) { c.m_SlotSets[0].m_Slots[0].m_AcqConds[1].m_nCategory = 7; },
        [](cClass& c) { c.m_SlotSets[0].m_Slots[1].m_nEmptySymbol = 0; },
        [](cClass& c) { c.m_SlotSets[1].m_bOwnSlots = 1; },
        [](cClass& c) { c.m_Senses[1].push_back(0); },
        [](cClass& c) { c.m_FinalStats[8] = 0; },
        [](cClass& c) { c.m_nBrightness = 0; },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        cClass copy;
        ASSERT_TRUE(copy.CopyFrom(source));
        EXPECT_TRUE(copy.Equals(source));
        changes[i](copy);
        EXPECT_FALSE(copy.Equals(source)) << "change " << i;
    }
}
