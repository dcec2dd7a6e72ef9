// Start-up outcomes with questions answered by the test.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <deque>
#include <filesystem>

#include "base/log.h"
#include "app/startup.h"
#include "base/text.h"
#include "project/project.h"
#include "records/serial.h"
#include "tests/test_util.h"

namespace fs = std::filesystem;

namespace {

// Answers the questions in order and records every box.
class ScriptedSink : public MessageSink {
public:
    ScriptedSink() { old_ = SetMessageSink(this); }
    ~ScriptedSink() override { SetMessageSink(old_); }
    Answer Box(const std::string& text, const std::string& title, Buttons) override
    {
        texts.push_back(text);
        titles.push_back(title);
        if (answers.empty())
            return Answer::Ok;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<Answer> answers;
    std::vector<std::string> texts, titles;

private:
    MessageSink* old_;
};

void Touch(const std::string& path) { WriteFile(path, {1, 2, 3}); }

}  // namespace

TEST(Startup, NeitherDataNorDefaultEndsWithoutCreatingAnything)
{
    TempDir dir;
    ScriptedSink sink;
    bool windowMade = false;
    StartupHooks hooks;
    hooks.createMainWindow = [&] { return windowMade = true; };
    EXPECT_FALSE(AppStartup(hooks));
    EXPECT_FALSE(windowMade);
    EXPECT_TRUE(sink.texts.empty());
    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST(Startup, DefaultDataAreCopiedAfterYesThenTheBattleModeIsAsked)
{
    TempDir dir;
    Touch("default/database/System.dat");
    ScriptedSink sink;
    sink.answers = {Answer::Yes};
    std::vector<std::string> steps;
    StartupHooks hooks;
    hooks.loadProject = [&] { steps.push_back(fs::exists("data/database/System.dat") ? "load" : "load-no-data"); return true; };
    hooks.chooseBattleMode = [&] { steps.push_back("battle"); return true; };
    hooks.createMainWindow = [&] { steps.push_back("window"); return true; };
    EXPECT_TRUE(AppStartup(hooks));
    EXPECT_EQ(steps, (std::vector<std::string>{"load", "battle", "window"}));
    EXPECT_EQ(sink.titles, std::vector<std::string>{SJ("デフォルトデータ作成の確認")});
    for (const char* folder : {"e_data", "e_image", "user_data", "data/stg", "data/random_name", "csv",
                               "image/back", "image/picture", "wave", "bgm"})
        EXPECT_TRUE(fs::is_directory(folder)) << folder;
    EXPECT_TRUE(StartupComplete);

    // The next start finds the data and asks nothing.
    sink.texts.clear();
    steps.clear();
    EXPECT_TRUE(AppStartup(hooks));
    EXPECT_TRUE(sink.texts.empty());
    EXPECT_EQ(steps, (std::vector<std::string>{"load", "window"}));
}

TEST(Startup, DefaultDataRefusedOrUnfinishedLeaveNoData)
{
    TempDir dir;
    Touch("default/a.dat");
    ScriptedSink sink;
    sink.answers = {Answer::No};
    StartupHooks hooks;
    EXPECT_FALSE(AppStartup(hooks));
    EXPECT_FALSE(fs::exists("data"));
    EXPECT_FALSE(fs::exists("e_data"));

    // A copy that fails half way (a file that cannot be copied) is removed.
    ASSERT_EQ(mkfifo("default/pipe", 0600), 0);
    sink.answers = {Answer::Yes};
    EXPECT_FALSE(AppStartup(hooks));
    EXPECT_FALSE(fs::exists("data"));

    // Closing the battle-mode dialog without OK fails as well.
    fs::remove("default/pipe");
    sink.answers = {Answer::Yes};
    hooks.chooseBattleMode = [] { return false; };
    EXPECT_FALSE(AppStartup(hooks));
    EXPECT_FALSE(StartupComplete);
}

TEST(Startup, FailedProjectLoadReportsForgetsTheStageAndSavesTheSettings)
{
    for (bool tooNew : {false, true}) {
        TempDir dir;
        fs::create_directory("data");
        ScriptedSink sink;
        cEditConfig old;
        old.m_StagePath = "data\\stg\\a.stg2";
        fs::create_directory("e_data");
        ASSERT_TRUE(old.SaveFile("e_data\\EditConfig.dat"));
        bool windowMade = false;
        StartupHooks hooks;
        hooks.loadProject = [&] {
            EXPECT_EQ(EditConfig().m_StagePath, "data\\stg\\a.stg2");
            VersionTooNew = tooNew;
            return false;
        };
        hooks.createMainWindow = [&] { return windowMade = true; };
        EXPECT_FALSE(AppStartup(hooks));
        EXPECT_FALSE(windowMade);
        ASSERT_EQ(sink.texts.size(), 1u);
        EXPECT_EQ(sink.texts[0], tooNew ? SJ("プロジェクトのロードに失敗しました！")
                                        : SJ("プロジェクトのロードに失敗しました！フォルダやファイルの位置や名称が変更された可能性があります！"));
        EXPECT_EQ(sink.titles[0], SJ("エラー"));
        cEditConfig saved;
        ASSERT_TRUE(saved.LoadFile("e_data\\EditConfig.dat"));
        EXPECT_EQ(saved.m_StagePath, "");
        VersionTooNew = false;
    }
}

TEST(Startup, SettingsMoveFromTheirOldPlace)
{
    TempDir dir;
    fs::create_directory("data");
    fs::create_directory("e_data");
    cEditConfig old;
    old.m_nUndoDepth = 9;
    ASSERT_TRUE(old.SaveFile("data\\EditConfig.dat"));
    LoadEditorSettings();
    EXPECT_EQ(EditConfig().m_nUndoDepth, 9);
    EXPECT_TRUE(fs::exists("e_data/EditConfig.dat"));
    EXPECT_FALSE(fs::exists("data/EditConfig.dat"));

    // A file that cannot be loaded (here: from a newer editor) gives the
    // settings of a new editor.
    WriteFile("e_data/EditConfig.dat", Bytes().u32(999).data);
    LoadEditorSettings();
    EXPECT_EQ(EditConfig().m_nUndoDepth, 3);
}

TEST(Startup, SecondInstanceAskedAndEndedOnNo)
{
    TempDir dir;
    ScriptedSink sink;
    InstanceGuard first(dir.Path().string());
    ASSERT_TRUE(ProgramStart(first, DisplayFacts{}, "Vantor_Editor_test"));
    EXPECT_TRUE(sink.texts.empty());

    InstanceGuard second(dir.Path().string());
    sink.answers = {Answer::No};
    EXPECT_FALSE(ProgramStart(second, DisplayFacts{}, "Vantor_Editor_test"));
    EXPECT_EQ(sink.titles, std::vector<std::string>{SJ("二重起動")});

    sink.answers = {Answer::Yes};
    EXPECT_TRUE(ProgramStart(second, DisplayFacts{}, "Vantor_Editor_test"));

    // The name is free again once the first instance has gone.
    first.Release();
    second.Release();
    InstanceGuard third(dir.Path().string());
    EXPECT_TRUE(third.Acquire("Vantor_Editor_test"));
    CloseReportLog();
}

TEST(Startup, ReportLogHoldsVersionMachineAndSheetRate)
{
    TempDir dir;
    ScriptedSink sink;
    fs::create_directory("data");
    InstanceGuard guard(dir.Path().string());
    DisplayFacts facts;
    facts.screenWidth = 1920;
    facts.screenHeight = 1080;
    facts.fontFace = "50%font";  // a percent sign stays as it is
    ASSERT_TRUE(ProgramStart(guard, facts, "Vantor_Editor_report"));
    ASSERT_TRUE(AppStartup(StartupHooks{}));
    std::vector<uint8_t> bytes = ReadFile("Report_Editor.txt");
    std::string log(bytes.begin(), bytes.end());
    std::vector<std::string> lines;
    for (std::size_t p = 0, q; (q = log.find("\r\n", p)) != std::string::npos; p = q + 2)
        lines.push_back(log.substr(p, q - p));
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], "App : ver 340");
    const char* prefixes[] = {"OS : ", "CPU : ", "Mem Total : ", "Mem Free : ", "Vir Total : ", "Vir Free : ",
                              "HD Free : ", "Display : (1920,1080)", "System Font : 50%font ("};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(lines[static_cast<std::size_t>(i) + 1].rfind(prefixes[i], 0), 0u) << lines[static_cast<std::size_t>(i) + 1];
    EXPECT_EQ(lines[10], "Sheet Rate : 1.0");
    CloseReportLog();
}

TEST(Startup, RunSettingsReadOverTheSystemRecordsDefaults)
{
    TempDir dir;
    fs::create_directory("data");
    ResetProject();
    cSystem& system = TheProject().m_System;
    for (cIni& ini : system.m_Inis)
        if (ini.m_Key == "FrameRate")
            ini.m_nDefault = 45;
    const RunSettings& run = ProcessRunSettings();
    StartupHooks hooks;
    ShutdownHooks down;
    hooks.loadProject = [] { return true; };
    UseProjectHooks(hooks, down);

    struct Case {
        const char* file;  // null: no System.ini
        int midi, frameRate;
    } cases[] = {
        {nullptr, 1, 45},
        {"Midi_DirectMusic=0\r\nExit\r\n", 0, 45},
        {"FrameRate=30 // per second\r\nExit\r\n", 1, 30},
        // Without the end mark nothing the file set is kept.
        {"Midi_DirectMusic=0\r\nFrameRate=30\r\n", 1, 45},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file ? c.file : "none");
        fs::remove("System.ini");
        if (c.file)
            WriteFile("System.ini", std::vector<uint8_t>(c.file, c.file + std::strlen(c.file)));
        ProcessRunSettings() = RunSettings{};
        ASSERT_TRUE(AppStartup(hooks));
        EXPECT_EQ(run.nValid, 1);
        EXPECT_EQ(run.nMidiDirectMusic, c.midi);
        EXPECT_EQ(run.nFrameRate, c.frameRate);
        EXPECT_EQ(run.nWindowMode, 2);
    }
    StartupComplete = false;
    ResetProject();
}

TEST(Startup, ShutdownSavesSettingsOnlyAfterACompleteStart)
{
    TempDir dir;
    fs::create_directory("e_data");
    fs::create_directory("data");
    ResetProject();
    TheProject().m_GlobalVariables.resize(kGlobalVariableCount);
    TheProject().m_GlobalVariables[5].m_Name = "five";
    StartupHooks up;
    ShutdownHooks hooks;
    UseProjectHooks(up, hooks);
    hooks.currentStagePath = [] { return std::string("data\\stg\\b.stg2"); };
    hooks.currentPaletteMode = [] { return 2; };
    StartupComplete = false;
    AppShutdown(hooks);
    EXPECT_FALSE(fs::exists("e_data/EditConfig.dat"));
    StartupComplete = true;
    AppShutdown(hooks);
    cEditConfig saved;
    ASSERT_TRUE(saved.LoadFile("e_data\\EditConfig.dat"));
    EXPECT_EQ(saved.m_StagePath, "data\\stg\\b.stg2");
    EXPECT_EQ(saved.m_nPaletteMode, 2);
    // The common-variable names are saved in either case.
    RecordList<cGValInfo> names;
    ASSERT_TRUE(LoadListFile(names, "data\\GValInfo.dat"));
    ASSERT_EQ(names.size(), kGlobalVariableCount);
    EXPECT_EQ(names[5].m_Name, "five");
    StartupComplete = false;
    ResetProject();
}
