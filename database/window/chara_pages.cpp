#include "database/window/chara_pages.h"

#include <type_traits>

#include "database/window/chara_dialogs.h"
#include "database/window/db_common.h"
#include "project/project.h"

namespace {

Project& P() { return TheProject(); }

QLabel* ValueLabel(QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setMinimumWidth(64);
    l->setFrameShape(QFrame::StyledPanel);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

}  // namespace

// ---------------------------------------------------------------------------
// What both pages share

template <>
std::vector<cFriend>& DB_CHARA_PAGE<cFriend>::Records()
{
    return P().m_Friends.items();
}

template <>
std::vector<cEnemy>& DB_CHARA_PAGE<cEnemy>::Records()
{
    return P().m_Enemies.items();
}

template <class T>
template <class V>
void DB_CHARA_PAGE<T>::Number(FieldForm& f, int id, const QString& label, V* value, V minimum, V maximum,
                              QWidget* before)
{
    QWidget* number = DbNumber(this, f.Parent(), id, 80);
    f.Widget(label, before ? WidgetRow(f.Parent(), {before, number}) : number);
    f.attach.push_back([=, this] { AttachNum<V>(this, id, value, minimum, maximum); });
    f.ids.insert(id);
}

template <class T>
void DB_CHARA_PAGE<T>::DefineFields(FieldForm& f)
{
    T& r = this->m_Current;
    f.Text(IDC_NAME, QStringLiteral("名前"), &r.m_Name)->setMinimumWidth(160);
    f.Check(IDC_RANDOM_NAME, QStringLiteral("ランダムで名前を決定"), &r.m_bRandomName);
    f.Note(QStringLiteral("ランダム名前リストファイル"))->setWordWrap(false);
    f.Combo(IDC_NAME_FILE, QString(), &r.m_nRandomNameFile);
    f.Combo(IDC_CLASS, QStringLiteral("クラス"), &r.m_nClass);
    Number<int32_t>(f, IDC_LEVEL, QStringLiteral("レベル"), &r.m_nLevel, 1, 99);
    Number<int32_t>(f, IDC_TIMING, QStringLiteral("成長時期"), &r.m_nGrowthTiming, -10, 10);
    f.Note(QStringLiteral("-10：早熟　0：普通　10：晩成"))->setWordWrap(false);
    f.Check(IDC_RANDOM_GROWTH, QStringLiteral("ランダム能力値成長"), &r.m_bRandomGrowth);
    if constexpr (std::is_same_v<T, cFriend>)
        f.Check(IDC_RANDOM_SENSE, QStringLiteral("ランダムセンス上昇"), &r.m_bRandomSense);
    f.Check(IDC_RANDOM_SKILL, QStringLiteral("ランダムスキル習得"), &r.m_bRandomSkill);
    f.Button(IDC_LEARN, QStringLiteral("習得スキル"), true);
    DefineSideFields(f);

    // The nine stats, stored values and what the game makes of them, beside
    // every row of the inputs above.
    auto* panel = new QWidget(f.Parent());
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(12, 0, 0, 0);
    auto* table = new QWidget(panel);
    column->addWidget(table);
    auto* grid = new QGridLayout(table);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    const char* const heads[] = {"初期値", "最終値", "ゲーム値", "参考値"};
    for (int c = 0; c < 4; ++c)
        grid->addWidget(new QLabel(QString::fromUtf8(heads[c]), table), 0, c + 1);
    for (int i = 0; i < kStatCount; ++i) {
        auto s = static_cast<std::size_t>(i);
        grid->addWidget(new QLabel(ToQt(StatLabels()[i]), table), i + 1, 0);
        const int ids[2] = {IDC_INITIAL + 2 * i, IDC_FINAL + 2 * i};
        int32_t* values[2] = {&r.m_InitialStats[s], &r.m_FinalStats[s]};
        for (int c = 0; c < 2; ++c) {
            grid->addWidget(DbNumber(this, table, ids[c], 56), i + 1, c + 1);
            int id = ids[c];
            int32_t* value = values[c];
            f.attach.push_back([=, this] { AttachNum<int32_t>(this, id, value, 0, 999999); });
            f.ids.insert(id);
        }
        m_Game[s] = ValueLabel(table);
        m_Reference[s] = ValueLabel(table);
        grid->addWidget(m_Game[s], i + 1, 3);
        grid->addWidget(m_Reference[s], i + 1, 4);
    }
    auto* note = new QLabel(QStringLiteral("初期値 0：クラスの値を使う　最終値 0：成長しない\n"
                                           "ゲーム値：初期値 → 最終値（クラスを反映）\n"
                                           "参考値：このレベルでの値（成長の乱数は平均）"),
                            panel);
    column->addWidget(note);
    column->addStretch(1);
    f.Grid()->addWidget(panel, 0, 2, f.Grid()->rowCount(), 1, Qt::AlignTop);
}

template <class T>
void DB_CHARA_PAGE<T>::RefreshChoices()
{
    // The name files are listed again: files added while the editor runs count.
    LoadRandomNames();
    SetComboItems(this, IDC_NAME_FILE, P().m_RandomNames);
    SetComboItems(this, IDC_CLASS, NumberedNames(P().m_Classes));
    RefreshSideChoices();
}

template <class T>
void DB_CHARA_PAGE<T>::AfterShow()
{
    ShowValues();
    ShowSide();
}

template <class T>
void DB_CHARA_PAGE<T>::AfterFieldChange(int id)
{
    bool stat = id >= IDC_INITIAL && id < IDC_FINAL + 2 * kStatCount;
    if (stat || id == IDC_CLASS || id == IDC_LEVEL || id == IDC_TIMING)
        ShowValues();
    else
        ShowSide();
}

template <class T>
void DB_CHARA_PAGE<T>::ShowValues()
{
    CharaPageValues v;
    bool known = CharaValues(this->m_Current, P().m_Classes, v);
    for (std::size_t i = 0; i < kStatCount; ++i) {
        m_Game[i]->setText(known ? QStringLiteral("%1 → %2").arg(v.game.initial[i]).arg(v.game.final[i]) : QString());
        m_Reference[i]->setText(known ? QString::number(v.reference[i]) : QString());
    }
}

template <class T>
void DB_CHARA_PAGE<T>::OnPageCommand(int id, Notify code)
{
    if (id == IDC_LEARN && code == Notify::Click) {
        DLG_LEARNSKILL dlg(this->m_Current.m_LearnSkills, P().m_SkillLists);
        if (dlg.Run(this) == 1)
            this->CurrentChanged();
        return;
    }
    SideCommand(id, code);
}

template class DB_CHARA_PAGE<cFriend>;
template class DB_CHARA_PAGE<cEnemy>;

// ---------------------------------------------------------------------------
// Page 2: allies

DLG_DBFRIEND::DLG_DBFRIEND() : DB_CHARA_PAGE(110, QStringLiteral("　味方キャラ　")) {}

void DLG_DBFRIEND::DefineSideFields(FieldForm& f)
{
    f.Check(IDC_SHOP, QStringLiteral("最初から仲間屋へ登録"), &m_Current.m_bShopFromStart);
    f.Check(IDC_HIRE_AGAIN, QStringLiteral("何回でも雇える"), &m_Current.m_bHireAgain);
    f.Check(IDC_NO_DISMISS, QStringLiteral("放出不可能"), &m_Current.m_bNoDismiss);
    f.Check(IDC_REGENERATE, QStringLiteral("ステージクリアごとに仲間屋にいるキャラを再生成"), &m_Current.m_bRegenerate);
}

// ---------------------------------------------------------------------------
// Page 3: enemies

DLG_DBENEMY::DLG_DBENEMY() : DB_CHARA_PAGE(127, QStringLiteral("　敵キャラ　")) {}

void DLG_DBENEMY::DefineSideFields(FieldForm& f)
{
    f.Text(IDC_DESCRIPTION, QStringLiteral("説明"), &m_Current.m_Description);
    QCheckBox* fixed = DbCheck(this, f.Parent(), IDC_FIXED_EXP, "獲得EXを固定 →");
    f.attach.push_back([this] { AttachCheck<int32_t>(this, IDC_FIXED_EXP, &m_Current.m_bFixedExp); });
    f.ids.insert(IDC_FIXED_EXP);
    Number<int32_t>(f, IDC_EXP, QString(), &m_Current.m_nFixedExp, 0, 9999, fixed);
    // The party value that receives the reward, then the amount.
    QComboBox* partyValue = DbCombo(this, f.Parent(), IDC_REWARD_VALUE);
    f.attach.push_back([this] {
        AttachCombo<int32_t>(this, IDC_REWARD_VALUE, &m_Current.m_nRewardPartyVal, std::vector<std::string>());
    });
    f.ids.insert(IDC_REWARD_VALUE);
    Number<int32_t>(f, IDC_REWARD, QStringLiteral("撃破時の獲得金"), &m_Current.m_nReward, 0, 999999, partyValue);
    DbCombo(this, f.Parent(), IDC_TRAINING);
    f.Widget(QStringLiteral("トレーニング"), Item(IDC_TRAINING));
    f.attach.push_back([this] { AttachCombo(this, IDC_TRAINING, &m_Current.m_nTraining, EnemyTrainingLabels()); });
    f.ids.insert(IDC_TRAINING);
    f.Button(IDC_BATTLE_AI, QStringLiteral("戦闘AI"), true);
}

void DLG_DBENEMY::RefreshSideChoices()
{
    Control<CTRL_REFCOMBO_CLASS<int32_t>>(IDC_REWARD_VALUE)->SetItems(NumberedNames(P().m_Database.m_PtVals));
}

void DLG_DBENEMY::ShowSide()
{
    bool fixed = m_Current.m_bFixedExp != 0;
    for (int id : {int(IDC_EXP), IDC_EXP + 1})
        Item(id)->setEnabled(fixed);
}

bool DLG_DBENEMY::SideCommand(int id, Notify code)
{
    if (id != IDC_BATTLE_AI || code != Notify::Click)
        return false;
    DLG_BATTLEAI dlg(m_Current.m_BattleAI, P().m_SkillLists);
    if (dlg.Run(this) == 1)
        CurrentChanged();
    return true;
}
