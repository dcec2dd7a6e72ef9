#include "ui/select_graphic.h"

#include <QCloseEvent>
#include <QScrollArea>
#include <gtest/gtest.h>

#include "media/image_table.h"
#include "tests/gui/gui_util.h"

namespace {

// The land sheet as the project composes it: two blocks of 8 x 16 chips.
struct LandSheet {
    LandSheet() { CreateSurface(ImageSurface(IMG_SHEET_LAND), 512, 512, 32, 1); }
    ~LandSheet() { ReleaseSurface(ImageSurface(IMG_SHEET_LAND)); }
};

QWidget* SheetWidget(DLG_SELECTGRAPHIC& dlg)
{
    auto* scroll = dlg.Widget()->findChild<QScrollArea*>();
    return scroll ? scroll->widget() : nullptr;
}

TEST(SelectGraphic, AClickStoresTheCellAndClosingStoresNothing)
{
    LandSheet sheet;
    struct Case { QPoint at; int result; int value; };
    const Case cases[] = {{{255, 5}, 1, 7}, {{256, 5}, 1, 128}, {{40, 70}, 1, 17}};
    for (const Case& c : cases) {
        int value = -5;
        DLG_SELECTGRAPHIC dlg(2, &value);
        int result = RunModal(dlg, [&] {
            QWidget* view = SheetWidget(dlg);
            ASSERT_NE(view, nullptr);
            EXPECT_EQ(view->size(), QSize(512, 512));
            QTest::mouseMove(view, c.at);
            EXPECT_EQ(dlg.Hovered(), c.value);
            QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, c.at);
        });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(value, c.value);
    }

    int value = 9;
    DLG_SELECTGRAPHIC dlg(2, &value);
    int result = RunModal(dlg, [&] { dlg.Widget()->close(); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(value, 9);
}

TEST(SelectGraphic, RunLeavesTheValueOnCloseAndTestsCanReplaceIt)
{
    LandSheet sheet;
    int value = 3;
    QTimer::singleShot(0, [] {
        if (QDialog* d = CurrentModalDialog())
            d->close();
    });
    EXPECT_EQ(DLG_SELECTGRAPHIC::Run(nullptr, 2, value), 0);
    EXPECT_EQ(value, 3);

    SetGraphicChooserForTests([](int kind, int& v) { v = kind * 100; return 1; });
    EXPECT_EQ(DLG_SELECTGRAPHIC::Run(nullptr, 2, value), 1);
    EXPECT_EQ(value, 200);
    SetGraphicChooserForTests(nullptr);
}

}  // namespace
