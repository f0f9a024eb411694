#pragma once
// The window that carries the installer's and the uninstaller's screens: a page area above a
// line and the Back, Next and Cancel buttons. Welcome and finish pages ("outer" pages) have a
// coloured panel at the left and a white page; the pages between them have a white heading band
// with a title and a subtitle. The page's own controls are created in page coordinates and go
// when the next page begins.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/ProgressRunner.h"

// The button that ended a page.
enum class WizardButton { Back, Next, Cancel };

class Wizard {
public:
    // The page area that a page's controls may use, in pixels.
    static constexpr int kPageWidth = 446, kPageHeight = 226;

    Wizard();
    ~Wizard();
    Wizard(const Wizard&) = delete;
    Wizard& operator=(const Wizard&) = delete;

    // The panel runs from `panelTop` to `panelBottom` (the setup window's colours).
    bool Create(HWND owner, const std::string& caption, COLORREF panelTop, COLORREF panelBottom);
    HWND Handle() const { return window_; }

    // Removes the previous page's controls and shows the titles of the next one.
    void BeginPage(bool outer, const std::string& title, const std::string& subtitle);
    // A control of the current page at page coordinates; static texts take the page's background.
    // Every line end of `text` becomes CR LF, as the controls want them.
    HWND Add(const char* windowClass, const std::string& text, DWORD style, int id, int x, int y, int width,
             int height, DWORD exStyle = 0);
    // An inner page with the status line (kIdStatus) and the progress bar (kIdProgress) that
    // SetProgress fills; every button is greyed, Cancel too unless `cancel` is set.
    void BeginProgressPage(const std::string& title, const std::string& subtitle, const std::string& status,
                           const std::string& back, const std::string& next, const std::string& cancel);
    // An empty text hides the button.
    void SetButtons(const std::string& back, const std::string& next, const std::string& cancel);
    void EnableButton(int id, bool enable);
    HWND Item(int id) const { return GetDlgItem(window_, id); }
    std::string ItemText(int id) const;

    // Pumps messages until the user presses Back, Next or Cancel (Enter and Esc included).
    WizardButton WaitForButton();
    // Runs `work` on a second thread while the page keeps answering; Cancel calls onCancel.
    int Run(const std::function<int()>& work);
    // Callable from any thread: the progress bar (kIdProgress) and the status line (kIdStatus).
    void SetProgress(int permille, const std::string& text);

    // A page control's command (its id and notification code).
    std::function<void(int, int)> onCommand;
    // Cancel pressed while Run works.
    std::function<void()> onCancel;

private:
    template <class T>
    friend LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void PaintPanel(HDC context, const RECT& area) const;
    void Press(int id);
    void Place(HWND control);
    bool OnWhite(HWND control) const;

    HWND window_ = nullptr, back_ = nullptr, next_ = nullptr, cancel_ = nullptr;
    HFONT font_ = nullptr, boldFont_ = nullptr, titleFont_ = nullptr;
    HBRUSH white_ = nullptr;
    HICON icon_ = nullptr;
    COLORREF panelTop_ = 0, panelBottom_ = 0;
    bool outer_ = false;
    std::vector<HWND> page_;
    int pressed_ = 0;
    ProgressRunner runner_;
};
