#pragma once
// A window system without a screen: windows are numbers, and every call the framework makes is
// recorded, so dispatch and scrolling can be checked call by call.
#include <map>
#include <string>
#include <vector>

#include "ui/WindowPlatform.h"

struct SentMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class FakePlatform : public ui::WindowPlatform {
public:
    FakePlatform() { ui::SetPlatform(this); }
    ~FakePlatform() override { ui::SetPlatform(nullptr); }

    // A handle for a pretend window with `parent` (none for top level) and a client size.
    HWND MakeWindow(HWND parent = nullptr, int width = 0, int height = 0) {
        HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1000 + windows_.size() * 4));
        windows_[window] = Fake{parent, 0, RECT{0, 0, width, height}};
        return window;
    }
    void Resize(HWND window, int width, int height) { windows_[window].client = RECT{0, 0, width, height}; }

    LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) override {
        defaults.push_back({window, message, 0, 0});
        return 0x5EED;
    }
    LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        sent.push_back({window, message, wParam, lParam});
        return sendAnswer;
    }
    HWND GetParent(HWND window) override { return windows_[window].parent; }
    BOOL IsWindow(HWND window) override { return windows_.count(window) != 0; }
    BOOL DestroyWindow(HWND window) override {
        destroyed.push_back(window);
        return TRUE;
    }
    void PostQuitMessage(int code) override { quitCodes.push_back(code); }
    LONG_PTR GetUserData(HWND window) override { return windows_[window].userData; }
    void SetUserData(HWND window, LONG_PTR value) override { windows_[window].userData = value; }
    void ValidatePaint(HWND window) override { painted.push_back(window); }
    BOOL GetClientRect(HWND window, RECT* rect) override {
        *rect = windows_[window].client;
        return TRUE;
    }
    BOOL GetScrollInfo(HWND window, int bar, SCROLLINFO* info) override {
        info->nPos = bars[{window, bar}].nPos;
        return TRUE;
    }
    int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL) override {
        SCROLLINFO& stored = bars[{window, bar}];
        if (info->fMask & SIF_RANGE) stored.nMin = info->nMin, stored.nMax = info->nMax;
        if (info->fMask & SIF_PAGE) stored.nPage = info->nPage;
        if (info->fMask & SIF_POS) stored.nPos = info->nPos;
        return stored.nPos;
    }
    BOOL ShowScrollBar(HWND window, int bar, BOOL show) override {
        shown[{window, bar}] = show != FALSE;
        return TRUE;
    }
    void ScrollWindowEx(HWND, int dx, int dy) override { scrolls.push_back({dx, dy}); }
    BOOL UpdateWindow(HWND) override { return TRUE; }

    std::vector<SentMessage> sent;
    std::vector<SentMessage> defaults;
    std::vector<HWND> destroyed;
    std::vector<HWND> painted;
    std::vector<int> quitCodes;
    std::vector<POINT> scrolls;
    std::map<std::pair<HWND, int>, SCROLLINFO> bars;
    std::map<std::pair<HWND, int>, bool> shown;
    LRESULT sendAnswer = 0;

private:
    struct Fake {
        HWND parent;
        LONG_PTR userData;
        RECT client;
    };
    std::map<HWND, Fake> windows_;
};
