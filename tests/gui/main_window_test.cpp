// The main window driven as a user would: painting, undo, saving, quitting,
// palette modes and scrolling.
#include <gtest/gtest.h>

#include <QAction>
#include <QScrollBar>
#include <QToolBar>
#include <QWheelEvent>

#include "base/text.h"
#include "media/image_table.h"
#include "project/default_project.h"
#include "project/project.h"
#include "stage/map_render.h"
#include "stage/window/main_window.h"
#include "tests/gui/gui_util.h"
#include "tests/test_util.h"
#include "ui/qt_text.h"

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProject();
        Project& p = TheProject();
        p.m_Lands.resize(8);
        for (int i = 0; i < 8; ++i)
            p.m_Lands[i].m_nGraphic = i;
        p.m_EditConfig.m_nUndoDepth = 3;
        Editor() = EditorState();
        Editor().stageOpen = true;
        main.chooseFile = [this](std::string& path, const FileQuestion& q) {
            questions.push_back(q);
            path.clear();
            return false;
        };
        main.onQuit = [this] { ++quits; };
        ASSERT_TRUE(OpenActive(main));
        map = main.MapView();
        main.Widget()->resize(640, 480);
        Pump();
    }
    void TearDown() override
    {
        main.Close(0);
        Pump();
        ResetProject();
        ResetImages();
    }
    // Centre of a cell of the view.
    static QPoint CellPoint(int x, int y) { return QPoint(x * 32 + 16, y * 32 + 16); }
    void Wheel(int delta, Qt::KeyboardModifiers mods)
    {
        QPointF at(40, 40);
        QWheelEvent e(at, map->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(map, &e);
    }
    QString Title() const { return main.Widget()->windowTitle(); }

    TempDir dir;
    RecordingSink sink;
    DLG_MAIN main;
    QWidget* map = nullptr;
    std::vector<FileQuestion> questions;
    int quits = 0;
};

TEST_F(MainWindowTest, DragPaintsAndCtrlZRestores)
{
    cStage& stage = TheProject().m_Stage;
    QAction* undo = main.Action(40060);
    ASSERT_NE(undo, nullptr);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(Title(), ToQt(TitleText("")));

    Editor().Tools().brush.chip[0][0] = 5;
    QTest::mousePress(map, Qt::LeftButton, Qt::NoModifier, CellPoint(1, 1));
    QTest::mouseMove(map, CellPoint(2, 1));
    QTest::mouseMove(map, CellPoint(3, 2));
    QTest::mouseRelease(map, Qt::LeftButton, Qt::NoModifier, CellPoint(3, 2));
    Pump();
    EXPECT_EQ(stage.Cell(1, 1), 5);
    EXPECT_EQ(stage.Cell(2, 1), 5);
    EXPECT_EQ(stage.Cell(3, 2), 5);
    EXPECT_TRUE(Editor().stageModified);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(main.StatusText(), QStringLiteral("座標 (3,2)"));
    // The title names the stage, never its state.
    EXPECT_EQ(Title(), ToQt(TitleText("")));

    QTest::keyClick(map, Qt::Key_Z, Qt::ControlModifier);
    Pump();
    EXPECT_EQ(stage.Cell(1, 1), 0);
    EXPECT_EQ(stage.Cell(3, 2), 0);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(main.Action(40061)->isEnabled());
    QTest::keyClick(map, Qt::Key_Y, Qt::ControlModifier);
    Pump();
    EXPECT_EQ(stage.Cell(2, 1), 5);
}

TEST_F(MainWindowTest, CtrlSOnANeverSavedStageAsksForANameAndCancelKeepsTheChange)
{
    Editor().stageModified = true;
    QTest::keyClick(map, Qt::Key_S, Qt::ControlModifier);
    Pump();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_TRUE(questions[0].save);
    EXPECT_EQ(questions[0].title, SJ("保存先のファイルの選択"));
    EXPECT_TRUE(Editor().stageModified);
    EXPECT_TRUE(Editor().stagePath.empty());
    EXPECT_EQ(Title(), ToQt(TitleText("")));
}

TEST_F(MainWindowTest, QuittingWithChangesAsksAndCancelKeepsTheEditor)
{
    Editor().stageModified = true;
    sink.answer = Answer::Cancel;
    main.Widget()->close();
    Pump();
    ASSERT_EQ(sink.titles.size(), 1u);
    EXPECT_EQ(sink.titles[0], SJ("保存確認"));
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(main.Widget()->isVisible());

    // No: nothing saved, the editor ends.
    sink.answer = Answer::No;
    main.Widget()->close();
    Pump();
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(questions.empty());
}

TEST_F(MainWindowTest, SpaceCyclesThePaletteModes)
{
    const int buttons[3] = {40003, 40004, 40005};
    for (int step = 1; step <= 3; ++step) {
        QTest::keyClick(map, Qt::Key_Space);
        Pump();
        int mode = step % 3;
        EXPECT_EQ(static_cast<int>(Editor().mode), mode);
        for (int m = 0; m < 3; ++m)
            EXPECT_EQ(main.Action(buttons[m])->isChecked(), m == mode) << "step " << step;
    }
    // The toolbar chooses a mode too; with the stage closed nothing changes.
    main.Action(40005)->trigger();
    EXPECT_EQ(Editor().mode, PaletteMode::Events);
    Editor().stageOpen = false;
    main.Action(40003)->trigger();
    EXPECT_EQ(Editor().mode, PaletteMode::Events);
    EXPECT_TRUE(main.Action(40005)->isChecked());
}

TEST_F(MainWindowTest, WheelScrollsSidewaysAndWithCtrlUpAndDown)
{
    TheProject().m_Stage.ResizeMap(64, 64);
    main.LayoutScrollBars();
    QScrollBar* h = main.ScrollBar(false);
    QScrollBar* v = main.ScrollBar(true);
    const int page = map->width() / 32;
    ASSERT_GE(page, 1);
    EXPECT_EQ(h->pageStep(), page);
    EXPECT_EQ(h->maximum(), 64 - page);

    Wheel(-120, Qt::NoModifier);
    EXPECT_EQ(h->value(), 1);
    EXPECT_EQ(v->value(), 0);
    Wheel(-600, Qt::NoModifier);  // one notch forward whatever the size
    EXPECT_EQ(h->value(), 2);
    Wheel(-120, Qt::ControlModifier);
    Wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(v->value(), 2);
    Wheel(240, Qt::ControlModifier);
    EXPECT_EQ(v->value(), 0);

    // A scrolled view paints and reports the cells under the mouse.
    Editor().Tools().brush.chip[0][0] = 1;
    QTest::mouseClick(map, Qt::LeftButton, Qt::NoModifier, CellPoint(0, 0));
    EXPECT_EQ(TheProject().m_Stage.Cell(2, 0), 1);
}

// The main window inside a frame window, as the editor runs it.
class FramedMainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProject();
        Editor() = EditorState();
        Editor().stageOpen = true;
        ASSERT_TRUE(frame.Create(QStringLiteral("frame"), 20, 20, 200, 100));
        frame.onQuit = [this] { ++frameQuits; };
        main.SetupWindow(0, frame.Widget(), &frame);
        main.chooseFile = [](std::string& path, const FileQuestion&) {
            path.clear();
            return false;
        };
        main.onQuit = [this] { ++quits; };
        palette.Add(1, [](QWidget* p) { return new QWidget(p); });
        palette.CreateModeless();
        main.SetPaletteWindow(PaletteMode::Chips, &palette);
        ASSERT_TRUE(OpenActive(main));
    }
    void TearDown() override
    {
        main.Close(0);
        palette.Close(0);
        Pump();
        ResetProject();
    }

    RecordingSink sink;
    VIEW_MAIN frame;
    TestDialog palette;
    DLG_MAIN main;
    int quits = 0, frameQuits = 0;
};

TEST_F(FramedMainWindowTest, MinimizePutsThePalettesAwayAndRestoringBringsThemBack)
{
    // The main window is a window of its own, the task bar entry with a
    // minimize button; the frame behind it is never shown.
    EXPECT_EQ(main.Widget()->parentWidget(), nullptr);
    EXPECT_EQ(main.Widget()->windowType(), Qt::Window);
    EXPECT_TRUE(main.Widget()->windowFlags() & Qt::WindowMinimizeButtonHint);

    struct Case {
        const char* how;
        std::function<void()> restore;
    };
    const Case restores[] = {
        // The window manager lifts the minimized state (the task bar entry).
        {"task bar", [&] { main.Widget()->setWindowState(Qt::WindowNoState); }},
        // The application becomes active again: the frame restores.
        {"activation", [&] { frame.Restore(); }},
    };
    for (const Case& c : restores) {
        main.Widget()->setWindowState(Qt::WindowMinimized);
        Pump();
        EXPECT_TRUE(main.IsMinimized()) << c.how;
        EXPECT_TRUE(main.Widget()->windowState() & Qt::WindowMinimized) << c.how;
        EXPECT_FALSE(palette.Widget()->isVisible()) << c.how;
        c.restore();
        Pump();
        EXPECT_FALSE(main.IsMinimized()) << c.how;
        EXPECT_TRUE(main.Widget()->isVisible()) << c.how;
        EXPECT_FALSE(main.Widget()->windowState() & Qt::WindowMinimized) << c.how;
        EXPECT_TRUE(palette.Widget()->isVisible()) << c.how;
    }

    // Without a stage the palettes stay away; a restore with nothing
    // minimized shows nothing that was hidden.
    main.Widget()->setWindowState(Qt::WindowMinimized);
    Pump();
    Editor().stageOpen = false;
    frame.Restore();
    EXPECT_TRUE(main.Widget()->isVisible());
    EXPECT_FALSE(palette.Widget()->isVisible());
    palette.Widget()->hide();
    frame.Restore();
    EXPECT_FALSE(palette.Widget()->isVisible());
    EXPECT_FALSE(frame.Widget()->isVisible());
}

TEST_F(FramedMainWindowTest, ClosingTheFrameAsksToSaveLikeQuitting)
{
    Editor().stageModified = true;
    Editor().paletteModified = true;
    sink.answer = Answer::Cancel;
    frame.Widget()->close();
    Pump();
    ASSERT_EQ(sink.titles.size(), 1u);
    EXPECT_EQ(sink.texts[0], SJ("ステージが変更された可能性があります。\n保存しますか？"));
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(main.Widget()->isVisible());

    // No to both questions: nothing saved, the main window closes (storing
    // its place) and the editor ends.
    sink.answer = Answer::No;
    frame.Widget()->close();
    Pump();
    ASSERT_EQ(sink.titles.size(), 3u);
    EXPECT_EQ(sink.texts[2], SJ("イベントパレットが変更された可能性があります。\n保存しますか？"));
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(main.Exists());
    EXPECT_EQ(TheProject().m_EditConfig.WndPos(ToolWindow::Main).m_bValid, 1);

    // Without the main window the frame asks whether to end.
    sink.answer = Answer::No;
    frame.Widget()->close();
    EXPECT_EQ(sink.titles.back(), SJ("終了確認"));
    EXPECT_EQ(frameQuits, 0);
    sink.answer = Answer::Yes;
    frame.Widget()->close();
    EXPECT_EQ(frameQuits, 1);
}

// The editor on the starter project's sample stage, saved as an image for a look.
TEST_F(MainWindowTest, ScreenshotOfTheSampleStage)
{
    ASSERT_TRUE(WriteDefaultProject(dir.Path().string()));
    ResetProject();
    ASSERT_TRUE(LoadProject());
    Project& p = TheProject();
    ASSERT_TRUE(p.m_Stage.LoadFile("data\\stg\\Stage01.stg2"));
    Editor().stagePath = "data\\stg\\Stage01.stg2";
    main.UpdateTitle();
    main.Widget()->resize(720, 560);
    Editor().cursor = {6, 5};
    Editor().Tools().brush.width = 2;
    main.LayoutScrollBars();
    Pump();

    QImage shot = main.Widget()->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(QStringLiteral(VANTOR_BUILD_DIR "/main_window.png")));
    EXPECT_EQ(Title(), QStringLiteral("ヴァントール  data\\stg\\Stage01.stg2"));

    // The canvas holds each cell's chip picture (away from the grid line).
    const Surface& canvas = main.Canvas();
    const Surface& chips = ImageSurface(IMG_MAPCHIP);
    ASSERT_FALSE(chips.Empty());
    int n = p.m_Lands[p.m_Stage.Cell(0, 0)].m_nGraphic;
    EXPECT_EQ(canvas.Pixel(2, 2) & 0xFFFFFF, chips.Pixel((n % 8) * 32 + 2, (n / 8) * 32 + 2) & 0xFFFFFF);
}

}  // namespace
