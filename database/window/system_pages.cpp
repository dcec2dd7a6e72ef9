#include "database/window/system_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <limits>
#include <tuple>

#include "app/editor_state.h"
#include "base/log.h"
#include "base/paths.h"
#include "database/chara.h"
#include "database/window/db_common.h"
#include "database/window/db_pages.h"
#include "database/window/list_dialogs.h"
#include "media/sound_output.h"
#include "project/project.h"

namespace {

Project& P() { return TheProject(); }

// A numeric edit with its arrows (ids id and id + the form's spin offset).
QWidget* NumberBox(DLG_CLASS* dlg, QWidget* parent, int id, int width)
{
    auto* box = new QWidget(parent);
    auto* h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    auto* e = new QLineEdit(box);
    e->setFixedWidth(width);
    auto* spin = new UpDownWidget(box);
    spin->setSizePolicy(spin->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    spin->setFixedHeight(e->sizeHint().height());
    h->addWidget(e);
    h->addWidget(spin);
    dlg->AddItem(id, e);
    dlg->AddItem(id + FieldForm::kSpinOffset, spin);
    return box;
}

constexpr int kIntWidth = 72;
constexpr int kRealWidth = 64;
constexpr int kRealDecimals = 2;

template <class T>
void QueueNumber(FieldForm& form, DLG_CLASS* dlg, int id, T* value, int decimals)
{
    // No range is imposed on the system record: an integer takes its type's
    // range, a real what an edit can show (a magnitude below 10^9).
    T lo = std::numeric_limits<T>::lowest(), hi = std::numeric_limits<T>::max();
    if constexpr (std::is_floating_point_v<T>) {
        lo = -999999999.0;
        hi = 999999999.0;
    }
    form.attach.push_back([=] {
        (new CTRL_KEEPVAL_CLASS<T>)->Attach(dlg, id, value, lo, hi, id + FieldForm::kSpinOffset, T(1), decimals);
    });
    form.ids.insert(id);
}

QString Utf8(const char* s) { return QString::fromUtf8(s); }

}  // namespace

// ---------------------------------------------------------------------------
// The base

cSystem& DB_SYSTEM_PAGE::Record() { return P().m_System; }

void DB_SYSTEM_PAGE::RefreshChoices()
{
    std::vector<std::string> names = NumberedNames(P().m_Database.m_PtVals, [](const cPtVal& v) { return v.m_Name; });
    for (int id : m_PartyCombos)
        SetComboItems(this, id, names);
}

DB_SYSTEM_PAGE::Row::Row(DB_SYSTEM_PAGE* page, FieldForm& form) : m_pPage(page), m_Form(form)
{
    m_pBox = new QWidget(form.Parent());
    auto* h = new QHBoxLayout(m_pBox);
    h->setContentsMargins(0, 0, 0, 0);
    h->addStretch(1);
    page->Place(form, m_pBox);
}

DB_SYSTEM_PAGE::Row& DB_SYSTEM_PAGE::Row::Add(QWidget* widget)
{
    // Before the row's closing stretch.
    auto* h = static_cast<QHBoxLayout*>(m_pBox->layout());
    h->insertWidget(h->count() - 1, widget);
    return *this;
}

DB_SYSTEM_PAGE::Row& DB_SYSTEM_PAGE::Row::Text(const QString& text) { return Add(new QLabel(text, m_pBox)); }

DB_SYSTEM_PAGE::Row& DB_SYSTEM_PAGE::Row::Int(int id, int32_t* value)
{
    Add(NumberBox(m_pPage, m_pBox, id, kIntWidth));
    QueueNumber(m_Form, m_pPage, id, value, 0);
    return *this;
}

DB_SYSTEM_PAGE::Row& DB_SYSTEM_PAGE::Row::Byte(int id, uint8_t* value)
{
    Add(NumberBox(m_pPage, m_pBox, id, 48));
    QueueNumber(m_Form, m_pPage, id, value, 0);
    return *this;
}

DB_SYSTEM_PAGE::Row& DB_SYSTEM_PAGE::Row::Real(int id, double* value)
{
    Add(NumberBox(m_pPage, m_pBox, id, kRealWidth));
    QueueNumber(m_Form, m_pPage, id, value, kRealDecimals);
    return *this;
}

DB_SYSTEM_PAGE::Row& DB_SYSTEM_PAGE::Row::Check(int id, const QString& text, int32_t* value)
{
    auto* box = new QCheckBox(text, m_pBox);
    Add(box);
    m_pPage->AddItem(id, box);
    DLG_CLASS* dlg = m_pPage;
    m_Form.attach.push_back([=] { (new CTRL_KEEPCHECK_CLASS<int32_t>)->Attach(dlg, id, value); });
    m_Form.ids.insert(id);
    return *this;
}

DB_SYSTEM_PAGE::Row& DB_SYSTEM_PAGE::Row::Combo(int id, int32_t* value, const std::vector<std::string>& items)
{
    auto* combo = new QComboBox(m_pBox);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const std::string& t : items)
        combo->addItem(ToQt(t));
    Add(combo);
    m_pPage->AddItem(id, combo);
    DLG_CLASS* dlg = m_pPage;
    // A value with no entry shows none and is kept.
    m_Form.attach.push_back([=] { (new CTRL_COMBO_CLASS<int32_t>)->Attach(dlg, id, value, 0); });
    m_Form.ids.insert(id);
    return *this;
}

DB_SYSTEM_PAGE::Row& DB_SYSTEM_PAGE::Row::PartyValue(int id, int32_t* value)
{
    Combo(id, value, {});
    auto* combo = qobject_cast<QComboBox*>(m_pPage->Item(id));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(14);
    m_pPage->m_PartyCombos.push_back(id);
    return *this;
}

DB_SYSTEM_PAGE::Row& DB_SYSTEM_PAGE::Row::Button(int id, const QString& text)
{
    auto* b = new QPushButton(text, m_pBox);
    b->setAutoDefault(false);
    Add(b);
    m_pPage->AddItem(id, b);
    DLG_CLASS* dlg = m_pPage;
    m_Form.attach.push_back([=] { (new CTRL_BUTTON_CLASS)->Attach(dlg, id); });
    return *this;
}

template <class V>
void DB_SYSTEM_PAGE::StatTable(FieldForm& form, const QString& heading, int firstId, std::array<V, 9>* values)
{
    Place(form, new QLabel(heading, form.Parent()));
    auto* box = new QWidget(form.Parent());
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(16, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    const LabelTable& stats = StatLabels();
    for (int i = 0; i < 9; ++i) {
        int row = i / 3, column = (i % 3) * 2;
        grid->addWidget(new QLabel(ToQt(stats[i]), box), row, column);
        int id = firstId + i;
        constexpr bool real = std::is_floating_point_v<V>;
        grid->addWidget(NumberBox(this, box, id, real ? kRealWidth : kIntWidth), row, column + 1);
        QueueNumber(form, this, id, &(*values)[static_cast<std::size_t>(i)], real ? kRealDecimals : 0);
    }
    grid->setColumnStretch(6, 1);
    Place(form, box);
}

void DB_SYSTEM_PAGE::Gap(FieldForm& form)
{
    auto* gap = new QWidget(form.Parent());
    gap->setFixedHeight(6);
    Place(form, gap);
}

void DB_SYSTEM_PAGE::Place(FieldForm& form, QWidget* widget)
{
    if (m_pColumn)
        m_pColumn->addWidget(widget);
    else
        form.Widget(QString(), widget);
}

void DB_SYSTEM_PAGE::BeginColumns(FieldForm& form)
{
    auto* box = new QWidget(form.Parent());
    auto* h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(24);
    for (QVBoxLayout*& column : m_pColumns) {
        column = new QVBoxLayout;
        column->setSpacing(4);
        h->addLayout(column);
    }
    h->addStretch(1);
    form.Widget(QString(), box);
    m_pColumn = m_pColumns[0];
}

void DB_SYSTEM_PAGE::SecondColumn() { m_pColumn = m_pColumns[1]; }

void DB_SYSTEM_PAGE::EndColumns()
{
    for (QVBoxLayout* column : m_pColumns)
        if (column)
            column->addStretch(1);
    m_pColumn = nullptr;
}

// ---------------------------------------------------------------------------
// システム1

DLG_DBSYSTEM::DLG_DBSYSTEM() : DB_SYSTEM_PAGE(112, QStringLiteral("システム1")) {}

void DLG_DBSYSTEM::DefineFields(FieldForm& f)
{
    cSystem& s = Record();
    {
        Row r(this, f);
        r.Text(Utf8("ゲーム名"));
        auto* name = new QLineEdit(r.Widget());
        name->setMinimumWidth(320);
        r.Add(name);
        AddItem(IDC_GAME_NAME, name);
        f.attach.push_back([this, &s] { (new CTRL_KEEPSTR_CLASS)->Attach(this, IDC_GAME_NAME, &s.m_GameName); });
        f.ids.insert(IDC_GAME_NAME);
    }
    Gap(f);
    Row(this, f)
        .Text(Utf8("ランダム能力値成長値（合計）"))
        .Int(IDC_GROWTH_MIN, &s.m_nGrowthMin)
        .Text(Utf8("～"))
        .Int(IDC_GROWTH_MAX, &s.m_nGrowthMax)
        .Text(Utf8("＋スカウト力×"))
        .Real(IDC_GROWTH_SCOUT, &s.m_dGrowthScoutFactor);
    Row(this, f).Text(QStringLiteral("    ")).Check(IDC_GROWTH_CAPPED, Utf8("(+スカウト力×□)で最大値を超えない"), &s.m_bGrowthCapped);
    Row(this, f)
        .Text(Utf8("ランダムセンス上昇値（合計）"))
        .Int(IDC_SENSE_MIN, &s.m_nSenseMin)
        .Text(Utf8("～"))
        .Int(IDC_SENSE_MAX, &s.m_nSenseMax)
        .Text(Utf8("＋スカウト力×"))
        .Real(IDC_SENSE_SCOUT, &s.m_dSenseScoutFactor);
    Row(this, f).Text(QStringLiteral("    ")).Check(IDC_SENSE_CAPPED, Utf8("(+スカウト力×□)で最大値を超えない"), &s.m_bSenseCapped);
    Gap(f);
    Row(this, f).Check(IDC_SCOUT_ENABLED, Utf8("スカウト力を有効にする"), &s.m_bScoutEnabled);
    Row(this, f).Text(Utf8("スカウト力となるパーティー変数")).PartyValue(IDC_SCOUT_VARIABLE, &s.m_nScoutVariable);
    Gap(f);
    Row(this, f)
        .Text(Utf8("能力値の成長時期"))
        .Int(IDC_PERIOD_MIN, &s.m_nGrowthPeriodMin)
        .Text(Utf8("～"))
        .Int(IDC_PERIOD_MAX, &s.m_nGrowthPeriodMax);
    Row(this, f).Text(Utf8("ランダム能力値成長値（合計）を各能力値に分配する際の最小単位")).Int(IDC_GROWTH_UNIT, &s.m_nGrowthUnit);
    Row(this, f)
        .Text(Utf8("ランダムセンス上昇値（合計）を各カテゴリーのセンスに分配する際の最小単位"))
        .Int(IDC_SENSE_UNIT, &s.m_nSenseUnit);
    Gap(f);
    Row(this, f).Check(IDC_RANDOM_CHANGE, Utf8("ランダム能力値変化をする"), &s.m_bRandomChange);
    Row(this, f).Text(Utf8("ランダム能力値変化1回の変化値")).Int(IDC_CHANGE_AMOUNT, &s.m_nRandomChangeAmount);
    Row(this, f).Text(Utf8("ランダム能力値変化を行う回数")).Int(IDC_CHANGE_COUNT, &s.m_nRandomChangeCount);
    Gap(f);
    StatTable(f, Utf8("能力値のレート"), IDC_RATE, &s.m_StatRates);
}

// ---------------------------------------------------------------------------
// システム2

DLG_DBSYSTEM_2::DLG_DBSYSTEM_2() : DB_SYSTEM_PAGE(128, QStringLiteral("システム2")) {}

void DLG_DBSYSTEM_2::DefineFields(FieldForm& f)
{
    cSystem& s = Record();
    StatTable(f, Utf8("クラスに準ずる敵の能力値の修正(%)"), IDC_ENEMY_MOD, &s.m_EnemyClassMod);
    Gap(f);
    Row(this, f)
        .Text(Utf8("獲得EX = （"))
        .Int(IDC_EXP_BASE, &s.m_nExpBase)
        .Text(Utf8("＋（敵のLV－味方のLV）×"))
        .Real(IDC_EXP_LEVEL, &s.m_dExpLevelFactor)
        .Text(Utf8("） × （１＋難易度×"))
        .Real(IDC_EXP_DIFFICULTY, &s.m_dExpDifficultyFactor)
        .Text(Utf8("）"));
    Row(this, f).Text(Utf8("さらに敵のトドメを刺したら、獲得EX×")).Real(IDC_EXP_FINISH, &s.m_dExpFinishFactor);
    Row(this, f)
        .Text(Utf8("獲得EXの下限"))
        .Int(IDC_EXP_MIN, &s.m_nExpMin)
        .Text(Utf8("上限"))
        .Int(IDC_EXP_MAX, &s.m_nExpMax);
    Gap(f);
    Row(this, f).Check(IDC_ACT_AGAIN, Utf8("敵を倒したら再行動できる"), &s.m_bActAgainOnKill);
    Row(this, f).Check(IDC_AUTO_TURN_END, Utf8("全ての味方の行動が終わったら自動的にターンを終了する"), &s.m_bAutoTurnEnd);
    Row(this, f).Check(IDC_LEADER, Utf8("リーダー制を有効にする（リーダーの強制参加、リーダーマークの表示など）"),
                       &s.m_bLeaderRule);
    Gap(f);
    Row(this, f).Text(Utf8("メインの所持金となるパーティー変数")).PartyValue(IDC_MONEY_VARIABLE, &s.m_nMoneyVariable);
    Row(this, f)
        .Text(Utf8("味方の雇用費"))
        .Int(IDC_HIRE_COST, &s.m_nHireCost)
        .Text(Utf8("＋キャラのLV×"))
        .Int(IDC_HIRE_PER_LEVEL, &s.m_nHireCostPerLevel)
        .Text(Utf8("対象パーティー変数"))
        .PartyValue(IDC_HIRE_VARIABLE, &s.m_nHireVariable);
    Row(this, f).Check(IDC_REVIVE, Utf8("味方が死んでもステージクリア後に復活"), &s.m_bReviveAfterStage);
    Row(this, f)
        .Text(Utf8("味方の復活費"))
        .Int(IDC_REVIVE_COST, &s.m_nReviveCost)
        .Text(Utf8("＋キャラのLV×"))
        .Int(IDC_REVIVE_PER_LEVEL, &s.m_nReviveCostPerLevel)
        .Text(Utf8("対象パーティー変数"))
        .PartyValue(IDC_REVIVE_VARIABLE, &s.m_nReviveVariable);
    Row(this, f)
        .Text(Utf8("放出時の売値"))
        .Int(IDC_RELEASE_PRICE, &s.m_nReleasePrice)
        .Text(Utf8("＋キャラのLV×"))
        .Int(IDC_RELEASE_PER_LEVEL, &s.m_nReleasePricePerLevel)
        .Text(Utf8("対象パーティー変数"))
        .PartyValue(IDC_RELEASE_VARIABLE, &s.m_nReleaseVariable);
    Row(this, f).Text(Utf8("スキルの売値修正(%)")).Int(IDC_SKILL_SALE, &s.m_nSkillSaleMod);
}

// ---------------------------------------------------------------------------
// システム3

DLG_DBSYSTEM_3::DLG_DBSYSTEM_3() : DB_SYSTEM_PAGE(172, QStringLiteral("システム3")) {}

void DLG_DBSYSTEM_3::DefineFields(FieldForm& f)
{
    cSystem& s = Record();
    BeginColumns(f);
    Row(this, f).Text(Utf8("戦闘モード")).Combo(IDC_BATTLE_MODE, &s.m_nBattleMode, LabelTexts(BattleModeLabels()));
    Row(this, f).Text(Utf8("戦闘時間")).Int(IDC_BATTLE_TIME, &s.m_nBattleTime);

    // The attacker's and the defender's values side by side.
    auto* pairs = new QWidget(f.Parent());
    auto* grid = new QGridLayout(pairs);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(Utf8("突撃側"), pairs), 0, 1);
    grid->addWidget(new QLabel(Utf8("迎撃側"), pairs), 0, 2);
    struct PairRow {
        const char* label;
        int id;
        std::array<int32_t, 2>* values;
    };
    const PairRow rows[] = {
        {"初期行動値", IDC_INIT_ACTION, &s.m_InitAction},
        {"敏捷の修正(%)", IDC_AGILITY_MOD, &s.m_AgilityMod},
        {"基本行動回数", IDC_BASE_ACTIONS, &s.m_BaseActions},
        {"敏捷差", IDC_AGILITY_PER_ACTION, &s.m_AgilityPerAction},
        {"行動回数の上限", IDC_ACTION_LIMIT, &s.m_ActionLimit},
    };
    int line = 1;
    for (const PairRow& r : rows) {
        grid->addWidget(new QLabel(Utf8(r.label), pairs), line, 0);
        for (int side = 0; side < 2; ++side) {
            grid->addWidget(NumberBox(this, pairs, r.id + side, kIntWidth), line, 1 + side);
            QueueNumber(f, this, r.id + side, &(*r.values)[static_cast<std::size_t>(side)], 0);
        }
        ++line;
    }
    // Derived from the battle time, the initial values, the agility modifiers
    // and the defender's wait: shown, never typed.
    grid->addWidget(new QLabel(Utf8("行動回数（参考用）"), pairs), line, 0);
    for (int side = 0; side < 2; ++side) {
        auto* e = new QLineEdit(pairs);
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        e->setFixedWidth(kIntWidth);
        AddItem(IDC_REF_ACTIONS + side, e);
        grid->addWidget(e, line, 1 + side, Qt::AlignLeft);
    }
    grid->setColumnStretch(3, 1);
    Place(f, pairs);
    Row(this, f).Check(IDC_DEFENDER_WAITS, Utf8("突撃側が1回行動するまで、迎撃側の行動値を加算しない"), &s.m_bDefenderWaits);
    Row(this, f).Text(Utf8("敏捷の基本値")).Int(IDC_AGILITY_BASE, &s.m_nAgilityBase);
    Row(this, f).Text(Utf8("ターン切替モード")).Int(IDC_TURN_SWITCH, &s.m_nTurnSwitchMode);
    Row(this, f).Check(IDC_SHOW_ORDER, Utf8("行動順情報を表示"), &s.m_bShowActionOrder);

    SecondColumn();
    Row(this, f).Text(Utf8("命中率(%)　＝　基本命中率＋（技能－相手の反応）×")).Real(IDC_HIT, &s.m_dHitFactor);
    Row(this, f).Text(Utf8("必殺率(%)　＝　基本必殺率＋（技能－相手の反応）×")).Real(IDC_CRITICAL, &s.m_dCriticalFactor);
    Row(this, f).Text(Utf8("ダメージ　＝　スキルの威力＋攻撃（魔力）×")).Real(IDC_ATTACK, &s.m_dAttackFactor);
    Row(this, f).Text(QStringLiteral("　　　　　　　")).Text(Utf8("－相手の守備（抵抗）×")).Real(IDC_DEFENCE, &s.m_dDefenceFactor);
    Row(this, f)
        .Text(Utf8("ダメージの修正(%)"))
        .Int(IDC_DAMAGE_MIN, &s.m_nDamageMin)
        .Text(Utf8("～"))
        .Int(IDC_DAMAGE_MAX, &s.m_nDamageMax);
    Row(this, f).Text(Utf8("戦闘中のHP回復値の修正(%)")).Int(IDC_HEAL, &s.m_nHealMod);
    Row(this, f).Check(IDC_MISS_NO_COST, Utf8("スキルが命中しなければSPや使用回数は消費しない"), &s.m_bMissNoCost);
    Row(this, f).Check(IDC_GUARD_NO_EVADE, Utf8("「ダメージ軽減」スキル使用中は攻撃を回避しない"), &s.m_bGuardNoEvade);
    Row(this, f).Text(Utf8("行動直前のスキル名の表示時間(1/60s)")).Int(IDC_NAME_TIME, &s.m_nSkillNameTime);
    Row(this, f).Check(IDC_NAME_UNTIL_END, Utf8("スキル名をエフェクト終了まで表示し続ける"), &s.m_bSkillNameUntilEnd);
    Gap(f);
    Row(this, f).Text(Utf8("難易度値になるパーティー変数")).PartyValue(IDC_DIFFICULTY_VARIABLE, &s.m_nDifficultyVariable);
    Row(this, f).Text(Utf8("初期値")).Int(IDC_DIFFICULTY_INIT, &s.m_nDifficultyInit);
    Row(this, f).Check(IDC_ENEMY_UP_PERCENT, Utf8("％で指定↓"), &s.m_bEnemyUpPercent);
    StatTable(f, Utf8("敵の能力上昇値"), IDC_ENEMY_UP, &s.m_EnemyUp);
    EndColumns();
}

void DLG_DBSYSTEM_3::AfterShow()
{
    const cSystem& s = Record();
    for (int side = 0; side < 2; ++side)
        if (auto* e = qobject_cast<QLineEdit*>(Item(IDC_REF_ACTIONS + side))) {
            char text[64];
            std::snprintf(text, sizeof text, "%.2f", s.m_RefActions[static_cast<std::size_t>(side)]);
            e->setText(QString::fromLatin1(text));
        }
}

void DLG_DBSYSTEM_3::AfterFieldChange(int id)
{
    cSystem& s = Record();
    if (id == IDC_BATTLE_MODE) {
        s.SetBattleMode(s.m_nBattleMode);
        return;
    }
    bool derived = id == IDC_BATTLE_TIME || id == IDC_DEFENDER_WAITS || id == IDC_INIT_ACTION ||
                   id == IDC_INIT_ACTION + 1 || id == IDC_AGILITY_MOD || id == IDC_AGILITY_MOD + 1;
    if (derived) {
        s.UpdateDerived();
        AfterShow();
    }
}

// ---------------------------------------------------------------------------
// システム4

DLG_DBSYSTEM_4::DLG_DBSYSTEM_4() : DB_SYSTEM_PAGE(191, QStringLiteral("システム4")) {}

void DLG_DBSYSTEM_4::DefineFields(FieldForm& f)
{
    cSystem& s = Record();
    BeginColumns(f);
    // The system sounds: a row each, the values and switches on the rows of
    // the entries their lists hold (five in a new project).
    auto* sounds = new QWidget(f.Parent());
    auto* grid = new QGridLayout(sounds);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    const int valueRows = std::clamp<int>(
        static_cast<int>(std::max({s.m_SoundValues.size(), s.m_SoundSwitches.size(), std::size_t(kSystemSoundValueCount)})),
        0, kSystemSoundCount);
    grid->addWidget(new QLabel(Utf8("値"), sounds), 0, 4);
    grid->addWidget(new QLabel(Utf8("スイッチ"), sounds), 0, 5);
    for (int i = 0; i < kSystemSoundCount; ++i) {
        const std::size_t index = static_cast<std::size_t>(i);
        const int line = i + 1;
        char label[32];
        std::snprintf(label, sizeof label, "効果音%d", i + 1);
        grid->addWidget(new QLabel(Utf8(label), sounds), line, 0);
        auto* path = new QLineEdit(sounds);
        path->setMinimumWidth(230);
        grid->addWidget(path, line, 1);
        const int pathId = IDC_SOUND_PATH + i;
        AddItem(pathId, path);
        f.attach.push_back([this, &s, pathId, index] {
            auto* c = new CTRL_ENTRY_CLASS<CTRL_KEEPSTR_CLASS, std::string>(VectorEntry(&s.m_SoundFiles, index));
            c->Attach(this, pathId, &c->proxy, 260);
        });
        f.ids.insert(pathId);
        for (auto [id, text, column] : {std::tuple{IDC_SOUND_BROWSE + i, "参照", 2}, std::tuple{IDC_SOUND_PLAY + i, "再生", 3}}) {
            auto* b = new QPushButton(Utf8(text), sounds);
            b->setAutoDefault(false);
            b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text()) + 24);
            grid->addWidget(b, line, column);
            AddItem(id, b);
            f.attach.push_back([this, id = id] { (new CTRL_BUTTON_CLASS)->Attach(this, id); });
        }
        if (i >= valueRows)
            continue;
        const int valueId = IDC_SOUND_VALUE + i;
        grid->addWidget(NumberBox(this, sounds, valueId, kIntWidth), line, 4);
        f.attach.push_back([this, &s, valueId, index] {
            auto* c = new CTRL_ENTRY_CLASS<CTRL_KEEPVAL_CLASS<int32_t>, int32_t>(VectorEntry(&s.m_SoundValues, index));
            c->Attach(this, valueId, &c->proxy, INT32_MIN, INT32_MAX, valueId + FieldForm::kSpinOffset);
        });
        f.ids.insert(valueId);
        const int switchId = IDC_SOUND_SWITCH + i;
        auto* check = new QCheckBox(sounds);
        grid->addWidget(check, line, 5, Qt::AlignHCenter);
        AddItem(switchId, check);
        f.attach.push_back([this, &s, switchId, index] {
            auto* c = new CTRL_ENTRY_CLASS<CTRL_KEEPCHECK_CLASS<uint8_t>, uint8_t>(VectorEntry(&s.m_SoundSwitches, index));
            c->Attach(this, switchId, &c->proxy);
        });
        f.ids.insert(switchId);
    }
    grid->setColumnStretch(6, 1);
    Place(f, sounds);

    SecondColumn();
    Row(this, f)
        .Text(Utf8("透過色(R,G,B)"))
        .Byte(IDC_RED, &s.m_nColorR)
        .Byte(IDC_GREEN, &s.m_nColorG)
        .Byte(IDC_BLUE, &s.m_nColorB);
    Gap(f);

    // The element and category lists, each edited in its own dialog; their
    // names shown beside the button.
    for (auto [button, names, text] : {std::tuple{IDC_ELEMS, IDC_ELEM_NAMES, "属性の種類"},
                                       std::tuple{IDC_CATEGS, IDC_CATEG_NAMES, "カテゴリー"}}) {
        Row r(this, f);
        r.Button(button, Utf8(text));
        auto* label = new QLabel(r.Widget());
        label->setWordWrap(true);
        label->setFixedWidth(200);
        AddItem(names, label);
        r.Add(label);
    }
    Gap(f);
    // Two choices of the game whose items are not known here: their numbers.
    Row(this, f).Text(Utf8("選択値1")).Int(IDC_CHOICE_1595, &s.m_nPage4Choice2);
    Row(this, f).Text(Utf8("選択値2")).Int(IDC_CHOICE_1596, &s.m_nPage4Choice);
    Row(this, f).Check(IDC_EVEN_SPACING, Utf8("文字間を均一にする　※非推奨"), &s.m_bEvenSpacing);
    EndColumns();
}

namespace {

template <class T>
QString NameLine(const RecordList<T>& list)
{
    QStringList names;
    for (const T& r : list)
        names << ToQt(r.m_Name);
    return QStringLiteral("%1: %2").arg(list.size()).arg(names.join(QStringLiteral("、")));
}

}  // namespace

void DLG_DBSYSTEM_4::AfterShow()
{
    const cSystem& s = Record();
    if (auto* l = qobject_cast<QLabel*>(Item(IDC_ELEM_NAMES)))
        l->setText(NameLine(s.m_Elems));
    if (auto* l = qobject_cast<QLabel*>(Item(IDC_CATEG_NAMES)))
        l->setText(NameLine(s.m_Categs));
}

void DLG_DBSYSTEM_4::OnPageCommand(int id, Notify code)
{
    if (code != Notify::Click)
        return;
    cSystem& s = Record();
    if (id == IDC_ELEMS) {
        DLG_ELEM dlg(s.m_Elems);
        if (dlg.Run(this) == 1)
            RecordChanged();
    } else if (id == IDC_CATEGS) {
        DLG_CATEG dlg(s.m_Categs);
        if (dlg.Run(this) == 1)
            RecordChanged();
    } else if (id >= IDC_SOUND_BROWSE && id < IDC_SOUND_BROWSE + kSystemSoundCount) {
        BrowseSound(id - IDC_SOUND_BROWSE);
    } else if (id >= IDC_SOUND_PLAY && id < IDC_SOUND_PLAY + kSystemSoundCount) {
        PlaySound(id - IDC_SOUND_PLAY);
    }
}

void DLG_DBSYSTEM_4::BrowseSound(int index)
{
    std::vector<std::string>& files = Record().m_SoundFiles;
    if (index < 0 || index >= static_cast<int>(files.size()))
        return;
    FileQuestion q;
    q.title = SJ("効果音の選択");
    q.folder = "wave";
    q.filter = {{"WaveFile ( *.wav )", "*.wav"}};
    q.defaultExt = "wav";
    std::string path;
    FileChooser& choose = DatabaseFileChooser();
    bool chosen = choose ? choose(path, q) : OpenFileDialog(this, path, q.folder, q.title, q.filter, q.defaultExt) != 0;
    if (!chosen)
        return;
    if (!MakeRelative(path)) {
        ErrorBoxPrintf("%s", SJ("ヴァントール本体が存在するドライブと選んだファイルが存在するドライブとが異なります！\n"
                                "プロジェクトのフォルダーの中のファイルを選んで下さい。")
                                 .c_str());
        return;
    }
    files[static_cast<std::size_t>(index)] = path.substr(0, 260);
    RecordChanged();
}

void DLG_DBSYSTEM_4::PlaySound(int index)
{
    const std::vector<std::string>& files = Record().m_SoundFiles;
    if (index < 0 || index >= static_cast<int>(files.size()))
        return;
    if (!Sound().PlayEffect(files[static_cast<std::size_t>(index)]))
        ErrorBoxPrintf("%s", LoadFailureText().c_str());
}

void DLG_DBSYSTEM_4::StopPage() { Sound().StopEffect(); }
