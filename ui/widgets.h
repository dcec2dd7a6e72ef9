// Small widgets the framework needs beyond Qt's own.
#pragma once

#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

class DLG_CLASS;
class QHBoxLayout;

// The up-down arrows paired with a numeric edit: each click reports +1 (up) or -1 (down).
class UpDownWidget : public QWidget {
    Q_OBJECT
public:
    explicit UpDownWidget(QWidget* parent = nullptr);
    void Click(int delta) { emit stepped(delta); }

signals:
    void stepped(int delta);
};

// "OK" (the default button) and "キャンセル" at the right of a row, registered
// in the dialog as IDC_OK and IDC_CANCEL; the caller adds the row to its layout.
QHBoxLayout* OkCancelRow(DLG_CLASS* dlg, QWidget* parent);
