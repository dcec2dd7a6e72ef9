#include "app/window_logic.h"

HookDecision DecideHookKey(const HookInput& in, bool& ctrlDown)
{
    HookDecision d;
    // Escape never closes a window that has not asked for it, unless the input
    // method is composing and needs it to cancel the composition.
    if ((!in.hasHook || in.swallowEscape) && !in.composing && in.key == HookKey::Escape) {
        d.consume = true;
        return d;
    }
    if (!in.hasHook)
        return d;
    if (!in.press) {
        if (in.key == HookKey::Ctrl)
            ctrlDown = false;
    } else {
        switch (in.key) {
        case HookKey::Enter:
            if (in.composing)
                return d;
            break;
        case HookKey::Tab:
            return d;
        case HookKey::Space:
        case HookKey::Left:
        case HookKey::Up:
        case HookKey::Right:
        case HookKey::Down:
        case HookKey::Delete:
        case HookKey::F1to8:
            if (!in.composing) {
                d.postHookKey = true;
                return d;
            }
            break;
        case HookKey::Ctrl:
            ctrlDown = true;
            break;
        default:
            break;
        }
    }
    // In a modeless dialog, keys held with Ctrl are left to the accelerators.
    d.postKey = !(in.modeless && ctrlDown);
    return d;
}

void ClampToWorkArea(int& x, int& y, int width, int height, const WorkArea& area)
{
    if (x < area.left)
        x = area.left;
    if (x + width >= area.right)
        x = area.right - width;
    if (y < area.top)
        y = area.top;
    if (y + height >= area.bottom)
        y = area.bottom - height;
}
