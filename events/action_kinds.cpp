#include "events/action_kinds.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "base/text.h"
#include "events/event.h"
#include "events/gval_info.h"
#include "events/value_lists.h"

namespace {

// ---------------------------------------------------------------------------
// Pieces of summaries.

std::string N(int32_t v) { return std::to_string(v); }

// A change: "+" in front of positive values, "-" of negative ones.
std::string Signed(int32_t v) { return v > 0 ? "+" + std::to_string(v) : std::to_string(v); }

const std::string& L(ValueList list, int32_t index) { return ValueLabel(list, index); }

// The name of a table entry; empty when the index has no entry.
std::string Name(Table table, int32_t index) { return index < 0 ? std::string() : TableName(table, index); }

std::string Skill(const cEventAct& a) { return SkillName(a.P(0), a.P(1)); }

// A common variable as the status action shows it: 「number name」.
std::string Variable(int32_t number)
{
    return SJ("「") + N(number) + " " + GlobalVariableName(number) + SJ("」");
}

// Index 0 of the music choice is "なし" (no music); it is kept on save.
std::string MusicName(int32_t index) { return index == 0 ? SJ("なし") : Name(Table::Bgm, index); }

std::string StatusSummary(const cEventAct& a)
{
    std::string s = SJ("：");
    if (a.P(0) == 0)
        s += " " + L(ValueList::CharacterRef, a.P(3)) + SJ(" の ") + L(ValueList::StatusName, a.P(4)) + SJ(" を");
    else if (a.P(1) == 0)
        s += " " + Variable(a.P(2)) + SJ("を");
    else
        s += SJ(" イベント変数 を");
    s += " " + L(ValueList::AssignOp, a.P(5));
    switch (a.P(6)) {
    case 0: s += " " + N(a.P(7)); break;
    case 1: s += " " + N(a.P(8)) + SJ("～") + N(a.P(9)); break;
    case 2: s += " " + L(ValueList::CharacterRef, a.P(12)) + SJ(" の ") + L(ValueList::StatusName, a.P(13)); break;
    case 3: s += a.P(10) == 0 ? " " + Variable(a.P(11)) : SJ(" イベント変数"); break;
    default: break;
    }
    if (a.P(14))
        s += SJ("％");
    return s;
}

// ---------------------------------------------------------------------------
// Rows.

ActionClamp ToTable(int param, int low, Table table) { return {ActionClamp::Rule::ToTable, param, low, table}; }
ActionClamp SkillPair(int param) { return {ActionClamp::Rule::SkillPair, param}; }
ActionClamp SkillList(int param) { return {ActionClamp::Rule::SkillList, param}; }

// Parameter sources.
using PS = ParamSource;
PS Source(PS::Kind kind, int32_t low, int32_t high = 0, Table table = Table::Count_, int other = -1)
{
    PS s;
    s.kind = kind;
    s.low = low;
    s.high = high;
    s.table = table;
    s.other = other;
    return s;
}
PS Span(int32_t low, int32_t high) { return Source(PS::Kind::Range, low, high); }
PS Flag() { return Span(0, 1); }
PS Choice(ValueList list)
{
    PS s = Source(PS::Kind::List, 0);
    s.list = list;
    return s;
}
PS Entry(Table table, int32_t low) { return Source(PS::Kind::TableEntry, low, 0, table); }
PS SkillIn(int listParam) { return Source(PS::Kind::SkillOf, 1, 0, Table::SkillList, listParam); }
PS CommonVar() { return Source(PS::Kind::CommonVariable, 1, 0, Table::GlobalVariable); }
PS MusicList() { return Source(PS::Kind::Music, 0, 0, Table::Bgm); }
PS KeptValue() { return Source(PS::Kind::Kept, 0); }
PS OwnLabels(std::initializer_list<const char*> utf8)
{
    PS s = Source(PS::Kind::Labels, 0);
    for (const char* l : utf8)
        s.labels.push_back(Utf8ToCp932(l));
    return s;
}
// Stage cells as the controls offer them; the clamps then fit them to the stage.
PS Cell() { return Span(0, 64); }
PS Big() { return Span(-999999, 999999); }

ActionKindInfo Row(const char* utf8Label, int intCount, int stringCount, bool startEvent, int dialogId,
                   std::vector<int32_t> newInts, std::vector<ActionClamp> clamps, std::vector<ParamSource> params,
                   std::string (*summary)(const cEventAct&))
{
    return {Utf8ToCp932(utf8Label), intCount, stringCount, startEvent, dialogId,
            std::move(newInts), std::move(clamps), std::move(params), summary};
}

using A = const cEventAct&;
constexpr bool kStart = true;  // the start event may use the kind

const std::array<ActionKindInfo, Act::Count_>& Kinds()
{
    static const std::array<ActionKindInfo, Act::Count_> kinds = {
        Row("", 0, 0, false, 0, {}, {}, {}, nullptr),
        Row("メッセージ", 26, 1, false, 171,
            {3, 0, 0, 0, 0, 1, 1, 0, 30, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 255, 1, 100}, {},
            {Choice(ValueList::ScreenPosition), Span(-20, 20), Span(-15, 15), Span(-640, 640), Span(-480, 480), Flag(),
             Flag(), Choice(ValueList::DisplayDuration), Span(1, 9999), Flag(), Flag(), Choice(ValueList::WindowWidth),
             Flag(), Flag(), Span(0, 999), Flag(), Flag(), Entry(Table::Picture, 0), Choice(ValueList::FacePosition),
             Span(-640, 640), Span(-480, 480), Flag(), Flag(), Span(0, 255), Flag(), Span(1, 1000)},
            [](A a) { return a.P(MessageParam::Erase) ? SJ(" : メッセージの消去") : " : " + a.S(0); }),
        Row("ピクチャー", 18, 0, false, 202, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 1, 1, 100, 0, 30, 0},
            {ToTable(0, 0, Table::Picture)},
            {Entry(Table::Picture, 0), Flag(), Span(0, 999), Flag(), Choice(ValueList::ScreenPosition), Span(-20, 20),
             Span(-15, 15), Span(-640, 640), Span(-480, 480), Flag(), Flag(), Span(0, 255), Flag(), Flag(),
             Span(1, 1000), Choice(ValueList::DisplayDuration), Span(1, 9999), Flag()},
            [](A a) {
                return a.P(PictureParam::Erase) ? SJ(" : ピクチャーの消去") : " : " + Name(Table::Picture, a.P(0));
            }),
        Row("ウエイト", 1, 0, false, 186, {10}, {}, {Span(0, 999)}, [](A a) { return " : " + N(a.P(0)); }),
        Row("マップカーソルの移動", 4, 0, false, 174, {0, 1},
            {ToTable(1, 1, Table::PositionGroup), ToTable(2, 0, Table::StageWidth), ToTable(3, 0, Table::StageHeight)},
            {Choice(ValueList::CursorTarget), Entry(Table::PositionGroup, 1), Cell(), Cell()},
            [](A a) { return " : " + L(ValueList::CursorTarget, a.P(0)); }),
        Row("ワープ", 4, 0, false, 214, {0, 0, 0, 1},
            {ToTable(1, 0, Table::StageWidth), ToTable(2, 0, Table::StageHeight)},
            {Choice(ValueList::WarpSubject), Cell(), Cell(), Flag()},
            [](A a) { return " : (" + N(a.P(1)) + "," + N(a.P(2)) + ")"; }),
        Row("敵グループの操作", 3, 0, false, 176, {1, 1, 0}, {}, {Span(1, 100), OwnLabels({"OFF", "ON"}), Flag()},
            [](A a) { return SJ(" : グループ ") + N(a.P(0)) + (a.P(1) == 1 ? SJ(" を ON") : SJ(" を OFF")); }),
        Row("敵のコピー", 3, 0, false, 215, {1, 1, 0}, {},
            {Span(1, 100), Flag(), Flag()}, [](A a) { return SJ(" : グループ ") + N(a.P(0)); }),
        Row("味方の配置", 6, 0, false, 224, {1, 1, 1},
            {ToTable(0, 1, Table::Friend), ToTable(3, 0, Table::StageWidth), ToTable(4, 0, Table::StageHeight)},
            {Entry(Table::Friend, 1), Flag(), Flag(), Cell(), Cell(), Flag()},
            [](A a) {
                std::string s = " : " + Name(Table::Friend, a.P(0));
                if (a.P(2) == 0)
                    s += " (" + N(a.P(3)) + "," + N(a.P(4)) + ")";
                return s;
            }),
        Row("初期位置の変更", 1, 0, false, 221, {1}, {ToTable(0, 1, Table::PositionGroup)},
            {Entry(Table::PositionGroup, 1)}, nullptr),
        Row("イベント変数の操作", 2, 0, false, 185, {}, {}, {Choice(ValueList::AssignOp), Big()},
            [](A a) { return SJ(" : イベント変数 ") + L(ValueList::AssignOp, a.P(0)) + " " + N(a.P(1)); }),
        Row("コモン変数の操作", 3, 0, kStart, 177, {1}, {}, {CommonVar(), Choice(ValueList::AssignOp), Big()},
            [](A a) {
                return SJ(" : コモン変数「") + GlobalVariableName(a.P(0)) + SJ("」") + L(ValueList::AssignOp, a.P(1)) +
                       " " + N(a.P(2));
            }),
        Row("マップチップの変更", 5, 0, false, 178, {0, 0, 0, 0, 1},
            {ToTable(2, 0, Table::Land), ToTable(3, 0, Table::Land), ToTable(4, 1, Table::PositionGroup)},
            {Choice(ValueList::ChipScope), Choice(ValueList::ChipSelect), Entry(Table::Land, 0), Entry(Table::Land, 0),
             Entry(Table::PositionGroup, 1)},
            [](A a) {
                std::string replaced = a.P(1) == 0 ? SJ("全て") : Name(Table::Land, a.P(2));
                return " : " + L(ValueList::ChipScope, a.P(0)) + SJ(" の ") + replaced + SJ(" を ") +
                       Name(Table::Land, a.P(3)) + SJ(" に変更");
            }),
        Row("イベントのグラフィックを変更", 1, 0, false, 189, {}, {}, {Span(0, 511)},
            [](A a) { return " : " + N(a.P(0)) + SJ(" 番に変更"); }),
        Row("効果音の再生", 1, 0, false, 201, {1}, {ToTable(0, 1, Table::Sound)}, {Entry(Table::Sound, 1)},
            [](A a) { return " : " + Name(Table::Sound, a.P(0)); }),
        // The music choice offers "なし" at 0: unlike sounds, music 0 survives the
        // clamp, so a chosen silence is not turned into the first piece on save.
        Row("BGMの変更", 3, 0, kStart, 179, {2, 0, 1}, {ToTable(1, 0, Table::Bgm)},
            {Choice(ValueList::BgmScene), MusicList(), Flag()},
            [](A a) {
                return " : " + L(ValueList::BgmScene, a.P(0)) + SJ(" のBGMを ") + MusicName(a.P(1)) + SJ(" に変更");
            }),
        Row("ステータスの操作", 16, 0, kStart, 222, {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}, {},
            {Choice(ValueList::StatusTarget), Choice(ValueList::VariableKind), CommonVar(),
             Choice(ValueList::CharacterRef), Choice(ValueList::StatusName), Choice(ValueList::AssignOp),
             Choice(ValueList::StatusSource), Big(), Big(), Big(), Choice(ValueList::VariableKind), CommonVar(),
             Choice(ValueList::CharacterRef), Choice(ValueList::StatusName), Flag(), KeptValue()}, StatusSummary),
        Row("所持金の操作", 1, 0, kStart, 175, {}, {}, {Big()}, [](A a) { return " : " + Signed(a.P(0)); }),
        Row("スキルの習得", 2, 0, false, 199, {0, 1}, {SkillPair(0)},
            {Entry(Table::SkillList, 0), SkillIn(0)}, [](A a) { return " : " + Skill(a); }),
        Row("ストックの操作", 3, 0, kStart, 200, {0, 1, 1}, {SkillPair(0)},
            {Entry(Table::SkillList, 0), SkillIn(0), Span(-99, 99)},
            [](A a) { return " : " + Skill(a) + " " + Signed(a.P(2)); }),
        Row("商品の追加", 4, 0, kStart, 187, {0, 1, 1, 1}, {SkillPair(0)},
            {Entry(Table::SkillList, 0), SkillIn(0), Flag(), Span(1, 99)},
            [](A a) {
                std::string s = " : " + Skill(a);
                if (a.P(2) == 0)
                    s += " " + Signed(a.P(3));
                return s;
            }),
        Row("スキルをランダムに獲得", 5, 0, kStart, 229, {0, 0, 0, 0, 1}, {SkillList(0)},
            {Entry(Table::SkillList, 0), Span(0, 999), Span(0, 999), Choice(ValueList::StockGain),
             Span(1, 999)},
            [](A a) {
                return " : " + Name(Table::SkillList, a.P(0)) + SJ(" ランク ") + N(a.P(1)) + SJ("～") + N(a.P(2)) +
                       SJ(" の ") + L(ValueList::StockGain, a.P(3)) + SJ(" 回数") + N(a.P(4));
            }),
        Row("仲間屋の変更", 2, 0, kStart, 183, {1}, {ToTable(0, 1, Table::Friend)},
            {Entry(Table::Friend, 1), Span(-99, 99)},
            [](A a) { return " : " + Name(Table::Friend, a.P(0)) + " " + Signed(a.P(1)); }),
        Row("パーティーの変更", 2, 0, kStart, 184, {1, 1}, {ToTable(0, 1, Table::Friend)},
            {Entry(Table::Friend, 1), Span(-99, 99)},
            [](A a) { return " : " + Name(Table::Friend, a.P(0)) + " " + Signed(a.P(1)); }),
        Row("ステージクリア", 0, 0, false, 0, {}, {}, {}, nullptr),
        Row("ゲームオーバー", 0, 0, false, 0, {}, {}, {}, nullptr),
        // Only valid at the stage-start timing; the chooser offers no button for it.
        Row("引き返す", 0, 0, false, 225, {}, {}, {}, nullptr),
    };
    return kinds;
}

}  // namespace

const ActionKindInfo& ActionKind(long long kind)
{
    const auto& kinds = Kinds();
    if (kind < 0 || kind >= static_cast<long long>(kinds.size()))
        return kinds[0];
    return kinds[static_cast<std::size_t>(kind)];
}

int32_t ClampTo(int32_t value, long long low, long long high)
{
    long long v = std::max(std::min<long long>(value, high), low);
    return static_cast<int32_t>(v);
}

void ClampAction(cEventAct& act)
{
    std::vector<int32_t>& p = act.m_Ints;
    auto has = [&](int i) { return i >= 0 && i < static_cast<int>(p.size()); };
    for (const ActionClamp& c : ActionKind(act.m_nKind).clamps) {
        switch (c.rule) {
        case ActionClamp::Rule::ToTable: {
            int n = TableSize(c.table);
            if (n >= 0 && has(c.param))
                p[c.param] = ClampTo(p[c.param], c.low, n - 1L);
            break;
        }
        case ActionClamp::Rule::SkillPair:
            if (!has(c.param + 1))
                break;
            // A vanished skill list falls back to the first list and its first
            // skill; a vanished skill to the first skill of the list.
            if (BeyondTable(p[c.param], Table::SkillList)) {
                p[c.param] = 0;
                p[c.param + 1] = 1;
            }
            if (int n = SkillCount(p[c.param]); n >= 0 && p[c.param + 1] >= n)
                p[c.param + 1] = 1;
            break;
        case ActionClamp::Rule::SkillList:
            if (has(c.param) && BeyondTable(p[c.param], Table::SkillList))
                p[c.param] = 0;
            break;
        }
    }
}

std::string ActionSummary(const cEventAct& act)
{
    const ActionKindInfo& info = ActionKind(act.m_nKind);
    return info.summary ? info.summary(act) : std::string();
}
