#include "database/system.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "base/paths.h"
#include "base/text.h"

// ---------------------------------------------------------------------------
// Parameter names and run-setting keys

int32_t ParamDigits(int32_t limit)
{
    int32_t digits = 0;
    for (int64_t rest = limit; rest > 0; rest /= 10)
        ++digits;
    return digits;
}

int cParamInfo::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cParamInfo> m(*this, op, other, io, version);
    m.Str("name", &cParamInfo::m_Name);
    m.Int("first", &cParamInfo::m_nFirst);
    m.Int("digits", &cParamInfo::m_nDigits);
    m.Int("limit", &cParamInfo::m_nLimit, Since(9));
    return m.Result();
}

void cParamInfo::UpdateDigits() { m_nDigits = ParamDigits(m_nLimit); }

int cParamInfo::LoadBody(RecordReader& in)
{
    int result = cSerial::LoadBody(in);
    // Files before version 9 kept only the digit count: the limit becomes the
    // largest number of that many digits, so that saving keeps the count.
    if (LoadedFileVersion < 9) {
        int32_t digits = std::clamp(m_nDigits, 0, 9);
        int32_t limit = 0;
        for (int32_t i = 0; i < digits; ++i)
            limit = limit * 10 + 9;
        m_nLimit = limit;
    }
    return result;
}

int cParamInfo::SaveBody(RecordWriter& out)
{
    UpdateDigits();
    return cSerial::SaveBody(out);
}

int cIni::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cIni> m(*this, op, other, io, version);
    m.Int("kind", &cIni::m_nKind);
    m.Str("key", &cIni::m_Key);
    m.Int("default", &cIni::m_nDefault);
    m.Str("text", &cIni::m_Text);
    return m.Result();
}

// ---------------------------------------------------------------------------
// Default texts

const std::vector<SystemMenu>& SystemMenus()
{
    static const std::vector<SystemMenu> menus = {
        {"titleMenu", &cSystem::m_TitleMenu, 11, {"初めから", "続きから", "オプション", "ゲーム終了"}},
        {"optionMenu", &cSystem::m_OptionMenu, 11, {"BGM", "SE", "戻る"}},
        {"baseMenu", &cSystem::m_BaseMenu, 0,
         {"ステータス", "ストック", "ショップ", "リーダー", "スカウト", "復活", "放出", "セーブ", "移動", "トレーニング",
          "コンフィグ", "ヘルプ", "ゲーム終了"}},
        {"scoutMenu", &cSystem::m_ScoutMenu, 12, {"スキル", "雇う", "戻る"}},
        {"reviveMenu", &cSystem::m_ReviveMenu, 12, {"スキル", "復活させる", "戻る"}},
        {"releaseMenu", &cSystem::m_ReleaseMenu, 12, {"放出する", "戻る"}},
        {"configMenu", &cSystem::m_ConfigMenu, 63,
         {"難易度", "ウィンドウの色", "ウィンドウの明るさ", "ウィンドウの透過", "戻る"}},
        {"shopMenu", &cSystem::m_ShopMenu, 11, {"買う", "売る", "出る"}},
        {"trainingMenu", &cSystem::m_TrainingMenu, 11,
         {"戦闘開始", "エントリー１", "エントリー２", "地形", "必要勝利数", "トレーニング終了"}},
        {"trainingEntryMenu", &cSystem::m_TrainingEntryMenu, 11, {"味方", "敵", "スキル", "戻る"}},
        {"trainingSubMenu", &cSystem::m_TrainingSubMenu, 11, {"エントリー", "スキル", "戻る"}},
        {"prepareMenu", &cSystem::m_PrepareMenu, 0,
         {"配置", "位置変更", "取り消し", "マップ", "ルール", "攻略開始", "引き返す"}},
        {"actionMenu", &cSystem::m_ActionMenu, 0, {"特殊", "戦闘", "待機", "装備", "スキル", "ストック"}},
        {"mapSystemMenu", &cSystem::m_MapSystemMenu, 0, {"サーチ", "ルール", "ストック", "ターン終了"}},
        {"mapTestMenu", &cSystem::m_MapTestMenu, 43,
         {"このステージをリトライ", "このステージをクリア", "ターンスキップ", "コモン変数の確認", "ゲーム終了"}},
        {"battleMenu", &cSystem::m_BattleMenu, 0, {"攻撃", "スキル", "クイック", "ストック"}},
    };
    return menus;
}

const std::array<const char*, kGameWordCount>& DefaultGameWords()
{
    static const std::array<const char*, kGameWordCount> words = {
        "威力", "命中率", "必殺率", "ダメージ", "行動回数", "ストック", "リザーブ", "セーブデータ",
        "Ｃキー：リスト切替", "Ｖキー：メインスキルへ", "Ｖキー：リザーブスキルへ", "ＡＳキー：キャラ切替",
        "Ｆキー：位置交換", "コ", "完全に復元させないと忘れられません！", "このスキルは忘れられません！",
        "ストックが一杯です！", "セーブする", "やっぱりやめる", "終了する", "やっぱりやめる", "コ持っています",
        "いくつ？", "在庫", "ランダム", "同キャラ対戦はできません！", "勝目！", "の勝利！", "Ｖキー：戦闘終了",
        "ステージに挑む", "やっぱりやめる", "リーダーがいません！", "ターン目", "■勝利条件", "■敗北条件",
        "■その他", "Ｚキー：ターゲットや目的地を表示", "開始する", "やっぱりやめる", "引き返す", "やっぱりやめる",
        "終了する", "やっぱりやめる", "リトライする", "やっぱりやめる", "クリアする", "やっぱりやめる",
        "何ターン目にする？", "終了する", "やっぱりやめる", "移動コスト", "移動不可", "を倒した！",
        "は死んでしまった……", "新しいスキルを覚えた！",
    };
    return words;
}

namespace {

// A new project's parameter names with the limits of the level, experience and
// movement entries; the stats have no limit of their own.
struct NewParam {
    const char* name;
    int32_t limit;
};
const NewParam kNewParams[] = {
    {"HP", 0}, {"SP", 0}, {"攻撃", 0}, {"守備", 0}, {"魔力", 0}, {"抵抗", 0},
    {"技能", 0}, {"反応", 0}, {"敏捷", 0}, {"LV", 99}, {"EX", 100}, {"移動力", 20},
};

// A new project's run-setting keys, in key-list order.
struct NewIniKey {
    const char* key;
    int32_t value;
};
const NewIniKey kNewIniKeys[] = {
    {"WindowMode", 2}, {"Color", 0}, {"VSync", 2}, {"FrameRate", 60},
    {"ShowFps", 2}, {"English", 0}, {"Midi_DirectMusic", 1},
};

// The run settings in their own order, which is not the key list's.
struct RunSettingField {
    const char* key;
    int32_t RunSettings::*member;
};
const RunSettingField kRunSettingFields[] = {
    {"WindowMode", &RunSettings::nWindowMode}, {"Color", &RunSettings::nColor},
    {"FrameRate", &RunSettings::nFrameRate},   {"VSync", &RunSettings::nVSync},
    {"ShowFps", &RunSettings::nShowFps},       {"English", &RunSettings::nEnglish},
    {"Midi_DirectMusic", &RunSettings::nMidiDirectMusic},
};

const RunSettingField* FindRunSetting(const std::string& key)
{
    for (const RunSettingField& field : kRunSettingFields)
        if (key == field.key)
            return &field;
    return nullptr;
}

cCmd Command(const char* utf8)
{
    cCmd c;
    c.m_Text = Utf8ToCp932(utf8);
    c.m_bEnabled = 1;
    return c;
}

}  // namespace

// ---------------------------------------------------------------------------
// cSystem

int cSystem::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cSystem> m(*this, op, other, io, version);
    m.Int("firstValue", &cSystem::m_nFirstValue);
    m.Int("growthMin", &cSystem::m_nGrowthMin);
    m.Int("growthMax", &cSystem::m_nGrowthMax);
    m.Real("growthScoutFactor", &cSystem::m_dGrowthScoutFactor);
    m.Int("growthCapped", &cSystem::m_bGrowthCapped);
    m.Int("senseMin", &cSystem::m_nSenseMin);
    m.Int("senseMax", &cSystem::m_nSenseMax);
    m.Real("senseScoutFactor", &cSystem::m_dSenseScoutFactor);
    m.Int("senseCapped", &cSystem::m_bSenseCapped);
    m.Int("scoutEnabled", &cSystem::m_bScoutEnabled);
    m.Int("scoutVariable", &cSystem::m_nScoutVariable);
    m.Int("growthPeriodMin", &cSystem::m_nGrowthPeriodMin, Since(70));
    m.Int("growthPeriodMax", &cSystem::m_nGrowthPeriodMax, Since(70));
    m.Int("growthUnit", &cSystem::m_nGrowthUnit, Since(70));
    m.Int("senseUnit", &cSystem::m_nSenseUnit, Since(122));
    m.Int("randomChange", &cSystem::m_bRandomChange, Since(70));
    m.Int("randomChangeAmount", &cSystem::m_nRandomChangeAmount, Since(70));
    m.Int("randomChangeCount", &cSystem::m_nRandomChangeCount, Since(70));
    m.Array("statRates", &cSystem::m_StatRates);
    m.Array("enemyClassMod", &cSystem::m_EnemyClassMod);
    m.Int("expBase", &cSystem::m_nExpBase);
    m.Real("expLevelFactor", &cSystem::m_dExpLevelFactor);
    m.Real("expDifficultyFactor", &cSystem::m_dExpDifficultyFactor, Since(89));
    m.Real("expFinishFactor", &cSystem::m_dExpFinishFactor);
    m.Int("expMin", &cSystem::m_nExpMin, Since(33));
    m.Int("expMax", &cSystem::m_nExpMax, Since(33));
    m.Int("actAgainOnKill", &cSystem::m_bActAgainOnKill);
    m.Int("autoTurnEnd", &cSystem::m_bAutoTurnEnd);
    m.Int("leaderRule", &cSystem::m_bLeaderRule, Since(331));
    m.Int("moneyVariable", &cSystem::m_nMoneyVariable);
    m.Int("hireVariable", &cSystem::m_nHireVariable);
    m.Int("hireCost", &cSystem::m_nHireCost);
    m.Int("hireCostPerLevel", &cSystem::m_nHireCostPerLevel);
    m.Int("reviveAfterStage", &cSystem::m_bReviveAfterStage);
    m.Int("reviveVariable", &cSystem::m_nReviveVariable);
    m.Int("reviveCost", &cSystem::m_nReviveCost);
    m.Int("reviveCostPerLevel", &cSystem::m_nReviveCostPerLevel);
    m.Int("releaseVariable", &cSystem::m_nReleaseVariable);
    m.Int("releasePrice", &cSystem::m_nReleasePrice);
    m.Int("releasePricePerLevel", &cSystem::m_nReleasePricePerLevel);
    m.Int("skillSaleMod", &cSystem::m_nSkillSaleMod);
    m.Int("battleMode", &cSystem::m_nBattleMode);
    m.Int("autoBattle", &cSystem::m_bAutoBattle, Since(101));
    m.Int("battleTime", &cSystem::m_nBattleTime);
    m.Array("initAction", &cSystem::m_InitAction);
    m.Array("agilityMod", &cSystem::m_AgilityMod);
    m.Int("defenderWaits", &cSystem::m_bDefenderWaits);
    m.Int("agilityBase", &cSystem::m_nAgilityBase);
    m.Int("turnSwitchMode", &cSystem::m_nTurnSwitchMode, Since(101));
    m.Array("baseActions", &cSystem::m_BaseActions, Since(101));
    m.Array("agilityPerAction", &cSystem::m_AgilityPerAction, Since(101));
    m.Array("actionLimit", &cSystem::m_ActionLimit, Since(101));
    m.Array("refActions", &cSystem::m_RefActions);
    m.Int("showActionOrder", &cSystem::m_bShowActionOrder, Since(123));
    m.Real("hitFactor", &cSystem::m_dHitFactor);
    m.Real("criticalFactor", &cSystem::m_dCriticalFactor);
    m.Real("attackFactor", &cSystem::m_dAttackFactor);
    m.Real("defenceFactor", &cSystem::m_dDefenceFactor);
    m.Int("damageMin", &cSystem::m_nDamageMin);
    m.Int("damageMax", &cSystem::m_nDamageMax);
    m.Int("healMod", &cSystem::m_nHealMod);
    m.Int("missNoCost", &cSystem::m_bMissNoCost);
    m.Int("guardNoEvade", &cSystem::m_bGuardNoEvade, Since(81));
    m.Int("skillNameTime", &cSystem::m_nSkillNameTime, Since(330));
    m.Int("skillNameUntilEnd", &cSystem::m_bSkillNameUntilEnd, Since(330));
    m.Int("firstParamLimit", &cSystem::m_nFirstParamLimit, Since(9));
    m.Int("difficultyVariable", &cSystem::m_nDifficultyVariable);
    m.Int("difficultyInit", &cSystem::m_nDifficultyInit);
    m.Int("enemyUpPercent", &cSystem::m_bEnemyUpPercent);
    m.Array("enemyUp", &cSystem::m_EnemyUp);
    m.Int("uneditedValue", &cSystem::m_nUneditedValue, Since(104));
    m.Int("colorR", &cSystem::m_nColorR);
    m.Int("colorG", &cSystem::m_nColorG);
    m.Int("colorB", &cSystem::m_nColorB);
    m.Int("page6Value1", &cSystem::m_nPage6Value1, Since(85));
    m.Int("page6Value2", &cSystem::m_nPage6Value2, Since(85));
    m.Int("page6Value3", &cSystem::m_nPage6Value3, Since(85));
    m.Str("gameName", &cSystem::m_GameName);
    m.StrVec("soundFiles", &cSystem::m_SoundFiles);
    m.IntVec("soundValues", &cSystem::m_SoundValues);
    m.ByteVec("soundSwitches", &cSystem::m_SoundSwitches, Since(23));
    m.Int("showPrediction", &cSystem::m_bShowPrediction, Since(10));
    m.IntVec("predictionItems", &cSystem::m_PredictionItems, Since(125));
    m.Obsolete(4, Range(90, 124));
    m.Int("twoSkillLists", &cSystem::m_bTwoSkillLists, Since(119));
    m.Int("page4Choice", &cSystem::m_nPage4Choice, Since(91));
    m.Int("evenSpacing", &cSystem::m_bEvenSpacing, Since(91));
    m.StrVec("words", &cSystem::m_Words);
    m.List("params", &cSystem::m_Params, Since(8));
    m.Int("showGameModeImage", &cSystem::m_bShowGameModeImage, Since(11));
    for (const SystemMenu& menu : SystemMenus())
        m.List(menu.key, menu.member, Since(menu.since));
    m.List("elements", &cSystem::m_Elems);
    m.List("categories", &cSystem::m_Categs);
    m.List("unusedBacks", &cSystem::m_UnusedBacks, Since(64));
    m.Int("page4Choice2", &cSystem::m_nPage4Choice2, Since(66));
    m.List("iniKeys", &cSystem::m_Inis);
    return m.Result();
}

void cSystem::NewSystem()
{
    Init();
    m_bGrowthCapped = 1;
    m_bSenseCapped = 1;
    m_bScoutEnabled = 1;
    SetBattleMode(0);
    m_nBattleTime = 27;
    m_InitAction = {600, 500};
    m_AgilityMod = {100, 100};
    m_bDefenderWaits = 1;
    m_nAgilityBase = 10;
    m_BaseActions = {1, 1};
    m_AgilityPerAction = {10, 10};
    m_ActionLimit = {99, 99};
    m_bShowActionOrder = 1;
    m_dHitFactor = 4.0;
    m_dCriticalFactor = 2.0;
    m_dAttackFactor = 1.0;
    m_dDefenceFactor = 1.0;
    m_nDamageMin = 90;
    m_nDamageMax = 110;
    m_nHealMod = 50;
    m_bMissNoCost = 1;
    m_bGuardNoEvade = 1;
    m_nDifficultyInit = 0;
    m_bEnemyUpPercent = 1;
    m_EnemyUp.fill(10);
    m_SoundFiles.assign(kSystemSoundCount, std::string());
    m_SoundValues.assign(kSystemSoundValueCount, 0);
    m_SoundSwitches.assign(kSystemSoundValueCount, 0);
    m_bShowPrediction = 1;
    m_PredictionItems.assign(4, 0);

    m_Words.clear();
    for (const char* word : DefaultGameWords())
        m_Words.push_back(Utf8ToCp932(word));
    m_Params.clear();
    for (const NewParam& p : kNewParams) {
        cParamInfo& info = m_Params.emplace_back();
        info.m_Name = Utf8ToCp932(p.name);
        info.m_nLimit = p.limit;
    }
    m_bShowGameModeImage = 1;
    for (const SystemMenu& menu : SystemMenus()) {
        RecordList<cCmd>& list = this->*menu.member;
        list.clear();
        for (const char* word : menu.words)
            list.push_back(Command(word));
    }

    // Two elements and one category that takes the whole random sense rise.
    m_Elems.clear();
    for (const char* name : {"物理", "魔法"})
        m_Elems.emplace_back().m_Name = Utf8ToCp932(name);
    m_Categs.clear();
    cCateg& categ = m_Categs.emplace_back();
    categ.m_Name = SJ("基本");
    categ.m_dRate = 1.0;

    m_nPage4Choice2 = 1;
    m_Inis.clear();
    for (const NewIniKey& k : kNewIniKeys) {
        cIni& ini = m_Inis.emplace_back();
        ini.m_Key = k.key;
        ini.m_nDefault = k.value;
    }
    UpdateDerived();
}

const LabelTable& BattleModeLabels()
{
    static const LabelTable labels{"マニュアル（戦闘で戦闘コマンドを選択）", "オート（マップで戦闘コマンドを選択）"};
    return labels;
}

void cSystem::SetBattleMode(int32_t mode)
{
    m_nBattleMode = mode;
    m_bAutoBattle = mode != 0 ? 1 : 0;
}

namespace {

// Actions of a unit that starts with an action value and gains its agility
// modifier at each of the given additions, acting at every kActionThreshold.
double ReferenceActions(int64_t initial, int64_t perAddition, int64_t additions)
{
    int64_t total = initial + std::max<int64_t>(additions, 0) * perAddition;
    return total > 0 ? static_cast<double>(total) / kActionThreshold : 0.0;
}

// Additions the attacker needs before its first action; all of them when it
// never gets there.
int64_t AdditionsToFirstAction(int64_t initial, int64_t perAddition, int64_t additions)
{
    if (initial >= kActionThreshold)
        return 0;
    if (perAddition <= 0)
        return additions;
    return (kActionThreshold - initial + perAddition - 1) / perAddition;
}

}  // namespace

void cSystem::UpdateDerived()
{
    // The reference action counts of a battle: each side starts with its initial
    // action value and gains its agility modifier at each addition of the battle
    // time; with the defender waiting, it gains nothing until the attacker's first
    // action.
    int64_t time = std::max<int64_t>(m_nBattleTime, 0);
    int64_t defenderTime = time;
    if (m_bDefenderWaits)
        defenderTime = std::max<int64_t>(time - AdditionsToFirstAction(m_InitAction[0], m_AgilityMod[0], time), 0);
    m_RefActions[0] = ReferenceActions(m_InitAction[0], m_AgilityMod[0], time);
    m_RefActions[1] = ReferenceActions(m_InitAction[1], m_AgilityMod[1], defenderTime);

    for (cParamInfo& p : m_Params)
        p.UpdateDigits();
    if (!m_Params.empty())
        m_nFirstParamLimit = m_Params[0].m_nLimit;
}

int cSystem::SaveBody(RecordWriter& out)
{
    UpdateDerived();
    return cSerial::SaveBody(out);
}

// ---------------------------------------------------------------------------
// Run settings

RunSettings& ProcessRunSettings()
{
    static RunSettings run;
    return run;
}

void SetRunDefaults(const cSystem& system, RunSettings& run)
{
    run.nValid = 1;
    for (const RunSettingField& field : kRunSettingFields) {
        int32_t value = 0;
        for (const NewIniKey& k : kNewIniKeys)
            if (std::string(k.key) == field.key)
                value = k.value;
        for (const cIni& ini : system.m_Inis)
            if (ini.m_Key == field.key) {
                value = ini.m_nDefault;
                break;
            }
        run.*field.member = value;
    }
}

namespace {

// atoi without its undefined overflow: leading white space, a sign, digits;
// saturates at the ends of int.
int32_t ToInt(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<int64_t>(INT32_MAX) + 1)
            break;
    }
    if (negative)
        value = -value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

void RunSettingsReader::EndLine()
{
    key_.clear();
    value_.clear();
    keyTooLong_ = false;
    inValue_ = false;
    if (++lines_ >= kIniLineLimit)
        status_ = Status::Success;
}

void RunSettingsReader::ApplyValue()
{
    if (keyTooLong_)
        return;
    for (const cIni& ini : keys_)
        if (ini.m_Key == key_) {
            if (const RunSettingField* field = FindRunSetting(key_))
                run_.*field->member = ToInt(value_);
            return;
        }
}

RunSettingsReader::Status RunSettingsReader::Feed(const uint8_t* data, std::size_t size)
{
    for (std::size_t i = 0; i < size && status_ == Status::More; ++i) {
        uint8_t c = data[i];
        if (!inValue_) {
            // Reading a key: blanks, tabs and carriage returns are not part of it.
            if (c == 0) {
                status_ = Status::Success;
            } else if (c == '\r' || c == ' ' || c == '\t') {
            } else if (c == '\n') {
                // A line without "=": the end mark, or nothing.
                if (!keyTooLong_ && key_ == "Exit")
                    status_ = Status::Success;
                else
                    EndLine();
            } else if (c == '=') {
                inValue_ = true;
            } else if (key_.size() < kIniTextLimit) {
                key_.push_back(static_cast<char>(c));
            } else {
                keyTooLong_ = true;
            }
        } else if (c == 0) {
            ApplyValue();
            status_ = Status::Success;
        } else if (c == ' ' || c == '\t' || c == '/' || c == '\n') {
            // The value ends; what follows a blank or "/" on the same line is read
            // as the start of a new line, which holds no "=" when it is a comment.
            ApplyValue();
            EndLine();
        } else if (value_.size() < kIniTextLimit) {
            value_.push_back(static_cast<char>(c));
        }
    }
    return status_;
}

RunSettingsReader::Status RunSettingsReader::Finish()
{
    if (status_ != Status::More)
        return status_;
    // The file ended inside a value: the value counts, but the next key is missing.
    if (inValue_) {
        ApplyValue();
        EndLine();
        if (status_ == Status::Success)
            return status_;
    }
    status_ = Status::Failure;
    return status_;
}

int ParseRunSettings(const uint8_t* data, std::size_t size, const RecordList<cIni>& keys, RunSettings& run)
{
    RunSettingsReader reader(keys, run);
    reader.Feed(data, size);
    return reader.Finish() == RunSettingsReader::Status::Success ? 1 : 0;
}

int ReadRunSettings(const std::string& path, const cSystem& system, RunSettings& run)
{
    std::FILE* f = std::fopen(HostPath(path).c_str(), "rb");
    if (!f)
        return 0;
    RunSettingsReader reader(system.m_Inis, run);
    uint8_t buffer[4096];
    RunSettingsReader::Status status = RunSettingsReader::Status::More;
    while (status == RunSettingsReader::Status::More) {
        std::size_t got = std::fread(buffer, 1, sizeof buffer, f);
        if (got == 0) {
            status = reader.Finish();
            break;
        }
        status = reader.Feed(buffer, got);
    }
    std::fclose(f);
    return status == RunSettingsReader::Status::Success ? 1 : 0;
}
