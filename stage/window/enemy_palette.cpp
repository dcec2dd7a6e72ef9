#include "stage/window/enemy_palette.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "base/text.h"
#include "project/project.h"
#include "resources/menus.h"
#include "stage/window/enemy_set_dialog.h"
#include "stage/window/main_window.h"
#include "stage/window/palette_window.h"
#include "ui/input_dialogs.h"

DLG_ENEMY::DLG_ENEMY()
{
    SetTitle(QStringLiteral("敵パレット"));
    editPlacement = [this](cPutEnemy& placement) {
        DLG_ENEMY_SET dlg(placement);
        dlg.SetupWindow(DLG_ENEMY_SET::IDD, m_pWnd, this);
        return dlg.DoModal() == 1;
    };
}

void DLG_ENEMY::Build(QDialog* dialog)
{
    MakePaletteWindow(dialog);
    auto* layout = new QVBoxLayout(dialog);
    auto* frame = new QGroupBox(QStringLiteral("敵一覧"), dialog);
    auto* inner = new QVBoxLayout(frame);
    auto* list = new QListWidget(frame);
    list->setMinimumSize(300, 360);
    QFont mono = list->font();
    mono.setStyleHint(QFont::TypeWriter);
    mono.setFamily(QStringLiteral("Monospace"));
    list->setFont(mono);
    inner->addWidget(list, 1);
    auto* buttons = new QHBoxLayout;
    const std::pair<int, const char*> kButtons[] = {
        {IDC_INSERT, "挿入"}, {IDC_EDIT, "編集"}, {IDC_DELETE, "削除"}, {IDC_COUNT, "ﾃﾞｰﾀ数"}};
    for (auto [id, text] : kButtons) {
        auto* b = new QPushButton(QString::fromUtf8(text), frame);
        b->setFocusPolicy(Qt::NoFocus);
        buttons->addWidget(b);
        AddItem(id, b);
    }
    inner->addLayout(buttons);
    layout->addWidget(frame);
    AddItem(IDC_LIST, list);
}

void DLG_ENEMY::OnInitDialog()
{
    PlacePalette(*this, TheProject().m_EditConfig.WndPos(ToolWindow::EnemyPalette));
    DLG_CLASS::OnInitDialog();
    AttachPaletteKeys(this);
    Project& p = TheProject();
    m_pList = new CTRL_LIST_CLASS<cPutEnemy>;
    ListOptions o;
    o.appendLine = true;
    o.allowEmptySelection = true;
    o.maxCount = kMaxPlacements;
    m_pList->Attach(this, IDC_LIST, &p.m_Stage.m_PutEnemy, nullptr, o, nullptr);
    SetUpEnemyList(m_pList->Model(), p);
    m_pList->SetListCommands(ListAcceleratorId(1, 1), 1, 1);
    m_pList->SetListMenu(ListMenuId(1, 1), 1, 1);
    // The editing keys and menu items reach the palette through the
    // accelerator table and the menu's own ids only.
    m_pList->ClearListKeys();
    m_pList->ClearListMenu();
    // A fresh palette starts with nothing selected.
    m_pList->Model().Load(p.m_Stage.m_PutEnemy.items());
    m_pList->Model().Select(-1, false);
    ShowLines();
}

void DLG_ENEMY::ShowLines()
{
    auto* l = qobject_cast<QListWidget*>(Item(IDC_LIST));
    if (!l || !m_pList)
        return;
    ListModel<cPutEnemy>& m = m_pList->Model();
    std::vector<std::string> lines = m.Lines();
    QSignalBlocker block(l);
    // Only the lines whose text changed are touched: a stamp moves one enemy.
    while (l->count() > static_cast<int>(lines.size()))
        delete l->takeItem(l->count() - 1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (static_cast<int>(i) < l->count()) {
            if (i < m_Shown.size() && m_Shown[i] == lines[i])
                continue;
            l->item(static_cast<int>(i))->setText(ToQt(lines[i]));
        } else {
            l->addItem(ToQt(lines[i]));
        }
    }
    m_Shown = std::move(lines);
    int sel = m.GetSel();
    if (sel >= 0 && sel < l->count()) {
        l->setCurrentRow(sel);
    } else {
        l->clearSelection();
        l->setCurrentRow(-1);
    }
}

int DLG_ENEMY::Selection()
{
    if (!m_pList)
        return -1;
    m_pList->Sync();
    return m_pList->Model().GetSel();
}

void DLG_ENEMY::Reload()
{
    if (!m_pList)
        return;
    m_pList->Sync();
    m_pList->Model().Load(TheProject().m_Stage.m_PutEnemy.items());
    ShowLines();
}

void DLG_ENEMY::RefreshLists()
{
    Reload();
    if (m_pList)
        EnemyBrushFromSelection(Editor(), m_pList->Model());
}

void DLG_ENEMY::SelectPlacement(int index)
{
    if (!m_pList)
        return;
    m_pList->Sync();
    ListModel<cPutEnemy>& m = m_pList->Model();
    m.Load(TheProject().m_Stage.m_PutEnemy.items());
    m.sel = m.IsRecordLine(index) ? index : -1;
    ShowLines();
}

void DLG_ENEMY::FollowSelection()
{
    EditorState& ed = Editor();
    EnemyBrushFromSelection(ed, m_pList->Model());
    int line = m_pList->Model().GetSel();
    const RecordList<cPutEnemy>& placed = TheProject().m_Stage.m_PutEnemy;
    if (MainWindow && line >= 0 && line < placed.size() && placed[line].IsPlaced())
        MainWindow->ShowCell({placed[line].m_nX, placed[line].m_nY});
    else if (MainWindow)
        MainWindow->Repaint();
}

void DLG_ENEMY::AfterEdit()
{
    ShowLines();
    EnemyBrushFromSelection(Editor(), m_pList->Model());
    if (MainWindow) {
        MainWindow->RefreshUndoButtons();
        MainWindow->UpdateTitle();
        MainWindow->Repaint();
    }
}

void DLG_ENEMY::Run(EnemyPaletteOp op)
{
    m_pList->Sync();
    int count = 0;
    if (op == EnemyPaletteOp::Count) {
        count = m_pList->Model().RecordCount();
        if (!InputValue(this, false, count, 1, kMaxPlacements, SJ("データ数")))
            return;
    }
    switch (RunEnemyPaletteOp(Editor(), TheProject(), m_pList->Model(), op, editPlacement, count)) {
    case PaletteEdit::Refused: QApplication::beep(); break;
    case PaletteEdit::Changed: AfterEdit(); break;
    case PaletteEdit::Unchanged: ShowLines(); break;
    }
}

void DLG_ENEMY::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    if (!m_pList || !Editor().stageOpen)
        return;
    if (id == IDC_LIST) {
        if (code == Notify::SelChange) {
            m_pList->Sync();
            FollowSelection();
        } else if (code == Notify::ListDblClk) {
            Run(EnemyPaletteOp::Edit);
        }
        return;
    }
    if (ForwardToMain(id))
        return;
    EnemyPaletteOp op = EnemyPaletteOpOf(id);
    if (op != EnemyPaletteOp::None)
        Run(op);
}
