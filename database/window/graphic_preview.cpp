#include "database/window/graphic_preview.h"

#include "media/graphic_cells.h"
#include "media/image_table.h"

QRect SheetCell(int kind, int n)
{
    GraphicCell c = GraphicCellRect(kind, n);
    return QRect(c.x, c.y, c.width, c.height);
}

QImage SheetImage(int image)
{
    const Surface& s = ImageSurface(image);
    if (s.Empty())
        return QImage();
    return QImage(s.Bits(), s.Width(), s.Height(), s.Stride(),
                  s.Depth() == 32 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

QPixmap GraphicPixmap(int kind, int n)
{
    QImage sheet = SheetImage(GraphicSheet(kind));
    if (sheet.isNull())
        return QPixmap();
    return QPixmap::fromImage(sheet.copy(SheetCell(kind, n)));
}
