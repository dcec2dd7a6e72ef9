// The world event palette (DLG_WORLDEVENT), the world event editor
// (DLG_WORLDEVENT_SET) and the world map's settings (DLG_WORLDMAP_SET).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/editor_state.h"
#include "stage/world_edit.h"
#include "ui/wnd.h"

class QLabel;

// Modal editor of one world event: its name and its pages.
class DLG_WORLDEVENT_SET : public DLG_CLASS {
public:
    enum {
        IDC_NAME = 1044, IDC_PAGES = 1254, IDC_INSERT = 1066, IDC_DELETE = 1067, IDC_REQUIRED = 1242,
        IDC_COMMON_VAR = 1249, IDC_COMMON_RENAME = 1250, IDC_COMMON_VALUE = 1251, IDC_COMMON_COMPARE = 1253,
        IDC_GRAPHIC = 1032, IDC_PREVIEW = 1070, IDC_TYPE = 1033, IDC_STAGE_NAME = 1255, IDC_STAGE_FILE = 1247,
        IDC_STAGE_BROWSE = 1248, IDC_VARIATION = 1038, IDC_VARIATION_VAR = 1568, IDC_VARIATION_RENAME = 1257,
        IDC_VARIATION_VALUE = 1258, IDC_STAGE_NUMBER = 1245, IDC_PASSABLE = 1036, IDC_REPLAYABLE = 1037,
        IDC_GAME_CLEAR = 1244,
    };

    explicit DLG_WORLDEVENT_SET(cWorldEvent& event);
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

    // Answers the stage file question (the file dialog unless replaced).
    FileChooser chooseFile;
    // Asks for a common variable's new name (the text input unless replaced).
    std::function<bool(std::string& name)> askName;

    int PageIndex() const { return m_nPage; }
    const std::vector<cWorldEventPage>& Pages() const { return m_Pages; }

private:
    void ShowPage(int index);
    void FillPageList();
    void FillVariableCombos();
    void UpdateEnabling();
    void UpdatePreview();
    void Rename(int comboId);

    cWorldEvent& m_Target;
    cWorldEvent m_Event;
    std::vector<cWorldEventPage> m_Pages;
    cWorldEventPage m_Page;
    int m_nPage = 0;
};

// Runs the world event editor on an event; true for OK. Tests may replace it.
bool RunWorldEventEditor(WND_CLASS* owner, cWorldEvent& event);
void SetWorldEventEditorForTests(std::function<bool(cWorldEvent& event)> editor);

// The world event palette: the three switches and the list of template world
// events (1 to 99), whose selection the world map places.
class DLG_WORLDEVENT : public DLG_CLASS {
public:
    enum {
        IDC_EDIT_IF_PLACED = 1037, IDC_EDIT_BEFORE = 1035, IDC_AUTO_NUMBER = 1036, IDC_LIST = 1241,
        IDC_INSERT = 1066, IDC_EDIT = 1226, IDC_DELETE = 1067, IDC_COUNT = 11071,
    };
    DLG_WORLDEVENT();
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;
    void OnClose() override;
    void RefreshLists() override;
    // Called after every change of the palette list.
    std::function<void()> onChanged;

private:
    void Changed();
    int Selected() const;
    void Fill();
    cWorldEvent m_Current;
};

// The world map's settings, modal; OK applies them to the map.
class DLG_WORLDMAP_SET : public DLG_CLASS {
public:
    enum {
        IDC_WIDTH = 1210, IDC_WIDTH_SPIN = 1212, IDC_HEIGHT = 1211, IDC_HEIGHT_SPIN = 1166, IDC_START_X = 1213,
        IDC_START_X_SPIN = 1214, IDC_START_Y = 1215, IDC_START_Y_SPIN = 1216, IDC_BACK = 1594, IDC_USE_BACK = 1035,
        IDC_BACK_IMAGE = 1255, IDC_BROWSE = 1256,
    };
    explicit DLG_WORLDMAP_SET(WorldMapSettings& settings);
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;
    FileChooser chooseFile;

private:
    WorldMapSettings& m_Target;
    WorldMapSettings m_Settings;
};
