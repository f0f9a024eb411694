#include "installer/win32/Wizard.h"

#include <commctrl.h>

#include <algorithm>

#include "core/Text.h"
#include "installer/win32/ScreenIds.h"
#include "installer/win32/ScreenPaint.h"
#include "resource.h"

namespace {

const char kClassName[] = "QuillsetWizard";
// The frame in pixels at 96 DPI: the smallest client area, the panel of outer pages, the
// buttons' smallest size and the margins.
constexpr int kClientWidth = 494, kMinClientHeight = 360;
constexpr int kMinBandHeight = 58, kPanelWidth = 164, kPanelIcon = 48, kBandIcon = 32;
constexpr int kButtonWidth = 88, kButtonHeight = 24, kMargin = 11, kRowMargin = 12;
// Where the page's controls start on inner and on outer pages, and the gap below them.
constexpr int kInnerLeft = 24, kPageGap = 14, kOuterGap = 16, kMinOuterTop = 76;
// The smallest height of a box that takes the page's free height.
constexpr int kMinFill = 48;

HICON LoadApplicationIcon(int size) {
    return static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPLICATION_ICON), IMAGE_ICON, size, size, 0));
}

std::string ItemTextOf(HWND control) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, &text[0], static_cast<int>(text.size()))));
    return text;
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
    for (HICON icon : {icon_, smallIcon_})
        if (icon) DestroyIcon(icon);
}

void Wizard::MakeFonts() {
    for (HFONT font : {font_, boldFont_, titleFont_})
        if (font) DeleteObject(font);
    LOGFONTA message = dpi_.MessageFont();
    font_ = CreateFontIndirectA(&message);
    message.lfWeight = FW_BOLD;
    boldFont_ = CreateFontIndirectA(&message);
    LOGFONTA title = dpi_.MessageFont(12);
    title.lfWeight = FW_BOLD;
    titleFont_ = CreateFontIndirectA(&title);
    for (HICON icon : {icon_, smallIcon_})
        if (icon) DestroyIcon(icon);
    icon_ = LoadApplicationIcon(dpi_.Scale(kPanelIcon));
    smallIcon_ = LoadApplicationIcon(dpi_.Scale(kBandIcon));

    HDC context = GetDC(window_);
    HGDIOBJ old = SelectObject(context, font_);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(context, &metrics);
    SelectObject(context, old);
    ReleaseDC(window_, context);
    lineHeight_ = metrics.tmHeight;
}

bool Wizard::Create(HWND owner, const std::string& caption, COLORREF panelTop, COLORREF panelBottom) {
    panelTop_ = panelTop;
    panelBottom_ = panelBottom;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterScreenClass(kClassName, ObjectWindowProc<Wizard>, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    white_ = CreateSolidBrush(RGB(255, 255, 255));

    // Made at its smallest size on the primary monitor's centre; the first layout sizes it.
    const POINT centre = {GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
    const WindowDpi dpi = WindowDpi::At(centre);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    const SIZE size =
        dpi.WindowSize(dpi.Scale(kClientWidth), dpi.Scale(kMinClientHeight), style, WS_EX_CONTROLPARENT);
    window_ = CreateWindowExA(WS_EX_CONTROLPARENT | (owner ? 0 : WS_EX_APPWINDOW), kClassName, caption.c_str(), style,
                              centre.x - size.cx / 2, centre.y - size.cy / 2, size.cx, size.cy, owner, nullptr,
                              instance, this);
    if (!window_) return false;
    dpi_ = WindowDpi::Of(window_);
    MakeFonts();
    back_ = Create("BUTTON", std::string(), WS_TABSTOP | BS_PUSHBUTTON, kIdBack, 0, font_);
    next_ = Create("BUTTON", std::string(), WS_TABSTOP | BS_PUSHBUTTON, kIdNext, 0, font_);
    cancel_ = Create("BUTTON", std::string(), WS_TABSTOP | BS_PUSHBUTTON, kIdCancel, 0, font_);
    Layout();
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    return true;
}

HWND Wizard::Create(const char* windowClass, const std::string& text, DWORD style, int id, DWORD exStyle,
                    HFONT font) {
    // Hidden until the page is complete: Present shows it whole.
    HWND control = CreateWindowExA(exStyle, windowClass, CrLfLineEnds(text).c_str(), WS_CHILD | style,
                                   0, 0, 0, 0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    if (control) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void Wizard::BeginPage(bool outer, const std::string& title, const std::string& subtitle) {
    for (const PageItem& item : page_) DestroyWindow(item.control);
    page_.clear();
    for (HWND text : {title_, subtitle_})
        if (text) DestroyWindow(text);
    outer_ = outer;
    onCommand = nullptr;
    title_ = Create("STATIC", title, SS_NOPREFIX, kIdTitle, 0, outer ? titleFont_ : boldFont_);
    subtitle_ = outer ? nullptr : Create("STATIC", subtitle, SS_NOPREFIX, kIdSubtitle, 0, font_);
    Layout();
}

HWND Wizard::AddItem(const PageItem& item) {
    if (!item.control && item.kind != Kind::Space) return nullptr;
    // The page's controls come before the buttons in the Tab order, in the order of creation.
    HWND after = HWND_TOP;
    for (auto it = page_.rbegin(); it != page_.rend(); ++it)
        if (it->control) {
            after = it->control;
            break;
        }
    if (item.control) SetWindowPos(item.control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    page_.push_back(item);
    return item.control;
}

void Wizard::Present() {
    Layout();
    for (HWND text : {title_, subtitle_})
        if (text) ShowWindow(text, SW_SHOWNA);
    for (const PageItem& item : page_)
        if (item.control) ShowWindow(item.control, SW_SHOWNA);
}

HWND Wizard::AddText(int id, const std::string& text, DWORD style, int indent, int lines) {
    return AddItem({Create("STATIC", text, style, id, 0, font_), Kind::Text, indent, lines, 0});
}

HWND Wizard::AddChoice(int id, const std::string& text, DWORD style, int indent) {
    return AddItem({Create("BUTTON", text, style | BS_MULTILINE, id, 0, font_), Kind::Choice, indent, 1, 0});
}

HWND Wizard::AddField(const char* windowClass, int id, const std::string& text, DWORD style, int width,
                      DWORD exStyle) {
    return AddItem({Create(windowClass, text, style, id, exStyle, font_), Kind::Field, 0, 1, width});
}

HWND Wizard::AddButton(int id, const std::string& text) {
    return AddItem({Create("BUTTON", text, WS_TABSTOP | BS_PUSHBUTTON, id, 0, font_), Kind::Button, 0, 1, 0});
}

HWND Wizard::AddIcon(int id, LPCSTR systemIcon) {
    HWND control = Create("STATIC", std::string(), SS_ICON | SS_CENTERIMAGE, id, 0, font_);
    const int size = dpi_.Scale(16);
    if (HICON icon = static_cast<HICON>(LoadImageA(nullptr, systemIcon, IMAGE_ICON, size, size, LR_SHARED)))
        SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    return AddItem({control, Kind::Icon, 0, 1, 0});
}

HWND Wizard::AddFill(const char* windowClass, int id, const std::string& text, DWORD style) {
    return AddItem({Create(windowClass, text, style, id, WS_EX_CLIENTEDGE, font_), Kind::Fill, 0, 1, 0});
}

void Wizard::AddSpace() { AddItem({nullptr, Kind::Space, 0, 0, 0}); }

int Wizard::TextHeight(HWND control, const std::string& text, int width, UINT format) const {
    HDC context = GetDC(window_);
    HGDIOBJ old = SelectObject(context, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT need = {0, 0, width, 0};
    DrawTextA(context, text.empty() ? " " : text.c_str(), -1, &need, format | DT_CALCRECT | DT_EXPANDTABS);
    SelectObject(context, old);
    ReleaseDC(window_, context);
    return need.bottom;
}

int Wizard::ButtonWidthOf(HWND button) const {
    HDC context = GetDC(window_);
    HGDIOBJ old = SelectObject(context, font_);
    RECT need = {0, 0, 0, 0};
    DrawTextA(context, ItemTextOf(button).c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(context, old);
    ReleaseDC(window_, context);
    return std::max(dpi_.Scale(kButtonWidth), static_cast<int>(need.right) + dpi_.Scale(24));
}

int Wizard::ButtonWidth() const {
    // Back, Next and Cancel are as wide as each other and as the widest text needs.
    return std::max({ButtonWidthOf(back_), ButtonWidthOf(next_), ButtonWidthOf(cancel_)});
}

int Wizard::ItemHeight(const PageItem& item, int width) const {
    const int buttonHeight = std::max(dpi_.Scale(kButtonHeight), lineHeight_ + dpi_.Scale(10));
    switch (item.kind) {
        case Kind::Text: {
            const LONG style = GetWindowLongA(item.control, GWL_STYLE);
            const bool oneLine = style & (SS_PATHELLIPSIS | SS_ENDELLIPSIS);
            const UINT format = (oneLine ? DT_SINGLELINE : DT_WORDBREAK) | (style & SS_NOPREFIX ? DT_NOPREFIX : 0);
            const int text = oneLine ? 0 : TextHeight(item.control, ItemTextOf(item.control), width, format);
            return std::max(text, item.lines * lineHeight_);
        }
        case Kind::Choice: {
            // The box, the gap after it and the focus rectangle around the text.
            const int text = TextHeight(item.control, ItemTextOf(item.control), width - dpi_.Scale(20), DT_WORDBREAK);
            return std::max(text, dpi_.Scale(13)) + dpi_.Scale(4);
        }
        case Kind::Field: return lineHeight_ + dpi_.Scale(8);
        case Kind::Button: return buttonHeight;
        case Kind::Icon: return dpi_.Scale(16);
        case Kind::Fill: return dpi_.Scale(kMinFill);
        case Kind::Space: return 0;
    }
    return 0;
}
// The page's controls in rows: a row is one control, with an icon before it or a button
// after it. Returns the height that they need; with `place`, puts them into `height`, which
// the boxes and the room that take the free height share.
int Wizard::LayoutPage(int left, int top, int width, int height, bool place) {
    struct Row {
        const PageItem* icon = nullptr;
        const PageItem* main = nullptr;
        const PageItem* button = nullptr;
        int height = 0, gap = 0;
    };
    std::vector<Row> rows;
    for (const PageItem& item : page_) {
        if (item.kind == Kind::Button && !rows.empty() && rows.back().main && !rows.back().button) rows.back().button = &item;
        else if (item.kind != Kind::Icon && !rows.empty() && rows.back().icon && !rows.back().main) rows.back().main = &item;
        else if (item.kind == Kind::Icon) rows.push_back({&item});
        else rows.push_back({nullptr, &item});
    }
    const int buttonGap = dpi_.Scale(8), iconRoom = dpi_.Scale(22);
    auto mainLeft = [&](const Row& row) { return left + dpi_.Scale(row.main ? row.main->indent : 0); };
    auto mainRight = [&](const Row& row) {
        int right = left + width - (row.button ? ButtonWidthOf(row.button->control) + buttonGap : 0);
        if (row.main && row.main->width) right = std::min(right, mainLeft(row) + dpi_.Scale(row.main->width));
        return right;
    };
    int needed = 0, stretches = 0;
    const PageItem* previous = nullptr;
    for (Row& row : rows) {
        if (!row.main) continue;
        const Kind kind = row.main->kind;
        if (previous) {
            const Kind before = previous->kind;
            row.gap = dpi_.Scale(kind == Kind::Space || before == Kind::Space ? 0
                                 : before == Kind::Text && kind == Kind::Field ? 3
                                 : before == Kind::Text && kind == Kind::Fill  ? 6
                                 : before == Kind::Choice && kind == Kind::Choice ? 6
                                                                                  : 12);
        }
        row.height = ItemHeight(*row.main, mainRight(row) - mainLeft(row));
        if (row.icon) row.height = std::max(row.height, ItemHeight(*row.icon, 0));
        if (row.button) row.height = std::max(row.height, ItemHeight(*row.button, 0));
        if (kind == Kind::Fill || kind == Kind::Space) ++stretches;
        needed += row.gap + row.height;
        previous = row.main;
    }
    if (!place) return needed;
    int extra = std::max(0, height - needed), y = top;
    for (Row& row : rows) {
        if (!row.main) continue;
        y += row.gap;
        if (row.main->kind == Kind::Fill || row.main->kind == Kind::Space) {
            const int share = extra / stretches--;
            row.height += share;
            extra -= share;
        }
        if (row.icon) MoveWindow(row.icon->control, left, y, iconRoom - dpi_.Scale(6), ItemHeight(*row.icon, 0), FALSE);
        const int right = mainRight(row);
        if (row.main->control) {
            const int h = ItemHeight(*row.main, right - mainLeft(row));
            const int mainHeight = row.main->kind == Kind::Fill ? row.height : h;
            MoveWindow(row.main->control, mainLeft(row), y + (row.height - mainHeight) / 2, right - mainLeft(row),
                       mainHeight, FALSE);
        }
        if (row.button) {
            const int h = ItemHeight(*row.button, 0);
            // Beside a box, at its top; beside a field, in its middle.
            const int top = row.main->kind == Kind::Fill ? y : y + (row.height - h) / 2;
            MoveWindow(row.button->control, right + buttonGap, top, ButtonWidthOf(row.button->control), h, FALSE);
        }
        y += row.height;
    }
    return needed;
}

void Wizard::Layout() {
    const int width = dpi_.Scale(kClientWidth), margin = dpi_.Scale(kMargin);
    panelWidth_ = dpi_.Scale(kPanelWidth);
    int pageLeft = 0, pageTop = 0, pageWidth = 0;
    if (outer_) {
        pageLeft = panelWidth_ + dpi_.Scale(kOuterGap);
        pageWidth = width - pageLeft - dpi_.Scale(kOuterGap);
        const int titleTop = dpi_.Scale(kOuterGap);
        const int titleHeight = TextHeight(title_, ItemTextOf(title_), pageWidth, DT_WORDBREAK | DT_NOPREFIX);
        MoveWindow(title_, pageLeft, titleTop, pageWidth, titleHeight, FALSE);
        pageTop = std::max(dpi_.Scale(kMinOuterTop), titleTop + titleHeight + dpi_.Scale(kRowMargin));
        bandHeight_ = 0;
    } else if (title_) {
        // The band's icon keeps the right of the band.
        const int titleLeft = dpi_.Scale(20), titleTop = dpi_.Scale(10), subtitleLeft = dpi_.Scale(36);
        const int textRight = width - dpi_.Scale(kBandIcon + 28);
        const int titleHeight = TextHeight(title_, ItemTextOf(title_), textRight - titleLeft, DT_WORDBREAK | DT_NOPREFIX);
        const int subtitleTop = titleTop + titleHeight + dpi_.Scale(2);
        const int subtitleHeight =
            TextHeight(subtitle_, ItemTextOf(subtitle_), textRight - subtitleLeft, DT_WORDBREAK | DT_NOPREFIX);
        MoveWindow(title_, titleLeft, titleTop, textRight - titleLeft, titleHeight, FALSE);
        MoveWindow(subtitle_, subtitleLeft, subtitleTop, textRight - subtitleLeft, subtitleHeight, FALSE);
        bandHeight_ = std::max(dpi_.Scale(kMinBandHeight), subtitleTop + subtitleHeight + dpi_.Scale(8));
        pageLeft = dpi_.Scale(kInnerLeft);
        pageWidth = width - 2 * pageLeft;
        pageTop = bandHeight_ + dpi_.Scale(kPageGap);
    }
    const int buttonWidth = ButtonWidth();
    const int buttonHeight = std::max(dpi_.Scale(kButtonHeight), lineHeight_ + dpi_.Scale(10));
    const int rowHeight = buttonHeight + 2 * dpi_.Scale(kRowMargin);
    // The window keeps the height that an earlier page needed, so that it does not jump.
    const int pageGap = dpi_.Scale(kPageGap);
    const int height = std::max({dpi_.Scale(kMinClientHeight), clientHeight_,
                                 pageTop + LayoutPage(pageLeft, pageTop, pageWidth, 0, false) + pageGap + rowHeight});
    lineTop_ = height - rowHeight;
    LayoutPage(pageLeft, pageTop, pageWidth, lineTop_ - pageGap - pageTop, true);
    const int cancelLeft = width - margin - buttonWidth, buttonTop = lineTop_ + (rowHeight - buttonHeight) / 2;
    MoveWindow(back_, cancelLeft - margin - 2 * buttonWidth, buttonTop, buttonWidth, buttonHeight, FALSE);
    MoveWindow(next_, cancelLeft - margin - buttonWidth, buttonTop, buttonWidth, buttonHeight, FALSE);
    MoveWindow(cancel_, cancelLeft, buttonTop, buttonWidth, buttonHeight, FALSE);
    if (width != clientWidth_ || height != clientHeight_) {
        const DWORD style = static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE));
        const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(window_, GWL_EXSTYLE));
        const SIZE size = dpi_.WindowSize(width, height, style, exStyle);
        RECT now;
        GetWindowRect(window_, &now);
        // Grown about its centre.
        SetWindowPos(window_, nullptr, (now.left + now.right - size.cx) / 2, (now.top + now.bottom - size.cy) / 2,
                     size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        clientWidth_ = width;
        clientHeight_ = height;
    }
    // The controls were moved without painting: the window and all of them paint anew.
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Wizard::OnDpiChanged(WindowDpi dpi, const RECT& suggested) {
    clientHeight_ = MulDiv(clientHeight_, static_cast<int>(dpi.Value()), static_cast<int>(dpi_.Value()));
    clientWidth_ = 0;
    dpi_ = dpi;
    MakeFonts();
    SendMessageA(title_, WM_SETFONT, reinterpret_cast<WPARAM>(outer_ ? titleFont_ : boldFont_), FALSE);
    std::vector<HWND> texts = {subtitle_, back_, next_, cancel_};
    for (const PageItem& item : page_) texts.push_back(item.kind == Kind::Icon ? nullptr : item.control);
    for (HWND control : texts)
        if (control) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
}

void Wizard::BeginProgressPage(const std::string& title, const std::string& subtitle, const std::string& status,
                               const std::string& back, const std::string& next, const std::string& cancel) {
    BeginPage(false, title, subtitle);
    AddText(kIdStatus, status, SS_NOPREFIX | SS_PATHELLIPSIS);
    HWND bar = AddField(PROGRESS_CLASSA, kIdProgress, std::string(), 0, 0, 0);
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
    Layout();
}


void Wizard::EnableButton(int id, bool enable) { EnableWindow(GetDlgItem(window_, id), enable); }

std::string Wizard::ItemText(int id) const {
    HWND item = GetDlgItem(window_, id);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(item, &text[0], static_cast<int>(text.size()))));
    return text;
}

WizardButton Wizard::WaitForButton() {
    Present();
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

int Wizard::Run(const std::function<int()>& work) {
    Present();
    return runner_.Run(window_, work);
}

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
    return outer_ ? r.top < lineTop_ : r.bottom <= bandHeight_;
}

void Wizard::PaintPanel(HDC context, const RECT& area) const {
    PaintGradient(context, area, panelTop_, panelBottom_);
    const int size = dpi_.Scale(kPanelIcon), inset = dpi_.Scale(24);
    if (icon_) DrawIconEx(context, area.left + inset, area.top + inset, icon_, size, size, 0, nullptr, DI_NORMAL);
}

void Wizard::Paint() {
    PAINTSTRUCT ps;
    HDC context = BeginPaint(window_, &ps);
    const int edge = dpi_.Metric(SM_CYEDGE);
    RECT white = {0, 0, clientWidth_, outer_ ? lineTop_ : bandHeight_};
    FillRect(context, &white, white_);
    if (outer_) {
        RECT panel = {0, 0, panelWidth_, lineTop_};
        PaintPanel(context, panel);
    } else {
        const int size = dpi_.Scale(kBandIcon);
        if (smallIcon_)
            DrawIconEx(context, clientWidth_ - size - dpi_.Scale(16), (bandHeight_ - size) / 2, smallIcon_, size, size, 0,
                       nullptr, DI_NORMAL);
        RECT line = {0, bandHeight_, clientWidth_, bandHeight_ + 2 * edge};
        DrawEdge(context, &line, EDGE_ETCHED, BF_TOP);
    }
    RECT line = {0, lineTop_, clientWidth_, lineTop_ + 2 * edge};
    DrawEdge(context, &line, EDGE_ETCHED, BF_TOP);
    EndPaint(window_, &ps);
}

LRESULT Wizard::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (runner_.OnMessage(message, wParam)) return 0;
    switch (message) {
        case WM_PAINT: Paint(); return 0;
        case WM_DPICHANGED: OnDpiChanged(WindowDpi::FromDpiChanged(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
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
