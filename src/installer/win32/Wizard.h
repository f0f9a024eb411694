#pragma once
// The window that carries the installer's and the uninstaller's screens: a page area above a
// line and the Back, Next and Cancel buttons. Welcome and finish pages ("outer" pages) have a
// coloured panel at the left and a white page; the pages between them have a white heading band
// with a title and a subtitle. The page's own controls go when the next page begins.
//
// Nothing is placed in fixed pixels: a page lists its controls from top to bottom and the wizard
// lays them out at the window's DPI, each as high as its text needs in the system's message font;
// the window grows when a page needs more room. A move to a monitor of another scale lays it all
// out again.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/ProgressRunner.h"
#include "platform/win32/WindowDpi.h"

// The button that ended a page.
enum class WizardButton { Back, Next, Cancel };

class Wizard {
public:
    Wizard();
    ~Wizard();
    Wizard(const Wizard&) = delete;
    Wizard& operator=(const Wizard&) = delete;

    // The panel runs from `panelTop` to `panelBottom` (the setup window's colours).
    bool Create(HWND owner, const std::string& caption, COLORREF panelTop, COLORREF panelBottom);
    HWND Handle() const { return window_; }

    // Removes the previous page's controls and begins the next one, which shows when the wizard
    // waits for a button or runs the work behind a progress page.
    void BeginPage(bool outer, const std::string& title, const std::string& subtitle);

    // The current page's controls, each below the one before, in the page's width less `indent`
    // (pixels at 96 DPI). Every line end of a text becomes CR LF, as the controls want them.
    //
    // A wrapped text; it keeps room for `lines` lines when its text changes later.
    HWND AddText(int id, const std::string& text, DWORD style = SS_NOPREFIX, int indent = 0, int lines = 1);
    // A check box or radio button (`style`: BS_AUTOCHECKBOX, BS_AUTORADIOBUTTON, ...), wrapped.
    HWND AddChoice(int id, const std::string& text, DWORD style, int indent = 0);
    // A one-line field (an edit box, a progress bar) `width` wide (0: to the page's right edge).
    HWND AddField(const char* windowClass, int id, const std::string& text, DWORD style, int width = 0,
                  DWORD exStyle = WS_EX_CLIENTEDGE);
    // A push button at the right end of the row of the control added before it: at the top of a
    // box, in the middle of a field.
    HWND AddButton(int id, const std::string& text);
    // A system icon, 16 pixels at 96 DPI, at the left of the row of the control added after it.
    HWND AddIcon(int id, LPCSTR systemIcon);
    // A box (a text box, a list) that takes the height that the page's other controls leave.
    HWND AddFill(const char* windowClass, int id, const std::string& text, DWORD style);
    // Room that pushes the controls after it to the page's bottom.
    void AddSpace();

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
    // How a page control takes its place.
    enum class Kind { Text, Choice, Field, Button, Icon, Fill, Space };
    struct PageItem {
        HWND control;
        Kind kind;
        int indent;  // pixels at 96 DPI
        int lines;   // Text: the lines it keeps room for
        int width;   // Field: pixels at 96 DPI, 0 for the page's width
    };

    template <class T>
    friend LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HWND Create(const char* windowClass, const std::string& text, DWORD style, int id, DWORD exStyle, HFONT font);
    HWND AddItem(const PageItem& item);
    // Lays the page out and shows it whole, once its controls are all there.
    void Present();
    void MakeFonts();
    // Places the frame, the titles, the page's controls and the buttons, and sizes the window.
    void Layout();
    int LayoutPage(int left, int top, int width, int height, bool place);
    int ButtonWidth() const;
    int ButtonWidthOf(HWND button) const;
    int TextHeight(HWND control, const std::string& text, int width, UINT format) const;
    int ItemHeight(const PageItem& item, int width) const;
    void OnDpiChanged(WindowDpi dpi, const RECT& suggested);
    void Paint();
    void PaintPanel(HDC context, const RECT& area) const;
    void Press(int id);
    bool OnWhite(HWND control) const;

    HWND window_ = nullptr, back_ = nullptr, next_ = nullptr, cancel_ = nullptr;
    HWND title_ = nullptr, subtitle_ = nullptr;
    WindowDpi dpi_;
    HFONT font_ = nullptr, boldFont_ = nullptr, titleFont_ = nullptr;
    HBRUSH white_ = nullptr;
    HICON icon_ = nullptr, smallIcon_ = nullptr;
    COLORREF panelTop_ = 0, panelBottom_ = 0;
    bool outer_ = false;
    // The frame as the last layout left it, in pixels.
    int clientWidth_ = 0, clientHeight_ = 0, bandHeight_ = 0, lineTop_ = 0, panelWidth_ = 0;
    int lineHeight_ = 0;  // one line of the message font
    std::vector<PageItem> page_;
    int pressed_ = 0;
    ProgressRunner runner_;
};
