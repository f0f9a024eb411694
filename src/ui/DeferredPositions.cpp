#include "ui/DeferredPositions.h"

void DeferredPositions::Begin(int windows) {
    End();
    batch_ = BeginDeferWindowPos(windows);
}

// A failed step abandons the batch (the system frees it); later steps then do nothing.
void DeferredPositions::Defer(HWND window, HWND after, int x, int y, int width, int height, UINT flags) {
    if (batch_ && window) batch_ = DeferWindowPos(batch_, window, after, x, y, width, height, flags);
}

void DeferredPositions::Move(HWND window, int x, int y, int width, int height) {
    Defer(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void DeferredPositions::ShowHide(HWND window, bool show) {
    Defer(window, HWND_TOP, 0, 0, 0, 0,
          SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void DeferredPositions::ToBottom(HWND window) {
    Defer(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void DeferredPositions::End() {
    if (batch_) EndDeferWindowPos(batch_);
    batch_ = nullptr;
}
