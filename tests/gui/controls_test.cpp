// Controls driven through real widgets: typing into edits, spins, lists.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include "gui/gui_util.h"
#include "ui/qt_text.h"
#include "ui/widgets.h"

namespace {

QWidget* MakeLine(QWidget* p) { return new QLineEdit(p); }
QWidget* MakeSpin(QWidget* p) { return new UpDownWidget(p); }
QWidget* MakeText(QWidget* p) { return new QPlainTextEdit(p); }
QWidget* MakeList(QWidget* p) { return new QListWidget(p); }

QLineEdit* Line(DLG_CLASS& d, int id) { return qobject_cast<QLineEdit*>(d.Item(id)); }

// Types text into a cleared edit, one key at a time.
void TypeInto(QWidget* w, const QString& text)
{
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->clear();
    w->setFocus();
    QTest::keyClicks(w, text);
    Pump();
}

}  // namespace

TEST(NumericEdit, TypingIntoAnIntegerEdit)
{
    struct Case {
        int minimum, maximum;
        const char* typed;
        const char* shown;
        int stored;
    };
    const Case cases[] = {
        {-100, 99, "-", "-", 0},        // a lone minus waits for digits
        {-100, 99, "-0", "-0", 0},      // so does a negative zero
        {-100, 99, "-05", "-5", -5},
        {1, 99, "150", "99", 99},       // clamped while typing
        {-100, 99, "1a2b", "12", 12},   // letters vanish at once
        {0, 255, "-", "-", 0},          // kept even where negatives are out of range
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        int value = 7;
        TestDialog dlg;
        dlg.Add(100, MakeLine);
        dlg.init = [&](TestDialog& d) { (new CTRL_EDITVAL_CLASS<int>)->Attach(&d, 100, &value, c.minimum, c.maximum); };
        ASSERT_TRUE(OpenActive(dlg));
        TypeInto(dlg.Item(100), QString::fromUtf8(c.typed));
        EXPECT_EQ(Line(dlg, 100)->text().toStdString(), c.shown);
        dlg.StoreAll();
        EXPECT_EQ(value, c.stored);
        dlg.Close(0);
    }
}

TEST(NumericEdit, DoubleByteDigitsAreRemovedAndTheCaretStays)
{
    int value = 0;
    TestDialog dlg;
    dlg.Add(100, MakeLine);
    dlg.init = [&](TestDialog& d) { (new CTRL_EDITVAL_CLASS<int>)->Attach(&d, 100, &value, 0, 9999); };
    ASSERT_TRUE(OpenActive(dlg));
    QLineEdit* e = Line(dlg, 100);
    TypeInto(e, "12");
    e->setCursorPosition(1);
    TypeText(e, QString::fromUtf8("３"));
    Pump();
    EXPECT_EQ(e->text(), "12");
    EXPECT_EQ(e->cursorPosition(), 2);
    dlg.Close(0);
}

TEST(NumericEdit, LeavingAnEmptyEditShowsTheMinimumOrZero)
{
    for (int minimum : {5, -5}) {
        int value = 50;
        TestDialog dlg;
        dlg.Add(100, MakeLine);
        dlg.Add(101, MakeLine);
        dlg.init = [&](TestDialog& d) { (new CTRL_EDITVAL_CLASS<int>)->Attach(&d, 100, &value, minimum, 99); };
        ASSERT_TRUE(OpenActive(dlg));
        QLineEdit* e = Line(dlg, 100);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        Pump();
        EXPECT_EQ(e->text(), "");
        dlg.Item(101)->setFocus();
        Pump();
        EXPECT_EQ(e->text().toInt(), minimum > 0 ? minimum : 0);
        dlg.Close(0);
    }
}

TEST(NumericEdit, FloatingValuesKeepTheirDecimals)
{
    double value = 1.5;
    TestDialog dlg;
    dlg.Add(100, MakeLine);
    dlg.Add(101, MakeLine);
    dlg.init = [&](TestDialog& d) { (new CTRL_EDITVAL_CLASS<double>)->Attach(&d, 100, &value, 0.0, 100.0, 0, 1.0, 2); };
    ASSERT_TRUE(OpenActive(dlg));
    QLineEdit* e = Line(dlg, 100);
    EXPECT_EQ(e->text(), "1.50");
    TypeInto(e, "3.14159");
    EXPECT_EQ(e->text(), "3.14159");  // the user's text stays while typing
    dlg.Item(101)->setFocus();
    Pump();
    EXPECT_EQ(e->text(), "3.14");
    TypeInto(e, "250");
    EXPECT_EQ(e->text(), "100.00");  // a clamp shows the configured decimals
    dlg.StoreAll();
    EXPECT_DOUBLE_EQ(value, 100.0);
    dlg.Close(0);
}

TEST(NumericEdit, SpinStepsAndClamps)
{
    int value = 7;
    TestDialog dlg;
    dlg.Add(100, MakeLine);
    dlg.Add(101, MakeSpin);
    dlg.init = [&](TestDialog& d) { (new CTRL_EDITVAL_CLASS<int>)->Attach(&d, 100, &value, 0, 20, 101, 5); };
    ASSERT_TRUE(OpenActive(dlg));
    auto* spin = static_cast<UpDownWidget*>(dlg.Item(101));
    spin->Click(1);
    EXPECT_EQ(Line(dlg, 100)->text(), "12");
    spin->Click(1);
    spin->Click(1);
    EXPECT_EQ(Line(dlg, 100)->text(), "20");
    for (int i = 0; i < 6; ++i)
        spin->Click(-1);
    EXPECT_EQ(Line(dlg, 100)->text(), "0");
    dlg.Close(0);
}

TEST(TextEdit, LongLinesAreBrokenAndExtraLinesUndone)
{
    std::string text;
    TestDialog dlg;
    dlg.Add(100, MakeText);
    dlg.init = [&](TestDialog& d) { (new CTRL_EDITSTR_CLASS)->Attach(&d, 100, &text, 200, 10, 3); };
    ASSERT_TRUE(OpenActive(dlg));
    auto* t = qobject_cast<QPlainTextEdit*>(dlg.Item(100));
    t->setFocus();
    QTest::keyClicks(t, "abcdefghijklm");
    Pump();
    EXPECT_EQ(t->toPlainText(), "abcdefghij\nklm");
    EXPECT_EQ(t->textCursor().position(), 14);  // still after the last typed character
    dlg.StoreAll();
    EXPECT_EQ(text, "abcdefghij\r\nklm");

    // Pasting what would make a fourth line is undone.
    t->insertPlainText("\nx\ny");
    Pump();
    EXPECT_EQ(t->toPlainText(), "abcdefghij\nklm");

    // Backspace joining two lines does not break them again at once.
    QTextCursor c = t->textCursor();
    c.setPosition(11);
    t->setTextCursor(c);
    QTest::keyClick(t, Qt::Key_Backspace);
    Pump();
    EXPECT_EQ(t->toPlainText(), "abcdefghijklm");
    dlg.Close(0);
}

TEST(TextEdit, MessageCharactersCountDoubleByteCharactersOnce)
{
    std::string text;
    TestDialog dlg;
    dlg.Add(100, MakeText);
    dlg.init = [&](TestDialog& d) { (new CTRL_EDITSTR_CLASS)->Attach(&d, 100, &text, 100, 3, 4, true); };
    ASSERT_TRUE(OpenActive(dlg));
    auto* t = qobject_cast<QPlainTextEdit*>(dlg.Item(100));
    t->setFocus();
    TypeText(t, QString::fromUtf8("あいうえ"));
    Pump();
    EXPECT_EQ(t->toPlainText(), QString::fromUtf8("あいう\nえ"));
    dlg.StoreAll();
    EXPECT_EQ(text, SJ("あいう") + "\r\n" + SJ("え"));
    dlg.Close(0);
}

TEST(Check, ComboAndCheckBindings)
{
    int flag = 1, viaList = 30, viaBase = 12;
    TestDialog dlg;
    dlg.Add(100, [](QWidget* p) { auto* b = new QCheckBox(p); return b; });
    dlg.Add(101, [](QWidget* p) { return new QComboBox(p); });
    dlg.Add(102, [](QWidget* p) { return new QComboBox(p); });
    dlg.init = [&](TestDialog& d) {
        (new CTRL_CHECK_CLASS<int>)->Attach(&d, 100, &flag);
        auto* a = new CTRL_COMBO_CLASS<int>;
        a->Attach(&d, 101, &viaList, std::vector<int>{10, 20, 30});
        a->SetItems({"a", "b", "c"});
        auto* b = new CTRL_COMBO_CLASS<int>;
        b->Attach(&d, 102, &viaBase, 10);
        b->SetItems({"x", "y", "z"});
    };
    ASSERT_TRUE(OpenActive(dlg));
    auto* check = qobject_cast<QCheckBox*>(dlg.Item(100));
    auto* list = qobject_cast<QComboBox*>(dlg.Item(101));
    auto* base = qobject_cast<QComboBox*>(dlg.Item(102));
    EXPECT_TRUE(check->isChecked());
    EXPECT_EQ(list->currentIndex(), 2);
    EXPECT_EQ(base->currentIndex(), 2);
    check->click();
    list->setCurrentIndex(0);
    base->setCurrentIndex(1);
    dlg.StoreAll();
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(viaList, 10);
    EXPECT_EQ(viaBase, 11);
    // A value missing from the list selects nothing and Store leaves it.
    viaList = 25;
    dlg.UpdateAll();
    EXPECT_EQ(list->currentIndex(), -1);
    dlg.StoreAll();
    EXPECT_EQ(viaList, 25);
    dlg.Close(0);
}

// ---------------------------------------------------------------------------
// List commands by key and by popup menu

namespace {

struct ListDialog {
    std::vector<int> records{1, 2, 3};
    int current = 0;
    ListOptions options;
    bool emptyKeys = false;  // the list's own key table emptied
    TestDialog dlg;
    CTRL_LIST_CLASS<int>* list = nullptr;

    explicit ListDialog(int mode, int group)
    {
        options.numbering = true;
        dlg.Add(200, MakeList);
        dlg.init = [this, mode, group](TestDialog& d) {
            list = new CTRL_LIST_CLASS<int>;
            list->Attach(&d, 200, &records, &current, options, [](int, const int& r) { return std::to_string(r); });
            list->SetListCommands(ListAcceleratorId(mode, group), mode, group);
            list->SetListMenu(ListMenuId(mode, group), mode, group);
            if (emptyKeys) {
                list->ClearListKeys();
                list->ClearListMenu();
            }
        };
    }
    // Runs the group 1 editing commands as a window would, then refreshes.
    void HandleCommands()
    {
        dlg.onCommand = [this](int id, Notify) {
            switch (id) {
            case 40030: case 40027: list->CutSel(); break;
            case 40031: case 40024: list->CopySel(); break;
            case 40032: case 40025: list->Paste(); break;
            case 40034: case 40029: list->DeleteSel(); break;
            default: break;
            }
            dlg.RefreshLists();
        };
    }
    QListWidget* Widget() { return qobject_cast<QListWidget*>(dlg.Item(200)); }
    QPoint LinePoint(int line) { return Widget()->visualItemRect(Widget()->item(line)).center(); }
    void Click(int line, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(Widget()->viewport(), button, {}, LinePoint(line));
        Pump();
    }
    std::vector<int> SelectedRows()
    {
        std::vector<int> rows;
        for (int i = 0; i < Widget()->count(); ++i)
            if (Widget()->item(i)->isSelected())
                rows.push_back(i);
        return rows;
    }
};

// Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+I and Delete, and what each row expects.
std::vector<int> PressListKeys(ListDialog& ld)
{
    ld.dlg.commands.clear();
    QListWidget* w = ld.Widget();
    w->setFocus();
    for (int key : {Qt::Key_X, Qt::Key_C, Qt::Key_V, Qt::Key_I}) {
        QTest::keyClick(w, static_cast<Qt::Key>(key), Qt::ControlModifier);
        Pump();
    }
    QTest::keyClick(w, Qt::Key_Delete);
    Pump();
    return ld.dlg.CommandIds();
}

std::vector<int> ExpectedKeys(const ListCommandRow& row)
{
    const auto& k = row.keys;
    return {k[0], k[1], k[2], k[3] ? k[3] : k[4], k[5] ? k[5] : k[6]};
}

}  // namespace

TEST(ListControl, KeysGiveTheCommandsOfEachModeAndGroupOnce)
{
    for (const ListCommandRow& row : kListCommandRows) {
        SCOPED_TRACE(testing::Message() << "mode " << row.mode << " group " << row.group);
        {
            // Modeless: Ctrl keys go through the accelerator table.
            ListDialog ld(row.mode, row.group);
            ASSERT_TRUE(OpenActive(ld.dlg));
            EXPECT_EQ(PressListKeys(ld), ExpectedKeys(row));
            ld.dlg.Close(0);
        }
        {
            // Modal: every key reaches the list through the dialog.
            ListDialog ld(row.mode, row.group);
            std::vector<int> got;
            RunModal(ld.dlg, [&] { got = PressListKeys(ld); });
            EXPECT_EQ(got, ExpectedKeys(row));
        }
    }
}

TEST(ListControl, PopupMenuOffersTheCommandsOfItsTable)
{
    for (const ListCommandRow& row : kListCommandRows) {
        SCOPED_TRACE(testing::Message() << "mode " << row.mode << " group " << row.group);
        ListDialog ld(row.mode, row.group);
        ASSERT_TRUE(OpenActive(ld.dlg));
        std::vector<int> offered;
        int chosen = row.menu[0];
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            QAction* pick = nullptr;
            for (QAction* a : menu->actions()) {
                if (a->isSeparator())
                    continue;
                offered.push_back(a->data().toInt());
                if (a->data().toInt() == chosen)
                    pick = a;
            }
            if (pick)
                pick->trigger();
            menu->close();
        });
        QWidget* vp = ld.Widget()->viewport();
        QPoint at = ld.Widget()->visualItemRect(ld.Widget()->item(1)).center();
        QTest::mousePress(vp, Qt::RightButton, {}, at);
        QTest::mouseRelease(vp, Qt::RightButton, {}, at);
        Pump();
        for (int id : row.menu) {
            if (id) {
                EXPECT_NE(std::find(offered.begin(), offered.end(), id), offered.end()) << id;
            }
        }
        EXPECT_EQ(ld.dlg.CommandIds(), std::vector<int>{chosen});
        ld.dlg.Close(0);
    }
}

TEST(ListControl, LinesNumberedAndSelectionKeptAcrossRefills)
{
    ListDialog ld(1, 1);
    ld.records = {5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    ASSERT_TRUE(OpenActive(ld.dlg));
    QListWidget* w = ld.Widget();
    ASSERT_EQ(w->count(), 10);
    EXPECT_EQ(w->item(0)->text(), "01 5");
    EXPECT_EQ(w->item(9)->text(), "10 14");
    w->setCurrentRow(3);
    Pump();
    ld.records.resize(9);
    ld.dlg.UpdateAll();
    EXPECT_EQ(w->item(0)->text(), "1 5");
    EXPECT_EQ(w->currentRow(), 3);
    EXPECT_EQ(ld.current, 8);
    // Insert before the selection, then store back.
    EXPECT_EQ(ld.list->Insert(), 1);
    ld.dlg.StoreAll();
    EXPECT_EQ(ld.records.size(), 10u);
    EXPECT_EQ(ld.records[3], 0);
    ld.dlg.Close(0);
}

TEST(ListControl, ADialogMayCloseFromTheCommandOfAListKey)
{
    // The list is still inside its key handling when the dialog closes.
    ListDialog ld(1, 1);
    ld.dlg.onCommand = [&](int id, Notify) {
        if (id == 40034)
            ld.dlg.Close(1);
    };
    int result = RunModal(ld.dlg, [&] {
        ld.Widget()->setFocus();
        QTest::keyClick(ld.Widget(), Qt::Key_Delete);
        Pump();
    });
    EXPECT_EQ(result, 1);
}

TEST(ListControl, DeleteReachesTheListInSheetPagesAndThroughTheAcceleratorsAlone)
{
    for (const ListCommandRow& row : kListCommandRows) {
        SCOPED_TRACE(testing::Message() << "mode " << row.mode << " group " << row.group);
        const int deleteId = row.keys[5] ? row.keys[5] : row.keys[6];
        {
            // A list on a property-sheet page: the sheet has no keyboard record.
            ListDialog ld(row.mode, row.group);
            PROP_CLASS sheet;
            sheet.AddPage(&ld.dlg, QStringLiteral("page"));
            ASSERT_TRUE(sheet.Create(nullptr, QStringLiteral("sheet"), true));
            sheet.Widget()->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.Widget()));
            ld.Widget()->setFocus();
            QTest::keyClick(ld.Widget(), Qt::Key_Delete);
            Pump();
            EXPECT_EQ(ld.dlg.CommandIds(), std::vector<int>{deleteId}) << "sheet page";
            sheet.Destroy();
        }
        {
            // The list's own key table emptied: the accelerators still give
            // every editing key, once.
            ListDialog ld(row.mode, row.group);
            ld.emptyKeys = true;
            ASSERT_TRUE(OpenActive(ld.dlg));
            EXPECT_EQ(PressListKeys(ld), ExpectedKeys(row)) << "emptied key table";
            ld.dlg.Close(0);
        }
    }
}

TEST(ListControl, FirstShowSelectsTheFirstLineAndCopiesItsRecord)
{
    for (bool multiple : {false, true}) {
        SCOPED_TRACE(multiple ? "multiple" : "single");
        ListDialog ld(1, 1);
        ld.records = {5, 6, 7};
        ld.current = -1;
        ld.options.multiple = multiple;
        // A field bound to the current record, registered after the list.
        ld.dlg.Add(300, [](QWidget* p) { return new QLineEdit(p); });
        auto attachList = ld.dlg.init;
        ld.dlg.init = [&](TestDialog& d) {
            attachList(d);
            (new CTRL_EDITVAL_CLASS<int>)->Attach(&d, 300, &ld.current, -100, 100);
        };
        PROP_CLASS sheet;
        sheet.AddPage(&ld.dlg, QStringLiteral("page"));
        ASSERT_TRUE(sheet.Create(nullptr, QStringLiteral("sheet"), true));
        EXPECT_EQ(ld.SelectedRows(), std::vector<int>{0});
        EXPECT_EQ(ld.current, 5);
        EXPECT_EQ(Line(ld.dlg, 300)->text(), "5");
        sheet.Destroy();
    }
    // A multiple-selection list that grows from nothing selects its first line.
    ListDialog ld(1, 1);
    ld.records = {};
    ld.options.multiple = true;
    ASSERT_TRUE(OpenActive(ld.dlg));
    EXPECT_TRUE(ld.SelectedRows().empty());
    EXPECT_EQ(ld.list->Resize(3), 1);
    ld.dlg.RefreshLists();
    EXPECT_EQ(ld.SelectedRows(), std::vector<int>{0});
    ld.dlg.Close(0);
}

TEST(ListControl, ALineTheUserChoseStaysSelectedThroughARefresh)
{
    ListDialog ld(1, 1);
    ld.records = {1, 2, 3, 4, 5};
    ld.HandleCommands();
    ASSERT_TRUE(OpenActive(ld.dlg));
    ld.Widget()->setFocus();
    ld.Click(3);
    ld.dlg.SendCommand(500);  // a command that only refreshes the lists
    EXPECT_EQ(ld.SelectedRows(), std::vector<int>{3});
    QTest::keyClick(ld.Widget(), Qt::Key_Up);
    ld.dlg.SendCommand(500);
    EXPECT_EQ(ld.SelectedRows(), std::vector<int>{2});
    QTest::keyClick(ld.Widget(), Qt::Key_Delete);  // deletes the line moved to
    Pump();
    ld.dlg.StoreAll();
    EXPECT_EQ(ld.records, (std::vector<int>{1, 2, 4, 5}));
    EXPECT_EQ(ld.SelectedRows(), std::vector<int>{2});
    ld.dlg.Close(0);
}

TEST(ListControl, RightClickKeepsTheSelectionAndEscapeClosesItsMenu)
{
    ListDialog ld(1, 1);
    ld.records = {1, 2, 3, 4};
    ASSERT_TRUE(OpenActive(ld.dlg));
    ld.Click(1);
    bool menuShown = false, menuGone = false;
    QTimer::singleShot(0, [&] {
        QWidget* menu = QApplication::activePopupWidget();
        menuShown = qobject_cast<QMenu*>(menu) != nullptr;
        if (!menu)
            return;
        QTest::keyClick(menu, Qt::Key_Escape);
        menuGone = QApplication::activePopupWidget() == nullptr;
        if (!menuGone)
            menu->close();  // do not hang the test
    });
    ld.Click(3, Qt::RightButton);
    EXPECT_TRUE(menuShown);
    EXPECT_TRUE(menuGone);
    EXPECT_TRUE(ld.dlg.commands.empty());  // no item chosen, the dialog not closed
    EXPECT_TRUE(ld.dlg.Widget()->isVisible());
    EXPECT_EQ(ld.SelectedRows(), std::vector<int>{1});
    ld.Click(2);  // the next click is the user's
    EXPECT_EQ(ld.SelectedRows(), std::vector<int>{2});
    ld.dlg.Close(0);
}

TEST(ListControl, CopiedRecordsPasteInTheNextDialog)
{
    std::vector<int> pasted;
    {
        ListDialog first(1, 1);
        first.records = {10, 20, 30};
        first.HandleCommands();
        ASSERT_TRUE(OpenActive(first.dlg));
        first.Widget()->setFocus();
        first.Click(1);
        QTest::keyClick(first.Widget(), Qt::Key_C, Qt::ControlModifier);
        Pump();
        first.dlg.Close(0);
    }
    ListDialog second(1, 1);
    second.records = {7, 8};
    second.HandleCommands();
    ASSERT_TRUE(OpenActive(second.dlg));
    second.Widget()->setFocus();
    QTest::keyClick(second.Widget(), Qt::Key_V, Qt::ControlModifier);
    Pump();
    second.dlg.StoreAll();
    EXPECT_EQ(second.records, (std::vector<int>{20, 7, 8}));
    // A paste cut short by the maximum reports what went in.
    second.list->Model().maxCount = 4;
    second.list->Model().Clipboard() = {1, 2, 3};
    EXPECT_EQ(second.list->Paste(), 1);
    EXPECT_TRUE(second.list->Model().pasteStopped);
    EXPECT_EQ(second.list->Paste(), 0);
    second.dlg.Close(0);
}
