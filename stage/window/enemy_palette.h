// The enemy palette "敵パレット": the stage's enemy placements as a list; the
// selected line is the brush that places that enemy on the map.
#pragma once

#include <string>
#include <vector>

#include "app/enemy_palette.h"
#include "ui/controls.h"
#include "ui/wnd.h"

class DLG_ENEMY : public DLG_CLASS {
public:
    enum { IDD = 141, IDC_LIST = 1201, IDC_INSERT = 1066, IDC_EDIT = 1226, IDC_DELETE = 1067, IDC_COUNT = 11071 };

    DLG_ENEMY();
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;
    // After undo, redo, clear all and stage changes: the list again, and the
    // brush from its selection.
    void RefreshLists() override;
    // The close box hides the palette; it closes with the main window.
    void OnClose() override
    {
        if (m_pWnd)
            m_pWnd->hide();
    }

    // After a stamp or pick-up on the map: the list again, the brush as it is.
    void Reload();
    // Selects a placement's line from code (-1 clears the selection); the
    // brush is left alone.
    void SelectPlacement(int index);
    int Selection();
    CTRL_LIST_CLASS<cPutEnemy>* List() const { return m_pList; }
    // Opens the placement dialog; tests may replace it.
    PlacementEditor editPlacement;

private:
    void Run(EnemyPaletteOp op);
    void AfterEdit();
    void ShowLines();
    void FollowSelection();

    CTRL_LIST_CLASS<cPutEnemy>* m_pList = nullptr;
    std::vector<std::string> m_Shown;
};
