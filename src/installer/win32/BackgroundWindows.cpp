#include "installer/win32/BackgroundWindows.h"

#include <algorithm>

#include "core/Text.h"
#include "installer/win32/ScreenPaint.h"
#include "platform/win32/WindowDpi.h"

namespace {

const char kSplashClass[] = "QuillsetSplash";
const char kSetupClass[] = "QuillsetSetupWindow";
constexpr UINT_PTR kSplashTimer = 1;
constexpr UINT kSplashMilliseconds = 2000;

LRESULT CALLBACK SplashProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC context = BeginPaint(window, &ps);
            auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrA(window, GWLP_USERDATA));
            HDC memory = CreateCompatibleDC(context);
            HGDIOBJ old = SelectObject(memory, bitmap);
            BITMAP size{};
            GetObjectA(bitmap, sizeof size, &size);
            // Drawn for 96 DPI, the bitmap is scaled smoothly to the window's size.
            RECT client;
            GetClientRect(window, &client);
            SetStretchBltMode(context, HALFTONE);
            SetBrushOrgEx(context, 0, 0, nullptr);
            StretchBlt(context, 0, 0, client.right, client.bottom, memory, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
            EndPaint(window, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_KEYDOWN:
        case WM_TIMER: DestroyWindow(window); return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

// The setup window's texts keep their proportions on any screen: the project sets them for a
// screen 600 pixels high.
double ScreenScale(int height) { return std::max(1.0, height / 600.0); }

UINT AlignmentFormat(int alignment) {
    switch (alignment) {
        case 1: return DT_CENTER;
        case 2: return DT_RIGHT;
        default: return DT_LEFT;
    }
}

}  // namespace

bool ShowSplash(const std::string& bitmapPath) {
    auto bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, bitmapPath.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!bitmap) return false;
    BITMAP size{};
    GetObjectA(bitmap, sizeof size, &size);
    RegisterScreenClass(kSplashClass, SplashProc, nullptr);
    const POINT centre = {GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
    const WindowDpi dpi = WindowDpi::At(centre);
    const SIZE outer = dpi.WindowSize(dpi.Scale(size.bmWidth), dpi.Scale(size.bmHeight), WS_POPUP | WS_BORDER,
                                      WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kSplashClass, "", WS_POPUP | WS_BORDER,
                                  centre.x - outer.cx / 2, centre.y - outer.cy / 2, outer.cx, outer.cy, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) {
        DeleteObject(bitmap);
        return false;
    }
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap));
    SetTimer(window, kSplashTimer, kSplashMilliseconds, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG msg;
    while (IsWindow(window) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DeleteObject(bitmap);
    return true;
}

SetupWindow::~SetupWindow() {
    if (window_) DestroyWindow(window_);
}

bool SetupWindow::Create(const std::string& title, const ScreenSettings& settings, const std::string (&texts)[3]) {
    settings_ = &settings;
    std::copy(std::begin(texts), std::end(texts), texts_);
    RegisterScreenClass(kSetupClass, WindowProc, nullptr);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    window_ = CreateWindowExA(WS_EX_APPWINDOW, kSetupClass, title.c_str(),
                              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, work.left,
                              work.top, work.right - work.left, work.bottom - work.top, nullptr, nullptr,
                              GetModuleHandleA(nullptr), this);
    if (!window_) return false;
    ShowWindow(window_, SW_SHOWMAXIMIZED);
    UpdateWindow(window_);
    return true;
}

LRESULT CALLBACK SetupWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<SetupWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
        case WM_PAINT:
            if (!self) break;
            self->window_ = window;
            self->Paint();
            return 0;
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: InvalidateRect(window, nullptr, FALSE); return 0;
        // The screens in front of it end the installer; this window only forwards the wish.
        case WM_CLOSE: {
            HWND front = GetWindow(window, GW_ENABLEDPOPUP);
            if (front && front != window) PostMessageA(front, WM_CLOSE, 0, 0);
            return 0;
        }
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void SetupWindow::DrawLine(HDC context, const ScreenText& line, const std::string& text, RECT& area,
                           bool fromBottom) const {
    if (text.empty()) return;
    const double scale = ScreenScale(area.bottom);
    LOGFONTA font = {};
    font.lfHeight = static_cast<LONG>(line.font.height * scale);
    font.lfWeight = line.font.weight;
    font.lfItalic = static_cast<BYTE>(line.font.italic != 0);
    font.lfUnderline = static_cast<BYTE>(line.font.underline != 0);
    font.lfStrikeOut = static_cast<BYTE>(line.font.strikeOut != 0);
    font.lfCharSet = ScreenFont::kCharSet;
    font.lfQuality = ScreenFont::kQuality;
    lstrcpynA(font.lfFaceName, line.font.face.c_str(), LF_FACESIZE);
    HFONT handle = CreateFontIndirectA(&font);
    HGDIOBJ old = SelectObject(context, handle);
    RECT measured = area;
    const UINT format = AlignmentFormat(line.alignment) | DT_WORDBREAK | DT_NOPREFIX;
    // GDI's narrow calls read the bytes in the code page of the selected font's character set,
    // not in the program's UTF-8: the text is drawn from its UTF-16 form.
    const std::u16string wide = Utf16FromUtf8(text);
    const auto* letters = reinterpret_cast<const wchar_t*>(wide.c_str());
    int height = DrawTextW(context, letters, -1, &measured, format | DT_CALCRECT);
    RECT box = area;
    if (fromBottom) box.top = area.bottom - height;
    box.bottom = box.top + height;
    // The 3D look: a black shadow down and to the right, as deep as a tenth of the letters.
    if (line.threeD) {
        int depth = std::max(2, static_cast<int>(std::abs(font.lfHeight) / 10));
        RECT shadow = {box.left + depth, box.top + depth, box.right + depth, box.bottom + depth};
        SetTextColor(context, RGB(0, 0, 0));
        DrawTextW(context, letters, -1, &shadow, format);
    }
    SetTextColor(context, line.colour);
    DrawTextW(context, letters, -1, &box, format);
    SelectObject(context, old);
    DeleteObject(handle);
    if (fromBottom) area.bottom = box.top;
    else area.top = box.bottom + static_cast<int>(8 * scale);
}

void SetupWindow::Paint() {
    PAINTSTRUCT ps;
    HDC context = BeginPaint(window_, &ps);
    RECT client;
    GetClientRect(window_, &client);
    // Painted off screen, so that the gradient does not flicker under the texts.
    HDC memory = CreateCompatibleDC(context);
    HBITMAP bitmap = CreateCompatibleBitmap(context, client.right, client.bottom);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    const ScreenSettings& s = *settings_;
    PaintGradient(memory, client, s.colourFrom, s.gradientFill ? s.colourTo : s.colourFrom);
    SetBkMode(memory, TRANSPARENT);
    const int margin = static_cast<int>(24 * ScreenScale(client.bottom));
    RECT area = {margin, margin / 2, client.right - margin, client.bottom - margin / 2};
    DrawLine(memory, s.heading, texts_[0], area, false);
    DrawLine(memory, s.subheading, texts_[1], area, false);
    DrawLine(memory, s.footer, texts_[2], area, true);
    BitBlt(context, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(window_, &ps);
}
