#include "stage/window/chip_palette.h"

#include <QAction>
#include <QActionGroup>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/editor_state.h"
#include "base/paths.h"
#include "media/image_table.h"
#include "project/project.h"
#include "resources/ids.h"
#include "stage/chip_palette.h"
#include "stage/window/main_window.h"
#include "stage/window/palette_window.h"
#include "ui/qt_text.h"

namespace {

struct PenButton { int command; const char* tip; PenTool pen; };
constexpr PenButton kPenButtons[4] = {{cmd::kPenNormal, "普通", PenTool::Normal},
                                      {cmd::kPenLine, "直線", PenTool::Line},
                                      {cmd::kPenRect, "矩形", PenTool::Rectangle},
                                      {cmd::kPenFill, "塗り潰し", PenTool::Fill}};

constexpr QColor kSelectionFrame(127, 0, 255);

Brush& ChipBrush() { return Editor().tools[static_cast<int>(PaletteMode::Chips)].brush; }

int ChipCountOf(const Project& p) { return p.m_Lands.size(); }

}  // namespace

ChipPaletteView::ChipPaletteView(DLG_CHIP* owner, QWidget* parent) : QWidget(parent), owner(owner)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedWidth(kPaletteColumns * kPaletteCell);
    setMinimumHeight(kPaletteCell);
}

void ChipPaletteView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (owner)
        owner->PaintChips(painter);
}

void ChipPaletteView::mousePressEvent(QMouseEvent* e)
{
    if (owner && e->button() == Qt::LeftButton)
        owner->ClickAt(e->position().toPoint());
}

void ChipPaletteView::mouseMoveEvent(QMouseEvent* e)
{
    if (owner)
        owner->HoverAt(e->position().toPoint());
}

void ChipPaletteView::wheelEvent(QWheelEvent* e)
{
    if (owner)
        owner->Wheel(e->angleDelta().y());
    e->accept();
}

void ChipPaletteView::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (owner)
        owner->LayoutScroll();
}

DLG_CHIP::DLG_CHIP() { SetTitle(QStringLiteral("マップチップパレット")); }

void DLG_CHIP::Build(QDialog* dialog)
{
    MakePaletteWindow(dialog);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_pToolBar = new QToolBar(dialog);
    m_pToolBar->setObjectName(QStringLiteral("toolbar%1").arg(IDC_TOOLBAR));
    m_pToolBar->setIconSize(QSize(16, 15));
    QImage strip(QString::fromStdString(HostPath("e_image\\ToolBar_Pen.bmp")));
    auto* group = new QActionGroup(m_pToolBar);
    for (int i = 0; i < 4; ++i) {
        QIcon icon;
        if (!strip.isNull() && strip.width() >= (i + 1) * 16)
            icon = QIcon(QPixmap::fromImage(strip.copy(i * 16, 0, 16, 15)));
        QAction* a = m_pToolBar->addAction(icon, QString::fromUtf8(kPenButtons[i].tip));
        a->setToolTip(QString::fromUtf8(kPenButtons[i].tip));
        a->setCheckable(true);
        group->addAction(a);
        int command = kPenButtons[i].command;
        QObject::connect(a, &QAction::triggered, [this, command] { SendCommand(command, Notify::Menu); });
        m_pPens[i] = a;
    }
    for (QWidget* w : m_pToolBar->findChildren<QWidget*>())
        w->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_pToolBar);

    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    m_pView = new ChipPaletteView(this, dialog);
    m_pBar = new QScrollBar(Qt::Vertical, dialog);
    m_pBar->setObjectName(QStringLiteral("chipScroll"));
    m_pBar->setFocusPolicy(Qt::NoFocus);
    QObject::connect(m_pBar, &QScrollBar::valueChanged, [this](int) {
        if (m_pView)
            m_pView->update();
    });
    row->addWidget(m_pView);
    row->addWidget(m_pBar);
    layout->addLayout(row, 1);

    m_pStatus = new QStatusBar(dialog);
    m_pStatus->setSizeGripEnabled(false);
    m_pStatus->showMessage(QStringLiteral("DLG_CHIP"));
    layout->addWidget(m_pStatus);
}

void DLG_CHIP::OnInitDialog()
{
    PlacePalette(*this, TheProject().m_EditConfig.WndPos(ToolWindow::ChipPalette));
    DLG_CLASS::OnInitDialog();
    AttachPaletteKeys(this);
    AddAccelerator(nullptr, DLG_MAIN::IDA_MAIN);
    Resize();
    SyncPenButtons();
    UpdateStatus();
}

QAction* DLG_CHIP::PenButton(int command) const
{
    for (int i = 0; i < 4; ++i)
        if (kPenButtons[i].command == command)
            return m_pPens[i];
    return nullptr;
}

void DLG_CHIP::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    ForwardToMain(id);
    SyncPenButtons();
    UpdateStatus();
    if (m_pView)
        m_pView->update();
}

void DLG_CHIP::SyncPenButtons()
{
    // The pressed button is the chip mode's pen, whichever mode is current.
    PenTool pen = Editor().tools[static_cast<int>(PaletteMode::Chips)].pen;
    for (int i = 0; i < 4; ++i)
        if (m_pPens[i])
            m_pPens[i]->setChecked(kPenButtons[i].pen == pen);
}

void DLG_CHIP::Resize()
{
    if (!m_pWnd || !m_pView)
        return;
    // Width of eight chips; the height of every row, cut at the work area.
    int count = ChipCountOf(TheProject());
    int chrome = m_pWnd->height() - m_pView->height();
    int frameTop = m_pWnd->geometry().top() - m_pWnd->frameGeometry().top();
    int frameBottom = m_pWnd->frameGeometry().bottom() - m_pWnd->geometry().bottom();
    QScreen* screen = m_pWnd->screen() ? m_pWnd->screen() : QGuiApplication::primaryScreen();
    QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    QPoint at = m_pWnd->pos();
    if (at.y() < work.top())
        at.setY(8);
    int clientTop = at.y() + frameTop + chrome;
    int height = PaletteClientHeight(count, clientTop, frameBottom, work.bottom() + 1);
    m_pView->setFixedHeight(height);
    m_pWnd->adjustSize();
    m_pWnd->setFixedSize(m_pWnd->sizeHint());
    m_pWnd->move(at);
    LayoutScroll();
}

void DLG_CHIP::RefreshLists()
{
    DLG_CLASS::RefreshLists();
    Resize();
    SyncPenButtons();
    UpdateStatus();
    if (m_pView)
        m_pView->update();
}

void DLG_CHIP::LayoutScroll()
{
    if (!m_pBar || !m_pView)
        return;
    PaletteScroll s = PaletteScrollRange(ChipCountOf(TheProject()), m_pView->height());
    QSignalBlocker block(m_pBar);
    int pos = m_pBar->value();
    m_pBar->setRange(0, s.maximum);
    m_pBar->setPageStep(s.page);
    m_pBar->setValue(pos);
}

int DLG_CHIP::FirstRow() const { return m_pBar ? m_pBar->value() : 0; }

void DLG_CHIP::PaintChips(QPainter& painter)
{
    painter.fillRect(m_pView->rect(), Qt::black);
    const Project& p = TheProject();
    const Surface& sheet = ImageSurface(IMG_MAPCHIP);
    const int count = ChipCountOf(p), first = FirstRow();
    QImage image;
    if (!sheet.Empty())
        image = QImage(sheet.Bits(), sheet.Width(), sheet.Height(), sheet.Stride(), QImage::Format_RGB32);
    for (int row = 0; row < kPaletteDrawRows; ++row)
        for (int col = 0; col < kPaletteColumns; ++col) {
            int chip = col + (first + row) * kPaletteColumns;
            if (chip >= count)
                break;
            int sx, sy;
            ChipSheetPos(p.m_Lands[chip].m_nGraphic, sx, sy);
            if (!image.isNull())
                painter.drawImage(QPoint(col * kPaletteCell, row * kPaletteCell), image,
                                  QRect(sx, sy, kPaletteCell, kPaletteCell));
        }
    // The selection may have changed elsewhere (a pick-up on the map).
    if (m_pStatus && m_pStatus->currentMessage() != StatusText())
        m_pStatus->showMessage(StatusText());
    int selected = ChipBrush().chip[0][0];
    if (selected >= 0 && selected < count) {
        int x, y;
        PaletteChipPos(selected, first, x, y);
        painter.fillRect(x, y, kPaletteCell, 2, kSelectionFrame);
        painter.fillRect(x, y + kPaletteCell - 2, kPaletteCell, 2, kSelectionFrame);
        painter.fillRect(x, y, 2, kPaletteCell, kSelectionFrame);
        painter.fillRect(x + kPaletteCell - 2, y, 2, kPaletteCell, kSelectionFrame);
    }
}

QString DLG_CHIP::StatusText() const
{
    const Project& p = TheProject();
    int chip = ChipBrush().chip[0][0];
    int count = ChipCountOf(p);
    return ToQt(ChipStatusText(chip, count, chip >= 0 && chip < count ? p.m_Lands[chip].m_Name : std::string()));
}

void DLG_CHIP::UpdateStatus()
{
    if (m_pStatus)
        m_pStatus->showMessage(StatusText());
}

void DLG_CHIP::ClickAt(const QPoint& pos)
{
    int chip = PaletteChipAt(pos.x(), pos.y(), FirstRow());
    if (chip < 0)
        return;
    Brush& b = ChipBrush();
    b.chip[0][0] = chip;
    b.width = b.height = 1;
    UpdateStatus();
    m_pView->update();
    if (MainWindow)
        MainWindow->Repaint();
}

void DLG_CHIP::HoverAt(const QPoint& pos)
{
    const Project& p = TheProject();
    int chip = PaletteChipAt(pos.x(), pos.y(), FirstRow());
    bool valid = chip >= 0 && chip < ChipCountOf(p);
    m_pView->setToolTip(valid ? ToQt(ChipHoverText(chip, ChipCountOf(p), &p.m_Lands[chip])) : QString());
}

void DLG_CHIP::Wheel(int delta)
{
    if (m_pBar)
        m_pBar->setValue(m_pBar->value() + WheelNotches(delta));
}
