#include "stage/window/palette_window.h"

#include <QApplication>

#include "resources/ids.h"
#include "stage/window/main_window.h"
#include "ui/controls.h"

namespace {

class PaletteKeys : public CTRL_CLASS {
public:
    explicit PaletteKeys(DLG_CLASS* palette)
    {
        m_pDlg = palette;
        m_nId = 0;
        m_nKind = CK_NONE;
        palette->RegisterControl(this);
    }
    void OnKeyDown(int key, bool /*ctrlDown*/) override
    {
        if (MainWindow && (key == Qt::Key_Space || key == Qt::Key_F5))
            MainWindow->MapKey(key);
    }
};

}  // namespace

void MakePaletteWindow(QDialog* dialog)
{
    dialog->setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // A palette shown by a mode change leaves the main window active.
    dialog->setAttribute(Qt::WA_ShowWithoutActivating);
}

void PlacePalette(DLG_CLASS& palette, cWndPosInfo& place)
{
    palette.SetPlaceRecord(&place);
    if (place.m_bValid || !MainWindow || !MainWindow->Widget())
        return;
    QRect frame = MainWindow->Widget()->frameGeometry();
    palette.SetSavedPosition(frame.right() + 1, frame.top());
}

void AttachPaletteKeys(DLG_CLASS* palette) { new PaletteKeys(palette); }

bool ForwardToMain(int id)
{
    static constexpr int kMainIds[] = {cmd::kStageOpenKey, cmd::kStageSaveKey, cmd::kUndoKey, cmd::kRedoKey,
                                       cmd::kTestPlayKey,  cmd::kPenNormal,    cmd::kPenLine, cmd::kPenRect,
                                       cmd::kPenFill};
    for (int main : kMainIds)
        if (main == id) {
            if (MainWindow)
                MainWindow->SendCommand(id, Notify::Accelerator);
            return true;
        }
    return false;
}
