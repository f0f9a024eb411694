#include "installer/win32/LanguageDialog.h"

#include "installer/win32/ScreenIds.h"
#include "installer/win32/ScreenPaint.h"
#include "resource.h"

namespace {

const char kClassName[] = "QuillsetLanguage";
constexpr int kWidth = 340, kHeight = 150;

struct State {
    int pressed = 0;
};

LRESULT CALLBACK LanguageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<State*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
        case WM_COMMAND:
            if (state && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) state->pressed = LOWORD(wParam);
            return 0;
        case WM_CLOSE:
            if (state) state->pressed = IDCANCEL;
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC context = BeginPaint(window, &ps);
            HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
            if (icon) DrawIconEx(context, 16, 16, icon, 32, 32, 0, nullptr, DI_NORMAL);
            EndPaint(window, &ps);
            return 0;
        }
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

bool ChooseLanguage(HWND owner, const LanguageDialogTexts& texts, const std::vector<std::string>& names, size_t& chosen) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterScreenClass(kClassName, LanguageProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    LOGFONTA messageFont = MessageFont();
    HFONT font = CreateFontIndirectA(&messageFont);

    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT r = {0, 0, kWidth, kHeight};
    AdjustWindowRectEx(&r, style, FALSE, WS_EX_CONTROLPARENT);
    int width = r.right - r.left, height = r.bottom - r.top;
    State state;
    HWND window = CreateWindowExA(WS_EX_CONTROLPARENT | (owner ? 0 : WS_EX_APPWINDOW), kClassName,
                                  (texts.caption + " - " + texts.title).c_str(), style,
                                  (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                                  width, height, owner, nullptr, instance, nullptr);
    if (!window) {
        DeleteObject(font);
        return true;
    }
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    auto add = [&](const char* cls, const std::string& text, DWORD controlStyle, int id, int x, int y, int w, int h) {
        HWND control = CreateWindowExA(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | controlStyle, x, y, w, h, window,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return control;
    };
    add("STATIC", texts.prompt, SS_NOPREFIX, -1, 64, 16, kWidth - 80, 32);
    HWND list = add("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kIdLanguageList, 64, 56, kWidth - 80, 200);
    for (const std::string& name : names) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageA(list, CB_SETCURSEL, chosen, 0);
    add("BUTTON", texts.ok, BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, kWidth - 2 * 88 - 12, kHeight - 38, 88, 26);
    add("BUTTON", texts.cancel, BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, kWidth - 88 - 12, kHeight - 38, 88, 26);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(list);
    MSG msg;
    while (!state.pressed && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    LRESULT selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (state.pressed == IDOK && selected >= 0) chosen = static_cast<size_t>(selected);
    DestroyWindow(window);
    DeleteObject(font);
    return state.pressed == IDOK;
}
