#include "database/window/graphic_preview.h"

#include <cstring>

#include "media/graphic_cells.h"
#include "media/image_table.h"

QRect SheetCell(int kind, int n)
{
    GraphicCell c = GraphicCellRect(kind, n);
    return QRect(c.x, c.y, c.width, c.height);
}

QImage GraphicImage(int kind, int n)
{
    const Surface& sheet = ImageSurface(GraphicSheet(kind));
    if (sheet.Empty())
        return QImage();
    const QRect cell = SheetCell(kind, n);
    const Rgb key = ColorKey();
    const bool figure = kind == GK_CHARA || kind == GK_EFFECT;
    std::vector<uint32_t> pixels = CutOut(sheet, cell.x(), cell.y(), cell.width(), cell.height(), figure ? &key : nullptr);
    QImage image(cell.width(), cell.height(), QImage::Format_ARGB32);
    for (int y = 0; y < cell.height(); ++y)
        std::memcpy(image.scanLine(y), pixels.data() + static_cast<std::size_t>(y) * cell.width(),
                    static_cast<std::size_t>(cell.width()) * 4);
    return image;
}

QPixmap GraphicPixmap(int kind, int n)
{
    QImage image = GraphicImage(kind, n);
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}
