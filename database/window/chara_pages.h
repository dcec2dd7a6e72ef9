// The character pages of the database window: allies ("味方キャラ") and
// enemies ("敵キャラ"). Both show the members every character has (name, random
// name, class, level, growth timing, the nine stats with their "ゲーム値" and
// "参考値" beside them, the random flags, "習得スキル"); each side adds its own.
//
// "ゲーム値" and "参考値" are worked out from the record's values and the
// class table (CharaValues), never written into the record, and follow every
// change of class, level, timing or a stat.
#pragma once

#include <QLabel>
#include <array>

#include "database/chara.h"
#include "database/game_values.h"
#include "database/window/db_page.h"

template <class T>
class DB_CHARA_PAGE : public DB_LIST_PAGE<T> {
public:
    // Numeric edits take two ids: the edit and its arrows (id + 1).
    enum {
        IDC_NAME = 1100, IDC_RANDOM_NAME, IDC_NAME_FILE, IDC_CLASS, IDC_RANDOM_GROWTH, IDC_RANDOM_SENSE, IDC_RANDOM_SKILL,
        IDC_LEARN,
        IDC_LEVEL = 1120, IDC_TIMING = 1122,
        IDC_INITIAL = 1200,  // nine, two ids each
        IDC_FINAL = 1220,    // nine, two ids each
    };
    DB_CHARA_PAGE(int resourceId, const QString& title) : DB_LIST_PAGE<T>(resourceId, title, {1, 999, 0}) {}

    // What the two read-only columns show for stat i.
    QString GameText(int stat) const { return m_Game[static_cast<std::size_t>(stat)]->text(); }
    QString ReferenceText(int stat) const { return m_Reference[static_cast<std::size_t>(stat)]->text(); }

protected:
    std::vector<T>& Records() override;
    std::string RecordName(int, const T& r) const override { return r.m_Name; }
    void DefineFields(FieldForm& f) override;
    void RefreshChoices() override;
    void AfterShow() override;
    void AfterFieldChange(int id) override;
    void OnPageCommand(int id, Notify code) override;

    // What one side adds: its inputs (a second column), combos over other
    // tables, enabling, and its buttons (true when handled).
    virtual void DefineSideFields(FieldForm& f) = 0;
    virtual void RefreshSideChoices() {}
    virtual void ShowSide() {}
    virtual bool SideCommand(int /*id*/, Notify /*code*/) { return false; }

    // A numeric edit with its arrows in a row of the form. A value outside the
    // range is kept until the user types over it.
    template <class V>
    void Number(FieldForm& f, int id, const QString& label, V* value, V minimum, V maximum, QWidget* before = nullptr);

private:
    void ShowValues();
    std::array<QLabel*, kStatCount> m_Game{};
    std::array<QLabel*, kStatCount> m_Reference{};
};

// Page 2: allied characters.
class DLG_DBFRIEND : public DB_CHARA_PAGE<cFriend> {
public:
    enum { IDC_SHOP = 1140, IDC_HIRE_AGAIN, IDC_NO_DISMISS, IDC_REGENERATE };
    DLG_DBFRIEND();

protected:
    void DefineSideFields(FieldForm& f) override;
};

// Page 3: enemy characters.
class DLG_DBENEMY : public DB_CHARA_PAGE<cEnemy> {
public:
    enum {
        IDC_DESCRIPTION = 1140, IDC_FIXED_EXP, IDC_REWARD_VALUE, IDC_TRAINING, IDC_BATTLE_AI,
        IDC_EXP = 1150, IDC_REWARD = 1152,
    };
    DLG_DBENEMY();

protected:
    void DefineSideFields(FieldForm& f) override;
    void RefreshSideChoices() override;
    void ShowSide() override;
    bool SideCommand(int id, Notify code) override;
};
