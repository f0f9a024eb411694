#pragma once
// One batch of window moves applied at once, so a layout never shows half-moved windows.
#include <windows.h>

class DeferredPositions {
public:
    DeferredPositions() = default;
    ~DeferredPositions() { End(); }
    DeferredPositions(const DeferredPositions&) = delete;
    DeferredPositions& operator=(const DeferredPositions&) = delete;

    void Begin(int windows);
    // Moves and sizes without changing the z-order or activating.
    void Move(HWND window, int x, int y, int width, int height);
    // Shows or hides without moving, sizing or activating, at the top of the z-order.
    void ShowHide(HWND window, bool show);
    void ToBottom(HWND window);
    // Applies the batch; nothing when none is open.
    void End();

private:
    void Defer(HWND window, HWND after, int x, int y, int width, int height, UINT flags);
    HDWP batch_ = nullptr;
};
