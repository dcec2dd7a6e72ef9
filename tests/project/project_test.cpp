#include "project/project.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "base/text.h"
#include "events/action_kinds.h"
#include "project/default_project.h"
#include "tests/test_util.h"

namespace fs = std::filesystem;

namespace {

// A starter project in a fresh current directory, loaded (or not) by the test.
class ProjectTest : public ::testing::Test {
protected:
    // The starter project (without images) is written once and copied for each test.
    static void SetUpTestSuite()
    {
        starter_ = new TempDir;
        WriteDefaultProject(starter_->Path().string(), false);
        ResetProject();
    }
    static void TearDownTestSuite()
    {
        delete starter_;
        starter_ = nullptr;
    }
    void SetUp() override
    {
        ResetProject();
        fs::copy(starter_->Path(), dir_.Path(), fs::copy_options::recursive);
    }
    void TearDown() override
    {
        SetTableSource(nullptr);
        SetCharaContext(nullptr);
        ResetProject();
        CurrentVersion = kDataVersion;
    }

    int Load()
    {
        ProjectLoadOptions options;
        options.images = false;
        return LoadProject(options);
    }

    // A file header claiming the version, with the rest of the file kept.
    static void SetVersion(const std::string& path, uint32_t version)
    {
        std::vector<uint8_t> bytes = ReadFile(path);
        std::memcpy(bytes.data(), &version, 4);
        WriteFile(path, bytes);
    }

    // Rewrites the system record as an editor of that version would have.
    static void SaveSystemAs(uint32_t version)
    {
        cSystem system;
        ASSERT_EQ(system.LoadFile("data\\database\\System.dat"), 1);
        CurrentVersion = version;
        ASSERT_EQ(system.SaveFile("data\\database\\System.dat"), 1);
        CurrentVersion = kDataVersion;
    }

    static TempDir* starter_;
    TempDir dir_;
};

TempDir* ProjectTest::starter_ = nullptr;

const std::string kMissing = "%s の読み込みに失敗しました！\nこのファイルが存在しない場合は「default」フォルダから「data」フォルダへ同名のファイルをコピーして下さい。";
const std::string kTooNew = "%s の読み込みに失敗しました！\n実行ファイル(.exe)より上位のバージョンのファイルは使用できません。";

}  // namespace

TEST_F(ProjectTest, StarterProjectLoadsWithItsImages)
{
    ASSERT_EQ(WriteDefaultProject(dir_.Path().string()), 1);
    RecordingSink sink;
    EXPECT_EQ(LoadProject(), 1);
    EXPECT_TRUE(sink.texts.empty());
    Project& p = TheProject();
    EXPECT_EQ(p.m_GlobalVariables.size(), kGlobalVariableCount);
    EXPECT_EQ(p.m_Lands.size(), 8);
    EXPECT_EQ(p.m_EventPalette[0].m_Name, SJ("デフォルト"));
    EXPECT_EQ(p.m_Stage.m_nWidth, 20);  // the template
    EXPECT_EQ(p.m_SkillLists[1].m_nGroupNo, 1);
    EXPECT_EQ(p.m_SkillLists[1].m_Skills[1].m_nSkillNo, 1);
    EXPECT_EQ(TableSize(Table::Land), 8);
    EXPECT_EQ(TableName(Table::GlobalVariable, 1), SJ("お金"));

    // Allies, enemies and the system record are real records; the tables they
    // hold answer from them.
    EXPECT_EQ(p.m_System.m_GameName, SJ("ヴァントール戦記"));
    struct Size { Table table; int size; int index; const char* name; } sizes[] = {
        {Table::Friend, 5, 4, "リーナ"}, {Table::Enemy, 5, 3, "山賊の頭"}, {Table::Element, 2, 1, "魔法"},
        {Table::Category, 1, 0, "基本"}, {Table::ParamInfo, 12, 11, "移動力"},
    };
    for (const Size& row : sizes) {
        EXPECT_EQ(TableSize(row.table), row.size) << row.name;
        EXPECT_EQ(TableName(row.table, row.index), Utf8ToCp932(row.name));
    }
    // Every character names a class and skills that exist, at a level its class allows.
    for (const cChara* c : {static_cast<const cChara*>(&p.m_Friends[4]), static_cast<const cChara*>(&p.m_Enemies[3])}) {
        EXPECT_LT(c->m_nClass, p.m_Classes.size());
        EXPECT_LE(c->m_nLevel, c->m_nLevelLimit);
        EXPECT_EQ(c->m_GameInitial, p.m_Classes[c->m_nClass].m_InitialStats);
        for (const cLearnSkill& l : c->m_LearnSkills)
            EXPECT_FALSE(SkillName(l.m_nSkillList, l.m_nSkill).empty());
    }
    // The placeholder images are keyed with the system record's colour.
    EXPECT_EQ(ColorKey(), kDefaultColorKey);
    EXPECT_EQ(SystemColorKey(p.m_System), kDefaultColorKey);

    // The remembered stage opens over the template; a broken path is forgotten.
    p.m_EditConfig.m_StagePath = "data\\stg\\Stage01.stg2";
    OpenRememberedStage();
    EXPECT_EQ(p.m_Stage.m_Name, SJ("はじまりの草原"));
    ASSERT_EQ(p.m_Stage.m_PutEnemy.size(), 5);
    EXPECT_EQ(p.m_Stage.m_PutEnemy[2].m_nEnemy, 3);  // the fort's enemy survives the clamping
    p.m_EditConfig.m_StagePath = "data\\stg\\Gone.stg2";
    OpenRememberedStage();
    EXPECT_EQ(p.m_Stage.m_Name, SJ("ステージ"));
    EXPECT_EQ(p.m_EditConfig.m_StagePath, "");

    // "default" holds the same data as "data".
    EXPECT_EQ(ReadFile("default/database/Class.dat"), ReadFile("data/database/Class.dat"));
    EXPECT_TRUE(fs::exists("e_image/ToolBar_Palette.bmp"));
    EXPECT_TRUE(fs::exists("e_image/ToolBar_TestPlay.bmp"));
}

// Index 0 of these tables means "none" where the data refer to them: the
// starter project keeps a placeholder there and refers only to real records.
TEST_F(ProjectTest, StarterProjectKeepsIndexZeroForNone)
{
    ASSERT_EQ(Load(), 1);
    Project& p = TheProject();
    const std::string none = SJ("なし");
    for (Table table : {Table::Friend, Table::Enemy, Table::Sound, Table::Bgm, Table::Picture, Table::CharaAnim,
                        Table::EffectAnim, Table::Back}) {
        EXPECT_EQ(TableName(table, 0), none) << static_cast<int>(table);
        EXPECT_GE(TableSize(table), 2) << static_cast<int>(table);
    }
    EXPECT_EQ(p.m_Friends[0].m_bShopFromStart, 0) << "the placeholder is not for hire";
    EXPECT_EQ(TableName(Table::Sound, 1), SJ("決定"));
    EXPECT_EQ(TableName(Table::Friend, 1), SJ("アレス"));
    EXPECT_EQ(TableName(Table::Enemy, 1), SJ("盗賊"));

    ASSERT_EQ(p.m_Stage.LoadFile("data\\stg\\Stage01.stg2"), 1);
    for (const cPutEnemy& e : p.m_Stage.m_PutEnemy)
        EXPECT_NE(e.m_nEnemy, 0);
    for (int g = 0; g < p.m_SkillLists.size(); ++g) {
        const RecordList<cSkill>& skills = p.m_SkillLists[g].m_Skills;
        ASSERT_GE(skills.size(), 2) << g;
        EXPECT_EQ(skills[0].m_Name, none) << g;
        for (int s = 1; s < skills.size(); ++s) {
            EXPECT_NE(skills[s].m_nSound, 0) << skills[s].m_Name;
            EXPECT_NE(skills[s].m_nCharaAnim, 0) << skills[s].m_Name;
            EXPECT_NE(skills[s].m_nEffectAnim, 0) << skills[s].m_Name;
        }
    }
    for (const cClass& c : p.m_Classes)
        EXPECT_FALSE(SkillName(c.m_nAttackList, c.m_nAttackSkill).empty() || c.m_nAttackSkill == 0) << c.m_Name;
    EXPECT_EQ(SkillName(p.m_Classes[3].m_nAttackList, p.m_Classes[3].m_nAttackSkill), SJ("ファイア"));
    std::vector<const cChara*> charas;
    for (const cFriend& f : p.m_Friends)
        charas.push_back(&f);
    for (const cEnemy& e : p.m_Enemies)
        charas.push_back(&e);
    for (const cChara* c : charas)
        for (const cLearnSkill& l : c->m_LearnSkills)
            EXPECT_NE(l.m_nSkill, 0) << c->m_Name;
    EXPECT_EQ(SkillName(p.m_Friends[4].m_LearnSkills[1].m_nSkillList, p.m_Friends[4].m_LearnSkills[1].m_nSkill), SJ("ヒール"));

    // The start event holds only what the start event can make: "所持金の操作" +500.
    const RecordList<cEventAct>& start = p.m_StartEvent.m_Pages[0].m_Actions;
    ASSERT_EQ(start.size(), 1);
    EXPECT_TRUE(ActionKind(start[0].m_nKind).startEventAllowed);
    EXPECT_EQ(start[0].ListText(), SJ("所持金の操作 : +500"));
}

TEST_F(ProjectTest, CommonVariableNamesAlwaysThousand)
{
    for (int stored : {3, 1200}) {
        RecordList<cGValInfo> names;
        names.resize(stored);
        for (int i = 0; i < stored; ++i)
            names[i].m_Name = "v" + std::to_string(i);
        ASSERT_EQ(SaveListFile(names, "data\\GValInfo.dat"), 1);
        ResetProject();
        ASSERT_EQ(Load(), 1);
        RecordList<cGValInfo>& loaded = TheProject().m_GlobalVariables;
        ASSERT_EQ(loaded.size(), kGlobalVariableCount) << stored;
        EXPECT_EQ(loaded[2].m_Name, "v2");
        EXPECT_EQ(loaded[999].m_Name, stored > 999 ? "v999" : "");
        // Saved again, the count is 1000.
        ASSERT_EQ(SaveListFile(loaded, "data\\GValInfo.dat"), 1);
        EXPECT_EQ(ReadFile("data/GValInfo.dat")[4], 1000 % 256);
    }
}

TEST_F(ProjectTest, EventPaletteFallback)
{
    RecordingSink sink;
    fs::remove("data/EventPlt.dat");
    ASSERT_EQ(Load(), 1);
    ASSERT_EQ(TheProject().m_EventPalette.size(), 1);
    EXPECT_EQ(TheProject().m_EventPalette[0].m_Name, SJ("デフォルト"));

    // An older project's palette under "data\plt" takes its place, whatever its length.
    RecordList<cEvent> old;
    for (const char* name : {"a", "b", "c"})
        old.emplace_back().m_Name = name;
    ASSERT_EQ(SaveListFile(old, "data\\plt\\default.plt"), 1);
    ResetProject();
    ASSERT_EQ(Load(), 1);
    ASSERT_EQ(TheProject().m_EventPalette.size(), 3);
    EXPECT_EQ(TheProject().m_EventPalette[2].m_Name, "c");
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(ProjectTest, FirstFailureIsReportedAndEndsTheLoad)
{
    struct Case {
        const char* file;     // host path
        const char* stored;   // the path the message names
        bool newer;           // a newer version instead of a missing file
    } cases[] = {
        {"data/GValInfo.dat", "data\\GValInfo.dat", false},
        {"data/database/PartyVal.dat", "data\\database\\PartyVal.dat", true},
        {"data/database/Help.dat", "data\\database\\Help.dat", false},
        {"data/database/System.dat", "data\\database\\System.dat", true},
        {"data/database/System.dat", "data\\database\\System.dat", false},
        {"data/database/Land.dat", "data\\database\\Land.dat", false},
        {"data/database/Skill.dat", "data\\database\\Skill.dat", true},
        {"data/database/Class.dat", "data\\database\\Class.dat", true},
        {"data/database/Friend.dat", "data\\database\\Friend.dat", false},
        {"data/database/Friend.dat", "data\\database\\Friend.dat", true},
        {"data/database/Enemy.dat", "data\\database\\Enemy.dat", false},
        {"data/database/Enemy.dat", "data\\database\\Enemy.dat", true},
        {"data/MoveAITemplate.dat", "data\\MoveAITemplate.dat", false},
        // Files that may be missing still stop the load when a newer editor wrote
        // them: the defaults put in their place would be saved over them.
        {"e_data/Testplay.dat", "e_data\\Testplay.dat", true},
        {"data/EventPlt.dat", "data\\EventPlt.dat", true},
        {"data/EventActionPlt.dat", "data\\EventActionPlt.dat", true},
        {"data/database/WorldMap.dat", "data\\database\\WorldMap.dat", false},
        {"data/database/StartEvent.dat", "data\\database\\StartEvent.dat", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::vector<uint8_t> kept = ReadFile(c.file);
        if (c.newer)
            SetVersion(c.file, kDataVersion + 1);
        else
            fs::remove(c.file);
        ResetProject();
        RecordingSink sink;
        EXPECT_EQ(Load(), 0);
        ASSERT_EQ(sink.texts.size(), 1u);
        EXPECT_EQ(sink.texts[0], StrPrintf(Utf8ToCp932(c.newer ? kTooNew : kMissing).c_str(), c.stored));
        EXPECT_EQ(sink.titles[0], SJ("エラー"));
        // Nothing after the failed file was read: the action palette comes late.
        bool afterActionPalette = c.stored == std::string("data\\database\\WorldMap.dat") ||
                                  c.stored == std::string("data\\database\\StartEvent.dat");
        EXPECT_EQ(TheProject().m_ActionPalette.empty(), !afterActionPalette);
        // Allies come before enemies and after the classes.
        bool isFriend = c.stored == std::string("data\\database\\Friend.dat");
        if (isFriend) {
            EXPECT_FALSE(TheProject().m_Classes.empty());
            EXPECT_TRUE(TheProject().m_Enemies.empty());
        }
        WriteFile(c.file, kept);
    }
}

TEST_F(ProjectTest, TestPlaySettingsTakenOverFromOldEditorSettings)
{
    fs::remove("e_data/Testplay.dat");
    for (uint32_t systemVersion : {220u, 221u, 340u}) {
        SaveSystemAs(systemVersion);
        ResetProject();
        Project& p = TheProject();
        p.m_EditConfig.m_nOldTestPlayMode = 0;
        p.m_EditConfig.m_OldGamePath = "game\\Game.exe";
        p.m_TestPlay.m_nSkillLevel = 3;
        ASSERT_EQ(Load(), 1);
        if (systemVersion < 221) {
            EXPECT_EQ(p.m_TestPlay.m_GamePath, "game\\Game.exe");
            EXPECT_EQ(p.m_TestPlay.m_bAutoFind, 0);
            EXPECT_EQ(p.m_TestPlay.m_nTraining, 2);
            EXPECT_EQ(p.m_TestPlay.m_nSkillLevel, 0);
        } else {
            EXPECT_EQ(p.m_TestPlay.m_GamePath, "") << systemVersion;
            EXPECT_EQ(p.m_TestPlay.m_nSkillLevel, 3) << systemVersion;
        }
    }
}

TEST_F(ProjectTest, LearningClassesBeyondTheClassTable)
{
    ASSERT_EQ(Load(), 1);
    Project& p = TheProject();
    p.m_SkillLists[0].m_Skills[0].m_nLearnClass = 4;  // four classes
    p.m_SkillLists[0].m_Skills[1].m_nLearnClass = 3;
    p.m_Database.m_Helps[0].m_Heading = "new";
    ASSERT_EQ(SaveDatabaseFiles(), 1);
    EXPECT_EQ(p.m_SkillLists[0].m_Skills[0].m_nLearnClass, 0);
    EXPECT_EQ(p.m_SkillLists[0].m_Skills[1].m_nLearnClass, 3);
    ResetProject();
    ASSERT_EQ(Load(), 1);
    EXPECT_EQ(TheProject().m_Database.m_Helps[0].m_Heading, "new");
}

TEST_F(ProjectTest, UpgradeOfAnOldProject)
{
    // Files as older editors left them: a stage of 130 (before the world map's
    // own extras were in use), a world map of 120, common-variable names of 50
    // and a movement-AI list of 340 whose header is kept old.
    ASSERT_EQ(Load(), 1);
    cStage stage;
    ASSERT_EQ(stage.LoadFile("data\\stg\\Stage01.stg2"), 1);
    cWorldMap world;
    ASSERT_EQ(world.LoadFile("data\\database\\WorldMap.dat"), 1);
    CurrentVersion = 130;
    ASSERT_EQ(stage.SaveFile("data\\stg\\Stage01.stg2"), 1);
    CurrentVersion = 120;
    ASSERT_EQ(world.SaveFile("data\\database\\WorldMap.dat"), 1);
    CurrentVersion = 50;
    ASSERT_EQ(SaveListFile(TheProject().m_GlobalVariables, "data\\GValInfo.dat"), 1);
    CurrentVersion = kDataVersion;
    fs::remove("e_data/Testplay.dat");
    SaveSystemAs(200);

    ResetProject();
    ASSERT_EQ(Load(), 1);
    ASSERT_EQ(UpgradeProjectFiles(), 1);
    for (const char* path : {"data/stg/Stage01.stg2", "data/stg/Default.stg2", "data/database/WorldMap.dat",
                             "data/GValInfo.dat", "e_data/Testplay.dat", "data/database/Class.dat", "data/database/Friend.dat",
                             "data/database/Enemy.dat", "data/database/System.dat"}) {
        std::vector<uint8_t> bytes = ReadFile(path);
        ASSERT_GE(bytes.size(), 4u) << path;
        uint32_t version;
        std::memcpy(&version, bytes.data(), 4);
        EXPECT_EQ(version, kDataVersion) << path;
    }
    ResetProject();
    ASSERT_EQ(Load(), 1);
    cStage again;
    ASSERT_EQ(again.LoadFile("data\\stg\\Stage01.stg2"), 1);
    EXPECT_TRUE(again.Equals(stage));
    EXPECT_TRUE(TheProject().m_WorldMap.Equals(world));
    EXPECT_EQ(TheProject().m_GlobalVariables[10].m_Name, SJ("シナリオ進行度"));
    // The old project's test-play settings were taken over and are now a file.
    EXPECT_EQ(TheProject().m_TestPlay.m_nTraining, 2);
}

TEST_F(ProjectTest, CharactersAdjustedToTheLoadedClasses)
{
    // Files written where no class table was known keep what they were given.
    SetCharaContext(nullptr);
    RecordList<cFriend> friends;
    ASSERT_EQ(LoadListFile(friends, "data\\database\\Friend.dat"), 1);
    friends[0].m_nClass = 4;  // the number of classes
    friends[0].m_nLevel = 40;
    friends[1].m_nCompatiType = 7;
    ASSERT_EQ(SaveListFile(friends, "data\\database\\Friend.dat"), 1);
    RecordList<cFriend> unadjusted;
    ASSERT_EQ(LoadListFile(unadjusted, "data\\database\\Friend.dat"), 1);
    EXPECT_EQ(unadjusted[0].m_nClass, 4);

    // The project loads its characters against its classes.
    ASSERT_EQ(Load(), 1);
    Project& p = TheProject();
    const cFriend& f = p.m_Friends[0];
    EXPECT_EQ(f.m_nClass, 1);
    EXPECT_EQ(f.m_nLevelLimit, p.m_Classes[1].m_nLevelLimit);
    EXPECT_EQ(f.m_nLevel, f.m_nLevelLimit);
    EXPECT_EQ(f.m_GameInitial, p.m_Classes[1].m_InitialStats);
    EXPECT_EQ(p.m_Friends[1].m_nCompatiType, 0);
    EXPECT_EQ(p.m_Friends[1].m_Senses.size(), static_cast<std::size_t>(p.m_SkillLists.size()));
}

TEST_F(ProjectTest, SystemRecordKeysTheImagesAndIsSavedWithTheDatabase)
{
    ASSERT_EQ(Load(), 1);
    Project& p = TheProject();
    p.m_System.m_nColorR = 1;
    p.m_System.m_nColorG = 2;
    p.m_System.m_nColorB = 3;
    p.m_Friends[0].m_Name = "f";
    p.m_Enemies.emplace_back().m_Name = "e";
    ASSERT_EQ(SaveDatabase(), 1);
    SetColorKey(Rgb{});
    ResetProject();
    ASSERT_EQ(Load(), 1);
    EXPECT_EQ(ColorKey(), (Rgb{1, 2, 3}));
    EXPECT_EQ(TheProject().m_Friends[0].m_Name, "f");
    ASSERT_EQ(TheProject().m_Enemies.size(), 6);
    EXPECT_EQ(TheProject().m_Enemies[5].m_Name, "e");

    // The battle mode chosen at start-up goes into the record and its file.
    ASSERT_EQ(StoreBattleMode(1), 1);
    cSystem saved;
    ASSERT_EQ(saved.LoadFile("data\\database\\System.dat"), 1);
    EXPECT_EQ(saved.m_nBattleMode, 1);
    EXPECT_EQ(saved.m_bAutoBattle, 1);
    EXPECT_EQ(saved.m_nColorB, 3);
    SetColorKey(kDefaultColorKey);
}

TEST(RandomNames, NumberedFilesAndStrays)
{
    TempDir dir;
    for (const char* name : {"RandomName000_a.txt", "RandomName001_b.txt", "stray.txt", "RandomName003_c.TXT", "skip.dat"})
        WriteFile(std::string("data/random_name/") + name, {});
    LoadRandomNames();
    const auto& got = TheProject().m_RandomNames;
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0], "000 a.txt");
    EXPECT_EQ(got[1], "001 b.txt");
    EXPECT_EQ(got[2], SJ("！ファイルが不正です"));  // RandomName003_ at position 2
    EXPECT_EQ(got[3], SJ("！ファイルが不正です"));  // stray.txt
    ResetProject();
}
