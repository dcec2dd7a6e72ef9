// Pictures of the picture chooser's sheets as the database pages show them:
// one cell of a working sheet as a pixmap (the "一覧" previews) and the sheet
// itself for previews that draw cells themselves.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QRect>

// Kinds of the picture chooser.
enum GraphicKind { GK_CHARA = 0, GK_EFFECT = 1, GK_LAND = 2, GK_WORLDCHIP = 4 };

// Where picture n of a kind lies on its working sheet.
QRect SheetCell(int kind, int n);
// A working sheet (IMG_SHEET_*) as an image over its pixels; null when the
// sheet is not loaded. Valid while the sheet is.
QImage SheetImage(int image);
// Picture n of a kind; a null pixmap when its sheet is not loaded.
QPixmap GraphicPixmap(int kind, int n);
