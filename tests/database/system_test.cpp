#include "database/system.h"

#include <algorithm>
#include <climits>

#include <gtest/gtest.h>

#include "base/text.h"
#include "tests/records/record_bytes.h"
#include "tests/test_util.h"

namespace {

// Gives every number and text of a JSON form its own value.
void Distinct(Json& j, int& n)
{
    if (j.is_structured()) {
        for (Json& e : j)
            Distinct(e, n);
    } else if (j.is_number_float()) {
        j = ++n + 0.5;
    } else if (j.is_number()) {
        j = ++n;
    } else if (j.is_string()) {
        ++n;
        j = std::string(n % 2 ? "語" : "w") + std::to_string(n);
    }
}

// A system record with every member set apart from its default and from every
// other member, so that a transposed pair changes the bytes; every list holds
// something.
cSystem FilledSystem()
{
    cSystem s;
    s.m_UnusedBacks.emplace_back();
    Json j = s.ToJson();
    int n = 1000;
    Distinct(j, n);
    j["colorR"] = 0x11;
    j["colorG"] = 0x22;
    j["colorB"] = 0x33;
    j["soundSwitches"] = {1, 0, 255};
    std::string error;
    EXPECT_TRUE(s.FromJson(j, error)) << error;
    // Old files rebuild a limit from its digit count, so the limits are all nines.
    for (cParamInfo& p : s.m_Params)
        p.m_nLimit = 999;
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
    using S = cSystem;
    SystemFile(uint32_t version, const cSystem& source, int32_t reserved = 0x5EED) : v(version), src(source)
    {
        M(&S::m_nFirstValue); M(&S::m_nGrowthMin); M(&S::m_nGrowthMax); M(&S::m_dGrowthScoutFactor);  // 1-4
        M(&S::m_bGrowthCapped); M(&S::m_nSenseMin); M(&S::m_nSenseMax); M(&S::m_dSenseScoutFactor);  // 5-8
        M(&S::m_bSenseCapped); M(&S::m_bScoutEnabled); M(&S::m_nScoutVariable);  // 9-11
        M(&S::m_nGrowthPeriodMin, 70); M(&S::m_nGrowthPeriodMax, 70); M(&S::m_nGrowthUnit, 70);  // 12-14
        M(&S::m_nSenseUnit, 122); M(&S::m_bRandomChange, 70); M(&S::m_nRandomChangeAmount, 70);  // 15-17
        M(&S::m_nRandomChangeCount, 70);  // 18
        M(&S::m_StatRates); M(&S::m_EnemyClassMod);  // 19-20
        M(&S::m_nExpBase); M(&S::m_dExpLevelFactor); M(&S::m_dExpDifficultyFactor, 89);  // 21-23
        M(&S::m_dExpFinishFactor); M(&S::m_nExpMin, 33); M(&S::m_nExpMax, 33);  // 24-26
        M(&S::m_bActAgainOnKill); M(&S::m_bAutoTurnEnd); M(&S::m_bLeaderRule, 331);  // 27-29
        M(&S::m_nMoneyVariable); M(&S::m_nHireVariable); M(&S::m_nHireCost); M(&S::m_nHireCostPerLevel);  // 30-33
        M(&S::m_bReviveAfterStage); M(&S::m_nReviveVariable); M(&S::m_nReviveCost);  // 34-36
        M(&S::m_nReviveCostPerLevel); M(&S::m_nReleaseVariable); M(&S::m_nReleasePrice);  // 37-39
        M(&S::m_nReleasePricePerLevel); M(&S::m_nSkillSaleMod);  // 40-41
        M(&S::m_nBattleMode); M(&S::m_bAutoBattle, 101);  // 42-43
        M(&S::m_nBattleTime); M(&S::m_InitAction); M(&S::m_AgilityMod); M(&S::m_bDefenderWaits);  // 44-47
        M(&S::m_nAgilityBase);  // 48
        M(&S::m_nTurnSwitchMode, 101); M(&S::m_BaseActions, 101); M(&S::m_AgilityPerAction, 101);  // 49-51
        M(&S::m_ActionLimit, 101);  // 52
        M(&S::m_RefActions); M(&S::m_bShowActionOrder, 123);  // 53-54
        M(&S::m_dHitFactor); M(&S::m_dCriticalFactor); M(&S::m_dAttackFactor); M(&S::m_dDefenceFactor);  // 55-58
        M(&S::m_nDamageMin); M(&S::m_nDamageMax); M(&S::m_nHealMod); M(&S::m_bMissNoCost);  // 59-62
        M(&S::m_bGuardNoEvade, 81);  // 63
        M(&S::m_nSkillNameTime, 330); M(&S::m_bSkillNameUntilEnd, 330);  // 64-65
        M(&S::m_nFirstParamLimit, 9);  // 66
        M(&S::m_nDifficultyVariable); M(&S::m_nDifficultyInit); M(&S::m_bEnemyUpPercent); M(&S::m_EnemyUp);  // 67-70
        M(&S::m_nUneditedValue, 104);  // 71
        M(&S::m_nColorR); M(&S::m_nColorG); M(&S::m_nColorB);  // 72-74
        M(&S::m_nPage6Value1, 85); M(&S::m_nPage6Value2, 85); M(&S::m_nPage6Value3, 85);  // 75-77
        M(&S::m_GameName); M(&S::m_SoundFiles); M(&S::m_SoundValues); M(&S::m_SoundSwitches, 23);  // 78-81
        M(&S::m_bShowPrediction, 10); M(&S::m_PredictionItems, 125);  // 82-83
        if (v >= 90 && v < 124)  // 84
            b.i32(reserved);
        M(&S::m_bTwoSkillLists, 119); M(&S::m_nPage4Choice, 91); M(&S::m_bEvenSpacing, 91);  // 85-87
        M(&S::m_Words); L(&S::m_Params, 8); M(&S::m_bShowGameModeImage, 11);  // 88-90
        L(&S::m_TitleMenu, 11); L(&S::m_OptionMenu, 11);  // 91-92
        L(&S::m_BaseMenu); L(&S::m_ScoutMenu, 12); L(&S::m_ReviveMenu, 12); L(&S::m_ReleaseMenu, 12);  // 93-96
        L(&S::m_ConfigMenu, 63); L(&S::m_ShopMenu, 11); L(&S::m_TrainingMenu, 11);  // 97-99
        L(&S::m_TrainingEntryMenu, 11); L(&S::m_TrainingSubMenu, 11);  // 100-101
        L(&S::m_PrepareMenu); L(&S::m_ActionMenu); L(&S::m_MapSystemMenu);  // 102-104
        L(&S::m_MapTestMenu, 43); L(&S::m_BattleMenu);  // 105-106
        L(&S::m_Elems); L(&S::m_Categs);  // 107-108
        L(&S::m_UnusedBacks, 64); M(&S::m_nPage4Choice2, 66); L(&S::m_Inis);  // 109-111
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
    ASSERT_EQ(s.m_Words.size(), 55u);
    EXPECT_EQ(s.m_Words[13], SJ("コ"));
    EXPECT_EQ(s.m_Words[47], SJ("何ターン目にする？"));
    EXPECT_EQ(std::count(s.m_Words.begin(), s.m_Words.end(), SJ("やっぱりやめる")), 9);
    ASSERT_EQ(s.m_Params.size(), 12);
    EXPECT_EQ(s.m_Params[11].m_Name, SJ("移動力"));
    std::vector<int> menuSizes;
    for (const SystemMenu& m : SystemMenus())
        menuSizes.push_back((s.*m.member).size());
    EXPECT_EQ(menuSizes, (std::vector<int>{4, 3, 13, 3, 3, 2, 5, 3, 6, 4, 3, 7, 6, 4, 5, 4}));
    EXPECT_EQ(s.m_MapTestMenu[3].m_Text, SJ("コモン変数の確認"));

    // The run settings keep their own order, frame rate before vertical sync.
    RunSettings run;
    SetRunDefaults(s, run);
    EXPECT_EQ(std::vector<int32_t>({run.nValid, run.nWindowMode, run.nColor, run.nFrameRate, run.nVSync, run.nShowFps,
                                    run.nEnglish, run.nMidiDirectMusic}),
              std::vector<int32_t>({1, 2, 0, 60, 2, 2, 0, 1}));
    // Defaults follow the key list; a setting it no longer names keeps the new project's.
    s.m_Inis[3].m_nDefault = 30;
    s.m_Inis[6].m_nDefault = 0;
    s.m_Inis[6].m_Key = "Midi";
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
             Case{3, -900, 100, 100, -100, 0, 0.0, 0.0},  // no negative counts
         }) {
        cSystem s;
        s.m_nBattleTime = c.time;
        s.m_InitAction = {c.initA, c.initD};
        s.m_AgilityMod = {c.modA, c.modD};
        s.m_bDefenderWaits = c.waits;
        s.UpdateDerived();
        EXPECT_DOUBLE_EQ(s.m_RefActions[0], c.wantA) << c.initA;
        EXPECT_DOUBLE_EQ(s.m_RefActions[1], c.wantD) << c.initA;
    }

    for (auto [limit, digits] : {std::pair{0, 0}, {-5, 0}, {9, 1}, {10, 2}, {INT32_MAX, 10}})
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
        {"numbers as atoi reads them", "Color=-12abc\nFrameRate=99999999999\nVSync=x\nExit\n", 1,
         {{&R::nColor, -12}, {&R::nFrameRate, INT32_MAX}, {&R::nVSync, 0}}},
        {"byte 0 between lines", std::string("English=1\n\0Color=9\n", 19), 1, {{&R::nEnglish, 1}}},
        {"byte 0 inside a value", std::string("English=1\0Color=9\n", 18), 1, {{&R::nEnglish, 1}}},
        {"shift-jis text", SJ("FrameRate=３０\n名前=テスト\nColor=4 ／全角\nExit\n"), 1,
         {{&R::nFrameRate, 0}, {&R::nColor, 4}}},
        {"key longer than kept", std::string(300, 'C') + "=1\nColor=2\nExit\n", 1, {{&R::nColor, 2}}},
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
