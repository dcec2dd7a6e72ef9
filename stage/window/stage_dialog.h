// "ステージの設定" (the stage's name, size, start group, background, music,
// reward and switches, and its three lists of end conditions) and "説明", the
// editor of one end condition. Both work on copies: Cancel changes nothing.
#pragma once

#include <string>

#include "stage/stage.h"
#include "ui/wnd.h"

class DLG_ENDCOND : public DLG_CLASS {
public:
    enum {
        IDD = 145,
        IDC_TEXT = 1223,
        IDC_SHOW_GROUP = 1225,
        IDC_TARGET = 1226,
        IDC_GROUP = 1227,
        IDC_CHARA = 1299,
        IDC_CHARA_SPIN = 1300,
        IDC_X = 1297,
        IDC_X_SPIN = 1298,
        IDC_Y = 1201,
        IDC_Y_SPIN = 1202,
    };

    // Edits cond; the group combos list groups.
    DLG_ENDCOND(cEndCond* cond, const RecordList<cGroupPos>* groups);
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

private:
    // The id only for target 2, the group only for 3, the cell only for 4.
    void EnableByTarget();
    cEndCond* m_pCond;
    const RecordList<cGroupPos>* m_pGroups;
    cEndCond m_Work;
};

class DLG_STAGE : public DLG_CLASS {
public:
    enum {
        IDD = 144,
        IDC_NAME = 1044,
        IDC_WIDTH = 1210,
        IDC_WIDTH_SPIN = 1212,
        IDC_HEIGHT = 1211,
        IDC_HEIGHT_SPIN = 1166,
        IDC_START_GROUP = 1234,
        IDC_BACK = 1594,
        IDC_BGM = 1235,
        IDC_PLAY = 1217,
        IDC_ALL_GROUPS = 1567,
        IDC_REWARD_KIND = 1626,
        IDC_REWARD = 1218,
        IDC_REWARD_SPIN = 1169,
        IDC_DECREASE = 1315,
        IDC_DECREASE_SPIN = 1176,
        IDC_PERCENT = 1570,
        IDC_SECOND = 1314,
        IDC_SECOND_SPIN = 1174,
        IDC_EXP = 1232,
        IDC_EXP_SPIN = 1171,
        IDC_EXP_CLEARED = 1233,
        IDC_EXP_CLEARED_SPIN = 1172,
        IDC_MONEY = 1236,
        IDC_MONEY_SPIN = 1173,
        IDC_MONEY_CLEARED = 1237,
        IDC_MONEY_CLEARED_SPIN = 1175,
        IDC_SHOW_CLEAR = 1568,
        IDC_SHOW_GAMEOVER = 1569,
        IDC_VICTORY = 1222,
        IDC_DEFEAT = 1226,
        IDC_SPECIAL = 1230,
    };

    // Edits the project's stage.
    DLG_STAGE();
    ~DLG_STAGE() override;
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;
    void OnClose() override;

    const cStage& Work() const { return m_Work; }

private:
    struct CondList;
    static const CondList kCondLists[3];
    bool ListCommand(const CondList& l, int id, Notify code);
    // Opens the condition editor on a line; false when it was cancelled.
    bool EditCondition(const CondList& l, int line);
    void PlayMusic();
    void Ok();

    cStage m_Work;  // its own size stays the stage's until OK
    int m_nWidth = 0, m_nHeight = 0;
};
