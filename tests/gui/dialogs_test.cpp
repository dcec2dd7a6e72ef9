// Dialog bookkeeping, command routing, keyboard rules, placement and the
// shared input dialogs.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QPointer>
#include <algorithm>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QComboBox>
#include <QMenuBar>
#include <QScreen>

#include "base/text.h"
#include "gui/gui_util.h"
#include "ui/input_dialogs.h"
#include "ui/qt_text.h"

namespace {

QWidget* MakeLine(QWidget* p) { return new QLineEdit(p); }
QWidget* MakeButton(QWidget* p) { return new QPushButton(QStringLiteral("b"), p); }

// A control that counts the notifications it receives.
class CountingEdit : public CTRL_EDITSTR_CLASS {
public:
    int* changes;
    explicit CountingEdit(int* c) : changes(c) {}
    void OnChange() override { ++*changes; }
};

}  // namespace

TEST(Dialogs, ModalRunHidesOrDisablesTheModelessOnes)
{
    TestDialog a, b;
    a.Add(1, MakeLine);
    b.Add(1, MakeLine);
    ASSERT_TRUE(OpenActive(a));
    ASSERT_TRUE(OpenActive(b));
    EXPECT_EQ(ModelessRegistry::Instance().Dialogs().size(), 2u);

    TestDialog modal;
    modal.Add(1, MakeLine);
    bool hiddenMeanwhile = false, secondRun = true;
    RunModal(modal, [&] {
        hiddenMeanwhile = !a.Widget()->isVisible() && !b.Widget()->isVisible();
        secondRun = modal.DoModal() != 0;  // the window exists: refused
    }, DO_HIDE_OTHERS);
    EXPECT_TRUE(hiddenMeanwhile);
    EXPECT_FALSE(secondRun);
    EXPECT_TRUE(a.Widget()->isVisible());
    EXPECT_TRUE(b.Widget()->isVisible());

    bool disabledMeanwhile = false;
    RunModal(modal, [&] { disabledMeanwhile = !a.Widget()->isEnabled() && a.Widget()->isVisible(); },
             DO_DISABLE_OTHERS);
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_TRUE(a.Widget()->isEnabled());

    // A modeless dialog opened with the option hides the others until it closes.
    TestDialog c;
    c.Add(1, MakeLine);
    c.CreateModeless(DO_HIDE_OTHERS, true);
    EXPECT_FALSE(a.Widget()->isVisible());
    c.Close(0);
    EXPECT_TRUE(a.Widget()->isVisible());

    a.Close(0);
    b.Close(0);
    EXPECT_TRUE(ModelessRegistry::Instance().Dialogs().empty());
    EXPECT_FALSE(a.Exists());
}

TEST(Dialogs, ReopeningAModelessDialogKeepsOneRegistration)
{
    TestDialog a;
    a.Add(1, MakeLine);
    a.CreateModeless();
    QWidget* first = a.Widget();
    a.CreateModeless();
    EXPECT_NE(a.Widget(), first);
    EXPECT_EQ(ModelessRegistry::Instance().Dialogs().size(), 1u);
    a.Close(0);
}

TEST(Dialogs, OkStoresAndCancelDoesNot)
{
    for (int button : {IDC_OK, IDC_CANCEL}) {
        std::string text = "old";
        TestDialog d;
        d.Add(100, MakeLine);
        d.Add(IDC_OK, MakeButton);
        d.Add(IDC_CANCEL, MakeButton);
        d.init = [&](TestDialog& t) { (new CTRL_EDITSTR_CLASS)->Attach(&t, 100, &text, 20); };
        d.onCommand = [&](int id, Notify) { d.StandardButtons(id); };
        int result = RunModal(d, [&] {
            qobject_cast<QLineEdit*>(d.Item(100))->setText("new");
            qobject_cast<QPushButton*>(d.Item(button))->click();
        });
        EXPECT_EQ(result, button == IDC_OK ? 1 : 0);
        EXPECT_EQ(text, button == IDC_OK ? "new" : "old");
    }
}

TEST(Dialogs, ANotificationReachesOnlyTheFirstMatchingControl)
{
    int first = 0, second = 0;
    std::string s1, s2;
    TestDialog d;
    d.Add(100, MakeLine);
    d.init = [&](TestDialog& t) {
        // A button kind takes no edit notification: the walk passes it by.
        (new CTRL_BUTTON_CLASS)->Attach(&t, 100);
        (new CountingEdit(&first))->Attach(&t, 100, &s1);
        (new CountingEdit(&second))->Attach(&t, 100, &s2);
    };
    ASSERT_TRUE(OpenActive(d));
    QTest::keyClicks(d.Item(100), "ab");
    Pump();
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(d.FindCommandSource(100, Notify::Click), 100);
    EXPECT_EQ(d.FindCommandSource(100, Notify::SelChange), 0);
    d.Close(0);
}

TEST(Dialogs, ACommandArrivingDuringOnCommandIsDropped)
{
    TestDialog d;
    d.Add(1, MakeLine);
    int nested = -1;
    d.onCommand = [&](int id, Notify) {
        if (id == 500)
            nested = d.SendCommand(501);
    };
    ASSERT_TRUE(OpenActive(d));
    EXPECT_EQ(d.SendCommand(500), 1);
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(d.CommandIds(), std::vector<int>{500});
    d.Close(0);
}

TEST(Dialogs, EscapeIsSwallowedUnlessTheInputMethodComposes)
{
    // A plain dialog without the framework's keyboard record.
    QDialog plain;
    auto* edit = new QLineEdit(&plain);
    plain.show();
    plain.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&plain));
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_TRUE(plain.isVisible());

    QInputMethodEvent compose(QStringLiteral("か"), {});
    QCoreApplication::sendEvent(edit, &compose);
    ASSERT_TRUE(ImeComposing());
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(plain.isVisible());  // reached the dialog, which closed
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("か"));
    QCoreApplication::sendEvent(edit, &commit);
    EXPECT_FALSE(ImeComposing());
}

TEST(Dialogs, FrameworkDialogsGetEscapeAsACommand)
{
    TestDialog d;
    d.Add(1, MakeLine);
    ASSERT_TRUE(OpenActive(d));
    QTest::keyClick(d.Item(1), Qt::Key_Escape);
    Pump();
    EXPECT_EQ(d.CommandIds(), std::vector<int>{IDC_ESCAPE});
    d.Hook().swallowEscape = true;
    d.commands.clear();
    QTest::keyClick(d.Item(1), Qt::Key_Escape);
    Pump();
    EXPECT_TRUE(d.commands.empty());
    d.Close(0);
}

// A saved position is pulled into the work area; a window with nothing to go
// by opens centred in the work area of the screen under the mouse.
TEST(Dialogs, PlacementKeepsWindowsInTheWorkArea)
{
    QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    enum class Expect { FlushLeft, FlushRight, Centred };
    struct Case {
        int x, y;  // saved position, kNoSavedPosition for none
        QSize size;
        Expect expect;
    };
    const QSize small(200, 100);
    for (const Case& c : {Case{-50, 10, small, Expect::FlushLeft},
                          Case{area.right() + 100, 10, small, Expect::FlushRight},
                          Case{kNoSavedPosition, kNoSavedPosition, small, Expect::Centred}}) {
        TestDialog d;
        d.Add(1, MakeLine);
        d.SetFrame(c.size.width(), c.size.height(), 0, 0, 0, 0);
        d.SetSavedPosition(c.x, c.y);
        d.CreateModeless();
        QRect r = d.Widget()->frameGeometry();
        switch (c.expect) {
        case Expect::FlushLeft: EXPECT_EQ(r.left(), area.left()); break;
        case Expect::FlushRight: EXPECT_EQ(r.left() + r.width(), area.left() + area.width()) << "flush with the right edge"; break;
        case Expect::Centred:
            EXPECT_LE(std::abs(r.center().x() - area.center().x()), 1);
            EXPECT_LE(std::abs(r.center().y() - area.center().y()), 1);
            break;
        }
        d.Close(0);
    }
}

TEST(Dialogs, AToolWindowStoresItsPlaceAndReopensThere)
{
    QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    cWndPosInfo place;
    TestDialog d;
    d.Add(1, MakeLine);
    d.SetOwner(nullptr, false);
    d.SetPlaceRecord(&place);
    d.CreateModeless();
    ASSERT_TRUE(d.Widget());
    const QPoint at = area.topLeft() + QPoint(30, 40);
    d.Widget()->move(at);
    d.Widget()->resize(260, 170);
    EXPECT_EQ(place.m_bValid, 0);  // stored on destruction only
    d.Close(0);
    EXPECT_EQ(place.m_bValid, 1);
    EXPECT_EQ(QPoint(place.m_nLeft, place.m_nTop), at);
    EXPECT_EQ(place.m_nRight, 260);
    EXPECT_EQ(place.m_nBottom, 170);

    // Reopened (also over another placement) with its stored place and size.
    TestDialog owner;
    owner.Add(1, MakeLine);
    owner.CreateModeless();
    d.SetOwner(&owner, true);
    d.CreateModeless();
    EXPECT_EQ(d.Widget()->pos(), at);
    EXPECT_EQ(d.Widget()->size(), QSize(260, 170));
    // A modal run stores its place as well.
    d.Close(0);
    place.m_bValid = 0;
    RunModal(d, [&] { d.Widget()->move(at + QPoint(5, 5)); });
    EXPECT_EQ(place.m_bValid, 1);
    EXPECT_EQ(QPoint(place.m_nLeft, place.m_nTop), at + QPoint(5, 5));
    owner.Close(0);
}

TEST(Dialogs, ASheetWhosePagesWereClosedIsDestroyedAtTheNextEvent)
{
    TestDialog p1, p2;
    p1.Add(1, MakeLine);
    p2.Add(1, MakeLine);
    PROP_CLASS sheet;
    sheet.AddPage(&p1, QStringLiteral("one"));
    sheet.AddPage(&p2, QStringLiteral("two"));
    ASSERT_TRUE(sheet.Create(nullptr, QStringLiteral("sheet"), true));
    QPointer<QDialog> window = sheet.Widget();
    const auto& sheets = ModelessRegistry::Instance().Sheets();
    ASSERT_EQ(std::count(sheets.begin(), sheets.end(), &sheet), 1);

    // One page closed: the sheet stays.
    p1.Close(0);
    Pump();
    EXPECT_EQ(std::count(sheets.begin(), sheets.end(), &sheet), 1);
    EXPECT_TRUE(sheet.Widget());

    sheet.ClosePages();
    Pump();
    EXPECT_EQ(std::count(sheets.begin(), sheets.end(), &sheet), 0);
    EXPECT_FALSE(sheet.Widget());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
}

TEST(InputDialogs, InputValueClampsWhatIsTyped)
{
    int value = 5;
    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<QDialog*>(CurrentModalDialog());
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->windowTitle(), QString::fromUtf8("データ数"));
        auto* edit = dlg->findChild<QLineEdit*>();
        edit->selectAll();
        QTest::keyClicks(edit, "150");
        QTest::keyClick(edit, Qt::Key_Return);  // Enter is OK
    });
    EXPECT_EQ(InputValue(nullptr, false, value, 1, 99, SJ("データ数")), 1);
    EXPECT_EQ(value, 99);
}

TEST(InputDialogs, InputTextScreenshotWithJapaneseText)
{
    std::string text = SJ("勇者の剣");
    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<QDialog*>(CurrentModalDialog());
        ASSERT_NE(dlg, nullptr);
        auto* edit = dlg->findChild<QLineEdit*>();
        EXPECT_EQ(edit->text(), QString::fromUtf8("勇者の剣"));
        edit->end(false);
        TypeText(edit, QString::fromUtf8("＋１"));
        QDir().mkpath(VANTOR_BUILD_DIR "/screenshots");
        dlg->grab().save(VANTOR_BUILD_DIR "/screenshots/input_text.png");
        for (QPushButton* b : dlg->findChildren<QPushButton*>())
            if (b->text() == "OK")
                b->click();
    });
    EXPECT_EQ(InputText(nullptr, false, text, 12, false, SJ("テキストの入力")), 1);
    EXPECT_EQ(text, SJ("勇者の剣＋１"));
}

TEST(InputDialogs, InputTextCutsWhatGoesOverTheLimit)
{
    struct Case {
        int limit;
        bool messageChars;
        const char* start;   // the text when the dialog opens (UTF-8)
        int caret;           // where the insertion goes
        const char* typed;   // typed key by key, or
        const char* pasted;  // inserted at once
        const char* result;
    };
    const Case cases[] = {
        {4, true, "", 0, "abcde", nullptr, "abcd"},          // the line is full
        {5, false, "", 0, nullptr, "あいう", "あい"},         // cut before a character it would split
        {6, false, "ab", 1, nullptr, "あいう", "aあいb"},     // the text around the paste stays
        {4, false, "abcd", 2, "x", nullptr, "abcd"},         // a key over the limit is refused
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        std::string text = Utf8ToCp932(c.start);
        QTimer::singleShot(0, [&c] {
            QDialog* dlg = CurrentModalDialog();
            ASSERT_NE(dlg, nullptr);
            auto* edit = dlg->findChild<QLineEdit*>();
            edit->setCursorPosition(c.caret);
            if (c.typed)
                QTest::keyClicks(edit, c.typed);
            else
                edit->insert(QString::fromUtf8(c.pasted));
            QTest::keyClick(edit, Qt::Key_Enter);
        });
        EXPECT_EQ(InputText(nullptr, false, text, c.limit, c.messageChars, SJ("名前")), 1);
        EXPECT_EQ(Cp932ToUtf8(text), c.result);
    }
}

// ---------------------------------------------------------------------------
// Enter, Escape with popups, modal runs and centring

namespace {

QWidget* MakeNamedButton(QWidget* p, const char* text) { return new QPushButton(QString::fromUtf8(text), p); }

// Buttons "新規" and "削除" first, then an edit and a list.
void AddNewDeleteAndEdit(TestDialog& d)
{
    d.Add(10, [](QWidget* p) { return MakeNamedButton(p, "新規"); });
    d.Add(11, [](QWidget* p) { return MakeNamedButton(p, "削除"); });
    d.Add(12, MakeLine);
}

}  // namespace

TEST(Dialogs, EnterClicksNoButtonButASheetsOk)
{
    {
        TestDialog d;
        AddNewDeleteAndEdit(d);
        ASSERT_TRUE(OpenActive(d));
        d.Item(12)->setFocus();
        QTest::keyClick(d.Item(12), Qt::Key_Return);
        d.Item(10)->setFocus();  // not even the focused button
        QTest::keyClick(d.Item(10), Qt::Key_Return);
        Pump();
        EXPECT_TRUE(d.commands.empty());
        d.Close(0);
    }
    {
        // Modal, the same.
        TestDialog d;
        AddNewDeleteAndEdit(d);
        RunModal(d, [&] {
            d.Item(12)->setFocus();
            QTest::keyClick(d.Item(12), Qt::Key_Enter);
            Pump();
        });
        EXPECT_TRUE(d.commands.empty());
    }
    {
        // On a sheet's page Enter is the sheet's OK, which closes the pages.
        struct Sheet : PROP_CLASS {
            int applied = 0;
            void OnApply() override { ++applied; }
        };
        TestDialog page;  // outlives the sheet, which closes it
        Sheet sheet;
        AddNewDeleteAndEdit(page);
        sheet.AddPage(&page, QStringLiteral("page"));
        ASSERT_TRUE(sheet.Create(nullptr, QStringLiteral("sheet"), true));
        sheet.Widget()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.Widget()));
        page.Item(12)->setFocus();
        QTest::keyClick(page.Item(12), Qt::Key_Return);
        Pump();
        EXPECT_TRUE(page.commands.empty());
        EXPECT_EQ(sheet.applied, 1);
        EXPECT_FALSE(page.Exists());
        sheet.Destroy();
    }
}

TEST(Dialogs, EscapeClosesAnOpenMenuOrDropDownAndTheNextClickCounts)
{
    TestDialog d;
    d.Add(1, MakeButton);
    d.Add(2, [](QWidget* p) {
        auto* c = new QComboBox(p);
        c->addItems({QStringLiteral("a"), QStringLiteral("b")});
        return c;
    });
    d.Add(3, [](QWidget* p) {
        auto* bar = new QMenuBar(p);
        bar->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("item"));
        return bar;
    });
    ASSERT_TRUE(OpenActive(d));
    auto* combo = qobject_cast<QComboBox*>(d.Item(2));
    auto* bar = qobject_cast<QMenuBar*>(d.Item(3));
    const std::vector<std::pair<const char*, std::function<void()>>> opens = {
        {"drop-down", [&] { combo->showPopup(); }},
        {"menu bar", [&] { bar->actions().front()->menu()->popup(d.Widget()->mapToGlobal(QPoint(0, 0))); }},
    };
    for (const auto& [name, open] : opens) {
        SCOPED_TRACE(name);
        d.commands.clear();
        open();
        Pump();
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr);
        QTest::keyClick(popup->focusWidget() ? popup->focusWidget() : popup, Qt::Key_Escape);
        Pump();
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        if (QWidget* left = QApplication::activePopupWidget())
            left->close();
        EXPECT_TRUE(d.Widget()->isVisible());
        EXPECT_TRUE(d.commands.empty()) << "Escape reached the dialog";
        QTest::mouseClick(d.Item(1), Qt::LeftButton);
        Pump();
        EXPECT_EQ(d.CommandIds(), std::vector<int>{1});
    }
    d.Close(0);
}

TEST(Dialogs, AModalRunHoldsItsOwnerOnlyAndSitsCentredOverIt)
{
    TestDialog other, owner;
    other.Add(1, MakeButton);
    owner.Add(1, MakeButton);
    ASSERT_TRUE(OpenActive(other));
    ASSERT_TRUE(OpenActive(owner));
    QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    owner.Widget()->setGeometry(area.left() + 50, area.top() + 60, 420, 300);

    TestDialog modal;
    modal.Add(1, MakeLine);
    modal.SetupWindow(0, owner.Widget(), &owner);
    modal.SetOwner(&owner, true);
    QPoint centreOffset;
    RunModal(modal, [&] {
        QTest::mouseClick(other.Item(1), Qt::LeftButton);
        QTest::mouseClick(owner.Item(1), Qt::LeftButton);
        Pump();
        QRect client(modal.Widget()->mapToGlobal(QPoint(0, 0)), modal.Widget()->size());
        QRect ownerClient(owner.Widget()->mapToGlobal(QPoint(0, 0)), owner.Widget()->size());
        centreOffset = client.center() - ownerClient.center();
    });
    EXPECT_EQ(other.CommandIds(), std::vector<int>{1});
    EXPECT_TRUE(owner.commands.empty());
    EXPECT_LE(centreOffset.manhattanLength(), 2);
    // Once the run is over the owner takes clicks again.
    QTest::mouseClick(owner.Item(1), Qt::LeftButton);
    EXPECT_EQ(owner.CommandIds(), std::vector<int>{1});
    owner.Close(0);
    other.Close(0);
}

// Qt's own texts are Japanese: the standard buttons of the message boxes and
// the file dialog, whose file-type box shows each filter's own text once.
TEST(InputDialogs, QtTextsAreJapaneseAndFiltersShowTheirOwnText)
{
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
    if (!box.button(QMessageBox::Yes)->text().contains(QStringLiteral("はい")))
        GTEST_SKIP() << "Qt's Japanese translations (qt6-translations-l10n) are not installed";
    const std::pair<QMessageBox::StandardButton, const char*> buttons[] = {
        {QMessageBox::Yes, "はい"}, {QMessageBox::No, "いいえ"}, {QMessageBox::Cancel, "キャンセル"}, {QMessageBox::Ok, "OK"}};
    for (const auto& [button, text] : buttons) {
        QString shown = box.button(button)->text();
        shown.remove(QRegularExpression(QStringLiteral("\\(&.\\)"))).remove('&');
        EXPECT_EQ(shown, QString::fromUtf8(text));
    }

    FileFilter f = {{"StageFile ( *.stg2 )", "*.stg2"}, {SJ("画像"), "*.png;*.bmp"}};
    QStringList types;
    QString lookIn;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        if (auto* combo = dlg->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
            for (int i = 0; i < combo->count(); ++i)
                types << combo->itemText(i);
        if (auto* label = dlg->findChild<QLabel*>(QStringLiteral("lookInLabel")))
            lookIn = label->text();
        dlg->reject();
    });
    std::string path;
    EXPECT_EQ(OpenFileDialog(nullptr, path, "", SJ("読み込むファイルの選択"), f, "stg2"), 0);
    EXPECT_EQ(types, QStringList({QStringLiteral("StageFile ( *.stg2 )"), QStringLiteral("画像")}));
    EXPECT_FALSE(lookIn.isEmpty());
    EXPECT_FALSE(lookIn.contains(QStringLiteral("Look in")));
}
