// The pages "システム1" to "システム4" of the database window over the starter
// project: the battle mode with its auto flag, the reference action counts,
// the element dialog with its usage list, the system sounds, and a visit that
// changes nothing.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>
#include <map>

#include "app/startup.h"
#include "base/paths.h"
#include "base/text.h"
#include "database/usage.h"
#include "database/window/database_sheet.h"
#include "database/window/db_pages.h"
#include "database/window/list_dialogs.h"
#include "database/window/system_pages.h"
#include "media/image_table.h"
#include "media/sound_output.h"
#include "project/default_project.h"
#include "project/project.h"
#include "stage/window/main_window.h"
#include "tests/gui/database_fixture.h"
#include "tests/gui/gui_util.h"
#include "tests/test_util.h"
#include "ui/qt_text.h"

namespace fs = std::filesystem;

namespace {

enum { kSystem1 = 15, kSystem2, kSystem3, kSystem4 };

class SystemPagesTest : public DatabaseWindowTest {
protected:
    template <class W>
    static W* Get(DLG_CLASS* page, int id)
    {
        auto* w = qobject_cast<W*>(page->Item(id));
        EXPECT_NE(w, nullptr) << id;
        return w;
    }
    static void Click(QAbstractButton* b)
    {
        QPoint at = qobject_cast<QCheckBox*>(b) ? QPoint(6, b->height() / 2) : b->rect().center();
        QTest::mouseClick(b, Qt::LeftButton, {}, at);
        Pump();
    }
    static void SetText(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        TypeText(edit, text);
        Pump();
    }
    static void Choose(QComboBox* c, int index)
    {
        c->setCurrentIndex(index);
        emit c->activated(index);
        Pump();
    }
    static QPushButton* DialogButton(QDialog* dlg, const char* utf8)
    {
        for (QPushButton* b : dlg->findChildren<QPushButton*>())
            if (b->text() == QString::fromUtf8(utf8))
                return b;
        ADD_FAILURE() << utf8;
        return nullptr;
    }

};


TEST_F(SystemPagesTest, BattleModeCarriesTheAutoFlagAndBattleTimeTheReferenceCounts)
{
    cSystem& sys = TheProject().m_System;
    ASSERT_EQ(sys.m_nBattleMode, 0);
    PROP_DATABASE* s = OpenAt(kSystem3);
    DLG_CLASS* page = s->DbPage(kSystem3);
    ASSERT_TRUE(page->Exists());

    auto* mode = Get<QComboBox>(page, DLG_DBSYSTEM_3::IDC_BATTLE_MODE);
    ASSERT_EQ(mode->count(), 2);
    for (int m : {1, 0, 1}) {
        Choose(mode, m);
        EXPECT_EQ(sys.m_nBattleMode, m);
        EXPECT_EQ(sys.m_bAutoBattle, m);
    }

    // The reference counts follow the battle time, the initial values, the
    // agility modifiers and the defender's wait, and are never typed.
    auto* attacker = Get<QLineEdit>(page, DLG_DBSYSTEM_3::IDC_REF_ACTIONS);
    auto* defender = Get<QLineEdit>(page, DLG_DBSYSTEM_3::IDC_REF_ACTIONS + 1);
    EXPECT_TRUE(attacker->isReadOnly());
    const QString before = attacker->text();
    const double refBefore = sys.m_RefActions[0];
    SetText(Get<QLineEdit>(page, DLG_DBSYSTEM_3::IDC_BATTLE_TIME), QStringLiteral("54"));
    EXPECT_EQ(sys.m_nBattleTime, 54);
    EXPECT_GT(sys.m_RefActions[0], refBefore);
    EXPECT_NE(attacker->text(), before);
    EXPECT_EQ(attacker->text(), QString::asprintf("%.2f", sys.m_RefActions[0]));

    const QString defenderWaiting = defender->text();
    Click(Get<QCheckBox>(page, DLG_DBSYSTEM_3::IDC_DEFENDER_WAITS));
    EXPECT_EQ(sys.m_bDefenderWaits, 0);
    EXPECT_NE(defender->text(), defenderWaiting);
    SetText(Get<QLineEdit>(page, DLG_DBSYSTEM_3::IDC_AGILITY_MOD + 1), QStringLiteral("0"));
    EXPECT_EQ(defender->text(), QString::asprintf("%.2f", sys.m_InitAction[1] / double(kActionThreshold)));

    // Apply writes the mode and its flag.
    SheetButton(s, "sheetOk");
    cSystem saved;
    ASSERT_EQ(saved.LoadFile(ProjectFile::System), 1);
    EXPECT_EQ(saved.m_nBattleMode, 1);
    EXPECT_EQ(saved.m_bAutoBattle, 1);
    EXPECT_EQ(saved.m_nBattleTime, 54);
}

TEST_F(SystemPagesTest, ElementsAddedInTheirDialogReachTheSystemFile)
{
    Project& p = TheProject();
    const int count = p.m_System.m_Elems.size();
    ASSERT_GE(count, 1);
    ASSERT_GE(p.m_Classes.size(), 1);
    // A class that resists the first element: named in its usage list.
    p.m_Classes[0].m_ElemResist.resize(static_cast<std::size_t>(count), 100);
    p.m_Classes[0].m_ElemResist[0] = 50;
    PROP_DATABASE* s = OpenAt(kSystem4);
    DLG_CLASS* page = s->DbPage(kSystem4);

    int usageLines = -1, expectedUsage = -2;
    QTimer::singleShot(0, [&] {
        QDialog* dlg = CurrentModalDialog();
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("属性の種類"));
        auto* list = dlg->findChildren<QListWidget*>().front();
        list->setCurrentRow(0);
        Pump();
        auto* usage = dlg->findChildren<QListWidget*>().back();
        usageLines = usage->count();
        expectedUsage = static_cast<int>(FindElementUsage(ProjectDatabaseView(), 0).size());
        Click(DialogButton(dlg, "挿入"));
        auto* name = dlg->findChildren<QLineEdit*>().front();
        name->setFocus();
        name->selectAll();
        TypeText(name, QStringLiteral("雷"));
        Pump();
        Click(DialogButton(dlg, "OK"));
    });
    Click(Get<QPushButton>(page, DLG_DBSYSTEM_4::IDC_ELEMS));
    EXPECT_GE(expectedUsage, 1);
    EXPECT_EQ(usageLines, expectedUsage);
    ASSERT_EQ(p.m_System.m_Elems.size(), count + 1);
    EXPECT_EQ(p.m_System.m_Elems[0].m_Name, SJ("雷"));
    EXPECT_TRUE(Get<QLabel>(page, DLG_DBSYSTEM_4::IDC_ELEM_NAMES)->text().contains(QStringLiteral("雷")));

    SheetButton(s, "sheetApply");
    cSystem saved;
    ASSERT_EQ(saved.LoadFile(ProjectFile::System), 1);
    EXPECT_EQ(saved.m_Elems.size(), count + 1);
    SheetButton(s, "sheetCancel");
}

TEST_F(SystemPagesTest, SystemSoundRowsBrowseAndPlay)
{
    cSystem& sys = TheProject().m_System;
    SilentSoundOutput out;
    out.OpenEffects("waveaudio", {});
    SoundOutput* old = SetSoundOutput(&out);
    PROP_DATABASE* s = OpenAt(kSystem4);
    DLG_CLASS* page = s->DbPage(kSystem4);

    std::string folder;
    DatabaseFileChooser() = [&folder](std::string& path, const FileQuestion& q) {
        folder = q.folder;
        path = SJ("wave\\決定音.wav");
        return true;
    };
    Click(Get<QPushButton>(page, DLG_DBSYSTEM_4::IDC_SOUND_BROWSE + 2));
    EXPECT_EQ(folder, "wave");
    EXPECT_EQ(sys.m_SoundFiles[2], SJ("wave\\決定音.wav"));
    EXPECT_EQ(Get<QLineEdit>(page, DLG_DBSYSTEM_4::IDC_SOUND_PATH + 2)->text(), QStringLiteral("wave\\決定音.wav"));
    Click(Get<QPushButton>(page, DLG_DBSYSTEM_4::IDC_SOUND_PLAY + 2));
    EXPECT_EQ(out.effect, SJ("wave\\決定音.wav"));
    EXPECT_TRUE(sink.texts.empty());
    // A row without a file does not play: "読み込み失敗！".
    Click(Get<QPushButton>(page, DLG_DBSYSTEM_4::IDC_SOUND_PLAY + 3));
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(sink.texts[0].rfind(SJ("読み込み失敗！"), 0), 0u);

    // Values and switches sit on the first rows, as many as their lists hold.
    EXPECT_NE(page->Item(DLG_DBSYSTEM_4::IDC_SOUND_VALUE + kSystemSoundValueCount - 1), nullptr);
    EXPECT_EQ(page->Item(DLG_DBSYSTEM_4::IDC_SOUND_VALUE + kSystemSoundValueCount), nullptr);
    SetText(Get<QLineEdit>(page, DLG_DBSYSTEM_4::IDC_SOUND_VALUE + 1), QStringLiteral("7"));
    Click(Get<QCheckBox>(page, DLG_DBSYSTEM_4::IDC_SOUND_SWITCH + 4));
    EXPECT_EQ(sys.m_SoundValues[1], 7);
    EXPECT_EQ(sys.m_SoundSwitches[4], 1);
    EXPECT_EQ(sys.m_SoundFiles.size(), std::size_t(kSystemSoundCount));

    // Leaving the page stops the effect.
    s->SetCurrentPage(kSystem3);
    Pump();
    EXPECT_TRUE(out.effect.empty());
    SheetButton(s, "sheetCancel");
    SetSoundOutput(old);
}

TEST_F(SystemPagesTest, VisitingThePagesChangesNoByte)
{
    cSystem& sys = TheProject().m_System;
    // Values no input could produce: a real finer than the edit shows, a flag
    // of 2, a party value beyond the list, a switch of 3.
    sys.m_dHitFactor = 4.125;
    sys.m_bMissNoCost = 2;
    sys.m_nScoutVariable = 500;
    sys.m_SoundSwitches[0] = 3;
    ASSERT_EQ(sys.SaveFile(ProjectFile::System), 1);
    std::map<std::string, std::vector<uint8_t>> before;
    for (const auto& e : fs::directory_iterator(HostPath("data\\database")))
        before[e.path().filename().string()] = ReadFile(e.path().string());

    PROP_DATABASE* s = OpenAt(kSystem1);
    for (int i = kSystem1; i <= kSystem4; ++i) {
        s->SetCurrentPage(i);
        Pump();
        ASSERT_TRUE(s->DbPage(i)->Exists()) << i;
    }
    // Another input on the page typed into: the untouched ones stay as they were.
    DLG_CLASS* page3 = s->DbPage(kSystem3);
    s->SetCurrentPage(kSystem3);
    Pump();
    SetText(Get<QLineEdit>(page3, DLG_DBSYSTEM_3::IDC_HEAL), QStringLiteral("50"));
    SheetButton(s, "sheetOk");
    EXPECT_EQ(DatabaseWindow(), nullptr);
    for (const auto& [name, bytes] : before)
        EXPECT_EQ(ReadFile(HostPath("data\\database\\" + name)), bytes) << name;
    EXPECT_EQ(sys.m_dHitFactor, 4.125);
    EXPECT_EQ(sys.m_bMissNoCost, 2);
    EXPECT_EQ(sys.m_nScoutVariable, 500);
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(SystemPagesTest, Screenshots)
{
    PROP_DATABASE* s = OpenAt(kSystem1);
    for (int i = kSystem1; i <= kSystem4; ++i) {
        s->SetCurrentPage(i);
        Pump();
        QImage shot = s->Widget()->grab().toImage();
        EXPECT_EQ(shot.size(), QSize(971, 714));
        shot.save(QStringLiteral(VANTOR_BUILD_DIR "/tests/database_system%1_page.png").arg(i - kSystem1 + 1));
    }
    SheetButton(s, "sheetCancel");
}

}  // namespace
