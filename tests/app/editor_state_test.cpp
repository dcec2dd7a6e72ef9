#include "app/editor_state.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "base/paths.h"
#include "base/text.h"
#include "project/project.h"
#include "tests/test_util.h"

namespace {

struct EditorFixture : ::testing::Test {
    EditorFixture()
    {
        p->m_Lands.resize(4);
        p->m_EditConfig.m_nUndoDepth = 3;
        p->m_EditConfig.m_DefaultStagePath = "data\\stg\\Default.stg2";
        std::filesystem::create_directories("data/stg");
        ed->stageOpen = true;
    }
    // Answers every file question with the given path (empty: cancelled) and
    // keeps the questions asked.
    FileChooser Answer(std::string path)
    {
        return [this, path](std::string& out, const FileQuestion& q) {
            asked.push_back(q);
            out = path;
            return !path.empty();
        };
    }
    void Paint(int x, int y, int chip)
    {
        ed->Tools().brush.chip[0][0] = chip;
        PenPress(*ed, *p, {x, y});
        PenRelease(*ed, *p, {x, y});
    }

    TempDir dir;
    RecordingSink sink;
    std::unique_ptr<Project> p = std::make_unique<Project>();
    std::unique_ptr<EditorState> ed = std::make_unique<EditorState>();
    std::vector<FileQuestion> asked;
};

TEST(EditorTitle, ApplicationNameThenTwoBlanksAndThePath)
{
    EXPECT_EQ(TitleText(""), SJ("ヴァントール"));
    EXPECT_EQ(TitleText("data\\stg\\a.stg2"), SJ("ヴァントール") + "  data\\stg\\a.stg2");
}

TEST(EditorGeometry, CursorCellAndWheel)
{
    struct Row { int px, py; bool ok; CellPos cell; };
    // View of 100 x 70 pixels scrolled to (2, 1) over a 5 x 4 map.
    const Row rows[] = {
        {0, 0, true, {2, 1}},
        {95, 65, true, {4, 3}},
        {40, 100, true, {3, 3}},   // below the view: pulled into the map's last row
        {-20, -5, true, {2, 1}},   // left of and above the view
        {500, 10, true, {4, 1}},
    };
    for (const Row& r : rows) {
        CellPos c{-9, -9};
        EXPECT_EQ(CellAt(r.px, r.py, 2, 1, 100, 70, 5, 4, c), r.ok) << r.px << "," << r.py;
        EXPECT_EQ(c, r.cell) << r.px << "," << r.py;
    }
    // Inside the view but beyond the map: the cursor stays where it was.
    CellPos c{-9, -9};
    EXPECT_FALSE(CellAt(40, 0, 0, 0, 400, 400, 1, 1, c));
    EXPECT_EQ(c, (CellPos{-9, -9}));
    EXPECT_EQ(WheelNotches(-120), 1);
    EXPECT_EQ(WheelNotches(-1200), 1);
    EXPECT_EQ(WheelNotches(240), -2);
    EXPECT_EQ(WheelNotches(120 * 30), -9);
    EXPECT_EQ(WheelNotches(60), 0);
}

TEST_F(EditorFixture, NewStageAsksWhileAStageIsOpenAndStartsClean)
{
    sink.answer = ::Answer::No;
    ed->stagePath = "data\\stg\\old.stg2";
    EXPECT_FALSE(NewStage(*ed, *p));
    EXPECT_EQ(ed->stagePath, "data\\stg\\old.stg2");
    ASSERT_EQ(sink.titles.size(), 1u);
    EXPECT_EQ(sink.titles[0], SJ("新規作成の確認"));

    // Yes with no template on disk: a new stage and the message naming the template.
    sink.answer = ::Answer::Yes;
    Paint(0, 0, 2);
    ASSERT_TRUE(ed->undo.CanUndo());
    EXPECT_TRUE(NewStage(*ed, *p));
    EXPECT_TRUE(ed->stageOpen);
    EXPECT_TRUE(ed->stagePath.empty());
    EXPECT_FALSE(ed->stageModified);
    EXPECT_FALSE(ed->undo.CanUndo());
    EXPECT_EQ(p->m_Stage.Cell(0, 0), 0);
    EXPECT_EQ(sink.texts.back(), SJ("デフォルトステージ data\\stg\\Default.stg2 の読み込みに失敗しました！"));

    // With the template there, it is read; nothing is asked when no stage is open.
    cStage tmpl;
    tmpl.ResizeMap(7, 3);
    ASSERT_TRUE(tmpl.SaveFile("data\\stg\\Default.stg2"));
    ed->stageOpen = false;
    std::size_t boxes = sink.texts.size();
    EXPECT_TRUE(NewStage(*ed, *p));
    EXPECT_EQ(sink.texts.size(), boxes);
    EXPECT_EQ(p->m_Stage.m_nWidth, 7);
}

TEST_F(EditorFixture, SaveNeverSavedAsksForANameAndCancelKeepsTheChange)
{
    Paint(1, 1, 3);
    ed->paletteModified = true;
    EXPECT_FALSE(SaveStage(*ed, *p, false, Answer("")));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].save);
    EXPECT_EQ(asked[0].title, SJ("保存先のファイルの選択"));
    EXPECT_EQ(asked[0].filter[0].first, "StageFile ( *.stg2 )");
    EXPECT_TRUE(ed->stageModified);
    // The event palette is written whatever happens to the stage.
    EXPECT_FALSE(ed->paletteModified);
    EXPECT_TRUE(std::filesystem::exists("data/EventPlt.dat"));

    // An absolute name inside the project is kept relative.
    std::string full = StoredPath((dir.Path() / "data/stg/one.stg2").string());
    EXPECT_TRUE(SaveStage(*ed, *p, false, Answer(full)));
    EXPECT_EQ(ed->stagePath, "data\\stg\\one.stg2");
    EXPECT_FALSE(ed->stageModified);

    // Overwrite asks nothing; save-as always asks.
    Paint(2, 2, 1);
    EXPECT_TRUE(SaveStage(*ed, *p, false, Answer("")));
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_FALSE(SaveStage(*ed, *p, true, Answer("")));
    EXPECT_EQ(asked.size(), 3u);
    EXPECT_EQ(ed->stagePath, "data\\stg\\one.stg2");

    cStage back;
    ASSERT_TRUE(back.LoadFile("data\\stg\\one.stg2"));
    EXPECT_EQ(back.Cell(1, 1), 3);
    EXPECT_EQ(back.Cell(2, 2), 1);
}

TEST_F(EditorFixture, OpenReadsIntoTheEditorOrLeavesItAsItWas)
{
    cStage other;
    other.ResizeMap(9, 9);
    other.SetCell(8, 8, 2);
    ASSERT_TRUE(other.SaveFile("data\\stg\\b.stg2"));
    Paint(0, 0, 1);

    EXPECT_FALSE(OpenStage(*ed, *p, Answer("")));
    EXPECT_FALSE(OpenStage(*ed, *p, Answer("data\\stg\\missing.stg2")));
    EXPECT_EQ(p->m_Stage.Cell(0, 0), 1);
    EXPECT_TRUE(ed->undo.CanUndo());

    // A file on another drive: the drive message, the path kept absolute.
    std::size_t boxes = sink.texts.size();
    EXPECT_FALSE(OpenStage(*ed, *p, Answer("D:\\stages\\x.stg2")));
    ASSERT_GT(sink.texts.size(), boxes);
    EXPECT_NE(sink.texts[boxes].find(SJ("ドライブ")), std::string::npos);

    EXPECT_TRUE(OpenStage(*ed, *p, Answer("data\\stg\\b.stg2")));
    EXPECT_EQ(asked.back().title, SJ("読み込むファイルの選択"));
    EXPECT_EQ(p->m_Stage.m_nWidth, 9);
    EXPECT_EQ(p->m_Stage.Cell(8, 8), 2);
    EXPECT_EQ(ed->stagePath, "data\\stg\\b.stg2");
    EXPECT_FALSE(ed->undo.CanUndo());
    EXPECT_FALSE(ed->stageModified);

    CloseStage(*ed, *p);
    EXPECT_FALSE(ed->stageOpen);
    EXPECT_TRUE(ed->stagePath.empty());
}

// A file that ends early opens over the template, never over the open stage:
// the old stage's enemies and events are gone, and the user is told.
TEST_F(EditorFixture, TruncatedStageOpensOverTheTemplateAlone)
{
    cStage tmpl;
    tmpl.ResizeMap(6, 5);
    tmpl.m_Name = "template";
    ASSERT_TRUE(tmpl.SaveFile("data\\stg\\Default.stg2"));
    cStage full;
    full.ResizeMap(4, 4);
    ASSERT_TRUE(full.SaveFile("data\\stg\\cut.stg2"));
    std::vector<uint8_t> bytes = ReadFile("data/stg/cut.stg2");
    bytes.resize(10);
    WriteFile("data/stg/cut.stg2", bytes);

    p->m_Stage.ResizeMap(8, 8);
    p->m_Stage.m_PutEnemy.resize(3);
    p->m_Stage.m_Events.resize(2);
    p->m_Stage.m_Name = "old";
    ASSERT_TRUE(OpenReportLog("report.txt"));
    sink.texts.clear();
    EXPECT_TRUE(OpenStage(*ed, *p, Answer("data\\stg\\cut.stg2")));
    CloseReportLog();
    EXPECT_EQ(p->m_Stage.m_PutEnemy.size(), 0);
    EXPECT_EQ(p->m_Stage.m_Events.size(), 0);
    EXPECT_EQ(p->m_Stage.m_Name, "template");
    const std::string text = SJ("ステージファイル「data\\stg\\cut.stg2」は途中で終わっています。読めなかった部分は既定値のままです。");
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0], text);
    const std::vector<uint8_t> log = ReadFile("report.txt");
    EXPECT_NE(std::string(log.begin(), log.end()).find(text), std::string::npos);
    // A whole file says nothing.
    ASSERT_TRUE(full.SaveFile("data\\stg\\whole.stg2"));
    EXPECT_TRUE(OpenStage(*ed, *p, Answer("data\\stg\\whole.stg2")));
    EXPECT_EQ(sink.texts.size(), 1u);
}

TEST_F(EditorFixture, ConfirmSaveAsksForStageThenPalette)
{
    struct Row { bool stage, palette; ::Answer answer; bool result; std::size_t questions; };
    const Row rows[] = {
        {false, false, ::Answer::Yes, true, 0},
        {true, false, ::Answer::Cancel, false, 1},
        {true, true, ::Answer::No, true, 2},
        {false, true, ::Answer::Cancel, false, 1},
        {false, true, ::Answer::No, true, 1},
    };
    for (const Row& r : rows) {
        ed->stageModified = r.stage;
        ed->paletteModified = r.palette;
        sink.texts.clear();
        sink.answer = r.answer;
        EXPECT_EQ(ConfirmSave(*ed, *p, Answer("")), r.result);
        EXPECT_EQ(sink.texts.size(), r.questions);
        for (const std::string& title : sink.titles)
            EXPECT_EQ(title, SJ("保存確認"));
        if (r.result && r.palette) {
            EXPECT_FALSE(ed->paletteModified);
        }
    }
    // Yes on a never-saved stage whose name is not given: nothing was saved, so
    // the caller must not go on to discard the stage.
    ed->stageModified = true;
    ed->paletteModified = false;
    sink.answer = ::Answer::Yes;
    EXPECT_FALSE(ConfirmSave(*ed, *p, Answer("")));
    EXPECT_TRUE(ed->stageModified);
    EXPECT_TRUE(ConfirmSave(*ed, *p, Answer("data\\stg\\named.stg2")));
    EXPECT_FALSE(ed->stageModified);
}

TEST_F(EditorFixture, AFailedPaletteWriteKeepsThePaletteModified)
{
    // A folder where the palette file should be: every write of it fails.
    std::filesystem::create_directories("data/EventPlt.dat/x");
    ed->stageModified = false;
    ed->paletteModified = true;
    sink.answer = ::Answer::Yes;
    EXPECT_FALSE(ConfirmSave(*ed, *p, Answer("")));
    EXPECT_TRUE(ed->paletteModified);

    ed->stagePath = "data\\stg\\a.stg2";
    sink.texts.clear();
    EXPECT_TRUE(SaveStage(*ed, *p, false, Answer("")));
    EXPECT_TRUE(ed->paletteModified);
    // The failure box names the file and the reason.
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0], SJ("data\\EventPlt.datを保存できません: Is a directory"));

    // A name with no host form is named as such.
    std::filesystem::remove_all("data/EventPlt.dat");
    sink.texts.clear();
    EXPECT_FALSE(SaveStage(*ed, *p, true, Answer(std::string("data\\stg\\\x85\x40\xFD.stg2"))));
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0], std::string("data\\stg\\\x85\x40\xFD.stg2") + SJ("を保存できません: ファイル名を変換できません"));
}

TEST_F(EditorFixture, ClearCommandsAskAndCanBeUndone)
{
    p->m_Stage.m_PutEnemy.resize(2);
    p->m_Stage.m_Events.resize(1);
    p->m_Stage.SetCell(3, 3, 2);

    sink.answer = ::Answer::No;
    EXPECT_FALSE(ClearStageLayer(*ed, *p, ClearLayer::Enemies));
    EXPECT_EQ(p->m_Stage.m_PutEnemy.size(), 2);
    EXPECT_FALSE(ed->undo.CanUndo());

    sink.answer = ::Answer::Yes;
    EXPECT_TRUE(ClearStageLayer(*ed, *p, ClearLayer::Enemies));
    EXPECT_TRUE(ClearStageLayer(*ed, *p, ClearLayer::Events));
    EXPECT_TRUE(ClearStageLayer(*ed, *p, ClearLayer::Chips));
    EXPECT_EQ(sink.texts[1], SJ("全ての敵をクリアしますか？"));
    EXPECT_EQ(sink.titles[1], SJ("データクリアの確認"));
    EXPECT_TRUE(p->m_Stage.m_PutEnemy.empty());
    EXPECT_TRUE(p->m_Stage.m_Events.empty());
    EXPECT_EQ(p->m_Stage.Cell(3, 3), 0);
    EXPECT_TRUE(ed->stageModified);

    EXPECT_TRUE(UndoStep(*ed, *p));
    EXPECT_EQ(p->m_Stage.Cell(3, 3), 2);
    EXPECT_TRUE(UndoStep(*ed, *p));
    EXPECT_EQ(p->m_Stage.m_Events.size(), 1);
    EXPECT_TRUE(UndoStep(*ed, *p));
    EXPECT_EQ(p->m_Stage.m_PutEnemy.size(), 2);
    EXPECT_FALSE(UndoStep(*ed, *p));
    EXPECT_TRUE(RedoStep(*ed, *p));
    EXPECT_TRUE(p->m_Stage.m_PutEnemy.empty());
}

TEST_F(EditorFixture, PaletteModesKeepTheirOwnTools)
{
    SetPenTool(*ed, PenTool::Fill);
    ed->Tools().brush.width = 3;
    EXPECT_TRUE(SetPaletteMode(*ed, PaletteMode::Enemies));
    EXPECT_EQ(ed->Tools().pen, PenTool::Normal);
    EXPECT_EQ(ed->Tools().brush.width, 1);
    PaletteMode m = ed->mode;
    for (int i = 0; i < 2; ++i)
        SetPaletteMode(*ed, NextPaletteMode(ed->mode));
    EXPECT_EQ(ed->mode, PaletteMode::Chips);
    EXPECT_EQ(ed->Tools().pen, PenTool::Fill);
    EXPECT_EQ(ed->Tools().cursorKind, CURSOR_FILL);
    EXPECT_EQ(ed->Tools().brush.width, 3);
    SetPaletteMode(*ed, m);
    EXPECT_EQ(ed->mode, PaletteMode::Enemies);

    // Without a stage the mode stays.
    ed->stageOpen = false;
    EXPECT_FALSE(SetPaletteMode(*ed, PaletteMode::Events));
    EXPECT_EQ(ed->mode, PaletteMode::Enemies);
}

TEST_F(EditorFixture, PenStrokesPushOneStepAndMarkTheStage)
{
    // An invalid first chip: the press marks the stage but paints nothing and keeps no step.
    ed->Tools().brush.chip[0][0] = 7;
    EXPECT_FALSE(PenPress(*ed, *p, {0, 0}));
    EXPECT_TRUE(ed->stageModified);
    EXPECT_FALSE(ed->undo.CanUndo());
    PenRelease(*ed, *p, {0, 0});

    // A drag with the normal pen: one step, every cell passed over.
    ed->Tools().brush.chip[0][0] = 2;
    PenPress(*ed, *p, {0, 0});
    PenDrag(*ed, *p, {1, 0});
    PenDrag(*ed, *p, {2, 0});
    PenRelease(*ed, *p, {2, 0});
    EXPECT_EQ(ed->undo.UndoCount(), 1);
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(p->m_Stage.Cell(x, 0), 2);

    // The rectangle paints on release only.
    SetPenTool(*ed, PenTool::Rectangle);
    ed->Tools().brush.chip[0][0] = 3;
    PenPress(*ed, *p, {0, 2});
    PenDrag(*ed, *p, {1, 3});
    EXPECT_EQ(p->m_Stage.Cell(1, 3), 0);
    PenRelease(*ed, *p, {1, 3});
    EXPECT_EQ(p->m_Stage.Cell(0, 2), 3);
    EXPECT_EQ(p->m_Stage.Cell(1, 3), 3);
    EXPECT_EQ(ed->undo.UndoCount(), 2);

    UndoStep(*ed, *p);
    EXPECT_EQ(p->m_Stage.Cell(1, 3), 0);
    EXPECT_EQ(p->m_Stage.Cell(2, 0), 2);
}

TEST_F(EditorFixture, PickUpAndEnemyMoves)
{
    p->m_Stage.m_PutEnemy.resize(2);
    p->m_Stage.m_PutEnemy[0].m_nEnemy = 1;
    p->m_Stage.m_PutEnemy[0].m_nX = 4;
    p->m_Stage.m_PutEnemy[0].m_nY = 4;
    p->m_Stage.m_PutEnemy[1].m_nEnemy = 1;
    p->m_Stage.m_PutEnemy[1].m_nX = 6;
    p->m_Stage.m_PutEnemy[1].m_nY = 4;
    SetPaletteMode(*ed, PaletteMode::Enemies);

    ed->paletteEvent = 0;
    PickPress(*ed, {4, 4});
    EXPECT_EQ(ed->Tools().cursorKind, CURSOR_PICKUP);
    EXPECT_EQ(ed->paletteEvent, -1);
    EXPECT_EQ(PickRelease(*ed, *p, {4, 4}), 0);
    EXPECT_EQ(ed->Tools().cursorKind, CURSOR_NORMAL);
    EXPECT_EQ(EnemyToEdit(*ed, *p), 0);

    // Dropping it onto the other enemy takes that one off the map.
    PenPress(*ed, *p, {6, 4});
    PenRelease(*ed, *p, {6, 4});
    EXPECT_EQ(p->m_Stage.m_PutEnemy[0].m_nX, 6);
    EXPECT_FALSE(p->m_Stage.m_PutEnemy[1].IsPlaced());

    // A wider pick-up selects nothing and edits nothing.
    PickPress(*ed, {5, 4});
    EXPECT_EQ(PickRelease(*ed, *p, {6, 4}), -1);
    EXPECT_EQ(EnemyToEdit(*ed, *p), -1);
}

TEST_F(EditorFixture, EventCellCommands)
{
    CellPos cell{2, 3};
    EXPECT_FALSE(PasteEventAt(*ed, *p, cell));
    MapHooks refuse;
    refuse.editNewEvent = [](cEvent&) { return false; };
    EXPECT_FALSE(NewEventAt(*ed, *p, cell, refuse));
    EXPECT_TRUE(p->m_Stage.m_Events.empty());

    MapHooks accept;
    accept.editNewEvent = [](cEvent& e) { e.m_Name = "made"; return true; };
    EXPECT_TRUE(NewEventAt(*ed, *p, cell, accept));
    ASSERT_EQ(EventAt(p->m_Stage, 2, 3), 0);
    CopyEventAt(*ed, *p, cell);
    EXPECT_TRUE(PasteEventAt(*ed, *p, {5, 5}));
    EXPECT_EQ(p->m_Stage.m_Events[EventAt(p->m_Stage, 5, 5)].m_Name, "made");
    EXPECT_TRUE(CutEventAt(*ed, *p, cell));
    EXPECT_EQ(EventAt(p->m_Stage, 2, 3), -1);
    EXPECT_TRUE(DeleteEventAt(*ed, *p, {5, 5}));
    EXPECT_FALSE(DeleteEventAt(*ed, *p, {5, 5}));
    EXPECT_TRUE(p->m_Stage.m_Events.empty());
    UndoStep(*ed, *p);
    EXPECT_EQ(p->m_Stage.m_Events.size(), 1);
}

}  // namespace
