#include "stage/window/stage_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/log.h"
#include "base/text.h"
#include "media/sound_output.h"
#include "project/project.h"
#include "resources/ids.h"
#include "resources/menus.h"
#include "stage/stage_settings.h"
#include "stage/window/main_window.h"
#include "ui/controls.h"
#include "ui/qt_text.h"
#include "ui/widgets.h"

namespace {

// A combo whose stored value may have no entry (a stage without position
// groups): with nothing selected the value stays as it was.
class KeepingCombo : public CTRL_COMBO_CLASS<int32_t> {
public:
    void Store() override
    {
        if (QComboBox* c = Combo(); c && c->currentIndex() >= 0)
            CTRL_COMBO_CLASS<int32_t>::Store();
    }
};

void AttachCombo(DLG_CLASS* dlg, int id, int32_t* value, const std::vector<std::string>& entries)
{
    auto* combo = new KeepingCombo;
    combo->Attach(dlg, id, value);
    combo->SetItems(entries);
}

QHBoxLayout* OkCancel(DLG_CLASS* dlg, QDialog* dialog)
{
    return OkCancelRow(dlg, dialog);
}

// A numeric edit with its arrows, registered under both ids.
QWidget* NumberField(DLG_CLASS* dlg, QWidget* parent, int editId, int spinId, int width = 70)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto* edit = new QLineEdit(box);
    edit->setFixedWidth(width);
    auto* spin = new UpDownWidget(box);
    row->addWidget(edit);
    row->addWidget(spin);
    row->addStretch();
    dlg->AddItem(editId, edit);
    dlg->AddItem(spinId, spin);
    return box;
}

QComboBox* Combo(DLG_CLASS* dlg, QWidget* parent, int id)
{
    auto* combo = new QComboBox(parent);
    combo->setMinimumWidth(180);
    combo->setMaxVisibleItems(20);
    dlg->AddItem(id, combo);
    return combo;
}

}  // namespace

// ---------------------------------------------------------------------------
// "説明"

DLG_ENDCOND::DLG_ENDCOND(cEndCond* cond, const RecordList<cGroupPos>* groups) : m_pCond(cond), m_pGroups(groups)
{
    SetTitle(QStringLiteral("説明"));
}

void DLG_ENDCOND::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(new QLabel(QStringLiteral("テキスト"), dialog));
    auto* text = new QLineEdit(dialog);
    text->setMinimumWidth(360);
    textRow->addWidget(text, 1);
    AddItem(IDC_TEXT, text);
    layout->addLayout(textRow);

    auto* frame = new QGroupBox(QStringLiteral("選択した時の処理"), dialog);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(QStringLiteral("カーソルを合わせる対象"), frame), 0, 0);
    grid->addWidget(Combo(this, frame, IDC_TARGET), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("キャラID"), frame), 1, 0);
    grid->addWidget(NumberField(this, frame, IDC_CHARA, IDC_CHARA_SPIN), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("位置グループ"), frame), 2, 0);
    grid->addWidget(Combo(this, frame, IDC_GROUP), 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("X"), frame), 3, 0);
    grid->addWidget(NumberField(this, frame, IDC_X, IDC_X_SPIN), 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Y"), frame), 4, 0);
    grid->addWidget(NumberField(this, frame, IDC_Y, IDC_Y_SPIN), 4, 1);
    layout->addWidget(frame);

    auto* showRow = new QHBoxLayout;
    showRow->addWidget(new QLabel(QStringLiteral("表示する位置グループ"), dialog));
    showRow->addWidget(Combo(this, dialog, IDC_SHOW_GROUP), 1);
    layout->addLayout(showRow);
    layout->addLayout(OkCancel(this, dialog));
}

void DLG_ENDCOND::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_Work = *m_pCond;
    (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_TEXT, &m_Work.m_Text, 0, 0, 1);
    std::vector<std::string> targets;
    for (int i = 0; i < EndCondTargetLabels().Count(); ++i)
        targets.push_back(EndCondTargetLabels()[i]);
    AttachCombo(this, IDC_TARGET, &m_Work.m_nTarget, targets);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_CHARA, &m_Work.m_nCharaId, 1, 999, IDC_CHARA_SPIN);
    AttachCombo(this, IDC_GROUP, &m_Work.m_nGroup, GroupChoices(*m_pGroups));
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_X, &m_Work.m_nX, 0, 64, IDC_X_SPIN);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_Y, &m_Work.m_nY, 0, 64, IDC_Y_SPIN);
    AttachCombo(this, IDC_SHOW_GROUP, &m_Work.m_nShowGroup, GroupChoices(*m_pGroups, true));
    UpdateAll();
    EnableByTarget();
    Item(IDC_TEXT)->setFocus();
}

void DLG_ENDCOND::EnableByTarget()
{
    auto* target = qobject_cast<QComboBox*>(Item(IDC_TARGET));
    int t = target ? target->currentIndex() : -1;
    Control<CTRL_CLASS>(IDC_CHARA)->Enable(t == 2);
    Control<CTRL_CLASS>(IDC_GROUP)->Enable(t == 3);
    Control<CTRL_CLASS>(IDC_X)->Enable(t == 4);
    Control<CTRL_CLASS>(IDC_Y)->Enable(t == 4);
}

void DLG_ENDCOND::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    if (id == IDC_TARGET) {
        EnableByTarget();
    } else if (id == IDC_OK) {
        StoreAll();
        KeepUnusedTargetValues(m_Work, *m_pCond);
        *m_pCond = m_Work;
        Close(1);
    } else if (id == IDC_CANCEL || id == IDC_ESCAPE) {
        Close(0);
    }
}

// ---------------------------------------------------------------------------
// "ステージの設定"

// One list of end conditions with its buttons and its command group.
struct DLG_STAGE::CondList {
    int list, insert, edit, remove;
    RecordList<cEndCond> cStage::*member;
    int group;
    const char* title;
};

const DLG_STAGE::CondList DLG_STAGE::kCondLists[3] = {
    {IDC_VICTORY, 1219, 1220, 1221, &cStage::m_Victory, 1, "勝利条件の説明"},
    {IDC_DEFEAT, 1223, 1224, 1225, &cStage::m_Defeat, 2, "敗北条件の説明"},
    {IDC_SPECIAL, 1227, 1228, 1229, &cStage::m_Special, 3, "その他（特別ルール等）の説明"},
};

DLG_STAGE::DLG_STAGE() { SetTitle(QStringLiteral("ステージの設定")); }

DLG_STAGE::~DLG_STAGE() = default;

void DLG_STAGE::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    auto* columns = new QHBoxLayout;
    layout->addLayout(columns, 1);

    // The left column: the stage's values, in the order of the tab key.
    auto* left = new QGridLayout;
    columns->addLayout(left);
    int row = 0;
    auto label = [&](const char* text) { left->addWidget(new QLabel(QString::fromUtf8(text), dialog), row, 0); };
    auto put = [&](QWidget* w) { left->addWidget(w, row++, 1); };
    label("ステージ名");
    auto* name = new QLineEdit(dialog);
    name->setMinimumWidth(220);
    AddItem(IDC_NAME, name);
    put(name);
    label("横幅");
    put(NumberField(this, dialog, IDC_WIDTH, IDC_WIDTH_SPIN, 50));
    label("縦幅");
    put(NumberField(this, dialog, IDC_HEIGHT, IDC_HEIGHT_SPIN, 50));
    label("味方の初期位置");
    put(Combo(this, dialog, IDC_START_GROUP));
    label("背景");
    put(Combo(this, dialog, IDC_BACK));
    label("BGM");
    {
        auto* box = new QWidget(dialog);
        auto* r = new QHBoxLayout(box);
        r->setContentsMargins(0, 0, 0, 0);
        r->addWidget(Combo(this, box, IDC_BGM), 1);
        auto* play = new QPushButton(QStringLiteral("再生"), box);
        play->setAutoDefault(false);
        AddItem(IDC_PLAY, play);
        r->addWidget(play);
        put(box);
    }
    auto* all = new QCheckBox(QStringLiteral("最初から全てのグループの敵を出現させる"), dialog);
    AddItem(IDC_ALL_GROUPS, all);
    left->addWidget(all, row++, 0, 1, 2);
    label("ステージクリア時の報酬");
    put(Combo(this, dialog, IDC_REWARD_KIND));
    label("");
    put(NumberField(this, dialog, IDC_REWARD, IDC_REWARD_SPIN));
    label("－経過ターン数×");
    put(NumberField(this, dialog, IDC_DECREASE, IDC_DECREASE_SPIN));
    auto* percent = new QCheckBox(QStringLiteral("「経過ターン×□」を％で指定"), dialog);
    AddItem(IDC_PERCENT, percent);
    left->addWidget(percent, row++, 0, 1, 2);
    label("クリア2回目以降の修正(%)");
    put(NumberField(this, dialog, IDC_SECOND, IDC_SECOND_SPIN, 50));
    label("獲得EXの修正(%)");
    put(NumberField(this, dialog, IDC_EXP, IDC_EXP_SPIN, 50));
    label("クリア済みなら(%)");
    put(NumberField(this, dialog, IDC_EXP_CLEARED, IDC_EXP_CLEARED_SPIN, 50));
    label("敵の獲得金の修正(%)");
    put(NumberField(this, dialog, IDC_MONEY, IDC_MONEY_SPIN, 50));
    label("クリア済みなら(%)");
    put(NumberField(this, dialog, IDC_MONEY_CLEARED, IDC_MONEY_CLEARED_SPIN, 50));
    auto* clear = new QCheckBox(QStringLiteral("CLEAR !　（同時に報酬も表示）"), dialog);
    AddItem(IDC_SHOW_CLEAR, clear);
    left->addWidget(clear, row++, 0, 1, 2);
    auto* over = new QCheckBox(QStringLiteral("GAMEOVER"), dialog);
    AddItem(IDC_SHOW_GAMEOVER, over);
    left->addWidget(over, row++, 0, 1, 2);
    left->setRowStretch(row, 1);

    // The right column: the three lists of end conditions.
    auto* right = new QVBoxLayout;
    columns->addLayout(right, 1);
    for (const CondList& l : kCondLists) {
        auto* frame = new QGroupBox(QString::fromUtf8(l.title), dialog);
        auto* v = new QVBoxLayout(frame);
        auto* list = new QListWidget(frame);
        list->setMinimumWidth(320);
        list->setMinimumHeight(90);
        v->addWidget(list, 1);
        AddItem(l.list, list);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        for (auto [id, text] : {std::pair{l.insert, "挿入"}, {l.edit, "編集"}, {l.remove, "削除"}}) {
            auto* b = new QPushButton(QString::fromUtf8(text), frame);
            b->setAutoDefault(false);
            AddItem(id, b);
            buttons->addWidget(b);
        }
        v->addLayout(buttons);
        right->addWidget(frame, 1);
    }
    layout->addLayout(OkCancel(this, dialog));
}

void DLG_STAGE::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    const cStage& stage = TheProject().m_Stage;
    m_Work.CopyFrom(stage);
    m_nWidth = stage.m_nWidth;
    m_nHeight = stage.m_nHeight;

    (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_NAME, &m_Work.m_Name, 30, 0, 1);
    (new CTRL_EDITVAL_CLASS<int>)->Attach(this, IDC_WIDTH, &m_nWidth, 1, 64, IDC_WIDTH_SPIN);
    (new CTRL_EDITVAL_CLASS<int>)->Attach(this, IDC_HEIGHT, &m_nHeight, 1, 64, IDC_HEIGHT_SPIN);
    AttachCombo(this, IDC_START_GROUP, &m_Work.m_nAllyStartGroup, GroupChoices(m_Work.m_GroupPos));
    AttachCombo(this, IDC_BACK, &m_Work.m_nBack, TableChoices(Table::Back));
    AttachCombo(this, IDC_BGM, &m_Work.m_nBgm, TableChoices(Table::Bgm));
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_PLAY);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_ALL_GROUPS, &m_Work.m_bAllGroups);
    AttachCombo(this, IDC_REWARD_KIND, &m_Work.m_nRewardKind, TableChoices(Table::PartyVal));
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_REWARD, &m_Work.m_nReward, 0, 999999, IDC_REWARD_SPIN);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_DECREASE, &m_Work.m_nRewardDecrease, 0, 99999, IDC_DECREASE_SPIN);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_PERCENT, &m_Work.m_bDecreasePercent);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_SECOND, &m_Work.m_nRewardSecond, 0, 999, IDC_SECOND_SPIN);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_EXP, &m_Work.m_nExpRate, 0, 999, IDC_EXP_SPIN);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_EXP_CLEARED, &m_Work.m_nExpRateCleared, 0, 999, IDC_EXP_CLEARED_SPIN);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_MONEY, &m_Work.m_nMoneyRate, 0, 999, IDC_MONEY_SPIN);
    (new CTRL_EDITVAL_CLASS<int32_t>)->Attach(this, IDC_MONEY_CLEARED, &m_Work.m_nMoneyRateCleared, 0, 999,
                                              IDC_MONEY_CLEARED_SPIN);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_SHOW_CLEAR, &m_Work.m_bShowClear);
    (new CTRL_CHECK_CLASS<int32_t>)->Attach(this, IDC_SHOW_GAMEOVER, &m_Work.m_bShowGameOver);

    ListOptions options;
    options.maxCount = kMaxEndConds;
    for (const CondList& l : kCondLists) {
        auto* list = new CTRL_LIST_CLASS<cEndCond>;
        list->Attach(this, l.list, &(m_Work.*l.member), nullptr, options,
                     [](int, const cEndCond& c) { return EndCondLine(c); });
        list->SetListCommands(ListAcceleratorId(1, l.group), 1, l.group);
        list->SetListMenu(ListMenuId(1, l.group), 1, l.group);
        for (int id : {l.insert, l.edit, l.remove})
            (new CTRL_BUTTON_CLASS)->Attach(this, id);
    }
    UpdateAll();
    Item(IDC_NAME)->setFocus();
}

bool DLG_STAGE::EditCondition(const CondList& l, int line)
{
    auto* list = Control<CTRL_LIST_CLASS<cEndCond>>(l.list);
    if (!list || !list->Model().IsRecordLine(line))
        return false;
    cEndCond cond = list->Model().Record(line);
    DLG_ENDCOND dlg(&cond, &m_Work.m_GroupPos);
    dlg.SetupWindow(DLG_ENDCOND::IDD, m_pWnd, this);
    dlg.SetOwner(this, true);
    if (dlg.DoModal() != 1)
        return false;
    list->Model().Record(line) = cond;
    // Refills the lines from the working copy, keeping the selection.
    list->Store();
    list->Show();
    return true;
}

bool DLG_STAGE::ListCommand(const CondList& l, int id, Notify code)
{
    const ListCommandRow* row = FindListCommandRow(1, l.group);
    auto* list = Control<CTRL_LIST_CLASS<cEndCond>>(l.list);
    if (!row || !list)
        return false;
    // The editing keys reach every list of the dialog; only the list holding
    // the focus answers them.
    if (code == Notify::Accelerator && m_pWnd && m_pWnd->focusWidget() != list->Widget())
        return false;
    auto is = [&](int slot) { return id == row->keys[static_cast<std::size_t>(slot)] || id == row->menu[static_cast<std::size_t>(slot)]; };
    if (id == l.insert || is(4)) {
        if (list->Insert()) {
            int line = list->GetSel();
            if (!EditCondition(l, line))
                list->DeleteSel(line);
        }
    } else if (id == l.edit || (id == l.list && code == Notify::ListDblClk)) {
        int line = list->GetSel();
        if (line < 0)
            QApplication::beep();
        else
            EditCondition(l, line);
    } else if (id == l.remove || is(6)) {
        list->DeleteSel();
    } else if (is(0)) {
        list->CutSel();
    } else if (is(1)) {
        list->CopySel();
    } else if (is(2)) {
        list->Paste();
    } else {
        return false;
    }
    return true;
}

void DLG_STAGE::PlayMusic()
{
    auto* combo = qobject_cast<QComboBox*>(Item(IDC_BGM));
    const RecordList<cEdBgm>& bgms = TheProject().m_Database.m_Bgms;
    int index = combo ? combo->currentIndex() : -1;
    bool sounds = false;
    if (index >= 0 && index < bgms.size() && !bgms[index].m_Path.empty())
        sounds = Sound().PlayMusic(bgms[index].m_Path, bgms[index].m_nVolume, false);
    if (!sounds)
        ErrorBoxPrintf("%s", LoadFailureText().c_str());
}

void DLG_STAGE::Ok()
{
    StoreAll();
    const cStage& stage = TheProject().m_Stage;
    std::string question = ShrinkQuestion(LossOfResize(stage, m_nWidth, m_nHeight), m_nWidth, m_nHeight);
    if (!question.empty() && MessageBoxText(question, SJ("マップの縮小"), Buttons::YesNo) != Answer::Yes)
        return;
    StoreStageSettings(TheProject().m_Stage, m_Work, m_nWidth, m_nHeight);
    Sound().StopMusic();
    Close(1);
}

void DLG_STAGE::OnClose()
{
    Sound().StopMusic();
    Close(0);
}

void DLG_STAGE::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    for (const CondList& l : kCondLists)
        if (ListCommand(l, id, code))
            return;
    switch (id) {
    case IDC_PLAY: PlayMusic(); break;
    case IDC_OK: Ok(); break;
    case IDC_CANCEL:
    case IDC_ESCAPE: OnClose(); break;
    default: break;
    }
}

// ---------------------------------------------------------------------------
// The main window's command

void DLG_MAIN::CmdStageSettings(int)
{
    DLG_STAGE dlg;
    dlg.SetupWindow(DLG_STAGE::IDD, m_pWnd, this);
    dlg.SetOwner(this, true);
    if (dlg.DoModal(DO_DISABLE_OTHERS) != 1)
        return;
    // The stage was stored, resized and validated; the histories hold the old
    // size, so they go even when nothing changed.
    Editor().undo.Clear();
    RefreshUndoButtons();
    LayoutScrollBars();
    RefreshPalettes();
    MarkModified();
    Repaint();
}
