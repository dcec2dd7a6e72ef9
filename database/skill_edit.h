// Editing the skill table as the skill page does: groups and the skills of a
// group are inserted, deleted and pasted, and after every change each group
// and skill carries its position again (RenumberSkillTable), since the CSV
// files and the game address them by those numbers.
#pragma once

#include <vector>

#include "database/skill.h"

inline constexpr int kMaxSkillGroups = 16;
inline constexpr int kMaxSkillsPerGroup = 99;

// Each returns 0 (and changes nothing) when the position is out of range or
// the list is full (insert, paste) or would become empty (groups only: the
// table keeps at least one group). Paste inserts the records before `at` and
// returns how many went in; the maximum may cut it short.
int InsertSkillGroup(RecordList<cSkillList>& table, int at);
int DeleteSkillGroup(RecordList<cSkillList>& table, int at);
int PasteSkillGroups(RecordList<cSkillList>& table, int at, const std::vector<cSkillList>& groups);
int InsertSkill(RecordList<cSkillList>& table, int group, int at);
int DeleteSkill(RecordList<cSkillList>& table, int group, int at);
int PasteSkills(RecordList<cSkillList>& table, int group, int at, const std::vector<cSkill>& skills);
