// "ステージの設定", "説明", "位置グループの設定" and "位置グループの編集"
// opened from the main window on the starter project's sample stage and
// driven as a user would.
#include <gtest/gtest.h>

#include <filesystem>

#include <QAction>
#include <QPointer>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>

#include "base/text.h"
#include "media/image_table.h"
#include "media/sound_output.h"
#include "project/default_project.h"
#include "project/project.h"
#include "stage/map_render.h"
#include "stage/window/group_dialog.h"
#include "stage/window/main_window.h"
#include "stage/window/stage_dialog.h"
#include "tests/gui/gui_util.h"
#include "tests/test_util.h"
#include "ui/input_dialogs.h"
#include "ui/qt_text.h"

namespace {

// A widget of the dialog window by its control id (not one of a dialog opened over it).
template <class W = QWidget>
W* ItemOf(QWidget* dialog, int id)
{
    if (!dialog)
        return nullptr;
    for (QWidget* w : dialog->findChildren<QWidget*>())
        if (w->window() == dialog && w->property("ctrlId").toInt() == id)
            return qobject_cast<W*>(w);
    return nullptr;
}

void Click(QWidget* dialog, int id)
{
    auto* b = ItemOf<QPushButton>(dialog, id);
    ASSERT_NE(b, nullptr) << id;
    b->click();
    Pump();
}

void SetText(QWidget* dialog, int id, const QString& text)
{
    auto* e = ItemOf<QLineEdit>(dialog, id);
    ASSERT_NE(e, nullptr) << id;
    e->setFocus();
    e->selectAll();
    TypeText(e, text);
    Pump();
}

void ChooseEntry(QWidget* dialog, int id, int index)
{
    auto* c = ItemOf<QComboBox>(dialog, id);
    ASSERT_NE(c, nullptr) << id;
    c->setCurrentIndex(index);
    emit c->activated(index);
    Pump();
}

void ClickLine(QListWidget* list, int line)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(line)).center());
    Pump();
}

// Runs body once a modal dialog other than the current one is up (body gets
// its window, or null when none came). It looks again from a fresh timer each
// time, so that a dialog opening meanwhile runs its loop outside this one.
void WhenModalAfter(QPointer<QWidget> outer, std::function<void(QWidget*)> body, int tries)
{
    QTimer::singleShot(tries == 0 ? 0 : 10, [outer, body, tries] {
        QWidget* d = CurrentModalDialog();
        if ((!d || d == outer) && tries < 200) {
            WhenModalAfter(outer, body, tries + 1);
            return;
        }
        QPointer<QWidget> window = d == outer ? nullptr : d;
        body(window);
        // A body that stopped early leaves its dialog open: close it, so that
        // the test fails instead of waiting.
        if (window && window->isVisible())
            if (auto* hook = static_cast<cHook*>(window->property("cHook").value<void*>()); hook && hook->dialog)
                hook->dialog->Close(0);
    });
}

void WhenModal(std::function<void(QWidget*)> body) { WhenModalAfter(CurrentModalDialog(), std::move(body), 0); }

class StageDialogsTest : public ::testing::Test {
protected:
    // The starter project (its music takes a while to make) is written once;
    // each test loads it afresh.
    static void SetUpTestSuite()
    {
        project = new TempDir;
        written = WriteDefaultProject(project->Path().string());
    }
    static void TearDownTestSuite()
    {
        delete project;
        project = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(written);
        std::filesystem::current_path(project->Path());
        ResetProject();
        ASSERT_TRUE(LoadProject());
        ASSERT_TRUE(TheProject().m_Stage.LoadFile("data\\stg\\Stage01.stg2"));
        Editor() = EditorState();
        Editor().stageOpen = true;
        sound.musicOpen = true;
        oldSound = SetSoundOutput(&sound);
        main.chooseFile = [](std::string&, const FileQuestion&) { return false; };
        ASSERT_TRUE(OpenActive(main));
        main.Widget()->resize(480, 400);
        Pump();
    }
    void TearDown() override
    {
        main.Close(0);
        Pump();
        SetSoundOutput(oldSound);
        ResetProject();
        ResetImages();
    }
    cStage& Stage() { return TheProject().m_Stage; }
    // Paints the main map and gives the canvas pixel at a cell's centre.
    uint32_t MainPixel(int x, int y)
    {
        main.MapView()->grab();
        return main.Canvas().Pixel(x * 32 + 16, y * 32 + 16) & 0xFFFFFF;
    }

    static inline TempDir* project = nullptr;
    static inline bool written = false;
    RecordingSink sink;
    SilentSoundOutput sound;
    SoundOutput* oldSound = nullptr;
    DLG_MAIN main;
};

TEST_F(StageDialogsTest, WidthOneAndOkAppliesTheStage)
{
    Editor().Tools().brush.chip[0][0] = 3;
    ASSERT_TRUE(main.PushUndo());
    ASSERT_TRUE(main.Action(40060)->isEnabled());
    const int column0 = Stage().Cell(0, 4);
    sink.answer = Answer::Yes;
    WhenModal([](QWidget* d) {
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("ステージの設定"));
        EXPECT_EQ(d->focusWidget(), ItemOf(d, DLG_STAGE::IDC_NAME));
        SetText(d, DLG_STAGE::IDC_WIDTH, QStringLiteral("1"));
        Click(d, IDC_OK);
    });
    main.SendCommand(40115);
    Pump();

    EXPECT_EQ(sink.titles, std::vector<std::string>{SJ("マップの縮小")});
    EXPECT_EQ(Stage().m_nWidth, 1);
    EXPECT_EQ(Stage().m_nPitch, 2);
    EXPECT_EQ(Stage().Cell(0, 4), column0);
    EXPECT_EQ(main.ScrollBar(false)->maximum(), 0);
    EXPECT_FALSE(main.Action(40060)->isEnabled());
    EXPECT_EQ(Editor().undo.UndoCount() + Editor().undo.RedoCount(), 0);
    EXPECT_TRUE(Editor().stageModified);
    // Applied: the placements right of column 0 are off the map, the events gone.
    for (const cPutEnemy& p : Stage().m_PutEnemy)
        EXPECT_FALSE(p.IsPlaced());
    EXPECT_TRUE(Stage().m_Events.empty());
}

TEST_F(StageDialogsTest, NoToTheShrinkQuestionAndCancelChangeNothing)
{
    cStage before;
    before.CopyFrom(Stage());
    sink.answer = Answer::No;
    WhenModal([](QWidget* d) {
        ASSERT_NE(d, nullptr);
        SetText(d, DLG_STAGE::IDC_NAME, QStringLiteral("別の名前"));
        SetText(d, DLG_STAGE::IDC_HEIGHT, QStringLiteral("5"));
        ChooseEntry(d, DLG_STAGE::IDC_BACK, 2);
        // A new condition confirmed in its dialog, then a deleted one.
        WhenModal([](QWidget* c) {
            ASSERT_NE(c, nullptr);
            SetText(c, DLG_ENDCOND::IDC_TEXT, QStringLiteral("新しい条件"));
            Click(c, IDC_OK);
        });
        Click(d, 1223);
        EXPECT_EQ(ItemOf<QListWidget>(d, DLG_STAGE::IDC_DEFEAT)->item(0)->text(), QStringLiteral("新しい条件"));
        Click(d, 1221);
        Click(d, IDC_OK);  // answered No: back in the dialog
        ASSERT_TRUE(d->isVisible());
        Click(d, IDC_CANCEL);
    });
    main.SendCommand(40115);
    Pump();
    EXPECT_EQ(sink.texts.size(), 1u);
    EXPECT_TRUE(Stage().Equals(before));
    EXPECT_FALSE(Editor().stageModified);
}

TEST_F(StageDialogsTest, InsertThenCancelLeavesTheListAndEditStoresTheCondition)
{
    const int victories = Stage().m_Victory.size();
    ASSERT_GT(victories, 0);
    WhenModal([](QWidget* d) {
        ASSERT_NE(d, nullptr);
        auto* list = ItemOf<QListWidget>(d, DLG_STAGE::IDC_VICTORY);
        const int lines = list->count();
        WhenModal([](QWidget* c) { ASSERT_NE(c, nullptr); Click(c, IDC_CANCEL); });
        Click(d, 1219);
        EXPECT_EQ(list->count(), lines);

        // Ctrl+I inserts as well; its dialog shows the target's fields by target.
        list->setFocus();
        list->setCurrentRow(0);
        WhenModal([](QWidget* c) {
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c->windowTitle(), QStringLiteral("説明"));
            EXPECT_FALSE(ItemOf(c, DLG_ENDCOND::IDC_CHARA)->isEnabled());
            ChooseEntry(c, DLG_ENDCOND::IDC_TARGET, 4);
            EXPECT_TRUE(ItemOf(c, DLG_ENDCOND::IDC_X)->isEnabled());
            EXPECT_FALSE(ItemOf(c, DLG_ENDCOND::IDC_GROUP)->isEnabled());
            SetText(c, DLG_ENDCOND::IDC_TEXT, QStringLiteral("砦に入る"));
            SetText(c, DLG_ENDCOND::IDC_X, QStringLiteral("70"));  // clamped to 64
            ChooseEntry(c, DLG_ENDCOND::IDC_SHOW_GROUP, 1);
            EXPECT_EQ(ItemOf<QComboBox>(c, DLG_ENDCOND::IDC_SHOW_GROUP)->itemText(0), QStringLiteral("なし"));
            Click(c, IDC_OK);
        });
        QTest::keyClick(list, Qt::Key_I, Qt::ControlModifier);
        Pump();
        EXPECT_EQ(list->count(), lines + 1);
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("砦に入る"));
        Click(d, IDC_OK);
    });
    main.SendCommand(40115);
    Pump();
    ASSERT_EQ(Stage().m_Victory.size(), victories + 1);
    const cEndCond& c = Stage().m_Victory[0];
    EXPECT_EQ(c.m_Text, SJ("砦に入る"));
    EXPECT_EQ(c.m_nTarget, 4);
    EXPECT_EQ(c.m_nX, 19);  // 64 on OK, then pulled into the 20-column map
    EXPECT_EQ(c.m_nShowGroup, 1);
    EXPECT_EQ(c.m_nCharaId, 0);  // disabled: not stored
}

TEST_F(StageDialogsTest, PlayAsksTheOutputForTheSelectedMusic)
{
    WhenModal([this](QWidget* d) {
        ASSERT_NE(d, nullptr);
        ChooseEntry(d, DLG_STAGE::IDC_BGM, 2);
        Click(d, DLG_STAGE::IDC_PLAY);
        EXPECT_EQ(sound.music, "bgm\\Battle.ogg");
        EXPECT_EQ(sound.volume, TheProject().m_Database.m_Bgms[2].m_nVolume);
        EXPECT_TRUE(sink.texts.empty());
        ChooseEntry(d, DLG_STAGE::IDC_BGM, 0);  // "なし": nothing to play
        Click(d, DLG_STAGE::IDC_PLAY);
        ASSERT_EQ(sink.texts.size(), 1u);
        EXPECT_EQ(sink.texts[0].rfind(SJ("読み込み失敗！"), 0), 0u);
        ChooseEntry(d, DLG_STAGE::IDC_BGM, 1);
        Click(d, DLG_STAGE::IDC_PLAY);
        EXPECT_EQ(sound.music, "bgm\\Free.mid");
        Click(d, IDC_CANCEL);
    });
    main.SendCommand(40115);
    Pump();
    EXPECT_EQ(sound.music, "");  // stopped with the dialog
}

TEST_F(StageDialogsTest, ValuesWithoutEntriesSurviveOk)
{
    // A stage without position groups: the start-group combo is empty.
    Stage().m_GroupPos.clear();
    Stage().m_nAllyStartGroup = 0;
    Stage().m_Special.emplace_back().m_nShowGroup = 0;
    WhenModal([](QWidget* d) {
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(ItemOf<QComboBox>(d, DLG_STAGE::IDC_START_GROUP)->count(), 0);
        auto* list = ItemOf<QListWidget>(d, DLG_STAGE::IDC_SPECIAL);
        list->setCurrentRow(0);
        WhenModal([](QWidget* c) { ASSERT_NE(c, nullptr); Click(c, IDC_OK); });
        Click(d, 1228);
        Click(d, IDC_OK);
    });
    main.SendCommand(40115);
    Pump();
    EXPECT_EQ(Stage().m_nAllyStartGroup, 0);
    EXPECT_EQ(Stage().m_Special[0].m_nShowGroup, 0);
    EXPECT_EQ(Stage().m_nBgm, 0);
}

TEST_F(StageDialogsTest, ANewStartGroupMovesTheStartMarkers)
{
    const uint32_t allyBefore = MainPixel(1, 6), fortBefore = MainPixel(17, 6);
    WhenModal([](QWidget* d) {
        ASSERT_NE(d, nullptr);
        auto* groups = ItemOf<QComboBox>(d, DLG_STAGE::IDC_START_GROUP);
        EXPECT_EQ(groups->itemText(1), QStringLiteral("1 砦"));
        ChooseEntry(d, DLG_STAGE::IDC_START_GROUP, 1);
        Click(d, IDC_OK);
    });
    main.SendCommand(40115);
    Pump();
    EXPECT_EQ(Stage().m_nAllyStartGroup, 1);
    EXPECT_NE(MainPixel(1, 6), allyBefore);
    EXPECT_NE(MainPixel(17, 6), fortBefore);
}

TEST_F(StageDialogsTest, DataCountOfOneHundredGivesNinetyNine)
{
    cStage before;
    before.CopyFrom(Stage());
    WhenModal([](QWidget* d) {
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("位置グループの設定"));
        auto* list = ItemOf<QListWidget>(d, DLG_GROUPPOS::IDC_LIST);
        EXPECT_EQ(list->item(1)->text(), QStringLiteral("砦       中心座標(18,7)"));
        WhenModal([](QWidget* input) {
            ASSERT_NE(input, nullptr);
            auto* edit = ItemOf<QLineEdit>(input, DLG_INPUT::IDC_EDIT);
            edit->selectAll();
            TypeText(edit, QStringLiteral("100"));
            Pump();
            EXPECT_EQ(edit->text(), QStringLiteral("99"));
            Click(input, IDC_OK);
        });
        Click(d, DLG_GROUPPOS::IDC_COUNT);
        EXPECT_EQ(list->count(), 99);
        // "新規" is refused at 99.
        Click(d, DLG_GROUPPOS::IDC_NEW);
        EXPECT_EQ(list->count(), 99);
        Click(d, IDC_CANCEL);
    });
    main.SendCommand(40116);
    Pump();
    EXPECT_TRUE(Stage().Equals(before));
    EXPECT_FALSE(Editor().stageModified);
}

TEST_F(StageDialogsTest, ClearKeysAndCopyPaste)
{
    WhenModal([](QWidget* d) {
        ASSERT_NE(d, nullptr);
        auto* list = ItemOf<QListWidget>(d, DLG_GROUPPOS::IDC_LIST);
        list->setFocus();
        ClickLine(list, 1);
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);  // before the selection
        Pump();
        QStringList lines;
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text() + (list->item(i)->isSelected() ? QStringLiteral("*") : QString());
        ASSERT_EQ(list->count(), 3) << lines.join(QStringLiteral(" | ")).toStdString();
        EXPECT_EQ(list->item(1)->text(), list->item(2)->text());
        ClickLine(list, 0);
        QTest::keyClick(list, Qt::Key_Delete);  // clears, removes nothing
        Pump();
        EXPECT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("         中心座標(0,0)"));
        Click(d, IDC_OK);
    });
    main.SendCommand(40116);
    Pump();
    ASSERT_EQ(Stage().m_GroupPos.size(), 3);
    EXPECT_TRUE(Stage().m_GroupPos[0].m_Positions.empty());
    EXPECT_EQ(Stage().m_GroupPos[2].m_Name, SJ("砦"));
    EXPECT_TRUE(Editor().stageModified);
    EXPECT_FALSE(main.Action(40060)->isEnabled());  // no undo step
}

TEST_F(StageDialogsTest, GroupEditorTogglesCellsAndOkStoresThem)
{
    const std::vector<CellPos> fort = Stage().m_GroupPos[1].m_Positions;
    WhenModal([&](QWidget* d) {
        ASSERT_NE(d, nullptr);
        auto* list = ItemOf<QListWidget>(d, DLG_GROUPPOS::IDC_LIST);
        list->setCurrentRow(1);
        WhenModal([&](QWidget* e) {
            ASSERT_NE(e, nullptr);
            EXPECT_EQ(e->windowTitle(), QStringLiteral("位置グループの編集"));
            auto* map = e->findChild<MapViewWidget*>();
            ASSERT_NE(map, nullptr);
            // The whole 20 x 15 map fits: nothing to scroll.
            EXPECT_GE(map->width(), 20 * 32);
            EXPECT_GE(map->height(), 15 * 32);
            EXPECT_EQ(ItemOf<QScrollBar>(e, DLG_GROUPPOS_SET::IDC_SCROLL_H)->maximum(), 0);
            QImage shot = e->grab().toImage();
            EXPECT_TRUE(shot.save(QStringLiteral(VANTOR_BUILD_DIR "/group_editor.png")));
            // The fort's cells carry the marker; the allies' start cells do not.
            const Surface& canvas = map->Canvas();
            const Surface& markers = ImageSurface(IMG_MAPCHARA);
            ASSERT_FALSE(markers.Empty());
            uint32_t marker = markers.Pixel(16, 64 + 16) & 0xFFFFFF;
            EXPECT_EQ(canvas.Pixel(17 * 32 + 16, 6 * 32 + 16) & 0xFFFFFF, marker);
            EXPECT_NE(canvas.Pixel(1 * 32 + 16, 6 * 32 + 16) & 0xFFFFFF, marker);

            auto at = [](int x, int y) { return QPoint(x * 32 + 16, y * 32 + 16); };
            QTest::mouseClick(map, Qt::LeftButton, {}, at(17, 6));  // removed
            QTest::mouseClick(map, Qt::LeftButton, {}, at(5, 5));   // added
            QTest::mouseClick(map, Qt::LeftButton, {}, at(6, 5));   // added
            QTest::mouseClick(map, Qt::LeftButton, {}, at(6, 5));   // removed again
            QMouseEvent move(QEvent::MouseMove, QPointF(at(3, 4)), map->mapToGlobal(QPointF(at(3, 4))), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(map, &move);
            EXPECT_EQ(e->findChild<QStatusBar*>()->currentMessage(), QStringLiteral("座標 (3,4)"));
            SetText(e, DLG_GROUPPOS_SET::IDC_NAME, QStringLiteral("砦の門"));
            SetText(e, DLG_GROUPPOS_SET::IDC_X, QStringLiteral("25"));  // clamped to 19
            Click(e, IDC_OK);
        });
        Click(d, DLG_GROUPPOS::IDC_EDIT);
        EXPECT_EQ(list->item(1)->text(), QStringLiteral("砦の門   中心座標(19,7)"));
        Click(d, IDC_OK);
    });
    main.SendCommand(40116);
    Pump();
    std::vector<CellPos> expected(fort.begin() + 1, fort.end());
    expected.push_back({5, 5});
    EXPECT_EQ(Stage().m_GroupPos[1].m_Positions, expected);
    EXPECT_EQ(Stage().m_GroupPos[1].m_Name, SJ("砦の門"));
    EXPECT_EQ(Stage().m_GroupPos[1].m_nX, 19);
    EXPECT_TRUE(Editor().stageModified);
}

}  // namespace
