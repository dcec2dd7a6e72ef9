// The system pages of the game's menus and words (システム5 to システム10) on
// the starter project, and the whole database window visited page by page
// without a byte of the project changing.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>
#include <map>

#include "app/startup.h"
#include "base/paths.h"
#include "base/text.h"
#include "database/window/database_sheet.h"
#include "database/window/db_pages.h"
#include "database/window/system_word_pages.h"
#include "media/image_table.h"
#include "project/default_project.h"
#include "project/project.h"
#include "stage/window/main_window.h"
#include "tests/gui/database_fixture.h"
#include "tests/gui/gui_util.h"
#include "tests/test_util.h"

namespace fs = std::filesystem;

namespace {

enum { kSystem5 = 19, kSystem6, kSystem7, kSystem8, kSystem9, kSystem10, kPageCount };
// Positions in SystemMenus().
enum { kTitleMenu = 0, kBaseMenu = 2, kTrainingMenu = 8, kMapTestMenu = 14, kBattleMenu = 15 };

using Files = std::map<std::string, std::vector<uint8_t>>;

class SystemWordPagesTest : public DatabaseWindowTest {
protected:
    static QLineEdit* Edit(DLG_CLASS* page, int id) { return qobject_cast<QLineEdit*>(page->Item(id)); }
    static void SetText(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        TypeText(edit, text);
        Pump();
    }
    static void Click(DLG_CLASS* page, int id)
    {
        QTest::mouseClick(qobject_cast<QAbstractButton*>(page->Item(id)), Qt::LeftButton);
        Pump();
    }
    static cSystem Saved()
    {
        cSystem saved;
        EXPECT_EQ(saved.LoadFile(ProjectFile::System), 1);
        return saved;
    }
    Files AllFiles() const
    {
        Files files;
        for (const auto& e : fs::recursive_directory_iterator(dir.Path()))
            if (e.is_regular_file())
                files[fs::relative(e.path(), dir.Path()).string()] = ReadFile(e.path().string());
        return files;
    }

};


std::vector<std::string> MenuTexts(const RecordList<cCmd>& menu)
{
    std::vector<std::string> out;
    for (const cCmd& c : menu)
        out.push_back(c.m_Text);
    return out;
}

TEST_F(SystemWordPagesTest, AnEditedWordOrMenuEntryLandsInItsOwnEntryOnly)
{
    struct Case {
        int page;
        int word;  // -1: a menu entry
        int menu, entry;
    };
    const Case cases[] = {
        {kSystem5, 2, 0, 0},                // "必殺率"
        {kSystem7, 25, 0, 0},               // "同キャラ対戦はできません！"
        {kSystem9, 54, 0, 0},               // the last word
        {kSystem5, -1, kTitleMenu, 3},      // "ゲーム終了"
        {kSystem6, -1, kBaseMenu, 12},
        {kSystem7, -1, kTrainingMenu, 1},   // "エントリー１"
        {kSystem8, -1, kMapTestMenu, 4},
        {kSystem9, -1, kBattleMenu, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word >= 0 ? "word " + std::to_string(c.word)
                                 : "menu " + std::to_string(c.menu) + " entry " + std::to_string(c.entry));
        const cSystem before = Saved();
        PROP_DATABASE* s = OpenAt(c.page);
        ASSERT_NE(s, nullptr);
        DLG_CLASS* page = s->DbPage(c.page);
        int id = c.word >= 0 ? DLG_DBSYSTEM_WORDS::WordId(c.word) : DLG_DBSYSTEM_WORDS::MenuEntryId(c.menu, c.entry);
        QLineEdit* edit = Edit(page, id);
        ASSERT_NE(edit, nullptr);
        SetText(edit, QStringLiteral("新しい文字"));
        SheetButton(s, "sheetOk");
        ASSERT_EQ(DatabaseWindow(), nullptr);

        const cSystem after = Saved();
        std::vector<std::string> words = before.m_Words;
        if (c.word >= 0)
            words[static_cast<std::size_t>(c.word)] = SJ("新しい文字");
        EXPECT_EQ(after.m_Words, words);
        const std::vector<SystemMenu>& menus = SystemMenus();
        for (int m = 0; m < static_cast<int>(menus.size()); ++m) {
            std::vector<std::string> expected = MenuTexts(before.*menus[m].member);
            if (c.word < 0 && m == c.menu)
                expected[static_cast<std::size_t>(c.entry)] = SJ("新しい文字");
            EXPECT_EQ(MenuTexts(after.*menus[m].member), expected) << menus[m].key;
        }
    }
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(SystemWordPagesTest, ParameterDigitsAreShownAsDerivedFromTheLimit)
{
    cSystem& sys = TheProject().m_System;
    sys.m_Params[0].m_nDigits = 7;  // out of step with its limit 0
    PROP_DATABASE* s = OpenAt(kSystem5);
    DLG_CLASS* page = s->DbPage(kSystem5);
    QLineEdit* digits0 = Edit(page, DLG_DBSYSTEM_5::ParamDigitsId(0));
    QLineEdit* digitsLv = Edit(page, DLG_DBSYSTEM_5::ParamDigitsId(9));
    ASSERT_NE(digitsLv, nullptr);
    EXPECT_TRUE(digitsLv->isReadOnly());
    EXPECT_EQ(digits0->text(), QStringLiteral("0"));
    EXPECT_EQ(sys.m_Params[0].m_nDigits, 7);  // showing left the record alone
    EXPECT_EQ(digitsLv->text(), QStringLiteral("2"));  // LV up to 99

    SetText(Edit(page, DLG_DBSYSTEM_5::ParamLimitId(9)), QStringLiteral("12345"));
    EXPECT_EQ(sys.m_Params[9].m_nLimit, 12345);
    EXPECT_EQ(digitsLv->text(), QStringLiteral("5"));
    SetText(Edit(page, DLG_DBSYSTEM_5::ParamLimitId(0)), QStringLiteral("999"));
    EXPECT_EQ(digits0->text(), QStringLiteral("3"));
    EXPECT_EQ(sys.m_nFirstParamLimit, 999);
    SetText(Edit(page, DLG_DBSYSTEM_5::ParamNameId(9)), QStringLiteral("レベル"));
    SheetButton(s, "sheetOk");

    const cSystem saved = Saved();
    EXPECT_EQ(saved.m_Params[9].m_Name, SJ("レベル"));
    EXPECT_EQ(saved.m_Params[9].m_nLimit, 12345);
    EXPECT_EQ(saved.m_Params[9].m_nDigits, 5);
    EXPECT_EQ(saved.m_Params.size(), 12);
}

TEST_F(SystemWordPagesTest, ShortListsAreShownAsFarAsTheyGoAndNeverGrow)
{
    cSystem& sys = TheProject().m_System;
    sys.m_Words.resize(30);
    sys.m_TitleMenu.resize(2);
    sys.m_BattleMenu.resize(0);
    sys.m_Params.resize(10);
    sys.m_PredictionItems.resize(2);
    sys.m_PredictionItems[1] = 7;
    const cSystem shortened = sys;
    PROP_DATABASE* s = OpenAt(kSystem5);
    for (int i = kSystem5; i <= kSystem9; ++i)
        s->SetCurrentPage(i);
    Pump();

    struct Row {
        int page, id;
        bool enabled;
        const char* text;
    };
    const Row rows[] = {
        {kSystem5, DLG_DBSYSTEM_WORDS::MenuEntryId(kTitleMenu, 1), true, "続きから"},
        {kSystem5, DLG_DBSYSTEM_WORDS::MenuEntryId(kTitleMenu, 2), false, ""},
        {kSystem5, DLG_DBSYSTEM_5::IDC_PREDICTION + 1, true, "7"},
        {kSystem5, DLG_DBSYSTEM_5::IDC_PREDICTION + 2, false, "0"},
        {kSystem5, DLG_DBSYSTEM_5::ParamNameId(9), true, "LV"},
        {kSystem5, DLG_DBSYSTEM_5::ParamNameId(10), false, ""},
        {kSystem5, DLG_DBSYSTEM_5::ParamLimitId(11), false, "0"},
        {kSystem7, DLG_DBSYSTEM_WORDS::WordId(29), true, "ステージに挑む"},
        {kSystem7, DLG_DBSYSTEM_WORDS::WordId(30), false, ""},
        {kSystem9, DLG_DBSYSTEM_WORDS::WordId(54), false, ""},
        {kSystem9, DLG_DBSYSTEM_WORDS::MenuEntryId(kBattleMenu, 0), false, ""},
    };
    for (const Row& r : rows) {
        QLineEdit* e = Edit(s->DbPage(r.page), r.id);
        ASSERT_NE(e, nullptr) << r.id;
        EXPECT_EQ(e->isEnabled(), r.enabled) << r.id;
        EXPECT_EQ(e->text(), QString::fromUtf8(r.text)) << r.id;
    }
    // A change on an existing entry stores the whole page: nothing grows.
    SetText(Edit(s->DbPage(kSystem9), DLG_DBSYSTEM_WORDS::MenuEntryId(12, 0)), QStringLiteral("必殺"));
    s->SetCurrentPage(kSystem5);
    SetText(Edit(s->DbPage(kSystem5), DLG_DBSYSTEM_WORDS::WordId(0)), QStringLiteral("力"));
    EXPECT_EQ(sys.m_Words.size(), 30u);
    EXPECT_EQ(sys.m_TitleMenu.size(), 2);
    EXPECT_EQ(sys.m_BattleMenu.size(), 0);
    EXPECT_EQ(sys.m_Params.size(), 10);
    EXPECT_EQ(sys.m_PredictionItems, shortened.m_PredictionItems);
    EXPECT_EQ(sys.m_Words[0], SJ("力"));
    SheetButton(s, "sheetCancel");
}

TEST_F(SystemWordPagesTest, RunSettingKeysAreAddedAndKeepAtLeastOne)
{
    cSystem& sys = TheProject().m_System;
    const int count = sys.m_Inis.size();
    PROP_DATABASE* s = OpenAt(kSystem10);
    auto* page = dynamic_cast<DLG_DBSYSTEM_10*>(s->DbPage(kSystem10));
    ASSERT_NE(page, nullptr);
    auto* list = qobject_cast<QListWidget*>(page->Item(DLG_DBSYSTEM_10::IDC_LIST));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(Edit(page, DLG_DBSYSTEM_10::IDC_KEY)->text(), QStringLiteral("WindowMode"));
    EXPECT_EQ(Edit(page, DLG_DBSYSTEM_10::IDC_DEFAULT)->text(), QStringLiteral("2"));

    // 挿入 before the last key, then its fields.
    list->setCurrentRow(count - 1);
    Pump();
    Click(page, DLG_DBSYSTEM_10::IDC_INSERT);
    ASSERT_EQ(sys.m_Inis.size(), count + 1);
    SetText(Edit(page, DLG_DBSYSTEM_10::IDC_KEY), QStringLiteral("Volume"));
    SetText(Edit(page, DLG_DBSYSTEM_10::IDC_DEFAULT), QStringLiteral("80"));
    SetText(Edit(page, DLG_DBSYSTEM_10::IDC_TEXT), QStringLiteral("音量"));
    EXPECT_TRUE(list->item(count - 1)->text().endsWith(QStringLiteral("Volume")));
    SheetButton(s, "sheetOk");

    cSystem saved = Saved();
    ASSERT_EQ(saved.m_Inis.size(), count + 1);
    EXPECT_EQ(saved.m_Inis[count - 1].m_Key, "Volume");
    EXPECT_EQ(saved.m_Inis[count - 1].m_nDefault, 80);
    EXPECT_EQ(saved.m_Inis[count - 1].m_Text, SJ("音量"));
    EXPECT_EQ(saved.m_Inis[count].m_Key, "Midi_DirectMusic");

    // Deleting every key leaves one.
    s = OpenAt(kSystem10);
    page = dynamic_cast<DLG_DBSYSTEM_10*>(s->DbPage(kSystem10));
    for (int i = 0; i < count + 3; ++i)
        Click(page, DLG_DBSYSTEM_10::IDC_DELETE);
    EXPECT_EQ(sys.m_Inis.size(), 1);
    SheetButton(s, "sheetCancel");
}

// Every page shown (a record selected where the page has a list), then OK:
// every file of the project as it was.
TEST_F(SystemWordPagesTest, EveryPageVisitedThenOkChangesNoByte)
{
    const Files before = AllFiles();
    ASSERT_FALSE(before.empty());
    PROP_DATABASE* s = OpenAt(0);
    ASSERT_NE(s, nullptr);
    for (int i = 0; i < kPageCount; ++i) {
        s->SetCurrentPage(i);
        Pump();
        DLG_CLASS* page = s->DbPage(i);
        ASSERT_TRUE(page->Exists()) << i;
        if (auto* list = qobject_cast<QListWidget*>(page->Item(IDC_DB_LIST)); list && list->count() > 0) {
            int row = list->count() > 1 ? 1 : 0;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                              list->visualItemRect(list->item(row)).center());
            Pump();
        }
    }
    SheetButton(s, "sheetOk");
    ASSERT_EQ(DatabaseWindow(), nullptr);
    const Files after = AllFiles();
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [path, bytes] : before) {
        auto it = after.find(path);
        ASSERT_NE(it, after.end()) << path;
        EXPECT_TRUE(it->second == bytes) << path;
    }
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(SystemWordPagesTest, System5Screenshot)
{
    PROP_DATABASE* s = OpenAt(kSystem5);
    // Under a real window manager the sheet is placed and sized after it shows.
    EXPECT_TRUE(QTest::qWaitForWindowExposed(s->Widget()));
    QTest::qWait(300);
    QImage shot = s->Widget()->grab().toImage();
    shot.save(QStringLiteral(VANTOR_BUILD_DIR "/tests/database_system5_page.png"));
    SheetButton(s, "sheetCancel");
}

}  // namespace
