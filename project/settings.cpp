#include "project/settings.h"

#include <algorithm>
#include <climits>

#include "base/paths.h"

namespace {
int g_screenWidth = INT_MAX;
int g_screenHeight = INT_MAX;
}  // namespace

void SetScreenClientSize(int width, int height)
{
    g_screenWidth = width;
    g_screenHeight = height;
}

int cWndPosInfo::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cWndPosInfo> m(*this, op, other, io, version);
    m.Int("valid", &cWndPosInfo::m_bValid);
    m.Int("left", &cWndPosInfo::m_nLeft);
    m.Int("top", &cWndPosInfo::m_nTop);
    m.Int("right", &cWndPosInfo::m_nRight);
    m.Int("bottom", &cWndPosInfo::m_nBottom);
    m.Int("value", &cWndPosInfo::m_nValue);
    return m.Result();
}

int cWndPosInfo::LoadBody(RecordReader& in)
{
    int result = cSerial::LoadBody(in);
    // A place stored on a larger or other screen is pulled back onto this one.
    m_nLeft = std::clamp(m_nLeft, 0, g_screenWidth);
    m_nTop = std::clamp(m_nTop, 0, g_screenHeight);
    return result;
}

int cEditConfig::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cEditConfig> m(*this, op, other, io, version);
    m.Str("stagePath", &cEditConfig::m_StagePath);
    m.Int("paletteMode", &cEditConfig::m_nPaletteMode);
    m.Obsolete(4, Range(0, 74));
    m.Obsolete(4, Range(0, 74));
    m.Int("undoDepth", &cEditConfig::m_nUndoDepth);
    m.Int("eventEditIfPlaced", &cEditConfig::m_bEventEditIfPlaced);
    m.Int("eventEditBeforePut", &cEditConfig::m_bEventEditBeforePut);
    m.Int("worldEditIfPlaced", &cEditConfig::m_bWorldEditIfPlaced);
    m.Int("worldEditBeforePut", &cEditConfig::m_bWorldEditBeforePut);
    m.Int("worldAutoStage", &cEditConfig::m_bWorldAutoStage);
    m.Obsolete(4, Range(0, 77));
    m.Int("oldTestPlayMode", &cEditConfig::m_nOldTestPlayMode);
    m.Str("oldGamePath", &cEditConfig::m_OldGamePath);
    m.Str("defaultStagePath", &cEditConfig::m_DefaultStagePath);
    m.Str("furtherPath", &cEditConfig::m_FurtherPath);
    m.Int("furtherValue", &cEditConfig::m_nFurtherValue, Since(26));
    // The seven window places follow with no count.
    m.Nested("windows", &cEditConfig::m_WndPos);
    return m.Result();
}

void cEditConfig::NewSettings()
{
    Init();
    m_nUndoDepth = 3;
    m_bEventEditIfPlaced = 1;
    m_bEventEditBeforePut = 1;
    m_bWorldEditIfPlaced = 1;
    m_bWorldEditBeforePut = 1;
    m_bWorldAutoStage = 1;
    m_nOldTestPlayMode = 1;
    m_OldGamePath.clear();
    m_DefaultStagePath = "data\\stg\\Default.stg2";
}

int cEditConfig::LoadBody(RecordReader& in)
{
    int result = cSerial::LoadBody(in);
    // Stages were saved with the extension stg before version 106.
    if (LoadedFileVersion < 106) {
        ReplaceExtension(m_StagePath, std::string(m_StagePath), "stg2");
        ReplaceExtension(m_DefaultStagePath, std::string(m_DefaultStagePath), "stg2");
    }
    return result;
}

int cTestPlay::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cTestPlay> m(*this, op, other, io, version);
    m.Int("autoFind", &cTestPlay::m_bAutoFind, Since(221));
    m.Str("gamePath", &cTestPlay::m_GamePath, Since(221));
    m.Int("noRandomGrowth", &cTestPlay::m_bNoRandomGrowth);
    m.Int("noRandomSense", &cTestPlay::m_bNoRandomSense);
    m.Int("randomSkill", &cTestPlay::m_nRandomSkill);
    m.Int("skillLevel", &cTestPlay::m_nSkillLevel);
    m.Int("training", &cTestPlay::m_nTraining);
    return m.Result();
}

int cPropSheetSize::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cPropSheetSize> m(*this, op, other, io, version);
    m.Int("fontWidth", &cPropSheetSize::m_nFontWidth);
    m.Int("fontHeight", &cPropSheetSize::m_nFontHeight);
    m.Str("fontFace", &cPropSheetSize::m_FontFace);
    m.Int("fontPitch", &cPropSheetSize::m_nFontPitch);
    m.Int("fontValue", &cPropSheetSize::m_nFontValue);
    m.Real("scaleX", &cPropSheetSize::m_dScaleX);
    m.Real("scaleY", &cPropSheetSize::m_dScaleY);
    return m.Result();
}
