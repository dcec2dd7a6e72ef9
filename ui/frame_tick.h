// Animation previews advance with the idle tick's frames (20 a second): a
// window registers what to run on each frame and removes it when it closes.
#pragma once

#include <functional>

void AddFrameListener(const void* key, std::function<void()> onFrame);
void RemoveFrameListener(const void* key);
// Runs every registered listener once (the idle tick's frame).
void RunFrameListeners();
