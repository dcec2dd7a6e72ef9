// The editor's own settings files under "e_data": editor settings with the
// places of the tool windows, test-play settings and the database window's size.
#pragma once

#include <array>
#include <string>

#include "records/serial.h"

// The full-screen client area that stored window places are pulled back into.
// Unbounded until the editor sets the real screen.
void SetScreenClientSize(int width, int height);

// One tool window's place.
class cWndPosInfo : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cWndPosInfo)
    SERIAL_MEMBERS;
    int LoadBody(RecordReader& in) override;

    int32_t m_bValid = 0;   // 1 once the window has stored its place
    int32_t m_nLeft = 0;
    int32_t m_nTop = 0;
    int32_t m_nRight = 0;   // third and fourth extent values of the window rectangle
    int32_t m_nBottom = 0;
    int32_t m_nValue = 0;   // kept by the owning window
};

// The tool windows whose places the editor settings keep, in file order.
enum class ToolWindow { Main, ChipPalette, EnemyPalette, EventPalette, WorldMap, WorldChipPalette, WorldEventPalette, Count_ };

class cEditConfig : public cSerial {
public:
    cEditConfig() { NewSettings(); }
    SERIAL_MEMBERS;
    int LoadBody(RecordReader& in) override;

    // The values of settings that were never saved.
    void NewSettings();

    cWndPosInfo& WndPos(ToolWindow w) { return m_WndPos[static_cast<int>(w)]; }

    std::string m_StagePath;            // the stage open at the last exit
    int32_t m_nPaletteMode = 0;         // 0 map chips, 1 enemies, 2 events
    int32_t m_nUndoDepth = 0;           // steps the undo history keeps
    int32_t m_bEventEditIfPlaced = 0;   // event palette: "配置済みなら編集"
    int32_t m_bEventEditBeforePut = 0;  // event palette: "配置直前に編集"
    int32_t m_bWorldEditIfPlaced = 0;   // world-event palette: "配置済みなら編集"
    int32_t m_bWorldEditBeforePut = 0;  // world-event palette: "配置直前に編集"
    int32_t m_bWorldAutoStage = 0;      // world-event palette: "ステージ番号を自動で振り分け"
    int32_t m_nOldTestPlayMode = 0;     // taken over by the test-play settings
    std::string m_OldGamePath;          // taken over by the test-play settings
    std::string m_DefaultStagePath;     // stage template loaded before the remembered stage
    std::string m_FurtherPath;
    int32_t m_nFurtherValue = 0;

    std::array<cWndPosInfo, static_cast<int>(ToolWindow::Count_)> m_WndPos;
};

class cTestPlay : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cTestPlay)
    SERIAL_MEMBERS;

    int32_t m_bAutoFind = 0;         // "自動で取得"
    std::string m_GamePath;          // game program, relative to the current directory
    int32_t m_bNoRandomGrowth = 0;   // "ランダム能力値成長を無効化"
    int32_t m_bNoRandomSense = 0;    // "ランダムセンス上昇を無効化"
    int32_t m_nRandomSkill = 0;      // "ランダムスキル習得": 0 unchanged, 1 learn all, 2 off
    int32_t m_nSkillLevel = 0;       // acquisition level: 0 unchanged, 1 middle, 2 minimum, 3 maximum
    int32_t m_nTraining = 0;         // "トレーニング": 0 unchanged, 1 can train, 2 every enemy
};

class cPropSheetSize : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cPropSheetSize)
    SERIAL_MEMBERS;

    // Members 1 to 5 record the icon-title font when the scale was measured.
    int32_t m_nFontWidth = 0;
    int32_t m_nFontHeight = 0;
    std::string m_FontFace;
    int32_t m_nFontPitch = 0;
    int32_t m_nFontValue = 0;
    double m_dScaleX = 0.0;
    double m_dScaleY = 0.0;
};
