#include "installer/win32/LanguageDialog.h"

#include <algorithm>

#include "installer/win32/ScreenIds.h"
#include "installer/win32/ScreenPaint.h"
#include "platform/win32/WindowDpi.h"
#include "resource.h"

namespace {

const char kClassName[] = "QuillsetLanguage";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
// Pixels at 96 DPI: the client's width and smallest height, the icon and the margins.
constexpr int kWidth = 340, kHeight = 150, kIcon = 32, kMargin = 16, kTextLeft = 64;

struct State {
    int pressed = 0;
    WindowDpi dpi;
    HFONT font = nullptr;
    HICON icon = nullptr;
    HWND prompt = nullptr, list = nullptr, ok = nullptr, cancel = nullptr;

    ~State() { Release(); }
    void Release() {
        if (font) DeleteObject(font);
        if (icon) DestroyIcon(icon);
    }
    void MakeFonts() {
        Release();
        LOGFONTA messageFont = dpi.MessageFont();
        font = CreateFontIndirectA(&messageFont);
        icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPLICATION_ICON),
                                             IMAGE_ICON, dpi.Scale(kIcon), dpi.Scale(kIcon), 0));
        for (HWND control : {prompt, list, ok, cancel})
            if (control) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
};

std::string TextOf(HWND control) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, &text[0], static_cast<int>(text.size()))));
    return text;
}

// Places the prompt, the list and the buttons at the window's DPI, the prompt as high as its
// text, and sizes the window around them.
void Layout(HWND window, const State& state) {
    const WindowDpi& dpi = state.dpi;
    const int width = dpi.Scale(kWidth), left = dpi.Scale(kTextLeft), margin = dpi.Scale(kMargin);
    const int textWidth = width - left - margin;
    HDC context = GetDC(window);
    HGDIOBJ old = SelectObject(context, state.font);
    RECT prompt = {0, 0, textWidth, 0};
    DrawTextA(context, TextOf(state.prompt).c_str(), -1, &prompt, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    int buttonWidth = dpi.Scale(88);
    for (HWND button : {state.ok, state.cancel}) {
        RECT need = {0, 0, 0, 0};
        DrawTextA(context, TextOf(button).c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE);
        buttonWidth = std::max(buttonWidth, static_cast<int>(need.right) + dpi.Scale(24));
    }
    TEXTMETRICA metrics = {};
    GetTextMetricsA(context, &metrics);
    SelectObject(context, old);
    ReleaseDC(window, context);

    const int buttonHeight = std::max(dpi.Scale(26), static_cast<int>(metrics.tmHeight) + dpi.Scale(10));
    int y = margin;
    MoveWindow(state.prompt, left, y, textWidth, prompt.bottom, FALSE);
    y = std::max(y + static_cast<int>(prompt.bottom), margin + dpi.Scale(kIcon)) + dpi.Scale(8);
    // A drop-down list's height includes its open list.
    MoveWindow(state.list, left, y, textWidth, dpi.Scale(200), FALSE);
    RECT field;
    GetWindowRect(state.list, &field);
    y += field.bottom - field.top;
    const int height = std::max(dpi.Scale(kHeight), y + dpi.Scale(24) + buttonHeight + dpi.Scale(12));
    const int buttonTop = height - dpi.Scale(12) - buttonHeight;
    MoveWindow(state.ok, width - dpi.Scale(12) - 2 * buttonWidth - dpi.Scale(6), buttonTop, buttonWidth, buttonHeight, FALSE);
    MoveWindow(state.cancel, width - dpi.Scale(12) - buttonWidth, buttonTop, buttonWidth, buttonHeight, FALSE);
    const SIZE size = dpi.WindowSize(width, height, kStyle, WS_EX_CONTROLPARENT);
    SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT CALLBACK LanguageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<State*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
        case WM_COMMAND:
            if (state && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) state->pressed = LOWORD(wParam);
            return 0;
        case WM_CLOSE:
            if (state) state->pressed = IDCANCEL;
            return 0;
        case WM_DPICHANGED: {
            if (!state) break;
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            state->dpi = WindowDpi::FromDpiChanged(wParam);
            state->MakeFonts();
            SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            Layout(window, *state);
            return 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC context = BeginPaint(window, &ps);
            if (state && state->icon) {
                const int at = state->dpi.Scale(kMargin), size = state->dpi.Scale(kIcon);
                DrawIconEx(context, at, at, state->icon, size, size, 0, nullptr, DI_NORMAL);
            }
            EndPaint(window, &ps);
            return 0;
        }
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool ChooseLanguage(HWND owner, const LanguageDialogTexts& texts, const std::vector<std::string>& names, size_t& chosen) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterScreenClass(kClassName, LanguageProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

    const POINT centre = {GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
    const WindowDpi dpi = WindowDpi::At(centre);
    const SIZE size = dpi.WindowSize(dpi.Scale(kWidth), dpi.Scale(kHeight), kStyle, WS_EX_CONTROLPARENT);
    State state;
    HWND window = CreateWindowExA(WS_EX_CONTROLPARENT | (owner ? 0 : WS_EX_APPWINDOW), kClassName,
                                  (texts.caption + " - " + texts.title).c_str(), kStyle, centre.x - size.cx / 2,
                                  centre.y - size.cy / 2, size.cx, size.cy, owner, nullptr, instance, nullptr);
    if (!window) return true;
    state.dpi = WindowDpi::Of(window);
    auto add = [&](const char* cls, const std::string& text, DWORD controlStyle, int id) {
        return CreateWindowExA(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | controlStyle, 0, 0, 0, 0, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    };
    state.prompt = add("STATIC", texts.prompt, SS_NOPREFIX, -1);
    state.list = add("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kIdLanguageList);
    state.ok = add("BUTTON", texts.ok, BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK);
    state.cancel = add("BUTTON", texts.cancel, BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL);
    state.MakeFonts();
    for (const std::string& name : names) SendMessageA(state.list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageA(state.list, CB_SETCURSEL, chosen, 0);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    Layout(window, state);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(state.list);
    MSG msg;
    while (!state.pressed && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    LRESULT selected = SendMessageA(state.list, CB_GETCURSEL, 0, 0);
    if (state.pressed == IDOK && selected >= 0) chosen = static_cast<size_t>(selected);
    DestroyWindow(window);
    return state.pressed == IDOK;
}
