// The system record: the game-wide rules and texts of a project (growth rules,
// formulas, battle constants, difficulty, system sounds, the transparent colour,
// parameter names, the game's menus and words, elements, categories and the
// run-setting keys), stored as "data\database\System.dat". Also the run settings
// the game reads from "System.ini".
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "database/land.h"
#include "database/media.h"
#include "database/skill.h"
#include "records/labels.h"
#include "records/serial.h"

// One parameter name. The third value is the parameter's upper limit (0: none);
// the second is derived from it: the number of decimal digits the limit needs.
class cParamInfo : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cParamInfo)
    SERIAL_MEMBERS;
    int LoadBody(RecordReader& in) override;
    int SaveBody(RecordWriter& out) override;

    // Brings the digit count up to date with the limit.
    void UpdateDigits();

    std::string m_Name;
    int32_t m_nFirst = 0;    // carried as it is
    int32_t m_nDigits = 0;   // derived from m_nLimit
    int32_t m_nLimit = 0;
};

// Digits of a parameter limit: 0 for no limit, else its decimal digit count.
int32_t ParamDigits(int32_t limit);

// One run-setting key of "System.ini" with the value the game assumes without it.
class cIni : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cIni)
    SERIAL_MEMBERS;

    int32_t m_nKind = 0;
    std::string m_Key;
    int32_t m_nDefault = 0;
    std::string m_Text;
};

// Number of game words and their defaults.
inline constexpr int kGameWordCount = 55;
// Number of system sounds (file names) and of their values and switches.
inline constexpr int kSystemSoundCount = 18;
inline constexpr int kSystemSoundValueCount = 5;
// An action value reaching this makes a unit act (and is spent); the reference
// action counts of the battle page are measured against it.
inline constexpr int kActionThreshold = 1000;

class cSystem : public cSerial {
public:
    cSystem() { NewSystem(); }
    SERIAL_MEMBERS;
    int SaveBody(RecordWriter& out) override;

    // Init, then the values of a new project.
    void NewSystem();
    // Recomputes the derived members: the reference action counts, the digit counts
    // of the parameter names and the value taken from the first parameter.
    void UpdateDerived();
    // The battle mode and the auto-battle flag change together.
    void SetBattleMode(int32_t mode);

    int32_t m_nFirstValue = 0;              // no editor control
    // Random stat growth and sense increase.
    int32_t m_nGrowthMin = 0;               // "ランダム能力値成長値（合計）"
    int32_t m_nGrowthMax = 0;
    double m_dGrowthScoutFactor = 0.0;      // "＋スカウト力×"
    int32_t m_bGrowthCapped = 0;            // scout power does not push past the maximum
    int32_t m_nSenseMin = 0;                // "ランダムセンス上昇値（合計）"
    int32_t m_nSenseMax = 0;
    double m_dSenseScoutFactor = 0.0;
    int32_t m_bSenseCapped = 0;
    int32_t m_bScoutEnabled = 0;            // "スカウト力を有効にする"
    int32_t m_nScoutVariable = 0;           // party variable holding the scout power
    int32_t m_nGrowthPeriodMin = 0;         // "能力値の成長時期"
    int32_t m_nGrowthPeriodMax = 0;
    int32_t m_nGrowthUnit = 0;              // smallest unit of the growth distribution
    int32_t m_nSenseUnit = 0;               // smallest unit of the sense distribution
    int32_t m_bRandomChange = 0;            // "ランダム能力値変化をする"
    int32_t m_nRandomChangeAmount = 0;
    int32_t m_nRandomChangeCount = 0;
    std::array<double, 9> m_StatRates{};    // "能力値のレート", stat order
    std::array<int32_t, 9> m_EnemyClassMod{};  // "クラスに準ずる敵の能力値の修正(%)"
    // Experience.
    int32_t m_nExpBase = 0;
    double m_dExpLevelFactor = 0.0;         // × (enemy level − ally level)
    double m_dExpDifficultyFactor = 0.0;    // × difficulty
    double m_dExpFinishFactor = 0.0;        // for the finishing blow
    int32_t m_nExpMin = 0;
    int32_t m_nExpMax = 0;
    int32_t m_bActAgainOnKill = 0;          // "敵を倒したら再行動できる"
    int32_t m_bAutoTurnEnd = 0;             // the turn ends when all allies have acted
    int32_t m_bLeaderRule = 0;              // "リーダー制を有効にする"
    // Money.
    int32_t m_nMoneyVariable = 0;           // party variable of the main money
    int32_t m_nHireVariable = 0;
    int32_t m_nHireCost = 0;
    int32_t m_nHireCostPerLevel = 0;
    int32_t m_bReviveAfterStage = 0;        // dead allies revive after a stage clear
    int32_t m_nReviveVariable = 0;
    int32_t m_nReviveCost = 0;
    int32_t m_nReviveCostPerLevel = 0;
    int32_t m_nReleaseVariable = 0;
    int32_t m_nReleasePrice = 0;
    int32_t m_nReleasePricePerLevel = 0;
    int32_t m_nSkillSaleMod = 0;            // "スキルの売値修正(%)"
    // Battle. Index 0 of the pairs is the attacker ("突撃側"), 1 the defender ("迎撃側").
    int32_t m_nBattleMode = 0;              // 0 manual, 1 auto
    int32_t m_bAutoBattle = 0;              // follows m_nBattleMode
    int32_t m_nBattleTime = 0;              // action value additions in one battle
    std::array<int32_t, 2> m_InitAction{};  // "初期行動値"
    std::array<int32_t, 2> m_AgilityMod{};  // "敏捷の修正(%)"
    int32_t m_bDefenderWaits = 0;           // no defender additions before the attacker acted once
    int32_t m_nAgilityBase = 0;             // "敏捷の基本値"
    int32_t m_nTurnSwitchMode = 0;          // "ターン切替モード"
    std::array<int32_t, 2> m_BaseActions{};       // "基本行動回数"
    std::array<int32_t, 2> m_AgilityPerAction{};  // "敏捷差"
    std::array<int32_t, 2> m_ActionLimit{};       // "行動回数の上限"
    std::array<double, 2> m_RefActions{};   // "行動回数（参考用）", derived
    int32_t m_bShowActionOrder = 0;         // "行動順情報を表示"
    double m_dHitFactor = 0.0;
    double m_dCriticalFactor = 0.0;
    double m_dAttackFactor = 0.0;
    double m_dDefenceFactor = 0.0;
    int32_t m_nDamageMin = 0;               // "ダメージの修正(%)"
    int32_t m_nDamageMax = 0;
    int32_t m_nHealMod = 0;                 // "戦闘中のHP回復値の修正(%)"
    int32_t m_bMissNoCost = 0;              // a missed skill spends no SP and no use
    int32_t m_bGuardNoEvade = 0;            // no evasion while a damage reduction is in use
    int32_t m_nSkillNameTime = 0;           // skill name display time, 1/60 s
    int32_t m_bSkillNameUntilEnd = 0;
    int32_t m_nFirstParamLimit = 0;         // derived: the first parameter's limit
    // Difficulty.
    int32_t m_nDifficultyVariable = 0;
    int32_t m_nDifficultyInit = 0;
    int32_t m_bEnemyUpPercent = 0;          // "％で指定↓"
    std::array<int32_t, 9> m_EnemyUp{};     // "敵の能力上昇値", stat order
    int32_t m_nUneditedValue = 0;           // no editor control
    uint8_t m_nColorR = 0;                  // "透過色(R,G,B)"
    uint8_t m_nColorG = 0;
    uint8_t m_nColorB = 0;
    int16_t m_nPage6Value1 = 0;             // three values of the page システム6
    int16_t m_nPage6Value2 = 0;
    int16_t m_nPage6Value3 = 0;
    std::string m_GameName;                 // "ゲーム名"
    std::vector<std::string> m_SoundFiles;  // one per system sound
    std::vector<int32_t> m_SoundValues;
    std::vector<uint8_t> m_SoundSwitches;
    int32_t m_bShowPrediction = 0;          // "効果予測ウインドウを表示"
    std::vector<int32_t> m_PredictionItems; // hit rate, critical rate, damage, actions
    int32_t m_bTwoSkillLists = 0;           // "なるべくスキルリストを2つ同時に表示"
    int32_t m_nPage4Choice = 0;             // a combo box of the page システム4
    int32_t m_bEvenSpacing = 0;             // "文字間を均一にする"
    std::vector<std::string> m_Words;       // the game's fixed words
    RecordList<cParamInfo> m_Params;        // parameter names
    int32_t m_bShowGameModeImage = 0;       // "文字画像「image\GameMode.png」を表示"
    // Menus, each a list of command words (see SystemMenus()).
    RecordList<cCmd> m_TitleMenu;
    RecordList<cCmd> m_OptionMenu;
    RecordList<cCmd> m_BaseMenu;
    RecordList<cCmd> m_ScoutMenu;
    RecordList<cCmd> m_ReviveMenu;
    RecordList<cCmd> m_ReleaseMenu;
    RecordList<cCmd> m_ConfigMenu;
    RecordList<cCmd> m_ShopMenu;
    RecordList<cCmd> m_TrainingMenu;
    RecordList<cCmd> m_TrainingEntryMenu;
    RecordList<cCmd> m_TrainingSubMenu;
    RecordList<cCmd> m_PrepareMenu;
    RecordList<cCmd> m_ActionMenu;
    RecordList<cCmd> m_MapSystemMenu;
    RecordList<cCmd> m_MapTestMenu;
    RecordList<cCmd> m_BattleMenu;
    RecordList<cElem> m_Elems;
    RecordList<cCateg> m_Categs;
    RecordList<cEdBack_Unused> m_UnusedBacks;
    int32_t m_nPage4Choice2 = 0;            // another combo box of the page システム4
    RecordList<cIni> m_Inis;                // run-setting keys
};

// The game's menus in file order: JSON key, member, first version that stores
// it, and the words of a new project (UTF-8).
struct SystemMenu {
    const char* key;
    RecordList<cCmd> cSystem::*member;
    uint32_t since;
    std::vector<const char*> words;
};
const std::vector<SystemMenu>& SystemMenus();

// The battle modes as the battle-mode choice lists them: 0 manual, 1 auto.
const LabelTable& BattleModeLabels();

// The default game words (UTF-8), kGameWordCount of them.
const std::array<const char*, kGameWordCount>& DefaultGameWords();

// ---------------------------------------------------------------------------
// Run settings: what the game takes from "System.ini". The editor only uses
// the MIDI output choice; it never writes the file.

struct RunSettings {
    int32_t nValid = 0;
    int32_t nWindowMode = 0;
    int32_t nColor = 0;
    int32_t nFrameRate = 0;
    int32_t nVSync = 0;
    int32_t nShowFps = 0;
    int32_t nEnglish = 0;
    int32_t nMidiDirectMusic = 0;
};

// The run settings of the process.
RunSettings& ProcessRunSettings();

// Each run setting takes the default value of the key-list entry that names it;
// a setting no entry names takes the value of a new project's key list.
void SetRunDefaults(const cSystem& system, RunSettings& run);

// Reads "System.ini" over the run settings: 1 on success (an "Exit" line, a
// byte 0, or 10000 lines), 0 when the file is missing or ends without them.
int ReadRunSettings(const std::string& path, const cSystem& system, RunSettings& run);

// The longest key or value the reader keeps; longer keys match nothing.
inline constexpr std::size_t kIniTextLimit = 255;
inline constexpr int kIniLineLimit = 10000;

// The reader of "System.ini" as a state machine fed with bytes in pieces, so a
// file of any size is read in bounded memory.
class RunSettingsReader {
public:
    enum class Status { More, Success, Failure };

    RunSettingsReader(const RecordList<cIni>& keys, RunSettings& run) : keys_(keys), run_(run) {}
    // Reads the next bytes; More while the file has not decided the outcome.
    Status Feed(const uint8_t* data, std::size_t size);
    // The file has ended.
    Status Finish();

private:
    void EndLine();
    void ApplyValue();

    const RecordList<cIni>& keys_;
    RunSettings& run_;
    Status status_ = Status::More;
    bool inValue_ = false;
    std::string key_;
    std::string value_;
    bool keyTooLong_ = false;
    int lines_ = 0;
};

// Reads bytes already in memory as a whole file.
int ParseRunSettings(const uint8_t* data, std::size_t size, const RecordList<cIni>& keys, RunSettings& run);
