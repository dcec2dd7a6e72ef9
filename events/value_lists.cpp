#include "events/value_lists.h"

#include <array>
#include <initializer_list>
#include <vector>

#include "base/text.h"

namespace {

using Labels = std::initializer_list<const char*>;

// The lists in the order of ValueList, written in UTF-8 and converted once.
const std::array<Labels, static_cast<int>(ValueList::Count_)> kLists = {{
    // TriggerTiming
    {"味方のターン開始後(B-1)", "味方のターン終了前(C-1)", "味方の行動終了後(D-1)", "味方の特殊コマンド使用後(E-1)",
     "敵のターン開始後(B-1)", "敵のターン終了前(C-1)", "敵の行動終了後(D-1)", "味方または敵のターン開始後(B-2)",
     "味方または敵のターン終了前(C-2)", "味方または敵の行動終了後(D-2)", "戦闘開始前(F-1)", "戦闘終了後(G-1)",
     "戦闘で味方が勝利した後(G-4)", "戦闘で味方が敗北した後(G-4)", "戦闘でリーダーが敗北した後(G-3)",
     "所持者の行動終了後(D-3)", "所持者の特殊コマンド使用後(E-2)", "所持者の戦闘開始前(F-2)", "所持者の戦闘終了後(G-2)",
     "所持者の戦闘で味方が勝利した後(G-5)", "所持者の戦闘で味方が敗北した後(G-5)", "ステージ開始前(A)",
     "ステージクリア前(H)"},
    // TriggerScope
    {"条件なし", "マップ全範囲内", "このイベントの位置", "位置グループ内"},
    // TriggerWho
    {"キャラ", "味方", "敵", "行動中のキャラ", "リーダー", "所持者"},
    // TriggerPresence
    {"いるなら", "いないなら"},
    // CompareOp
    {"である", "でない", "以上", "以下", "より上", "より下", "の倍数である", "の倍数でない"},
    // ScreenPosition
    {"中心", "左", "右", "下", "左下", "右下", "上", "左上", "右上", "画面座標で指定", "ステージ座標で指定"},
    // DisplayDuration
    {"進行キーが押されるまで表示", "ステージ終了まで表示", "時間で指定"},
    // WindowWidth
    {"テキストに合わせる", "固定　※縦は4行"},
    // FacePosition
    {"メッセージの上", "メッセージの左上", "メッセージの右上", "メッセージの下", "メッセージの左下", "メッセージの右下",
     "メッセージの左", "メッセージの右", "画面座標で指定"},
    // CursorTarget
    {"このイベント", "リーダー", "位置グループで指定", "ステージ座標で指定"},
    // WarpSubject
    {"イベント発生条件の対象", "リーダー"},
    // ChipScope
    {"マップ全範囲内", "このイベントの位置", "このイベントの上", "このイベントの下", "このイベントの左",
     "このイベントの右", "位置グループ内"},
    // ChipSelect
    {"全て", "一部"},
    // AssignOp
    {"＝", "＋", "－", "×", "÷", "÷ X の余り", "X ％"},
    // StatusTarget
    {"ステータス", "変数"},
    // StatusSource
    {"定数", "乱数", "ステータス", "変数"},
    // VariableKind
    {"コモン変数", "イベント変数"},
    // CharacterRef
    {"キャラ"},
    // StatusName
    {"HP", "SP"},
    // StockGain
    {"ストックを獲得", "在庫を増加"},
    // BgmScene
    {"タイトル", "ワールドマップ", "ステージ", "戦闘", "オプション"},
}};

const std::vector<std::string>& Converted(ValueList list)
{
    static const auto all = [] {
        std::array<std::vector<std::string>, kLists.size()> result;
        for (std::size_t i = 0; i < kLists.size(); ++i)
            for (const char* label : kLists[i])
                result[i].push_back(Utf8ToCp932(label));
        return result;
    }();
    return all[static_cast<std::size_t>(list)];
}

}  // namespace

int ValueCount(ValueList list) { return static_cast<int>(Converted(list).size()); }

const std::string& ValueLabel(ValueList list, long long index)
{
    static const std::string none;
    const std::vector<std::string>& labels = Converted(list);
    if (index < 0 || index >= static_cast<long long>(labels.size()))
        return none;
    return labels[static_cast<std::size_t>(index)];
}

bool CompareValues(CompareOp op, int32_t value, int32_t operand)
{
    // 64-bit arithmetic keeps INT32_MIN % -1 defined.
    long long v = value, w = operand;
    bool multiple = w == 0 ? v == 0 : v % w == 0;
    switch (op) {
    case CompareOp::Equal: return v == w;
    case CompareOp::NotEqual: return v != w;
    case CompareOp::AtLeast: return v >= w;
    case CompareOp::AtMost: return v <= w;
    case CompareOp::Greater: return v > w;
    case CompareOp::Less: return v < w;
    case CompareOp::MultipleOf: return multiple;
    case CompareOp::NotMultipleOf: return !multiple;
    }
    return false;
}
