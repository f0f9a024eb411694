#pragma once
// The bar between a split page's tree and list. It never moves itself: a finished drag is
// reported to the parent as a whole percentage of the parent's width, and the parent lays out.
#include "ui/Window.h"

class Splitter : public ChildWindow {
public:
    // `notification` is the private message sent to the parent (wParam 0, lParam the percent).
    explicit Splitter(UINT notification) : notification_(notification) {}

    bool Create(HWND parent, const RECT& rect, int id, HINSTANCE instance);

    void OnPaint() override;
    void OnLButtonDown(WPARAM keys, LPARAM point) override;
    void OnMouseDrag(WPARAM keys, LPARAM point) override;
    void OnLButtonUp(WPARAM keys, LPARAM point) override;

private:
    // The point in the parent's client coordinates.
    POINT ToParent(LPARAM point) const;
    // Draws the drag rectangle in an inverting mode, so drawing it twice restores the screen.
    void DrawDragRectangle() const;

    UINT notification_;
    int startX_ = 0;
    int currentX_ = 0;
    RECT dragRectangle_{};
};

// Where a drag to `x` is drawn inside a parent `parentWidth` wide: at least 20 and, from there,
// at most 23 short of the right edge.
int ClampSplitterX(int x, int parentWidth);
// The split position of `x` as a whole percentage of the parent's width, 0 to 100.
int SplitPercent(int x, int parentWidth);
