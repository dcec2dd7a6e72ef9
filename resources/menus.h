// Menus, accelerators and the command ids of list controls, declared once.
// Texts are UTF-8 here and converted when the menus are built.
#pragma once

#include <array>
#include <cstddef>

// Command ids of the list editing keys and popup menus.
namespace cmd {
// group 1
constexpr int kCut1 = 40030, kCopy1 = 40031, kPaste1 = 40032, kClearKey1 = 40082, kInsertKey1 = 40069,
              kClearDel1 = 40083, kDeleteKey1 = 40034;
constexpr int kMenuCut1 = 40027, kMenuCopy1 = 40024, kMenuPaste1 = 40025, kMenuInsert1 = 40070,
              kMenuClear1 = 40081, kMenuDelete1 = 40029, kMenuEdit = 40059, kMenuNew = 40028;
}  // namespace cmd

// Keys of the list key table and the accelerators.
enum AccelKey { AK_X = 'X', AK_C = 'C', AK_V = 'V', AK_I = 'I', AK_N = 'N', AK_O = 'O', AK_S = 'S', AK_Y = 'Y',
                AK_Z = 'Z', AK_T = 'T', AK_DELETE = 0x7F };

// The seven entries of a list's key table: the key, whether Ctrl must be held.
struct ListKeySlot { int key; bool ctrl; };
constexpr std::array<ListKeySlot, 7> kListKeySlots = {{
    {AK_X, true}, {AK_C, true}, {AK_V, true}, {AK_I, true}, {AK_I, true}, {AK_DELETE, false}, {AK_DELETE, false},
}};

// Command ids per (mode, group): key table (cut, copy, paste, clear, insert,
// clear by Delete, delete by Delete) and menu table (cut, copy, paste, unused,
// insert, clear, delete). Mode 0 lists have a fixed length and are cleared;
// mode 1 lists grow and shrink.
struct ListCommandRow {
    int mode, group;
    std::array<int, 7> keys;
    std::array<int, 7> menu;
};
constexpr std::array<ListCommandRow, 6> kListCommandRows = {{
    {0, 1, {40030, 40031, 40032, 40082, 0, 40083, 0}, {40027, 40024, 40025, 0, 0, 40081, 0}},
    {0, 2, {40040, 40035, 40038, 40084, 0, 40085, 0}, {40075, 40076, 40077, 0, 0, 40086, 0}},
    {0, 3, {40101, 40093, 40098, 40104, 0, 40100, 0}, {40088, 40089, 40090, 0, 0, 40133, 0}},
    {1, 1, {40030, 40031, 40032, 0, 40069, 0, 40034}, {40027, 40024, 40025, 0, 40070, 0, 40029}},
    {1, 2, {40040, 40035, 40038, 0, 40071, 0, 40039}, {40075, 40076, 40077, 0, 40078, 0, 40079}},
    {1, 3, {40101, 40093, 40098, 0, 40094, 0, 40099}, {40088, 40089, 40090, 0, 40091, 0, 40092}},
}};

// What a freshly built list control carries: both variants on Ctrl+I and Delete.
constexpr std::array<int, 7> kListDefaultKeys = {40030, 40031, 40032, 40082, 40069, 40083, 40034};
constexpr std::array<int, 7> kListDefaultMenu = {40027, 40024, 40025, 0, 40070, 40081, 40029};

inline const ListCommandRow* FindListCommandRow(int mode, int group)
{
    for (const ListCommandRow& row : kListCommandRows)
        if (row.mode == mode && row.group == group)
            return &row;
    return nullptr;
}

// Menus: one row per item; command 0 is a separator.
struct MenuItem { int menu; int command; const char* text; };
constexpr MenuItem kMenuItems[] = {
    {170, 40027, "切り取り"}, {170, 40024, "コピー"}, {170, 40025, "貼り付け"}, {170, 0, ""}, {170, 40081, "データのクリア"},
    {171, 40075, "切り取り"}, {171, 40076, "コピー"}, {171, 40077, "貼り付け"}, {171, 0, ""}, {171, 40086, "データのクリア"},
    {177, 40088, "切り取り"}, {177, 40089, "コピー"}, {177, 40090, "貼り付け"}, {177, 0, ""}, {177, 40133, "データのクリア"},
    {116, 40027, "切り取り"}, {116, 40024, "コピー"}, {116, 40025, "貼り付け"}, {116, 0, ""}, {116, 40070, "新規挿入"}, {116, 40029, "削除"},
    {120, 40027, "切り取り"}, {120, 40024, "コピー"}, {120, 40025, "貼り付け"},
    {163, 40059, "編集"}, {163, 40028, "新規作成"}, {163, 0, ""}, {163, 40027, "切り取り"}, {163, 40024, "コピー"}, {163, 40025, "貼り付け"}, {163, 0, ""}, {163, 40070, "新規挿入"}, {163, 40029, "削除"},
    {165, 40059, "編集"}, {165, 40028, "新規作成"}, {165, 0, ""}, {165, 40027, "切り取り"}, {165, 40024, "コピー"}, {165, 40025, "貼り付け"}, {165, 0, ""}, {165, 40070, "新規挿入"}, {165, 40029, "削除"},
    {169, 40075, "切り取り"}, {169, 40076, "コピー"}, {169, 40077, "貼り付け"}, {169, 0, ""}, {169, 40078, "新規作成"}, {169, 40079, "削除"},
    {176, 40075, "切り取り"}, {176, 40076, "コピー"}, {176, 40077, "貼り付け"}, {176, 0, ""}, {176, 40078, "新規作成"}, {176, 40079, "削除"},
    {174, 40088, "切り取り"}, {174, 40089, "コピー"}, {174, 40090, "貼り付け"}, {174, 0, ""}, {174, 40091, "新規挿入"}, {174, 40092, "削除"},
};

// Accelerator tables: the list keys of one (mode, group), with the same ids on
// the same keys as the list key table, and the owning window's own keys. A key
// an accelerator translated is not handed to the dialog's key handling as well
// (see KeyboardFilter), so one Delete never deletes twice.
struct AccelEntry { int table; int key; bool ctrl; int command; };
constexpr AccelEntry kAccelerators[] = {
    // 117: mode 1, group 1
    {117, AK_DELETE, false, 40034}, {117, AK_X, true, 40030}, {117, AK_C, true, 40031}, {117, AK_V, true, 40032}, {117, AK_I, true, 40069},
    {117, AK_N, true, 40033}, {117, AK_O, true, 40062}, {117, AK_S, true, 40026}, {117, AK_Y, true, 40064},
    {117, AK_Z, true, 40063}, {117, AK_T, true, 40108},
    // 132: mode 0, group 1
    {132, AK_DELETE, false, 40083}, {132, AK_X, true, 40030}, {132, AK_C, true, 40031}, {132, AK_V, true, 40032}, {132, AK_I, true, 40082},
    {132, AK_N, true, 40033}, {132, AK_O, true, 40062}, {132, AK_S, true, 40026}, {132, AK_Y, true, 40064},
    {132, AK_Z, true, 40063}, {132, AK_T, true, 40108},
    // 130: mode 1, group 2
    {130, AK_DELETE, false, 40039}, {130, AK_X, true, 40040}, {130, AK_C, true, 40035}, {130, AK_V, true, 40038}, {130, AK_I, true, 40071},
    {130, AK_N, true, 40036}, {130, AK_O, true, 40074}, {130, AK_S, true, 40037}, {130, AK_Y, true, 40072},
    {130, AK_Z, true, 40073},
    // 133: mode 0, group 2
    {133, AK_DELETE, false, 40085}, {133, AK_X, true, 40040}, {133, AK_C, true, 40035}, {133, AK_V, true, 40038}, {133, AK_I, true, 40084},
    {133, AK_N, true, 40036}, {133, AK_O, true, 40074}, {133, AK_S, true, 40037}, {133, AK_Y, true, 40072},
    {133, AK_Z, true, 40073},
    // 131: mode 1, group 3
    {131, AK_DELETE, false, 40099}, {131, AK_X, true, 40101}, {131, AK_C, true, 40093}, {131, AK_V, true, 40098}, {131, AK_I, true, 40094},
    {131, AK_N, true, 40095}, {131, AK_O, true, 40096}, {131, AK_S, true, 40097}, {131, AK_Y, true, 40102},
    {131, AK_Z, true, 40103},
    // 134: mode 0, group 3
    {134, AK_DELETE, false, 40100}, {134, AK_X, true, 40101}, {134, AK_C, true, 40093}, {134, AK_V, true, 40098}, {134, AK_I, true, 40104},
    {134, AK_N, true, 40095}, {134, AK_O, true, 40096}, {134, AK_S, true, 40097}, {134, AK_Y, true, 40102},
    {134, AK_Z, true, 40103},
};

// The accelerator table that goes with a list's (mode, group).
inline int ListAcceleratorId(int mode, int group)
{
    static constexpr int ids[2][3] = {{132, 133, 134}, {117, 130, 131}};
    return (mode == 0 || mode == 1) && group >= 1 && group <= 3 ? ids[mode][group - 1] : 0;
}
// The popup menu of a list's (mode, group).
inline int ListMenuId(int mode, int group)
{
    static constexpr int ids[2][3] = {{170, 171, 177}, {116, 169, 174}};
    return (mode == 0 || mode == 1) && group >= 1 && group <= 3 ? ids[mode][group - 1] : 0;
}

// The main window's menu bar (menu 104): top menu, submenu (empty for none),
// command and item text. Ctrl+O, Ctrl+S, Ctrl+T, Ctrl+Z and Ctrl+Y come from
// accelerator table 132; F5 is the main window's own key.
struct MenuBarItem { const char* top; const char* sub; int command; const char* text; };
constexpr MenuBarItem kMainMenu[] = {
    {"ファイル(&F)", "", 40017, "ステージの新規作成(&N)"},
    {"ファイル(&F)", "", 40018, "ステージを開く(&O)\tCtrl+O"},
    {"ファイル(&F)", "", 40055, "ステージを閉じる(&C)"},
    {"ファイル(&F)", "", 0, ""},
    {"ファイル(&F)", "", 40015, "イベントパレットの上書き保存＆ステージの上書き保存(&S)\tCtrl+S"},
    {"ファイル(&F)", "", 40016, "イベントパレットの上書き保存＆ステージの新規保存(&A)"},
    {"ファイル(&F)", "", 40134, "イベントパレットの上書き保存(&B)"},
    {"ファイル(&F)", "", 0, ""},
    {"ファイル(&F)", "", 40087, "デフォルトステージの変更(&D)"},
    {"編集(&E)", "", 40060, "元に戻す(&U)\tCtrl+Z"},
    {"編集(&E)", "", 40061, "やり直し(&R)\tCtrl+Y"},
    {"編集(&E)", "", 0, ""},
    {"編集(&E)", "パレット変更(&P)", 40052, "マップチップ(&M)"},
    {"編集(&E)", "パレット変更(&P)", 40051, "敵キャラ(&C)"},
    {"編集(&E)", "パレット変更(&P)", 40050, "イベント(&E)"},
    {"編集(&E)", "配置データのクリア(&D)", 40066, "全てのマップチップをクリア(&M)"},
    {"編集(&E)", "配置データのクリア(&D)", 40067, "全ての敵をクリア(&C)"},
    {"編集(&E)", "配置データのクリア(&D)", 40068, "全てのイベントをクリア(&E)"},
    {"ステージ(&S)", "", 40115, "ステージの設定(&E)"},
    {"ステージ(&S)", "", 40116, "位置グループの設定(&P)"},
    {"プロジェクト(&P)", "", 40118, "データベース(&D)"},
    {"プロジェクト(&P)", "", 40120, "初期イベント(&E)"},
    {"プロジェクト(&P)", "", 40119, "ワールドマップ(&W)"},
    {"テストプレイ(&T)", "", 40049, "テストプレイ(T)\tF5 or Ctrl+T"},
    {"テストプレイ(&T)", "", 40136, "テストプレイの設定(&E)"},
};

// The main window's toolbar (control id 107): image kind, image index, command,
// tooltip; command 0 is a separator. Standard images are drawn by the toolkit;
// the palette and test-play images are cut from bitmaps under "e_image".
enum ToolImage { TI_NEW, TI_OPEN, TI_SAVE, TI_UNDO, TI_REDO, TI_PALETTE, TI_TESTPLAY };
struct ToolbarItem { ToolImage image; int index; int command; const char* tip; bool checkGroup; };
constexpr ToolbarItem kMainToolbar[] = {
    {TI_NEW, 0, 40017, "新規作成", false},
    {TI_OPEN, 0, 40018, "開く", false},
    {TI_SAVE, 0, 40015, "上書き保存", false},
    {TI_NEW, 0, 0, "", false},
    {TI_UNDO, 0, 40060, "元に戻す", false},
    {TI_REDO, 0, 40061, "やり直し", false},
    {TI_NEW, 0, 0, "", false},
    {TI_PALETTE, 0, 40003, "マップチップパレット", true},
    {TI_PALETTE, 1, 40004, "敵パレット", true},
    {TI_PALETTE, 2, 40005, "イベントパレット", true},
    {TI_NEW, 0, 0, "", false},
    {TI_TESTPLAY, 0, 40006, "テストプレイ", false},
};

// The action palette's part of the action list's menu (176). It is built each
// time the menu opens, one item per palette entry, so it always shows the
// palette as it is. Entries 0 to 99 carry the ids 35000 + i (overwrite) and
// 35500 + i (paste); later entries 36000 + i and 37000 + i, so every listed
// entry of the up to 999 can be chosen.
namespace actplt {
constexpr int kOverwriteFirst = 35000;
constexpr int kPasteFirst = 35500;
constexpr int kOverwriteWide = 36000;
constexpr int kPasteWide = 37000;
constexpr int kFirstWideEntry = 100;
constexpr int kNew = 40127;   // "新規保存"
constexpr int kSort = 40126;  // "アクションパレットの並べ替え"
constexpr const char* kPasteMenu = "アクションパレットから貼り付け";
constexpr const char* kSaveMenu = "アクションパレットへ保存";
constexpr const char* kNewItem = "新規保存";
constexpr const char* kOverwriteMenu = "上書き保存";
constexpr const char* kSortItem = "アクションパレットの並べ替え";
}  // namespace actplt
