// The action palette's rules: contents and menu texts, the command ids, new,
// overwrite, paste with the start-event filter, the dialog's list commands and
// the palette file.
#include <gtest/gtest.h>

#include <filesystem>

#include "events/action_kinds.h"
#include "events/action_palette.h"
#include "resources/menus.h"
#include "tests/events/event_test_util.h"

namespace {

cEventAct MakeAct(int32_t kind, int32_t p0 = 0)
{
    cEventAct a(kind);
    if (!a.m_Ints.empty())
        a.m_Ints[0] = p0;
    return a;
}

cEventActPlt Entry(const char* name, std::vector<cEventAct> actions, const char* description = "")
{
    cEventActPlt e;
    e.m_Name = Utf8ToCp932(name);
    e.m_Description = Utf8ToCp932(description);
    e.m_Actions.items() = std::move(actions);
    return e;
}

std::vector<int32_t> Kinds(const std::vector<cEventAct>& actions)
{
    std::vector<int32_t> kinds;
    for (const cEventAct& a : actions)
        kinds.push_back(a.m_nKind);
    return kinds;
}

std::vector<std::string> Names(const ActionPalette& palette)
{
    std::vector<std::string> names;
    for (const cEventActPlt& e : palette)
        names.push_back(Utf8(e.m_Name));
    return names;
}

ActionPalette Palette(int count)
{
    ActionPalette palette;
    for (int i = 0; i < count; ++i)
        palette.push_back(Entry(("P" + std::to_string(i + 1)).c_str(), {MakeAct(Act::Wait, i)}));
    return palette;
}

const char* kPath = "EventActionPlt.dat";

}  // namespace

TEST(ActionPalette, ContentsMenuTextAndTooltip)
{
    cEventActPlt three = Entry("三つ", {MakeAct(Act::Message), MakeAct(Act::Wait), MakeAct(Act::SoundEffect)}, "説明文");
    EXPECT_EQ(Utf8(ActionPaletteContents(three)), "内容： メッセージ → ウエイト → 効果音の再生");
    EXPECT_EQ(Utf8(ActionPaletteContents(Entry("空", {}))), "内容： ");
    EXPECT_EQ(Utf8(ActionPaletteContents(Entry("一つ", {MakeAct(Act::Money)}))), "内容： 所持金の操作");

    EXPECT_EQ(Utf8(ActionPaletteMenuText(0, three)), "01 三つ");
    EXPECT_EQ(Utf8(ActionPaletteMenuText(8, three)), "09 三つ");
    EXPECT_EQ(Utf8(ActionPaletteMenuText(119, three)), "120 三つ");

    EXPECT_EQ(Utf8(ActionPaletteTooltip(three)), "説明文\n内容： メッセージ → ウエイト → 効果音の再生");
    EXPECT_EQ(Utf8(ActionPaletteTooltip(Entry("空", {}))), "内容： ");
}

TEST(ActionPalette, CommandIdsBothWays)
{
    struct Case { int entry, paste, overwrite; };
    const Case cases[] = {
        {0, 35500, 35000}, {1, 35501, 35001}, {99, 35599, 35099},
        {100, 37100, 36100}, {119, 37119, 36119}, {998, 37998, 36998},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(ActionPalettePasteId(c.entry), c.paste);
        EXPECT_EQ(ActionPaletteOverwriteId(c.entry), c.overwrite);
        PaletteCommandTarget paste = DecodeActionPaletteCommand(c.paste);
        EXPECT_EQ(paste.command, PaletteCommand::Paste);
        EXPECT_EQ(paste.entry, c.entry);
        PaletteCommandTarget overwrite = DecodeActionPaletteCommand(c.overwrite);
        EXPECT_EQ(overwrite.command, PaletteCommand::Overwrite);
        EXPECT_EQ(overwrite.entry, c.entry);
    }
    EXPECT_EQ(ActionPalettePasteId(-1), 0);
    EXPECT_EQ(ActionPalettePasteId(999), 0);
    EXPECT_EQ(DecodeActionPaletteCommand(40127).command, PaletteCommand::New);
    EXPECT_EQ(DecodeActionPaletteCommand(40126).command, PaletteCommand::Sort);
    // Ids between and beyond the ranges, and the wide ids of the narrow entries,
    // are no palette command.
    for (int id : {34999, 35100, 35499, 35600, 35999, 36000, 36099, 36999, 37099, 37999, 40075, 0})
        EXPECT_EQ(DecodeActionPaletteCommand(id).command, PaletteCommand::None) << id;
}

TEST(ActionPalette, SelectedActionsComeInListOrder)
{
    std::vector<cEventAct> list = {MakeAct(Act::Wait, 1), MakeAct(Act::Wait, 2), MakeAct(Act::Wait, 3), MakeAct(Act::Wait, 4)};
    std::vector<cEventAct> picked = SelectedActions(list, {3, 0, 2, 3, 7, -1});
    ASSERT_EQ(picked.size(), 3u);
    EXPECT_EQ(picked[0].P(0), 1);
    EXPECT_EQ(picked[1].P(0), 3);
    EXPECT_EQ(picked[2].P(0), 4);
}

TEST(ActionPalette, NewEntry)
{
    RecordingSink sink;
    std::vector<cEventAct> one = {MakeAct(Act::Money, 500)};
    struct Case { int count; bool selected; NewEntryResult result; bool message; };
    const Case cases[] = {
        {999, true, NewEntryResult::Full, true},
        // The count is checked before the selection.
        {999, false, NewEntryResult::Full, true},
        {3, false, NewEntryResult::NothingSelected, false},
        {998, true, NewEntryResult::Ready, false},
        {0, true, NewEntryResult::Ready, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        sink.texts.clear();
        ActionPalette palette = Palette(c.count);
        ActionPalette working;
        EXPECT_EQ(PrepareNewActionPaletteEntry(palette, c.selected ? one : std::vector<cEventAct>{}, working),
                  c.result);
        EXPECT_EQ(palette.size(), c.count);
        if (c.message) {
            ASSERT_EQ(sink.texts.size(), 1u);
            EXPECT_EQ(Utf8(sink.texts[0]), "999個までしか保存できません！");
            EXPECT_EQ(Utf8(sink.titles[0]), "エラー");
        } else {
            EXPECT_TRUE(sink.texts.empty());
        }
        if (c.result == NewEntryResult::Ready) {
            ASSERT_EQ(working.size(), c.count + 1);
            EXPECT_TRUE(working.back().m_Name.empty());
            EXPECT_TRUE(working.back().m_Description.empty());
            EXPECT_EQ(Kinds(working.back().m_Actions.items()), std::vector<int32_t>{Act::Money});
        }
    }
}

TEST(ActionPalette, OverwriteAsksAndReplacesOnlyTheActions)
{
    TempDir dir;
    RecordingSink sink;
    std::vector<cEventAct> picked = {MakeAct(Act::Money, 500), MakeAct(Act::Wait, 7)};
    for (Answer answer : {Answer::No, Answer::Yes}) {
        SCOPED_TRACE(answer == Answer::Yes ? "Yes" : "No");
        sink.texts.clear();
        sink.answer = answer;
        std::filesystem::remove(kPath);
        ActionPalette palette = Palette(3);
        palette[1].m_Description = SJ("二番目");
        ActionPalette before = palette;
        EXPECT_EQ(OverwriteActionPaletteEntry(palette, 1, picked, kPath), answer == Answer::Yes ? 1 : 0);
        ASSERT_EQ(sink.texts.size(), 1u);
        EXPECT_EQ(Utf8(sink.texts[0]), "「P2」を上書きします。\nよろしいですか？\n");
        EXPECT_EQ(Utf8(sink.titles[0]), "アクションパレットの上書き保存");
        if (answer == Answer::No) {
            EXPECT_TRUE(palette[1].Equals(before[1]));
            EXPECT_FALSE(std::filesystem::exists(kPath));
            continue;
        }
        EXPECT_EQ(Utf8(palette[1].m_Name), "P2");
        EXPECT_EQ(Utf8(palette[1].m_Description), "二番目");
        EXPECT_EQ(Kinds(palette[1].m_Actions.items()), (std::vector<int32_t>{Act::Money, Act::Wait}));
        EXPECT_TRUE(palette[0].Equals(before[0]));
        EXPECT_TRUE(palette[2].Equals(before[2]));
        ActionPalette read;
        ASSERT_EQ(LoadListFile(read, kPath), 1);
        ASSERT_EQ(read.size(), 3);
        EXPECT_TRUE(read[1].Equals(palette[1]));
    }

    // Nothing selected: no question, nothing changes.
    sink.texts.clear();
    ActionPalette palette = Palette(3);
    EXPECT_EQ(OverwriteActionPaletteEntry(palette, 1, {}, kPath), 0);
    EXPECT_TRUE(sink.texts.empty());
}

TEST(ActionPalette, PasteFiltersInTheStartEventAndCopies)
{
    NamedTables tables;
    cEventAct message = MakeAct(Act::Message);
    message.m_Strings[0] = SJ("こんにちは");
    cEventAct sound = MakeAct(Act::SoundEffect, 50);  // beyond the 12 sounds: normalized on paste
    cEventActPlt entry = Entry("混合", {message, MakeAct(Act::Money, 500), sound});

    struct Case { bool startEvent; int at; std::vector<int32_t> kinds; };
    const Case cases[] = {
        {true, 1, {Act::Wait, Act::Money, Act::Wait}},
        {false, 1, {Act::Wait, Act::Message, Act::Money, Act::SoundEffect, Act::Wait}},
        {false, 2, {Act::Wait, Act::Wait, Act::Message, Act::Money, Act::SoundEffect}},  // the append line
        {false, 0, {Act::Message, Act::Money, Act::SoundEffect, Act::Wait, Act::Wait}},
        {false, 3, {Act::Wait, Act::Wait}},   // beyond the append line: nothing
        {false, -1, {Act::Wait, Act::Wait}},  // no line selected: nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.startEvent << " at " << c.at);
        std::vector<cEventAct> list = {MakeAct(Act::Wait, 1), MakeAct(Act::Wait, 2)};
        int inserted = PasteActionPaletteEntry(entry, list, c.at, c.startEvent);
        EXPECT_EQ(inserted, static_cast<int>(c.kinds.size()) - 2);
        EXPECT_EQ(Kinds(list), c.kinds);
        for (const cEventAct& a : list) {
            if (a.m_nKind == Act::Money) {
                EXPECT_EQ(a.P(0), 500);
            }
            if (a.m_nKind == Act::SoundEffect) {
                EXPECT_EQ(a.P(0), 11);
            }
        }
        // The list holds copies: changing them leaves the entry as it was.
        for (cEventAct& a : list)
            if (a.m_nKind == Act::Money)
                a.m_Ints[0] = 1;
        EXPECT_EQ(entry.m_Actions[1].P(0), 500);
        EXPECT_EQ(entry.m_Actions[2].P(0), 50);
    }
}

TEST(ActionPalette, DialogListCommands)
{
    struct Case { const char* op; int entry; int selected; std::vector<std::string> names; };
    const Case cases[] = {
        {"up", 0, 0, {"P1", "P2", "P3"}},
        {"up", 2, 1, {"P1", "P3", "P2"}},
        {"down", 2, 2, {"P1", "P2", "P3"}},
        {"down", 0, 1, {"P2", "P1", "P3"}},
        {"delete", 1, 1, {"P1", "P3"}},
        {"delete", 2, 1, {"P1", "P2"}},
        {"up", -1, -1, {"P1", "P2", "P3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.op << " " << c.entry);
        ActionPalette palette = Palette(3);
        std::string op = c.op;
        int selected = op == "up"     ? MoveActionPaletteEntryUp(palette, c.entry)
                       : op == "down" ? MoveActionPaletteEntryDown(palette, c.entry)
                                      : DeleteActionPaletteEntry(palette, c.entry);
        EXPECT_EQ(selected, c.selected);
        EXPECT_EQ(Names(palette), c.names);
    }
    ActionPalette one = Palette(1);
    EXPECT_EQ(DeleteActionPaletteEntry(one, 0), -1);
    EXPECT_TRUE(one.empty());
}

TEST(ActionPalette, FileReadsBackEqual)
{
    TempDir dir;
    ActionPalette palette = Palette(2);
    cEventAct message = MakeAct(Act::Message);
    message.m_Strings[0] = SJ("一行目\r\n二行目");
    palette.push_back(Entry("名前", {message, MakeAct(Act::Money, -30)}, "説明"));
    palette.push_back(Entry("", {}));  // no actions: two strings and a zero count
    SaveActionPalette(palette, kPath);
    ActionPalette read;
    ASSERT_EQ(LoadListFile(read, kPath), 1);
    ASSERT_EQ(read.size(), palette.size());
    for (int i = 0; i < palette.size(); ++i)
        EXPECT_TRUE(read[i].Equals(palette[i])) << i;
    // The empty entry's body: two empty strings and a zero count, after the header and count.
    std::vector<uint8_t> bytes = ReadFile(kPath);
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 12, bytes.end()), Bytes().u32(1).u32(1).u32(0).data);

    // A save that cannot be made changes nothing in memory and is not reported.
    RecordingSink sink;
    SaveActionPalette(palette, "missing\\folder\\EventActionPlt.dat");
    EXPECT_TRUE(sink.texts.empty());
    EXPECT_EQ(palette.size(), 4);
}

TEST(ActionPalette, MenuCommandsOnTheEditorsList)
{
    TempDir dir;
    RecordingSink sink;
    sink.answer = Answer::Yes;
    ActionPalette palette = Palette(120);
    std::vector<cEventAct> list = {MakeAct(Act::Message), MakeAct(Act::Wait, 5), MakeAct(Act::Money, 9)};
    int dialogs = 0, lastMode = -1, answer = 0;
    std::vector<std::string> seen;
    ActionPaletteTarget target;
    target.actions = &list;
    target.palette = &palette;
    target.path = kPath;
    target.dialog = [&](ActionPalette& working, int mode) {
        ++dialogs;
        lastMode = mode;
        seen = Names(working);
        if (answer)
            working.back().m_Name = SJ("新しい");
        return answer;
    };

    // Entry 120 (index 119) pastes through its wide id.
    target.insertAt = 3;
    ActionPaletteOutcome out = RunActionPaletteCommand(37119, target);
    EXPECT_TRUE(out.handled);
    EXPECT_EQ(out.inserted, 1);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[3].P(0), 119);
    list.pop_back();

    // Ids of entries the palette does not hold, and other ids, do nothing.
    for (int id : {37121, 36500, 40075}) {
        out = RunActionPaletteCommand(id, target);
        EXPECT_FALSE(out.paletteChanged);
        EXPECT_EQ(out.inserted, 0);
    }
    EXPECT_FALSE(RunActionPaletteCommand(40075, target).handled);
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(palette.size(), 120);
    EXPECT_TRUE(sink.texts.empty());

    // "新規保存" cancelled: the palette keeps its entries and no file is written.
    target.selected = {2, 0};
    out = RunActionPaletteCommand(40127, target);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(lastMode, 1);
    ASSERT_EQ(seen.size(), 121u);
    EXPECT_EQ(seen.back(), "");
    EXPECT_FALSE(out.paletteChanged);
    EXPECT_EQ(palette.size(), 120);
    EXPECT_FALSE(std::filesystem::exists(kPath));

    // OK: the working list replaces the palette, with the selection in list order.
    answer = 1;
    out = RunActionPaletteCommand(40127, target);
    EXPECT_TRUE(out.paletteChanged);
    ASSERT_EQ(palette.size(), 121);
    EXPECT_EQ(Utf8(palette.back().m_Name), "新しい");
    EXPECT_EQ(Kinds(palette.back().m_Actions.items()), (std::vector<int32_t>{Act::Message, Act::Money}));
    ActionPalette read;
    ASSERT_EQ(LoadListFile(read, kPath), 1);
    EXPECT_EQ(read.size(), 121);

    // The pasted copies are the editor's own.
    target.insertAt = 0;
    RunActionPaletteCommand(ActionPalettePasteId(120), target);
    list[0].m_nKind = Act::Wait;
    EXPECT_EQ(palette[120].m_Actions[0].m_nKind, Act::Message);

    // "アクションパレットの並べ替え" opens the dialog in mode 0 on a copy.
    answer = 0;
    out = RunActionPaletteCommand(40126, target);
    EXPECT_EQ(lastMode, 0);
    EXPECT_EQ(seen.size(), 121u);
    EXPECT_EQ(Utf8(palette.back().m_Name), "新しい");

    // Overwrite entry 101 through its wide id.
    target.selected = {1};
    out = RunActionPaletteCommand(36100, target);
    EXPECT_TRUE(out.paletteChanged);
    ASSERT_EQ(sink.texts.size(), 1u);
    EXPECT_EQ(Utf8(sink.texts[0]), "「P101」を上書きします。\nよろしいですか？\n");
    EXPECT_EQ(Kinds(palette[100].m_Actions.items()), std::vector<int32_t>{list[1].m_nKind});
}
