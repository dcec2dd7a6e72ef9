// The battle-mode dialog shown once after the default data were created.
#include <gtest/gtest.h>

#include <QComboBox>

#include "app/window/editor_app.h"
#include "gui/gui_util.h"
#include "project/project.h"
#include "tests/test_util.h"

TEST(BattleModeDialog, OkStoresTheModeWithItsAutoFlagAndSavesTheSystemRecord)
{
    TempDir dir;
    std::filesystem::create_directories("data/database");
    struct Case {
        int before, choice;
    } cases[] = {{0, 1}, {1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        ResetProject();
        cSystem& system = TheProject().m_System;
        system.SetBattleMode(c.before);
        DLG_BATTLEMODE dlg;
        int shown = -1;
        int result = RunModal(dlg, [&] {
            auto* combo = qobject_cast<QComboBox*>(dlg.Item(DLG_BATTLEMODE::IDC_MODE));
            ASSERT_NE(combo, nullptr);
            shown = combo->currentIndex();
            combo->setCurrentIndex(c.choice);
            QTest::mouseClick(dlg.Item(IDC_OK), Qt::LeftButton);
        });
        EXPECT_EQ(result, 1);
        EXPECT_EQ(shown, c.before);  // the dialog offers the current mode
        EXPECT_EQ(system.m_nBattleMode, c.choice);
        EXPECT_EQ(system.m_bAutoBattle, c.choice);
        cSystem saved;
        ASSERT_EQ(saved.LoadFile("data\\database\\System.dat"), 1);
        EXPECT_EQ(saved.m_nBattleMode, c.choice);
        EXPECT_EQ(saved.m_bAutoBattle, c.choice);
    }

    // Closed without OK: nothing is stored or written.
    std::filesystem::remove("data/database/System.dat");
    ResetProject();
    DLG_BATTLEMODE dlg;
    EXPECT_NE(RunModal(dlg, [&] {
        auto* combo = qobject_cast<QComboBox*>(dlg.Item(DLG_BATTLEMODE::IDC_MODE));
        combo->setCurrentIndex(1);
    }), 1);
    EXPECT_EQ(TheProject().m_System.m_nBattleMode, 0);
    EXPECT_FALSE(std::filesystem::exists("data/database/System.dat"));
    ResetProject();
}
