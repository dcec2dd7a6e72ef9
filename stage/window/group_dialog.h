// "位置グループの設定": the stage's list of position groups, and
// "位置グループの編集": one group on a picture of the map, where a click adds
// or removes a cell. Both work on copies: Cancel changes nothing.
#pragma once

#include <QString>
#include <QWidget>

#include "media/surface.h"
#include "stage/stage.h"
#include "ui/map_view.h"
#include "ui/wnd.h"

class QStatusBar;

class DLG_GROUPPOS_SET : public DLG_CLASS {
public:
    enum {
        IDD = 147,
        IDC_NAME = 1044,
        IDC_X = 1227,
        IDC_X_SPIN = 1228,
        IDC_Y = 1229,
        IDC_Y_SPIN = 1230,
        IDC_SCROLL_H = 1196,
        IDC_SCROLL_V = 1197,
    };
    // Height of the strip of controls below the map.
    static constexpr int kStripHeight = 30;

    // Edits group, a group of the project's stage (whose map is shown).
    explicit DLG_GROUPPOS_SET(cGroupPos* group);
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

    const cGroupPos& Work() const { return m_Work; }
    MapViewWidget* MapView() const { return m_pMap; }
    QString StatusText() const { return m_pMap->StatusText(); }
    const Surface& Canvas() const { return m_pMap->Canvas(); }

private:
    void RenderView(Surface& canvas, int scrollX, int scrollY);

    cGroupPos* m_pGroup;
    cGroupPos m_Work;
    MapViewWidget* m_pMap = nullptr;
    QStatusBar* m_pStatus = nullptr;
    CellPos m_Mouse{0, 0};
};

class DLG_GROUPPOS : public DLG_CLASS {
public:
    enum {
        IDD = 146,
        IDC_LIST = 1233,
        IDC_NEW = 1066,
        IDC_EDIT = 1226,
        IDC_CLEAR = 1067,
        IDC_COUNT = 11071,
    };

    // Edits the project's stage's position groups.
    DLG_GROUPPOS();
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

    const RecordList<cGroupPos>& Work() const { return m_Work; }

private:
    void EditSelected();
    // Shows the working copy again after a change made to it directly.
    void Refill();
    RecordList<cGroupPos> m_Work;
};
