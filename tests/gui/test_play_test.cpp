// Test play from the editor's side: the settings dialog, F5 with real game
// programs started detached, the end notice over the local channel, and the
// stand-in game's window.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

#include "app/editor_state.h"
#include "app/startup.h"
#include "app/test_play.h"
#include "app/window/test_play_listener.h"
#include "base/log.h"
#include "base/paths.h"
#include "base/text.h"
#include "game_window.h"
#include "media/image_table.h"
#include "project/default_project.h"
#include "project/project.h"
#include "stage/window/main_window.h"
#include "stage/window/testplay_dialog.h"
#include "tests/gui/gui_util.h"
#include "tests/test_util.h"

namespace {

// Runs the event loop until done() or the time is up.
bool WaitFor(const std::function<bool()>& done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(10);
    }
    return done();
}

void CopyProgram(const std::string& from, const std::string& to)
{
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    chmod(to.c_str(), 0755);
}

struct TestPlayGuiTest : ::testing::Test {
    void SetUp() override
    {
        ResetProject();
        Editor() = EditorState();
        std::filesystem::create_directories("e_data");
    }
    void TearDown() override
    {
        AppBusy = false;
        LastGameProcess().pid = 0;
        ResetProject();
        ResetImages();
    }
    TempDir dir;
    RecordingSink sink;
};

TEST_F(TestPlayGuiTest, SettingsDialogEnablesThePathAndWritesOnlyOnOk)
{
    cTestPlay& settings = TheProject().m_TestPlay;
    settings.m_bAutoFind = 1;
    settings.m_GamePath = "old\\game";
    settings.m_nSkillLevel = 3;
    ASSERT_TRUE(settings.SaveFile(ProjectFile::TestPlay));
    const auto before = ReadFile("e_data/Testplay.dat");

    // Cancel after changing everything: the file and the settings stay.
    {
        DLG_TESTPLAY dlg;
        QTimer::singleShot(0, [&] {
            auto* autoFind = qobject_cast<QCheckBox*>(dlg.Item(DLG_TESTPLAY::IDC_AUTO));
            auto* path = qobject_cast<QLineEdit*>(dlg.Item(DLG_TESTPLAY::IDC_PATH));
            ASSERT_TRUE(autoFind && path);
            EXPECT_TRUE(autoFind->isChecked());
            EXPECT_FALSE(path->isEnabled());
            EXPECT_EQ(qobject_cast<QComboBox*>(dlg.Item(DLG_TESTPLAY::IDC_SKILL_LEVEL))->currentIndex(), 3);
            QTest::mouseClick(autoFind, Qt::LeftButton);
            EXPECT_TRUE(path->isEnabled());
            qobject_cast<QComboBox*>(dlg.Item(DLG_TESTPLAY::IDC_TRAINING))->setCurrentIndex(2);
            qobject_cast<QPushButton*>(dlg.Item(IDC_CANCEL))->click();
        });
        EXPECT_EQ(dlg.DoModal(), 0);
    }

    EXPECT_EQ(ReadFile("e_data/Testplay.dat"), before);
    EXPECT_EQ(settings.m_bAutoFind, 1);
    EXPECT_EQ(settings.m_nTraining, 0);

    // OK with manual mode, a browsed path, both flags and three choices.
    std::filesystem::create_directories("bin");
    WriteFile("bin/mygame", {1});
    {
        DLG_TESTPLAY dlg;
        std::vector<FileQuestion> asked;
        dlg.chooseFile = [&](std::string& out, const FileQuestion& q) {
            asked.push_back(q);
            out = StoredPath((dir.Path() / "bin" / "mygame").string());
            return true;
        };
        QTimer::singleShot(0, [&] {
            auto* path = qobject_cast<QLineEdit*>(dlg.Item(DLG_TESTPLAY::IDC_PATH));
            QTest::mouseClick(dlg.Item(DLG_TESTPLAY::IDC_AUTO), Qt::LeftButton);
            qobject_cast<QPushButton*>(dlg.Item(DLG_TESTPLAY::IDC_BROWSE))->click();
            EXPECT_EQ(path->text(), QStringLiteral("bin\\mygame"));
            qobject_cast<QAbstractButton*>(dlg.Item(DLG_TESTPLAY::IDC_NO_GROWTH))->click();
            qobject_cast<QAbstractButton*>(dlg.Item(DLG_TESTPLAY::IDC_NO_SENSE))->click();
            qobject_cast<QComboBox*>(dlg.Item(DLG_TESTPLAY::IDC_SKILL))->setCurrentIndex(1);
            qobject_cast<QComboBox*>(dlg.Item(DLG_TESTPLAY::IDC_SKILL_LEVEL))->setCurrentIndex(2);
            auto* training = qobject_cast<QComboBox*>(dlg.Item(DLG_TESTPLAY::IDC_TRAINING));
            EXPECT_EQ(training->count(), 3);
            EXPECT_EQ(training->itemText(2), QStringLiteral("全ての敵と闘える"));
            training->setCurrentIndex(1);
            QDir().mkpath(VANTOR_BUILD_DIR "/screenshots");
            dlg.Widget()->grab().save(VANTOR_BUILD_DIR "/screenshots/testplay_settings.png");
            qobject_cast<QPushButton*>(dlg.Item(IDC_OK))->click();
        });
        EXPECT_EQ(dlg.DoModal(), 1);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].title, SJ("ゲームプログラムの選択"));
    }
    cTestPlay written;
    ASSERT_TRUE(written.LoadFile(ProjectFile::TestPlay));
    const std::pair<const char*, std::pair<int, int>> values[] = {
        {"auto", {written.m_bAutoFind, 0}},       {"growth", {written.m_bNoRandomGrowth, 1}},
        {"sense", {written.m_bNoRandomSense, 1}}, {"skill", {written.m_nRandomSkill, 1}},
        {"level", {written.m_nSkillLevel, 2}},    {"training", {written.m_nTraining, 1}},
    };
    for (const auto& [what, v] : values)
        EXPECT_EQ(v.first, v.second) << what;
    EXPECT_EQ(written.m_GamePath, "bin\\mygame");
    EXPECT_TRUE(written.Equals(settings));
}

// F5 in the main window with the probe program as the project's game: the
// play ends when the game says so or its connection breaks, never when a
// program that did not connect just ends.
TEST_F(TestPlayGuiTest, F5StartsTheGameAndItsEndIsNoticed)
{
    CopyProgram(VANTOR_BUILD_DIR "/tests/testplay_probe", "probe-game");
    TheProject().m_TestPlay.m_bAutoFind = 1;
    TestPlayListener listener;
    ASSERT_TRUE(listener.Listen(TestPlayChannel(WorkingFolder())));
    int ends = 0;
    listener.onEnd = [&] {
        ++ends;
        EndTestPlay(Editor(), ProcessTestPlayHooks());
    };
    DLG_MAIN main;
    main.onQuit = [] {};
    ASSERT_TRUE(OpenActive(main));
    EXPECT_TRUE(main.Action(40006)->toolTip().contains(QStringLiteral("probe-game")));

    struct Row { const char* mode; bool ends; };
    const Row rows[] = {{"send", true}, {"exit", true}, {"silent", false}};
    for (const Row& row : rows) {
        std::filesystem::remove("probe.ran");
        WriteFile("probe.txt", std::vector<uint8_t>(row.mode, row.mode + strlen(row.mode)));
        Editor().testPlayRunning = false;
        int endsBefore = ends;
        QTest::keyClick(main.MapView(), Qt::Key_F5);
        Pump();
        ASSERT_TRUE(sink.texts.empty()) << Cp932ToUtf8(sink.texts[0]);
        EXPECT_TRUE(Editor().testPlayRunning) << row.mode;
        EXPECT_TRUE(AppBusy) << row.mode;
        int pid = LastGameProcess().pid;
        ASSERT_GT(pid, 0) << row.mode;
        // Wait until the program is over (the listener collects it), then a
        // little more for the notice.
        auto collected = [] { CollectGameExit(LastGameProcess()); return LastGameProcess().pid == 0; };
        ASSERT_TRUE(WaitFor(collected, 10000)) << row.mode;
        WaitFor([&] { return ends > endsBefore; }, 500);
        EXPECT_TRUE(std::filesystem::exists("probe.ran")) << row.mode;
        EXPECT_EQ(Editor().testPlayRunning, !row.ends) << row.mode;
        EXPECT_EQ(ends - endsBefore, row.ends ? 1 : 0) << row.mode;
    }
    EXPECT_TRUE(sink.texts.empty());
    main.Close(0);
    Pump();
}

TEST_F(TestPlayGuiTest, StandInShowsTheSavedStageAndSettings)
{
    ASSERT_TRUE(WriteDefaultProject("."));
    std::vector<std::string> messages;
    ASSERT_TRUE(LoadGameProject(messages));
    ASSERT_FALSE(TheProject().m_EditConfig.m_StagePath.empty());
    GameWindow window(true, messages);
    window.resize(1000, 600);
    window.show();
    Pump();
    const std::string game = Cp932ToUtf8(TheProject().m_System.m_GameName);
    EXPECT_EQ(window.windowTitle(), QString::fromStdString(game) + QStringLiteral(" テストプレイ"));
    QString info = window.Info()->toPlainText();
    for (const char* want : {"ステージ名: ", "勝利条件:", "敗北条件:", "その他の条件:", "トレーニング: ",
                             "WindowMode = ", "Midi_DirectMusic = ", "戦闘モード: "})
        EXPECT_TRUE(info.contains(QString::fromUtf8(want))) << want;
    EXPECT_TRUE(info.contains(QString::fromStdString(Cp932ToUtf8(TheProject().m_Stage.m_Name))));
    ASSERT_NE(window.Map(), nullptr);
    QTest::mouseMove(window.Map(), QPoint(32 + 5, 32 + 5));
    EXPECT_TRUE(window.CellLabel()->text().startsWith(QStringLiteral("(1,1) "))) << window.CellLabel()->text().toStdString();
    QDir().mkpath(VANTOR_BUILD_DIR "/screenshots");
    window.grab().save(VANTOR_BUILD_DIR "/screenshots/vantor_game.png");

    // Its button and Escape end it.
    window.EndButton()->click();
    EXPECT_FALSE(window.isVisible());
    window.show();
    // Sent past the editor's keyboard rules, which keep Escape from windows
    // that did not ask for it; the game runs without them.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    static_cast<QObject&>(window).event(&escape);
    EXPECT_FALSE(window.isVisible());

    // A project that does not load shows why.
    GameWindow failed(false, {"プロジェクトのロードに失敗しました！"});
    EXPECT_EQ(failed.Map(), nullptr);
    EXPECT_EQ(failed.Info()->toPlainText(), QStringLiteral("プロジェクトのロードに失敗しました！"));

    // Without a stage: the game, its world map and the notice.
    std::vector<std::string> lines = GameInfoLines(false);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "ゲーム名: " + game);
    EXPECT_EQ(lines[2], "テストするステージがありません");
}

// The real stand-in, started by the core's test-play command in the starter
// project: asked to stop, it sends data 0 and exits 0, and the editor notices.
TEST_F(TestPlayGuiTest, StandInGameStartedByTestPlayEndsIt)
{
    ASSERT_TRUE(WriteDefaultProject("."));
    CopyProgram(VANTOR_BUILD_DIR "/tools/vantor-game", "vantor-game");
    ASSERT_TRUE(OpenReportLog("report.txt"));
    TheProject().m_TestPlay.m_bAutoFind = 1;
    TestPlayListener listener;
    ASSERT_TRUE(listener.Listen(TestPlayChannel(WorkingFolder())));
    bool ended = false;
    listener.onEnd = [&] {
        ended = true;
        EndTestPlay(Editor(), ProcessTestPlayHooks());
    };
    ASSERT_TRUE(StartTestPlay(Editor(), TheProject(), ProcessTestPlayHooks())) << (sink.texts.empty() ? "" : Cp932ToUtf8(sink.texts[0]));
    int pid = LastGameProcess().pid;
    ASSERT_TRUE(WaitFor([&] { return listener.Connections() > 0; }, 20000));
    kill(pid, SIGTERM);
    EXPECT_TRUE(WaitFor([&] { return ended; }, 20000));
    EXPECT_FALSE(Editor().testPlayRunning);
    ASSERT_TRUE(WaitFor([] { CollectGameExit(LastGameProcess()); return LastGameProcess().pid == 0; }, 20000));
    CloseReportLog();
    auto log = ReadFile("report.txt");
    std::string text(log.begin(), log.end());
    EXPECT_NE(text.find(StrPrintf("(process %d) ended with status 0", pid)), std::string::npos) << text;
}

}  // namespace
