// The world map window driven as a user would: opening from the main window,
// painting, undo, the pick-up, the palettes, the cell popup, the settings and
// the close question.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>
#include <filesystem>

#include "app/world_commands.h"
#include "base/text.h"
#include "media/image_table.h"
#include "project/default_project.h"
#include "project/project.h"
#include "resources/ids.h"
#include "resources/world_menus.h"
#include "stage/map_render.h"
#include "stage/window/main_window.h"
#include "tests/gui/gui_util.h"
#include "tests/test_util.h"
#include "ui/qt_text.h"
#include "world/window/world_event_dialogs.h"
#include "world/window/world_map_window.h"

namespace {

class WorldMapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProject();
        Project& p = TheProject();
        p.m_EditConfig.m_nUndoDepth = 3;
        p.m_WorldMap.m_Chips.resize(8);
        for (int i = 0; i < 8; ++i)
            p.m_WorldMap.m_Chips[i].m_nGraphic = i;
        std::filesystem::create_directories("data/database");
        std::filesystem::create_directories("e_data");
        ASSERT_TRUE(p.m_WorldMap.SaveFile(ProjectFile::WorldMap));
        Editor() = EditorState();
        Editor().stageOpen = false;  // the world map needs no stage
        main.onQuit = [this] { ++quits; };
        ASSERT_TRUE(OpenActive(main));
        main.Widget()->resize(640, 480);
        Pump();
    }
    void TearDown() override
    {
        SetWorldEventEditorForTests(nullptr);
        if (DLG_WORLDMAP* w = WorldMapWindow()) {
            WorldEditor().modified = false;
            w->AskAndClose();
        }
        main.Close(0);
        Pump();
        ResetProject();
        ResetImages();
    }
    DLG_WORLDMAP* Open()
    {
        main.SendCommand(cmd::kWorldMap, Notify::Menu);
        Pump();
        DLG_WORLDMAP* w = WorldMapWindow();
        if (w) {
            w->Widget()->resize(640, 480);
            w->Widget()->activateWindow();
            (void)QTest::qWaitForWindowActive(w->Widget());
            view = w->MapView();
            Pump();
        }
        return w;
    }
    static QPoint CellPoint(int x, int y) { return QPoint(x * 32 + 16, y * 32 + 16); }
    void Click(Qt::MouseButton b, QPoint at)
    {
        QTest::mousePress(view, b, Qt::NoModifier, at);
        QTest::mouseRelease(view, b, Qt::NoModifier, at);
        Pump();
    }

    TempDir dir;
    RecordingSink sink;
    DLG_MAIN main;
    QWidget* view = nullptr;
    int quits = 0;
};

TEST_F(WorldMapTest, OpensWithoutAStageHidingTheStageWindowsAndClosingBringsThemBack)
{
    DLG_WORLDMAP* w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Widget()->windowTitle(), QStringLiteral("ワールドマップ"));
    EXPECT_FALSE(main.Widget()->isVisible());
    EXPECT_FALSE(main.Widget()->isEnabled());
    ASSERT_NE(w->ChipPalette(), nullptr);
    EXPECT_TRUE(w->ChipPalette()->Widget() && w->ChipPalette()->Widget()->isVisible());

    QTest::keyClick(view, Qt::Key_Escape);
    Pump();
    EXPECT_EQ(WorldMapWindow(), nullptr);
    EXPECT_TRUE(main.Widget()->isVisible());
    EXPECT_TRUE(main.Widget()->isEnabled());
    EXPECT_TRUE(sink.texts.empty());  // nothing changed: no question
    EXPECT_TRUE(std::filesystem::exists("e_data/EditConfig.dat"));
}

TEST_F(WorldMapTest, PaletteClickPaintsAndCtrlZRestores)
{
    DLG_WORLDMAP* w = Open();
    ASSERT_NE(w, nullptr);
    QWidget* chips = w->ChipPalette()->ChipArea();
    QTest::mouseClick(chips, Qt::LeftButton, Qt::NoModifier, QPoint(3 * 32 + 5, 5));
    Pump();
    EXPECT_EQ(w->ChipPalette()->StatusText(), QStringLiteral("4 : "));

    cWorldMap& map = TheProject().m_WorldMap;
    w->Widget()->activateWindow();
    (void)QTest::qWaitForWindowActive(w->Widget());
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, CellPoint(1, 1));
    QTest::mouseMove(view, CellPoint(2, 1));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, CellPoint(2, 1));
    Pump();
    EXPECT_EQ(map.Cell(1, 1), 3);
    EXPECT_EQ(map.Cell(2, 1), 3);
    EXPECT_EQ(w->StatusText(), QStringLiteral("座標 (2,1)"));
    EXPECT_TRUE(w->Action(40060)->isEnabled());

    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    Pump();
    EXPECT_EQ(map.Cell(1, 1), 0);
    EXPECT_EQ(map.Cell(2, 1), 0);
    QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
    Pump();
    EXPECT_EQ(map.Cell(2, 1), 3);
}

TEST_F(WorldMapTest, RightDragPicksUpThenPaints)
{
    cWorldMap& map = TheProject().m_WorldMap;
    map.SetCell(0, 0, 1);
    map.SetCell(1, 0, 2);
    map.SetCell(0, 1, 3);
    map.SetCell(1, 1, 4);
    ASSERT_NE(Open(), nullptr);
    QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, CellPoint(0, 0));
    QTest::mouseMove(view, CellPoint(1, 1));
    QTest::mouseRelease(view, Qt::RightButton, Qt::NoModifier, CellPoint(1, 1));
    Pump();
    EXPECT_EQ(WorldEditor().brush.width, 2);
    EXPECT_EQ(WorldEditor().brush.height, 2);
    Click(Qt::LeftButton, CellPoint(5, 6));
    EXPECT_EQ(map.Cell(5, 6), 1);
    EXPECT_EQ(map.Cell(6, 6), 2);
    EXPECT_EQ(map.Cell(5, 7), 3);
    EXPECT_EQ(map.Cell(6, 7), 4);
}

TEST_F(WorldMapTest, ToolbarAndSpaceSwitchThePalettes)
{
    DLG_WORLDMAP* w = Open();
    ASSERT_NE(w, nullptr);
    QAction* events = w->Action(cmd::kWorldPaletteEvents);
    QAction* chips = w->Action(cmd::kWorldPaletteChips);
    ASSERT_TRUE(events && chips);
    EXPECT_TRUE(chips->isChecked());
    events->trigger();
    Pump();
    EXPECT_EQ(WorldEditor().mode, WorldMode::Events);
    EXPECT_TRUE(events->isChecked());
    EXPECT_TRUE(w->EventPalette()->Widget() && w->EventPalette()->Widget()->isVisible());
    EXPECT_FALSE(w->ChipPalette()->Exists());

    w->Widget()->activateWindow();
    (void)QTest::qWaitForWindowActive(w->Widget());
    QTest::keyClick(view, Qt::Key_Space);
    Pump();
    EXPECT_EQ(WorldEditor().mode, WorldMode::Chips);
    EXPECT_TRUE(chips->isChecked());
    EXPECT_TRUE(w->ChipPalette()->Widget() && w->ChipPalette()->Widget()->isVisible());
    EXPECT_FALSE(w->EventPalette()->Exists());
}

TEST_F(WorldMapTest, EventCellPopupEnablingAndPlacing)
{
    cWorldMap& map = TheProject().m_WorldMap;
    map.m_Palette[0].m_Name = SJ("入口");
    TheProject().m_EditConfig.m_bWorldEditBeforePut = 0;
    TheProject().m_EditConfig.m_bWorldEditIfPlaced = 0;
    DLG_WORLDMAP* w = Open();
    ASSERT_NE(w, nullptr);
    w->SendCommand(cmd::kMenuPaletteEvents, Notify::Menu);
    Pump();
    w->Widget()->activateWindow();
    (void)QTest::qWaitForWindowActive(w->Widget());
    ASSERT_EQ(WorldEditor().paletteEvent, 0);

    // A left click places the palette's event; the editor is not asked.
    int opened = 0;
    SetWorldEventEditorForTests([&](cWorldEvent&) { ++opened; return true; });
    Click(Qt::LeftButton, CellPoint(2, 2));
    ASSERT_EQ(map.m_Events.size(), 1);
    EXPECT_EQ(map.m_Events[0].m_Name, SJ("入口"));
    EXPECT_EQ(opened, 0);

    // The popup on an empty cell offers only new (paste once something was copied).
    struct Seen {
        std::map<int, bool> enabled;
        std::map<int, bool> visible;
    };
    auto popupAt = [&](QPoint at, int choose) {
        Seen seen;
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            QAction* pick = nullptr;
            for (QAction* a : menu->actions()) {
                seen.enabled[a->data().toInt()] = a->isEnabled();
                seen.visible[a->data().toInt()] = a->isVisible();
                if (a->data().toInt() == choose)
                    pick = a;
            }
            if (pick)
                pick->trigger();
            menu->close();
        });
        Click(Qt::RightButton, at);
        return seen;
    };
    Seen empty = popupAt(CellPoint(4, 4), 0);
    EXPECT_FALSE(empty.enabled[40059]);
    EXPECT_FALSE(empty.enabled[40027]);
    EXPECT_FALSE(empty.enabled[40025]);
    EXPECT_TRUE(empty.enabled[40028]);
    EXPECT_FALSE(empty.visible[40070]);
    Seen onEvent = popupAt(CellPoint(2, 2), 40024);  // copy
    EXPECT_TRUE(onEvent.enabled[40059]);
    EXPECT_TRUE(onEvent.enabled[40029]);
    Seen paste = popupAt(CellPoint(4, 4), 40025);
    EXPECT_TRUE(paste.enabled[40025]);
    EXPECT_EQ(map.m_Events.size(), 2);
    EXPECT_GE(WorldEventAt(map, 4, 4), 0);
    EXPECT_TRUE(WorldEditor().modified);
}

TEST_F(WorldMapTest, SettingsDialogPullsTheWidthInAndAppliesIt)
{
    WorldMapSettings s = SettingsOf(TheProject().m_WorldMap);
    DLG_WORLDMAP_SET dlg(s);
    int result = RunModal(dlg, [&] {
        auto* width = qobject_cast<QLineEdit*>(dlg.Item(DLG_WORLDMAP_SET::IDC_WIDTH));
        ASSERT_NE(width, nullptr);
        width->selectAll();
        TypeText(width, QStringLiteral("250"));
        dlg.SendCommand(IDC_OK);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(s.width, 200);

    DLG_WORLDMAP* w = Open();
    ASSERT_NE(w, nullptr);
    w->runSettings = [&](WorldMapSettings& edited) {
        edited = s;
        return true;
    };
    w->SendCommand(cmd::kWorldSettings, Notify::Menu);
    Pump();
    EXPECT_EQ(TheProject().m_WorldMap.m_nWidth, 200);
    EXPECT_EQ(TheProject().m_WorldMap.m_nPitch, 256);
    EXPECT_TRUE(WorldEditor().modified);
    EXPECT_GT(w->ScrollBar(false)->maximum(), 150);
}

TEST_F(WorldMapTest, ClosingAfterAnEditAsks)
{
    DLG_WORLDMAP* w = Open();
    ASSERT_NE(w, nullptr);
    SelectWorldChip(WorldEditor(), 2);
    Click(Qt::LeftButton, CellPoint(3, 3));
    ASSERT_EQ(TheProject().m_WorldMap.Cell(3, 3), 2);

    sink.answer = Answer::Cancel;
    QTest::keyClick(view, Qt::Key_Escape);
    Pump();
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0], SJ("ワールドマップが変更された可能性があります。\n保存しますか？"));
    EXPECT_NE(WorldMapWindow(), nullptr);

    // Quitting the editor asks the same; Cancel stops the quit.
    main.OnClose();
    EXPECT_EQ(quits, 0);
    EXPECT_NE(WorldMapWindow(), nullptr);

    sink.answer = Answer::No;
    QTest::keyClick(view, Qt::Key_Escape);
    Pump();
    EXPECT_EQ(WorldMapWindow(), nullptr);
    EXPECT_EQ(TheProject().m_WorldMap.Cell(3, 3), 0);  // read back from the file
    EXPECT_TRUE(main.Widget()->isVisible());
}

// The starter project's world map with a placed event, saved as an image for a look.
TEST_F(WorldMapTest, ScreenshotWithAPlacedEvent)
{
    ASSERT_TRUE(WriteDefaultProject(dir.Path().string()));
    ResetProject();
    ASSERT_TRUE(LoadProject());
    cWorldMap& map = TheProject().m_WorldMap;
    DLG_WORLDMAP* w = Open();
    ASSERT_NE(w, nullptr);
    cWorldEvent e;
    e.m_Pages[0].m_nGraphic = 1;
    PlaceEvent(map.m_Events, e, 3, 2);
    // The background picture in use, seen where a cell holds no chip.
    constexpr Rgb kBack{20, 90, 160};
    ASSERT_TRUE(CreateSurface(ImageSurface(IMG_WORLDBACK), 640, 480, 24, 0));
    FillSurface(ImageSurface(IMG_WORLDBACK), kBack);
    map.m_bUseBackImage = 1;
    map.SetCell(6, 2, 99);
    WorldEditor().cursor = {5, 4};
    w->Widget()->resize(720, 560);
    w->LayoutScrollBars();
    Pump();
    QImage shot = w->Widget()->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(QStringLiteral(VANTOR_BUILD_DIR "/world_map.png")));
    QImage palette = w->ChipPalette()->Widget()->grab().toImage();
    EXPECT_TRUE(palette.save(QStringLiteral(VANTOR_BUILD_DIR "/world_chip_palette.png")));

    // The canvas shows the event's picture whole inside its cell.
    const Surface& canvas = w->Canvas();
    const Surface& sheet = ImageSurface(IMG_WORLDEVENT);
    ASSERT_FALSE(sheet.Empty());
    int perRow = sheet.Width() / 32;
    bool same = true;
    for (int y = 4; y < 28; y += 3)
        for (int x = 4; x < 28; x += 3) {
            uint32_t want = sheet.Pixel((1 % perRow) * 32 + x, (1 / perRow) * 32 + y) & 0xFFFFFF;
            if (!sheet.HasMask() || sheet.MaskRow((1 / perRow) * 32 + y)[(1 % perRow) * 32 + x] != kMaskWhite)
                same &= (canvas.Pixel(3 * 32 + x, 2 * 32 + y) & 0xFFFFFF) == want;
        }
    EXPECT_TRUE(same);
    EXPECT_EQ(canvas.Pixel(6 * 32 + 16, 2 * 32 + 16) & 0xFFFFFF, PixelOf(kBack) & 0xFFFFFF);
}

}  // namespace
