#include "ui/Window.h"

#include "core/Exception.h"
#include "platform/AppMessages.h"
#include "platform/win32/WindowDpi.h"
#include "ui/WindowPlatform.h"

using ui::Platform;

// A window that outlives its object must not reach the object any more: its slot is cleared,
// unless the slot belongs to another object (this one was only a wrapper).
Window::~Window() {
    if (!handle_) return;
    if (ownsHandle_ && Platform().IsWindow(handle_)) {
        Platform().DestroyWindow(handle_);
        return;
    }
    if (Platform().GetUserData(handle_) == reinterpret_cast<LONG_PTR>(this)) Platform().SetUserData(handle_, 0);
}

void Window::OnPaint() { Platform().ValidatePaint(handle_); }

void Window::OnDpiChanged(UINT, const RECT& suggested) {
    SetWindowPos(handle_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::Destroy() {
    if (!handle_) return;
    Platform().DestroyWindow(handle_);
    handle_ = nullptr;
}

void AttachWrapper(Window& wrapper, HWND control) { wrapper.handle_ = control; }

namespace {

Window* ObjectOf(HWND window) { return reinterpret_cast<Window*>(Platform().GetUserData(window)); }

// Hands an unhandled message to the parent window, when there is one.
void SendToParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HWND parent = Platform().GetParent(window)) Platform().SendMessageA(parent, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ui::WindowPlatform& platform = Platform();
    if (message == WM_CREATE) {
        auto* object = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        platform.SetUserData(window, reinterpret_cast<LONG_PTR>(object));
        object->handle_ = window;
        if (object->OnCreate()) return 0;
        object->handle_ = nullptr;
        platform.SetUserData(window, 0);
        return -1;
    }
    Window* object = ObjectOf(window);
    if (!object) return platform.DefWindowProcA(window, message, wParam, lParam);

    if (app_messages::IsAppMessage(message)) {
        // The wParam is not passed on: senders of the program's messages put their payload in lParam.
        if (!object->OnAppMessage(message, lParam)) SendToParent(window, message, wParam, lParam);
        return 0;
    }
    switch (message) {
    case WM_DESTROY:
        object->OnDestroy();
        return 0;
    case WM_SIZE:
        object->OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT:
        object->OnPaint();
        return 0;
    case WM_CLOSE:
        if (object->OnClose()) platform.DestroyWindow(window);
        return 0;
    case WM_ERASEBKGND:
        if (object->OnEraseBackground()) return 1;
        break;
    case WM_COPYDATA:
        object->OnCopyData(reinterpret_cast<COPYDATASTRUCT*>(lParam));
        return 1;
    case WM_NOTIFY: {
        LRESULT result = lParam;
        if (object->OnNotify(static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam), result))
            return result;
        break;
    }
    case WM_HELP: {
        if (object->OnHelp(reinterpret_cast<HELPINFO*>(lParam))) return 1;
        if (HWND parent = platform.GetParent(window))
            return platform.SendMessageA(parent, message, wParam, lParam);
        break;
    }
    case WM_CONTEXTMENU:
        if (object->OnContextMenu(reinterpret_cast<HWND>(wParam), static_cast<short>(LOWORD(lParam)),
                                  static_cast<short>(HIWORD(lParam))))
            return 0;
        break;
    case WM_NCDESTROY:
        platform.SetUserData(window, 0);
        object->handle_ = nullptr;
        return 0;
    case WM_KEYDOWN:
        if (object->OnKeyDown(wParam, lParam)) return 0;
        break;
    case WM_COMMAND:
        if (!object->OnCommand(LOWORD(wParam), lParam)) SendToParent(window, message, wParam, lParam);
        return 0;
    case WM_HSCROLL:
        object->OnHScroll(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_VSCROLL:
        object->OnVScroll(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_INITMENU:
        object->OnInitMenu(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_MENUSELECT:
        object->OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (wParam & MK_LBUTTON)
            object->OnMouseDrag(wParam, lParam);
        else
            object->OnMouseMove(wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        object->OnLButtonDown(wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
        object->OnLButtonUp(wParam, lParam);
        return 0;
    case WM_DPICHANGED:
        object->OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DROPFILES:
        object->OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    default:
        break;
    }
    return platform.DefWindowProcA(window, message, wParam, lParam);
}

bool ChildWindow::Create(DWORD exStyle, const char* className, DWORD style, int x, int y, int width,
                         int height, HWND parent, int id, HINSTANCE instance) {
    CreateWindowExA(exStyle, className, "", style, x, y, width, height, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
    return HasWindow();
}

void TopLevelWindow::OnDestroy() { Platform().PostQuitMessage(0); }

bool TopLevelWindow::Create(DWORD exStyle, const char* className, const char* title, int x, int y,
                            int width, int height, HMENU menu, HINSTANCE instance) {
    CreateWindowExA(exStyle, className, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                    x, y, width, height, nullptr, menu, instance, this);
    return HasWindow();
}

WindowClassInfo::WindowClassInfo(const char* className, HINSTANCE instance) : WNDCLASSEXA{} {
    cbSize = sizeof(WNDCLASSEXA);
    style = CS_HREDRAW | CS_VREDRAW;
    lpfnWndProc = WindowProcedure;
    hInstance = instance;
    hCursor = LoadCursorA(nullptr, IDC_ARROW);
    hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    lpszClassName = className;
}

void RegisterWindowClass(const WindowClassInfo& info) {
    if (!RegisterClassExA(&info)) throw WinException("RegisterClassEx", static_cast<int>(GetLastError()));
}

SIZE GetClientSize(HWND window) {
    RECT rect{};
    if (!window || !Platform().GetClientRect(window, &rect)) return SIZE{0, 0};
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}
