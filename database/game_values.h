// The values a character has in the game, as the character pages show them
// beside the stored ones: "ゲーム値", the stats resolved against a class, and
// "参考値", those stats brought to a level. Both work on values, never on the
// record, so showing them changes nothing.
#pragma once

#include <array>
#include <cstdint>

#include "database/chara.h"
#include "database/class.h"

using StatArray = std::array<int32_t, kStatCount>;

// A character's stats resolved against a class.
struct GameStats {
    StatArray initial{};  // in effect at level 1
    StatArray final{};    // in effect at the level limit
    StatArray grows{};    // 1 where a final value applies
    int levelLimit = 1;   // the class's, at least 1
};

// A stat with an initial value of its own grows to its own final value; one of
// initial value 0 takes the class's values. A final value of 0 means no growth.
GameStats ResolveGameStats(const StatArray& initial, const StatArray& final, const cClass& cls);
inline GameStats ResolveGameStats(const cChara& chara, const cClass& cls)
{
    return ResolveGameStats(chara.m_InitialStats, chara.m_FinalStats, cls);
}

// The value of one stat at a level, with average random growth (which adds
// nothing): initial + (final - initial) * t^e, truncated, where t runs from 0
// at level 1 to 1 at the level limit and e = 2^(timing / 10) bends the curve
// (timing -10 grows early, 10 late, 0 evenly). Levels and timings out of range
// are pulled into it; a level limit of 1 stands at its end.
int32_t ReferenceValue(int32_t initial, int32_t final, int level, int levelLimit, int timing);
StatArray ReferenceValues(const GameStats& stats, int level, int timing);

// What the character pages show beside a character's stored stats: its stats
// resolved against its class ("ゲーム値") and brought to its own level with its
// growth timing ("参考値"). Reads the record only; false when its class number
// names no class of the table.
struct CharaPageValues {
    GameStats game;
    StatArray reference{};
};
bool CharaValues(const cChara& chara, const RecordList<cClass>& classes, CharaPageValues& out);
