// Window-system independent pieces of the window framework: the mouse-button
// edges, the keyboard rules of dialogs, window placement inside the work area
// and the frame clock of the idle tick.
#pragma once

#include <cstdint>

// Mouse state of one window, updated at every poll with the current buttons.
struct MouseButtons {
    bool left = false, right = false;               // held
    bool leftPressed = false, rightPressed = false;  // first poll that saw the button down
    bool leftReleased = false, rightReleased = false;  // first poll that saw it up again

    // A left release is only reported while the right button is up, and the reverse.
    void Poll(bool leftDown, bool rightDown)
    {
        leftPressed = leftDown && !left;
        rightPressed = rightDown && !right;
        leftReleased = !leftDown && left && !rightDown;
        rightReleased = !rightDown && right && !leftDown;
        left = leftDown;
        right = rightDown;
    }
};

// The right-button popup of a window: armed once the right button is seen up,
// shown when, armed, the right button was just released with the left one up
// and the window is active.
struct PopupTrigger {
    bool enabled = false;
    bool armed = false;

    bool Due(const MouseButtons& m, bool windowActive)
    {
        if (!enabled)
            return false;
        if (!armed) {
            if (!m.right)
                armed = true;
            return false;
        }
        if (!m.left && m.rightReleased && windowActive) {
            armed = false;
            return true;
        }
        return false;
    }
};

// Keys the dialog keyboard rules look at.
enum class HookKey { Other, Escape, Enter, Tab, Ctrl, Space, Left, Up, Right, Down, Delete, F1to8 };

struct HookInput {
    HookKey key = HookKey::Other;
    bool press = true;         // false for a release
    bool hasHook = false;      // the active window is a framework dialog
    bool swallowEscape = false;
    bool modeless = false;
    bool composing = false;    // an input-method composition is in progress
};

struct HookDecision {
    bool consume = false;      // the key goes no further
    bool postHookKey = false;  // repost as a hook key (reaches the dialog's key handling)
    bool postKey = false;      // repost as a plain key press or release to the dialog
};

// The keyboard rules of dialogs. ctrlDown is the process-wide Ctrl flag and is
// updated here.
HookDecision DecideHookKey(const HookInput& in, bool& ctrlDown);

// The part of the desktop that windows may cover.
struct WorkArea {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Pulls a window of the given size back into the work area: a left or top edge
// before the area moves onto it; a right or bottom edge at or beyond the area's
// moves back so that the window ends at it.
void ClampToWorkArea(int& x, int& y, int width, int height, const WorkArea& area);

// A saved position of (-1000, -1000) means none was saved.
constexpr int kNoSavedPosition = -1000;

// Paces the idle tick: Due(now, rate) answers yes at most `rate` times a second.
class FrameClock {
public:
    bool Due(uint32_t nowMs, int rate)
    {
        if (!started_) {
            started_ = true;
            next_ = nowMs;
        }
        if (static_cast<int32_t>(nowMs - next_) < 0)
            return false;
        next_ = nowMs + static_cast<uint32_t>(1000 / (rate > 0 ? rate : 1));
        return true;
    }

private:
    bool started_ = false;
    uint32_t next_ = 0;
};

// Ticks counted over the last full second.
class RateCounter {
public:
    void Tick(uint32_t nowMs)
    {
        if (!started_) {
            started_ = true;
            secondStart_ = nowMs;
        }
        if (nowMs - secondStart_ >= 1000) {
            rate_ = count_;
            count_ = 0;
            secondStart_ = nowMs;
        }
        ++count_;
    }
    int Rate() const { return rate_; }

private:
    bool started_ = false;
    uint32_t secondStart_ = 0;
    int count_ = 0;
    int rate_ = 0;
};
