// The world map window's menu bar (menu 155) and toolbar (control id 193).
// Texts are UTF-8 here and converted when the menus are built.
#pragma once

#include "resources/menus.h"

namespace cmd {
constexpr int kWorldSaveClose = 40054;      // "上書き保存して終了"
constexpr int kWorldCloseNoSave = 40055;    // "保存せずに終了"
constexpr int kWorldSettings = 40056;
constexpr int kWorldPaletteChips = 40109;   // toolbar
constexpr int kWorldPaletteEvents = 40110;  // toolbar
}  // namespace cmd

constexpr MenuBarItem kWorldMenu[] = {
    {"ファイル(&F)", "", 40015, "上書き保存(&S)\tCtrl+S"},
    {"ファイル(&F)", "", 0, ""},
    {"ファイル(&F)", "", 40054, "上書き保存して終了(&C)"},
    {"ファイル(&F)", "", 40055, "保存せずに終了(&E)"},
    {"編集(&E)", "", 40060, "元に戻す(&U)\tCtrl+Z"},
    {"編集(&E)", "", 40061, "やり直し(&R)\tCtrl+Y"},
    {"編集(&E)", "", 0, ""},
    {"編集(&E)", "パレット変更(&P)", 40052, "マップチップ(&M)"},
    {"編集(&E)", "パレット変更(&P)", 40050, "イベント(&E)"},
    {"編集(&E)", "配置データのクリア(&D)", 40066, "全てのマップチップをクリア(&M)"},
    {"編集(&E)", "配置データのクリア(&D)", 40068, "全てのイベントをクリア(&V)"},
    {"設定(&S)", "", 40056, "ワールドマップの設定(&W)"},
};

// Image kinds as the main toolbar's; TI_PALETTE images here come from
// "e_image\ToolBar_WorldPalette.bmp".
constexpr ToolbarItem kWorldToolbar[] = {
    {TI_SAVE, 0, 40015, "上書き保存", false},
    {TI_NEW, 0, 0, "", false},
    {TI_UNDO, 0, 40060, "元に戻す", false},
    {TI_REDO, 0, 40061, "やり直し", false},
    {TI_NEW, 0, 0, "", false},
    {TI_PALETTE, 0, 40109, "マップチップパレット", true},
    {TI_PALETTE, 1, 40110, "イベントパレット", true},
};
