#include "ui/widgets.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "ui/wnd.h"

UpDownWidget::UpDownWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* up = new QToolButton(this);
    auto* down = new QToolButton(this);
    up->setArrowType(Qt::UpArrow);
    down->setArrowType(Qt::DownArrow);
    up->setAutoRepeat(true);
    down->setAutoRepeat(true);
    up->setFixedSize(16, 11);
    down->setFixedSize(16, 11);
    layout->addWidget(up);
    layout->addWidget(down);
    connect(up, &QToolButton::clicked, this, [this] { emit stepped(1); });
    connect(down, &QToolButton::clicked, this, [this] { emit stepped(-1); });
}

QHBoxLayout* OkCancelRow(DLG_CLASS* dlg, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), parent);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), parent);
    ok->setDefault(true);
    ok->setAutoDefault(true);
    cancel->setAutoDefault(false);
    row->addWidget(ok);
    row->addWidget(cancel);
    dlg->AddItem(IDC_OK, ok);
    dlg->AddItem(IDC_CANCEL, cancel);
    return row;
}
