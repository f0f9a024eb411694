#include "ui/ScrollView.h"

#include <algorithm>

#include "ui/WindowPlatform.h"

using ui::Platform;

bool ScrollView::Create(DWORD exStyle, const char* className, DWORD style, int x, int y, int width,
                        int height, HWND parent, int id, HINSTANCE instance) {
    return ChildWindow::Create(exStyle, className, style | WS_HSCROLL | WS_VSCROLL, x, y, width,
                               height, parent, id, instance);
}

void ScrollView::SetContentSize(int width, int height) {
    SIZE client = GetClientSize(Handle());
    clientWidth_ = client.cx;
    clientHeight_ = client.cy;
    contentWidth_ = width;
    contentHeight_ = height;
    xPosition_ = yPosition_ = 0;
    xRange_ = yRange_ = 0;
}

HWND ScrollView::CreateForm(HINSTANCE instance, int templateId, ModelessDialogSlot& slot,
                           DialogCreator& creator) {
    HWND form = CreateModelessDialog(instance, templateId, Handle(), slot, creator);
    if (form) {
        SIZE size = GetClientSize(form);
        SetContentSize(size.cx, size.cy);
    }
    return form;
}

void ScrollView::ScrollContent(int dx, int dy) { Platform().ScrollWindowEx(Handle(), dx, dy); }

// Growing the view pulls the content back by the growth, so no empty margin opens at its end.
static void FollowGrowth(int newClient, int oldClient, int& position, int range) {
    int growth = newClient - oldClient;
    if (growth <= 0) return;
    position = std::min(range, std::max(0, position - growth));
}

void ScrollView::OnSize(int width, int height) {
    const bool nested = inLayout_;
    if (!nested) ScrollContent(xPosition_, yPosition_);
    FollowGrowth(width, clientWidth_, xPosition_, xRange_);
    FollowGrowth(height, clientHeight_, yPosition_, yRange_);
    clientWidth_ = width;
    clientHeight_ = height;

    inLayout_ = true;
    UpdateBar(Horizontal());
    UpdateBar(Vertical());
    inLayout_ = nested;

    if (!nested) {
        ScrollContent(-xPosition_, -yPosition_);
        Platform().UpdateWindow(Handle());
    }
}

void ScrollView::UpdateBar(Axis axis) {
    axis.range = axis.content - axis.client;
    if (axis.range <= 0) {
        Platform().ShowScrollBar(Handle(), axis.bar, FALSE);
        axis.range = 0;
        axis.position = 0;
        return;
    }
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = axis.content;
    info.nPage = static_cast<UINT>(static_cast<double>(axis.client) / axis.content * axis.content);
    info.nPos = axis.position;
    Platform().SetScrollInfo(Handle(), axis.bar, &info, TRUE);
    Platform().ShowScrollBar(Handle(), axis.bar, TRUE);
}

int ScrollStep(int code, int client) {
    if (code == SB_PAGEUP || code == SB_PAGEDOWN) {
        int step = client - 5;
        return step == 0 ? 1 : step;
    }
    return std::clamp(client / 20, 1, 20);
}

void ScrollView::Scroll(Axis axis, int code, int thumb) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS;
    Platform().GetScrollInfo(Handle(), axis.bar, &info);
    const int old = axis.position;
    int position = info.nPos;
    const int step = ScrollStep(code, axis.client);
    switch (code) {
    case SB_LINEDOWN:
    case SB_PAGEDOWN:
        position += step;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        position = thumb;
        break;
    case SB_LINEUP:
    case SB_PAGEUP:
        position -= step;
        break;
    default:
        break;
    }
    position = std::clamp(position, 0, std::max(0, axis.range));
    axis.position = position;
    info.nPos = position;
    Platform().SetScrollInfo(Handle(), axis.bar, &info, TRUE);
    if (position == old) return;
    if (axis.bar == SB_HORZ)
        ScrollContent(old - position, 0);
    else
        ScrollContent(0, old - position);
    Platform().UpdateWindow(Handle());
}

void ScrollView::OnHScroll(int code, int thumb) { Scroll(Horizontal(), code, thumb); }

void ScrollView::OnVScroll(int code, int thumb) { Scroll(Vertical(), code, thumb); }
