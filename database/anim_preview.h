// Playing an animation in the database window's preview: the frames of a
// character or effect animation run in a loop, each held its display time, the
// graphic moved by each frame's offset (spread over the display time, or at
// once with an instant move). The preview advances in steps of 1/20 second.
#pragma once

#include <vector>

#include "database/media.h"

struct AnimPreviewFrame {
    int cell = 0;
    int time = 0;        // sixtieths of a second
    int moveX = 0, moveY = 0;
    bool instant = false;
};

std::vector<AnimPreviewFrame> PreviewFrames(const cCharaAnimPat& anim);
std::vector<AnimPreviewFrame> PreviewFrames(const cEffectAnimPat& anim);

class AnimPreview {
public:
    static constexpr int kStepSixtieths = 3;  // one step: 1/20 s

    // New frames start the loop again.
    void SetFrames(std::vector<AnimPreviewFrame> frames);
    void Restart() { m_nTime = 0; }
    void Step() { m_nTime += kStepSixtieths; }
    // The state at the current time.
    int FrameIndex() const;   // -1 without frames
    int Cell() const;
    // The graphic's offset from where the animation starts.
    double X() const { return Offset(true); }
    double Y() const { return Offset(false); }
    int Time() const { return m_nTime; }

private:
    // The time within the loop and the frame it falls in.
    int LoopTime() const;
    double Offset(bool x) const;
    std::vector<AnimPreviewFrame> m_Frames;
    int m_nTotal = 0;
    int m_nTime = 0;
};
