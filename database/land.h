// Terrains, compatibility types with their influences, elements and party
// values: small tables of the game database that other records name by number.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "records/serial.h"

// Special effects of a terrain ("特殊効果").
enum LandSpecial : int32_t {
    LAND_SPECIAL_NONE = 0,         // "なし"
    LAND_SPECIAL_BATTLE_TIME = 1,  // "戦闘時間の修正(%)"
};
const std::vector<std::string>& LandSpecialNames();

// A terrain: the page 地形, Land.dat.
class cLand : public cSerial {
public:
    cLand();
    SERIAL_MEMBERS;
    int LoadBody(RecordReader& in) override;
    int SaveBody(RecordWriter& out) override;

    // Repairs the movement cost and the references to backgrounds and elements.
    void Validate();

    int32_t m_nValue = 0;                   // not edited on the page; carried unchanged
    int32_t m_nMoveCost = 0;                // "移動コスト", 1 to 9
    int32_t m_bImpassable = 0;              // "移動不可"
    int32_t m_nGraphic = 0;                 // "グラフィック", 0 to 255
    int32_t m_bStatPercent = 0;             // "％で指定↓": the stat modifiers are percentages
    std::array<int32_t, 9> m_StatMod{};     // "能力値修正", in stat order
    std::vector<int32_t> m_ElemMod;         // "属性修正(%)", one per element
    int32_t m_nSpecial = 0;                 // LandSpecial
    int32_t m_nSpecialValue = 0;
    int32_t m_bTraining = 0;                // "トレーニングで選択可"
    std::string m_Name;                     // "名称"
    std::string m_Help;                     // "説明"
    int32_t m_nBack = 0;                    // "戦闘時の背景": background number
};

// What an influence modifies, and how.
enum InflItem : int32_t {
    INFL_HIT = 0,       // "命中率"
    INFL_CRITICAL = 1,  // "必殺率"
    INFL_DAMAGE = 2,    // "ダメージ"
};
enum InflOperator : int32_t {
    INFL_SET = 0,       // "＝"
    INFL_ADD = 1,       // "＋"
    INFL_SUB = 2,       // "－"
    INFL_MUL = 3,       // "×"
    INFL_DIV = 4,       // "÷"
    INFL_MOD = 5,       // "÷ X の余り"
    INFL_PERCENT = 6,   // "X ％"
};
const std::vector<std::string>& InflItemNames();
const std::vector<std::string>& InflOperatorNames();

// One influence of a compatibility type on another ("相性").
class cInfl : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cInfl)
    SERIAL_MEMBERS;

    int32_t m_nTarget = 0;     // the other compatibility type
    int32_t m_nItem = 0;       // InflItem
    int32_t m_nOperator = 0;   // InflOperator
    int32_t m_nValue = 0;
};

// A compatibility type: CompatiType.dat.
class cCompatiType : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cCompatiType)
    SERIAL_MEMBERS;
    int LoadBody(RecordReader& in) override;
    int SaveBody(RecordWriter& out) override;

    // Drops the influences on types that no longer exist.
    void Validate();

    std::string m_Name;        // "名称"
    RecordList<cInfl> m_Infls; // "相性"
};

// An element ("属性の種類"), held by the system record.
class cElem : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cElem)
    SERIAL_MEMBERS;

    int32_t m_nValue = 0;      // not edited; carried unchanged
    std::string m_Name;        // "名称"
};

// A party value: "パーティー変数", PartyVal.dat.
class cPtVal : public cSerial {
public:
    cPtVal();
    SERIAL_MEMBERS;

    std::string m_Name;           // "名称"
    std::string m_Unit;           // "単位"
    int32_t m_nVariable = 0;      // "コモン変数" that holds the value
    int32_t m_nMin = 0;           // "下限"
    int32_t m_nMax = 0;           // "上限"
    int32_t m_bShowStatus = 0;    // shown below the organisation screen
    int32_t m_bShowSave = 0;      // shown with the save data
    int32_t m_nValue = 0;         // not edited; carried unchanged
};
