// The bars of an editor window built from their tables: the menu bar, the tool
// bar and the map area with its two scroll bars. Every item sends its command
// id to the window's OnCommand.
#pragma once

#include <QIcon>
#include <QPointer>
#include <functional>
#include <map>
#include <span>
#include <vector>

#include "resources/menus.h"
#include "ui/wnd.h"

class QAction;
class QGridLayout;
class QMenuBar;
class QScrollBar;
class QToolBar;

// The actions of each command id (a command may sit in the menu and the tool bar).
using CommandActions = std::map<int, std::vector<QPointer<QAction>>>;

QMenuBar* BuildMenuBar(WND_CLASS* owner, QWidget* parent, std::span<const MenuBarItem> items, CommandActions& actions);

// Buttons of a check group are checkable and exclusive; icon gives each
// button's picture.
QToolBar* BuildToolBar(WND_CLASS* owner, QWidget* parent, int toolbarId, std::span<const ToolbarItem> items,
                       const std::function<QIcon(const ToolbarItem&)>& icon, CommandActions& actions);

// Image index of a strip of 16 x 15 pictures in a project bitmap (a stored
// path); an empty icon when the file or the image is missing.
QIcon StripIcon(const char* storedPath, int index);

// The action of a command: its tool bar button where there is one, else its
// menu item; nullptr for none.
QAction* CommandAction(const CommandActions& actions, int command);

// A map scroll bar over cells with a page of the cells in view: positions 0
// to cells - page, so the last position shows the map's last page; the
// position is kept (clamped) and no change is signalled.
void SetMapScrollRange(QScrollBar* bar, int cells, int page);

// The view at the top left of a grid with a vertical scroll bar beside it and a
// horizontal one below; neither bar takes the focus, and moved runs on every
// change of either. name prefixes the bars' object names.
QGridLayout* MapWithScrollBars(QWidget* view, QWidget* parent, const QString& name, QScrollBar*& horizontal,
                               QScrollBar*& vertical, std::function<void()> moved);
