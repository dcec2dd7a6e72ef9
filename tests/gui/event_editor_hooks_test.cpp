// What the main window plugs into the event editor: the start event from the
// menu with no stage open (reduced editor, the kinds the chooser offers, the
// file written on OK only) and the action palette in the action list's menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>

#include "events/action_palette.h"
#include "events/window/action_palette_dialog.h"
#include "events/window/event_action_editor.h"
#include "events/window/event_set_dialog.h"
#include "project/default_project.h"
#include "project/project.h"
#include "resources/ids.h"
#include "stage/window/main_window.h"
#include "tests/gui/gui_util.h"
#include "tests/test_util.h"

namespace {

// Runs body on the first modal dialog other than `other` once it runs.
void WhenModalOtherThan(QDialog* other, std::function<void(QDialog*)> body, int tries = 300)
{
    QTimer::singleShot(10, [other, body, tries] {
        if (QDialog* d = CurrentModalDialog(); d && d != other && d->isVisible())
            body(d);
        else if (tries > 0)
            WhenModalOtherThan(other, body, tries - 1);
    });
}

QPushButton* Button(QDialog* d, const QString& text, bool enabledOnly)
{
    for (QPushButton* b : d->findChildren<QPushButton*>())
        if (b->text() == text && (!enabledOnly || b->isEnabled()))
            return b;
    return nullptr;
}

class StartEventTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProject();
        Editor() = EditorState();
        std::filesystem::create_directories("data/database");
        cEvent start;
        start.m_Name = "start";
        start.m_Pages[0].m_Actions.push_back(cEventAct(17));  // money
        TheProject().m_StartEvent = start;
        InstallActionEditor();
        main.chooseFile = [](std::string&, const FileQuestion&) { return false; };
        main.onQuit = [] {};
        ASSERT_TRUE(OpenActive(main));
    }
    void TearDown() override
    {
        main.Close(0);
        Pump();
        EventEditorExtensions() = EventEditorHooks();
        ResetProject();
    }

    TempDir dir;
    RecordingSink sink;
    DLG_MAIN main;
    const std::filesystem::path file = "data/database/StartEvent.dat";
};

}  // namespace

TEST_F(StartEventTest, WithoutAStageTheReducedEditorOffersThePermittedKindsAndOkWritesTheFile)
{
    ASSERT_FALSE(Editor().stageOpen);
    ASSERT_NE(main.Action(cmd::kStartEvent), nullptr);
    EXPECT_TRUE(main.Action(cmd::kStartEvent)->isEnabled());

    bool seenEditor = false, seenChooser = false;
    int enabledKinds = -1;
    WhenModalOtherThan(nullptr, [&](QDialog* editor) {
        seenEditor = true;
        for (QLineEdit* e : editor->findChildren<QLineEdit*>())
            EXPECT_FALSE(e->isEnabled());
        QList<QListWidget*> lists = editor->findChildren<QListWidget*>();
        ASSERT_EQ(lists.size(), 2);
        EXPECT_FALSE(lists[0]->isEnabled());  // pages
        EXPECT_TRUE(lists[1]->isEnabled());   // actions
        EXPECT_EQ(lists[1]->count(), 2);  // the action and the append line

        // "挿入" of the action list (the page list's is disabled) opens the chooser.
        WhenModalOtherThan(editor, [&](QDialog* chooser) {
            seenChooser = true;
            enabledKinds = 0;
            for (QPushButton* b : chooser->findChildren<QPushButton*>())
                if (b->isEnabled() && b->text() != QStringLiteral("ｷｬﾝｾﾙ"))
                    ++enabledKinds;
            chooser->close();
        });
        QPushButton* insert = Button(editor, QStringLiteral("挿入"), true);
        ASSERT_NE(insert, nullptr);
        insert->click();
        // The cancelled chooser took its new line away again.
        EXPECT_EQ(lists[1]->count(), 2);
        Button(editor, QStringLiteral("OK"), true)->click();
    });
    main.SendCommand(cmd::kStartEvent, Notify::Menu);
    EXPECT_TRUE(seenEditor);
    EXPECT_TRUE(seenChooser);
    EXPECT_EQ(enabledKinds, 9);
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_FALSE(Editor().stageModified);
}

TEST_F(StartEventTest, CancelWritesNothing)
{
    bool seen = false;
    WhenModalOtherThan(nullptr, [&](QDialog* editor) {
        seen = true;
        editor->close();
    });
    main.SendCommand(cmd::kStartEvent, Notify::Menu);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(std::filesystem::exists(file));
    ASSERT_EQ(TheProject().m_StartEvent.m_Pages[0].m_Actions.size(), 1);
}

// The event editor's action menu carries the palette: every entry of a
// 120-entry palette is listed, and the 120th pastes before the selected line.
TEST_F(StartEventTest, TheActionMenuListsAndPastesEveryPaletteEntry)
{
    InstallActionPaletteMenu();
    ActionPalette& palette = TheProject().m_ActionPalette;
    palette.resize(120);
    palette[119].m_Name = "last";
    palette[119].m_Actions.push_back(cEventAct(17));
    palette[119].m_Actions.push_back(cEventAct(19));

    cEvent event;
    event.m_Pages[0].m_Actions.push_back(cEventAct(3));  // a wait
    DLG_EVENT_SET dlg(&event, false);
    int pasteEntries = -1;
    RunModal(dlg, [&] {
        QMenu menu;
        EventEditorExtensions().extendActionMenu(dlg, menu);
        for (QAction* a : menu.actions())
            if (a->menu() && a->text() == QStringLiteral("アクションパレットから貼り付け"))
                pasteEntries = static_cast<int>(a->menu()->actions().size());
        dlg.SetActions(dlg.Actions(), 0);
        EXPECT_TRUE(EventEditorExtensions().actionCommand(dlg, ActionPalettePasteId(119)));
        std::vector<int> kinds;
        for (const cEventAct& a : dlg.Actions())
            kinds.push_back(a.m_nKind);
        EXPECT_EQ(kinds, (std::vector<int>{17, 19, 3}));
        EXPECT_FALSE(EventEditorExtensions().actionCommand(dlg, 12345));
    });
    EXPECT_EQ(pasteEntries, 120);
}
