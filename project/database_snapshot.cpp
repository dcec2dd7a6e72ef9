#include "project/database_snapshot.h"

namespace {

template <class T>
bool SameList(const RecordList<T>& a, const RecordList<T>& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (!a[i].Equals(b[i]))
            return false;
    return true;
}

}  // namespace

void DatabaseSnapshot::Take(const Project& p)
{
    m_Database.CopyFrom(p.m_Database);
    m_Classes = p.m_Classes;
    m_Friends = p.m_Friends;
    m_Enemies = p.m_Enemies;
    m_SkillLists = p.m_SkillLists;
    m_Lands = p.m_Lands;
    m_System.CopyFrom(p.m_System);
    m_WorldChips = p.m_WorldMap.m_Chips;
    m_bTaken = true;
}

void DatabaseSnapshot::Restore(Project& p) const
{
    if (!m_bTaken)
        return;
    p.m_Database.CopyFrom(m_Database);
    p.m_Classes = m_Classes;
    p.m_Friends = m_Friends;
    p.m_Enemies = m_Enemies;
    p.m_SkillLists = m_SkillLists;
    p.m_Lands = m_Lands;
    p.m_System.CopyFrom(m_System);
    p.m_WorldMap.m_Chips = m_WorldChips;
}

bool DatabaseSnapshot::Matches(const Project& p) const
{
    return m_bTaken && m_Database.Equals(p.m_Database) && SameList(m_Classes, p.m_Classes) &&
           SameList(m_Friends, p.m_Friends) && SameList(m_Enemies, p.m_Enemies) &&
           SameList(m_SkillLists, p.m_SkillLists) && SameList(m_Lands, p.m_Lands) && m_System.Equals(p.m_System) &&
           SameList(m_WorldChips, p.m_WorldMap.m_Chips);
}
