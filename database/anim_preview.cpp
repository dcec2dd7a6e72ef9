#include "database/anim_preview.h"

std::vector<AnimPreviewFrame> PreviewFrames(const cCharaAnimPat& anim)
{
    std::vector<AnimPreviewFrame> out;
    for (const cCharaAnim& f : anim.m_Frames)
        out.push_back({f.m_nCell, f.m_nTime, f.m_nMoveX, f.m_nMoveY, f.m_bInstantMove != 0});
    return out;
}

std::vector<AnimPreviewFrame> PreviewFrames(const cEffectAnimPat& anim)
{
    std::vector<AnimPreviewFrame> out;
    for (const cEffectAnim& f : anim.m_Frames)
        out.push_back({f.m_nCell, f.m_nTime, f.m_nMoveX, f.m_nMoveY, f.m_bInstantMove != 0});
    return out;
}

void AnimPreview::SetFrames(std::vector<AnimPreviewFrame> frames)
{
    m_Frames = std::move(frames);
    m_nTotal = 0;
    for (const AnimPreviewFrame& f : m_Frames)
        m_nTotal += f.time > 0 ? f.time : 0;
    m_nTime = 0;
}

int AnimPreview::LoopTime() const { return m_nTotal > 0 ? m_nTime % m_nTotal : 0; }

int AnimPreview::FrameIndex() const
{
    if (m_Frames.empty())
        return -1;
    // Frames without display time are passed over; when no frame has any, the
    // first one stands.
    if (m_nTotal == 0)
        return 0;
    int t = LoopTime();
    for (int i = 0; i < static_cast<int>(m_Frames.size()); ++i) {
        int time = m_Frames[static_cast<std::size_t>(i)].time;
        if (time <= 0)
            continue;
        if (t < time)
            return i;
        t -= time;
    }
    return static_cast<int>(m_Frames.size()) - 1;
}

int AnimPreview::Cell() const
{
    int i = FrameIndex();
    return i < 0 ? 0 : m_Frames[static_cast<std::size_t>(i)].cell;
}

double AnimPreview::Offset(bool x) const
{
    int index = FrameIndex();
    if (index < 0)
        return 0.0;
    // The moves of the frames before this one are complete; this frame's move
    // is done at once, or in proportion to the time spent in the frame.
    double offset = 0.0;
    int t = m_nTotal > 0 ? LoopTime() : 0;
    for (int i = 0; i < index; ++i) {
        const AnimPreviewFrame& f = m_Frames[static_cast<std::size_t>(i)];
        offset += x ? f.moveX : f.moveY;
        t -= f.time > 0 ? f.time : 0;
    }
    const AnimPreviewFrame& f = m_Frames[static_cast<std::size_t>(index)];
    double move = x ? f.moveX : f.moveY;
    if (f.instant || f.time <= 0)
        return offset + move;
    return offset + move * t / f.time;
}
