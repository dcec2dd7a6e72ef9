// The map chip palette "マップチップパレット": every chip of the project,
// eight to a row; a click makes a chip the whole brush of the map. Its toolbar
// chooses the pen tool.
#pragma once

#include <QWidget>

#include "ui/wnd.h"

class QAction;
class QScrollBar;
class QStatusBar;
class QToolBar;
class DLG_CHIP;

// The picture area; its input and painting go to the palette.
class ChipPaletteView : public QWidget {
public:
    ChipPaletteView(DLG_CHIP* owner, QWidget* parent);
    DLG_CHIP* owner;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
};

class DLG_CHIP : public DLG_CLASS {
public:
    enum { IDD = 143, IDC_TOOLBAR = 137 };

    DLG_CHIP();
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;
    // After the chip list changed: size, place and scroll range anew.
    void RefreshLists() override;
    // The close box hides the palette; it closes with the main window.
    void OnClose() override
    {
        if (m_pWnd)
            m_pWnd->hide();
    }

    void PaintChips(QPainter& painter);
    void ClickAt(const QPoint& pos);
    void HoverAt(const QPoint& pos);
    void Wheel(int delta);
    void LayoutScroll();

    int FirstRow() const;
    QWidget* View() const { return m_pView; }
    QToolBar* ToolBar() const { return m_pToolBar; }
    QAction* PenButton(int command) const;
    QString StatusText() const;

private:
    void Resize();
    void SyncPenButtons();
    void UpdateStatus();

    ChipPaletteView* m_pView = nullptr;
    QScrollBar* m_pBar = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QStatusBar* m_pStatus = nullptr;
    QAction* m_pPens[4] = {nullptr, nullptr, nullptr, nullptr};
};
