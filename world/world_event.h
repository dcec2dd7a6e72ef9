// The events of the world map: each stands on a cell and, through its pages,
// makes that cell a stage entrance, a road or a wall.
#pragma once

#include <cstdint>
#include <string>

#include "events/event.h"
#include "records/labels.h"
#include "records/serial.h"

enum class WorldEventType : int32_t { Stage, Road, Wall };
const LabelTable& WorldEventTypeLabels();
// What clearing the stage does to the game ("ゲームクリア").
const LabelTable& GameClearLabels();

class cWorldEventPage : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cWorldEventPage)
    SERIAL_MEMBERS;
    int LoadBody(RecordReader& in) override;

    WorldEventType m_nEventType = WorldEventType::Stage;  // "イベントタイプ"
    int32_t m_nGraphic = 0;            // world event graphic
    int32_t m_nStageNumber = 0;        // 0 to 999; 0 = no number (always cleared)
    int32_t m_bPassableUncleared = 0;  // "クリアしなくても通行可能"
    int32_t m_bReplayable = 0;         // "クリア後でもプレイ可能"
    int32_t m_nOnGameClear = 0;        // 0 nothing, 1 on to the second round, 2 the game ends
    int32_t m_nRequiredStage = 0;      // shown once this stage is cleared; 0 = always
    int32_t m_nCommonVar = 0;          // shown under a common-variable condition; 0 = none
    int32_t m_nCommonVarValue = 0;     // -999999 to 999999
    CompareOp m_nCommonVarCompare = CompareOp::Equal;
    int32_t m_bVariation = 0;          // "バリエーション": set a common variable before the stage
    int32_t m_nVariationVar = 0;       // 0 = none
    int32_t m_nVariationValue = 0;     // -999999 to 999999
    std::string m_StageName;           // "ステージ名"
    std::string m_StageFile;           // a .stg2 file under "data\stg"
};

class cWorldEvent : public cSerial {
public:
    // A new world event holds one default page.
    cWorldEvent();
    SERIAL_MEMBERS;

    int32_t m_nX = 0;
    int32_t m_nY = 0;
    std::string m_Name;  // "イベント名"
    RecordList<cWorldEventPage> m_Pages;
};
