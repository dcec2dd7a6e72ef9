// Pictures of the picture chooser's sheets as the database pages show them:
// one cell of a working sheet (the "一覧" previews and the animation preview).
#pragma once

#include <QImage>
#include <QPixmap>
#include <QRect>

// Kinds of the picture chooser.
enum GraphicKind { GK_CHARA = 0, GK_EFFECT = 1, GK_LAND = 2, GK_WORLDCHIP = 4 };

// Where picture n of a kind lies on its working sheet.
QRect SheetCell(int kind, int n);
// Picture n of a kind; a null image when its sheet is not loaded. Figures
// (characters and effects) are transparent where the sheet's mask or the
// project's transparent colour says so, as the stage draws them; chips are opaque.
QImage GraphicImage(int kind, int n);
QPixmap GraphicPixmap(int kind, int n);
