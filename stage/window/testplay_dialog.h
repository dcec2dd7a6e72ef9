// "テストプレイの設定": where the game program is and the settings that hold
// only during a test play. Works on a copy; OK writes the settings file.
#pragma once

#include "app/editor_state.h"
#include "project/settings.h"
#include "ui/wnd.h"

class DLG_TESTPLAY : public DLG_CLASS {
public:
    enum {
        IDD = 232,
        IDC_BROWSE = 1371,
        IDC_PATH = 1372,
        IDC_AUTO = 1373,
        IDC_NO_GROWTH = 1374,
        IDC_NO_SENSE = 1375,
        IDC_SKILL = 1659,
        IDC_SKILL_LEVEL = 1627,
        IDC_TRAINING = 1628,
    };

    DLG_TESTPLAY();
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

    // Answers "参照" (the open-file dialog unless replaced).
    FileChooser chooseFile;

private:
    void EnablePath();
    cTestPlay m_Settings;
};
