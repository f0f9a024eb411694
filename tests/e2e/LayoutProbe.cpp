// A hook library that a layout test sets on the thread of another program's window. When that
// window receives the registered message "QsLayoutProbe", the library, now loaded in the program,
// measures every visible control with the control's own font and writes what does not fit to
// %TEMP%\qs-layout-probe.txt: the first line "DPI <n>", then one line per fault.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

UINT DpiOf(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (getDpi) return getDpi(window);
    HDC screen = GetDC(nullptr);
    UINT dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

LONG StyleOf(HWND window) { return GetWindowLongA(window, GWL_STYLE); }

bool IsGroupBox(HWND window) {
    return lstrcmpiA(ClassOf(window).c_str(), "Button") == 0 && (StyleOf(window) & BS_TYPEMASK) == BS_GROUPBOX;
}

// A frame that other controls may lie on: a group box, or a tab control under its pages.
bool IsFrame(HWND window) { return IsGroupBox(window) || lstrcmpiA(ClassOf(window).c_str(), "SysTabControl32") == 0; }

// The room that a control's text has, and the DrawText format that the control draws it with;
// false for controls whose text is not measured (edits, lists, icons, ellipsised paths).
bool TextRoom(HWND control, UINT dpi, RECT& room, UINT& format) {
    const std::string cls = ClassOf(control);
    const LONG style = StyleOf(control);
    GetClientRect(control, &room);
    format = DT_CALCRECT | DT_EXPANDTABS;
    if (lstrcmpiA(cls.c_str(), "Static") == 0) {
        if (style & (SS_PATHELLIPSIS | SS_ENDELLIPSIS | SS_WORDELLIPSIS)) return false;
        const LONG type = style & SS_TYPEMASK;
        if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) format |= DT_WORDBREAK;
        else if (type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE) return false;
        if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
        return true;
    }
    if (lstrcmpiA(cls.c_str(), "Button") != 0) return false;
    const LONG type = style & BS_TYPEMASK;
    if (style & BS_MULTILINE) format |= DT_WORDBREAK;
    else format |= DT_SINGLELINE;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
        // The button's edge and the focus rectangle inside it.
        InflateRect(&room, -MulDiv(3, static_cast<int>(dpi), 96), -MulDiv(2, static_cast<int>(dpi), 96));
        return true;
    }
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON ||
        type == BS_3STATE || type == BS_AUTO3STATE) {
        // The box and the gap before the text.
        room.left += MulDiv(12, static_cast<int>(dpi), 96) + 1 + MulDiv(4, static_cast<int>(dpi), 96);
        return true;
    }
    return false;
}

// "needs WxH, has WxH" when the text does not fit its room.
std::string TextFault(HWND control, UINT dpi) {
    RECT room;
    UINT format = 0;
    const std::string text = TextOf(control);
    if (text.empty() || !TextRoom(control, dpi, room, format)) return std::string();
    const int width = room.right - room.left, height = room.bottom - room.top;
    HDC context = GetDC(control);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(context, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    RECT need = {0, 0, width, 0};
    DrawTextA(context, text.c_str(), -1, &need, format);
    SelectObject(context, old);
    ReleaseDC(control, context);
    if (need.right <= width && need.bottom <= height) return std::string();
    char line[96];
    std::snprintf(line, sizeof line, "needs %ldx%ld, has %dx%d", need.right, need.bottom, width, height);
    return line;
}

RECT ParentRect(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Name(HWND control) {
    char id[16];
    std::snprintf(id, sizeof id, "%d", GetDlgCtrlID(control));
    return ClassOf(control) + " " + id + " \"" + TextOf(control).substr(0, 60) + "\"";
}

std::vector<std::string> Faults(HWND top) {
    std::vector<HWND> controls;
    EnumChildWindows(
        top,
        [](HWND child, LPARAM data) -> BOOL {
            if (IsWindowVisible(child)) reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&controls));
    const UINT dpi = DpiOf(top);
    std::vector<std::string> faults;
    for (HWND control : controls) {
        if (std::string fault = TextFault(control, dpi); !fault.empty())
            faults.push_back("text of " + Name(control) + " does not fit: " + fault);
        RECT parent, r = ParentRect(control), inside;
        GetClientRect(GetParent(control), &parent);
        IntersectRect(&inside, &r, &parent);
        if (!EqualRect(&inside, &r)) faults.push_back(Name(control) + " lies outside its parent");
    }
    for (size_t i = 0; i < controls.size(); ++i)
        for (size_t j = i + 1; j < controls.size(); ++j) {
            HWND a = controls[i], b = controls[j];
            if (GetParent(a) != GetParent(b)) continue;
            RECT ra = ParentRect(a), rb = ParentRect(b), both, around;
            if (!IntersectRect(&both, &ra, &rb)) continue;
            // A group box or a tab control may hold the controls inside it.
            if ((IsFrame(a) && UnionRect(&around, &ra, &rb) && EqualRect(&around, &ra)) ||
                (IsFrame(b) && UnionRect(&around, &ra, &rb) && EqualRect(&around, &rb)))
                continue;
            faults.push_back(Name(a) + " overlaps " + Name(b));
        }
    return faults;
}

void Report(HWND top) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "qs-layout-probe.txt";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    std::fprintf(file, "DPI %u\n", DpiOf(top));
    for (const std::string& fault : Faults(top)) std::fprintf(file, "%s\n", fault.c_str());
    std::fclose(file);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK LayoutHook(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT probe = RegisterWindowMessageA("QsLayoutProbe");
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == probe) Report(message->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
