// The event palette and the event editor driven as a user would: the palette
// beside the map, painting events, the editor's pages and actions, the start
// event.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>

#include "base/text.h"
#include "events/event_edit.h"
#include "events/window/event_palette.h"
#include "events/window/event_set_dialog.h"
#include "media/image_table.h"
#include "project/default_project.h"
#include "project/project.h"
#include "stage/window/main_window.h"
#include "tests/gui/gui_util.h"
#include "tests/test_util.h"
#include "ui/qt_text.h"
#include "ui/select_graphic.h"

using namespace evctl;

namespace {

QStringList Lines(QWidget* w)
{
    QStringList out;
    if (auto* l = qobject_cast<QListWidget*>(w))
        for (int i = 0; i < l->count(); ++i)
            out << l->item(i)->text();
    return out;
}

QPushButton* ButtonOf(QWidget* w) { return qobject_cast<QPushButton*>(w); }

// The OK button of the modal dialog running now.
QPushButton* ModalOk()
{
    QDialog* d = CurrentModalDialog();
    if (!d)
        return nullptr;
    for (QPushButton* b : d->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("OK"))
            return b;
    return nullptr;
}

// Runs body on the next modal dialog once it runs (polling, so that events
// processed before it opens do not use the call up).
void WhenModal(std::function<void(QDialog*)> body, int tries = 200)
{
    QTimer::singleShot(10, [body, tries] {
        if (QDialog* d = CurrentModalDialog(); d && d->isVisible())
            body(d);
        else if (tries > 0)
            WhenModal(body, tries - 1);
    });
}

cEvent EventWithKinds(std::initializer_list<int> kinds)
{
    cEvent ev;
    for (int k : kinds)
        ev.m_Pages[0].m_Actions.push_back(cEventAct(k));
    return ev;
}

std::vector<int> KindsOf(const RecordList<cEventAct>& actions)
{
    std::vector<int> out;
    for (const cEventAct& a : actions)
        out.push_back(a.m_nKind);
    return out;
}

class EventEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProject();
        Editor() = EditorState();
    }
    void TearDown() override
    {
        ResetProject();
        ResetImages();
    }

    TempDir dir;
    RecordingSink sink;
};

}  // namespace

TEST_F(EventEditorTest, CheckBoxesEnableTheirEditsAndNewPagesCountNoActions)
{
    cEvent ev = EventWithKinds({1, 1});
    cEvent before = ev;
    DLG_EVENT_SET dlg(&ev, false);
    int result = RunModal(dlg, [&] {
        EXPECT_FALSE(dlg.Item(kTurnABase)->isEnabled());
        qobject_cast<QCheckBox*>(dlg.Item(kTurnAOn))->click();
        Pump();
        EXPECT_TRUE(dlg.Item(kTurnABase)->isEnabled());
        EXPECT_TRUE(dlg.Item(kTurnAStep)->isEnabled());
        EXPECT_FALSE(dlg.Item(kTurnBFrom)->isEnabled());

        auto* pages = qobject_cast<QListWidget*>(dlg.Item(kPages));
        pages->setCurrentRow(1);  // the append line
        Pump();
        ButtonOf(dlg.Item(kPageInsert))->click();
        Pump();
        QStringList lines = Lines(pages);
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines[0], ToQt(SJ("1 ｱｸｼｮﾝ×2")));
        EXPECT_EQ(lines[1], ToQt(SJ("2 ｱｸｼｮﾝ×0")));
        // The new page is shown, with its own (default) conditions.
        EXPECT_FALSE(qobject_cast<QCheckBox*>(dlg.Item(kTurnAOn))->isChecked());
        pages->setCurrentRow(0);
        Pump();
        EXPECT_TRUE(qobject_cast<QCheckBox*>(dlg.Item(kTurnAOn))->isChecked());
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(ev.Equals(before));  // cancelled
}

TEST_F(EventEditorTest, TheGraphicComesFromTheEventSheetChooser)
{
    cEvent ev;
    int askedKind = -1;
    SetGraphicChooserForTests([&](int kind, int& value) {
        askedKind = kind;
        value = 37;
        return 1;
    });
    DLG_EVENT_SET dlg(&ev, false);
    RunModal(dlg, [&] {
        ButtonOf(dlg.Item(kChooseGraphic))->click();
        Pump();
        EXPECT_EQ(qobject_cast<QLineEdit*>(dlg.Item(kGraphic))->text(), QStringLiteral("37"));
        ButtonOf(dlg.Item(IDC_OK))->click();
    });
    SetGraphicChooserForTests(nullptr);
    EXPECT_EQ(askedKind, 3);
    EXPECT_EQ(ev.m_Pages[0].m_nGraphic, 37);
}

TEST_F(EventEditorTest, InsertedActionGoesAgainWhenItsEditorIsCancelled)
{
    cEvent ev = EventWithKinds({1});
    DLG_EVENT_SET dlg(&ev, false);
    int calls = 0;
    int answer = 0;
    dlg.editAction = [&](cEventAct& act, bool isNew) {
        ++calls;
        EXPECT_TRUE(isNew);
        act.ChangeKind(14);
        return answer;
    };
    RunModal(dlg, [&] {
        auto* list = qobject_cast<QListWidget*>(dlg.Item(kActions));
        list->setCurrentRow(0);
        ButtonOf(dlg.Item(kActionInsert))->click();
        Pump();
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(list->count(), 2);  // one action and the append line
        answer = 1;
        list->setCurrentRow(1);
        ButtonOf(dlg.Item(kActionInsert))->click();
        Pump();
        EXPECT_EQ(list->count(), 3);
        ButtonOf(dlg.Item(IDC_OK))->click();
    });
    EXPECT_EQ(dlg.Result(), 1);
    EXPECT_EQ(KindsOf(ev.m_Pages[0].m_Actions), (std::vector<int>{1, 14}));
}

TEST_F(EventEditorTest, CutAndPasteKeepTheActionsInOrder)
{
    cEvent ev = EventWithKinds({1, 14, 11});
    DLG_EVENT_SET dlg(&ev, false);
    RunModal(dlg, [&] {
        auto* list = qobject_cast<QListWidget*>(dlg.Item(kActions));
        list->setFocus();
        list->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
        list->setCurrentRow(1, QItemSelectionModel::Select);
        QTest::keyClick(list, Qt::Key_X, Qt::ControlModifier);
        Pump();
        EXPECT_EQ(list->count(), 2);
        list->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);  // the append line
        QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
        Pump();
        EXPECT_EQ(list->count(), 4);
        ButtonOf(dlg.Item(IDC_OK))->click();
    });
    EXPECT_EQ(KindsOf(ev.m_Pages[0].m_Actions), (std::vector<int>{11, 1, 14}));
    // The page list's keys did not act as well.
    EXPECT_EQ(ev.m_Pages.size(), 1);
    EXPECT_TRUE(Editor().pageClipboard.empty());
    // The clipboard outlives the dialog: another event pastes the same.
    EXPECT_EQ(Editor().actionClipboard.size(), 2u);
}

TEST_F(EventEditorTest, StartEventModeLeavesTheActionsAndSavesOnOk)
{
    std::filesystem::create_directories("data/database");
    TheProject().m_StartEvent = EventWithKinds({11});
    bool checked = false;
    WhenModal([&](QDialog* d) {
        for (QLineEdit* e : d->findChildren<QLineEdit*>())
            EXPECT_FALSE(e->isEnabled());
        for (QCheckBox* c : d->findChildren<QCheckBox*>())
            EXPECT_FALSE(c->isEnabled());
        QList<QListWidget*> lists = d->findChildren<QListWidget*>();
        ASSERT_EQ(lists.size(), 2);
        EXPECT_FALSE(lists[0]->isEnabled());  // pages
        EXPECT_TRUE(lists[1]->isEnabled());   // actions
        checked = true;
        ModalOk()->click();
    });
    EXPECT_EQ(EditStartEvent(nullptr, TheProject(), Editor()), 1);
    EXPECT_TRUE(checked);
    EXPECT_TRUE(Editor().startEventMode);
    EXPECT_TRUE(std::filesystem::exists("data/database/StartEvent.dat"));
    EXPECT_FALSE(Editor().stageModified);
    EXPECT_EQ(Editor().undo.UndoCount(), 0);
}

// The main window with its event palette.
class EventMapTest : public EventEditorTest {
protected:
    void SetUp() override
    {
        EventEditorTest::SetUp();
        Project& p = TheProject();
        p.m_EditConfig.m_nUndoDepth = 3;
        p.m_EventPalette.resize(2);
        p.m_EventPalette[0].m_Name = "template";
        cEvent standing;
        standing.m_Name = "standing";
        standing.m_nX = 1;
        standing.m_nY = 1;
        p.m_Stage.m_Events.push_back(standing);
        Editor().stageOpen = true;
        main.chooseFile = [](std::string&, const FileQuestion&) { return false; };
        main.onQuit = [] {};
        ASSERT_TRUE(OpenActive(main));
        map = main.MapView();
        main.Widget()->resize(640, 480);
        Pump();
    }
    void TearDown() override
    {
        main.Close(0);
        Pump();
        EventEditorTest::TearDown();
    }
    void Click(int x, int y)
    {
        main.Widget()->activateWindow();
        (void)QTest::qWaitForWindowActive(main.Widget());
        QTest::mouseClick(map, Qt::LeftButton, Qt::NoModifier, QPoint(x * 32 + 16, y * 32 + 16));
        Pump();
    }

    DLG_MAIN main;
    QWidget* map = nullptr;
};

TEST_F(EventMapTest, PaletteShowsInEventModeOnly)
{
    ASSERT_NE(main.EventPalette(), nullptr);
    QWidget* palette = main.EventPalette()->Widget();
    ASSERT_NE(palette, nullptr);
    EXPECT_FALSE(palette->isVisible());
    main.SetPaletteMode(PaletteMode::Events);
    EXPECT_TRUE(palette->isVisible());
    EXPECT_EQ(Lines(main.EventPalette()->Item(DLG_EVENT::IDC_LIST)).front(), QStringLiteral("1 template"));
    main.SetPaletteMode(PaletteMode::Enemies);
    EXPECT_FALSE(palette->isVisible());
}

TEST_F(EventMapTest, PaintingOverAnEventReplacesItAndOkOnTheEditorMarksTheStage)
{
    Project& p = TheProject();
    main.SetPaletteMode(PaletteMode::Events);
    auto* list = qobject_cast<QListWidget*>(main.EventPalette()->Item(DLG_EVENT::IDC_LIST));
    list->setCurrentRow(0);
    Pump();
    EXPECT_EQ(Editor().paletteEvent, 0);
    EXPECT_EQ(Editor().tools[2].brush.width, 1);

    p.m_EditConfig.m_bEventEditIfPlaced = 0;
    p.m_EditConfig.m_bEventEditBeforePut = 0;
    Click(1, 1);
    EXPECT_EQ(p.m_Stage.m_Events.size(), 1);
    EXPECT_EQ(p.m_Stage.m_Events[0].m_Name, "template");

    // With "配置済みなら編集" the click opens the editor on the event.
    p.m_EditConfig.m_bEventEditIfPlaced = 1;
    Editor().stageModified = false;
    int undoBefore = Editor().undo.UndoCount();
    WhenModal([](QDialog* d) {
        QLineEdit* name = d->findChildren<QLineEdit*>().front();
        name->setText(QStringLiteral("renamed"));
        ModalOk()->click();
    });
    Click(1, 1);
    EXPECT_EQ(p.m_Stage.m_Events[0].m_Name, "renamed");
    EXPECT_TRUE(Editor().stageModified);
    EXPECT_EQ(Editor().undo.UndoCount(), undoBefore + 1);
    EXPECT_TRUE(main.Action(40060)->isEnabled());
}

// A picture of the editor on the starter project's chest event; written where
// VANTOR_SCREENSHOT_DIR names.
TEST_F(EventEditorTest, ScreenshotOfTheChestEvent)
{
    const QByteArray folder = qgetenv("VANTOR_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "VANTOR_SCREENSHOT_DIR not set";
    ASSERT_EQ(WriteDefaultProject(".", true), 1);
    ASSERT_EQ(LoadProject(), 1);
    cEvent chest;
    for (const cEvent& e : TheProject().m_EventPalette)
        if (e.m_Name == SJ("宝箱"))
            chest = e;
    DLG_EVENT_SET dlg(&chest, false);
    RunModal(dlg, [&] {
        Pump();
        dlg.Widget()->grab().save(QString::fromUtf8(folder) + QStringLiteral("/event_editor.png"));
    });
}
