#include "database/usage.h"

#include <gtest/gtest.h>

#include "base/text.h"

namespace {

struct Db {
    RecordList<cClass> classes;
    RecordList<cFriend> friends;
    RecordList<cEnemy> enemies;
    RecordList<cSkillList> skills;
    RecordList<cLand> lands;
    DatabaseView View() { return {&classes, &friends, &enemies, &skills, &lands}; }
};

Db Sample()
{
    Db db;
    db.classes.resize(3);
    for (cClass& c : db.classes) {
        c.m_nAttackList = 0;
        c.m_nAttackSkill = 0;
        c.m_ElemResist.assign(3, 100);
    }
    db.classes[1].m_nAttackList = 1;
    db.classes[1].m_nAttackSkill = 2;
    db.classes[2].m_nAttackList = 1;
    db.classes[2].m_nAttackSkill = 2;
    db.classes[2].m_bNoAttack = 1;  // its attack names the skill but is switched off
    db.classes[2].m_ElemResist[1] = 50;

    db.friends.resize(2);
    db.friends[0].m_nClass = 1;
    db.friends[1].m_nClass = 2;
    db.friends[1].m_LearnSkills.emplace_back().m_nSkillList = 1;
    db.friends[1].m_LearnSkills[0].m_nSkill = 2;

    db.enemies.resize(2);
    db.enemies[0].m_nClass = 1;
    db.enemies[1].m_nClass = 2;
    db.enemies[0].m_BattleAI.clear();
    db.enemies[1].m_BattleAI.clear();
    cBattleAI& attack = db.enemies[1].m_BattleAI.emplace_back();
    attack.m_nSkillGroup = 1;
    attack.m_nSkill = 2;  // an attack: no skill used
    cBattleAI& skill = db.enemies[1].m_BattleAI.emplace_back();
    skill.m_nAction = BattleAIAction::Quick;
    skill.m_nSkillGroup = 1;
    skill.m_nSkill = 2;
    cMoveAI& move = db.enemies[1].m_MoveAI.emplace_back();
    move.m_nAction = MoveAIAction::Heal;
    move.m_nSkillGroup = 1;
    move.m_nSkill = 0;

    db.skills.resize(2);
    db.skills[1].m_Skills.resize(3);
    db.skills[1].m_Skills[0].m_nLearnClass = 1;
    db.skills[1].m_Skills[1].m_nElement = 1;
    db.skills[1].m_Skills[2].m_nElement = 1;
    db.skills[1].m_Skills[2].m_bWeaponElement = 1;  // takes the weapon's element instead

    db.lands.resize(2);
    for (cLand& l : db.lands)
        l.m_ElemMod.assign(3, 100);
    db.lands[0].m_ElemMod[1] = 0;
    return db;
}

using U = Usage;
using K = UsageKind;

TEST(Usage, WhoRefersToAnEntry)
{
    Db db = Sample();
    DatabaseView v = db.View();
    EXPECT_EQ(FindClassUsage(v, 1), (std::vector<U>{{K::Friend, 0}, {K::Enemy, 0}, {K::Skill, 1, 0}}));
    // Learning class 0 is the first class, not "none".
    EXPECT_EQ(FindClassUsage(v, 0), (std::vector<U>{{K::Skill, 1, 1}, {K::Skill, 1, 2}}));
    EXPECT_EQ(FindSkillUsage(v, 1, 2),
              (std::vector<U>{{K::Friend, 1}, {K::Class, 1}, {K::BattleRule, 1, 1}}));
    EXPECT_EQ(FindSkillUsage(v, 1, -1),
              (std::vector<U>{{K::Friend, 1}, {K::Class, 1}, {K::BattleRule, 1, 1}, {K::MoveRule, 1, 0}}));
    EXPECT_EQ(FindElementUsage(v, 1), (std::vector<U>{{K::Class, 2}, {K::Skill, 1, 1}, {K::Land, 0}}));
    EXPECT_EQ(FindElementUsage(v, 2), (std::vector<U>{}));

    // Missing tables are skipped.
    EXPECT_EQ(FindClassUsage(DatabaseView{}, 1), (std::vector<U>{}));
}

TEST(Usage, LinesNameTheReferringRecord)
{
    Db db = Sample();
    db.enemies[1].m_Name = SJ("スライム");
    db.skills[1].m_Name = SJ("魔法");
    db.skills[1].m_Skills[1].m_Name = SJ("炎");
    DatabaseView v = db.View();
    EXPECT_EQ(UsageLine(v, {K::BattleRule, 1, 1}), SJ("敵キャラ 002 スライム 戦闘AI 2"));
    EXPECT_EQ(UsageLine(v, {K::Skill, 1, 1}), SJ("スキル 002 魔法 の 2 炎"));
    EXPECT_EQ(UsageLine(v, {K::Friend, 5}), SJ("味方キャラ 006 "));
}

}  // namespace
