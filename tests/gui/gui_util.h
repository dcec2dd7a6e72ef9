// Helpers of the GUI tests: a dialog built from a list of widgets, and waiting
// for windows and posted events.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>
#include <utility>
#include <vector>

#include "ui/controls.h"
#include "ui/wnd.h"

// A dialog whose widgets, controls and command handling the test supplies.
class TestDialog : public DLG_CLASS {
public:
    std::vector<std::pair<int, std::function<QWidget*(QWidget*)>>> items;
    std::function<void(TestDialog&)> init;
    std::vector<std::pair<int, Notify>> commands;
    std::function<void(int, Notify)> onCommand;

    void Add(int id, std::function<QWidget*(QWidget*)> make) { items.emplace_back(id, std::move(make)); }
    void Build(QDialog* dialog) override
    {
        auto* layout = new QVBoxLayout(dialog);
        for (auto& [id, make] : items) {
            QWidget* w = make(dialog);
            layout->addWidget(w);
            AddItem(id, w);
        }
    }
    void OnInitDialog() override
    {
        DLG_CLASS::OnInitDialog();
        if (init)
            init(*this);
        UpdateAll();
    }
    void OnCommand(int id, Notify code) override
    {
        DLG_CLASS::OnCommand(id, code);
        if (code == Notify::Accelerator || code == Notify::Menu || code == Notify::Click)
            commands.emplace_back(id, code);
        if (onCommand)
            onCommand(id, code);
    }
    std::vector<int> CommandIds() const
    {
        std::vector<int> ids;
        for (auto& c : commands)
            ids.push_back(c.first);
        return ids;
    }
};

// Delivers what the keyboard rules posted.
inline void Pump()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Types any text, one key event per character (QTest's own helpers take ASCII only).
inline void TypeText(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Opens the dialog modeless and makes it the active window.
inline bool OpenActive(DLG_CLASS& dlg)
{
    dlg.CreateModeless(0, true);
    if (!dlg.Widget())
        return false;
    dlg.Widget()->activateWindow();
    return QTest::qWaitForWindowActive(dlg.Widget());
}

// Runs body inside the modal loop of the dialog, then closes it with 0.
inline int RunModal(DLG_CLASS& dlg, std::function<void()> body, int options = 0)
{
    QTimer::singleShot(0, [&dlg, body] {
        if (dlg.Widget()) {
            dlg.Widget()->activateWindow();
            (void)QTest::qWaitForWindowActive(dlg.Widget());
        }
        body();
        if (dlg.Widget() && dlg.Widget()->isVisible())
            dlg.Close(0);
    });
    return dlg.DoModal(options);
}
