#include "database/media.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "tests/database/record_check.h"

namespace {

cCharaAnim CharaFrame(int base)
{
    cCharaAnim f;
    f.m_nCell = base + 1;
    f.m_nTime = base + 2;
    f.m_bEffectStart = 1;
    f.m_nMoveX = -(base + 3);
    f.m_nMoveY = base + 4;
    f.m_bInstantMove = 1;
    return f;
}

cEffectAnim EffectFrame(int base)
{
    cEffectAnim f;
    f.m_nCell = base + 1;
    f.m_nTime = base + 2;
    f.m_nMoveX = -(base + 3);
    f.m_nMoveY = base + 4;
    f.m_bInstantMove = 1;
    return f;
}

}  // namespace

TEST(MediaRecords, CatalogueLayouts)
{
    const std::string name = SJ("草原");
    {
        cEdPicture p;
        p.m_Name = name;
        p.m_bNameIsFile = 1;
        p.m_Path = "image\\picture\\a.png";
        ExpectLayout(p, Bytes().str(name).i32(1).str("image\\picture\\a.png").data);
    }
    {
        // Colours are single bytes between the image path and the two doubles.
        cEdBack b;
        b.m_Name = name;
        b.m_nDisplayType = BACK_COLOR;
        b.m_nChipWidth = 7;
        b.m_nChipHeight = 9;
        b.m_ImagePath = "b.png";
        b.m_Red = 255;
        b.m_Green = 1;
        b.m_Blue = 128;
        b.m_dScrollX = 1.5;
        b.m_dScrollY = -2.25;
        ExpectLayout(b, Bytes().str(name).i32(2).i32(7).i32(9).str("b.png").u8(0xFF).u8(0x01).u8(0x80)
                            .f64(1.5).f64(-2.25).data);
    }
    {
        cEdSound s;
        s.m_Name = name;
        s.m_bNameIsFile = 0;
        s.m_Path = "wave\\x.wav";
        ExpectLayout(s, Bytes().str(name).i32(0).str("wave\\x.wav").data);
    }
    {
        cEdBgm m;
        m.m_Name = name;
        m.m_bNameIsFile = 0;
        m.m_Path = "bgm\\y.ogg";
        m.m_nVolume = 40;
        ExpectLayout(m, Bytes().str(name).i32(0).str("bgm\\y.ogg").i32(40).data);
    }
    {
        cEdHelp h;
        h.m_Parent = name;
        h.m_Heading = "H";
        h.m_Texts.emplace_back().m_Text = "one";
        h.m_Texts.emplace_back().m_Text = "";
        ExpectLayout(h, Bytes().str(name).str("H").u32(2).str("one").str("").data);
    }
    {
        cWorldChip c;
        c.m_nValue = -5;
        c.m_bImpassable = 1;
        c.m_nGraphic = 200;
        c.m_Name = name;
        c.m_Text = "t";
        ExpectLayout(c, Bytes().i32(-5).i32(1).i32(200).str(name).str("t").data);
    }
    {
        cEdBack_Unused u;
        u.m_nValue = 3;
        u.m_dValue1 = 0.5;
        u.m_dValue2 = -8.0;
        ExpectLayout(u, Bytes().i32(3).f64(0.5).f64(-8.0).data);
    }
}

TEST(MediaRecords, AnimationLayouts)
{
    // The preview graphic is two bytes, between the name and the frame count.
    cCharaAnimPat c;
    c.m_Name = SJ("斬り");
    c.m_nPreview = 159;
    c.m_Frames.clear();
    c.m_Frames.push_back(CharaFrame(10));
    c.m_Frames.push_back(CharaFrame(20));
    ExpectLayout(c, Bytes().str(SJ("斬り")).u16(159).u32(2)
                        .i32(11).i32(12).i32(1).i32(-13).i32(14).i32(1)
                        .i32(21).i32(22).i32(1).i32(-23).i32(24).i32(1).data);

    cEffectAnimPat e;
    e.m_Name = "fx";
    e.m_nPreview = 127;
    e.m_Frames.clear();
    e.m_Frames.push_back(EffectFrame(30));
    ExpectLayout(e, Bytes().str("fx").u16(127).u32(1).i32(31).i32(32).i32(-33).i32(34).i32(1).data);
}

TEST(MediaRecords, NewEntries)
{
    cEdBack b;
    EXPECT_EQ(b.m_nChipWidth, 32);
    EXPECT_EQ(b.m_nChipHeight, 32);
    b.Init();
    EXPECT_EQ(b.m_nChipWidth, 0) << "Init resets to 0; only construction sets 32";

    EXPECT_EQ(cEdSound().m_bNameIsFile, 1);
    EXPECT_EQ(cEdPicture().m_bNameIsFile, 0);
    cEdBgm m;
    EXPECT_EQ(m.m_bNameIsFile, 1);
    EXPECT_EQ(m.m_nVolume, 100);

    cCharaAnimPat c;
    ASSERT_EQ(c.m_Frames.size(), 1);
    EXPECT_TRUE(c.m_Frames[0].Equals(cCharaAnim()));
    EXPECT_EQ(cEffectAnimPat().m_Frames.size(), 1);
    c.Init();
    EXPECT_EQ(c.m_Frames.size(), 0);
}

TEST(MediaRecords, OlderFilesLackLaterMembers)
{
    // Music volume arrived with version 100; without it a new entry keeps 100.
    {
        std::vector<uint8_t> v99 = Bytes().str("m").i32(0).str("p").data;
        cEdBgm m;
        EXPECT_TRUE(ReadsWhole(m, v99, 99));
        EXPECT_EQ(m.m_nVolume, 100);
        EXPECT_EQ(m.m_bNameIsFile, 0);
        std::vector<uint8_t> v100 = Bytes().str("m").i32(0).str("p").i32(30).data;
        EXPECT_TRUE(ReadsWhole(m, v100, 100));
        EXPECT_EQ(m.m_nVolume, 30);
    }
    // Frames: moves from 28 (character) and 29 (effect), instant move from 120 and 201.
    struct Case {
        uint32_t version;
        int ints;  // 4-byte members the frame holds at that version
    };
    for (Case c : {Case{27, 3}, Case{28, 5}, Case{119, 5}, Case{120, 6}}) {
        Bytes b;
        for (int i = 0; i < c.ints; ++i)
            b.i32(100 + i);
        b.i32(999);  // whatever follows in the file must stay unread
        cCharaAnim f = CharaFrame(0);  // distinct old values show what was not read
        ReadBody(f, b.data, c.version);
        EXPECT_EQ(f.m_nCell, 100);
        EXPECT_EQ(f.m_bEffectStart, 102);
        EXPECT_EQ(f.m_nMoveX, c.ints >= 4 ? 103 : -3) << c.version;
        EXPECT_EQ(f.m_nMoveY, c.ints >= 5 ? 104 : 4) << c.version;
        EXPECT_EQ(f.m_bInstantMove, c.ints >= 6 ? 105 : 1) << c.version;
    }
    for (Case c : {Case{28, 2}, Case{29, 4}, Case{200, 4}, Case{201, 5}}) {
        Bytes b;
        for (int i = 0; i < c.ints; ++i)
            b.i32(100 + i);
        b.i32(999);  // whatever follows in the file must stay unread
        cEffectAnim f = EffectFrame(0);
        ReadBody(f, b.data, c.version);
        EXPECT_EQ(f.m_nTime, 101);
        EXPECT_EQ(f.m_nMoveX, c.ints >= 3 ? 102 : -3) << c.version;
        EXPECT_EQ(f.m_nMoveY, c.ints >= 4 ? 103 : 4) << c.version;
        EXPECT_EQ(f.m_bInstantMove, c.ints >= 5 ? 104 : 1) << c.version;
    }
    // A whole animation of version 27: frames of three members each.
    cCharaAnimPat old;
    EXPECT_TRUE(ReadsWhole(old, Bytes().str("a").u16(3).u32(2).i32(1).i32(2).i32(0).i32(4).i32(5).i32(1).data, 27));
    ASSERT_EQ(old.m_Frames.size(), 2);
    EXPECT_EQ(old.m_Frames[1].m_nCell, 4);
    EXPECT_EQ(old.m_Frames[1].m_bEffectStart, 1);
    EXPECT_EQ(old.m_Frames[1].m_nMoveX, 0) << "frames of an old file start as new frames";
}

TEST(MediaRecords, CopyAndCompareReachIntoFrames)
{
    cCharaAnimPat a;
    a.m_Name = "a";
    a.m_Frames.clear();
    for (int i = 0; i < 3; ++i)
        a.m_Frames.push_back(CharaFrame(i * 10));
    cCharaAnimPat b;  // one default frame: copying grows it to three
    ASSERT_EQ(b.CopyFrom(a), 1);
    EXPECT_TRUE(b.Equals(a));
    EXPECT_EQ(Body(b), Body(a));

    b.m_Frames[2].m_bInstantMove = 0;
    EXPECT_FALSE(b.Equals(a));
    b.CopyFrom(a);
    b.m_Frames.erase(2);
    EXPECT_FALSE(b.Equals(a));

    // Copying a shorter list drops the surplus frames.
    cCharaAnimPat shorter;
    a.CopyFrom(shorter);
    EXPECT_EQ(a.m_Frames.size(), 1);
    EXPECT_TRUE(a.Equals(shorter));

}
