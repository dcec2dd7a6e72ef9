#include "database/media.h"

#include "base/text.h"

const std::vector<std::string>& BackDisplayTypeNames()
{
    static const std::vector<std::string> names = {SJ("マップチップを並べる"), SJ("画像で指定"), SJ("色で指定")};
    return names;
}

int cEdPicture::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cEdPicture> m(*this, op, other, io, version);
    m.Str("name", &cEdPicture::m_Name);
    m.Int("nameIsFile", &cEdPicture::m_bNameIsFile);
    m.Str("path", &cEdPicture::m_Path);
    return m.Result();
}

cEdBack::cEdBack()
{
    Init();
    m_nChipWidth = 32;
    m_nChipHeight = 32;
}

int cEdBack::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cEdBack> m(*this, op, other, io, version);
    m.Str("name", &cEdBack::m_Name);
    m.Int("displayType", &cEdBack::m_nDisplayType);
    m.Int("chipWidth", &cEdBack::m_nChipWidth);
    m.Int("chipHeight", &cEdBack::m_nChipHeight);
    m.Str("imagePath", &cEdBack::m_ImagePath);
    m.Int("red", &cEdBack::m_Red);
    m.Int("green", &cEdBack::m_Green);
    m.Int("blue", &cEdBack::m_Blue);
    m.Real("scrollX", &cEdBack::m_dScrollX);
    m.Real("scrollY", &cEdBack::m_dScrollY);
    return m.Result();
}

cEdSound::cEdSound()
{
    Init();
    m_bNameIsFile = 1;
}

int cEdSound::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cEdSound> m(*this, op, other, io, version);
    m.Str("name", &cEdSound::m_Name);
    m.Int("nameIsFile", &cEdSound::m_bNameIsFile);
    m.Str("path", &cEdSound::m_Path);
    return m.Result();
}

cEdBgm::cEdBgm()
{
    Init();
    m_bNameIsFile = 1;
    m_nVolume = 100;
}

int cEdBgm::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cEdBgm> m(*this, op, other, io, version);
    m.Str("name", &cEdBgm::m_Name);
    m.Int("nameIsFile", &cEdBgm::m_bNameIsFile);
    m.Str("path", &cEdBgm::m_Path);
    // Older files had no volume: such a piece keeps the volume it held (100 when new).
    m.Int("volume", &cEdBgm::m_nVolume, Since(100));
    return m.Result();
}

int cEdHelpText::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cEdHelpText> m(*this, op, other, io, version);
    m.Str("text", &cEdHelpText::m_Text);
    return m.Result();
}

int cEdHelp::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cEdHelp> m(*this, op, other, io, version);
    m.Str("parent", &cEdHelp::m_Parent);
    m.Str("heading", &cEdHelp::m_Heading);
    m.List("texts", &cEdHelp::m_Texts);
    return m.Result();
}

int cCharaAnim::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cCharaAnim> m(*this, op, other, io, version);
    m.Int("cell", &cCharaAnim::m_nCell);
    m.Int("time", &cCharaAnim::m_nTime);
    m.Int("effectStart", &cCharaAnim::m_bEffectStart);
    m.Int("moveX", &cCharaAnim::m_nMoveX, Since(28));
    m.Int("moveY", &cCharaAnim::m_nMoveY, Since(28));
    m.Int("instantMove", &cCharaAnim::m_bInstantMove, Since(120));
    return m.Result();
}

cCharaAnimPat::cCharaAnimPat()
{
    Init();
    // A new animation starts with one frame to edit.
    m_Frames.emplace_back();
}

int cCharaAnimPat::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cCharaAnimPat> m(*this, op, other, io, version);
    m.Str("name", &cCharaAnimPat::m_Name);
    m.Int("preview", &cCharaAnimPat::m_nPreview);
    m.List("frames", &cCharaAnimPat::m_Frames);
    return m.Result();
}

int cEffectAnim::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cEffectAnim> m(*this, op, other, io, version);
    m.Int("cell", &cEffectAnim::m_nCell);
    m.Int("time", &cEffectAnim::m_nTime);
    m.Int("moveX", &cEffectAnim::m_nMoveX, Since(29));
    m.Int("moveY", &cEffectAnim::m_nMoveY, Since(29));
    m.Int("instantMove", &cEffectAnim::m_bInstantMove, Since(201));
    return m.Result();
}

cEffectAnimPat::cEffectAnimPat()
{
    Init();
    m_Frames.emplace_back();
}

int cEffectAnimPat::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cEffectAnimPat> m(*this, op, other, io, version);
    m.Str("name", &cEffectAnimPat::m_Name);
    m.Int("preview", &cEffectAnimPat::m_nPreview);
    m.List("frames", &cEffectAnimPat::m_Frames);
    return m.Result();
}

int cWorldChip::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cWorldChip> m(*this, op, other, io, version);
    m.Int("value", &cWorldChip::m_nValue);
    m.Int("impassable", &cWorldChip::m_bImpassable);
    m.Int("graphic", &cWorldChip::m_nGraphic);
    m.Str("name", &cWorldChip::m_Name);
    m.Str("text", &cWorldChip::m_Text);
    return m.Result();
}

int cEdBack_Unused::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cEdBack_Unused> m(*this, op, other, io, version);
    m.Int("value", &cEdBack_Unused::m_nValue);
    m.Real("value1", &cEdBack_Unused::m_dValue1);
    m.Real("value2", &cEdBack_Unused::m_dValue2);
    return m.Result();
}
