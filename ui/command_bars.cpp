#include "ui/command_bars.h"

#include <QActionGroup>
#include <QGridLayout>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <QToolBar>
#include <string>

#include "base/paths.h"

QMenuBar* BuildMenuBar(WND_CLASS* owner, QWidget* parent, std::span<const MenuBarItem> items, CommandActions& actions)
{
    auto* bar = new QMenuBar(parent);
    std::map<std::string, QMenu*> menus;
    for (const MenuBarItem& item : items) {
        QMenu*& top = menus[item.top];
        if (!top)
            top = bar->addMenu(QString::fromUtf8(item.top));
        QMenu* target = top;
        if (*item.sub) {
            QMenu*& sub = menus[std::string(item.top) + "/" + item.sub];
            if (!sub)
                sub = top->addMenu(QString::fromUtf8(item.sub));
            target = sub;
        }
        if (item.command == 0) {
            target->addSeparator();
            continue;
        }
        QAction* a = target->addAction(QString::fromUtf8(item.text));
        const int command = item.command;
        QObject::connect(a, &QAction::triggered, [owner, command] { owner->SendCommand(command, Notify::Menu); });
        actions[command].emplace_back(a);
    }
    return bar;
}

QToolBar* BuildToolBar(WND_CLASS* owner, QWidget* parent, int toolbarId, std::span<const ToolbarItem> items,
                       const std::function<QIcon(const ToolbarItem&)>& icon, CommandActions& actions)
{
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QStringLiteral("toolbar%1").arg(toolbarId));
    bar->setIconSize(QSize(16, 16));
    auto* group = new QActionGroup(bar);
    for (const ToolbarItem& item : items) {
        if (item.command == 0) {
            bar->addSeparator();
            continue;
        }
        QAction* a = bar->addAction(icon(item), QString::fromUtf8(item.tip));
        a->setToolTip(QString::fromUtf8(item.tip));
        if (item.checkGroup) {
            a->setCheckable(true);
            group->addAction(a);
        }
        const int command = item.command;
        QObject::connect(a, &QAction::triggered, [owner, command] { owner->SendCommand(command, Notify::Menu); });
        actions[command].emplace_back(a);
    }
    // The keyboard stays with the map.
    for (QWidget* w : bar->findChildren<QWidget*>())
        w->setFocusPolicy(Qt::NoFocus);
    return bar;
}

QIcon StripIcon(const char* storedPath, int index)
{
    QImage strip(QString::fromStdString(HostPath(storedPath)));
    if (strip.isNull() || strip.width() < (index + 1) * 16)
        return QIcon();
    return QIcon(QPixmap::fromImage(strip.copy(index * 16, 0, 16, 15)));
}

QAction* CommandAction(const CommandActions& actions, int command)
{
    auto it = actions.find(command);
    if (it == actions.end())
        return nullptr;
    for (auto a = it->second.rbegin(); a != it->second.rend(); ++a)
        if (*a)
            return *a;
    return nullptr;
}
