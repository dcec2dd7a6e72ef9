#include "project/database_snapshot.h"

#include <gtest/gtest.h>

#include "project/default_project.h"

namespace {

// Every table the database window edits is changed; the snapshot puts them
// all back.
TEST(DatabaseSnapshot, RestoresEveryTable)
{
    ResetProject();
    Project& p = TheProject();
    BuildDefaultProject(p);
    DatabaseSnapshot snap;
    snap.Take(p);
    ASSERT_TRUE(snap.Matches(p));

    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"compatibility types", [&] { p.m_Database.m_CompatiTypes.emplace_back(); }},
        {"party values", [&] { p.m_Database.m_PtVals[0].m_Name = "x"; }},
        {"character animations", [&] { p.m_Database.m_CharaAnims.emplace_back(); }},
        {"effect animations", [&] { p.m_Database.m_EffectAnims[0].m_nPreview = 5; }},
        {"pictures", [&] { p.m_Database.m_Pictures.emplace_back(); }},
        {"backgrounds", [&] { p.m_Database.m_Backs[0].m_dScrollX = 1.5; }},
        {"sounds", [&] { p.m_Database.m_Sounds.emplace_back(); }},
        {"music", [&] { p.m_Database.m_Bgms[0].m_nVolume = 10; }},
        {"help", [&] { p.m_Database.m_Helps.emplace_back(); }},
        {"classes", [&] { p.m_Classes.emplace_back(); }},
        {"allies", [&] { p.m_Friends.emplace_back(); }},
        {"enemies", [&] { p.m_Enemies.emplace_back(); }},
        {"skill groups", [&] { p.m_SkillLists.emplace_back(); }},
        {"lands", [&] { p.m_Lands[1].m_Name = "changed"; }},
        {"system", [&] { p.m_System.m_Elems.emplace_back(); }},
        {"world chips", [&] { p.m_WorldMap.m_Chips[0].m_nGraphic = 77; }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        change();
        EXPECT_FALSE(snap.Matches(p));
        snap.Restore(p);
        EXPECT_TRUE(snap.Matches(p));
    }
    ResetProject();
}

}  // namespace
