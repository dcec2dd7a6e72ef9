#include "database/window/skill_dialog.h"

#include <QGroupBox>
#include <QVBoxLayout>
#include <algorithm>

#include "database/chara.h"
#include "project/project.h"
#include "ui/select_graphic.h"

namespace {

// Rows of label and input in a grid, filled top to bottom.
class Rows {
public:
    Rows(QWidget* parent) : m_pParent(parent), m_pGrid(new QGridLayout(parent)) {}
    void Add(const char* label, QWidget* input)
    {
        m_pGrid->addWidget(DbLabel(m_pParent, label), m_nRow, 0);
        m_pGrid->addWidget(input, m_nRow++, 1);
    }
    void Add(QWidget* wide) { m_pGrid->addWidget(wide, m_nRow++, 0, 1, 2); }
    void AddPair(const char* label, QWidget* first, const char* between, QWidget* second)
    {
        auto* row = new QHBoxLayout;
        row->addWidget(first);
        row->addWidget(DbLabel(m_pParent, between));
        row->addWidget(second);
        row->addStretch();
        m_pGrid->addWidget(DbLabel(m_pParent, label), m_nRow, 0);
        m_pGrid->addLayout(row, m_nRow++, 1);
    }
    QWidget* Parent() const { return m_pParent; }

private:
    QWidget* m_pParent;
    QGridLayout* m_pGrid;
    int m_nRow = 0;
};

QGroupBox* Box(QWidget* parent, const char* title) { return new QGroupBox(QString::fromUtf8(title), parent); }

std::vector<std::string> KindTexts()
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < kSkillKinds.size(); ++i)
        out.push_back(SkillKindLabel(static_cast<int32_t>(i)));
    return out;
}

template <class T>
std::vector<std::string> Names(const RecordList<T>& list)
{
    std::vector<std::string> out;
    for (const T& r : list)
        out.push_back(r.m_Name);
    return out;
}

}  // namespace

SkillSheetChoices SkillSheetChoices::FromProject(int group)
{
    Project& p = TheProject();
    SkillSheetChoices c;
    if (group >= 0 && group < p.m_SkillLists.size())
        c.categories = NumberedNames(p.m_SkillLists[group].m_Categs);
    c.classes = NumberedNames(p.m_Classes);
    c.compatiTypes = NumberedNames(p.m_Database.m_CompatiTypes);
    c.elements = NumberedNames(p.m_System.m_Elems);
    c.charaAnims = NumberedNames(p.m_Database.m_CharaAnims);
    c.effectAnims = NumberedNames(p.m_Database.m_EffectAnims);
    // The sound list's first entry stands for no sound; the others count from 1.
    std::vector<std::string> sounds = Names(p.m_Database.m_Sounds);
    int count = static_cast<int>(sounds.size());
    for (int i = 0; i < count; ++i)
        c.sounds.push_back(NumberedLine(i, std::max(count - 1, 1), sounds[static_cast<std::size_t>(i)]));
    return c;
}

DLG_DBSKILL::DLG_DBSKILL(cSkill& skill, SkillSheetChoices choices) : m_Target(skill), m_Choices(std::move(choices))
{
    SetTitle(QStringLiteral("スキル"));
    chooseGraphic = [this](int kind, int& value) { return DLG_SELECTGRAPHIC::Run(this, kind, value); };
}

void DLG_DBSKILL::Build(QDialog* d)
{
    auto* layout = new QVBoxLayout(d);
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* middle = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addLayout(right);
    layout->addLayout(columns);

    QGroupBox* basic = Box(d, "基本");
    Rows b(basic);
    b.Add("スキル名", DbText(this, basic, IDC_NAME, 120));
    b.Add("説明", DbText(this, basic, IDC_DESC, 260));
    b.Add(DbCheck(this, basic, IDC_UNUSED, "未使用"));
    b.Add("種類", DbCombo(this, basic, IDC_KIND));
    b.Add("カテゴリー", DbCombo(this, basic, IDC_CATEGORY));
    b.Add("値段", DbNumber(this, basic, IDC_PRICE));
    b.Add(DbLabel(basic, "☆「0」なら売却不可"));
    b.Add("ストックの最大所持数", DbNumber(this, basic, IDC_STOCK_MAX));
    b.Add(DbCheck(this, basic, IDC_CONSUMED, "ストックから使用すると消滅"));
    b.Add("リソースタイプ", DbCombo(this, basic, IDC_RESOURCE));
    b.Add("消費SP", DbNumber(this, basic, IDC_SP_COST));
    b.Add("回数制限", DbNumber(this, basic, IDC_USE_LIMIT));
    b.Add(DbCheck(this, basic, IDC_UNLIMITED, "無制限"));
    b.Add("効果音", DbCombo(this, basic, IDC_SOUND));
    left->addWidget(basic);

    QGroupBox* learn = Box(d, "習得");
    Rows l(learn);
    l.Add("必要センス(習得条件)", DbNumber(this, learn, IDC_SENSE));
    l.Add("習得クラス", DbCombo(this, learn, IDC_LEARN_CLASS));
    l.Add(DbCheck(this, learn, IDC_UNFORGET, "忘れる不可"));
    l.AddPair("習得確率(%)", DbNumber(this, learn, IDC_LEARN_CHANCE), "＋センス×", DbNumber(this, learn, IDC_SENSE_BONUS));
    l.AddPair("習得LV", DbNumber(this, learn, IDC_LEVEL_MIN), "～", DbNumber(this, learn, IDC_LEVEL_MAX));
    l.Add("－センス×", DbNumber(this, learn, IDC_LEVEL_SENSE));
    l.AddPair("ランク", DbNumber(this, learn, IDC_RANK_MIN), "～", DbNumber(this, learn, IDC_RANK_MAX));
    l.Add("レアリティ", DbNumber(this, learn, IDC_RARITY));
    l.Add(DbCheck(this, learn, IDC_USE_SORT, "ソート番号（店用）"));
    l.Add("", DbNumber(this, learn, IDC_SORT_NO));
    left->addWidget(learn);

    QGroupBox* use = Box(d, "使用");
    Rows u(use);
    u.Add(DbCheck(this, use, IDC_MAP_SKILL, "マップパートの「スキル」で使用可"));
    u.Add(DbCheck(this, use, IDC_MAP_STOCK, "マップパートの「ストック」で使用可"));
    u.Add(DbCheck(this, use, IDC_BATTLE_SKILL, "戦闘パートの「スキル」で使用可"));
    u.Add(DbCheck(this, use, IDC_BATTLE_QUICK, "戦闘パートの「クイック」で使用可"));
    u.Add(DbCheck(this, use, IDC_BATTLE_STOCK, "戦闘パートの「ストック」で使用可"));
    u.Add("対象", DbCombo(this, use, IDC_TARGET));
    middle->addWidget(use);

    QGroupBox* effect = Box(d, "効果");
    Rows e(effect);
    e.Add("対応する武器スキル", DbCombo(this, effect, IDC_WEAPON_SKILL));
    e.Add("相性タイプ", DbCombo(this, effect, IDC_COMPATI));
    e.Add(DbCheck(this, effect, IDC_W_COMPATI, "武器スキルの相性タイプと同じ"));
    e.Add("属性", DbCombo(this, effect, IDC_ELEMENT));
    e.Add("属性値", DbNumber(this, effect, IDC_ELEM_VALUE));
    e.Add(DbCheck(this, effect, IDC_W_ELEMENT, "武器スキルの属性と同じ"));
    e.Add("命中率(%)", DbNumber(this, effect, IDC_HIT));
    e.Add(DbCheck(this, effect, IDC_W_HIT, "武器スキルの命中率と同じ"));
    e.Add("効果値", DbNumber(this, effect, IDC_EFFECT_VALUE, 90));
    e.Add("ダメージ修正(%)", DbNumber(this, effect, IDC_DAMAGE));
    e.Add("必殺率(%)", DbNumber(this, effect, IDC_CRITICAL));
    e.Add(DbCheck(this, effect, IDC_W_CRITICAL, "武器スキルの必殺率を加える"));
    e.Add(DbCheck(this, effect, IDC_IGNORE_STATS, "キャラの能力値が効果に影響しない"));
    e.AddPair("特殊効果 ※未使用", DbCombo(this, effect, IDC_SPECIAL), "", DbNumber(this, effect, IDC_SPECIAL_VALUE));
    middle->addWidget(effect);

    QGroupBox* sub = Box(d, "サブ効果");
    auto* subGrid = new QGridLayout(sub);
    subGrid->addWidget(DbLabel(sub, "サブ効果A"), 0, 1);
    subGrid->addWidget(DbLabel(sub, "サブ効果B"), 0, 2);
    subGrid->addWidget(DbCheck(this, sub, IDC_SUB_A_PERCENT, "％で指定↓"), 1, 1);
    subGrid->addWidget(DbCheck(this, sub, IDC_SUB_B_PERCENT, "％で指定↓"), 1, 2);
    for (int i = 0; i < kStatCount; ++i) {
        subGrid->addWidget(new QLabel(ToQt(StatLabels()[i]), sub), i + 2, 0);
        subGrid->addWidget(DbNumber(this, sub, IDC_SUB_A + 2 * i, 80), i + 2, 1);
        subGrid->addWidget(DbNumber(this, sub, IDC_SUB_B + 2 * i, 80), i + 2, 2);
    }
    right->addWidget(sub);

    QGroupBox* look = Box(d, "エフェクト");
    Rows k(look);
    k.Add(DbCheck(this, look, IDC_W_EFFECT, "武器スキルのエフェクトと同じ"));
    auto* effectRow = new QWidget(look);
    auto* effectLayout = new QHBoxLayout(effectRow);
    effectLayout->setContentsMargins(0, 0, 0, 0);
    effectLayout->addWidget(DbNumber(this, effectRow, IDC_EFFECT));
    effectLayout->addWidget(DbButton(this, effectRow, IDC_SELECT_EFFECT, "一覧"));
    k.Add("エフェクト", effectRow);
    k.Add("キャラアニメ", DbCombo(this, look, IDC_CHARA_ANIM));
    k.Add("エフェクトアニメ", DbCombo(this, look, IDC_EFFECT_ANIM));
    k.Add("拡大率(%)", DbNumber(this, look, IDC_SCALE));
    k.Add("透明度(255で不透明)", DbNumber(this, look, IDC_OPACITY));
    k.Add("色相", DbNumber(this, look, IDC_HUE));
    k.Add("彩度", DbNumber(this, look, IDC_SATURATION));
    k.Add("明度", DbNumber(this, look, IDC_BRIGHTNESS));
    right->addWidget(look);

    left->addStretch();
    middle->addStretch();
    right->addStretch();
    layout->addLayout(DbOkCancel(this, d));
}

void DLG_DBSKILL::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_Work = m_Target;
    cSkill& s = m_Work;
    // Names are limited in characters: two bytes each in CP932.
    (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_NAME, &s.m_Name, 16, 16, 1);
    (new CTRL_EDITSTR_CLASS)->Attach(this, IDC_DESC, &s.m_Description, 76, 76, 1);
    AttachCheck(this, IDC_UNUSED, &s.m_bUnused);
    AttachNum<int32_t>(this, IDC_PRICE, &s.m_nPrice, 0, 999999);
    AttachNum<int32_t>(this, IDC_STOCK_MAX, &s.m_nStockMax, 1, 99);
    AttachCombo(this, IDC_RESOURCE, &s.m_nResourceType, SkillResourceTypeLabels());
    AttachNum<int32_t>(this, IDC_SP_COST, &s.m_nSpCost, 0, 999);
    AttachNum<int32_t>(this, IDC_USE_LIMIT, &s.m_nUseLimit, 0, 99);
    AttachCheck(this, IDC_UNLIMITED, &s.m_bUnlimitedUse);
    AttachCheck(this, IDC_CONSUMED, &s.m_bStockConsumed);
    AttachCombo(this, IDC_CATEGORY, &s.m_nCategory, m_Choices.categories);
    AttachNum<int32_t>(this, IDC_SENSE, &s.m_nRequiredSense, 0, 99);
    AttachCombo(this, IDC_LEARN_CLASS, &s.m_nLearnClass, m_Choices.classes);
    AttachCheck(this, IDC_UNFORGET, &s.m_bUnforgettable);
    AttachCombo(this, IDC_KIND, &s.m_nKind, KindTexts());
    AttachCheck(this, IDC_MAP_SKILL, &s.m_bMapSkill);
    AttachCheck(this, IDC_MAP_STOCK, &s.m_bMapStock);
    AttachCheck(this, IDC_BATTLE_SKILL, &s.m_bBattleSkill);
    AttachCheck(this, IDC_BATTLE_QUICK, &s.m_bBattleQuick);
    AttachCheck(this, IDC_BATTLE_STOCK, &s.m_bBattleStock);
    AttachCombo(this, IDC_TARGET, &s.m_nTarget, SkillTargetLabels());
    AttachCombo(this, IDC_WEAPON_SKILL, &s.m_nWeaponSkill, WeaponSkillLabels());
    AttachCombo(this, IDC_COMPATI, &s.m_nCompatiType, m_Choices.compatiTypes);
    AttachCheck(this, IDC_W_COMPATI, &s.m_bWeaponCompatiType);
    AttachCombo(this, IDC_ELEMENT, &s.m_nElement, m_Choices.elements);
    AttachNum<int32_t>(this, IDC_ELEM_VALUE, &s.m_nElementValue, -999, 999);
    AttachCheck(this, IDC_W_ELEMENT, &s.m_bWeaponElement);
    AttachNum<int32_t>(this, IDC_HIT, &s.m_nHitRate, 0, 999);
    AttachCheck(this, IDC_W_HIT, &s.m_bWeaponHitRate);
    AttachNum<int32_t>(this, IDC_EFFECT_VALUE, &s.m_nEffectValue, -999999, 999999);
    AttachNum<int32_t>(this, IDC_DAMAGE, &s.m_nDamageRate, 0, 999);
    AttachNum<int32_t>(this, IDC_CRITICAL, &s.m_nCriticalRate, 0, 999);
    AttachCheck(this, IDC_W_CRITICAL, &s.m_bAddWeaponCritical);
    AttachCheck(this, IDC_IGNORE_STATS, &s.m_bIgnoreStats);
    for (int i = 0; i < kStatCount; ++i) {
        AttachNum<int32_t>(this, IDC_SUB_A + 2 * i, &s.m_SubEffectA[i], -999999, 999999);
        AttachNum<int32_t>(this, IDC_SUB_B + 2 * i, &s.m_SubEffectB[i], -999999, 999999);
    }
    AttachCheck(this, IDC_SUB_A_PERCENT, &s.m_bSubEffectAPercent);
    AttachCheck(this, IDC_SUB_B_PERCENT, &s.m_bSubEffectBPercent);
    AttachCombo(this, IDC_SPECIAL, &s.m_nSpecialEffect, SkillSpecialEffectLabels());
    AttachNum<int32_t>(this, IDC_SPECIAL_VALUE, &s.m_nSpecialValue, 0, 999999);
    AttachCheck(this, IDC_USE_SORT, &s.m_bUseSortNo);
    AttachNum<double>(this, IDC_SORT_NO, &s.m_dSortNo, 0.0, 999.99, 2);
    AttachCheck(this, IDC_W_EFFECT, &s.m_bWeaponEffect);
    AttachNum<int32_t>(this, IDC_EFFECT, &s.m_nEffect, 1, 127);
    (new CTRL_BUTTON_CLASS)->Attach(this, IDC_SELECT_EFFECT);
    AttachCombo(this, IDC_CHARA_ANIM, &s.m_nCharaAnim, m_Choices.charaAnims);
    AttachCombo(this, IDC_EFFECT_ANIM, &s.m_nEffectAnim, m_Choices.effectAnims);
    AttachNum<int32_t>(this, IDC_SCALE, &s.m_nScale, 1, 900);
    AttachNum<uint8_t>(this, IDC_OPACITY, &s.m_byOpacity, 0, 255);
    AttachNum<int16_t>(this, IDC_HUE, &s.m_nHue, 0, 359);
    AttachNum<int16_t>(this, IDC_SATURATION, &s.m_nSaturation, -255, 255);
    AttachNum<int16_t>(this, IDC_BRIGHTNESS, &s.m_nBrightness, -255, 255);
    AttachNum<int32_t>(this, IDC_LEARN_CHANCE, &s.m_nLearnChance, 0, 100);
    AttachNum<double>(this, IDC_SENSE_BONUS, &s.m_dLearnSenseBonus, 0.0, 100.0, 2);
    AttachNum<int32_t>(this, IDC_LEVEL_MIN, &s.m_nLearnLevelMin, 0, 100);
    AttachNum<int32_t>(this, IDC_LEVEL_MAX, &s.m_nLearnLevelMax, 0, 100);
    AttachNum<double>(this, IDC_LEVEL_SENSE, &s.m_dLearnLevelSense, 0.0, 100.0, 2);
    AttachNum<int32_t>(this, IDC_RANK_MIN, &s.m_nRankMin, 0, 999);
    AttachNum<int32_t>(this, IDC_RANK_MAX, &s.m_nRankMax, 0, 999);
    AttachNum<int32_t>(this, IDC_RARITY, &s.m_nRarity, 0, 100);
    AttachCombo(this, IDC_SOUND, &s.m_nSound, m_Choices.sounds);
    UpdateAll();
}

void DLG_DBSKILL::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    if (id == IDC_SELECT_EFFECT) {
        StoreAll();
        int value = m_Work.m_nEffect;
        if (chooseGraphic && chooseGraphic(1, value) == 1) {
            m_Work.m_nEffect = value;
            FindControl(IDC_EFFECT)->Show();
        }
    } else if (id == IDC_OK) {
        StoreAll();
        m_Target = m_Work;
        Close(1);
    } else if (id == IDC_CANCEL)
        Close(0);
}

int PROP_DBSKILL::Run(WND_CLASS* owner, cSkill& skill, const SkillSheetChoices& choices)
{
    DLG_DBSKILL page(skill, choices);
    return RunDbDialog(page, owner);
}
