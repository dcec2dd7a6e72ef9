#include "database/usage.h"

#include <cstdio>

#include "base/text.h"

namespace {

bool Names(int group, int skill, int wantGroup, int wantSkill)
{
    return group == wantGroup && (wantSkill < 0 || skill == wantSkill);
}

template <class C>
void CharaSkillUsage(const RecordList<C>* list, UsageKind kind, int group, int skill, std::vector<Usage>& out)
{
    if (!list)
        return;
    for (int i = 0; i < list->size(); ++i)
        for (const cLearnSkill& learn : (*list)[i].m_LearnSkills)
            if (Names(learn.m_nSkillList, learn.m_nSkill, group, skill)) {
                out.push_back({kind, i});
                break;
            }
}

std::string Numbered(const std::string& what, int index, const std::string& name)
{
    char number[16];
    std::snprintf(number, sizeof number, " %03d ", index + 1);
    return what + number + name;
}

template <class T>
std::string NameIn(const RecordList<T>* list, int index)
{
    return list && index >= 0 && index < list->size() ? (*list)[index].m_Name : std::string();
}

}  // namespace

std::vector<Usage> FindClassUsage(const DatabaseView& db, int cls)
{
    std::vector<Usage> out;
    if (db.friends)
        for (int i = 0; i < db.friends->size(); ++i)
            if ((*db.friends)[i].m_nClass == cls)
                out.push_back({UsageKind::Friend, i});
    if (db.enemies)
        for (int i = 0; i < db.enemies->size(); ++i)
            if ((*db.enemies)[i].m_nClass == cls)
                out.push_back({UsageKind::Enemy, i});
    if (db.skills)
        for (int g = 0; g < db.skills->size(); ++g)
            for (int s = 0; s < (*db.skills)[g].m_Skills.size(); ++s)
                if ((*db.skills)[g].m_Skills[s].m_nLearnClass == cls)
                    out.push_back({UsageKind::Skill, g, s});
    return out;
}

std::vector<Usage> FindSkillUsage(const DatabaseView& db, int group, int skill)
{
    std::vector<Usage> out;
    CharaSkillUsage(db.friends, UsageKind::Friend, group, skill, out);
    CharaSkillUsage(db.enemies, UsageKind::Enemy, group, skill, out);
    if (db.classes)
        for (int i = 0; i < db.classes->size(); ++i) {
            const cClass& c = (*db.classes)[i];
            if (!c.m_bNoAttack && Names(c.m_nAttackList, c.m_nAttackSkill, group, skill))
                out.push_back({UsageKind::Class, i});
        }
    if (db.enemies)
        for (int i = 0; i < db.enemies->size(); ++i) {
            const cEnemy& e = (*db.enemies)[i];
            // Attacks and waiting use no skill whatever the rule holds.
            for (int r = 0; r < e.m_BattleAI.size(); ++r) {
                const cBattleAI& rule = e.m_BattleAI[r];
                if (rule.m_nAction != BattleAIAction::Attack && Names(rule.m_nSkillGroup, rule.m_nSkill, group, skill))
                    out.push_back({UsageKind::BattleRule, i, r});
            }
            for (int r = 0; r < e.m_MoveAI.size(); ++r) {
                const cMoveAI& rule = e.m_MoveAI[r];
                if (rule.m_nAction != MoveAIAction::Wait && Names(rule.m_nSkillGroup, rule.m_nSkill, group, skill))
                    out.push_back({UsageKind::MoveRule, i, r});
            }
        }
    return out;
}

std::vector<Usage> FindElementUsage(const DatabaseView& db, int element)
{
    std::vector<Usage> out;
    if (element < 0)
        return out;
    std::size_t e = static_cast<std::size_t>(element);
    if (db.classes)
        for (int i = 0; i < db.classes->size(); ++i) {
            const std::vector<int32_t>& resist = (*db.classes)[i].m_ElemResist;
            if (e < resist.size() && resist[e] != 100)
                out.push_back({UsageKind::Class, i});
        }
    if (db.skills)
        for (int g = 0; g < db.skills->size(); ++g)
            for (int s = 0; s < (*db.skills)[g].m_Skills.size(); ++s) {
                const cSkill& skill = (*db.skills)[g].m_Skills[s];
                if (skill.m_nElement == element && !skill.m_bWeaponElement)
                    out.push_back({UsageKind::Skill, g, s});
            }
    if (db.lands)
        for (int i = 0; i < db.lands->size(); ++i) {
            const std::vector<int32_t>& mods = (*db.lands)[i].m_ElemMod;
            if (e < mods.size() && mods[e] != 100)
                out.push_back({UsageKind::Land, i});
        }
    return out;
}

std::string UsageLine(const DatabaseView& db, const Usage& u)
{
    char rule[32];
    std::snprintf(rule, sizeof rule, " %d", u.sub + 1);
    switch (u.kind) {
    case UsageKind::Friend: return Numbered(SJ("味方キャラ"), u.index, NameIn(db.friends, u.index));
    case UsageKind::Enemy: return Numbered(SJ("敵キャラ"), u.index, NameIn(db.enemies, u.index));
    case UsageKind::Class: return Numbered(SJ("クラス"), u.index, NameIn(db.classes, u.index));
    case UsageKind::BattleRule: return Numbered(SJ("敵キャラ"), u.index, NameIn(db.enemies, u.index)) + SJ(" 戦闘AI") + rule;
    case UsageKind::MoveRule: return Numbered(SJ("敵キャラ"), u.index, NameIn(db.enemies, u.index)) + SJ(" 移動AI") + rule;
    case UsageKind::Skill: {
        std::string name;
        if (db.skills && u.index >= 0 && u.index < db.skills->size())
            name = NameIn(&(*db.skills)[u.index].m_Skills, u.sub);
        return Numbered(SJ("スキル"), u.index, NameIn(db.skills, u.index)) + SJ(" の") + rule + " " + name;
    }
    case UsageKind::Land: return Numbered(SJ("地形"), u.index, NameIn(db.lands, u.index));
    }
    return std::string();
}
