#include "stage/window/group_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "app/editor_state.h"
#include "base/log.h"
#include "base/text.h"
#include "media/image_table.h"
#include "project/project.h"
#include "resources/menus.h"
#include "stage/map_render.h"
#include "stage/stage_settings.h"
#include "stage/window/main_window.h"
#include "ui/controls.h"
#include "ui/input_dialogs.h"
#include "ui/qt_text.h"
#include "ui/widgets.h"

namespace {

constexpr Rgb kCentreColour{255, 255, 0};

QPushButton* Button(DLG_CLASS* dlg, QWidget* parent, int id, const char* text)
{
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setAutoDefault(false);
    dlg->AddItem(id, b);
    return b;
}

}  // namespace

// ---------------------------------------------------------------------------
// "位置グループの編集"

DLG_GROUPPOS_SET::DLG_GROUPPOS_SET(cGroupPos* group) : m_pGroup(group)
{
    SetTitle(QStringLiteral("位置グループの編集"));
    // As large as the whole map with the strip of controls, within the work area.
    const cStage& s = TheProject().m_Stage;
    int w = s.m_nWidth * kChipSize + 16, h = s.m_nHeight * kChipSize + 16 + kStripHeight + 22;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        w = std::min(w, area.width() - 16);
        h = std::min(h, area.height() - 40);
    }
    SetFrame(std::max(w, 420), std::max(h, 160), 0, 0, 0, 0);
}

void DLG_GROUPPOS_SET::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_pMap = new MapViewWidget(dialog, QStringLiteral("group"));
    // The keyboard stays with the name and centre edits.
    m_pMap->setFocusPolicy(Qt::NoFocus);
    m_pMap->mapCells = [] { return QSize(TheProject().m_Stage.m_nWidth, TheProject().m_Stage.m_nHeight); };
    m_pMap->render = [this](Surface& canvas, int sx, int sy) { RenderView(canvas, sx, sy); };
    m_pMap->mouse = [this](QMouseEvent* e, CellPos cell, bool onMap) {
        if (onMap)
            m_Mouse = cell;
        if (onMap && e->type() == QEvent::MouseButtonPress && e->button() == Qt::LeftButton)
            ToggleGroupCell(m_Work, cell);
        m_pMap->Refresh();
    };
    m_pMap->cursor = [this] { return m_Mouse; };
    layout->addLayout(m_pMap->Layout(), 1);
    AddItem(IDC_SCROLL_H, m_pMap->ScrollBar(false));
    AddItem(IDC_SCROLL_V, m_pMap->ScrollBar(true));

    auto* strip = new QWidget(dialog);
    strip->setFixedHeight(kStripHeight);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(4, 0, 4, 0);
    row->addWidget(new QLabel(QStringLiteral("位置グループ名"), strip));
    auto* name = new QLineEdit(strip);
    name->setFixedWidth(120);
    row->addWidget(name);
    AddItem(IDC_NAME, name);
    row->addWidget(new QLabel(QStringLiteral("中心座標  X"), strip));
    auto number = [&](int editId, int spinId) {
        auto* edit = new QLineEdit(strip);
        edit->setFixedWidth(36);
        auto* spin = new UpDownWidget(strip);
        row->addWidget(edit);
        row->addWidget(spin);
        AddItem(editId, edit);
        AddItem(spinId, spin);
    };
    number(IDC_X, IDC_X_SPIN);
    row->addWidget(new QLabel(QStringLiteral("Y"), strip));
    number(IDC_Y, IDC_Y_SPIN);
    row->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), strip);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), strip);
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    row->addWidget(ok);
    row->addWidget(cancel);
    AddItem(IDC_OK, ok);
    AddItem(IDC_CANCEL, cancel);
    layout->addWidget(strip);

    m_pStatus = new QStatusBar(dialog);
    m_pStatus->setSizeGripEnabled(false);
    layout->addWidget(m_pStatus);
    m_pMap->SetStatusBar(m_pStatus);
}

void DLG_GROUPPOS_SET::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_Work = *m_pGroup;
    const cStage& s = TheProject().m_Stage;
    (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_NAME, &m_Work.m_Name, 0, 0, 1);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_X, &m_Work.m_nX, 0, std::max(s.m_nWidth - 1, 0), IDC_X_SPIN);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_Y, &m_Work.m_nY, 0, std::max(s.m_nHeight - 1, 0), IDC_Y_SPIN);
    (new CTRL_SCROLL_CLASS)->Attach(this, IDC_SCROLL_H);
    (new CTRL_SCROLL_CLASS)->Attach(this, IDC_SCROLL_V);
    UpdateAll();
    m_pMap->LayoutScrollBars();
    Item(IDC_NAME)->setFocus();
}

void DLG_GROUPPOS_SET::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    switch (id) {
    case IDC_X:
    case IDC_Y:
        // The centre's frame follows the edits.
        if (code == Notify::EditUpdate || code == Notify::EditKillFocus) {
            StoreAll();
            if (m_pMap)
                m_pMap->update();
        }
        break;
    case IDC_OK:
        StoreAll();
        *m_pGroup = m_Work;
        Close(1);
        break;
    case IDC_CANCEL:
    case IDC_ESCAPE: Close(0); break;
    default: break;
    }
}


void DLG_GROUPPOS_SET::RenderView(Surface& canvas, int sx, int sy)
{
    const int w = canvas.Width(), h = canvas.Height();
    MapScene scene = ProjectScene(TheProject());
    // The stage's own start markers stay out: the working copy's cells are
    // the markers here (editing the start group must not show its old cells).
    const Surface* markers = scene.art.markers;
    scene.art.markers = nullptr;
    MapCursor cursor;
    cursor.cell = m_Mouse;
    RenderMap(canvas, scene, sx, sy, cursor);
    auto inView = [&](int x, int y) { return x >= sx && y >= sy && (x - sx) * kChipSize < w && (y - sy) * kChipSize < h; };
    if (markers && !markers->Empty())
        for (const CellPos& c : m_Work.m_Positions)
            if (inView(c.x, c.y))
                DrawSurface(canvas, (c.x - sx) * kChipSize, (c.y - sy) * kChipSize, kChipSize, kChipSize, *markers, 0, 64, 0);
    if (inView(m_Work.m_nX, m_Work.m_nY))
        FrameRect(canvas, (m_Work.m_nX - sx) * kChipSize, (m_Work.m_nY - sy) * kChipSize, kChipSize, kChipSize, 2,
                  kCentreColour);
}

// ---------------------------------------------------------------------------
// "位置グループの設定"

DLG_GROUPPOS::DLG_GROUPPOS() { SetTitle(QStringLiteral("位置グループの設定")); }

void DLG_GROUPPOS::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    auto* frame = new QGroupBox(QStringLiteral("位置グループ"), dialog);
    auto* v = new QVBoxLayout(frame);
    auto* list = new QListWidget(frame);
    list->setMinimumSize(300, 240);
    v->addWidget(list, 1);
    AddItem(IDC_LIST, list);
    auto* buttons = new QHBoxLayout;
    Button(this, frame, IDC_NEW, "新規");
    buttons->addWidget(Item(IDC_NEW));
    buttons->addWidget(Button(this, frame, IDC_EDIT, "編集"));
    buttons->addWidget(Button(this, frame, IDC_CLEAR, "ｸﾘｱ"));
    buttons->addWidget(Button(this, frame, IDC_COUNT, "ﾃﾞｰﾀ数"));
    v->addLayout(buttons);
    layout->addWidget(frame, 1);

    layout->addLayout(OkCancelRow(this, dialog));
}

void DLG_GROUPPOS::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_Work = TheProject().m_Stage.m_GroupPos;
    ListOptions options;
    options.multiple = true;
    options.minCount = 1;
    options.maxCount = kMaxPositionGroups;
    auto* list = new CTRL_LIST_CLASS<cGroupPos>;
    list->Attach(this, IDC_LIST, &m_Work, nullptr, options, [](int, const cGroupPos& g) { return GroupPosLine(g); });
    // A fixed list: Ctrl+I and Delete clear the selected groups.
    list->SetListCommands(ListAcceleratorId(0, 1), 0, 1);
    list->SetListMenu(ListMenuId(0, 1), 0, 1);
    for (int id : {IDC_NEW, IDC_EDIT, IDC_CLEAR, IDC_COUNT})
        (new CTRL_BUTTON_CLASS)->Attach(this, id);
    UpdateAll();
    Item(IDC_LIST)->setFocus();
}

void DLG_GROUPPOS::Refill()
{
    auto* list = Control<CTRL_LIST_CLASS<cGroupPos>>(IDC_LIST);
    list->Store();
    list->Show();
}

void DLG_GROUPPOS::EditSelected()
{
    auto* list = Control<CTRL_LIST_CLASS<cGroupPos>>(IDC_LIST);
    int line = list->GetSel();
    if (!list->Model().IsRecordLine(line)) {
        QApplication::beep();
        return;
    }
    cGroupPos group = list->Model().Record(line);
    DLG_GROUPPOS_SET dlg(&group);
    dlg.SetupWindow(DLG_GROUPPOS_SET::IDD, m_pWnd, this);
    dlg.SetOwner(this, true);
    if (dlg.DoModal() != 1)
        return;
    list->Model().Record(line) = group;
    Refill();
}

void DLG_GROUPPOS::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    auto* list = Control<CTRL_LIST_CLASS<cGroupPos>>(IDC_LIST);
    if (!list)
        return;
    const ListCommandRow* row = FindListCommandRow(0, 1);
    auto is = [&](int slot) {
        return id == row->keys[static_cast<std::size_t>(slot)] || id == row->menu[static_cast<std::size_t>(slot)];
    };
    if (id == IDC_NEW) {
        list->Sync();
        if (AppendGroup(list->Model().items)) {
            Refill();
            list->Select(list->Model().RecordCount() - 1, false);
        } else {
            QApplication::beep();
        }
    } else if (id == IDC_CLEAR || is(3) || is(5)) {
        list->Sync();
        ClearGroups(list->Model().items, list->Model().SelectedRecords());
        Refill();
    } else if (id == IDC_COUNT) {
        int count = list->Model().RecordCount();
        if (InputValue(this, false, count, 1, kMaxPositionGroups, SJ("データ数")))
            list->Resize(count);
    } else if (id == IDC_EDIT || (id == IDC_LIST && code == Notify::ListDblClk)) {
        EditSelected();
    } else if (is(0)) {
        list->CutSel();
    } else if (is(1)) {
        list->CopySel();
    } else if (is(2)) {
        list->Paste();
    } else if (id == IDC_OK) {
        StoreAll();
        TheProject().m_Stage.m_GroupPos = m_Work;
        Close(1);
    } else if (id == IDC_CANCEL || id == IDC_ESCAPE) {
        Close(0);
    }
}

// ---------------------------------------------------------------------------
// The main window's command

void DLG_MAIN::CmdPositionGroups(int)
{
    DLG_GROUPPOS dlg;
    dlg.SetupWindow(DLG_GROUPPOS::IDD, m_pWnd, this);
    dlg.SetOwner(this, true);
    if (dlg.DoModal(DO_DISABLE_OTHERS) != 1)
        return;
    // Groups are not in the undo snapshots: no undo step. Applying drops cells
    // outside the map and pulls the references to groups back into the list.
    TheProject().m_Stage.ValidateStage();
    MarkModified();
    RefreshPalettes();
    Repaint();
}
