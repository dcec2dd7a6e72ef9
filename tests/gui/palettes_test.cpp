// The chip and enemy palettes beside the main window, driven as a user would:
// choosing chips and pens, the keys that belong to the main window, one
// palette per mode, their places, placing and editing enemies.
#include <gtest/gtest.h>

#include <QAction>
#include <QPainter>
#include <QPixmap>
#include <cstdlib>
#include <filesystem>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>

#include "base/text.h"
#include "media/image_table.h"
#include "project/project.h"
#include "stage/window/chip_palette.h"
#include "stage/window/enemy_palette.h"
#include "stage/window/enemy_set_dialog.h"
#include "stage/window/main_window.h"
#include "tests/gui/gui_util.h"
#include "tests/test_util.h"
#include "ui/qt_text.h"

namespace {

class PaletteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProject();
        Project& p = TheProject();
        p.m_Lands.resize(17);
        for (int i = 0; i < 17; ++i) {
            p.m_Lands[i].m_nGraphic = i;
            p.m_Lands[i].m_Name = StrPrintf("land%d", i);
        }
        p.m_Enemies.resize(3);
        p.m_Enemies[1].m_Name = SJ("山賊");
        p.m_Enemies[1].m_nLevel = 3;
        p.m_EditConfig.m_nUndoDepth = 5;
        p.m_Stage.m_PutEnemy.resize(3);
        for (int i = 0; i < 3; ++i) {
            p.m_Stage.m_PutEnemy[i].m_nEnemy = 1;
            p.m_Stage.m_PutEnemy[i].m_nX = i;
            p.m_Stage.m_PutEnemy[i].m_nY = 0;
        }
        Editor() = EditorState();
        Editor().stageOpen = true;
        Open();
    }
    void Open()
    {
        ASSERT_TRUE(OpenActive(main));
        main.Widget()->resize(640, 480);
        map = main.MapView();
        Pump();
    }
    void TearDown() override
    {
        main.Close(0);
        Pump();
        ResetProject();
        ResetImages();
    }
    void Activate(QWidget* w)
    {
        Pump();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        Pump();
        ASSERT_TRUE(w->isActiveWindow());
    }
    static QPoint CellPoint(int x, int y) { return QPoint(x * 32 + 16, y * 32 + 16); }
    QListWidget* EnemyList() const { return qobject_cast<QListWidget*>(main.EnemyPalette()->Item(DLG_ENEMY::IDC_LIST)); }
    void ClickLine(int line)
    {
        QListWidget* l = EnemyList();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, l->visualItemRect(l->item(line)).center());
        Pump();
    }

    RecordingSink sink;
    DLG_MAIN main;
    QWidget* map = nullptr;
};

TEST_F(PaletteTest, PaletteClickPaintsThatChip)
{
    DLG_CHIP* chips = main.ChipPalette();
    ASSERT_NE(chips, nullptr);
    ASSERT_TRUE(chips->Widget()->isVisible());
    cStage& stage = TheProject().m_Stage;
    // Nothing chosen yet: a click on the map paints nothing.
    Activate(main.Widget());
    QTest::mouseClick(map, Qt::LeftButton, Qt::NoModifier, CellPoint(1, 1));
    EXPECT_EQ(stage.Cell(1, 1), 0);
    EXPECT_FALSE(Editor().undo.CanUndo());

    Activate(chips->Widget());
    QTest::mouseClick(chips->View(), Qt::LeftButton, Qt::NoModifier, QPoint(5 * 32 + 3, 1 * 32 + 3));
    EXPECT_EQ(Editor().tools[0].brush.chip[0][0], 13);
    EXPECT_EQ(chips->StatusText(), QStringLiteral("14 : land13"));
    Activate(main.Widget());
    QTest::mouseClick(map, Qt::LeftButton, Qt::NoModifier, CellPoint(1, 1));
    EXPECT_EQ(stage.Cell(1, 1), 13);

    // Below the last chip: a number beyond the count, no status, no paint.
    QTest::mouseClick(chips->View(), Qt::LeftButton, Qt::NoModifier, QPoint(7 * 32 + 3, 2 * 32 + 3));
    EXPECT_EQ(chips->StatusText(), QString());
    QTest::mouseClick(map, Qt::LeftButton, Qt::NoModifier, CellPoint(2, 2));
    EXPECT_EQ(stage.Cell(2, 2), 0);
}

TEST_F(PaletteTest, PenButtonsSetTheTool)
{
    DLG_CHIP* chips = main.ChipPalette();
    for (int command : {40047, 40042, 40043, 40041}) {
        chips->PenButton(command)->trigger();
        Pump();
        PenTool expected = command == 40047 ? PenTool::Line : command == 40042 ? PenTool::Rectangle
                         : command == 40043 ? PenTool::Fill : PenTool::Normal;
        EXPECT_EQ(Editor().tools[0].pen, expected) << command;
        EXPECT_TRUE(chips->PenButton(command)->isChecked());
    }
}

TEST_F(PaletteTest, OnePalettePerModeAndSpaceFromAPalette)
{
    QWidget* chips = main.ChipPalette()->Widget();
    QWidget* enemies = main.EnemyPalette()->Widget();
    EXPECT_TRUE(chips->isVisible());
    EXPECT_FALSE(enemies->isVisible());
    // Space in the chip palette cycles the mode, as in the main window.
    Activate(chips);
    QTest::keyClick(main.ChipPalette()->View(), Qt::Key_Space);
    Pump();
    EXPECT_EQ(Editor().mode, PaletteMode::Enemies);
    EXPECT_FALSE(chips->isVisible());
    EXPECT_TRUE(enemies->isVisible());
    Activate(enemies);
    QTest::keyClick(EnemyList(), Qt::Key_Space);
    Pump();
    EXPECT_EQ(Editor().mode, PaletteMode::Events);
    EXPECT_FALSE(chips->isVisible());
    EXPECT_FALSE(enemies->isVisible());
}

// F5 in a palette is test play, as in the main window: with no game program to
// find both report the same.
TEST_F(PaletteTest, F5FromAPaletteReachesTheMainWindow)
{
    Activate(main.Widget());
    QTest::keyClick(main.MapView(), Qt::Key_F5);
    Pump();
    ASSERT_FALSE(sink.texts.empty());
    const std::vector<std::string> fromMap = sink.texts;
    sink.texts.clear();
    Activate(main.ChipPalette()->Widget());
    QTest::keyClick(main.ChipPalette()->View(), Qt::Key_F5);
    Pump();
    EXPECT_EQ(sink.texts, fromMap);
}

TEST_F(PaletteTest, PaletteReopensWhereItClosed)
{
    QWidget* chips = main.ChipPalette()->Widget();
    chips->move(300, 200);
    Pump();
    QPoint at = chips->pos();
    main.Close(0);
    Pump();
    const cWndPosInfo& place = TheProject().m_EditConfig.WndPos(ToolWindow::ChipPalette);
    EXPECT_TRUE(place.m_bValid);
    EXPECT_EQ(place.m_nLeft, at.x());
    Open();
    EXPECT_EQ(main.ChipPalette()->Widget()->pos(), at);
}

TEST_F(PaletteTest, SelectedLinePlacesTheEnemy)
{
    main.SetPaletteMode(PaletteMode::Enemies);
    Activate(main.EnemyPalette()->Widget());
    ClickLine(1);
    EXPECT_EQ(Editor().tools[1].brush.enemy[0][0], 1);
    Activate(main.Widget());
    QTest::mouseClick(map, Qt::LeftButton, Qt::NoModifier, CellPoint(3, 2));
    Pump();
    const cPutEnemy& e = TheProject().m_Stage.m_PutEnemy[1];
    EXPECT_EQ(e.m_nX, 3);
    EXPECT_EQ(e.m_nY, 2);
    EXPECT_EQ(Cp932ToUtf8(FromQt(EnemyList()->item(1)->text())), "グ- (3,2) 1-山賊     LV3 ");

    // Ctrl+Z in the palette reaches the main window's undo.
    Activate(main.EnemyPalette()->Widget());
    QTest::keyClick(EnemyList(), Qt::Key_Z, Qt::ControlModifier);
    Pump();
    EXPECT_EQ(TheProject().m_Stage.m_PutEnemy[1].m_nX, 1);
    EXPECT_EQ(Cp932ToUtf8(FromQt(EnemyList()->item(1)->text())), "グ- (1,0) 1-山賊     LV3 ");
}

TEST_F(PaletteTest, DeleteInThePaletteIsUndoneByCtrlZ)
{
    main.SetPaletteMode(PaletteMode::Enemies);
    Activate(main.EnemyPalette()->Widget());
    ClickLine(0);
    QTest::keyClick(EnemyList(), Qt::Key_Delete);
    Pump();
    EXPECT_EQ(TheProject().m_Stage.m_PutEnemy.size(), 2);
    EXPECT_EQ(EnemyList()->count(), 3);  // two and the append line
    QTest::keyClick(EnemyList(), Qt::Key_Z, Qt::ControlModifier);
    Pump();
    EXPECT_EQ(TheProject().m_Stage.m_PutEnemy.size(), 3);
    EXPECT_EQ(EnemyList()->count(), 4);
}

TEST_F(PaletteTest, RightDoubleClickOpensThePlacement)
{
    main.SetPaletteMode(PaletteMode::Enemies);
    Activate(main.Widget());
    QString title;
    QTimer::singleShot(0, [&title] {
        if (QDialog* dlg = CurrentModalDialog()) {
            title = dlg->windowTitle();
            dlg->reject();  // Escape: Cancel
        }
    });
    QTest::mouseDClick(map, Qt::RightButton, Qt::NoModifier, CellPoint(2, 0));
    Pump();
    EXPECT_EQ(title, QStringLiteral("敵"));
    EXPECT_EQ(main.EnemyPalette()->Selection(), 2);
    EXPECT_FALSE(Editor().picking);
}

TEST_F(PaletteTest, GroupOffDisablesItsEditAndKeepsTheNumber)
{
    cPutEnemy placement = TheProject().m_Stage.m_PutEnemy[0];
    placement.m_bGroup = 0;
    placement.m_nGroup = 0;
    DLG_ENEMY_SET dlg(placement);
    RunModal(dlg, [&] {
        QWidget* edit = dlg.Item(DLG_ENEMY_SET::IDC_GROUP);
        auto* check = qobject_cast<QCheckBox*>(dlg.Item(DLG_ENEMY_SET::IDC_GROUP_CHECK));
        EXPECT_FALSE(edit->isEnabled());
        check->click();
        EXPECT_TRUE(edit->isEnabled());
        check->click();
        EXPECT_FALSE(edit->isEnabled());
        // The enemy combo: "未設定", then "n-name".
        auto* enemy = qobject_cast<QComboBox*>(dlg.Item(DLG_ENEMY_SET::IDC_ENEMY));
        EXPECT_EQ(enemy->itemText(0), QStringLiteral("未設定"));
        EXPECT_EQ(enemy->itemText(1), QStringLiteral("1-山賊"));
        qobject_cast<QPushButton*>(dlg.Item(IDC_OK))->click();
    });
    EXPECT_EQ(dlg.Result(), 1);
    EXPECT_EQ(placement.m_nGroup, 0);
    EXPECT_EQ(placement.m_bGroup, 0);
}

}  // namespace

namespace {

// Pictures of a project's remembered stage with each palette beside the main
// window, for a person to look at: set VANTOR_SHOT_PROJECT (a project folder)
// and VANTOR_SHOT_DIR (where the PNG files go).
TEST(PaletteShots, SampleStageWithEachPalette)
{
    const char* project = std::getenv("VANTOR_SHOT_PROJECT");
    const char* out = std::getenv("VANTOR_SHOT_DIR");
    if (!project || !out)
        GTEST_SKIP() << "VANTOR_SHOT_PROJECT and VANTOR_SHOT_DIR unset";
    std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(project);
    ResetProject();
    ASSERT_EQ(LoadProject(), 1);
    OpenRememberedStage();
    Editor() = EditorState();
    Editor().stageOpen = true;
    Editor().stagePath = TheProject().m_EditConfig.m_StagePath;
    // A few placements (not saved): on the map, one off it.
    Project& p = TheProject();
    for (int i = 1; i < std::min(p.m_Enemies.size(), 5); ++i) {
        cPutEnemy& e = p.m_Stage.m_PutEnemy.emplace_back();
        e.m_nEnemy = i;
        e.m_nX = i < 4 ? 2 * i : -1;
        e.m_nY = i < 4 ? 1 + i : -1;
        e.m_bGroup = i == 2;
        e.m_nGroup = 3;
    }
    DLG_MAIN main;
    ASSERT_TRUE(OpenActive(main));
    main.Widget()->resize(800, 600);
    Editor().tools[0].brush.chip[0][0] = 3;
    const char* names[] = {"chips", "enemies"};
    for (int mode = 0; mode < 2; ++mode) {
        main.SetPaletteMode(static_cast<PaletteMode>(mode));
        if (mode == 1)
            main.EnemyPalette()->SelectPlacement(0);
        Pump();
        QWidget* palette = mode == 0 ? main.ChipPalette()->Widget() : main.EnemyPalette()->Widget();
        QPixmap left = main.Widget()->grab(), right = palette->grab();
        QPixmap both(left.width() + right.width() + 8, std::max(left.height(), right.height()));
        both.fill(Qt::darkGray);
        QPainter painter(&both);
        painter.drawPixmap(0, 0, left);
        painter.drawPixmap(left.width() + 8, 0, right);
        painter.end();
        EXPECT_TRUE(both.save(QString::fromUtf8(out) + QStringLiteral("/palette_%1.png").arg(names[mode])));
    }
    main.Close(0);
    Pump();
    std::filesystem::current_path(old);
    ResetProject();
    ResetImages();
}

}  // namespace
