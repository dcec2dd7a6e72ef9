#include "database/chara.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/text.h"
#include "tests/database/hand_file.h"

namespace {

using Senses = std::vector<std::vector<int32_t>>;

// Writes the members of a character body as a file of version v holds them,
// member by member, and sets the same values in want. Member n (in file order)
// holds a value made from k and n, so a member read at the wrong place shows.
class CharaWriter {
public:
    CharaWriter(uint32_t v, cChara& want) : v_(v), want_(want) {}

    void Int(int32_t& m, int32_t x, uint32_t since = 0)
    {
        if (v_ < since)
            return;
        m = x;
        b.i32(x);
    }
    template <std::size_t N>
    void Ints(std::array<int32_t, N>& m, int32_t base, uint32_t since = 0)
    {
        if (v_ < since)
            return;
        for (std::size_t i = 0; i < N; ++i)
            Int(m[i], base + static_cast<int32_t>(i));
    }
    void Vec(std::vector<int32_t>& m, std::vector<int32_t> x)
    {
        b.u32(static_cast<uint32_t>(x.size()));
        for (int32_t e : x)
            b.i32(e);
        m = std::move(x);
    }
    void VecVec(Senses& m, const Senses& x, uint32_t since = 0)
    {
        if (v_ < since)
            return;
        b.u32(static_cast<uint32_t>(x.size()));
        m.resize(x.size());
        for (std::size_t i = 0; i < x.size(); ++i)
            Vec(m[i], x[i]);
    }
    void Str(std::string& m, const std::string& x)
    {
        m = x;
        b.str(x);
    }
    void AcqSkill(cAcqSkill& s, int k)
    {
        for (int32_t* m : {&s.m_nUnedited1, &s.m_nSkillNo, &s.m_nUnedited2, &s.m_nUnedited3, &s.m_Slot.m_bAnyCategory,
                           &s.m_Slot.m_bShowAllSymbols, &s.m_Slot.m_nEmptySymbol})
            Int(*m, k++);
        b.u32(1);
        Int(s.m_Slot.m_AcqConds.emplace_back().m_nCategory, k);
    }
    // Lists of sizes[g] acquired skills for each group g.
    void AcqSets(std::vector<RecordList<cAcqSkill>>& m, std::vector<int> sizes, int k)
    {
        b.u32(static_cast<uint32_t>(sizes.size()));
        m.assign(sizes.size(), {});
        for (std::size_t g = 0; g < sizes.size(); ++g) {
            b.u32(static_cast<uint32_t>(sizes[g]));
            for (int i = 0; i < sizes[g]; ++i)
                AcqSkill(m[g].emplace_back(), k + 10 * i);
        }
    }

    void Chara(int k)
    {
        cChara& c = want_;
        Int(c.m_nUnedited1, k + 1);
        Int(c.m_bRandomName, k + 2);
        Int(c.m_nRandomNameFile, k + 3, 88);
        Int(c.m_nUnedited2, k + 4);
        Int(c.m_nUnedited3, k + 5);
        Int(c.m_nClass, k + 6);
        Int(c.m_nLevel, k + 7);
        Int(c.m_nLevelLimit, k + 8);
        Int(c.m_nUnedited4, k + 9);
        Ints(c.m_InitialStats, k + 100);
        Ints(c.m_FinalStats, k + 110);
        Ints(c.m_GameInitial, k + 120);
        Ints(c.m_GameFinal, k + 130);
        Ints(c.m_RandomGrowth1, k + 140);
        Ints(c.m_RandomGrowth2, k + 150, 73);
        Ints(c.m_Grows, k + 160);
        Int(c.m_bRandomGrowth, k + 17);
        Int(c.m_bRandomSense, k + 18, 214);
        Int(c.m_bRandomSkill, k + 19);
        Int(c.m_nGrowthTiming, -(k + 20), 70);
        Int(c.m_nSenseStamp, k + 21, 232);
        if (v_ >= 4)
            for (int i = 0; i < kStatCount; ++i) {
                Int(c.m_Params[i].m_nStat, i);
                Int(c.m_Params[i].m_nValue, k + 220 + i);
                Int(c.m_Params[i].m_nValue2, k + 230 + i);
            }
        const std::pair<int32_t*, uint32_t> unedited[] = {
            {&c.m_nUnedited5, 0},  {&c.m_nUnedited6, 96},  {&c.m_nUnedited7, 96},  {&c.m_nUnedited8, 96},
            {&c.m_nUnedited9, 0},  {&c.m_nUnedited10, 0},  {&c.m_nUnedited11, 0},  {&c.m_nUnedited12, 0},
            {&c.m_nUnedited13, 45}, {&c.m_nUnedited14, 0}, {&c.m_nUnedited15, 52}, {&c.m_nUnedited16, 52},
            {&c.m_nUnedited17, 0}, {&c.m_nUnedited18, 0},  {&c.m_nUnedited19, 0}};
        for (int n = 0; n < 15; ++n)
            Int(*unedited[n].first, k + 23 + n, unedited[n].second);
        Int(c.m_nCompatiType, k + 38, 99);
        Int(c.m_bFixedExp, k + 39, 34);
        Int(c.m_nFixedExp, k + 40, 34);
        Int(c.m_nRewardPartyVal, k + 41, 86);
        Int(c.m_nReward, k + 42, 86);
        Ints(c.m_AcqSkillRefs, k + 430);
        Str(c.m_Name, SJ("アレン") + std::to_string(k));
        Str(c.m_Description, SJ("勇敢な剣士。"));
        for (int i = 0; i < kStatCount; ++i)
            Vec(c.m_LevelValues[i], {k + 510 + i, i});
        if (v_ >= 69)
            for (int i = 0; i < kStatCount; ++i)
                Vec(c.m_LevelGrowth[i], {k + 520 + i});
        VecVec(c.m_Senses, {{k + 53, 2, 3}, {4}});
        VecVec(c.m_ClassSenses, {{k + 54}, {}}, 231);
        VecVec(c.m_OwnSenses, {{k + 55, 1}}, 231);
        AcqSets(c.m_AcqSkills1, {2, 0, 1}, k + 560);
        AcqSets(c.m_AcqSkills2, {0, 1}, k + 570);
        b.u32(2);
        c.m_LearnSkills.clear();
        for (int i = 0; i < 2; ++i) {
            cLearnSkill& s = c.m_LearnSkills.emplace_back();
            Int(s.m_nSkillList, k + 580 + i);
            Int(s.m_nSkill, k + 590 + i);
            Int(s.m_nLevel, k + 600 + i);
        }
    }

    Bytes b;

private:
    uint32_t v_;
    cChara& want_;
};

std::vector<uint8_t> FriendFile(uint32_t v, cFriend& want, int k)
{
    CharaWriter w(v, want);
    w.Chara(k);
    w.Int(want.m_nUneditedF1, k + 61);
    w.Int(want.m_nUneditedF2, k + 62);
    w.Int(want.m_bShopFromStart, k + 63);
    w.Int(want.m_bHireAgain, k + 64);
    w.Int(want.m_bNoDismiss, k + 65);
    w.Int(want.m_bRegenerate, 0, 121);
    return w.b.data;
}

std::vector<uint8_t> EnemyFile(uint32_t v, cEnemy& want, int k)
{
    CharaWriter w(v, want);
    w.Chara(k);
    if (v == 33)
        w.b.i32(0x33333333);
    w.Int(want.m_nUneditedE1, k + 71, 51);
    int32_t training = 2;
    w.Int(training, 2);
    want.m_nTraining = EnemyTraining::Never;
    // The AI records' own layouts are pinned by their tests: one of each at the
    // current version, none in older files.
    want.m_MoveAI.clear();
    want.m_BattleAI.clear();
    if (v != kDataVersion) {
        w.b.u32(0).u32(0);
        return w.b.data;
    }
    cMoveAI& move = want.m_MoveAI.emplace_back();
    move.m_nTarget = MoveAITarget::NearestEnemy;
    move.m_nSkill = k + 72;
    cBattleAI& battle = want.m_BattleAI.emplace_back();
    battle.m_nPriorityValue = k + 73;
    battle.m_Conds.emplace_back().m_nValue = k + 74;
    for (cSerial* list : {static_cast<cSerial*>(&move), static_cast<cSerial*>(&battle)}) {
        w.b.u32(1);
        std::vector<uint8_t> body = WriteBody(*list);
        w.b.raw(body.data(), body.size());
    }
    return w.b.data;
}

// The project's class table and table sizes, installed for one test.
class ScopedDatabase {
public:
    ScopedDatabase()
    {
        tables.Size(Table::SkillList, 2).Size(Table::PartyVal, 3).Size(Table::CompatiType, 2);
        tables.source.categoryCounts = {3, 2};
        tables.source.skillCount = 3;
        classes.resize(3);
        cClass& c = classes[1];
        c.m_nLevelLimit = 30;
        for (int i = 0; i < kStatCount; ++i) {
            c.m_InitialStats[i] = 10 + i;
            c.m_FinalStats[i] = i % 2 ? 0 : 100 + i;
        }
        c.m_Senses = {{4, 5, 6}, {7}};
        classes[2].m_nLevelLimit = 0;
        old_ = SetCharaContext(&context);
    }
    ~ScopedDatabase() { SetCharaContext(old_); }

    ScopedTables tables;
    RecordList<cClass> classes;
    ClassTableContext context{&classes};

private:
    const CharaContext* old_;
};

// Runs fn with no class table installed.
template <class Fn>
void WithoutDatabase(Fn&& fn)
{
    const CharaContext* old = SetCharaContext(nullptr);
    fn();
    SetCharaContext(old);
}

}  // namespace

TEST(CharaRecord, LayoutAt340)
{
    cFriend wantFriend;
    std::vector<uint8_t> bytes = FriendFile(340, wantFriend, 1000);
    cFriend f;
    EXPECT_EQ(ReadBody(f, bytes, 340), bytes.size());
    EXPECT_TRUE(f.Equals(wantFriend)) << "a member is read at the wrong place";
    EXPECT_EQ(WriteBody(f), bytes);

    cEnemy wantEnemy;
    bytes = EnemyFile(340, wantEnemy, 2000);
    cEnemy e;
    EXPECT_EQ(ReadBody(e, bytes, 340), bytes.size());
    EXPECT_TRUE(e.Equals(wantEnemy));
    EXPECT_EQ(WriteBody(e), bytes);
}

TEST(CharaRecord, VersionGatesAndOldFileRepairs)
{
    for (uint32_t v : {0u,   3u,   4u,   32u,  33u,  34u,  44u,  45u,  50u,  51u,  52u,  68u,  69u,  70u,  72u,
                       73u,  85u,  86u,  87u,  88u,  95u,  96u,  98u,  99u,  103u, 104u, 120u, 121u, 213u, 214u,
                       230u, 231u, 232u, 339u}) {
        SCOPED_TRACE(v);
        cFriend priorFriend;
        priorFriend.m_nSenseStamp = 77;
        priorFriend.m_bRandomSense = 0;
        cFriend wantFriend;
        wantFriend.CopyFrom(priorFriend);
        std::vector<uint8_t> bytes = FriendFile(v, wantFriend, 0);
        // The shop regenerated after every stage before that was a choice; random
        // skill learning raised the senses too; personal senses are worked out anew.
        if (v < 121)
            wantFriend.m_bRegenerate = 1;
        if (v < 214)
            wantFriend.m_bRandomSense = 1;
        if (v < 232)
            wantFriend.m_nSenseStamp = 0;
        cFriend f;
        f.CopyFrom(priorFriend);
        EXPECT_EQ(ReadBody(f, bytes, v), bytes.size());
        EXPECT_TRUE(f.Equals(wantFriend));
        EXPECT_EQ(f.m_bRegenerate, v < 121 ? 1 : 0);
        EXPECT_EQ(f.m_nSenseStamp, v < 232 ? 0 : 21);

        cEnemy wantEnemy;
        bytes = EnemyFile(v, wantEnemy, 0);  // 4 more bytes at version 33
        if (v < 104)
            wantEnemy.m_nTraining = EnemyTraining::AfterDefeat;
        cEnemy e;
        EXPECT_EQ(ReadBody(e, bytes, v), bytes.size());
        EXPECT_TRUE(e.Equals(wantEnemy));
        EXPECT_EQ(e.m_nSenseStamp, v < 232 ? 0 : 21) << "enemies keep what the file lacks";
    }
}

TEST(CharaRecord, VectorOfListsInJsonCopyAndCompare)
{
    cFriend source;
    FriendFile(340, source, 0);
    Json json = source.ToJson();
    ASSERT_TRUE(json["acqSkills1"].is_array());
    EXPECT_EQ(json["acqSkills1"].size(), 3u);
    EXPECT_EQ(json["acqSkills1"][0].size(), 2u);
    EXPECT_TRUE(json["acqSkills1"][1].is_array() && json["acqSkills1"][1].empty());
    EXPECT_EQ(json["acqSkills1"][2][0]["slot"]["emptySymbol"], 566);

    cFriend back;
    std::string error;
    ASSERT_TRUE(back.FromJson(json, error)) << error;
    EXPECT_TRUE(back.Equals(source));

    for (Json bad : {Json::array({Json::object()}), Json(3), Json::array({Json::array({1})})}) {
        Json broken = json;
        broken["acqSkills2"] = bad;
        EXPECT_FALSE(cFriend().FromJson(broken, error)) << bad.dump();
    }

    const std::vector<std::function<void(cChara&)>> changes = {
        [](cChara& c) { c.m_AcqSkills1[2][0].m_Slot.m_AcqConds[0].m_nCategory = 0; },
        [](cChara& c) { c.m_AcqSkills2[1].clear(); },
        [](cChara& c) { c.m_AcqSkills2.pop_back(); },
        [](cChara& c) { c.m_Params[8].m_nValue2 = 0; },
        [](cChara& c) { c.m_LevelGrowth[8].push_back(0); },
        [](cChara& c) { c.m_OwnSenses[0].clear(); },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        cFriend copy;
        ASSERT_TRUE(copy.CopyFrom(source));
        EXPECT_TRUE(copy.Equals(source));
        changes[i](copy);
        EXPECT_FALSE(copy.Equals(source)) << "change " << i;
    }
}

TEST(CharaRecord, NewEntries)
{
    cFriend f;
    FriendFile(340, f, 0);  // dirty it everywhere
    f.ResetToNew();
    cFriend newFriend;
    newFriend.Init();
    newFriend.m_nClass = 1;
    newFriend.m_nLevel = 1;
    newFriend.m_nRewardPartyVal = 1;
    for (int i = 0; i < kStatCount; ++i)
        newFriend.m_Params[i].m_nStat = i;
    newFriend.m_bRandomName = 1;
    newFriend.m_bRandomGrowth = 1;
    newFriend.m_bRandomSkill = 1;
    newFriend.m_bShopFromStart = 1;
    newFriend.m_bHireAgain = 1;
    newFriend.m_bRegenerate = 1;
    EXPECT_TRUE(f.Equals(newFriend));
    EXPECT_TRUE(cFriend().Equals(newFriend));

    cEnemy e;
    EnemyFile(340, e, 0);
    e.ResetToNew();
    EXPECT_EQ(e.m_nUnedited2, 1);
    EXPECT_EQ(e.m_bRandomGrowth, 0);
    EXPECT_EQ(e.m_bRandomSkill, 0);
    EXPECT_EQ(e.m_bRandomName, 0);
    EXPECT_EQ(e.m_nClass, 1);
    EXPECT_TRUE(e.m_Name.empty() && e.m_AcqSkills1.empty() && e.m_LearnSkills.empty() && e.m_MoveAI.empty());
    ASSERT_EQ(e.m_BattleAI.size(), 1);
    EXPECT_TRUE(e.m_BattleAI[0].Equals(cBattleAI()));

    NoDefaultBattleAI = true;
    EXPECT_TRUE(cEnemy().m_BattleAI.empty());
    NoDefaultBattleAI = false;

    // Under a class table a new entry is resolved against class 1.
    ScopedDatabase db;
    cFriend newAlly;
    cEnemy newEnemy;
    for (cChara* c : {static_cast<cChara*>(&newAlly), static_cast<cChara*>(&newEnemy)}) {
        EXPECT_EQ(c->m_nLevelLimit, 30);
        EXPECT_EQ(c->m_LevelValues[8], std::vector<int32_t>(30, 0));
        EXPECT_EQ(c->m_GameInitial[3], 13);
        EXPECT_EQ(c->m_Params[3].m_nValue, 13);
        EXPECT_EQ(c->m_Senses, (Senses{{4, 5, 6}, {7, 0}}));
        EXPECT_EQ(c->m_ClassSenses, c->m_Senses);
        EXPECT_EQ(c->m_OwnSenses, (Senses{{0, 0, 0}, {0, 0}}));
        EXPECT_EQ(c->m_nSenseStamp, 0);
    }
}

TEST(CharaRecord, ResolvedAgainstItsClassOnLoadAndSave)
{
    ScopedDatabase db;
    for (bool viaLoad : {true, false}) {
        SCOPED_TRACE(viaLoad ? "load" : "save");
        cFriend f;
        WithoutDatabase([&] { FriendFile(340, f, 0); });
        f.m_nClass = 1;
        f.m_nLevel = 40;
        f.m_InitialStats = {50, 50, 0, 0, 0, 0, 0, 0, 0};
        f.m_FinalStats = {500, 0, 999, 999, 0, 0, 0, 0, 0};
        f.m_LevelGrowth[2] = {5};
        f.m_nRewardPartyVal = 3;
        f.m_nCompatiType = 2;
        if (viaLoad) {
            std::vector<uint8_t> bytes;
            WithoutDatabase([&] { bytes = WriteBody(f); });
            f = cFriend();
            ReadBody(f, bytes, 340);
        } else {
            WriteBody(f);
        }
        // Own values grow to their own final value or not at all; stats taken
        // from the class grow as the class's do (its final values are 0 at odd stats).
        EXPECT_EQ(f.m_GameInitial, (std::array<int32_t, 9>{50, 50, 12, 13, 14, 15, 16, 17, 18}));
        EXPECT_EQ(f.m_GameFinal, (std::array<int32_t, 9>{500, 50, 102, 13, 104, 15, 106, 17, 108}));
        EXPECT_EQ(f.m_Grows, (std::array<int32_t, 9>{1, 0, 1, 0, 1, 0, 1, 0, 1}));
        EXPECT_EQ(f.m_nLevelLimit, 30);
        EXPECT_EQ(f.m_nLevel, 30);
        EXPECT_EQ(f.m_LevelValues[0].size(), 30u);
        EXPECT_EQ(f.m_LevelValues[0][0], 510) << "kept, only resized";
        std::vector<int32_t> growth(30, 0);
        growth[0] = 5;
        EXPECT_EQ(f.m_LevelGrowth[2], growth);
        // Stat parameters: the effective initial value plus the first random growth value.
        EXPECT_EQ(f.m_Params[2].m_nValue, 12 + 5);
        EXPECT_EQ(f.m_Params[2].m_nValue2, 12 + 5);
        EXPECT_EQ(f.m_Params[0].m_nValue, 50 + 520);
        EXPECT_EQ(f.m_nRewardPartyVal, 1);
        EXPECT_EQ(f.m_nCompatiType, 0);
    }

    // Class numbers: the class count itself is saved as 1; a class limit of 0 is 1.
    struct Case {
        int32_t cls, level, wantClass, wantLimit, wantLevel;
    };
    for (const Case& c : {Case{3, 5, 1, 30, 5}, Case{2, 5, 2, 1, 1}, Case{0, 40, 0, 30, 30}}) {
        cEnemy e;
        e.m_nClass = c.cls;
        e.m_nLevel = c.level;
        WriteBody(e);
        EXPECT_EQ(e.m_nClass, c.wantClass);
        EXPECT_EQ(e.m_nLevelLimit, c.wantLimit);
        EXPECT_EQ(e.m_nLevel, c.wantLevel);
    }
}

TEST(CharaRecord, SenseTablesFollowTheStampAndTheSkillTables)
{
    ScopedDatabase db;
    struct Case {
        int32_t stamp;
        Senses senses, own;
        Senses wantSenses, wantOwn;
        int32_t wantStamp;
    };
    // Class 1 holds {{4, 5, 6}, {7}}; the skill tables have 3 and 2 categories.
    // The stamp is never raised by the recomputation.
    const Case cases[] = {
        // Old tables: the personal additions are worked out from the effective table.
        {0, {{5, 5, 9}, {7, 1}}, {}, {{5, 5, 9}, {7, 1}}, {{1, 0, 3}, {0, 1}}, 0},
        {231, {{5, 5, 9, 9}, {7, 1}, {3}}, {{9}}, {{5, 5, 9}, {7, 1}}, {{1, 0, 3}, {0, 1}}, 231},
        // From 232 on the effective table follows the class plus the additions.
        {232, {{0, 0, 0}, {0, 0}}, {{1, 0, 3}, {0, 1}}, {{5, 5, 9}, {7, 1}}, {{1, 0, 3}, {0, 1}}, 232},
        {300, {}, {{-4, 2}}, {{0, 7, 6}, {7, 0}}, {{-4, 2, 0}, {0, 0}}, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stamp);
        cEnemy e;
        e.m_nClass = 1;
        e.m_nSenseStamp = c.stamp;
        e.m_Senses = c.senses;
        e.m_OwnSenses = c.own;
        e.m_ClassSenses = {{1}};
        WriteBody(e);
        EXPECT_EQ(e.m_Senses, c.wantSenses);
        EXPECT_EQ(e.m_ClassSenses, (Senses{{4, 5, 6}, {7, 0}}));
        EXPECT_EQ(e.m_OwnSenses, c.wantOwn);
        EXPECT_EQ(e.m_nSenseStamp, c.wantStamp);

        // The class changes its senses: an old stamp keeps the effective table
        // (the additions follow), a current one keeps the additions.
        db.classes[1].m_Senses = {{5, 6, 7}, {8}};
        WriteBody(e);
        db.classes[1].m_Senses = {{4, 5, 6}, {7}};
        if (c.stamp < 232) {
            EXPECT_EQ(e.m_Senses, c.wantSenses);
            EXPECT_EQ(e.m_OwnSenses, (Senses{{0, -1, 2}, {-1, 1}}));
        } else {
            EXPECT_EQ(e.m_OwnSenses, c.wantOwn);
            EXPECT_EQ(e.m_ClassSenses, (Senses{{5, 6, 7}, {8, 0}}));
        }
    }
}

TEST(CharaRecord, SkillReferencesClampedToTheTables)
{
    ScopedDatabase db;  // 2 skill groups of 3 skills each
    cFriend f;
    WithoutDatabase([&] { FriendFile(340, f, 0); });
    auto acq = [](int32_t skill) {
        cAcqSkill s;
        s.m_nSkillNo = skill;
        s.m_nUnedited1 = 9;
        return s;
    };
    f.m_AcqSkills1 = {RecordList<cAcqSkill>{acq(0), acq(3)}, RecordList<cAcqSkill>{acq(2)}};
    f.m_AcqSkills2 = {RecordList<cAcqSkill>{acq(4), acq(1)}, RecordList<cAcqSkill>{}};
    f.m_LearnSkills.resize(4);
    for (int i = 0; i < 4; ++i)
        f.m_LearnSkills[i].m_nSkillList = std::array{0, 2, 1, 5}[i];
    f.m_AcqSkillRefs = {0, 1, 2, 1, 1, 1};
    WriteBody(f);

    // The first set resets an entry naming a missing skill, the second drops it.
    EXPECT_TRUE(f.m_AcqSkills1[0][1].Equals(cAcqSkill()));
    EXPECT_EQ(f.m_AcqSkills1[1][0].m_nUnedited1, 9);
    ASSERT_EQ(f.m_AcqSkills2[0].size(), 1);
    EXPECT_EQ(f.m_AcqSkills2[0][0].m_nSkillNo, 1);
    ASSERT_EQ(f.m_LearnSkills.size(), 2);
    EXPECT_EQ(f.m_LearnSkills[1].m_nSkillList, 1);
    // A group beyond the first set becomes 0; then an entry beyond its list becomes 0.
    EXPECT_EQ(f.m_AcqSkillRefs, (std::array<int32_t, 6>{0, 1, 0, 1, 1, 0}));
}

TEST(CharaRecord, SmallOrMissingTables)
{
    cFriend stored;
    FriendFile(340, stored, 0);  // class 6, party value 41, compatibility type 38
    const std::vector<uint8_t> bytes = WriteBody(stored);

    // No class table, or an empty one: nothing is touched, whatever else is known.
    for (int classes : {-1, 0}) {
        ScopedDatabase db;
        if (classes < 0)
            SetCharaContext(nullptr);
        else
            db.classes.clear();
        cFriend f;
        ReadBody(f, bytes, 340);
        EXPECT_TRUE(f.Equals(stored));
        EXPECT_EQ(WriteBody(f), bytes);
    }

    // A table of one class: class 1 is still beyond it, so the values that come
    // from the class stay; the other references are clamped all the same.
    ScopedDatabase db;
    db.classes.resize(1);
    cFriend f;
    ReadBody(f, bytes, 340);
    EXPECT_EQ(f.m_nClass, 1);
    EXPECT_EQ(f.m_nLevelLimit, stored.m_nLevelLimit);
    EXPECT_EQ(f.m_GameInitial, stored.m_GameInitial);
    EXPECT_EQ(f.m_nRewardPartyVal, 1);
    EXPECT_EQ(f.m_nCompatiType, 0);
    EXPECT_EQ(f.m_Params[0].m_nValue, stored.m_GameInitial[0] + stored.m_LevelGrowth[0][0]);
}

TEST(CharaRecord, OldEnemyFilesKeepTheirOwnSenses)
{
    // Files before the personal table existed hold only the effective senses; with
    // a class table installed they must survive the load, as for allies.
    ScopedDatabase db;
    for (uint32_t v : {230u, 231u}) {
        SCOPED_TRACE(v);
        cEnemy file;
        std::vector<uint8_t> bytes = EnemyFile(v, file, 0);
        cEnemy e;
        ReadBody(e, bytes, v);
        ASSERT_EQ(e.m_nClass, 1);
        EXPECT_EQ(e.m_Senses, (Senses{{53, 2, 3}, {4, 0}}));
        EXPECT_EQ(e.m_OwnSenses, (Senses{{49, -3, -3}, {-3, 0}}));
    }
}
