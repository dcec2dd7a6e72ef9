#include "events/action_forms.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/edit_rules.h"
#include "events/event.h"
#include "events/message_codes.h"
#include "tests/events/event_test_util.h"

namespace {

using Kind = ParamSource::Kind;

cEventAct Action(int32_t kind, std::map<int, int32_t> values = {})
{
    cEventAct a(kind);
    for (auto [p, v] : values)
        a.m_Ints.at(static_cast<std::size_t>(p)) = v;
    return a;
}

bool HasTableClampRange(Table t) { return t != Table::StageWidth && t != Table::StageHeight; }

}  // namespace

// The forms against the kind table: every parameter has exactly one control of
// a widget that fits its source, ids are unique, rules name the form's own
// controls, and lists start where the kind's clamp keeps values.
TEST(ActionForms, FormsMatchTheKindTable)
{
    for (int kind = 0; kind < Act::Count_; ++kind) {
        SCOPED_TRACE("kind " + std::to_string(kind));
        const ActionKindInfo& info = ActionKind(kind);
        const ActionForm* form = ActionFormOf(kind);
        ASSERT_EQ(form != nullptr, kind >= 1 && kind <= 23);
        ASSERT_EQ(static_cast<int>(info.params.size()), info.intCount);
        if (!form)
            continue;
        EXPECT_FALSE(form->title.empty());

        std::set<int> ids;
        std::map<int, int> perParam;
        int texts = 0;
        for (const FormControl& c : form->controls) {
            EXPECT_TRUE(ids.insert(c.id).second) << "id " << c.id;
            if (c.param == kTextParam) {
                ++texts;
                EXPECT_EQ(c.widget, FormWidget::Text);
                continue;
            }
            if (c.param == kNoParam)
                continue;
            ASSERT_GE(c.param, 0);
            ASSERT_LT(c.param, info.intCount) << "id " << c.id;
            ++perParam[c.param];
            const ParamSource& s = info.params[static_cast<std::size_t>(c.param)];
            bool flag = s.kind == Kind::Range && s.low == 0 && s.high == 1;
            switch (c.widget) {
            case FormWidget::Combo: EXPECT_TRUE(s.IsChoice()) << "id " << c.id; break;
            case FormWidget::Check: EXPECT_TRUE(flag) << "id " << c.id; break;
            case FormWidget::Edit: EXPECT_TRUE(s.kind == Kind::Range && !flag) << "id " << c.id; break;
            default: ADD_FAILURE() << "id " << c.id << " binds a parameter";
            }
        }
        EXPECT_EQ(texts, info.stringCount);
        for (int p = 0; p < info.intCount; ++p) {
            bool kept = info.params[static_cast<std::size_t>(p)].kind == Kind::Kept;
            EXPECT_EQ(perParam[p], kept ? 0 : 1) << "P" << p;
        }
        for (const FormRule& r : form->rules) {
            EXPECT_TRUE(form->Find(r.id)) << "rule names " << r.id;
            EXPECT_LT(r.param, info.intCount);
            EXPECT_FALSE(r.values.empty());
        }
        for (const ActionClamp& c : info.clamps) {
            const ParamSource& s = info.params[static_cast<std::size_t>(c.param)];
            if (c.rule == ActionClamp::Rule::ToTable && HasTableClampRange(c.table)) {
                EXPECT_EQ(s.table, c.table) << "P" << c.param;
                EXPECT_EQ(s.low, c.low) << "P" << c.param;
            } else if (c.rule != ActionClamp::Rule::ToTable) {
                EXPECT_EQ(s.kind, Kind::TableEntry);
                EXPECT_EQ(s.table, Table::SkillList);
                EXPECT_EQ(s.low, 0);
                if (c.rule == ActionClamp::Rule::SkillPair) {
                    const ParamSource& skill = info.params[static_cast<std::size_t>(c.param + 1)];
                    EXPECT_EQ(skill.kind, Kind::SkillOf);
                    EXPECT_EQ(skill.other, c.param);
                    EXPECT_EQ(skill.low, 1);
                }
            }
        }
    }
    // Only the status action keeps a parameter without a control.
    EXPECT_EQ(ActionKind(Act::Status).params[15].kind, Kind::Kept);
}

TEST(ActionForms, EveryQuotedNoteOfAKindIsInItsDialog)
{
    const std::map<int, std::vector<const char*>> notes = {
        {Act::Message, {"☆同一IDのメッセージと入れ替える", "メッセージの消去(メッセージIDが非設定なら消去は失敗)",
                        "画面からはみ出ないように自動調整", "画面に追従する（スクロールしても位置が変わらない）",
                        "Aキーで表示/非表示の切替", "ウインドウを表示する", "自動で更新（変数の変化に対応）",
                        "ピクチャーを表示する", "参照：#P", "#P0～X.", "#C1～999.", "#C1_3zp.", "#SKILL."}},
        {Act::Picture, {"ピクチャーID", "ピクチャーの消去(ピクチャーIDが非設定なら消去は失敗)", "左右反転", "上下反転"}},
        {Act::Wait, {"実行時間(1/10s)"}},
        {Act::Warp, {"ワープ先にキャラがいたら、ワープは失敗"}},
        {Act::EnemyGroup, {"出現先にキャラが存在するなら出現しない"}},
        {Act::EnemyCopy, {"残りHP、残りSP、スキルの残り使用回数もコピー"}},
        {Act::PlaceFriend, {"パーティーから味方を配置", "このイベントの位置に配置", "ステージクリア後にパーティーに加える",
                            "ステージ開始前"}},
        {Act::StartPosition, {"ステージ開始前"}},
        {Act::Music, {"ループ再生", "※タイトルとオプションは変更不可"}},
        {Act::Status, {"※HPの最小値は1（このアクションでは死なない）", "％で指定"}},
        {Act::Money, {"増減値"}},
        {Act::LearnSkill, {"※敵は習得不可"}},
        {Act::ShopItem, {"在庫は無限", "在庫＋"}},
        {Act::RandomSkill, {"回数"}},
    };
    for (const auto& [kind, texts] : notes) {
        const ActionForm* form = ActionFormOf(kind);
        ASSERT_TRUE(form);
        for (const char* text : texts) {
            bool found = false;
            for (const FormControl& c : form->controls)
                found = found || c.label.find(Utf8ToCp932(text)) != std::string::npos;
            EXPECT_TRUE(found) << "kind " << kind << ": " << text;
        }
    }
}

// Enabling by the rules: for each case the controls that must be usable and
// those that must not.
TEST(ActionForms, EnablingFollowsTheRules)
{
    struct Case {
        const char* name;
        int kind;
        std::map<int, int32_t> values;
        std::vector<int> on, off;
    };
    const Case cases[] = {
        // Message: a new one shows the text, the window and the variable reference.
        {"message new", Act::Message, {},
         {1268, 1572, 1309, 1250, 1577, 1578, 1576, 1573, 1574, 1330, 1332, 1583, 1575, 1580, 1068, 1069},
         {1324, 1318, 1320, 1322, 1584, 1589, 1582, 1579, 1326, 1328, 1585, 1587, 1588, 1592, 1581}},
        {"message erase", Act::Message, {{15, 1}, {13, 1}, {16, 1}, {0, 9}, {7, 2}},
         {1577, 1578, 1324, 1309, 1250, 1068, 1069},
         {1268, 1572, 1576, 1573, 1574, 1318, 1320, 1330, 1332, 1583, 1584, 1575, 1322, 1589, 1580, 1582, 1579, 1326,
          1328, 1585, 1587, 1588, 1592, 1581}},
        {"message id without erase", Act::Message, {{13, 1}, {10, 0}}, {1324}, {1573}},
        {"message position 10, duration 1", Act::Message, {{0, 10}, {7, 1}}, {1318, 1320, 1584, 1589}, {1322}},
        {"message duration 2", Act::Message, {{7, 2}}, {1322}, {1584, 1589}},
        {"message picture position 8", Act::Message, {{16, 1}, {18, 8}},
         {1582, 1579, 1326, 1328, 1585, 1587, 1588, 1592, 1581}, {}},
        {"message picture elsewhere", Act::Message, {{16, 1}, {18, 7}}, {1582, 1579}, {1326, 1328}},
        {"picture", Act::Picture, {{4, 9}, {15, 1}}, {1579, 1581, 1584, 1589, 1582}, {1322, 1326}},
        {"picture erase", Act::Picture, {{3, 1}, {1, 1}}, {1577, 1583, 1326}, {1582, 1574, 1330, 1575, 1585}},
        {"cursor 0", Act::MapCursor, {{0, 0}}, {1187}, {1317, 1318, 1320}},
        {"cursor 2", Act::MapCursor, {{0, 2}}, {1317}, {1318, 1320}},
        {"cursor 3", Act::MapCursor, {{0, 3}}, {1318, 1320}, {1317}},
        {"friend from party", Act::PlaceFriend, {{1, 1}, {2, 1}}, {1632}, {1633, 1318, 1320}},
        {"friend at a cell", Act::PlaceFriend, {{1, 0}, {2, 0}}, {1633, 1318, 1320}, {}},
        {"chip all", Act::MapChip, {{0, 6}, {1, 0}}, {1317, 1327}, {1326}},
        {"chip some", Act::MapChip, {{0, 1}, {1, 1}}, {1326}, {1317}},
        {"music scene 2", Act::Music, {{0, 2}}, {1660, 1313}, {}},
        {"music scene 3", Act::Music, {{0, 3}}, {1235}, {1660}},
        {"status left character", Act::Status, {{0, 0}, {6, 0}}, {1603, 1607, 1605}, {1604, 1608, 1251, 1611, 1613,
                                                                                        1615, 1617, 1616, 1618, 1619}},
        {"status common variables", Act::Status, {{0, 1}, {1, 0}, {6, 3}, {10, 0}},
         {1604, 1608, 1251, 1616, 1618, 1619}, {1603, 1607, 1605, 1611, 1615}},
        {"status event variables", Act::Status, {{0, 1}, {1, 1}, {6, 3}, {10, 1}}, {1604, 1616},
         {1608, 1251, 1618, 1619}},
        {"status random, character", Act::Status, {{6, 1}}, {1611, 1613}, {1605}},
        {"status right character", Act::Status, {{6, 2}}, {1615, 1617}, {1611, 1616}},
        {"shop limited", Act::ShopItem, {{2, 0}}, {1570}, {}},
        {"shop infinite", Act::ShopItem, {{2, 1}}, {1569}, {1570}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ActionForm* form = ActionFormOf(c.kind);
        ASSERT_TRUE(form);
        cEventAct act = Action(c.kind, c.values);
        for (int id : c.on) {
            ASSERT_TRUE(form->Find(id)) << id;
            EXPECT_TRUE(FormControlEnabled(*form, id, act)) << id;
        }
        for (int id : c.off) {
            ASSERT_TRUE(form->Find(id)) << id;
            EXPECT_FALSE(FormControlEnabled(*form, id, act)) << id;
        }
    }
}

TEST(ActionForms, ChooserDecision)
{
    struct Case {
        int32_t kind;
        bool newAction, startEvent;
        int pressed;
    } cases[] = {
        {Act::Wait, false, false, Act::Wait},        // existing: straight to its dialog
        {Act::Wait, true, false, 0},                 // new: the chooser shows
        {Act::StageClear, false, false, Act::StageClear},
        {Act::GameOver, false, false, Act::GameOver},
        {Act::None, false, false, 0},                // no button
        {Act::TurnBack, false, false, 0},
        {Act::Wait, false, true, 0},                 // a disabled button
        {Act::Money, false, true, Act::Money},
    };
    for (const auto& c : cases) {
        cEventAct act;
        act.m_nKind = c.kind;
        EXPECT_EQ(ChooserOpeningKind(act, c.newAction, c.startEvent), c.pressed) << c.kind;
    }
    std::vector<int> enabled;
    for (int k = 0; k < Act::Count_; ++k) {
        EXPECT_EQ(ChooserButtonEnabled(k, false), k >= 1 && k <= 25) << k;
        if (ChooserButtonEnabled(k, true))
            enabled.push_back(k);
    }
    EXPECT_EQ(enabled, (std::vector<int>{11, 15, 16, 17, 19, 20, 21, 22, 23}));
}

TEST(ActionForms, StatusRefusalsInTheStartEvent)
{
    const std::string chara = Utf8ToCp932("初期イベントではキャラのステータスは利用できません！");
    const std::string eventVar = Utf8ToCp932("初期イベントではイベント変数は利用できません！");
    // Left common variable 1, right constant: acceptable anywhere.
    const std::map<int, int32_t> fine = {{0, 1}, {1, 0}, {6, 0}};
    struct Case {
        std::map<int, int32_t> values;
        const std::string& text;
    } refused[] = {
        {{{0, 0}, {6, 0}}, chara},
        {{{0, 1}, {1, 0}, {6, 2}}, chara},
        {{{0, 1}, {1, 1}, {6, 0}}, eventVar},
        {{{0, 1}, {1, 0}, {6, 3}, {10, 1}}, eventVar},
    };
    for (const Case& c : refused) {
        EXPECT_EQ(StatusRefusal(Action(Act::Status, c.values), true), c.text);
        EXPECT_EQ(StatusRefusal(Action(Act::Status, c.values), false), "");
    }
    EXPECT_EQ(StatusRefusal(Action(Act::Status, fine), true), "");
    EXPECT_EQ(StatusRefusal(Action(Act::Status, {{0, 1}, {1, 0}, {6, 3}, {10, 0}}), true), "");
}

TEST(ActionForms, MessageCodesCountAsOneCharacter)
{
    struct Case {
        const char* text;
        std::size_t length;
    } cases[] = {
        {"#P0.", 4}, {"#P123.x", 6}, {"#C1.", 4}, {"#C1_3z.", 7}, {"#C1_3zp.", 8}, {"#C12p.", 6},
        {"#TURN.", 6}, {"#CHARA.", 7}, {"#LEADER.", 8}, {"#TARGET.", 8}, {"#ACTCHARA.", 10},
        {"#BTLFRIEND.", 11}, {"#BTLENEMY.", 10}, {"#BEFORE.", 8}, {"#AFTER.", 7}, {"#CHANGE.", 8}, {"#SKILL.", 7},
        // Not codes.
        {"#X.", 0}, {"#P.", 0}, {"#P12", 0}, {"#C.", 0}, {"#C1_.", 0}, {"#C1pz.", 0}, {"#turn.", 0}, {"#", 0},
        {"P0.", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MessageCodeLength(c.text, 0), c.length) << c.text;

    SetControlSequenceRecogniser(MessageCodeLength);
    EXPECT_EQ(TextWidth("#C1_3zp.#TURN.ab", true), 4u);
    EXPECT_EQ(TextWidth("#X.", true), 3u);
    // 29 codes and two letters: the line breaks after the 30th character.
    std::string text;
    for (int i = 0; i < 29; ++i)
        text += "#P1.";
    text += "ab";
    std::size_t s = 0, e = 0;
    EXPECT_EQ(BreakLongLines(text, s, e, 30, true), 1);
    EXPECT_EQ(text.substr(text.size() - 3), "\r\nb");
    SetControlSequenceRecogniser(nullptr);
}

// The lists: table entries from the clamp's low end, zero-padded; music with
// "なし"; skills of the chosen list.
TEST(ActionForms, ChoiceLists)
{
    NamedTables tables;
    auto texts = [](const std::vector<ParamChoice>& choices) {
        std::vector<std::string> out;
        for (const ParamChoice& c : choices)
            out.push_back(Utf8(c.text));
        return out;
    };
    auto values = [](const std::vector<ParamChoice>& choices) {
        std::vector<int32_t> out;
        for (const ParamChoice& c : choices)
            out.push_back(c.value);
        return out;
    };
    tables.sizes[Table::Friend] = 12;
    EXPECT_EQ(texts(ParamChoices(Action(Act::Party), 0)).front(), "01 仲間1");
    EXPECT_EQ(values(ParamChoices(Action(Act::Party), 0)).size(), 11u);
    EXPECT_EQ(texts(ParamChoices(Action(Act::Music), 1)),
              (std::vector<std::string>{"なし", "1 曲1", "2 曲2", "3 曲3", "4 曲4", "5 曲5", "6 曲6", "7 曲7"}));
    EXPECT_EQ(values(ParamChoices(Action(Act::Picture), 0)), (std::vector<int32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(texts(ParamChoices(Action(Act::LearnSkill, {{0, 2}}), 1)),
              (std::vector<std::string>{"1 技2-1", "2 技2-2", "3 技2-3"}));
    EXPECT_EQ(texts(ParamChoices(Action(Act::LearnSkill, {{0, 0}}), 1)), (std::vector<std::string>{"1 技0-1"}));
    EXPECT_EQ(values(ParamChoices(Action(Act::Status), 2)).front(), 1);
    EXPECT_EQ(texts(ParamChoices(Action(Act::Status), 2)).at(11), "0012 変数12");
    EXPECT_EQ(texts(ParamChoices(Action(Act::EnemyGroup), 1)), (std::vector<std::string>{"OFF", "ON"}));
    EXPECT_EQ(ParamChoices(Action(Act::Status), 7).size(), 0u);  // a number, not a list

    // A table with nothing from the low end on offers nothing.
    tables.sizes[Table::Sound] = 1;
    EXPECT_TRUE(ParamChoices(Action(Act::SoundEffect), 0).empty());
    tables.sizes.erase(Table::Sound);
    EXPECT_TRUE(ParamChoices(Action(Act::SoundEffect), 0).empty());
}
