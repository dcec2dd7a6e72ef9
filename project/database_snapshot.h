// The state of everything the database window edits, taken when the window
// opens and after each apply, so that Cancel can put the in-memory database
// back: the nine lists of cDatabase, classes, allies, enemies, skill groups,
// lands, the system record and the world map's chips.
#pragma once

#include "project/project.h"

class DatabaseSnapshot {
public:
    void Take(const Project& p);
    void Restore(Project& p) const;
    // True when every table of the project equals the snapshot.
    bool Matches(const Project& p) const;
    bool Taken() const { return m_bTaken; }

private:
    bool m_bTaken = false;
    cDatabase m_Database;
    RecordList<cClass> m_Classes;
    RecordList<cFriend> m_Friends;
    RecordList<cEnemy> m_Enemies;
    RecordList<cSkillList> m_SkillLists;
    RecordList<cLand> m_Lands;
    cSystem m_System;
    RecordList<cWorldChip> m_WorldChips;
};
