#include "records/system.h"

#include <algorithm>
#include <climits>
#include <tuple>

#include <gtest/gtest.h>

#include "app/text.h"
#include "tests/test_util.h"

namespace {

std::vector<uint8_t> Body(cSerial& r)
{
    RecordWriter out;
    r.SaveBody(out);
    return out.Bytes();
}

std::size_t ReadBody(cSerial& r, const std::vector<uint8_t>& bytes, uint32_t version)
{
    RecordReader in(bytes);
    LoadedFileVersion = version;
    r.LoadBody(in);
    return in.Position();
}

cCmd Cmd(const std::string& text, int32_t enabled)
{
    cCmd c;
    c.m_Text = text;
    c.m_bEnabled = enabled;
    return c;
}

// A system record with every member set apart from its default and from every
// other member, so that a transposed pair changes the bytes.
cSystem FilledSystem()
{
    cSystem s;
    int32_t n = 1000;
    double d = 0.25;
    for (int32_t* p : {&s.m_nFirstValue, &s.m_nGrowthMin, &s.m_nGrowthMax, &s.m_bGrowthCapped, &s.m_nSenseMin,
                       &s.m_nSenseMax, &s.m_bSenseCapped, &s.m_bScoutEnabled, &s.m_nScoutVariable,
                       &s.m_nGrowthPeriodMin, &s.m_nGrowthPeriodMax, &s.m_nGrowthUnit, &s.m_nSenseUnit,
                       &s.m_bRandomChange, &s.m_nRandomChangeAmount, &s.m_nRandomChangeCount, &s.m_nExpBase,
                       &s.m_nExpMin, &s.m_nExpMax, &s.m_bActAgainOnKill, &s.m_bAutoTurnEnd, &s.m_bLeaderRule,
                       &s.m_nMoneyVariable, &s.m_nHireVariable, &s.m_nHireCost, &s.m_nHireCostPerLevel,
                       &s.m_bReviveAfterStage, &s.m_nReviveVariable, &s.m_nReviveCost, &s.m_nReviveCostPerLevel,
                       &s.m_nReleaseVariable, &s.m_nReleasePrice, &s.m_nReleasePricePerLevel, &s.m_nSkillSaleMod,
                       &s.m_nBattleMode, &s.m_bAutoBattle, &s.m_nBattleTime, &s.m_bDefenderWaits, &s.m_nAgilityBase,
                       &s.m_nTurnSwitchMode, &s.m_bShowActionOrder, &s.m_nDamageMin, &s.m_nDamageMax, &s.m_nHealMod,
                       &s.m_bMissNoCost, &s.m_bGuardNoEvade, &s.m_nSkillNameTime, &s.m_bSkillNameUntilEnd,
                       &s.m_nDifficultyVariable, &s.m_nDifficultyInit, &s.m_bEnemyUpPercent, &s.m_nUneditedValue,
                       &s.m_bShowPrediction, &s.m_bTwoSkillLists, &s.m_nPage4Choice, &s.m_bEvenSpacing,
                       &s.m_bShowGameModeImage, &s.m_nPage4Choice2})
        *p = n++;
    for (double* p : {&s.m_dGrowthScoutFactor, &s.m_dSenseScoutFactor, &s.m_dExpLevelFactor,
                      &s.m_dExpDifficultyFactor, &s.m_dExpFinishFactor, &s.m_dHitFactor, &s.m_dCriticalFactor,
                      &s.m_dAttackFactor, &s.m_dDefenceFactor})
        *p = d++;
    for (double& r : s.m_StatRates)
        r = d++;
    for (auto* a : {&s.m_EnemyClassMod, &s.m_EnemyUp})
        for (int32_t& v : *a)
            v = n++;
    for (auto* a : {&s.m_InitAction, &s.m_AgilityMod, &s.m_BaseActions, &s.m_AgilityPerAction, &s.m_ActionLimit})
        for (int32_t& v : *a)
            v = n++;
    s.m_nColorR = 0x11;
    s.m_nColorG = 0x22;
    s.m_nColorB = 0x33;
    s.m_nPage6Value1 = -2;
    s.m_nPage6Value2 = 0x1234;
    s.m_nPage6Value3 = 0x7ff0;
    s.m_GameName = SJ("ヴァントール戦記");
    s.m_SoundFiles = {SJ("wave\\決定.wav"), "", "wave\\cancel.wav"};
    s.m_SoundValues = {-1, 2, 3};
    s.m_SoundSwitches = {1, 0, 255};
    s.m_PredictionItems = {4, 3, 2, 1};
    s.m_Words = {SJ("威力だ"), "", SJ("コ")};
    s.m_Params.clear();
    for (auto [name, first, limit] : {std::tuple{SJ("体力"), 7, 9999}, std::tuple{std::string("LV"), -1, 99},
                                      std::tuple{std::string("X"), 0, 0}}) {
        cParamInfo& p = s.m_Params.emplace_back();
        p.m_Name = name;
        p.m_nFirst = first;
        p.m_nLimit = limit;
    }
    int menu = 0;
    for (const SystemMenu& m : SystemMenus()) {
        RecordList<cCmd>& list = s.*m.member;
        list.clear();
        list.push_back(Cmd(SJ("項目") + std::to_string(menu), menu % 2));
        if (menu % 3 == 0)
            list.push_back(Cmd("", 7));
        ++menu;
    }
    s.m_Elems.clear();
    s.m_Elems.emplace_back().m_Name = SJ("炎");
    s.m_Elems.back().m_nValue = -5;
    s.m_Categs.clear();
    cCateg& c = s.m_Categs.emplace_back();
    c.m_nSymbol = 3;
    c.m_Name = SJ("剣術");
    c.m_dRate = 0.75;
    cEdBack_Unused& u = s.m_UnusedBacks.emplace_back();
    u.m_nValue = 8;
    u.m_dValue1 = 1.5;
    u.m_dValue2 = -2.5;
    s.m_Inis.clear();
    cIni& ini = s.m_Inis.emplace_back();
    ini.m_nKind = 2;
    ini.m_Key = "FrameRate";
    ini.m_nDefault = 30;
    ini.m_Text = SJ("フレームレート");
    s.UpdateDerived();
    return s;
}

void Put(Bytes& b, int32_t v) { b.i32(v); }
void Put(Bytes& b, int16_t v) { b.u16(static_cast<uint16_t>(v)); }
void Put(Bytes& b, uint8_t v) { b.u8(v); }
void Put(Bytes& b, double v) { b.f64(v); }
void Put(Bytes& b, const std::string& v) { b.str(v); }
template <class V, std::size_t N>
void Put(Bytes& b, const std::array<V, N>& a)
{
    for (V v : a)
        Put(b, v);
}
template <class V>
void Put(Bytes& b, const std::vector<V>& a)
{
    b.u32(static_cast<uint32_t>(a.size()));
    for (const V& v : a)
        Put(b, v);
}

// List elements as a file of the version holds them; returns what a reader
// ends up with.
cCmd PutElement(Bytes& b, const cCmd& e, uint32_t) { b.str(e.m_Text).i32(e.m_bEnabled); return e; }
cElem PutElement(Bytes& b, const cElem& e, uint32_t) { b.i32(e.m_nValue).str(e.m_Name); return e; }
cEdBack_Unused PutElement(Bytes& b, const cEdBack_Unused& e, uint32_t)
{
    b.i32(e.m_nValue).f64(e.m_dValue1).f64(e.m_dValue2);
    return e;
}
cIni PutElement(Bytes& b, const cIni& e, uint32_t)
{
    b.i32(e.m_nKind).str(e.m_Key).i32(e.m_nDefault).str(e.m_Text);
    return e;
}
cCateg PutElement(Bytes& b, const cCateg& e, uint32_t v)
{
    cCateg want = e;
    b.i32(e.m_nSymbol).str(e.m_Name);
    if (v >= 70)
        b.f64(e.m_dRate);
    else
        want.m_dRate = 0.0;
    return want;
}
cParamInfo PutElement(Bytes& b, const cParamInfo& e, uint32_t v)
{
    b.str(e.m_Name).i32(e.m_nFirst).i32(e.m_nDigits);
    if (v >= 9)
        b.i32(e.m_nLimit);
    // The limits of the filled record are all nines, which old files rebuild.
    return e;
}

// The record written by hand member by member, as a file of version v holds it,
// and the record a reader that started from a new system ends up with.
struct SystemFile {
    SystemFile(uint32_t version, const cSystem& source, int32_t reserved = 0x5EED) : v(version), src(source)
    {
        M(&cSystem::m_nFirstValue);             // 1
        M(&cSystem::m_nGrowthMin);              // 2
        M(&cSystem::m_nGrowthMax);              // 3
        M(&cSystem::m_dGrowthScoutFactor);      // 4
        M(&cSystem::m_bGrowthCapped);           // 5
        M(&cSystem::m_nSenseMin);               // 6
        M(&cSystem::m_nSenseMax);               // 7
        M(&cSystem::m_dSenseScoutFactor);       // 8
        M(&cSystem::m_bSenseCapped);            // 9
        M(&cSystem::m_bScoutEnabled);           // 10
        M(&cSystem::m_nScoutVariable);          // 11
        M(&cSystem::m_nGrowthPeriodMin, 70);    // 12
        M(&cSystem::m_nGrowthPeriodMax, 70);    // 13
        M(&cSystem::m_nGrowthUnit, 70);         // 14
        M(&cSystem::m_nSenseUnit, 122);         // 15
        M(&cSystem::m_bRandomChange, 70);       // 16
        M(&cSystem::m_nRandomChangeAmount, 70); // 17
        M(&cSystem::m_nRandomChangeCount, 70);  // 18
        M(&cSystem::m_StatRates);               // 19
        M(&cSystem::m_EnemyClassMod);           // 20
        M(&cSystem::m_nExpBase);                // 21
        M(&cSystem::m_dExpLevelFactor);         // 22
        M(&cSystem::m_dExpDifficultyFactor, 89);// 23
        M(&cSystem::m_dExpFinishFactor);        // 24
        M(&cSystem::m_nExpMin, 33);             // 25
        M(&cSystem::m_nExpMax, 33);             // 26
        M(&cSystem::m_bActAgainOnKill);         // 27
        M(&cSystem::m_bAutoTurnEnd);            // 28
        M(&cSystem::m_bLeaderRule, 331);        // 29
        M(&cSystem::m_nMoneyVariable);          // 30
        M(&cSystem::m_nHireVariable);           // 31
        M(&cSystem::m_nHireCost);               // 32
        M(&cSystem::m_nHireCostPerLevel);       // 33
        M(&cSystem::m_bReviveAfterStage);       // 34
        M(&cSystem::m_nReviveVariable);         // 35
        M(&cSystem::m_nReviveCost);             // 36
        M(&cSystem::m_nReviveCostPerLevel);     // 37
        M(&cSystem::m_nReleaseVariable);        // 38
        M(&cSystem::m_nReleasePrice);           // 39
        M(&cSystem::m_nReleasePricePerLevel);   // 40
        M(&cSystem::m_nSkillSaleMod);           // 41
        M(&cSystem::m_nBattleMode);             // 42
        M(&cSystem::m_bAutoBattle, 101);        // 43
        M(&cSystem::m_nBattleTime);             // 44
        M(&cSystem::m_InitAction);              // 45
        M(&cSystem::m_AgilityMod);              // 46
        M(&cSystem::m_bDefenderWaits);          // 47
        M(&cSystem::m_nAgilityBase);            // 48
        M(&cSystem::m_nTurnSwitchMode, 101);    // 49
        M(&cSystem::m_BaseActions, 101);        // 50
        M(&cSystem::m_AgilityPerAction, 101);   // 51
        M(&cSystem::m_ActionLimit, 101);        // 52
        M(&cSystem::m_RefActions);              // 53
        M(&cSystem::m_bShowActionOrder, 123);   // 54
        M(&cSystem::m_dHitFactor);              // 55
        M(&cSystem::m_dCriticalFactor);         // 56
        M(&cSystem::m_dAttackFactor);           // 57
        M(&cSystem::m_dDefenceFactor);          // 58
        M(&cSystem::m_nDamageMin);              // 59
        M(&cSystem::m_nDamageMax);              // 60
        M(&cSystem::m_nHealMod);                // 61
        M(&cSystem::m_bMissNoCost);             // 62
        M(&cSystem::m_bGuardNoEvade, 81);       // 63
        M(&cSystem::m_nSkillNameTime, 330);     // 64
        M(&cSystem::m_bSkillNameUntilEnd, 330); // 65
        M(&cSystem::m_nFirstParamLimit, 9);     // 66
        M(&cSystem::m_nDifficultyVariable);     // 67
        M(&cSystem::m_nDifficultyInit);         // 68
        M(&cSystem::m_bEnemyUpPercent);         // 69
        M(&cSystem::m_EnemyUp);                 // 70
        M(&cSystem::m_nUneditedValue, 104);     // 71
        M(&cSystem::m_nColorR);                 // 72
        M(&cSystem::m_nColorG);                 // 73
        M(&cSystem::m_nColorB);                 // 74
        M(&cSystem::m_nPage6Value1, 85);        // 75
        M(&cSystem::m_nPage6Value2, 85);        // 76
        M(&cSystem::m_nPage6Value3, 85);        // 77
        M(&cSystem::m_GameName);                // 78
        M(&cSystem::m_SoundFiles);              // 79
        M(&cSystem::m_SoundValues);             // 80
        M(&cSystem::m_SoundSwitches, 23);       // 81
        M(&cSystem::m_bShowPrediction, 10);     // 82
        M(&cSystem::m_PredictionItems, 125);    // 83
        if (v >= 90 && v < 124)                 // 84
            b.i32(reserved);
        M(&cSystem::m_bTwoSkillLists, 119);     // 85
        M(&cSystem::m_nPage4Choice, 91);        // 86
        M(&cSystem::m_bEvenSpacing, 91);        // 87
        M(&cSystem::m_Words);                   // 88
        L(&cSystem::m_Params, 8);               // 89
        M(&cSystem::m_bShowGameModeImage, 11);  // 90
        L(&cSystem::m_TitleMenu, 11);           // 91
        L(&cSystem::m_OptionMenu, 11);          // 92
        L(&cSystem::m_BaseMenu);                // 93
        L(&cSystem::m_ScoutMenu, 12);           // 94
        L(&cSystem::m_ReviveMenu, 12);          // 95
        L(&cSystem::m_ReleaseMenu, 12);         // 96
        L(&cSystem::m_ConfigMenu, 63);          // 97
        L(&cSystem::m_ShopMenu, 11);            // 98
        L(&cSystem::m_TrainingMenu, 11);        // 99
        L(&cSystem::m_TrainingEntryMenu, 11);   // 100
        L(&cSystem::m_TrainingSubMenu, 11);     // 101
        L(&cSystem::m_PrepareMenu);             // 102
        L(&cSystem::m_ActionMenu);              // 103
        L(&cSystem::m_MapSystemMenu);           // 104
        L(&cSystem::m_MapTestMenu, 43);         // 105
        L(&cSystem::m_BattleMenu);              // 106
        L(&cSystem::m_Elems);                   // 107
        L(&cSystem::m_Categs);                  // 108
        L(&cSystem::m_UnusedBacks, 64);         // 109
        M(&cSystem::m_nPage4Choice2, 66);       // 110
        L(&cSystem::m_Inis);                    // 111
    }

    template <class V>
    void M(V cSystem::*m, uint32_t since = 0)
    {
        if (v < since)
            return;
        Put(b, src.*m);
        want.*m = src.*m;
    }
    template <class R>
    void L(RecordList<R> cSystem::*m, uint32_t since = 0)
    {
        if (v < since)
            return;
        b.u32(static_cast<uint32_t>((src.*m).size()));
        RecordList<R>& list = want.*m;
        list.clear();
        for (const R& e : src.*m)
            list.push_back(PutElement(b, e, v));
    }

    uint32_t v;
    const cSystem& src;
    cSystem want;
    Bytes b;
};

}  // namespace

TEST(SystemRecord, LayoutAtEveryGate)
{
    cSystem filled = FilledSystem();
    // The current layout, written and read back.
    SystemFile current(kDataVersion, filled);
    EXPECT_EQ(Body(filled), current.b.data);

    // Each version where the layout changes, and the one before it.
    for (uint32_t v : {0u, 7u, 8u, 9u, 10u, 11u, 12u, 22u, 23u, 32u, 33u, 42u, 43u, 62u, 63u, 64u, 65u, 66u, 69u,
                       70u, 80u, 81u, 84u, 85u, 88u, 89u, 90u, 91u, 100u, 101u, 103u, 104u, 118u, 119u, 121u, 122u,
                       123u, 124u, 125u, 329u, 330u, 331u, kDataVersion}) {
        SystemFile file(v, filled);
        cSystem read;
        EXPECT_EQ(ReadBody(read, file.b.data, v), file.b.data.size()) << "version " << v;
        EXPECT_TRUE(read.Equals(file.want)) << "version " << v;
    }
}

TEST(SystemRecord, Version100File)
{
    // Version 100 lacks the auto-battle flag and the action-count members 49 to 52
    // and still holds the reserved value where the prediction items now stand.
    cSystem filled = FilledSystem();
    SystemFile file(100, filled, 0x7A7A7A7A);
    cSystem read;
    ASSERT_EQ(ReadBody(read, file.b.data, 100), file.b.data.size());
    EXPECT_EQ(read.m_bAutoBattle, 0);
    EXPECT_EQ(read.m_nTurnSwitchMode, 0);
    EXPECT_EQ(read.m_BaseActions, (std::array<int32_t, 2>{1, 1}));
    EXPECT_EQ(read.m_AgilityPerAction, (std::array<int32_t, 2>{10, 10}));
    EXPECT_EQ(read.m_ActionLimit, (std::array<int32_t, 2>{99, 99}));
    EXPECT_EQ(read.m_PredictionItems.size(), 4u);
    EXPECT_EQ(read.m_Words, filled.m_Words);
    EXPECT_EQ(read.m_Inis[0].m_Text, filled.m_Inis[0].m_Text);

    // Saved again, it has the current layout: the new members in, the reserved value out.
    SystemFile again(kDataVersion, read);
    EXPECT_EQ(Body(read), again.b.data);
    std::vector<uint8_t> reserved = {0x7A, 0x7A, 0x7A, 0x7A};
    EXPECT_EQ(std::search(again.b.data.begin(), again.b.data.end(), reserved.begin(), reserved.end()),
              again.b.data.end());
}

TEST(SystemRecord, NewProject)
{
    cSystem s;
    EXPECT_EQ(s.m_nBattleTime, 27);
    EXPECT_EQ(s.m_InitAction, (std::array<int32_t, 2>{600, 500}));
    EXPECT_EQ(s.m_EnemyUp[8], 10);
    EXPECT_EQ(s.m_dHitFactor, 4.0);
    EXPECT_EQ(s.m_nPage4Choice2, 1);
    EXPECT_EQ(s.m_SoundFiles.size(), 18u);
    EXPECT_EQ(s.m_SoundSwitches.size(), 5u);

    ASSERT_EQ(s.m_Words.size(), 55u);
    EXPECT_EQ(s.m_Words[0], SJ("威力"));
    EXPECT_EQ(s.m_Words[13], SJ("コ"));
    EXPECT_EQ(s.m_Words[47], SJ("何ターン目にする？"));
    EXPECT_EQ(s.m_Words[54], SJ("新しいスキルを覚えた！"));
    EXPECT_EQ(std::count(s.m_Words.begin(), s.m_Words.end(), SJ("やっぱりやめる")), 9);

    ASSERT_EQ(s.m_Params.size(), 12);
    EXPECT_EQ(s.m_Params[2].m_Name, SJ("攻撃"));
    EXPECT_EQ(s.m_Params[11].m_Name, SJ("移動力"));
    EXPECT_EQ(s.m_Params[9].m_nDigits, 2);  // LV up to 99

    std::vector<std::size_t> menuSizes;
    for (const SystemMenu& m : SystemMenus())
        menuSizes.push_back(static_cast<std::size_t>((s.*m.member).size()));
    EXPECT_EQ(menuSizes, (std::vector<std::size_t>{4, 3, 13, 3, 3, 2, 5, 3, 6, 4, 3, 7, 6, 4, 5, 4}));
    EXPECT_EQ(s.m_BaseMenu[12].m_Text, SJ("ゲーム終了"));
    EXPECT_EQ(s.m_MapTestMenu[3].m_Text, SJ("コモン変数の確認"));
    EXPECT_EQ(s.m_Elems.size(), 2);
    EXPECT_EQ(s.m_Categs.size(), 1);
    EXPECT_TRUE(s.m_UnusedBacks.empty());

    std::vector<std::pair<std::string, int32_t>> keys;
    for (const cIni& ini : s.m_Inis)
        keys.emplace_back(ini.m_Key, ini.m_nDefault);
    EXPECT_EQ(keys, (std::vector<std::pair<std::string, int32_t>>{{"WindowMode", 2}, {"Color", 0}, {"VSync", 2},
                                                                   {"FrameRate", 60}, {"ShowFps", 2}, {"English", 0},
                                                                   {"Midi_DirectMusic", 1}}));
    // The run settings keep their own order: frame rate before vertical sync.
    RunSettings run;
    SetRunDefaults(s, run);
    EXPECT_EQ(run.nValid, 1);
    EXPECT_EQ(run.nFrameRate, 60);
    EXPECT_EQ(run.nVSync, 2);
    EXPECT_EQ(run.nMidiDirectMusic, 1);
    // Defaults follow the key list; a setting it no longer names keeps the new project's.
    s.m_Inis[3].m_nDefault = 30;
    s.m_Inis.erase(6);
    SetRunDefaults(s, run);
    EXPECT_EQ(run.nFrameRate, 30);
    EXPECT_EQ(run.nMidiDirectMusic, 1);
}

TEST(SystemRecord, DerivedValues)
{
    // Reference action counts: (initial + additions × agility modifier) / 1000.
    struct Case {
        int32_t time, initA, initD, modA, modD, waits;
        double wantA, wantD;
    };
    for (Case c : {
             Case{27, 600, 500, 100, 100, 1, 3.3, 2.8},   // the attacker acts after 4 additions
             Case{27, 600, 500, 100, 100, 0, 3.3, 3.2},
             Case{10, 1000, 0, 50, 200, 1, 1.5, 2.0},     // the attacker may act at once
             Case{10, 100, 700, 0, 100, 1, 0.1, 0.7},     // the attacker never acts
             Case{-5, 300, 400, 100, 100, 0, 0.3, 0.4},   // no battle time
             Case{3, -900, 100, 100, -100, 0, 0.0, 0.0},  // no negative counts
         }) {
        cSystem s;
        s.m_nBattleTime = c.time;
        s.m_InitAction = {c.initA, c.initD};
        s.m_AgilityMod = {c.modA, c.modD};
        s.m_bDefenderWaits = c.waits;
        s.UpdateDerived();
        EXPECT_DOUBLE_EQ(s.m_RefActions[0], c.wantA) << c.time << " " << c.initA << " " << c.modA;
        EXPECT_DOUBLE_EQ(s.m_RefActions[1], c.wantD) << c.time << " " << c.initA << " " << c.modA;
    }

    for (auto [limit, digits] : {std::pair{0, 0}, {-5, 0}, {9, 1}, {10, 2}, {99999, 5}, {INT32_MAX, 10}})
        EXPECT_EQ(ParamDigits(limit), digits) << limit;

    // Saving brings the digit counts and the first parameter's limit up to date.
    cSystem s;
    s.m_Params[0].m_nLimit = 9999;
    s.m_Params[1].m_nLimit = 500;
    s.m_InitAction = {0, 0};
    std::vector<uint8_t> body = Body(s);
    cSystem back;
    ReadBody(back, body, kDataVersion);
    EXPECT_EQ(back.m_nFirstParamLimit, 9999);
    EXPECT_EQ(back.m_Params[0].m_nDigits, 4);
    EXPECT_EQ(back.m_Params[1].m_nDigits, 3);
    EXPECT_DOUBLE_EQ(back.m_RefActions[0], 2.7);

    // Files before version 9 held only the digit count: the limit is rebuilt from it.
    cParamInfo p;
    ReadBody(p, Bytes().str("HP").i32(1).i32(3).data, 8);
    EXPECT_EQ(p.m_nLimit, 999);
    EXPECT_EQ(Body(p), Bytes().str("HP").i32(1).i32(3).i32(999).data);

    // The battle mode carries the auto-battle flag with it.
    s.SetBattleMode(1);
    EXPECT_EQ(s.m_bAutoBattle, 1);
    s.SetBattleMode(0);
    EXPECT_EQ(s.m_bAutoBattle, 0);
}

// ---------------------------------------------------------------------------
// System.ini

namespace {

struct Setting {
    int32_t RunSettings::*member;
    int32_t value;
};

RunSettings DefaultRun(const cSystem& s)
{
    RunSettings run;
    SetRunDefaults(s, run);
    return run;
}

bool SameRun(const RunSettings& a, const RunSettings& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

int Parse(const std::string& text, const cSystem& s, RunSettings& run)
{
    return ParseRunSettings(reinterpret_cast<const uint8_t*>(text.data()), text.size(), s.m_Inis, run);
}

}  // namespace

TEST(RunSettingsFile, Lines)
{
    cSystem s;
    using R = RunSettings;
    struct Case {
        const char* name;
        std::string text;
        int result;
        std::vector<Setting> set;
    };
    const Case cases[] = {
        {"end mark", "Midi_DirectMusic=0\nExit\n", 1, {{&R::nMidiDirectMusic, 0}}},
        {"no end mark", "Midi_DirectMusic=0\n", 0, {{&R::nMidiDirectMusic, 0}}},
        {"end mark without line feed", "Exit", 0, {}},
        {"missing keys", "Exit\n", 1, {}},
        {"windows lines, blanks in keys", "\tWindow Mode=1\r\n Ex it \r\n", 1, {{&R::nWindowMode, 1}}},
        {"comment after a blank", "FrameRate=30 // frame rate\nExit\n", 1, {{&R::nFrameRate, 30}}},
        {"comment after a slash holding a key", "VSync=0/Color=5\nExit\n", 1, {{&R::nVSync, 0}, {&R::nColor, 5}}},
        {"blank after the equals sign", "VSync = 1\nExit\n", 1, {{&R::nVSync, 0}}},
        {"unknown and empty keys", "Volume=5\n=3\nShowFps=1\nnoise\nExit\n", 1, {{&R::nShowFps, 1}}},
        {"last assignment wins", "English=1\nEnglish=0\nEnglish=3\nExit\n", 1, {{&R::nEnglish, 3}}},
        {"numbers as atoi reads them", "Color=-12abc\nFrameRate=99999999999\nVSync=x\nExit\n", 1,
         {{&R::nColor, -12}, {&R::nFrameRate, INT32_MAX}, {&R::nVSync, 0}}},
        {"byte 0 between lines", std::string("English=1\n\0Color=9\n", 19), 1, {{&R::nEnglish, 1}}},
        {"byte 0 inside a value", std::string("English=1\0Color=9\n", 18), 1, {{&R::nEnglish, 1}}},
        {"shift-jis text", SJ("FrameRate=３０\n名前=テスト\nColor=4 ／全角\nExit\n"), 1,
         {{&R::nFrameRate, 0}, {&R::nColor, 4}}},
        {"key longer than kept", std::string(300, 'C') + "=1\nColor=2\nExit\n", 1, {{&R::nColor, 2}}},
        {"truncated inside a value", "FrameRate=30\nColor=", 0, {{&R::nFrameRate, 30}, {&R::nColor, 0}}},
    };
    for (const Case& c : cases) {
        RunSettings run = DefaultRun(s);
        RunSettings want = run;
        for (const Setting& x : c.set)
            want.*x.member = x.value;
        EXPECT_EQ(Parse(c.text, s, run), c.result) << c.name;
        EXPECT_TRUE(SameRun(run, want)) << c.name;
    }

    // A key the key list no longer holds is not read.
    s.m_Inis.erase(1);
    RunSettings run = DefaultRun(s);
    EXPECT_EQ(Parse("Color=5\nExit\n", s, run), 1);
    EXPECT_EQ(run.nColor, 0);
}

TEST(RunSettingsFile, LineBound)
{
    cSystem s;
    std::string lines;
    for (int i = 0; i < kIniLineLimit - 1; ++i)
        lines += "; note\n";
    RunSettings run = DefaultRun(s);
    // One line short of the bound, the file must still end with its mark...
    EXPECT_EQ(Parse(lines, s, run), 0);
    // ...at the bound the read ends well, and nothing after it is read.
    EXPECT_EQ(Parse(lines + "English=1\nColor=5\n", s, run), 1);
    EXPECT_EQ(run.nEnglish, 1);
    EXPECT_EQ(run.nColor, 0);
    // A value cut off by a blank begins a line of its own.
    EXPECT_EQ(Parse(lines.substr(7) + "English=2 x\nColor=5\n", s, run), 1);
    EXPECT_EQ(run.nEnglish, 2);
    EXPECT_EQ(run.nColor, 0);
}

TEST(RunSettingsFile, ReadFromDisk)
{
    cSystem s;
    TempDir dir;
    RunSettings run = DefaultRun(s);
    RunSettings before = run;
    EXPECT_EQ(ReadRunSettings("System.ini", s, run), 0);
    EXPECT_TRUE(SameRun(run, before));

    // A file larger than one read, with a key across the boundary of two reads.
    std::string text = "; " + std::string(4090, '-') + "\nFrameRate=45\nExit\n";
    WriteFile("System.ini", std::vector<uint8_t>(text.begin(), text.end()));
    EXPECT_EQ(ReadRunSettings("System.ini", s, run), 1);
    EXPECT_EQ(run.nFrameRate, 45);

    text.resize(text.size() - 5);  // without "Exit"
    WriteFile("System.ini", std::vector<uint8_t>(text.begin(), text.end()));
    EXPECT_EQ(ReadRunSettings("System.ini", s, run), 0);
}
