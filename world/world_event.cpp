#include "world/world_event.h"

#include "base/paths.h"

const LabelTable& WorldEventTypeLabels()
{
    static const LabelTable labels{"ステージ", "道", "壁"};
    return labels;
}

const LabelTable& GameClearLabels()
{
    static const LabelTable labels{"しない", "2周目へ突入", "ゲーム終了"};
    return labels;
}

int cWorldEventPage::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cWorldEventPage> m(*this, op, other, io, version);
    m.Int("eventType", &cWorldEventPage::m_nEventType);
    m.Int("graphic", &cWorldEventPage::m_nGraphic);
    m.Int("stageNumber", &cWorldEventPage::m_nStageNumber);
    m.Int("passableUncleared", &cWorldEventPage::m_bPassableUncleared);
    m.Int("replayable", &cWorldEventPage::m_bReplayable);
    m.Int("onGameClear", &cWorldEventPage::m_nOnGameClear);
    m.Int("requiredStage", &cWorldEventPage::m_nRequiredStage);
    m.Int("commonVar", &cWorldEventPage::m_nCommonVar);
    m.Int("commonVarValue", &cWorldEventPage::m_nCommonVarValue);
    m.Int("commonVarCompare", &cWorldEventPage::m_nCommonVarCompare);
    m.Int("variationOn", &cWorldEventPage::m_bVariation, Since(54));
    m.Int("variationVar", &cWorldEventPage::m_nVariationVar, Since(54));
    m.Int("variationValue", &cWorldEventPage::m_nVariationValue, Since(54));
    m.Str("stageName", &cWorldEventPage::m_StageName, Since(107));
    m.Str("stageFile", &cWorldEventPage::m_StageFile);
    return m.Result();
}

int cWorldEventPage::LoadBody(RecordReader& in)
{
    int result = cSerial::LoadBody(in);
    // Stages were saved with the extension stg before version 106.
    if (LoadedFileVersion < 106 && !m_StageFile.empty())
        ReplaceExtension(m_StageFile, std::string(m_StageFile), "stg2");
    // Older pages had no stage name of their own.
    if (LoadedFileVersion < 107)
        m_StageName.clear();
    return result;
}

cWorldEvent::cWorldEvent()
{
    Init();
    m_Pages.emplace_back();
}

int cWorldEvent::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cWorldEvent> m(*this, op, other, io, version);
    m.Int("x", &cWorldEvent::m_nX);
    m.Int("y", &cWorldEvent::m_nY);
    m.Str("name", &cWorldEvent::m_Name);
    m.List("pages", &cWorldEvent::m_Pages);
    return m.Result();
}
