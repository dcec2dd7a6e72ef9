// The database window's rules that need no window: the size it asks for, the
// check of the size it got (with the scale factors it corrects for the next
// opening), and the message shown when a play button finds nothing to play.
#pragma once

#include <string>

// The client size the database window is designed for.
constexpr int kSheetDesignWidth = 971;
constexpr int kSheetDesignHeight = 714;
// The measured size is accepted within these ratios of the design size.
constexpr float kSheetRateMin = 0.98f;
constexpr float kSheetRateMax = 1.04f;

// The font the size was measured with (members 1 to 5 of "e_data\SheetSize.dat").
struct SheetFont {
    int width = 0;       // average character width
    int height = 0;
    std::string face;    // CP932
    int pitch = 0;       // 1 fixed, 2 variable
    int value = 0;       // weight
};

// The size the window asks for: the design size grown with the font (its
// average character width and height over the design font's) and the scale
// factors, each truncated.
struct SheetSize {
    int width = 0, height = 0;
};
SheetSize SheetRequestSize(const SheetFont& current, const SheetFont& design, double scaleX, double scaleY);

// The measured client size against the design size: the ratios, whether the
// size is accepted, and the scale factors that would give the design size.
struct SheetCheck {
    double rateX = 1.0, rateY = 1.0;
    bool accepted = true;
    double scaleX = 1.0, scaleY = 1.0;
};
SheetCheck CheckSheetSize(int width, int height, double scaleX, double scaleY);

// The check after the window opened: logs "DB Sheet Rate = (x,y)"; on a
// mismatch stores the new scale factors (SheetScaleX, SheetScaleY and the size
// record with the font), writes "e_data\SheetSize.dat" at once, logs "Sheet
// Error 1" and shows the message. True when the size was accepted.
bool RunSheetSizeCheck(int width, int height, const SheetFont& font);

// Writes every database file (SaveDatabase). Files that could not be written
// are named together in one error box; the others are written all the same.
// 1 when every file was written.
int SaveDatabaseReporting();

// The name a media entry takes from its file while "ファイル名と同じ" is set:
// the file name without folder and extension, cut to maxChars characters (a
// double-byte character counts once; 0: no limit).
std::string NameFromFile(const std::string& path, int maxChars);
