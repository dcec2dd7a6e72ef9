#include "events/action_kinds.h"

#include <gtest/gtest.h>

#include "events/event.h"
#include "tests/events/event_test_util.h"

namespace {

cEventAct Action(int32_t kind, std::vector<int32_t> ints, std::vector<std::string> strings = {})
{
    cEventAct a;
    a.m_nKind = kind;
    a.m_Ints = std::move(ints);
    a.m_Strings = std::move(strings);
    return a;
}

// One case per kind: parameters as stored, what the small tables of NamedTables
// make of them on save, and the list text of the clamped action.
struct KindCase {
    int32_t kind;
    std::vector<int32_t> ints;
    std::vector<int32_t> clamped;
    const char* text;
    const char* message = nullptr;  // S0 of messages
};

const KindCase kKindCases[] = {
    {Act::Message, {10, -3, 7, -640, 480, 0, 1, 2, 125, 1, 1, 1, 0, 1, 42, 0, 1, 7, 8, -12, 34, 1, 0, 128, 1, 250},
     {10, -3, 7, -640, 480, 0, 1, 2, 125, 1, 1, 1, 0, 1, 42, 0, 1, 7, 8, -12, 34, 1, 0, 128, 1, 250},
     "メッセージ : 勇者「ここは通さない！」", "勇者「ここは通さない！」"},
    {Act::Picture, {9, 1, 12, 0, 9, -20, 15, 3, -4, 1, 0, 200, 0, 1, 150, 2, 45, 1},
     {4, 1, 12, 0, 9, -20, 15, 3, -4, 1, 0, 200, 0, 1, 150, 2, 45, 1}, "ピクチャー : 絵4"},
    {Act::Wait, {25}, {25}, "ウエイト : 25"},
    {Act::MapCursor, {2, 0, 25, -1}, {2, 1, 19, 0}, "マップカーソルの移動 : 位置グループで指定"},
    {Act::Warp, {1, 25, 3, 0}, {1, 19, 3, 0}, "ワープ : (19,3)"},
    {Act::EnemyGroup, {17, 1, 1}, {17, 1, 1}, "敵グループの操作 : グループ 17 を ON"},
    {Act::EnemyCopy, {99, 0, 1}, {99, 0, 1}, "敵のコピー : グループ 99"},
    {Act::PlaceFriend, {9, 0, 0, 30, 20, 1}, {3, 0, 0, 19, 14, 1}, "味方の配置 : 仲間3 (19,14)"},
    {Act::StartPosition, {0}, {1}, "初期位置の変更"},
    {Act::EventVariable, {5, -7}, {5, -7}, "イベント変数の操作 : イベント変数 ÷ X の余り -7"},
    {Act::CommonVariable, {12, 2, 345}, {12, 2, 345}, "コモン変数の操作 : コモン変数「変数12」－ 345"},
    {Act::MapChip, {6, 1, 7, -2, 5}, {6, 1, 5, 0, 2}, "マップチップの変更 : 位置グループ内 の 地形5 を 地形0 に変更"},
    {Act::EventGraphic, {511}, {511}, "イベントのグラフィックを変更 : 511 番に変更"},
    {Act::SoundEffect, {40}, {11}, "効果音の再生 : 音11"},
    {Act::Music, {3, 9, 0}, {3, 7, 0}, "BGMの変更 : 戦闘 のBGMを 曲7 に変更"},
    {Act::Status, {0, 0, 0, 0, 1, 2, 0, -5, 0, 0, 0, 0, 0, 0, 1, 0}, {0, 0, 0, 0, 1, 2, 0, -5, 0, 0, 0, 0, 0, 0, 1, 0},
     "ステータスの操作： キャラ の SP を － -5％"},
    {Act::Money, {-5000}, {-5000}, "所持金の操作 : -5000"},
    {Act::LearnSkill, {5, 9}, {0, 1}, "スキルの習得 : 技0-1"},
    {Act::Stock, {1, 3, -9}, {1, 1, -9}, "ストックの操作 : 技1-1 -9"},
    {Act::ShopItem, {2, 3, 0, 12}, {2, 3, 0, 12}, "商品の追加 : 技2-3 +12"},
    {Act::RandomSkill, {4, 10, 20, 1, 3}, {0, 10, 20, 1, 3},
     "スキルをランダムに獲得 : リスト0 ランク 10～20 の 在庫を増加 回数3"},
    {Act::FriendShop, {9, -2}, {3, -2}, "仲間屋の変更 : 仲間3 -2"},
    {Act::Party, {0, 1}, {1, 1}, "パーティーの変更 : 仲間1 +1"},
    {Act::StageClear, {}, {}, "ステージクリア"},
    {Act::GameOver, {}, {}, "ゲームオーバー"},
    {Act::TurnBack, {}, {}, "引き返す"},
};

TEST(ActionKinds, EveryKindRoundTripsClampsAndSummarises)
{
    ASSERT_EQ(std::size(kKindCases), static_cast<std::size_t>(Act::Count_ - 1));
    for (const KindCase& c : kKindCases) {
        SCOPED_TRACE("kind " + std::to_string(c.kind));
        std::vector<std::string> strings;
        if (c.message)
            strings.push_back(Utf8ToCp932(c.message));
        ASSERT_EQ(static_cast<int>(c.ints.size()), ActionKind(c.kind).intCount);

        // Without known tables nothing is clamped: the parameters survive as they are.
        cEventAct act = Action(c.kind, c.ints, strings);
        cEventAct back = RoundTrip(act);
        EXPECT_EQ(back.m_Ints, c.ints);
        EXPECT_EQ(back.m_Strings, strings);
        EXPECT_TRUE(back.Equals(act));

        NamedTables tables;
        cEventAct saved = RoundTrip(act);
        EXPECT_EQ(saved.m_Ints, c.clamped);
        EXPECT_EQ(Utf8(saved.ListText()), c.text);
    }
}

// Boundary values of the summaries: the other branch of each choice, zero and
// positive changes, out-of-list labels and references without a record.
TEST(ActionKinds, SummaryBranches)
{
    NamedTables tables;
    struct Case {
        cEventAct act;
        const char* text;
    } cases[] = {
        {[] { auto a = Action(Act::Message, std::vector<int32_t>(26), {"x"}); a.m_Ints[15] = 1; return a; }(),
         "メッセージ : メッセージの消去"},
        {Action(Act::Picture, {2, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), "ピクチャー : ピクチャーの消去"},
        {Action(Act::MapCursor, {4, 1, 0, 0}), "マップカーソルの移動 : "},
        {Action(Act::EnemyGroup, {1, 2, 0}), "敵グループの操作 : グループ 1 を OFF"},
        {Action(Act::PlaceFriend, {1, 1, 1, 5, 5, 0}), "味方の配置 : 仲間1"},
        {Action(Act::CommonVariable, {0, 0, -1}), "コモン変数の操作 : コモン変数「」＝ -1"},
        {Action(Act::MapChip, {0, 0, 3, 4, 1}), "マップチップの変更 : マップ全範囲内 の 全て を 地形4 に変更"},
        {Action(Act::Money, {0}), "所持金の操作 : 0"},
        {Action(Act::Money, {12}), "所持金の操作 : +12"},
        {Action(Act::ShopItem, {2, 3, 1, 12}), "商品の追加 : 技2-3"},
        {Action(Act::Stock, {0, 1, 0}), "ストックの操作 : 技0-1 0"},
        {Action(Act::Music, {2, 0, 1}), "BGMの変更 : ステージ のBGMを なし に変更"},
        // Status: variables on both sides, a random range, a character's status.
        {Action(Act::Status, {1, 0, 12, 0, 0, 0, 3, 0, 0, 0, 0, 7, 0, 0, 0, 0}), "ステータスの操作： 「12 変数12」を ＝ 「7 変数7」"},
        {Action(Act::Status, {1, 1, 0, 0, 0, 1, 1, 0, -3, 9, 0, 0, 0, 0, 0, 0}), "ステータスの操作： イベント変数 を ＋ -3～9"},
        {Action(Act::Status, {0, 0, 0, 0, 0, 3, 2, 0, 0, 0, 0, 0, 0, 1, 0, 0}), "ステータスの操作： キャラ の HP を × キャラ の SP"},
        {Action(Act::Status, {0, 0, 0, 0, 0, 6, 3, 0, 0, 0, 1, 0, 0, 0, 1, 0}), "ステータスの操作： キャラ の HP を X ％ イベント変数％"},
        // A kind the table does not know shows nothing.
        {Action(99, {}), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf8(c.act.ListText()), c.text);
}

TEST(ActionKinds, ClampEdges)
{
    NamedTables tables;
    struct Case {
        int32_t kind;
        std::vector<int32_t> ints;
        std::vector<int32_t> expected;
    } cases[] = {
        {Act::SoundEffect, {0}, {1}},         // sound 0 means none: the first real sound
        {Act::Music, {2, 0, 1}, {2, 0, 1}},   // "なし" survives
        {Act::Music, {2, -4, 1}, {2, 0, 1}},
        {Act::LearnSkill, {2, 4}, {2, 1}},    // group 2 holds 4 skills
        {Act::LearnSkill, {2, 3}, {2, 3}},
        {Act::LearnSkill, {3, 0}, {0, 1}},    // a vanished list resets the skill too
        {Act::Warp, {0, 19, 14, 0}, {0, 19, 14, 0}},
        {Act::Warp, {0, 20, 15, 0}, {0, 19, 14, 0}},
    };
    for (const Case& c : cases) {
        cEventAct a = Action(c.kind, c.ints);
        a.NormalizeAction();
        EXPECT_EQ(a.m_Ints, c.expected) << "kind " << c.kind;
    }

    // An empty table leaves only the lower bound: index 0 for pictures, 1 for friends.
    tables.sizes[Table::Picture] = 0;
    tables.sizes[Table::Friend] = 0;
    cEventAct pic = Action(Act::Picture, std::vector<int32_t>(18, 3));
    pic.NormalizeAction();
    EXPECT_EQ(pic.P(0), 0);
    cEventAct party = Action(Act::Party, {5, 1});
    party.NormalizeAction();
    EXPECT_EQ(party.P(0), 1);
}

TEST(ActionKinds, NewActionsAndKindChanges)
{
    for (int32_t kind = 0; kind < Act::Count_; ++kind) {
        cEventAct a(kind);
        EXPECT_EQ(static_cast<int>(a.m_Ints.size()), ActionKind(kind).intCount) << kind;
        EXPECT_EQ(static_cast<int>(a.m_Strings.size()), ActionKind(kind).stringCount) << kind;
    }
    cEventAct message(Act::Message);
    EXPECT_EQ(message.m_Ints, (std::vector<int32_t>{3, 0, 0, 0, 0, 1, 1, 0, 30, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0,
                                                      0, 255, 1, 100}));
    EXPECT_EQ(message.m_Strings, std::vector<std::string>{""});

    message.ChangeKind(Act::Wait);
    EXPECT_EQ(message.m_Ints, std::vector<int32_t>{3});
    EXPECT_TRUE(message.m_Strings.empty());

    // The start event takes only the kinds that work without a stage.
    std::vector<int32_t> start;
    for (int32_t kind = 0; kind < Act::Count_; ++kind)
        if (ActionKind(kind).startEventAllowed)
            start.push_back(kind);
    EXPECT_EQ(start, (std::vector<int32_t>{11, 15, 16, 17, 19, 20, 21, 22, 23}));
    EXPECT_EQ(Utf8(ActionKind(-1).label), "");
}

}  // namespace
