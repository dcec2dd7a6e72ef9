#include "events/action_forms.h"

#include <algorithm>
#include <array>

#include "base/text.h"
#include "events/event.h"
#include "events/gval_info.h"
#include "records/tables.h"

namespace {

// ---------------------------------------------------------------------------
// Controls and rules.

FormControl Make(int id, FormWidget w, int param, const char* utf8)
{
    return {id, w, param, Utf8ToCp932(utf8)};
}
FormControl Edit(int id, int p, const char* caption) { return Make(id, FormWidget::Edit, p, caption); }
FormControl Check(int id, int p, const char* text) { return Make(id, FormWidget::Check, p, text); }
FormControl Combo(int id, int p, const char* caption) { return Make(id, FormWidget::Combo, p, caption); }
FormControl Button(int id, const char* text) { return Make(id, FormWidget::Button, kNoParam, text); }
FormControl Note(int id, const char* text) { return Make(id, FormWidget::Note, kNoParam, text); }
FormControl Group(int id, const char* title) { return Make(id, FormWidget::Group, kNoParam, title); }

// Each of ids is enabled only while P[param] is one of values.
void When(std::vector<FormRule>& rules, std::initializer_list<int> ids, int param, std::vector<int32_t> values)
{
    for (int id : ids)
        rules.push_back({id, param, values});
}

ActionForm Form(int kind, const char* title, std::vector<FormControl> controls)
{
    return {kind, Utf8ToCp932(title), std::move(controls), {}};
}

// Ids of the notes and groups, which the forms number themselves.
enum : int { kNote1 = 1901, kNote2, kNote3, kNote4, kGroup1 = 1911, kGroup2, kGroup3 };

// Controls the skill kinds share: the list and the skill of it.
FormControl SkillListCombo() { return Combo(1127, 0, "スキルリスト"); }
FormControl SkillCombo() { return Combo(1423, 1, "スキル"); }

constexpr const char* kStageStartOnly = "※イベント発生条件のタイミングが「ステージ開始前」の場合に限り有効";

ActionForm MessageForm()
{
    ActionForm f = Form(Act::Message, "メッセージの表示",
        {
            Make(1268, FormWidget::Text, kTextParam, "メッセージ"),
            Check(1572, 12, "自動で更新（変数の変化に対応）"),
            Make(1309, FormWidget::Combo, kNoParam, "変数参照"),
            Button(1250, "_"),
            Check(1577, 15, "メッセージの消去(メッセージIDが非設定なら消去は失敗)"),
            Check(1578, 13, "メッセージID"),
            Edit(1324, 14, "ID"),
            Note(kNote1, "☆同一IDのメッセージと入れ替える"),
            Make(1068, FormWidget::List, kNoParam, "参照：#P"),
            Make(1069, FormWidget::Picture, kNoParam, ""),
            Note(kNote2, "#P0～X.  シンボル画像"),
            Note(kNote3, "#C1～999.  コモン変数の値（#C1.  #C1_3z.  #C1_3zp.）"),
            Note(kNote4, "#TURN. #CHARA. #LEADER. #TARGET. #ACTCHARA. #BTLFRIEND.\n"
                         "#BTLENEMY. #BEFORE. #AFTER. #CHANGE. #SKILL. #CHARA."),

            Group(kGroup1, "ウインドウ"),
            Check(1576, 10, "ウインドウを表示する"),
            Combo(1573, 11, "ウインドウの幅"),
            Combo(1574, 0, "表示位置"),
            Edit(1318, 1, "座標X(chip)"),
            Edit(1320, 2, "座標Y(chip)"),
            Edit(1330, 3, "表示位置のズレX(dot)"),
            Edit(1332, 4, "表示位置のズレY(dot)"),
            Check(1583, 5, "画面からはみ出ないように自動調整"),
            Check(1584, 6, "画面に追従する（スクロールしても位置が変わらない）"),
            Combo(1575, 7, "表示時間"),
            Edit(1322, 8, "時間(1/10s)"),
            Check(1589, 9, "Aキーで表示/非表示の切替"),

            Make(kGroup2, FormWidget::GroupBelow, kNoParam, "ピクチャー"),
            Check(1580, 16, "ピクチャーを表示する"),
            Combo(1582, 17, "ピクチャー"),
            Combo(1579, 18, "表示位置"),
            Edit(1326, 19, "表示位置のズレX(dot)"),
            Edit(1328, 20, "表示位置のズレY(dot)"),
            Edit(1585, 25, "表示倍率(%)"),
            Check(1587, 21, "左右反転"),
            Check(1588, 22, "上下反転"),
            Edit(1592, 23, "透明度(0～255)"),
            Check(1581, 24, "画面からはみ出ないように自動調整"),
        });
    auto& r = f.rules;
    // "消去" turns off everything that shows a message.
    When(r, {1268, 1572, 1576, 1573, 1574, 1318, 1320, 1330, 1332, 1583, 1584, 1575, 1322, 1589, 1580, 1582, 1579,
             1326, 1328, 1585, 1587, 1588, 1592, 1581},
         15, {0});
    When(r, {1573}, 10, {1});
    When(r, {1318, 1320}, 0, {9, 10});
    When(r, {1322}, 7, {2});
    When(r, {1584, 1589}, 7, {1});
    When(r, {1582, 1579, 1326, 1328, 1585, 1587, 1588, 1592, 1581}, 16, {1});
    When(r, {1326, 1328}, 18, {8});
    When(r, {1324}, 13, {1});
    return f;
}

ActionForm PictureForm()
{
    ActionForm f = Form(Act::Picture, "ピクチャーの表示",
        {
            Combo(1582, 0, "ピクチャー"),
            Check(1583, 1, "ピクチャーID"),
            Edit(1326, 2, "ID"),
            Note(kNote1, "☆同一IDのピクチャーと入れ替える"),
            Check(1577, 3, "ピクチャーの消去(ピクチャーIDが非設定なら消去は失敗)"),
            Combo(1574, 4, "表示位置"),
            Edit(1579, 5, "座標X(chip)"),
            Edit(1581, 6, "座標Y(chip)"),
            Edit(1330, 7, "表示位置のズレX(dot)"),
            Edit(1332, 8, "表示位置のズレY(dot)"),
            Group(kGroup1, "表示"),
            Check(1587, 9, "左右反転"),
            Check(1588, 10, "上下反転"),
            Edit(1592, 11, "透明度(0～255)"),
            Check(1591, 12, "画面からはみ出ないように自動調整"),
            Check(1584, 13, "画面に追従する（スクロールしても位置が変わらない）"),
            Edit(1585, 14, "表示倍率(%)"),
            Combo(1575, 15, "表示時間"),
            Edit(1322, 16, "時間(1/10s)"),
            Check(1589, 17, "Aキーで表示/非表示の切替"),
        });
    auto& r = f.rules;
    When(r, {1582, 1574, 1579, 1581, 1330, 1332, 1587, 1588, 1592, 1591, 1584, 1585, 1575, 1322, 1589}, 3, {0});
    When(r, {1579, 1581}, 4, {9, 10});
    When(r, {1322}, 15, {2});
    When(r, {1584, 1589}, 15, {1});
    When(r, {1326}, 1, {1});
    return f;
}

ActionForm StatusForm()
{
    ActionForm f = Form(Act::Status, "ステータスの操作",
        {
            Group(kGroup1, "対象"),
            Combo(1602, 0, "対象"),
            Combo(1603, 3, "キャラ"),
            Combo(1607, 4, "ステータス"),
            Combo(1604, 1, "変数の種類"),
            Combo(1608, 2, "変数"),
            Button(1251, "_"),
            Group(kGroup2, "操作"),
            Combo(1308, 5, "演算"),
            Check(1035, 14, "％で指定"),
            Note(kNote1, "※HPの最小値は1（このアクションでは死なない）"),
            Group(kGroup3, "値"),
            Combo(1610, 6, "値の種類"),
            Edit(1605, 7, "定数"),
            Edit(1611, 8, "乱数の下限"),
            Edit(1613, 9, "乱数の上限"),
            Combo(1615, 12, "キャラ"),
            Combo(1617, 13, "ステータス"),
            Combo(1616, 10, "変数の種類"),
            Combo(1618, 11, "変数"),
            Button(1619, "_"),
        });
    auto& r = f.rules;
    When(r, {1603, 1607}, 0, {0});
    When(r, {1604, 1608, 1251}, 0, {1});
    When(r, {1608, 1251}, 1, {0});
    When(r, {1605}, 6, {0});
    When(r, {1611, 1613}, 6, {1});
    When(r, {1615, 1617}, 6, {2});
    When(r, {1616, 1618, 1619}, 6, {3});
    When(r, {1618, 1619}, 10, {0});
    return f;
}

std::vector<ActionForm> BuildForms()
{
    std::vector<ActionForm> forms;
    forms.push_back(MessageForm());
    forms.push_back(PictureForm());
    forms.push_back(Form(Act::Wait, "ウエイト", {Edit(1315, 0, "実行時間(1/10s)")}));
    {
        ActionForm f = Form(Act::MapCursor, "マップカーソルの移動",
                            {Combo(1187, 0, "移動先"), Combo(1317, 1, "位置グループ"), Edit(1318, 2, "X"),
                             Edit(1320, 3, "Y")});
        When(f.rules, {1317}, 0, {2});
        When(f.rules, {1318, 1320}, 0, {3});
        forms.push_back(std::move(f));
    }
    forms.push_back(Form(Act::Warp, "ワープ",
                         {Combo(1187, 0, "対象"), Edit(1318, 1, "X"), Edit(1320, 2, "Y"),
                          Check(1541, 3, "ワープ先にキャラがいたら、ワープは失敗")}));
    forms.push_back(Form(Act::EnemyGroup, "敵グループの操作",
                         {Edit(1323, 0, "敵グループ"), Combo(1322, 1, "出現"),
                          Check(1541, 2, "出現先にキャラが存在するなら出現しない")}));
    forms.push_back(Form(Act::EnemyCopy, "敵のコピー",
                         {Edit(1539, 0, "敵グループ"),
                          Check(1541, 1, "コピー元の敵が出現済み、またはその位置にキャラがいるならコピーは失敗"),
                          Check(1542, 2, "残りHP、残りSP、スキルの残り使用回数もコピー"),
                          Note(kNote1, "※コピーした敵のグループはなしになる")}));
    {
        ActionForm f = Form(Act::PlaceFriend, "味方の配置",
                            {Combo(1632, 0, "味方"), Check(1634, 1, "パーティーから味方を配置"),
                             Check(1542, 2, "このイベントの位置に配置"), Edit(1318, 3, "X"), Edit(1320, 4, "Y"),
                             Check(1633, 5, "ステージクリア後にパーティーに加える"), Note(kNote1, kStageStartOnly)});
        When(f.rules, {1633}, 1, {0});
        When(f.rules, {1318, 1320}, 2, {0});
        forms.push_back(std::move(f));
    }
    forms.push_back(Form(Act::StartPosition, "初期位置の変更",
                         {Combo(1317, 0, "位置グループ"), Note(kNote1, kStageStartOnly)}));
    forms.push_back(Form(Act::EventVariable, "イベント変数の操作", {Combo(1308, 0, "演算"), Edit(1307, 1, "値")}));
    forms.push_back(Form(Act::CommonVariable, "コモン変数の操作",
                         {Combo(1309, 0, "コモン変数"), Button(1250, "_"), Combo(1308, 1, "演算"),
                          Edit(1307, 2, "値")}));
    {
        ActionForm f = Form(Act::MapChip, "マップチップの変更",
                            {Combo(1325, 0, "範囲"), Combo(1602, 1, "変更するチップ"), Combo(1326, 2, "変更前"),
                             Combo(1327, 3, "変更後"), Combo(1317, 4, "位置グループ")});
        When(f.rules, {1317}, 0, {6});
        When(f.rules, {1326}, 1, {1});
        forms.push_back(std::move(f));
    }
    forms.push_back(Form(Act::EventGraphic, "イベントのグラフィックを変更",
                         {Edit(1511, 0, "グラフィック番号"), Button(1510, "一覧"),
                          Make(1070, FormWidget::Picture, kNoParam, "")}));
    forms.push_back(Form(Act::SoundEffect, "効果音の再生", {Combo(1096, 0, "効果音")}));
    {
        ActionForm f = Form(Act::Music, "BGMの変更",
                            {Combo(1311, 0, "場面"), Combo(1235, 1, "BGM"), Button(1313, "再生"),
                             Check(1660, 2, "ループ再生"), Note(kNote1, "※タイトルとオプションは変更不可")});
        When(f.rules, {1660}, 0, {2});
        forms.push_back(std::move(f));
    }
    forms.push_back(StatusForm());
    forms.push_back(Form(Act::Money, "所持金の操作", {Edit(1299, 0, "増減値")}));
    forms.push_back(Form(Act::LearnSkill, "スキルの習得",
                         {SkillListCombo(), SkillCombo(), Note(kNote1, "※敵は習得不可")}));
    forms.push_back(Form(Act::Stock, "ストックの操作", {SkillListCombo(), SkillCombo(), Edit(1307, 2, "増減値")}));
    {
        ActionForm f = Form(Act::ShopItem, "商品の追加",
                            {SkillListCombo(), SkillCombo(), Check(1569, 2, "在庫は無限"), Edit(1570, 3, "在庫＋")});
        When(f.rules, {1570}, 2, {0});
        forms.push_back(std::move(f));
    }
    forms.push_back(Form(Act::RandomSkill, "スキルをランダムに獲得",
                         {SkillListCombo(), Edit(1167, 1, "ランク（下限）"), Edit(1169, 2, "ランク（上限）"),
                          Combo(1645, 3, "効果"), Edit(1643, 4, "回数")}));
    forms.push_back(Form(Act::FriendShop, "仲間屋の変更", {Combo(1310, 0, "味方"), Edit(1307, 1, "増減値")}));
    forms.push_back(Form(Act::Party, "パーティーの変更", {Combo(1310, 0, "味方"), Edit(1307, 1, "増減値")}));
    return forms;
}

const std::vector<ActionForm>& Forms()
{
    static const std::vector<ActionForm> forms = BuildForms();
    return forms;
}

void AddTableEntries(std::vector<ParamChoice>& out, Table table, int low)
{
    int n = TableSize(table);
    for (int i = std::max(low, 0); i < n; ++i)
        out.push_back({i, NumberedLine(i, n, TableName(table, i))});
}

}  // namespace

const FormControl* ActionForm::Find(int id) const
{
    for (const FormControl& c : controls)
        if (c.id == id)
            return &c;
    return nullptr;
}

const ActionForm* ActionFormOf(long long kind)
{
    for (const ActionForm& f : Forms())
        if (f.kind == kind)
            return &f;
    return nullptr;
}

bool FormControlEnabled(const ActionForm& form, int id, const cEventAct& act)
{
    for (const FormRule& r : form.rules)
        if (r.id == id && std::find(r.values.begin(), r.values.end(), act.P(r.param)) == r.values.end())
            return false;
    return true;
}

std::vector<ParamChoice> CommonVariableEntries()
{
    // The choices of the page conditions without their entry 0 (no variable).
    std::vector<std::string> lines = CommonVariableChoices();
    std::vector<ParamChoice> out;
    for (std::size_t n = 1; n < lines.size(); ++n)
        out.push_back({static_cast<int32_t>(n), std::move(lines[n])});
    return out;
}

std::vector<ParamChoice> ParamChoices(const cEventAct& act, int param)
{
    const ActionKindInfo& info = ActionKind(act.m_nKind);
    std::vector<ParamChoice> out;
    if (param < 0 || param >= static_cast<int>(info.params.size()))
        return out;
    const ParamSource& s = info.params[static_cast<std::size_t>(param)];
    switch (s.kind) {
    case ParamSource::Kind::List:
        for (int i = 0; i < ValueCount(s.list); ++i)
            out.push_back({i, ValueLabel(s.list, i)});
        break;
    case ParamSource::Kind::Labels:
        for (std::size_t i = 0; i < s.labels.size(); ++i)
            out.push_back({static_cast<int32_t>(i), s.labels[i]});
        break;
    case ParamSource::Kind::TableEntry: AddTableEntries(out, s.table, s.low); break;
    case ParamSource::Kind::Music:
        out.push_back({0, SJ("なし")});
        AddTableEntries(out, s.table, 1);
        break;
    case ParamSource::Kind::SkillOf: {
        int list = act.P(s.other);
        int n = SkillCount(list);
        for (int i = s.low; i < n; ++i)
            out.push_back({i, NumberedLine(i, n, SkillName(list, i))});
        break;
    }
    case ParamSource::Kind::CommonVariable: out = CommonVariableEntries(); break;
    case ParamSource::Kind::Range:
    case ParamSource::Kind::Kept: break;
    }
    return out;
}

bool ChooserHasButton(long long kind) { return kind >= 1 && kind <= kChooserLastKind; }

bool ChooserButtonEnabled(long long kind, bool startEventMode)
{
    return ChooserHasButton(kind) && (!startEventMode || ActionKind(kind).startEventAllowed);
}

int ChooserOpeningKind(const cEventAct& act, bool newAction, bool startEventMode)
{
    if (newAction || !ChooserButtonEnabled(act.m_nKind, startEventMode))
        return 0;
    return act.m_nKind;
}

std::string StatusRefusal(const cEventAct& act, bool startEventMode)
{
    if (!startEventMode || act.m_nKind != Act::Status)
        return {};
    // Left side: P0 0 status of character P3, 1 variable of kind P1.
    // Right side: P6 2 status of character P12, 3 variable of kind P10.
    // The only character the start event could name is the trigger's subject,
    // and it has none.
    if ((act.P(0) == 0 && act.P(3) == 0) || (act.P(6) == 2 && act.P(12) == 0))
        return SJ("初期イベントではキャラのステータスは利用できません！");
    if ((act.P(0) == 1 && act.P(1) == 1) || (act.P(6) == 3 && act.P(10) == 1))
        return SJ("初期イベントではイベント変数は利用できません！");
    return {};
}
