// The bars of an editor window built from their tables: the menu bar and the
// tool bar. Every item sends its command id to the window's OnCommand.
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
