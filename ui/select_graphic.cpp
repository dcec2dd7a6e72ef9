#include "ui/select_graphic.h"

#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "media/graphic_cells.h"
#include "media/image_table.h"

namespace {

std::function<int(int, int&)>& TestChooser()
{
    static std::function<int(int, int&)> chooser;
    return chooser;
}

const Surface* SheetOf(int kind)
{
    int sheet = GraphicSheet(kind);
    return sheet < 0 ? nullptr : &ImageSurface(sheet);
}

// The sheet itself: painted at its natural size, the frame on the hovered cell.
class SheetView : public QWidget {
public:
    SheetView(DLG_SELECTGRAPHIC* owner, QWidget* parent) : QWidget(parent), m_pOwner(owner)
    {
        setMouseTracking(true);
        const Surface* s = SheetOf(owner->Kind());
        int w = s ? s->Width() : 0, h = s ? s->Height() : 0;
        setFixedSize(std::max(w, 32), std::max(h, 32));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::black);
        const Surface* s = SheetOf(m_pOwner->Kind());
        if (s && s->Width() > 0 && s->Height() > 0) {
            QImage image(s->Bits(), s->Width(), s->Height(), s->Stride(), QImage::Format_RGB32);
            p.drawImage(0, 0, image);
        }
        int cell = m_pOwner->Hovered();
        if (cell >= 0) {
            GraphicCell r = GraphicCellRect(m_pOwner->Kind(), cell);
            p.setPen(QPen(Qt::white, 2));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(r.x + 1, r.y + 1, r.width - 2, r.height - 2));
        }
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        QPoint at = e->position().toPoint();
        m_pOwner->SetHovered(m_pOwner->CellAt(at.x(), at.y()));
    }
    void leaveEvent(QEvent*) override { m_pOwner->SetHovered(-1); }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() != Qt::LeftButton)
            return;
        QPoint at = e->position().toPoint();
        m_pOwner->ChooseAt(at.x(), at.y());
    }

private:
    DLG_SELECTGRAPHIC* m_pOwner;
};

}  // namespace

void SetGraphicChooserForTests(std::function<int(int kind, int& value)> chooser)
{
    TestChooser() = std::move(chooser);
}

DLG_SELECTGRAPHIC::DLG_SELECTGRAPHIC(int kind, int* value) : m_nKind(kind), m_pValue(value)
{
    SetTitle(QStringLiteral("一覧"));
}

int DLG_SELECTGRAPHIC::Run(WND_CLASS* owner, int kind, int& value)
{
    if (TestChooser())
        return TestChooser()(kind, value);
    int work = value;
    DLG_SELECTGRAPHIC dlg(kind, &work);
    dlg.SetupWindow(IDD, owner ? owner->Widget() : nullptr, owner);
    dlg.SetOwner(owner, true);
    if (dlg.DoModal() != 1)
        return 0;
    value = work;
    return 1;
}

void DLG_SELECTGRAPHIC::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pScroll = new QScrollArea(dialog);
    m_pScroll->setFrameShape(QFrame::NoFrame);
    auto* view = new SheetView(this, m_pScroll);
    m_pScroll->setWidget(view);
    layout->addWidget(m_pScroll);

    // Natural size, capped by the work area (the sheet then scrolls).
    QSize want = view->size();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QSize area = screen->availableGeometry().size() - QSize(40, 80);
        if (want.width() > area.width() || want.height() > area.height()) {
            int bar = m_pScroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
            want = QSize(std::min(want.width() + bar, area.width()), std::min(want.height() + bar, area.height()));
        }
    }
    m_pScroll->setMinimumSize(want);
}

void DLG_SELECTGRAPHIC::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    // The minimum was only the opening size: the user may make the window smaller.
    if (m_pScroll) {
        QSize opened = m_pScroll->minimumSize();
        m_pScroll->setMinimumSize(64, 64);
        m_pWnd->resize(opened);
    }
}

int DLG_SELECTGRAPHIC::CellAt(int x, int y) const
{
    const Surface* s = SheetOf(m_nKind);
    if (!s || x < 0 || y < 0 || x >= s->Width() || y >= s->Height())
        return -1;
    return GraphicCellAt(m_nKind, x, y);
}

void DLG_SELECTGRAPHIC::SetHovered(int cell)
{
    if (cell == m_nHover)
        return;
    m_nHover = cell;
    if (m_pScroll && m_pScroll->widget())
        m_pScroll->widget()->update();
}

void DLG_SELECTGRAPHIC::ChooseAt(int x, int y)
{
    int cell = CellAt(x, y);
    if (cell < 0)
        return;
    if (m_pValue)
        *m_pValue = cell;
    Close(1);
}
