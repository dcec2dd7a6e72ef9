// The first four pages of the system record: growth and scouting ("システム1"),
// experience and money ("システム2"), battle and difficulty ("システム3"), and
// the transparent colour, the system sounds, the elements and the categories
// ("システム4"). Each page edits the project's system record in place.
//
// The inputs read like the game's own sentences ("獲得EX = （ 10 ＋（敵のLV－
// 味方のLV）× 2.00 ）..."): each row is a line of texts and inputs. Every input
// leaves its member alone until the user changes what it showed, so a page
// shown and left changes nothing, whatever the file held.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <array>
#include <string>
#include <vector>

#include "database/system.h"
#include "database/window/db_page.h"

// Base of the system pages: the shared record, the row builder and the combos
// over the party values.
class DB_SYSTEM_PAGE : public DB_RECORD_PAGE<cSystem> {
public:
    using DB_RECORD_PAGE<cSystem>::DB_RECORD_PAGE;

protected:
    cSystem& Record() override;
    void RefreshChoices() override;

    // Builds one line of texts and inputs into the page's form; every input is
    // registered with the page and bound when the page is initialised.
    class Row {
    public:
        Row(DB_SYSTEM_PAGE* page, FieldForm& form);
        Row& Text(const QString& text);
        Row& Int(int id, int32_t* value);
        Row& Byte(int id, uint8_t* value);
        Row& Real(int id, double* value);
        Row& Check(int id, const QString& text, int32_t* value);
        // A combo over fixed labels (entry i = value i).
        Row& Combo(int id, int32_t* value, const std::vector<std::string>& items);
        // A combo over the party values, refilled on entering the page.
        Row& PartyValue(int id, int32_t* value);
        Row& Button(int id, const QString& text);
        Row& Add(QWidget* widget);
        QWidget* Widget() const { return m_pBox; }

    private:
        DB_SYSTEM_PAGE* m_pPage;
        FieldForm& m_Form;
        QWidget* m_pBox;
    };

    // Nine numbers labelled with the stat names, three to a line.
    template <class V>
    void StatTable(FieldForm& form, const QString& heading, int firstId, std::array<V, 9>* values);
    // An empty line between groups of rows.
    void Gap(FieldForm& form);
    // Two columns of rows, each as tall as its own rows: from BeginColumns the
    // rows go into the left one, from SecondColumn into the right one.
    void BeginColumns(FieldForm& form);
    void SecondColumn();
    void EndColumns();
    // A widget as the next row.
    void Place(FieldForm& form, QWidget* widget);

private:
    std::vector<int> m_PartyCombos;
    QVBoxLayout* m_pColumns[2] = {nullptr, nullptr};
    QVBoxLayout* m_pColumn = nullptr;
};

// "システム1": random growth, random sense increase, scouting, growth period,
// random stat change and the stat rates.
class DLG_DBSYSTEM : public DB_SYSTEM_PAGE {
public:
    enum {
        IDC_GAME_NAME = 1100, IDC_GROWTH_MIN, IDC_GROWTH_MAX, IDC_GROWTH_SCOUT, IDC_GROWTH_CAPPED, IDC_SENSE_MIN,
        IDC_SENSE_MAX, IDC_SENSE_SCOUT, IDC_SENSE_CAPPED, IDC_SCOUT_ENABLED, IDC_SCOUT_VARIABLE, IDC_PERIOD_MIN,
        IDC_PERIOD_MAX, IDC_GROWTH_UNIT, IDC_SENSE_UNIT, IDC_RANDOM_CHANGE, IDC_CHANGE_AMOUNT, IDC_CHANGE_COUNT,
        IDC_RATE = 1200,  // nine stat rates
    };
    DLG_DBSYSTEM();

protected:
    void DefineFields(FieldForm& f) override;
};

// "システム2": enemy stats by class, experience, turn rules and money.
class DLG_DBSYSTEM_2 : public DB_SYSTEM_PAGE {
public:
    enum {
        IDC_EXP_BASE = 1100, IDC_EXP_LEVEL, IDC_EXP_DIFFICULTY, IDC_EXP_FINISH, IDC_EXP_MIN, IDC_EXP_MAX,
        IDC_ACT_AGAIN, IDC_AUTO_TURN_END, IDC_LEADER, IDC_MONEY_VARIABLE, IDC_HIRE_VARIABLE, IDC_HIRE_COST,
        IDC_HIRE_PER_LEVEL, IDC_REVIVE, IDC_REVIVE_VARIABLE, IDC_REVIVE_COST, IDC_REVIVE_PER_LEVEL,
        IDC_RELEASE_VARIABLE, IDC_RELEASE_PRICE, IDC_RELEASE_PER_LEVEL, IDC_SKILL_SALE,
        IDC_ENEMY_MOD = 1200,  // nine stats
    };
    DLG_DBSYSTEM_2();

protected:
    void DefineFields(FieldForm& f) override;
};

// "システム3": the battle system, the formulas and the difficulty.
class DLG_DBSYSTEM_3 : public DB_SYSTEM_PAGE {
public:
    enum {
        IDC_BATTLE_MODE = 1100, IDC_BATTLE_TIME, IDC_DEFENDER_WAITS, IDC_AGILITY_BASE, IDC_TURN_SWITCH,
        IDC_SHOW_ORDER, IDC_HIT, IDC_CRITICAL, IDC_ATTACK, IDC_DEFENCE, IDC_DAMAGE_MIN, IDC_DAMAGE_MAX, IDC_HEAL,
        IDC_MISS_NO_COST, IDC_GUARD_NO_EVADE, IDC_NAME_TIME, IDC_NAME_UNTIL_END, IDC_DIFFICULTY_VARIABLE,
        IDC_DIFFICULTY_INIT, IDC_ENEMY_UP_PERCENT,
        // Pairs: attacker at the id, defender at the id + 1.
        IDC_INIT_ACTION = 1140, IDC_AGILITY_MOD = 1142, IDC_BASE_ACTIONS = 1144, IDC_AGILITY_PER_ACTION = 1146,
        IDC_ACTION_LIMIT = 1148, IDC_REF_ACTIONS = 1150,
        IDC_ENEMY_UP = 1200,  // nine stats
    };
    DLG_DBSYSTEM_3();

protected:
    void DefineFields(FieldForm& f) override;
    void AfterShow() override;
    void AfterFieldChange(int id) override;
};

// "システム4": the transparent colour, the system sounds with their values and
// switches, the elements ("属性の種類") and the system's categories.
class DLG_DBSYSTEM_4 : public DB_SYSTEM_PAGE {
public:
    enum {
        IDC_RED = 1100, IDC_GREEN, IDC_BLUE, IDC_ELEMS, IDC_CATEGS, IDC_ELEM_NAMES, IDC_CATEG_NAMES,
        IDC_EVEN_SPACING, IDC_CHOICE_1595 = 1595, IDC_CHOICE_1596 = 1596,
        // One row per system sound: path, "参照", "再生", value, switch.
        IDC_SOUND_PATH = 1200, IDC_SOUND_BROWSE = 1220, IDC_SOUND_PLAY = 1240, IDC_SOUND_VALUE = 1260,
        IDC_SOUND_SWITCH = 1280,
    };
    DLG_DBSYSTEM_4();

protected:
    void DefineFields(FieldForm& f) override;
    void AfterShow() override;
    void OnPageCommand(int id, Notify code) override;
    void StopPage() override;

private:
    void BrowseSound(int index);
    void PlaySound(int index);
};
