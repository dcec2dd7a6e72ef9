// "一覧": the picture chooser. Shows one of the picture sheets at
// its natural size (scrolling when it is larger than the work area), frames the
// cell under the mouse, and stores the clicked cell's number.
#pragma once

#include <functional>

#include "ui/wnd.h"

class QScrollArea;

class DLG_SELECTGRAPHIC : public DLG_CLASS {
public:
    enum { IDD = 213 };

    DLG_SELECTGRAPHIC(int kind, int* value);

    // Runs the chooser modally over owner: 1 when a cell was clicked (its number
    // stored into value), 0 when the window was closed (value unchanged).
    static int Run(WND_CLASS* owner, int kind, int& value);

    void Build(QDialog* dialog) override;
    void OnInitDialog() override;

    // The cell number under sheet pixel (x, y), or -1 outside the sheet.
    int CellAt(int x, int y) const;
    // Stores the number of the cell at sheet pixel (x, y) and closes with 1
    // (nothing happens outside the sheet).
    void ChooseAt(int x, int y);
    // The cell framed now (-1: none), for the view and for tests.
    int Hovered() const { return m_nHover; }
    void SetHovered(int cell);
    int Kind() const { return m_nKind; }

private:
    int m_nKind;
    int* m_pValue;
    int m_nHover = -1;
    QScrollArea* m_pScroll = nullptr;
};

// Tests replace the modal chooser (nullptr puts the dialog back).
void SetGraphicChooserForTests(std::function<int(int kind, int& value)> chooser);
