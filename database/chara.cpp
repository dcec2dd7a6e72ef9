#include "database/chara.h"

#include <algorithm>

#include "database/game_values.h"
#include "records/tables.h"

bool NoDefaultBattleAI = false;

namespace {

const CharaContext* g_context = nullptr;

// Longest per-level table a character builds; a level limit beyond it can only
// come from a damaged class file.
constexpr int kMaxLevelTable = 9999;

// Sense tables worked out before this version held only the effective values.
constexpr int32_t kPersonalSenseVersion = 232;

// Sums of stored values wrap as the game's 32-bit arithmetic does.
int32_t WrapAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t WrapSub(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// Gives every vector of shaped the length of the matching vector of shape.
void ShapeLike(std::vector<std::vector<int32_t>>& shaped, const std::vector<std::vector<int32_t>>& shape)
{
    shaped.resize(shape.size());
    for (std::size_t k = 0; k < shape.size(); ++k)
        shaped[k].resize(shape[k].size(), 0);
}

}  // namespace

const CharaContext* SetCharaContext(const CharaContext* context)
{
    const CharaContext* old = g_context;
    g_context = context;
    return old;
}

const CharaContext* CurrentCharaContext() { return g_context; }

const LabelTable& StatLabels()
{
    static const LabelTable labels{"HP", "SP", "攻撃", "守備", "魔力", "抵抗", "技能", "反応", "敏捷"};
    return labels;
}

const LabelTable& EnemyTrainingLabels()
{
    static const LabelTable labels{"倒すと闘える", "最初から闘える", "闘えない"};
    return labels;
}

// ---------------------------------------------------------------------------

int cParam::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cParam> m(*this, op, other, io, version);
    m.Int("stat", &cParam::m_nStat);
    m.Int("value", &cParam::m_nValue);
    m.Int("value2", &cParam::m_nValue2);
    return m.Result();
}

int cLearnSkill::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cLearnSkill> m(*this, op, other, io, version);
    m.Int("skillList", &cLearnSkill::m_nSkillList);
    m.Int("skill", &cLearnSkill::m_nSkill);
    m.Int("level", &cLearnSkill::m_nLevel);
    return m.Result();
}

// ---------------------------------------------------------------------------
// cChara

int cChara::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cChara> m(*this, op, other, io, version);
    m.Int("unedited1", &cChara::m_nUnedited1);
    m.Int("randomName", &cChara::m_bRandomName);
    m.Int("randomNameFile", &cChara::m_nRandomNameFile, Since(88));
    m.Int("unedited2", &cChara::m_nUnedited2);
    m.Int("unedited3", &cChara::m_nUnedited3);
    m.Int("class", &cChara::m_nClass);
    m.Int("level", &cChara::m_nLevel);
    m.Int("levelLimit", &cChara::m_nLevelLimit);
    m.Int("unedited4", &cChara::m_nUnedited4);
    m.Array("initialStats", &cChara::m_InitialStats);
    m.Array("finalStats", &cChara::m_FinalStats);
    m.Array("gameInitialStats", &cChara::m_GameInitial);
    m.Array("gameFinalStats", &cChara::m_GameFinal);
    m.Array("randomGrowth1", &cChara::m_RandomGrowth1);
    m.Array("randomGrowth2", &cChara::m_RandomGrowth2, Since(73));
    m.Array("grows", &cChara::m_Grows);
    m.Int("randomStatGrowth", &cChara::m_bRandomGrowth);
    m.Int("randomSense", &cChara::m_bRandomSense, Since(214));
    m.Int("randomSkill", &cChara::m_bRandomSkill);
    m.Int("growthTiming", &cChara::m_nGrowthTiming, Since(70));
    m.Int("senseStamp", &cChara::m_nSenseStamp, Since(232));
    m.Nested("params", &cChara::m_Params, Since(4));
    m.Int("unedited5", &cChara::m_nUnedited5);
    m.Int("unedited6", &cChara::m_nUnedited6, Since(96));
    m.Int("unedited7", &cChara::m_nUnedited7, Since(96));
    m.Int("unedited8", &cChara::m_nUnedited8, Since(96));
    m.Int("unedited9", &cChara::m_nUnedited9);
    m.Int("unedited10", &cChara::m_nUnedited10);
    m.Int("unedited11", &cChara::m_nUnedited11);
    m.Int("unedited12", &cChara::m_nUnedited12);
    m.Int("unedited13", &cChara::m_nUnedited13, Since(45));
    m.Int("unedited14", &cChara::m_nUnedited14);
    m.Int("unedited15", &cChara::m_nUnedited15, Since(52));
    m.Int("unedited16", &cChara::m_nUnedited16, Since(52));
    m.Int("unedited17", &cChara::m_nUnedited17);
    m.Int("unedited18", &cChara::m_nUnedited18);
    m.Int("unedited19", &cChara::m_nUnedited19);
    m.Int("compatiType", &cChara::m_nCompatiType, Since(99));
    m.Int("fixedExp", &cChara::m_bFixedExp, Since(34));
    m.Int("fixedExpValue", &cChara::m_nFixedExp, Since(34));
    m.Int("rewardPartyVal", &cChara::m_nRewardPartyVal, Since(86));
    m.Int("reward", &cChara::m_nReward, Since(86));
    m.Array("acqSkillRefs", &cChara::m_AcqSkillRefs);
    m.Str("name", &cChara::m_Name);
    m.Str("description", &cChara::m_Description);
    m.IntVecArray("levelValues", &cChara::m_LevelValues);
    m.IntVecArray("levelGrowth", &cChara::m_LevelGrowth, Since(69));
    m.IntVecVec("senses", &cChara::m_Senses);
    m.IntVecVec("classSenses", &cChara::m_ClassSenses, Since(231));
    m.IntVecVec("ownSenses", &cChara::m_OwnSenses, Since(231));
    m.ListVec("acqSkills1", &cChara::m_AcqSkills1);
    m.ListVec("acqSkills2", &cChara::m_AcqSkills2);
    m.List("learnSkills", &cChara::m_LearnSkills);
    return m.Result();
}

void cChara::ResetToNew()
{
    m_nClass = 1;
    m_nLevel = 1;
    m_nRewardPartyVal = 1;
    for (int i = 0; i < kStatCount; ++i) {
        m_Params[i].Init();
        m_Params[i].m_nStat = i;
    }
    m_Senses.clear();
    m_ClassSenses.clear();
    m_OwnSenses.clear();
    m_AcqSkills1.clear();
    m_AcqSkills2.clear();
    m_LearnSkills.clear();
}

const cClass* cChara::FindClass() const
{
    const RecordList<cClass>* classes = g_context ? g_context->Classes() : nullptr;
    if (!classes || m_nClass < 0 || m_nClass >= classes->size())
        return nullptr;
    return &(*classes)[m_nClass];
}

void cChara::ResolveValues(const cClass& cls)
{
    GameStats g = ResolveGameStats(*this, cls);
    m_GameInitial = g.initial;
    m_GameFinal = g.final;
    m_Grows = g.grows;
}

void cChara::ResizeLevelTables(bool clear)
{
    std::size_t n = static_cast<std::size_t>(std::clamp(m_nLevelLimit, 0, kMaxLevelTable));
    for (int i = 0; i < kStatCount; ++i) {
        if (clear) {
            m_LevelValues[i].assign(n, 0);
            m_LevelGrowth[i].assign(n, 0);
        } else {
            m_LevelValues[i].resize(n, 0);
            m_LevelGrowth[i].resize(n, 0);
        }
    }
}

void cChara::UpdateParams()
{
    for (int i = 0; i < kStatCount; ++i) {
        int32_t growth = m_LevelGrowth[i].empty() ? 0 : m_LevelGrowth[i][0];
        m_Params[i].m_nValue = WrapAdd(m_GameInitial[i], growth);
        m_Params[i].m_nValue2 = m_Params[i].m_nValue;
    }
}

int cChara::ResolveClass(bool valuesOnly)
{
    const cClass* cls = FindClass();
    if (!cls)
        return 0;
    ResolveValues(*cls);
    m_nLevelLimit = std::max(cls->m_nLevelLimit, 1);
    ResizeLevelTables(true);
    if (!valuesOnly) {
        m_ClassSenses = cls->m_Senses;
        m_OwnSenses.clear();
        ShapeLike(m_OwnSenses, m_ClassSenses);
        m_Senses = cls->m_Senses;
    }
    UpdateParams();
    return 1;
}

void cChara::UpdateSenses(const cClass* cls)
{
    int groups = TableSize(Table::SkillList);
    if (groups >= 0) {
        m_Senses.resize(static_cast<std::size_t>(groups));
        for (int k = 0; k < groups; ++k) {
            int categories = CategoryCount(k);
            if (categories >= 0)
                m_Senses[static_cast<std::size_t>(k)].resize(static_cast<std::size_t>(categories), 0);
        }
    }
    ShapeLike(m_ClassSenses, m_Senses);
    ShapeLike(m_OwnSenses, m_Senses);
    if (!cls)
        return;

    // Tables stamped before the personal additions existed hold only the
    // effective values: the additions are worked out from them, at every load
    // and save, for as long as the stamp stays old. From the stamp 232 on the
    // effective table follows the class's table plus the additions. The stamp
    // itself is only ever lowered (on loading a file older than 232), never
    // raised here: raising it would freeze the additions at today's class and
    // change the character's senses when the class changes later.
    bool fromEffective = m_nSenseStamp < kPersonalSenseVersion;
    for (std::size_t k = 0; k < m_Senses.size(); ++k) {
        for (std::size_t j = 0; j < m_Senses[k].size(); ++j) {
            int32_t base = k < cls->m_Senses.size() && j < cls->m_Senses[k].size() ? cls->m_Senses[k][j] : 0;
            m_ClassSenses[k][j] = base;
            if (fromEffective)
                m_OwnSenses[k][j] = WrapSub(m_Senses[k][j], base);
            else
                m_Senses[k][j] = WrapAdd(base, m_OwnSenses[k][j]);
        }
    }
}

void cChara::CheckSkills()
{
    int groups = TableSize(Table::SkillList);
    if (groups >= 0) {
        auto& learned = m_LearnSkills.items();
        std::erase_if(learned, [groups](const cLearnSkill& s) { return s.m_nSkillList >= groups; });
    }
    // Entries naming a skill their group no longer has: the first set keeps the
    // place (reset), the second drops it.
    for (std::size_t k = 0; k < m_AcqSkills1.size(); ++k) {
        int skills = SkillCount(static_cast<int>(k));
        if (skills >= 0)
            for (cAcqSkill& entry : m_AcqSkills1[k])
                if (entry.m_nSkillNo >= skills)
                    entry.Init();
    }
    for (std::size_t k = 0; k < m_AcqSkills2.size(); ++k) {
        int skills = SkillCount(static_cast<int>(k));
        if (skills >= 0)
            std::erase_if(m_AcqSkills2[k].items(), [skills](const cAcqSkill& s) { return s.m_nSkillNo >= skills; });
    }
    // The three references point into the first set.
    for (int r = 0; r < 3; ++r) {
        int32_t& group = m_AcqSkillRefs[2 * r];
        int32_t& entry = m_AcqSkillRefs[2 * r + 1];
        long long lists = static_cast<long long>(m_AcqSkills1.size());
        if (group >= lists)
            group = 0;
        int entries = group >= 0 && group < lists ? m_AcqSkills1[static_cast<std::size_t>(group)].size() : 0;
        if (entry >= entries)
            entry = 0;
    }
}

void cChara::AdjustToDatabase()
{
    const RecordList<cClass>* classes = g_context ? g_context->Classes() : nullptr;
    if (!classes || classes->empty())
        return;
    if (m_nClass >= classes->size())
        m_nClass = 1;
    if (BeyondTable(m_nRewardPartyVal, Table::PartyVal))
        m_nRewardPartyVal = 1;
    if (BeyondTable(m_nCompatiType, Table::CompatiType))
        m_nCompatiType = 0;
    // A class number that is still beyond the table (a table of one class)
    // leaves the values that come from the class as they are.
    const cClass* cls = FindClass();
    if (cls) {
        ResolveValues(*cls);
        m_nLevelLimit = std::max(cls->m_nLevelLimit, 1);
        if (m_nLevel > m_nLevelLimit)
            m_nLevel = m_nLevelLimit;
        ResizeLevelTables(false);
    }
    UpdateSenses(cls);
    CheckSkills();
    UpdateParams();
}

// ---------------------------------------------------------------------------
// cFriend

int cFriend::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cFriend> m(*this, op, other, io, version);
    m.Base<cChara>();
    m.Int("uneditedF1", &cFriend::m_nUneditedF1);
    m.Int("uneditedF2", &cFriend::m_nUneditedF2);
    m.Int("shopFromStart", &cFriend::m_bShopFromStart);
    m.Int("hireAgain", &cFriend::m_bHireAgain);
    m.Int("noDismiss", &cFriend::m_bNoDismiss);
    m.Int("regenerate", &cFriend::m_bRegenerate, Since(121));
    return m.Result();
}

void cFriend::ResetToNew()
{
    Init();
    cChara::ResetToNew();
    ResolveClass(false);
    AdjustToDatabase();
    m_nUnedited2 = 0;
    m_bRandomName = 1;
    m_bRandomGrowth = 1;
    m_bRandomSkill = 1;
    m_bShopFromStart = 1;
    m_bHireAgain = 1;
    m_bNoDismiss = 0;
    m_bRegenerate = 1;
}

int cFriend::LoadBody(RecordReader& in)
{
    int result = cSerial::LoadBody(in);
    uint32_t v = LoadedFileVersion;
    if (v < kDataVersion) {
        // The shop regenerated its characters after every stage before this
        // became a choice.
        if (v < 121)
            m_bRegenerate = 1;
        // Random skill learning raised the senses too before the two were split.
        if (v < 214 && m_bRandomSkill)
            m_bRandomSense = 1;
        // Older files hold no personal sense additions: work them out from the
        // effective table.
        if (v < 232)
            m_nSenseStamp = 0;
    }
    AdjustToDatabase();
    return result;
}

int cFriend::SaveBody(RecordWriter& out)
{
    AdjustToDatabase();
    return cSerial::SaveBody(out);
}

// ---------------------------------------------------------------------------
// cEnemy

int cEnemy::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cEnemy> m(*this, op, other, io, version);
    m.Base<cChara>();
    m.Obsolete(4, Range(33, 34));
    m.Int("uneditedE1", &cEnemy::m_nUneditedE1, Since(51));
    m.Int("training", &cEnemy::m_nTraining);
    m.List("moveAI", &cEnemy::m_MoveAI);
    m.List("battleAI", &cEnemy::m_BattleAI);
    return m.Result();
}

void cEnemy::ResetToNew()
{
    Init();
    cChara::ResetToNew();
    ResolveClass(false);
    AdjustToDatabase();
    m_nUnedited2 = 1;
    m_bRandomGrowth = 0;
    m_bRandomSkill = 0;
    m_MoveAI.clear();
    m_BattleAI.clear();
    if (!NoDefaultBattleAI)
        m_BattleAI.emplace_back();
}

int cEnemy::LoadBody(RecordReader& in)
{
    int result = cSerial::LoadBody(in);
    // Training values of older files meant something else; they start over.
    if (LoadedFileVersion < 104)
        m_nTraining = EnemyTraining::AfterDefeat;
    // Enemies saved before the stamp existed hold their senses in the effective
    // table: work the personal additions out from it, as for allies, rather than
    // rebuilding it from the class and losing the enemy's own senses.
    if (LoadedFileVersion < 232)
        m_nSenseStamp = 0;
    AdjustToDatabase();
    return result;
}

int cEnemy::SaveBody(RecordWriter& out)
{
    AdjustToDatabase();
    return cSerial::SaveBody(out);
}
