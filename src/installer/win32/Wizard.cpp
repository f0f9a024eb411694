#include "installer/win32/Wizard.h"

#include <commctrl.h>

#include "core/Text.h"
#include "installer/win32/ScreenIds.h"
#include "installer/win32/ScreenPaint.h"
#include "resource.h"

namespace {

const char kClassName[] = "QuillsetWizard";
// The frame in pixels: the white band of inner pages, the panel of outer ones, the button row.
constexpr int kClientWidth = 494, kClientHeight = 360;
constexpr int kBandHeight = 58, kPanelWidth = 164, kLineTop = 312;
constexpr int kButtonWidth = 88, kButtonHeight = 24, kMargin = 11;
// Where page coordinates start on inner and on outer pages.
constexpr int kInnerLeft = 24, kInnerTop = 72, kOuterLeft = kPanelWidth + 16, kOuterTop = 76;

HFONT ScaledFont(LOGFONTA font, int points, int weight) {
    HDC screen = GetDC(nullptr);
    if (points) font.lfHeight = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    font.lfWeight = weight;
    return CreateFontIndirectA(&font);
}

}  // namespace

Wizard::Wizard()
    : runner_([this](int permille, const std::string& text) {
          SendDlgItemMessageA(window_, kIdProgress, PBM_SETPOS, static_cast<WPARAM>(permille), 0);
          SetDlgItemTextA(window_, kIdStatus, text.c_str());
      }) {}

Wizard::~Wizard() {
    if (window_) DestroyWindow(window_);
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(font_), static_cast<HGDIOBJ>(boldFont_),
                           static_cast<HGDIOBJ>(titleFont_), static_cast<HGDIOBJ>(white_)})
        if (object) DeleteObject(object);
}

bool Wizard::Create(HWND owner, const std::string& caption, COLORREF panelTop, COLORREF panelBottom) {
    panelTop_ = panelTop;
    panelBottom_ = panelBottom;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    icon_ = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
    RegisterScreenClass(kClassName, ObjectWindowProc<Wizard>, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

    LOGFONTA messageFont = MessageFont();
    font_ = CreateFontIndirectA(&messageFont);
    boldFont_ = ScaledFont(messageFont, 0, FW_BOLD);
    titleFont_ = ScaledFont(messageFont, 12, FW_BOLD);
    white_ = CreateSolidBrush(RGB(255, 255, 255));

    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT r = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&r, style, FALSE, WS_EX_CONTROLPARENT);
    int width = r.right - r.left, height = r.bottom - r.top;
    window_ = CreateWindowExA(WS_EX_CONTROLPARENT | (owner ? 0 : WS_EX_APPWINDOW), kClassName, caption.c_str(), style,
                              (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                              width, height, owner, nullptr, instance, this);
    if (!window_) return false;
    auto button = [&](int id, int x) {
        HWND b = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, x,
                                 kLineTop + (kClientHeight - kLineTop - kButtonHeight) / 2, kButtonWidth, kButtonHeight,
                                 window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return b;
    };
    int cancelLeft = kClientWidth - kMargin - kButtonWidth;
    back_ = button(kIdBack, cancelLeft - kMargin - 2 * kButtonWidth);
    next_ = button(kIdNext, cancelLeft - kMargin - kButtonWidth);
    cancel_ = button(kIdCancel, cancelLeft);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    return true;
}

void Wizard::BeginPage(bool outer, const std::string& title, const std::string& subtitle) {
    for (HWND control : page_) DestroyWindow(control);
    page_.clear();
    outer_ = outer;
    onCommand = nullptr;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    auto text = [&](int id, const std::string& s, HFONT font, int x, int y, int width, int height) {
        HWND control = CreateWindowExA(0, "STATIC", CrLfLineEnds(s).c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX, x, y,
                                       width, height, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       instance, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        Place(control);
    };
    if (outer) {
        text(kIdTitle, title, titleFont_, kOuterLeft, 16, kClientWidth - kOuterLeft - 16, 56);
    } else {
        text(kIdTitle, title, boldFont_, 20, 10, kClientWidth - 80, 16);
        text(kIdSubtitle, subtitle, font_, 36, 28, kClientWidth - 92, 28);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

HWND Wizard::Add(const char* windowClass, const std::string& text, DWORD style, int id, int x, int y, int width,
                 int height, DWORD exStyle) {
    int left = outer_ ? kOuterLeft : kInnerLeft, top = outer_ ? kOuterTop : kInnerTop;
    HWND control = CreateWindowExA(exStyle, windowClass, CrLfLineEnds(text).c_str(), WS_CHILD | WS_VISIBLE | style,
                                   left + x, top + y, width, height, window_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (!control) return nullptr;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    Place(control);
    return control;
}

void Wizard::Place(HWND control) {
    // The page's controls come before the buttons in the Tab order, in the order of creation.
    SetWindowPos(control, page_.empty() ? HWND_TOP : page_.back(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    page_.push_back(control);
}

void Wizard::BeginProgressPage(const std::string& title, const std::string& subtitle, const std::string& status,
                               const std::string& back, const std::string& next, const std::string& cancel) {
    BeginPage(false, title, subtitle);
    Add("STATIC", status, SS_NOPREFIX | SS_PATHELLIPSIS, kIdStatus, 0, 16, kPageWidth, 16);
    HWND bar = Add(PROGRESS_CLASSA, std::string(), 0, kIdProgress, 0, 40, kPageWidth, 20);
    SendMessageA(bar, PBM_SETRANGE32, 0, 1000);
    SetButtons(back, next, cancel);
    EnableButton(kIdBack, false);
    EnableButton(kIdNext, false);
}

void Wizard::SetButtons(const std::string& back, const std::string& next, const std::string& cancel) {
    const std::pair<HWND, const std::string*> buttons[] = {{back_, &back}, {next_, &next}, {cancel_, &cancel}};
    for (const auto& [button, text] : buttons) {
        SetWindowTextA(button, text->c_str());
        ShowWindow(button, text->empty() ? SW_HIDE : SW_SHOW);
        EnableWindow(button, !text->empty());
    }
    SendMessageA(next_, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void Wizard::EnableButton(int id, bool enable) { EnableWindow(GetDlgItem(window_, id), enable); }

std::string Wizard::ItemText(int id) const {
    HWND item = GetDlgItem(window_, id);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(item, &text[0], static_cast<int>(text.size()))));
    return text;
}

WizardButton Wizard::WaitForButton() {
    // The first control that takes the focus, else Next.
    HWND first = GetNextDlgTabItem(window_, nullptr, FALSE);
    SetFocus(first ? first : next_);
    pressed_ = 0;
    MSG msg;
    while (!pressed_ && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (!pressed_) PostQuitMessage(0);
    return pressed_ == kIdBack ? WizardButton::Back : pressed_ == kIdNext ? WizardButton::Next : WizardButton::Cancel;
}

int Wizard::Run(const std::function<int()>& work) { return runner_.Run(window_, work); }

void Wizard::SetProgress(int permille, const std::string& text) { runner_.SetProgress(window_, permille, text); }

void Wizard::Press(int id) {
    HWND button = GetDlgItem(window_, id);
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button)) return;
    if (runner_.Running()) {
        if (id == kIdCancel && onCancel) onCancel();
        return;
    }
    pressed_ = id;
}

bool Wizard::OnWhite(HWND control) const {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    return outer_ ? r.top < kLineTop : r.bottom <= kBandHeight;
}

void Wizard::PaintPanel(HDC context, const RECT& area) const {
    PaintGradient(context, area, panelTop_, panelBottom_);
    if (icon_) DrawIconEx(context, area.left + 24, area.top + 24, icon_, 48, 48, 0, nullptr, DI_NORMAL);
}

void Wizard::Paint() {
    PAINTSTRUCT ps;
    HDC context = BeginPaint(window_, &ps);
    RECT white = {0, 0, kClientWidth, outer_ ? kLineTop : kBandHeight};
    FillRect(context, &white, white_);
    if (outer_) {
        RECT panel = {0, 0, kPanelWidth, kLineTop};
        PaintPanel(context, panel);
    } else if (icon_) {
        DrawIconEx(context, kClientWidth - 48, (kBandHeight - 32) / 2, icon_, 32, 32, 0, nullptr, DI_NORMAL);
        RECT line = {0, kBandHeight, kClientWidth, kBandHeight + 2};
        DrawEdge(context, &line, EDGE_ETCHED, BF_TOP);
    }
    RECT line = {0, kLineTop, kClientWidth, kLineTop + 2};
    DrawEdge(context, &line, EDGE_ETCHED, BF_TOP);
    EndPaint(window_, &ps);
}

LRESULT Wizard::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (runner_.OnMessage(message, wParam)) return 0;
    switch (message) {
        case WM_PAINT: Paint(); return 0;
        case WM_CTLCOLORSTATIC: {
            auto control = reinterpret_cast<HWND>(lParam);
            auto context = reinterpret_cast<HDC>(wParam);
            char cls[16] = {};
            GetClassNameA(control, cls, sizeof cls);
            // Read-only text boxes (license, readme, summary) stay white like editable ones.
            if (!OnWhite(control) && lstrcmpiA(cls, "Edit") != 0) break;
            SetBkColor(context, RGB(255, 255, 255));
            SetTextColor(context, GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(white_);
        }
        case WM_COMMAND: {
            int id = LOWORD(wParam);
            if (id == kIdBack || id == kIdNext || id == kIdCancel) Press(id);
            else if (onCommand) onCommand(id, HIWORD(wParam));
            return 0;
        }
        case WM_CLOSE: Press(kIdCancel); return 0;
        default: break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}
