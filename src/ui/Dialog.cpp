#include "ui/Dialog.h"

#include <algorithm>

#include "platform/AppMessages.h"
#include "ui/WindowPlatform.h"

using ui::Platform;

std::vector<HWND>& ModelessDialogs() {
    static std::vector<HWND> dialogs;
    return dialogs;
}

namespace {

// The handling that the modal and the modeless procedure share; `result` is what the
// procedure answers when the message was one of them.
bool DispatchToHandler(Dialog& handler, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                       INT_PTR& result) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE) {
            handler.OnEditChange(dialog, LOWORD(wParam));
            result = FALSE;
        } else {
            result = handler.OnCommand(dialog, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        }
        return true;
    case WM_NOTIFY:
        result = handler.OnNotify(dialog, static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam));
        return true;
    case WM_HELP:
        if (handler.OnHelp(reinterpret_cast<HELPINFO*>(lParam))) {
            result = TRUE;
        } else {
            HWND parent = Platform().GetParent(dialog);
            result = parent ? Platform().SendMessageA(parent, message, wParam, lParam) : FALSE;
        }
        return true;
    case WM_TIMER:
        handler.OnTimer(dialog, wParam);
        result = TRUE;
        return true;
    default:
        return false;
    }
}

// Owner-drawn controls draw themselves: the item messages go back to the control they name.
INT_PTR ReflectItemMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageA(dialog, static_cast<int>(wParam), message, wParam, lParam);
}

// A static control chooses its own colours (a hyperlink paints itself blue).
INT_PTR ReflectStaticColour(UINT message, WPARAM wParam, LPARAM lParam) {
    return Platform().SendMessageA(reinterpret_cast<HWND>(lParam), message, wParam, lParam);
}

bool IsItemMessage(UINT message) { return message == WM_DRAWITEM || message == WM_MEASUREITEM; }

}  // namespace

INT_PTR CALLBACK ModalDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        Dialog* handler = reinterpret_cast<DialogCreator*>(lParam)->Create(dialog);
        Platform().SetUserData(dialog, reinterpret_cast<LONG_PTR>(handler));
        return handler->OnInitDialog(dialog) ? TRUE : FALSE;
    }
    auto* handler = reinterpret_cast<Dialog*>(Platform().GetUserData(dialog));
    if (!handler) return FALSE;
    if (app_messages::IsAppMessage(message)) return handler->OnAppMessage(dialog, message, lParam) ? TRUE : FALSE;
    INT_PTR result = FALSE;
    if (DispatchToHandler(*handler, dialog, message, wParam, lParam, result)) return result;
    if (IsItemMessage(message)) return ReflectItemMessage(dialog, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY:
        handler->OnDestroy(dialog);
        delete handler;
        Platform().SetUserData(dialog, 0);
        return FALSE;
    case WM_CTLCOLORSTATIC:
        return ReflectStaticColour(message, wParam, lParam);
    case WM_MOUSEWHEEL:
        Platform().SendMessageA(dialog, WM_VSCROLL,
                                GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? SB_LINEDOWN : SB_LINEUP, 0);
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK ModelessDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* slot = reinterpret_cast<ModelessDialogSlot*>(lParam);
        slot->handler = slot->creator->Create(dialog);
        Platform().SetUserData(dialog, reinterpret_cast<LONG_PTR>(slot));
        return slot->handler->OnInitDialog(dialog) ? TRUE : FALSE;
    }
    auto* slot = reinterpret_cast<ModelessDialogSlot*>(Platform().GetUserData(dialog));
    Dialog* handler = slot ? slot->handler : nullptr;
    if (!handler) return IsItemMessage(message) ? TRUE : FALSE;
    if (app_messages::IsAppMessage(message)) return handler->OnAppMessage(dialog, message, lParam) ? TRUE : FALSE;
    INT_PTR result = FALSE;
    if (DispatchToHandler(*handler, dialog, message, wParam, lParam, result)) return result;
    if (IsItemMessage(message)) return ReflectItemMessage(dialog, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY: {
        auto& dialogs = ModelessDialogs();
        dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), dialog), dialogs.end());
        slot->handler = nullptr;
        handler->OnDestroy(dialog);
        delete handler;
        Platform().SetUserData(dialog, 0);
        slot->dialog = nullptr;
        return FALSE;
    }
    case WM_CTLCOLORSTATIC:
        return ReflectStaticColour(message, wParam, lParam);
    case WM_MOUSEWHEEL:
        // A notch towards the user turns a whole page of the hosting view; away, one line.
        if (HWND host = Platform().GetParent(dialog))
            Platform().SendMessageA(host, WM_VSCROLL,
                                    GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? SB_PAGEDOWN : SB_LINEUP, 0);
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR ShowModalDialog(HINSTANCE instance, int templateId, HWND owner, DialogCreator& creator) {
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, ModalDialogProcedure,
                           reinterpret_cast<LPARAM>(&creator));
}

HWND CreateModelessDialog(HINSTANCE instance, int templateId, HWND host, ModelessDialogSlot& slot,
                          DialogCreator& creator) {
    if (slot.dialog) return slot.dialog;
    slot.creator = &creator;
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), host,
                                     ModelessDialogProcedure, reinterpret_cast<LPARAM>(&slot));
    if (!dialog) return nullptr;
    slot.dialog = dialog;
    ModelessDialogs().push_back(dialog);
    ShowWindow(dialog, SW_SHOW);
    return dialog;
}

void CentreOnDesktop(HWND window) {
    RECT desktop, rect;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    int x = desktop.left + ((desktop.right - desktop.left) - width) / 2;
    int y = desktop.top + ((desktop.bottom - desktop.top) - height) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}
