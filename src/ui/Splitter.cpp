#include "ui/Splitter.h"

#include <algorithm>

namespace {
WindowClassRegistration splitterClass("Splitter");
}

bool Splitter::Create(HWND parent, const RECT& rect, int id, HINSTANCE instance) {
    splitterClass.Ensure(instance, [](WindowClassInfo& info) { info.hCursor = LoadCursorA(nullptr, IDC_SIZEWE); });
    return ChildWindow::Create(0, "Splitter", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect.left,
                               rect.top, rect.right - rect.left, rect.bottom - rect.top, parent, id, instance);
}

// The bar shows its class background; painting only validates it.
void Splitter::OnPaint() { Window::OnPaint(); }

POINT Splitter::ToParent(LPARAM point) const {
    POINT p{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    MapWindowPoints(Handle(), GetParent(Handle()), &p, 1);
    return p;
}

void Splitter::DrawDragRectangle() const {
    HDC screen = GetDC(nullptr);
    int oldMode = SetROP2(screen, R2_NOTXORPEN);
    HGDIOBJ oldBrush = SelectObject(screen, GetStockObject(GRAY_BRUSH));
    HGDIOBJ oldPen = SelectObject(screen, GetStockObject(NULL_PEN));
    Rectangle(screen, dragRectangle_.left, dragRectangle_.top, dragRectangle_.right + 1, dragRectangle_.bottom + 1);
    SelectObject(screen, oldPen);
    SelectObject(screen, oldBrush);
    SetROP2(screen, oldMode);
    ReleaseDC(nullptr, screen);
}

void Splitter::OnLButtonDown(WPARAM, LPARAM point) {
    startX_ = currentX_ = ToParent(point).x;
    SetCapture(Handle());
    GetClientRect(Handle(), &dragRectangle_);
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&dragRectangle_), 2);
    DrawDragRectangle();
}

int ClampSplitterX(int x, int parentWidth) {
    if (x < 20) return 20;
    return std::min(x, parentWidth - 23);
}

int SplitPercent(int x, int parentWidth) {
    if (parentWidth <= 0) return 0;
    return std::clamp(x * 100 / parentWidth, 0, 100);
}

void Splitter::OnMouseDrag(WPARAM, LPARAM point) {
    if (GetCapture() != Handle()) return;
    int x = ClampSplitterX(ToParent(point).x, GetClientSize(GetParent(Handle())).cx);
    DrawDragRectangle();
    OffsetRect(&dragRectangle_, x - currentX_, 0);
    DrawDragRectangle();
    currentX_ = x;
}

void Splitter::OnLButtonUp(WPARAM, LPARAM) {
    if (GetCapture() != Handle()) return;
    ReleaseCapture();
    DrawDragRectangle();
    if (currentX_ == startX_) return;
    HWND parent = GetParent(Handle());
    SendMessageA(parent, notification_, 0, SplitPercent(currentX_, GetClientSize(parent).cx));
}
