// Pieces of the pages whose records hold one value per element (the class's
// resistances, the land's modifiers). The element list can change while the
// database window is open (page "システム4"), so such a page fits its record
// to the tables before showing it and rebuilds its rows when it is entered.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <functional>
#include <vector>

#include "database/window/db_page.h"

// One numeric row per element of the system record, labelled with the
// element's name and bound to that element's entry of an integer vector of
// the page's current record. Rows are made as the element list grows, hidden
// beyond its end and renamed by Sync.
class ElementRows {
public:
    static constexpr int kMaxRows = 99;  // the element list holds 1 to 99

    // Puts the heading and the box of rows into the form. Row i's edit has the
    // id firstId + i (its arrows that + FieldForm::kSpinOffset).
    void Build(FieldForm& f, DLG_CLASS* dlg, const QString& heading, int firstId, std::vector<int32_t>* values,
               int32_t minimum, int32_t maximum);
    // One shown row per element, named as the element: on entering the page,
    // once its controls exist and before they are shown.
    void Sync();

    int Count() const { return m_nShown; }
    QLabel* Label(int i) const { return m_Rows[static_cast<std::size_t>(i)].label; }
    QLineEdit* Edit(int i) const { return m_Rows[static_cast<std::size_t>(i)].edit; }

private:
    struct Row {
        QLabel* label;
        QLineEdit* edit;
        QWidget* spin;
    };
    DLG_CLASS* m_pDlg = nullptr;
    QWidget* m_pBox = nullptr;
    int m_nFirstId = 0;
    std::vector<int32_t>* m_pValues = nullptr;
    int32_t m_nMin = 0, m_nMax = 0;
    std::vector<Row> m_Rows;
    int m_nShown = 0;
};

// Runs fit each time the dialog shows its controls, before the controls
// attached after this call: a page fits its current record to the tables
// there, so that its inputs show what a save would write. Call it first in
// DefineFields.
void FitBeforeShow(FieldForm& f, DLG_CLASS* dlg, std::function<void()> fit);
