// What the stage's palette windows share: a tool window beside the main
// window, and the keys and commands that belong to the main window.
#pragma once

#include <QDialog>

#include "ui/wnd.h"

// Makes the dialog a tool window (its own frame, no task bar entry).
void MakePaletteWindow(QDialog* dialog);

// Opens the palette where it was closed last, or right of the main window the
// first time; the palette stores its place in the record when it closes.
void PlacePalette(DLG_CLASS& palette, cWndPosInfo& place);

// Space (palette mode cycling) and F5 (test play) go on to the main window.
void AttachPaletteKeys(DLG_CLASS* palette);

// The main window's own commands arriving at a palette (Ctrl+O/S/Z/Y/T of
// the accelerator tables, the pen tools) go on to it; true when id was one.
bool ForwardToMain(int id);
