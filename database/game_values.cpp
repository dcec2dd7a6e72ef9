#include "database/game_values.h"

#include <algorithm>
#include <cmath>

GameStats ResolveGameStats(const StatArray& initial, const StatArray& final, const cClass& cls)
{
    GameStats g;
    for (int i = 0; i < kStatCount; ++i) {
        bool own = initial[i] != 0;
        int32_t first = own ? initial[i] : cls.m_InitialStats[i];
        int32_t last = own ? final[i] : cls.m_FinalStats[i];
        g.initial[i] = first;
        g.final[i] = last != 0 ? last : first;
        g.grows[i] = last != 0 ? 1 : 0;
    }
    g.levelLimit = std::max(cls.m_nLevelLimit, 1);
    return g;
}

int32_t ReferenceValue(int32_t initial, int32_t final, int level, int levelLimit, int timing)
{
    levelLimit = std::max(levelLimit, 1);
    level = std::clamp(level, 1, levelLimit);
    timing = std::clamp(timing, -10, 10);
    double t = levelLimit == 1 ? 1.0 : static_cast<double>(level - 1) / (levelLimit - 1);
    double e = std::exp2(timing / 10.0);
    double value = initial + (static_cast<double>(final) - initial) * std::pow(t, e);
    return static_cast<int32_t>(std::trunc(value));
}

StatArray ReferenceValues(const GameStats& stats, int level, int timing)
{
    StatArray out{};
    for (int i = 0; i < kStatCount; ++i)
        out[i] = ReferenceValue(stats.initial[i], stats.final[i], level, stats.levelLimit, timing);
    return out;
}

bool CharaValues(const cChara& chara, const RecordList<cClass>& classes, CharaPageValues& out)
{
    if (chara.m_nClass < 0 || chara.m_nClass >= classes.size())
        return false;
    out.game = ResolveGameStats(chara, classes[chara.m_nClass]);
    out.reference = ReferenceValues(out.game, chara.m_nLevel, chara.m_nGrowthTiming);
    return true;
}
