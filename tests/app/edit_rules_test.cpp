// Typing rules of edits, the list model, and the window rules without Qt.
#include <gtest/gtest.h>

#include "app/edit_rules.h"
#include "records/list_model.h"
#include "base/text.h"
#include "app/window_logic.h"

TEST(EditRules, ParseAndShowIntegers)
{
    struct Case {
        const char* text;
        NumericType type;
        double min, max;
        double value;
        const char* shown;
    };
    const Case cases[] = {
        {"-", NT_INT, -10, 10, 0, "-"},
        {"-0", NT_INT, -10, 10, 0, "-0"},
        {"-000", NT_INT, -10, 10, 0, "-0"},
        {"-7", NT_INT, -10, 10, -7, "-7"},
        {"1-2", NT_INT, -10, 99, 12, "12"},        // a minus only counts in front
        {"300", NT_UCHAR, 0, 1000, 255, "255"},    // the type's range first
        {"99999999999", NT_INT, -1e10, 1e10, 2147483647, "2147483647"},
        {"", NT_INT, 3, 10, 3, nullptr},           // empty: the minimum when positive, nothing shown
        {"", NT_INT, -3, 10, 0, nullptr},
        {"x", NT_INT, -3, 10, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        NumericReading r = ParseNumeric(c.text, c.type, 0, c.min);
        EXPECT_EQ(r.value, c.value);
        NumericDisplay d = ShowNumeric(r.value, c.min, c.max, c.type, 0, r.pending, r.empty, false);
        EXPECT_EQ(d.write, c.shown != nullptr);
        if (c.shown) {
            EXPECT_EQ(d.text, c.shown);
        }
    }
    EXPECT_EQ(FilterNumericText(SJ("１2あ-3.4")), "23.4");
}

TEST(EditRules, FloatingValuesAreRoundedToTheirDecimals)
{
    NumericReading r = ParseNumeric("2.345678", NT_DOUBLE, 2, 0);
    EXPECT_DOUBLE_EQ(r.value, 2.35);
    EXPECT_EQ(r.pending, "2.345678");
    // Shown as typed unless forced or clamped.
    EXPECT_EQ(ShowNumeric(r.value, 0, 10, NT_DOUBLE, 2, r.pending, false, false).text, "2.345678");
    EXPECT_EQ(ShowNumeric(r.value, 0, 10, NT_DOUBLE, 2, r.pending, false, true).text, "2.35");
    EXPECT_EQ(ShowNumeric(12.5, 0, 10, NT_DOUBLE, 1, "12.5", false, false).text, "10.0");
}

TEST(EditRules, LineBreaking)
{
    struct Case {
        std::string text;
        std::size_t width;
        bool message;
        std::string broken;
        std::size_t caretBefore, caretAfter;
    };
    const Case cases[] = {
        {"abcdef", 4, false, "abcd\r\nef", 6, 8},
        {"abcdefghij", 4, false, "abcd\r\nefgh\r\nij", 10, 14},
        {"ab\r\ncdefg", 3, false, "ab\r\ncde\r\nfg", 2, 2},  // caret before the break stays
        {SJ("あいう"), 4, false, SJ("あい") + "\r\n" + SJ("う"), 6, 8},  // a character is never cut
        {SJ("あいう"), 1, false, SJ("あ") + "\r\n" + SJ("い") + "\r\n" + SJ("う"), 0, 0},
        {SJ("あいう"), 2, true, SJ("あい") + "\r\n" + SJ("う"), 6, 8},
        {"abc", 3, false, "abc", 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string t = c.text;
        std::size_t s = c.caretBefore, e = c.caretBefore;
        BreakLongLines(t, s, e, c.width, c.message);
        EXPECT_EQ(t, c.broken);
        EXPECT_EQ(s, c.caretAfter);
        EXPECT_EQ(e, c.caretAfter);
    }
    EXPECT_EQ(CountLines(""), 1);
    EXPECT_EQ(CountLines("a\r\nb\r\n"), 3);
    EXPECT_EQ(CutTextForStore(SJ("あいう"), 3, true), SJ("あい"));  // 2 x 3 - 1 bytes
    EXPECT_EQ(CutTextForStore(SJ("あいう"), 3, false), SJ("あ"));
}

TEST(EditRules, ControlSequencesCountAsOneMessageCharacter)
{
    SetControlSequenceRecogniser([](std::string_view s, std::size_t i) -> std::size_t {
        return s.substr(i, 4) == "\\C[1" ? 5 : 0;
    });
    EXPECT_EQ(TextWidth("\\C[1]ab", true), 3u);
    EXPECT_EQ(TextWidth("\\C[1]ab", false), 7u);
    SetControlSequenceRecogniser(nullptr);
    EXPECT_EQ(TextWidth("\\C[1]ab", true), 7u);
}

namespace {

ListModel<int> Model(std::vector<int> items)
{
    ListModel<int> m;
    m.items = std::move(items);
    m.lineText = [](int, const int& r) { return std::to_string(r); };
    return m;
}

}  // namespace

TEST(TextRules, AnEditOverTheLimitCutsWhatWasInserted)
{
    struct Case {
        std::string before, after;
        std::size_t limit;
        std::string result;
        std::size_t caret;
    };
    const Case cases[] = {
        {"", SJ("あいう"), 5, SJ("あい"), 4},                  // never half a character
        {"ab", "a" + SJ("あいう") + "b", 6, "a" + SJ("あい") + "b", 5},  // the text around stays
        {"abcd", "abxcd", 4, "abcd", 2},                      // a typed key is refused
        {SJ("あい"), SJ("あああい"), 6, SJ("ああい"), 4},          // same bytes at both ends
        {"abcdef", "abcdefg", 3, "abc", 3},                   // the rest alone is too long
        {"ab", "abc", 3, "abc", 3},                           // within the limit: unchanged
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Cp932ToUtf8(c.after));
        std::size_t caret = 99;
        EXPECT_EQ(LimitEditedText(c.before, c.after, c.limit, caret), c.result);
        EXPECT_EQ(caret, c.caret);
    }
}

TEST(ListModel, FirstFillSelectsTheFirstLineAndAGrownListKeepsOne)
{
    for (bool multiple : {false, true}) {
        SCOPED_TRACE(multiple);
        ListModel<int> m = Model({});
        int current = -1;
        m.current = &current;
        m.multiple = multiple;
        m.Load({4, 5});
        EXPECT_EQ(m.GetSel(), 0);
        EXPECT_EQ(current, 4);
        m.allowEmptySelection = true;  // such a list starts without a selection
        m.Select(-1, false);
        m.Load({4, 5});
        EXPECT_EQ(m.GetSel(), -1);
    }
    ListModel<int> m = Model({});
    m.multiple = true;
    m.Load({});
    EXPECT_EQ(m.Resize(3), 1);
    EXPECT_EQ(m.flags, (std::vector<char>{1, 0, 0}));
}

TEST(ListModel, APasteStoppedByTheMaximumTellsHowManyWentIn)
{
    ListModel<int> a = Model({1, 2, 3});
    a.Select(0, false);
    a.CopySel();
    ListModel<int> b = Model({7});  // another list of the same records
    b.maxCount = 3;
    b.Clipboard() = {8, 9, 10};
    b.Select(0, false);
    EXPECT_EQ(b.Paste(), 2);
    EXPECT_TRUE(b.pasteStopped);
    EXPECT_EQ(b.items, (std::vector<int>{8, 9, 7}));
    EXPECT_EQ(a.Clipboard(), (std::vector<int>{8, 9, 10}));  // one store per record type
    std::vector<int> own;
    b.clipboardStore = &own;
    EXPECT_EQ(b.Paste(), 0);
}

TEST(ListModel, NumberingAppendLineAndOffset)
{
    ListModel<int> m = Model({1, 2, 3, 4, 5, 6, 7, 8, 9});
    m.numbering = true;
    EXPECT_EQ(m.Lines().front(), "1 1");
    m.items.push_back(10);
    EXPECT_EQ(m.Lines().front(), "01 1");
    EXPECT_EQ(m.Lines().back(), "10 10");
    m.offset = 1;  // nine shown again
    EXPECT_EQ(m.Lines().front(), "1 2");
    m.appendLine = true;
    EXPECT_EQ(m.Lines().back(), std::string(64, '-'));
    int current = -5;
    m.current = &current;
    m.Select(9, true);
    EXPECT_TRUE(m.IsAppendLine(9));
    EXPECT_EQ(current, 0);  // the append line has no record
    m.Select(2, true);
    EXPECT_EQ(current, 4);
}

TEST(ListModel, EditingRespectsTheCountLimits)
{
    ListModel<int> m = Model({10, 20, 30});
    int current = 0;
    m.current = &current;
    m.minCount = 2;
    m.maxCount = 4;
    m.Select(1, true);
    EXPECT_EQ(m.CutSel(), 1);
    EXPECT_EQ(m.items, (std::vector<int>{10, 30}));
    EXPECT_EQ(current, 30);
    EXPECT_EQ(m.DeleteSel(), 0);  // at the minimum
    EXPECT_EQ(m.Paste(), 1);
    EXPECT_EQ(m.items, (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(m.Insert(), 1);
    EXPECT_EQ(m.items, (std::vector<int>{10, 0, 20, 30}));
    EXPECT_EQ(m.Insert(), 0);  // at the maximum
    EXPECT_EQ(m.Paste(), 0);
    EXPECT_EQ(m.Resize(5), 0);
    m.Select(3, false);
    EXPECT_EQ(m.Resize(2), 1);
    EXPECT_EQ(m.items, (std::vector<int>{10, 0}));
    EXPECT_EQ(m.sel, 0);  // a selection past the end moves to the first line
}

TEST(ListModel, DeletingTheLastRecordMovesTheSelectionUp)
{
    ListModel<int> m = Model({1, 2, 3});
    int current = 0;
    m.current = &current;
    m.Select(2, true);
    EXPECT_EQ(m.DeleteSel(), 1);
    EXPECT_EQ(m.sel, 1);
    EXPECT_EQ(current, 2);
    m.DeleteSel();
    m.DeleteSel();
    EXPECT_EQ(m.sel, -1);
    EXPECT_EQ(m.DeleteSel(), 0);
}

TEST(ListModel, MultipleSelectionCopiesAndDeletesEverySelectedRecord)
{
    ListModel<int> m = Model({1, 2, 3, 4});
    m.multiple = true;
    m.appendLine = true;
    m.flags = {1, 0, 1, 0, 1};  // the append line does not count
    m.caret = 2;
    EXPECT_EQ(m.GetSel(), 2);
    EXPECT_EQ(m.CopySel(), 1);
    EXPECT_EQ(m.Clipboard(), (std::vector<int>{1, 3}));
    EXPECT_EQ(m.DeleteSel(), 1);
    EXPECT_EQ(m.items, (std::vector<int>{2, 4}));
}

TEST(WindowLogic, KeyboardRules)
{
    struct Case {
        HookKey key;
        bool press, hasHook, swallow, modeless, composing, ctrlBefore;
        bool consume, hookKey, post, ctrlAfter;
    };
    const Case cases[] = {
        // Escape: swallowed without a hook or when asked, unless composing.
        {HookKey::Escape, true, false, false, false, false, false, true, false, false, false},
        {HookKey::Escape, true, false, false, false, true, false, false, false, false, false},
        {HookKey::Escape, true, true, true, false, false, false, true, false, false, false},
        {HookKey::Escape, true, true, false, false, false, false, false, false, true, false},
        // Enter while composing and Tab go only to the focused control.
        {HookKey::Enter, true, true, false, false, true, false, false, false, false, false},
        {HookKey::Enter, true, true, false, false, false, false, false, false, true, false},
        {HookKey::Tab, true, true, false, false, false, false, false, false, false, false},
        // Navigation keys become hook keys.
        {HookKey::Delete, true, true, false, true, false, true, false, true, false, true},
        {HookKey::Down, true, true, false, false, true, false, false, false, true, false},
        // Ctrl in a modeless dialog leaves the key to the accelerators.
        {HookKey::Ctrl, true, true, false, true, false, false, false, false, false, true},
        {HookKey::Other, true, true, false, true, false, true, false, false, false, true},
        {HookKey::Other, true, true, false, false, false, true, false, false, true, true},
        {HookKey::Ctrl, false, true, false, true, false, true, false, false, true, false},
        // Windows without a hook see only the Escape rule.
        {HookKey::Other, true, false, false, false, false, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(&c - cases));
        HookInput in{c.key, c.press, c.hasHook, c.swallow, c.modeless, c.composing};
        bool ctrl = c.ctrlBefore;
        HookDecision d = DecideHookKey(in, ctrl);
        EXPECT_EQ(d.consume, c.consume);
        EXPECT_EQ(d.postHookKey, c.hookKey);
        EXPECT_EQ(d.postKey, c.post);
        EXPECT_EQ(ctrl, c.ctrlAfter);
    }
}

TEST(WindowLogic, MouseEdgesAndPopup)
{
    MouseButtons m;
    PopupTrigger popup;
    popup.enabled = true;
    m.Poll(false, false);
    EXPECT_FALSE(popup.Due(m, true));  // arms
    m.Poll(false, true);
    EXPECT_TRUE(m.rightPressed);
    EXPECT_FALSE(popup.Due(m, true));
    m.Poll(false, true);
    EXPECT_FALSE(m.rightPressed);
    m.Poll(false, false);
    EXPECT_TRUE(m.rightReleased);
    EXPECT_TRUE(popup.Due(m, true));
    // A right release while the left button is held is not reported.
    m.Poll(true, true);
    m.Poll(true, false);
    EXPECT_FALSE(m.rightReleased);
}

TEST(WindowLogic, PlacementAndFrameClock)
{
    WorkArea area{0, 0, 800, 600};
    struct Case {
        int x, y, w, h, ex, ey;
    };
    for (const Case& c : {Case{-50, 10, 100, 100, 0, 10}, Case{750, 550, 100, 100, 700, 500},
                          Case{700, 10, 100, 100, 700, 10}, Case{10, -1, 100, 100, 10, 0}}) {
        int x = c.x, y = c.y;
        ClampToWorkArea(x, y, c.w, c.h, area);
        EXPECT_EQ(x, c.ex);
        EXPECT_EQ(y, c.ey);
    }
    FrameClock clock;
    EXPECT_TRUE(clock.Due(1000, 20));
    EXPECT_FALSE(clock.Due(1049, 20));
    EXPECT_TRUE(clock.Due(1050, 20));
    EXPECT_TRUE(clock.Due(2000, 20));
}
