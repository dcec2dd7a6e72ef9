// The media catalogue of the game database (pictures, backgrounds, sound
// effects, music, help pages), the character and effect animations with their
// frames, and the world map chips. Other records name these entries by their
// position in the list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/serial.h"

// A picture: "ピクチャー", Picture.dat.
class cEdPicture : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cEdPicture)
    SERIAL_MEMBERS;

    std::string m_Name;           // "名称"
    int32_t m_bNameIsFile = 0;    // "ファイル名と同じ": the name follows the file name
    std::string m_Path;           // "パス", relative to the project folder
};

// How a background is drawn ("表示タイプ").
enum BackDisplayType : int32_t {
    BACK_MAPCHIP = 0,  // "マップチップを並べる"
    BACK_IMAGE = 1,    // "画像で指定"
    BACK_COLOR = 2,    // "色で指定"
};
// The labels of the display types, in value order (CP932).
const std::vector<std::string>& BackDisplayTypeNames();

// A battle background: Back.dat.
class cEdBack : public cSerial {
public:
    cEdBack();
    SERIAL_MEMBERS;

    std::string m_Name;           // "名称"
    int32_t m_nDisplayType = 0;   // BackDisplayType
    int32_t m_nChipWidth = 0;     // map chip size in dots; should divide the image width
    int32_t m_nChipHeight = 0;
    std::string m_ImagePath;      // "画像のパス"
    uint8_t m_Red = 0;            // "透過色(R,G,B)"
    uint8_t m_Green = 0;
    uint8_t m_Blue = 0;
    double m_dScrollX = 0.0;      // "スクロール速度(横、縦)"
    double m_dScrollY = 0.0;
};

// A sound effect: Sound.dat.
class cEdSound : public cSerial {
public:
    cEdSound();
    SERIAL_MEMBERS;

    std::string m_Name;
    int32_t m_bNameIsFile = 0;
    std::string m_Path;
};

// A piece of music: Bgm.dat.
class cEdBgm : public cSerial {
public:
    cEdBgm();
    SERIAL_MEMBERS;

    std::string m_Name;
    int32_t m_bNameIsFile = 0;
    std::string m_Path;
    int32_t m_nVolume = 0;        // "ボリューム(%)", 0 to 100
};

// One text page of a help entry.
class cEdHelpText : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cEdHelpText)
    SERIAL_MEMBERS;

    std::string m_Text;
};

// A help entry: Help.dat.
class cEdHelp : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cEdHelp)
    SERIAL_MEMBERS;

    std::string m_Parent;         // "親見出し"
    std::string m_Heading;        // "見出し"
    RecordList<cEdHelpText> m_Texts;
};

// One frame of a character animation.
class cCharaAnim : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cCharaAnim)
    SERIAL_MEMBERS;

    int32_t m_nCell = 0;          // "コマ"
    int32_t m_nTime = 0;          // "表示時間(1/60s)"
    int32_t m_bEffectStart = 0;   // "ここからエフェクトを開始"
    int32_t m_nMoveX = 0;         // "移動X(dot)"
    int32_t m_nMoveY = 0;         // "移動Y(dot)"
    int32_t m_bInstantMove = 0;          // "瞬間移動"; otherwise the move spreads over the display time
};

// A character animation: CharaAnim.dat.
class cCharaAnimPat : public cSerial {
public:
    cCharaAnimPat();
    SERIAL_MEMBERS;

    std::string m_Name;
    int16_t m_nPreview = 0;       // "プレビュー" graphic, 1 to 159
    RecordList<cCharaAnim> m_Frames;
};

// One frame of an effect animation.
class cEffectAnim : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cEffectAnim)
    SERIAL_MEMBERS;

    int32_t m_nCell = 0;
    int32_t m_nTime = 0;
    int32_t m_nMoveX = 0;
    int32_t m_nMoveY = 0;
    int32_t m_bInstantMove = 0;
};

// An effect animation: EffectAnim.dat.
class cEffectAnimPat : public cSerial {
public:
    cEffectAnimPat();
    SERIAL_MEMBERS;

    std::string m_Name;
    int16_t m_nPreview = 0;       // preview graphic, 1 to 127
    RecordList<cEffectAnim> m_Frames;
};

// A chip of the world map's chip set (held by the world map record).
class cWorldChip : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cWorldChip)
    SERIAL_MEMBERS;

    int32_t m_nValue = 0;         // not edited; carried unchanged
    int32_t m_bImpassable = 0;    // "移動不可"
    int32_t m_nGraphic = 0;       // "グラフィック", 0 to 255
    std::string m_Name;           // "名称"
    std::string m_Text;           // not edited; carried unchanged
};

// An entry of the system record's background list that nothing edits any more.
class cEdBack_Unused : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cEdBack_Unused)
    SERIAL_MEMBERS;

    int32_t m_nValue = 0;
    double m_dValue1 = 0.0;
    double m_dValue2 = 0.0;
};
