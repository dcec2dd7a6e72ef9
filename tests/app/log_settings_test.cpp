#include <gtest/gtest.h>

#include "base/log.h"
#include "project/settings.h"
#include "base/text.h"
#include "tests/test_util.h"

TEST(Log, ReportLogLinesAndBoxes)
{
    TempDir dir;
    RecordingSink sink;
    ASSERT_TRUE(OpenReportLog("Report_Editor.txt"));
    ReportPrintf("App : ver %s", "340");
    // A percent sign in an argument is not formatted again.
    ReportErrorPrintf("%s", "100% done %d");
    ReportLogPrintf("n=%d", 5);
    std::vector<uint8_t> log = ReadFile("Report_Editor.txt");
    EXPECT_EQ(std::string(log.begin(), log.end()), "App : ver 340\r\n100% done %d\r\nn=5\r\n");
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0], "100% done %d");
    EXPECT_EQ(sink.titles[0], SJ("エラー"));

    // The error log is off: nothing is written and no debug box appears.
    SetErrorLog("EC_Editor.txt", false);
    ErrorLogPrintf("x");
    DebugBoxPrintf("y");
    EXPECT_FALSE(std::filesystem::exists("EC_Editor.txt"));
    EXPECT_EQ(sink.texts.size(), 1u);

    OutOfMemoryQuit();
    EXPECT_EQ(sink.texts.back(), SJ("メモリが不足しています！"));
    EXPECT_EQ(sink.quits, 1);

    // Switched on, a text that fills the buffer adds the shortage line.
    SetErrorLog("EC_Editor.txt", true);
    ErrorLogPrintf("%s", std::string(5000, 'z').c_str());
    std::vector<uint8_t> ec = ReadFile("EC_Editor.txt");
    std::string ecText(ec.begin(), ec.end());
    EXPECT_NE(ecText.find(SJ("バッファ不足で表示失敗 ECSP()")), std::string::npos);
    SetErrorLog("", false);
    CloseReportLog();
}

namespace {

// An editor settings file written by hand at a given version.
std::vector<uint8_t> EditConfigFile(uint32_t version, const std::string& stage, const std::string& def)
{
    Bytes b;
    b.u32(version).str(stage).i32(2);
    if (version < 74)
        b.i32(0x11111111).i32(0x22222222);
    b.i32(7).i32(0).i32(1).i32(0).i32(1).i32(0);
    if (version < 77)
        b.i32(0x33333333);
    b.i32(4).str("Game.exe").str(def).str("further");
    if (version >= 26)
        b.i32(9);
    for (int w = 0; w < 7; ++w)
        b.i32(1).i32(w == 0 ? -50 : 10 * w).i32(w == 1 ? -5 : 20).i32(300).i32(400).i32(w);
    return b.data;
}

}  // namespace

TEST(EditorSettings, VersionsAndFixups)
{
    TempDir dir;
    cEditConfig fresh;
    EXPECT_EQ(fresh.m_nUndoDepth, 3);
    EXPECT_EQ(fresh.m_bWorldAutoStage, 1);
    EXPECT_EQ(fresh.m_nOldTestPlayMode, 1);
    EXPECT_EQ(fresh.m_DefaultStagePath, "data\\stg\\Default.stg2");

    struct Case {
        uint32_t version;
        std::string stage, def, wantStage, wantDef;
    } cases[] = {
        {73, "data\\stg\\a.stg", "data\\stg\\Default.stg", "data\\stg\\a.stg2", "data\\stg\\Default.stg2"},
        {100, "data\\stg\\b.stg", "noext", "data\\stg\\b.stg2", "noext"},
        {340, "data\\stg\\c.stg", "x.stg", "data\\stg\\c.stg", "x.stg"},
    };
    for (const Case& c : cases) {
        WriteFile("e_data/EditConfig.dat", EditConfigFile(c.version, c.stage, c.def));
        cEditConfig cfg;
        ASSERT_EQ(cfg.LoadFile("e_data\\EditConfig.dat"), 1) << c.version;
        EXPECT_EQ(cfg.m_StagePath, c.wantStage) << c.version;
        EXPECT_EQ(cfg.m_DefaultStagePath, c.wantDef) << c.version;
        EXPECT_EQ(cfg.m_nPaletteMode, 2) << "reserved values skipped at " << c.version;
        EXPECT_EQ(cfg.m_nUndoDepth, 7) << c.version;
        EXPECT_EQ(cfg.m_nOldTestPlayMode, 4) << c.version;
        EXPECT_EQ(cfg.m_FurtherPath, "further") << c.version;
        EXPECT_EQ(cfg.m_nFurtherValue, 9) << c.version;
        // Window places: a left of -50 opens at 0.
        EXPECT_EQ(cfg.WndPos(ToolWindow::Main).m_nLeft, 0);
        EXPECT_EQ(cfg.WndPos(ToolWindow::ChipPalette).m_nTop, 0);
        EXPECT_EQ(cfg.WndPos(ToolWindow::WorldEventPalette).m_nValue, 6);
        EXPECT_EQ(cfg.WndPos(ToolWindow::WorldEventPalette).m_nLeft, 60);

        // Written now: no reserved values, version 340.
        ASSERT_EQ(cfg.SaveFile("e_data\\again.dat"), 1);
        std::vector<uint8_t> now = EditConfigFile(340, c.wantStage, c.wantDef);
        std::vector<uint8_t> written = ReadFile("e_data/again.dat");
        ASSERT_EQ(written.size(), now.size()) << c.version;
    }

    // A version-25 file lacks the further value: it keeps what the object held.
    WriteFile("old.dat", EditConfigFile(25, "s", "d"));
    cEditConfig cfg;
    cfg.m_nFurtherValue = 77;
    ASSERT_EQ(cfg.LoadFile("old.dat"), 1);
    EXPECT_EQ(cfg.m_nFurtherValue, 77);

    // The screen clamp uses the real screen once the editor sets it.
    SetScreenClientSize(100, 50);
    WriteFile("e.dat", EditConfigFile(340, "s", "d"));
    ASSERT_EQ(cfg.LoadFile("e.dat"), 1);
    EXPECT_EQ(cfg.WndPos(ToolWindow::WorldEventPalette).m_nLeft, 60);
    EXPECT_EQ(cfg.WndPos(ToolWindow::WorldChipPalette).m_nTop, 20);
    SetScreenClientSize(40, 10);
    ASSERT_EQ(cfg.LoadFile("e.dat"), 1);
    EXPECT_EQ(cfg.WndPos(ToolWindow::WorldEventPalette).m_nLeft, 40);
    EXPECT_EQ(cfg.WndPos(ToolWindow::WorldEventPalette).m_nTop, 10);
    SetScreenClientSize(INT_MAX, INT_MAX);
}

TEST(EditorSettings, TestPlayAndSheetSizeGates)
{
    TempDir dir;
    // Test-play settings before 221 lack the first two members.
    WriteFile("tp.dat", Bytes().u32(220).i32(1).i32(0).i32(2).i32(3).i32(1).data);
    cTestPlay tp;
    tp.m_bAutoFind = 1;
    tp.m_GamePath = "keep.exe";
    ASSERT_EQ(tp.LoadFile("tp.dat"), 1);
    EXPECT_EQ(tp.m_bAutoFind, 1);
    EXPECT_EQ(tp.m_GamePath, "keep.exe");
    EXPECT_EQ(tp.m_bNoRandomGrowth, 1);
    EXPECT_EQ(tp.m_nSkillLevel, 3);
    EXPECT_EQ(tp.m_nTraining, 1);
    ASSERT_EQ(tp.SaveFile("tp2.dat"), 1);
    EXPECT_EQ(ReadFile("tp2.dat"),
              (Bytes().u32(340).i32(1).str("keep.exe").i32(1).i32(0).i32(2).i32(3).i32(1).data));

    cPropSheetSize sheet;
    sheet.m_FontFace = SJ("ＭＳ ゴシック");
    sheet.m_dScaleX = 1.25;
    sheet.m_dScaleY = 0.75;
    ASSERT_EQ(sheet.SaveFile("s.dat"), 1);
    EXPECT_EQ(ReadFile("s.dat"),
              (Bytes().u32(340).i32(0).i32(0).str(SJ("ＭＳ ゴシック")).i32(0).i32(0).f64(1.25).f64(0.75).data));
}
