#include "ui/frame_tick.h"

#include <map>

namespace {
std::map<const void*, std::function<void()>>& Listeners()
{
    static std::map<const void*, std::function<void()>> listeners;
    return listeners;
}
}  // namespace

void AddFrameListener(const void* key, std::function<void()> onFrame) { Listeners()[key] = std::move(onFrame); }

void RemoveFrameListener(const void* key) { Listeners().erase(key); }

void RunFrameListeners()
{
    // A copy: a listener may remove itself.
    auto listeners = Listeners();
    for (auto& [key, run] : listeners)
        if (run)
            run();
}
