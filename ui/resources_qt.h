// Menus and accelerators of resources/menus.h as Qt objects.
#pragma once

#include <QKeyEvent>
#include <QMenu>

// Builds a menu resource; each item carries its command id as data.
void BuildMenu(QMenu& menu, int menuId);
// The command of an accelerator table for a key press, or 0.
int TranslateAccelerator(int tableId, const QKeyEvent& key);
