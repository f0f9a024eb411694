#pragma once
// A window object bound to one platform window. One shared window procedure finds the object
// through the window's user-data slot and calls its handlers; commands and private messages
// that a window does not handle rise to its parent. The program's own messages (AppMessages.h)
// reach OnAppMessage, never OnCommand.
#include <windows.h>
#include <shellapi.h>

class Window {
public:
    Window() = default;
    // A plain wrapper around an existing window, for short-lived access; it never destroys it.
    explicit Window(HWND handle) : handle_(handle) {}
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Handlers, in the order the window procedure knows them.
    virtual ~Window();
    virtual bool OnCreate() { return true; }
    // True lets the window close.
    virtual bool OnClose() { return true; }
    virtual void OnDestroy() {}
    virtual void OnSize(int /*width*/, int /*height*/) {}
    // True when the handler erased the background itself.
    virtual bool OnEraseBackground() { return false; }
    virtual void OnPaint();
    virtual void OnDropFiles(HDROP /*drop*/) {}
    virtual void OnInitMenu(HMENU /*menu*/) {}
    virtual void OnMenuSelect(UINT /*item*/, UINT /*flags*/, HMENU /*menu*/) {}
    virtual bool OnContextMenu(HWND /*window*/, int /*x*/, int /*y*/) { return false; }
    // `id` is a 16-bit command id (menu, toolbar, accelerator, control); `extra` its lParam.
    virtual bool OnCommand(UINT /*id*/, LPARAM /*extra*/) { return false; }
    // One of the program's own messages with its lParam; false lets it rise to the parent.
    virtual bool OnAppMessage(UINT /*message*/, LPARAM /*extra*/) { return false; }
    virtual bool OnNotify(int /*controlId*/, NMHDR* /*header*/, LRESULT& /*result*/) { return false; }
    virtual void OnVScroll(int /*code*/, int /*thumb*/) {}
    virtual void OnHScroll(int /*code*/, int /*thumb*/) {}
    // Mouse handlers take the key flags and a packed client point (x low, y high, both signed).
    virtual void OnLButtonDown(WPARAM /*keys*/, LPARAM /*point*/) {}
    virtual void OnLButtonUp(WPARAM /*keys*/, LPARAM /*point*/) {}
    virtual void OnMouseDrag(WPARAM /*keys*/, LPARAM /*point*/) {}
    virtual void OnMouseMove(WPARAM /*keys*/, LPARAM /*point*/) {}
    virtual bool OnHelp(HELPINFO* /*info*/) { return false; }
    virtual bool OnKeyDown(WPARAM /*key*/, LPARAM /*keyData*/) { return false; }
    virtual void OnCopyData(COPYDATASTRUCT* /*data*/) {}
    // The window came onto a monitor of another scale (WM_DPICHANGED): `dpi` is the new DPI and
    // `suggested` the rectangle the system proposes for it; the window lays itself out again and
    // takes that rectangle.
    virtual void OnDpiChanged(UINT dpi, const RECT& suggested);
    // Destroys the window, if any, and forgets its handle.
    virtual void Destroy();

    HWND Handle() const { return handle_; }
    bool HasWindow() const { return handle_ != nullptr; }

protected:
    // Set when destroying the object should destroy its window too.
    bool ownsHandle_ = false;
    // Wrappers of controls that their parent destroys forget the handle before the base
    // destructor runs.
    void ForgetHandle() { handle_ = nullptr; }

private:
    friend LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
    friend void AttachWrapper(Window&, HWND);
    HWND handle_ = nullptr;
};

// The one procedure of every window class the program registers.
LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Binds a control wrapper to a control that some other code created.
void AttachWrapper(Window& wrapper, HWND control);

// A window of a class the program registered, as a child of another window.
class ChildWindow : public Window {
public:
    bool Create(DWORD exStyle, const char* className, DWORD style, int x, int y, int width,
                int height, HWND parent, int id, HINSTANCE instance);
};

// A window without a parent whose destruction ends the application's message loop.
class TopLevelWindow : public Window {
public:
    void OnDestroy() override;
    bool Create(DWORD exStyle, const char* className, const char* title, int x, int y, int width,
                int height, HMENU menu, HINSTANCE instance);
};

// The registration record of one window class, with the defaults the program uses: redraw on
// resize, the shared procedure, the arrow cursor and the button-face background.
struct WindowClassInfo : WNDCLASSEXA {
    WindowClassInfo(const char* className, HINSTANCE instance);
};

// Registers the class; throws WinException ("RegisterClassEx") when the system refuses.
void RegisterWindowClass(const WindowClassInfo& info);

// Registers the class the first time it is asked for in this process.
class WindowClassRegistration {
public:
    explicit WindowClassRegistration(const char* className) : className_(className) {}
    // `customise` may change the record before the class is registered.
    template <typename Customise>
    void Ensure(HINSTANCE instance, Customise customise) {
        if (registered_) return;
        WindowClassInfo info(className_, instance);
        customise(info);
        RegisterWindowClass(info);
        registered_ = true;
    }
    void Ensure(HINSTANCE instance) {
        Ensure(instance, [](WindowClassInfo&) {});
    }

private:
    const char* className_;
    bool registered_ = false;
};

// The client area's size; 0 by 0 for no window.
SIZE GetClientSize(HWND window);
