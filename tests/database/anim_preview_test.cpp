#include "database/anim_preview.h"

#include <gtest/gtest.h>

namespace {

// Frames of 6, 0 and 3 sixtieths: steps of 3 sixtieths walk through the first
// frame in two steps, pass over the empty one and loop after the third.
TEST(AnimPreview, StepsThroughTheFramesAndLoops)
{
    AnimPreview p;
    p.SetFrames({{10, 6, 12, 0, false}, {11, 0, 100, 0, true}, {12, 3, 0, -6, true}});
    struct Row { int frame, cell; double x, y; };
    const Row rows[] = {
        {0, 10, 0.0, 0.0},      // t = 0: the move of frame 0 begins
        {0, 10, 6.0, 0.0},      // t = 3: half way, eased over the display time
        {2, 12, 112.0, -6.0},   // t = 6: frame 1 (no time) done at once, frame 2 jumps
        {0, 10, 0.0, 0.0},      // t = 9: the loop starts again
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(p.Time());
        EXPECT_EQ(p.FrameIndex(), r.frame);
        EXPECT_EQ(p.Cell(), r.cell);
        EXPECT_DOUBLE_EQ(p.X(), r.x);
        EXPECT_DOUBLE_EQ(p.Y(), r.y);
        p.Step();
    }
}

TEST(AnimPreview, NoFramesOrNoTime)
{
    AnimPreview p;
    EXPECT_EQ(p.FrameIndex(), -1);
    p.Step();
    EXPECT_EQ(p.Cell(), 0);
    p.SetFrames({{4, 0, 5, 5, false}});
    p.Step();
    EXPECT_EQ(p.FrameIndex(), 0);
    EXPECT_EQ(p.Cell(), 4);
    EXPECT_DOUBLE_EQ(p.X(), 5.0);

    cCharaAnimPat anim;
    anim.m_Frames[0].m_nCell = 3;
    anim.m_Frames[0].m_bInstantMove = 1;
    std::vector<AnimPreviewFrame> frames = PreviewFrames(anim);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].cell, 3);
    EXPECT_TRUE(frames[0].instant);
}

}  // namespace
