// Command ids that code branches on, by name. The numbers are the ones the
// menus, accelerators and toolbars carry (resources/menus.h), so a menu item,
// its accelerator and its toolbar button all arrive as the same command.
#pragma once

namespace cmd {
// File
constexpr int kStageNew = 40017;
constexpr int kStageOpen = 40018;
constexpr int kStageOpenKey = 40062;        // Ctrl+O
constexpr int kStageClose = 40055;
constexpr int kStageSave = 40015;
constexpr int kStageSaveKey = 40026;        // Ctrl+S
constexpr int kStageSaveAs = 40016;
constexpr int kPaletteSave = 40134;
constexpr int kDefaultStage = 40087;
// Edit
constexpr int kUndo = 40060;
constexpr int kUndoKey = 40063;             // Ctrl+Z
constexpr int kRedo = 40061;
constexpr int kRedoKey = 40064;             // Ctrl+Y
constexpr int kPaletteChips = 40003;        // toolbar
constexpr int kPaletteEnemies = 40004;      // toolbar
constexpr int kPaletteEvents = 40005;       // toolbar
constexpr int kMenuPaletteChips = 40052;
constexpr int kMenuPaletteEnemies = 40051;
constexpr int kMenuPaletteEvents = 40050;
constexpr int kClearChips = 40066;
constexpr int kClearEnemies = 40067;
constexpr int kClearEvents = 40068;
// Pen tools (the chip palette's toolbar)
constexpr int kPenNormal = 40041;
constexpr int kPenLine = 40047;
constexpr int kPenRect = 40042;
constexpr int kPenFill = 40043;
// Stage and project
constexpr int kStageSettings = 40115;
constexpr int kPositionGroups = 40116;
constexpr int kDatabase = 40118;
constexpr int kWorldMap = 40119;
constexpr int kStartEvent = 40120;
// Test play
constexpr int kTestPlayButton = 40006;      // toolbar
constexpr int kTestPlay = 40049;            // menu
constexpr int kTestPlayKey = 40108;         // F5, Ctrl+T
constexpr int kTestPlaySettings = 40136;
}  // namespace cmd
