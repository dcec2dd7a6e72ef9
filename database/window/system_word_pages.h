// The system pages "システム5" to "システム10" of the database window: the game's
// menus, one text box per menu entry, and its fixed words spread over
// システム5 to システム9 in their stored order; on システム5 also the
// effect-prediction window and the parameter names, on システム6 three
// values without labels of their own, and on システム10 the run-setting keys.
//
// Every box is bound to one entry of a list in the shared system record and
// finds that entry again whenever it is shown, so a list that a loaded file
// holds shorter than a new project's is shown as far as it goes (the rest of
// the boxes disabled) and is never grown or changed by being shown.
#pragma once

#include <vector>

#include "database/system.h"
#include "database/window/db_common.h"
#include "database/window/db_page.h"

// The words and menus one page shows.
struct SystemWordPageLayout {
    int firstWord;           // first game word (index into the word list)
    int endWord;             // one past the last; -1: to the end of the list
    std::vector<int> menus;  // positions in SystemMenus()
    bool menusBesideWords = false;  // in the second column, under the words
};

class DLG_DBSYSTEM_WORDS : public DB_RECORD_PAGE<cSystem> {
public:
    // Ids of the boxes every word page makes.
    static int WordId(int word) { return 3000 + word; }
    static int MenuEntryId(int menu, int entry) { return 3200 + menu * 40 + entry; }

    DLG_DBSYSTEM_WORDS(int resourceId, const QString& title, SystemWordPageLayout layout);

protected:
    cSystem& Record() override;
    void DefineFields(FieldForm& form) override;
    // The page's own inputs before the menus and words (first column).
    virtual void DefineOwnFields(FieldForm& /*form*/) {}

private:
    void DefineMenus(FieldForm& form);
    SystemWordPageLayout m_Layout;
};

// Page 20 "システム5".
class DLG_DBSYSTEM_5 : public DLG_DBSYSTEM_WORDS {
public:
    enum {
        IDC_SHOW_PREDICTION = 4300, IDC_TWO_SKILL_LISTS, IDC_GAMEMODE_IMAGE,
        IDC_PREDICTION = 4310,  // four items
        IDC_PARAM = 4400,       // per parameter: name, derived digits, limit (+0, +1, +2)
    };
    static int ParamNameId(int i) { return IDC_PARAM + i * 4; }
    static int ParamDigitsId(int i) { return IDC_PARAM + i * 4 + 1; }
    static int ParamLimitId(int i) { return IDC_PARAM + i * 4 + 2; }
    DLG_DBSYSTEM_5();

protected:
    void DefineOwnFields(FieldForm& form) override;
    void AfterShow() override;
    void AfterFieldChange(int id) override;

private:
    void ShowDigits();
    int m_nParamRows = 0;
};

// Page 21 "システム6".
class DLG_DBSYSTEM_6 : public DLG_DBSYSTEM_WORDS {
public:
    enum { IDC_VALUE1 = 4300, IDC_VALUE2, IDC_VALUE3 };
    DLG_DBSYSTEM_6();

protected:
    void DefineOwnFields(FieldForm& form) override;
};

// Page 22 "システム7".
class DLG_DBSYSTEM_7 : public DLG_DBSYSTEM_WORDS {
public:
    DLG_DBSYSTEM_7();
};

// Page 23 "システム8".
class DLG_DBSYSTEM_8 : public DLG_DBSYSTEM_WORDS {
public:
    DLG_DBSYSTEM_8();
};

// Page 24 "システム9".
class DLG_DBSYSTEM_9 : public DLG_DBSYSTEM_WORDS {
public:
    DLG_DBSYSTEM_9();
};

// Page 25 "システム10": the keys the game reads from "System.ini", with the
// value it assumes for each (at least one key).
class DLG_DBSYSTEM_10 : public DB_RECORD_PAGE<cSystem> {
public:
    // A numeric edit's arrows take the id after its own.
    enum { IDC_LIST = 4500, IDC_INSERT = 4501, IDC_DELETE = 4502, IDC_KIND = 4510, IDC_KEY = 4512, IDC_DEFAULT = 4514,
           IDC_TEXT = 4516 };
    DLG_DBSYSTEM_10();
    ListPane<cIni>& Pane() { return m_Pane; }

protected:
    cSystem& Record() override;
    void DefineFields(FieldForm& form) override;
    void AfterShow() override;
    void OnPageCommand(int id, Notify code) override;

private:
    ListPane<cIni> m_Pane;
};
