#include "ui/map_view.h"

#include <QGridLayout>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QWheelEvent>
#include <algorithm>

#include "app/editor_state.h"
#include "base/log.h"
#include "base/text.h"
#include "resources/menus.h"
#include "stage/map_edit.h"
#include "ui/resources_qt.h"
#include "ui/controls.h"
#include "ui/qt_text.h"

namespace {

void SetRange(QScrollBar* bar, int cells, int page)
{
    page = std::max(page, 1);
    const int pos = bar->value();
    QSignalBlocker block(bar);
    bar->setRange(0, std::max(cells - page, 0));
    bar->setPageStep(page);
    bar->setValue(pos);
}

// Hands the keys of a dialog to a function.
class KeyRelay : public CTRL_CLASS {
public:
    KeyRelay(DLG_CLASS* dialog, std::function<void(int)> onKey) : onKey_(std::move(onKey))
    {
        m_pDlg = dialog;
        m_nId = 0;
        m_nKind = CK_NONE;
    }
    void OnKeyDown(int key, bool /*ctrlDown*/) override
    {
        if (onKey_)
            onKey_(key);
    }

private:
    std::function<void(int)> onKey_;
};

}  // namespace

MapViewWidget::MapViewWidget(QWidget* parent, const QString& name) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(kChipSize, kChipSize);
    setObjectName(name + QStringLiteral("View"));
    m_pHBar = new QScrollBar(Qt::Horizontal, parent);
    m_pVBar = new QScrollBar(Qt::Vertical, parent);
    m_pHBar->setObjectName(name + QStringLiteral("ScrollH"));
    m_pVBar->setObjectName(name + QStringLiteral("ScrollV"));
    for (QScrollBar* bar : {m_pHBar, m_pVBar}) {
        // The keyboard stays with the map.
        bar->setFocusPolicy(Qt::NoFocus);
        QObject::connect(bar, &QScrollBar::valueChanged, this, [this](int) {
            Refresh();
            if (scrolled)
                scrolled();
        });
    }
}

QGridLayout* MapViewWidget::Layout()
{
    auto* grid = new QGridLayout;
    grid->setSpacing(0);
    grid->addWidget(this, 0, 0);
    grid->addWidget(m_pVBar, 0, 1);
    grid->addWidget(m_pHBar, 1, 0);
    grid->setRowStretch(0, 1);
    grid->setColumnStretch(0, 1);
    return grid;
}

int MapViewWidget::ScrollX() const { return m_pHBar->value(); }
int MapViewWidget::ScrollY() const { return m_pVBar->value(); }
int MapViewWidget::ColumnsInView() const { return std::max(width() / kChipSize, 1); }
int MapViewWidget::RowsInView() const { return std::max(height() / kChipSize, 1); }

QSize MapViewWidget::Cells() const { return mapCells ? mapCells() : QSize(0, 0); }

void MapViewWidget::LayoutScrollBars()
{
    const QSize cells = Cells();
    SetRange(m_pHBar, cells.width(), width() / kChipSize);
    SetRange(m_pVBar, cells.height(), height() / kChipSize);
    Refresh();
}

QString MapViewWidget::StatusText() const
{
    const CellPos c = cursor ? cursor() : CellPos{0, 0};
    return ToQt(StrPrintf(SJ("座標 (%d,%d)").c_str(), c.x, c.y));
}

void MapViewWidget::Refresh()
{
    if (m_pStatus)
        m_pStatus->showMessage(StatusText());
    update();
}

void MapViewWidget::ShowCell(CellPos cell)
{
    const int cols = ColumnsInView(), rows = RowsInView();
    if (cell.x < ScrollX() || cell.x >= ScrollX() + cols)
        m_pHBar->setValue(cell.x - cols / 2);
    if (cell.y < ScrollY() || cell.y >= ScrollY() + rows)
        m_pVBar->setValue(cell.y - rows / 2);
    Refresh();
}

bool MapViewWidget::ScrollKey(int key)
{
    switch (key) {
    case Qt::Key_Left: m_pHBar->setValue(m_pHBar->value() - 1); return true;
    case Qt::Key_Right: m_pHBar->setValue(m_pHBar->value() + 1); return true;
    case Qt::Key_Up: m_pVBar->setValue(m_pVBar->value() - 1); return true;
    case Qt::Key_Down: m_pVBar->setValue(m_pVBar->value() + 1); return true;
    default: return false;
    }
}

void MapViewWidget::paintEvent(QPaintEvent*)
{
    const int w = width(), h = height();
    if (w <= 0 || h <= 0 || !render)
        return;
    if (m_Canvas.Width() != w || m_Canvas.Height() != h)
        if (!CreateSurface(m_Canvas, w, h, 24, 0))
            return;
    render(m_Canvas, ScrollX(), ScrollY());
    QPainter painter(this);
    painter.drawImage(0, 0, QImage(m_Canvas.Bits(), w, h, m_Canvas.Stride(), QImage::Format_RGB32));
}

void MapViewWidget::Mouse(QMouseEvent* e)
{
    if (!mouse)
        return;
    const QPoint pos = e->position().toPoint();
    const QSize cells = Cells();
    CellPos cell{0, 0};
    const bool onMap = CellAt(pos.x(), pos.y(), ScrollX(), ScrollY(), width(), height(), cells.width(), cells.height(), cell);
    mouse(e, cell, onMap);
}

void MapViewWidget::mousePressEvent(QMouseEvent* e) { Mouse(e); }
void MapViewWidget::mouseMoveEvent(QMouseEvent* e) { Mouse(e); }
void MapViewWidget::mouseReleaseEvent(QMouseEvent* e) { Mouse(e); }
void MapViewWidget::mouseDoubleClickEvent(QMouseEvent* e) { Mouse(e); }

// The wheel scrolls across, with Ctrl down and up.
void MapViewWidget::wheelEvent(QWheelEvent* e)
{
    QScrollBar* bar = (e->modifiers() & Qt::ControlModifier) ? m_pVBar : m_pHBar;
    bar->setValue(bar->value() + WheelNotches(e->angleDelta().y()));
    e->accept();
}

void MapViewWidget::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    LayoutScrollBars();
    if (scrolled)
        scrolled();
}

void RelayKeys(DLG_CLASS* dialog, std::function<void(int key)> onKey)
{
    dialog->RegisterControl(new KeyRelay(dialog, std::move(onKey)));
}

int EventCellPopup(QWidget* parent, int menuId, bool onEvent, bool canPaste, const QPoint& globalPos,
                   const QString& objectName)
{
    QMenu menu(parent);
    if (!objectName.isEmpty())
        menu.setObjectName(objectName);
    BuildMenu(menu, menuId);
    for (QAction* a : menu.actions()) {
        const int command = a->data().toInt();
        if (command == cmd::kMenuInsert1)
            a->setVisible(false);
        else if (command == cmd::kMenuEdit || command == cmd::kMenuCut1 || command == cmd::kMenuCopy1 ||
                 command == cmd::kMenuDelete1)
            a->setEnabled(onEvent);
        else if (command == cmd::kMenuPaste1)
            a->setEnabled(canPaste);
    }
    QAction* triggered = nullptr;
    QObject::connect(&menu, &QMenu::triggered, [&triggered](QAction* a) { triggered = a; });
    QAction* chosen = menu.exec(globalPos);
    if (!chosen)
        chosen = triggered;
    return chosen ? chosen->data().toInt() : 0;
}
