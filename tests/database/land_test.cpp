#include "database/land.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "database/database.h"
#include "tests/database/record_check.h"

namespace {

cLand FilledLand()
{
    cLand l;
    l.m_nValue = -3;
    l.m_nMoveCost = 2;
    l.m_bImpassable = 1;
    l.m_nGraphic = 17;
    l.m_bStatPercent = 1;
    l.m_StatMod = {1, -2, 3, -4, 5, -6, 7, -8, 999999};
    l.m_ElemMod = {50, 150};
    l.m_nSpecial = LAND_SPECIAL_BATTLE_TIME;
    l.m_nSpecialValue = 120;
    l.m_bTraining = 0;
    l.m_Name = SJ("森");
    l.m_Help = SJ("説明");
    l.m_nBack = 4;
    return l;
}

Bytes LandHead()
{
    Bytes b;
    b.i32(-3).i32(2).i32(1).i32(17).i32(1);
    for (int v : {1, -2, 3, -4, 5, -6, 7, -8, 999999})
        b.i32(v);
    return b;
}

cInfl Infl(int target, int value)
{
    cInfl i;
    i.m_nTarget = target;
    i.m_nItem = INFL_DAMAGE;
    i.m_nOperator = INFL_MUL;
    i.m_nValue = value;
    return i;
}

}  // namespace

TEST(LandRecords, Layouts)
{
    cLand land = FilledLand();
    Bytes b = LandHead();
    b.u32(2).i32(50).i32(150).i32(1).i32(120).i32(0).str(SJ("森")).str(SJ("説明")).i32(4).str("");
    ExpectLayout(land, b.data);
    // The last string is unused: whatever a file holds there is written back empty.
    std::vector<uint8_t> withText = b.data;
    withText[withText.size() - 4] = 9;
    withText.insert(withText.end(), {'o', 'l', 'd', ' ', 't', 'x', 't', 0});
    cLand back;
    EXPECT_TRUE(ReadsWhole(back, withText, kDataVersion));
    EXPECT_EQ(Body(back), b.data);

    cCompatiType t;
    t.m_Name = SJ("剣");
    t.m_Infls.push_back(Infl(1, -7));
    t.m_Infls.push_back(Infl(0, 150));
    ExpectLayout(t, Bytes().str(SJ("剣")).u32(2).i32(1).i32(2).i32(3).i32(-7).i32(0).i32(2).i32(3).i32(150).data);

    cElem e;
    e.m_nValue = 9;
    e.m_Name = SJ("炎");
    ExpectLayout(e, Bytes().i32(9).str(SJ("炎")).data);

    cPtVal p;
    p.m_Name = SJ("所持金");
    p.m_Unit = "G";
    p.m_nVariable = 12;
    p.m_nMin = -100;
    p.m_nMax = 5000;
    p.m_bShowStatus = 1;
    p.m_bShowSave = 1;
    p.m_nValue = 7;
    ExpectLayout(p, Bytes().str(SJ("所持金")).str("G").i32(12).i32(-100).i32(5000).i32(1).i32(1).i32(7).data);
}

TEST(LandRecords, NewEntries)
{
    {
        ScopedTables tables;
        tables.Set(Table::Element, 3).Set(Table::Back, 5);
        cLand l;
        EXPECT_EQ(l.m_nMoveCost, 1);
        EXPECT_EQ(l.m_bTraining, 1);
        EXPECT_EQ(l.m_nBack, 1);
        EXPECT_EQ(l.m_ElemMod, (std::vector<int32_t>{100, 100, 100}));
        EXPECT_EQ(l.m_bImpassable, 0);
    }
    cPtVal p;
    EXPECT_EQ(p.m_nVariable, 1);
    EXPECT_EQ(p.m_nMin, 0);
    EXPECT_EQ(p.m_nMax, 999999);
    EXPECT_EQ(p.m_bShowStatus, 0);
    EXPECT_EQ(p.m_bShowSave, 0);
}

TEST(LandRecords, OlderFiles)
{
    ScopedTables tables;
    tables.Set(Table::Element, 2).Set(Table::Back, 10);
    // Element modifiers arrived with 94, the battle background with 66.
    struct Case {
        uint32_t version;
        bool hasElem;
        bool hasBack;
    };
    for (Case c : {Case{65, false, false}, Case{66, false, true}, Case{93, false, true}, Case{94, true, true}}) {
        Bytes b = LandHead();
        if (c.hasElem)
            b.u32(2).i32(70).i32(80);
        b.i32(1).i32(120).i32(0).str("n").str("h");
        if (c.hasBack)
            b.i32(6);
        b.str("");
        cLand l;
        l.m_ElemMod = {5, 6, 7};
        l.m_nBack = 3;
        EXPECT_TRUE(ReadsWhole(l, b.data, c.version)) << c.version;
        EXPECT_EQ(l.m_Help, "h") << c.version;
        EXPECT_EQ(l.m_nBack, c.hasBack ? 6 : 3) << c.version;
        // Without stored modifiers the old ones are brought to one per element.
        std::vector<int32_t> wantElem = c.hasElem ? std::vector<int32_t>{70, 80} : std::vector<int32_t>{5, 6};
        EXPECT_EQ(l.m_ElemMod, wantElem) << c.version;
    }
    // A fresh terrain read from a version 93 file holds 100 for every element.
    RecordList<cLand> list;
    TempDir dir;
    Bytes file;
    file.u32(93).u32(1);
    file.raw(LandHead().data.data(), LandHead().data.size());
    file.i32(0).i32(0).i32(1).str("").str("").i32(2).str("");
    WriteFile("Land.dat", file.data);
    ASSERT_EQ(LoadListFile(list, "Land.dat"), 1);
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0].m_ElemMod, (std::vector<int32_t>{100, 100}));

    cPtVal p;
    p.m_bShowSave = 1;
    EXPECT_TRUE(ReadsWhole(p, Bytes().str("a").str("b").i32(1).i32(2).i32(3).i32(0).i32(9).data, 30));
    EXPECT_EQ(p.m_bShowSave, 1) << "the save-data flag arrived with 31";
    EXPECT_EQ(p.m_nValue, 9);
    EXPECT_TRUE(ReadsWhole(p, Bytes().str("a").str("b").i32(1).i32(2).i32(3).i32(0).i32(0).i32(9).data, 31));
    EXPECT_EQ(p.m_bShowSave, 0);
}

TEST(LandRecords, TerrainAdjustmentOnLoadAndSave)
{
    struct Case {
        int elements, backs;          // table sizes, -1 unknown
        int moveCost, back;           // stored
        std::vector<int32_t> elem;    // stored
        int wantMoveCost, wantBack;
        std::vector<int32_t> wantElem;
    };
    const Case cases[] = {
        {3, 5, 0, 4, {1, 2, 3}, 1, 4, {1, 2, 3}},
        {3, 5, -2, 5, {1, 2, 3, 4}, 1, 1, {1, 2, 3}},
        {3, 5, 9, 7, {1}, 9, 1, {1, 100, 100}},
        {0, 0, 3, 0, {1}, 3, 1, {}},
        {-1, -1, 0, 99, {1, 2}, 1, 99, {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "elements " << c.elements << " backs " << c.backs << " back " << c.back);
        Bytes raw;
        raw.i32(0).i32(c.moveCost).i32(0).i32(0).i32(0);
        for (int i = 0; i < 9; ++i)
            raw.i32(0);
        raw.u32(static_cast<uint32_t>(c.elem.size()));
        for (int32_t v : c.elem)
            raw.i32(v);
        raw.i32(0).i32(0).i32(1).str("").str("").i32(c.back).str("");

        ScopedTables tables;
        tables.Set(Table::Element, c.elements).Set(Table::Back, c.backs);
        cLand loaded;
        EXPECT_TRUE(ReadsWhole(loaded, raw.data, kDataVersion));
        EXPECT_EQ(loaded.m_nMoveCost, c.wantMoveCost);
        EXPECT_EQ(loaded.m_nBack, c.wantBack);
        EXPECT_EQ(loaded.m_ElemMod, c.wantElem);

        // The same repairs apply to a terrain edited in memory when it is saved.
        cLand edited;
        edited.m_nMoveCost = c.moveCost;
        edited.m_nBack = c.back;
        edited.m_ElemMod = c.elem;
        std::vector<uint8_t> saved = Body(edited);
        EXPECT_TRUE(edited.Equals(loaded));
        EXPECT_EQ(saved, Body(loaded));
    }
}

TEST(LandRecords, InfluencesOnMissingTypesAreDropped)
{
    cCompatiType t;
    for (int target : {0, 3, 4, 1, 5, 2})
        t.m_Infls.push_back(Infl(target, target * 10));
    std::vector<uint8_t> raw = Body(t);  // unknown table size: everything kept
    cCompatiType all;
    ReadBody(all, raw, kDataVersion);
    EXPECT_EQ(all.m_Infls.size(), 6);

    ScopedTables tables;
    tables.Set(Table::CompatiType, 3);
    cCompatiType loaded;
    ReadBody(loaded, raw, kDataVersion);
    ASSERT_EQ(loaded.m_Infls.size(), 3) << "consecutive invalid entries all go";
    EXPECT_EQ(loaded.m_Infls[0].m_nTarget, 0);
    EXPECT_EQ(loaded.m_Infls[1].m_nTarget, 1);
    EXPECT_EQ(loaded.m_Infls[2].m_nTarget, 2);

    // On save the record itself is repaired, then written.
    std::vector<uint8_t> savedBytes = Body(all);
    EXPECT_EQ(all.m_Infls.size(), 3);
    EXPECT_EQ(savedBytes, Body(loaded));
}

namespace {

cDatabase FilledDatabase()
{
    cDatabase d;
    d.m_CompatiTypes.emplace_back().m_Infls.push_back(Infl(0, 1));
    d.m_PtVals.emplace_back().m_Name = SJ("所持金");
    d.m_CharaAnims.emplace_back().m_Frames[0].m_nCell = 4;
    d.m_EffectAnims.emplace_back().m_Frames.emplace_back().m_nMoveY = 2;
    d.m_Pictures.emplace_back().m_Path = "x.png";
    d.m_Backs.emplace_back().m_Blue = 9;
    d.m_Sounds.emplace_back().m_Name = "s";
    d.m_Bgms.emplace_back().m_nVolume = 10;
    d.m_Helps.emplace_back().m_Texts.emplace_back().m_Text = "t";
    return d;
}

}  // namespace

TEST(DatabaseRecord, InitCopyCompareOfAllTables)
{
    cDatabase a = FilledDatabase();

    cDatabase b;
    EXPECT_FALSE(b.Equals(a));
    ASSERT_EQ(b.CopyFrom(a), 1);
    EXPECT_TRUE(b.Equals(a));

    // A difference deep inside any table shows.
    b.m_Helps[0].m_Texts[0].m_Text = "u";
    EXPECT_FALSE(b.Equals(a));
    b.CopyFrom(a);
    b.m_CompatiTypes[0].m_Infls[0].m_nValue = 2;
    EXPECT_FALSE(b.Equals(a));
    b.CopyFrom(a);
    b.m_EffectAnims[0].m_Frames[1].m_nMoveY = 3;
    EXPECT_FALSE(b.Equals(a));

    b.Init();
    EXPECT_TRUE(b.Equals(cDatabase()));
    EXPECT_EQ(b.m_Helps.size(), 0);
    EXPECT_EQ(b.m_CompatiTypes.size(), 0);
}

TEST(DatabaseRecord, ListFilesLoadInOrderAndStopAtAMissingOne)
{
    TempDir dir;
    std::filesystem::create_directories("data/database");
    cDatabase a = FilledDatabase();
    ASSERT_EQ(a.SaveDatabaseFiles(), 1);

    cDatabase b;
    std::string failed;
    ASSERT_EQ(b.LoadDatabaseFiles(&failed), 1);
    EXPECT_TRUE(b.Equals(a));

    std::filesystem::remove("data/database/Help.dat");
    std::filesystem::remove("data/database/Bgm.dat");
    cDatabase c;
    EXPECT_EQ(c.LoadDatabaseFiles(&failed), 0);
    EXPECT_EQ(failed, "data\\database\\Bgm.dat");
    EXPECT_EQ(c.m_Sounds.size(), 1) << "the files before it are loaded";
    EXPECT_EQ(c.m_Bgms.size(), 0);
}
