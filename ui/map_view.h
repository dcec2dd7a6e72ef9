// The map view of the editor windows: a grid of 32 x 32 cells drawn into an
// off-screen surface and shown scrolled by a horizontal and a vertical scroll
// bar over cells. The mouse, the wheel, the arrow keys and the scroll ranges
// act the same in every window that shows a map; what a window draws and does
// with the mouse arrives through the callbacks.
#pragma once

#include <QPoint>
#include <QSize>
#include <QWidget>
#include <functional>

#include "media/surface.h"
#include "records/serial.h"

class QGridLayout;
class QScrollBar;
class QStatusBar;
class DLG_CLASS;

class MapViewWidget : public QWidget {
public:
    // The view and its two scroll bars, children of parent; name prefixes the
    // bars' object names ("<name>ScrollH", "<name>ScrollV").
    MapViewWidget(QWidget* parent, const QString& name);

    // The map's size in cells (0 x 0 when there is none).
    std::function<QSize()> mapCells;
    // Draws the map scrolled to (scrollX, scrollY) cells into the canvas,
    // which has the view's size.
    std::function<void(Surface& canvas, int scrollX, int scrollY)> render;
    // A press, move, release or double click over the view with the cell
    // under the pointer (a pointer outside the view is pulled in, and the cell
    // into the map); onMap is false, and cell meaningless, where a pixel
    // inside the view lies beyond the map.
    std::function<void(QMouseEvent* e, CellPos cell, bool onMap)> mouse;
    // The cell the status line names (the owner's cursor).
    std::function<CellPos()> cursor;
    // After a scroll position or the view's size changed (the view has
    // already refreshed itself).
    std::function<void()> scrolled;

    // The status line that names the cursor's cell, "座標 (%d,%d)".
    void SetStatusBar(QStatusBar* bar) { m_pStatus = bar; }
    QString StatusText() const;
    // Names the cursor's cell in the status line and redraws.
    void Refresh();

    // The view at the top left of a grid with the vertical bar beside it and
    // the horizontal one below.
    QGridLayout* Layout();
    QScrollBar* ScrollBar(bool vertical) const { return vertical ? m_pVBar : m_pHBar; }
    int ScrollX() const;
    int ScrollY() const;
    // Columns and rows wholly in view (at least 1).
    int ColumnsInView() const;
    int RowsInView() const;
    // Scroll ranges from the map's size and the view's size: positions 0 to
    // cells - page, so the last position shows the map's last page; positions
    // are kept (clamped) and no change is signalled. Then refreshes.
    void LayoutScrollBars();
    // Scrolls so that the cell is in view, centring it when it was not.
    void ShowCell(CellPos cell);
    // The arrow keys scroll by one cell; false for any other key.
    bool ScrollKey(int key);
    // The last image drawn.
    const Surface& Canvas() const { return m_Canvas; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void Mouse(QMouseEvent* e);
    QSize Cells() const;

    QScrollBar* m_pHBar = nullptr;
    QScrollBar* m_pVBar = nullptr;
    QStatusBar* m_pStatus = nullptr;
    Surface m_Canvas;
};

// Passes every key that reaches the dialog to onKey (the map windows take
// Space and the arrows wherever the focus is).
void RelayKeys(DLG_CLASS* dialog, std::function<void(int key)> onKey);

// The popup of an event cell (menu menuId): edit, cut, copy and delete need
// an event on the cell, paste a filled clipboard; insertion belongs to the
// palette's list and is hidden. Returns the chosen command, 0 for none (an
// item triggered while the menu is up counts as chosen).
int EventCellPopup(QWidget* parent, int menuId, bool onEvent, bool canPaste, const QPoint& globalPos,
                   const QString& objectName = QString());
