#include "app/database_sheet.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "records/list_model.h"
#include "app/startup.h"
#include "base/text.h"
#include "project/project.h"
#include "tests/test_util.h"

namespace {

// A record with a constructor value, like the records whose new entries differ
// from their Init values.
struct Rec {
    int value = 7;
    bool operator==(const Rec&) const = default;
};

std::vector<int> Values(const std::vector<Rec>& v)
{
    std::vector<int> out;
    for (const Rec& r : v)
        out.push_back(r.value);
    return out;
}

// The editing operations of a list of fixed length, bound to a shared list,
// with and without a hidden leading record.
TEST(ListModelOps, WriteBackClearAndPasteOverKeepTheCountAndHonourTheOffset)
{
    for (int offset : {0, 1}) {
        SCOPED_TRACE(offset);
        std::vector<Rec> shared = {{0}, {1}, {2}, {3}};
        Rec current;
        std::vector<Rec> clipboard;
        ListModel<Rec> m;
        m.bound = &shared;
        m.offset = offset;
        m.current = &current;
        m.clipboardStore = &clipboard;
        m.Reload();
        ASSERT_EQ(m.GetSel(), 0);
        EXPECT_EQ(current.value, offset);  // first shown record

        // A change to the current record lands in the shared list at its line.
        m.Select(1, true);
        current.value = 50;
        EXPECT_EQ(m.WriteBack(), 1);
        EXPECT_EQ(shared[static_cast<std::size_t>(offset + 1)].value, 50);

        // Copy, then overwrite the next line: nothing inserted.
        EXPECT_EQ(m.CopySel(), 1);
        m.Select(2, true);
        EXPECT_EQ(m.PasteOver(), 1);
        EXPECT_EQ(shared.size(), 4u);
        EXPECT_EQ(shared[static_cast<std::size_t>(offset + 2)].value, 50);
        EXPECT_EQ(current.value, 50);

        // Clear gives the constructor's value; cut copies and clears.
        EXPECT_EQ(m.ClearSel(), 1);
        EXPECT_EQ(shared[static_cast<std::size_t>(offset + 2)].value, 7);
        EXPECT_EQ(current.value, 7);
        m.Select(0, true);
        EXPECT_EQ(m.CutClear(), 1);
        EXPECT_EQ(clipboard, std::vector<Rec>{Rec{offset}});
        EXPECT_EQ(shared[static_cast<std::size_t>(offset)].value, 7);
        EXPECT_EQ(shared.size(), 4u);
        if (offset == 1) {
            EXPECT_EQ(shared[0].value, 0);  // the hidden record is never touched
        }

        // Pasting several records stops at the end of the list.
        clipboard = {{91}, {92}, {93}};
        m.Select(m.RecordCount() - 2, true);
        EXPECT_EQ(m.PasteOver(), 2);
        EXPECT_EQ(Values(shared).back(), 92);
        EXPECT_EQ(shared.size(), 4u);

        // Without a selected record nothing is written.
        m.allowEmptySelection = true;
        m.Select(-1, true);
        EXPECT_EQ(m.WriteBack(), 0);
        EXPECT_EQ(m.ClearSel(), 0);
        EXPECT_EQ(m.PasteOver(), 0);
    }
}

// Insert and Resize of a bound model change the shared list itself; a reload
// after a change behind the list keeps the selection in range.
TEST(ListModelOps, BoundModelChangesTheSharedListAndReloads)
{
    for (int offset : {0, 1}) {
        SCOPED_TRACE(offset);
        std::vector<Rec> shared(static_cast<std::size_t>(offset + 8), Rec{1});
        Rec current;
        ListModel<Rec> m;
        m.bound = &shared;
        m.offset = offset;
        m.current = &current;
        m.minCount = 1;
        m.maxCount = 9;
        m.Reload();
        m.Select(4, true);
        EXPECT_EQ(m.Insert(), 1);
        EXPECT_EQ(shared.size(), static_cast<std::size_t>(offset + 9));
        EXPECT_EQ(shared[static_cast<std::size_t>(offset + 4)].value, 7);
        EXPECT_EQ(m.Insert(), 0);  // the maximum
        EXPECT_EQ(m.Resize(3), 1);
        EXPECT_EQ(shared.size(), static_cast<std::size_t>(offset + 3));
        EXPECT_EQ(m.Resize(0), 0);

        m.Select(2, true);
        shared.resize(static_cast<std::size_t>(offset + 2));  // a change behind the page
        shared.back().value = 33;
        m.Reload();
        EXPECT_EQ(m.GetSel(), 1);
        EXPECT_EQ(current.value, 33);
        EXPECT_EQ(m.LineText(1), m.Lines()[1]);
    }
}

TEST(SheetSize, RatiosScalesAndTheRequestedSize)
{
    struct Row {
        int w, h;
        double scaleX, scaleY;
        bool accepted;
        double newX, newY;
    };
    const Row rows[] = {
        {971, 714, 1.0, 1.0, true, 1.0, 1.0},
        {990, 700, 1.0, 1.0, true, 1.0, 1.0},
        {1020, 714, 1.0, 1.0, false, 971.0 / 1020, 1.0},
        {1020, 714, 0.9, 1.0, false, 971.0 / 1020 * 0.9, 1.0},
        {971, 760, 1.0, 1.0, false, 1.0, 714.0 / 760},
        {0, 714, 1.0, 1.0, true, 1.0, 1.0},  // nothing measured: ratio 1
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.w << " x " << r.h);
        SheetCheck c = CheckSheetSize(r.w, r.h, r.scaleX, r.scaleY);
        EXPECT_EQ(c.accepted, r.accepted);
        EXPECT_DOUBLE_EQ(c.scaleX, r.newX);
        EXPECT_DOUBLE_EQ(c.scaleY, r.newY);
    }
    SheetFont design{6, 13, "", 2, 400};
    SheetFont larger{9, 20, "", 2, 400};
    EXPECT_EQ(SheetRequestSize(design, design, 1.0, 1.0).width, 971);
    EXPECT_EQ(SheetRequestSize(design, design, 1.0, 1.0).height, 714);
    SheetSize big = SheetRequestSize(larger, design, 1.0, 1.0);
    EXPECT_EQ(big.width, 1456);  // 971 x 1.5, truncated
    EXPECT_EQ(big.height, 1098);
    // The scale the check stores brings the next request back to the design size.
    SheetCheck c = CheckSheetSize(big.width, big.height, 1.0, 1.0);
    SheetSize next = SheetRequestSize(larger, design, c.scaleX, c.scaleY);
    EXPECT_TRUE(CheckSheetSize(next.width, next.height, c.scaleX, c.scaleY).accepted);
}

TEST(SheetSize, AMismatchWritesTheScalesAndTheFontAtOnce)
{
    TempDir dir;
    std::filesystem::create_directory("e_data");
    RecordingSink sink;
    SheetScaleX = SheetScaleY = 1.0;
    SheetFont font{8, 16, "Face", 2, 700};
    EXPECT_TRUE(RunSheetSizeCheck(971, 714, font));
    EXPECT_FALSE(std::filesystem::exists("e_data/SheetSize.dat"));
    EXPECT_TRUE(sink.texts.empty());

    EXPECT_FALSE(RunSheetSizeCheck(1020, 714, font));
    EXPECT_EQ(sink.texts.size(), 1u);
    EXPECT_DOUBLE_EQ(SheetScaleX, 971.0 / 1020);
    cPropSheetSize stored;
    ASSERT_EQ(stored.LoadFile(ProjectFile::SheetSize), 1);
    EXPECT_DOUBLE_EQ(stored.m_dScaleX, 971.0 / 1020);
    EXPECT_DOUBLE_EQ(stored.m_dScaleY, 1.0);
    EXPECT_EQ(stored.m_nFontWidth, 8);
    EXPECT_EQ(stored.m_FontFace, "Face");
    EXPECT_EQ(stored.m_nFontValue, 700);
    SheetScaleX = SheetScaleY = 1.0;
    ResetProject();
}

TEST(SheetSize, NameFromFileCutsInCharacters)
{
    struct Row { const char* path; int limit; const char* name; };
    const Row rows[] = {
        {"wave\\決定.wav", 0, "決定"},
        {"bgm\\とても長い曲の名前です.mid", 6, "とても長い曲"},
        {"image\\picture\\a.b.png", 0, "a.b"},
        {"noext", 3, "noe"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(NameFromFile(Utf8ToCp932(r.path), r.limit), Utf8ToCp932(r.name)) << r.path;
}

}  // namespace
