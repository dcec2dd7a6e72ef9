// The ally and enemy pages of the database window over the starter project:
// the read-only "ゲーム値" and "参考値" beside the stats, new entries, the
// battle rules opened from the enemy page, and a visit that changes nothing.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QLineEdit>
#include <QListWidget>
#include <filesystem>

#include "app/startup.h"
#include "base/paths.h"
#include "base/text.h"
#include "database/window/chara_dialogs.h"
#include "database/window/chara_pages.h"
#include "database/window/database_sheet.h"
#include "media/image_table.h"
#include "project/default_project.h"
#include "project/project.h"
#include "stage/window/main_window.h"
#include "tests/gui/database_fixture.h"
#include "tests/gui/gui_util.h"
#include "tests/test_util.h"

namespace fs = std::filesystem;

namespace {

enum { kFriendPage = 1, kEnemyPage = 2 };

class CharaPagesTest : public DatabaseWindowTest {
protected:
    static QListWidget* List(DLG_CLASS* page) { return qobject_cast<QListWidget*>(page->Item(IDC_DB_LIST)); }
    static void Choose(DLG_CLASS* page, int id, int index)
    {
        auto* c = qobject_cast<QComboBox*>(page->Item(id));
        c->setCurrentIndex(index);
        emit c->activated(index);
        Pump();
    }
    static void SetText(DLG_CLASS* page, int id, const QString& text)
    {
        auto* edit = qobject_cast<QLineEdit*>(page->Item(id));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        TypeText(edit, text);
        Pump();
    }
    // Every database file's bytes, by name.
    static std::map<std::string, std::vector<uint8_t>> DatabaseBytes()
    {
        std::map<std::string, std::vector<uint8_t>> out;
        for (const auto& e : fs::directory_iterator(HostPath("data\\database")))
            out[e.path().filename().string()] = ReadFile(e.path());
        return out;
    }

};


// Two classes of limit 11 growing HP 10 → 110 and 20 → 220.
void GiveClassesKnownHp(Project& p)
{
    const int32_t hp[2][2] = {{10, 110}, {20, 220}};
    for (int c = 0; c < 2; ++c) {
        p.m_Classes[c].m_nLevelLimit = 11;
        p.m_Classes[c].m_InitialStats[0] = hp[c][0];
        p.m_Classes[c].m_FinalStats[0] = hp[c][1];
    }
}

TEST_F(CharaPagesTest, GameAndReferenceValuesFollowTheInputsNotTheRecord)
{
    Project& p = TheProject();
    GiveClassesKnownHp(p);
    cFriend& stored = p.m_Friends[1];
    stored.m_nClass = 0;
    stored.m_nLevel = 6;
    stored.m_nGrowthTiming = 0;
    stored.m_InitialStats[0] = 0;  // HP from the class
    stored.m_FinalStats[0] = 0;
    stored.m_InitialStats[1] = 7;  // SP of its own, not growing
    stored.m_FinalStats[1] = 0;

    PROP_DATABASE* s = OpenAt(kFriendPage);
    auto* page = static_cast<DLG_DBFRIEND*>(s->DbPage(kFriendPage));
    ClickLine(page, 1);
    EXPECT_EQ(page->GameText(0), QStringLiteral("10 → 110"));
    EXPECT_EQ(page->ReferenceText(0), QStringLiteral("60"));
    EXPECT_EQ(page->GameText(1), QStringLiteral("7 → 7"));
    const cFriend before = p.m_Friends[1];

    // Another class: its values, the character's own stored values untouched.
    Choose(page, DLG_DBFRIEND::IDC_CLASS, 1);
    EXPECT_EQ(page->GameText(0), QStringLiteral("20 → 220"));
    EXPECT_EQ(page->ReferenceText(0), QStringLiteral("120"));
    EXPECT_EQ(page->GameText(1), QStringLiteral("7 → 7"));
    cFriend expected = before;
    expected.m_nClass = 1;
    EXPECT_TRUE(p.m_Friends[1].Equals(expected));

    // Level, timing and a stat each move the columns.
    struct Step { int id; const char* text; int stat; const char* game; const char* reference; };
    const Step steps[] = {
        {DLG_DBFRIEND::IDC_LEVEL, "11", 0, "20 → 220", "220"},
        {DLG_DBFRIEND::IDC_LEVEL, "6", 0, "20 → 220", "120"},
        {DLG_DBFRIEND::IDC_TIMING, "10", 0, "20 → 220", "70"},
        {DLG_DBFRIEND::IDC_TIMING, "-10", 0, "20 → 220", "161"},
        {DLG_DBFRIEND::IDC_FINAL + 2, "27", 1, "7 → 27", "21"},
        // an own initial value with final value 0 does not grow
        {DLG_DBFRIEND::IDC_INITIAL, "40", 0, "40 → 40", "40"},
    };
    for (const Step& st : steps) {
        SetText(page, st.id, QString::fromUtf8(st.text));
        EXPECT_EQ(page->GameText(st.stat), QString::fromUtf8(st.game)) << st.text;
        EXPECT_EQ(page->ReferenceText(st.stat), QString::fromUtf8(st.reference)) << st.text;
    }
    EXPECT_EQ(p.m_Friends[1].m_InitialStats[0], 40);
    EXPECT_EQ(p.m_Friends[1].m_GameInitial, before.m_GameInitial);
    EXPECT_EQ(p.m_Friends[1].m_LevelValues, before.m_LevelValues);
    SheetButton(s, "sheetCancel");
}

TEST_F(CharaPagesTest, NewEntriesAreFreshCharactersAndANewRuleHasItsDefaults)
{
    Project& p = TheProject();
    {
        PROP_DATABASE* s = OpenAt(kFriendPage);
        DLG_CLASS* page = s->DbPage(kFriendPage);
        const int count = p.m_Friends.size();
        ClickLine(page, 2);
        Click(page, IDC_DB_NEW);
        ClickLine(page, 0);
        ClickLine(page, 2);  // shown, left and shown again
        ASSERT_EQ(p.m_Friends.size(), count + 1);
        const cFriend fresh;
        EXPECT_TRUE(p.m_Friends[2].Equals(fresh));
        EXPECT_EQ(p.m_Friends[2].m_nLevel, 1);
        EXPECT_EQ(p.m_Friends[2].m_nClass, 1);
        EXPECT_EQ(p.m_Friends[2].m_bRandomName, 1);
        EXPECT_EQ(p.m_Friends[2].m_bShopFromStart, 1);
        EXPECT_EQ(p.m_Friends[2].m_bRegenerate, 1);
        SheetButton(s, "sheetCancel");
    }
    PROP_DATABASE* s = OpenAt(kEnemyPage);
    DLG_CLASS* page = s->DbPage(kEnemyPage);
    ClickLine(page, 1);
    Click(page, IDC_DB_NEW);
    const cEnemy& made = p.m_Enemies[1];
    EXPECT_EQ(made.m_nLevel, 1);
    EXPECT_EQ(made.m_nUnedited2, 1);
    ASSERT_EQ(made.m_BattleAI.size(), 1);

    // "戦闘AI": a rule inserted in the dialog, kept by OK.
    QTimer::singleShot(0, [] {
        QDialog* dlg = CurrentModalDialog();
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("戦闘AI"));
        for (auto* b : dlg->findChildren<QAbstractButton*>())
            if (b->property("ctrlId").toInt() == DLG_BATTLEAI::IDC_INSERT)
                QTest::mouseClick(b, Qt::LeftButton);
        Pump();
        for (auto* b : dlg->findChildren<QAbstractButton*>())
            if (b->property("ctrlId").toInt() == IDC_OK) {
                QTest::mouseClick(b, Qt::LeftButton);
                break;
            }
    });
    Click(page, DLG_DBENEMY::IDC_BATTLE_AI);
    ASSERT_EQ(p.m_Enemies[1].m_BattleAI.size(), 2);
    const cBattleAI& rule = p.m_Enemies[1].m_BattleAI[0];
    EXPECT_EQ(rule.m_nPriorityLevel, 1);
    EXPECT_EQ(rule.m_nPriorityValue, 10);
    EXPECT_EQ(rule.m_nSkill, 1);
    SheetButton(s, "sheetCancel");
}

TEST_F(CharaPagesTest, VisitedPagesThenOkChangeNoByte)
{
    Project& p = TheProject();
    // A value no entry of its combo stands for (the random-name files are
    // gone) and a number beyond its input's range: shown, both stay.
    for (const auto& e : fs::directory_iterator(HostPath(ProjectFile::RandomNameFolder)))
        fs::remove(e.path());
    p.m_Friends[1].m_nRandomNameFile = 7;
    p.m_Enemies[1].m_nFixedExp = 12345;
    ASSERT_EQ(SaveDatabase(), 1);
    const auto before = DatabaseBytes();

    PROP_DATABASE* s = OpenAt(kFriendPage);
    for (int page : {kFriendPage, kEnemyPage}) {
        s->SetCurrentPage(page);
        Pump();
        DLG_CLASS* pg = s->DbPage(page);
        for (int line = 0; line < List(pg)->count(); ++line)
            ClickLine(pg, line);
        ClickLine(pg, 1);
    }
    SheetButton(s, "sheetOk");
    EXPECT_EQ(DatabaseWindow(), nullptr);
    EXPECT_EQ(p.m_Friends[1].m_nRandomNameFile, 7);
    EXPECT_EQ(p.m_Enemies[1].m_nFixedExp, 12345);
    const auto after = DatabaseBytes();
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [name, bytes] : before)
        EXPECT_TRUE(after.at(name) == bytes) << name;
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(CharaPagesTest, EnemyPageScreenshot)
{
    PROP_DATABASE* s = OpenAt(kEnemyPage);
    ClickLine(s->DbPage(kEnemyPage), 1);
    QImage shot = s->Widget()->grab().toImage();
    EXPECT_EQ(shot.size(), QSize(971, 714));
    shot.save(QStringLiteral(VANTOR_BUILD_DIR "/tests/database_enemy_page.png"));
    // Under an X server with a window manager, the screen as well: the sheet
    // in its frame.
    if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
        QTest::qWait(300);
        QGuiApplication::primaryScreen()->grabWindow(0).save(
            QStringLiteral(VANTOR_BUILD_DIR "/tests/database_enemy_page_screen.png"));
    }
    SheetButton(s, "sheetCancel");
}

}  // namespace
