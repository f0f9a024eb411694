#include "app/SmallDialogs.h"

#include <algorithm>
#include <string>

#include "app/Application.h"
#include "app/Help.h"
#include "core/Text.h"
#include "lang/UiTextSource.h"
#include "platform/FileSystem.h"
#include "platform/win32/WindowDpi.h"
#include "resource.h"

namespace {

void SetItemText(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }

}  // namespace

std::string SmallDialog::Text(TextKey key) const { return Context().texts.UiText(key); }

AboutDialog::AboutDialog(HWND, void* context) : SmallDialog(context) {}

bool AboutDialog::OnInitDialog(HWND dialog) {
    SetWindowTextA(dialog, ProductName());
    SetItemText(dialog, IDC_ABOUT_LINE1, Text(TextKeys::kAboutDialog.Key(3)));
    SetItemText(dialog, IDC_ABOUT_LINE2, Text(TextKeys::kAboutDialog.Key(4)));
    SetItemText(dialog, IDC_ABOUT_LINE3, Text(TextKeys::kAboutDialog.Key(5)));
    SetItemText(dialog, IDC_OK, Text(TextKeys::kAboutDialog.Key(1)));
    SetItemText(dialog, IDC_CREDITS, Text(TextKeys::kAboutDialog.Key(2)));
    SetItemText(dialog, IDC_ABOUT_WEB, kProductWebAddress);
    webLink_.Attach(GetDlgItem(dialog, IDC_ABOUT_WEB));
    CentreOnDesktop(dialog);
    SetFocus(GetDlgItem(dialog, IDC_OK));
    return false;
}

bool AboutDialog::OnCommand(HWND dialog, int id, int, HWND) {
    switch (id) {
    case IDC_CREDITS:
        ShowHelp(dialog, HELP_CONTEXT, 1050);
        return true;
    case IDC_OK:
    case IDOK:
    case IDCANCEL:
        EndDialog(dialog, CMD_NOTHING);
        return true;
    default:
        return false;
    }
}

WelcomeDialog::WelcomeDialog(HWND, void* context) : SmallDialog(context) {}

bool WelcomeDialog::OnInitDialog(HWND dialog) {
    SetWindowTextA(dialog, Text(TextKeys::kWelcomeDialog.Key(0)).c_str());
    SetItemText(dialog, IDC_WELCOME_TEXT1, Text(TextKeys::kWelcomeDialog.Key(1)));
    SetItemText(dialog, IDC_WELCOME_TEXT2, Text(TextKeys::kWelcomeDialog.Key(2)));
    SetItemText(dialog, IDC_WELCOME_TEXT3, Text(TextKeys::kWelcomeDialog.Key(3)));
    SetItemText(dialog, IDC_WELCOME_TEXT4, Text(TextKeys::kWelcomeDialog.Key(5)));
    SetItemText(dialog, IDCANCEL, Text(TextKeys::kWelcomeDialog.Key(4)));
    const int buttons[4] = {CMD_WIZARD_STEP1, CMD_NEW_PROJECT, CMD_OPEN_PROJECT, CMD_OPEN_EXAMPLE};
    const int icons[4] = {IDI_WIZARD, IDI_NEW_PROJECT, IDI_OPEN_PROJECT, IDI_OPEN_PROJECT};
    // 32 pixels at 96 DPI, up to the largest image the icons have.
    const int size = std::min(WindowDpi::Of(dialog).Scale(32), 48);
    for (int i = 0; i < 4; ++i) {
        icons_[i] = static_cast<HICON>(
            LoadImageA(Context().resources, MAKEINTRESOURCEA(icons[i]), IMAGE_ICON, size, size, 0));
        SendDlgItemMessageA(dialog, buttons[i], BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icons_[i]));
    }
    if (!platform::IsFile(ExampleProject())) HideExampleChoice(dialog);
    CentreOnDesktop(dialog);
    return true;
}

// Without an installed example (a Quillset run from where it was built) its row goes, and the
// rule and Cancel move up into its place.
void WelcomeDialog::HideExampleChoice(HWND dialog) {
    RECT row = {0, 0, 0, 34};
    MapDialogRect(dialog, &row);
    for (int id : {CMD_OPEN_EXAMPLE, IDC_WELCOME_TEXT4}) ShowWindow(GetDlgItem(dialog, id), SW_HIDE);
    for (int id : {IDC_WELCOME_RULE, IDCANCEL}) {
        HWND control = GetDlgItem(dialog, id);
        RECT place;
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        SetWindowPos(control, nullptr, place.left, place.top - row.bottom, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    RECT window;
    GetWindowRect(dialog, &window);
    SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - row.bottom,
                 SWP_NOMOVE | SWP_NOZORDER);
}

// Each choice answers to its text as to its icon button.
bool WelcomeDialog::OnCommand(HWND dialog, int id, int, HWND) {
    switch (id) {
    case CMD_WIZARD_STEP1:
    case CMD_NEW_PROJECT:
    case CMD_OPEN_PROJECT:
    case CMD_OPEN_EXAMPLE:
        EndDialog(dialog, id);
        return true;
    case IDC_WELCOME_TEXT1: EndDialog(dialog, CMD_WIZARD_STEP1); return true;
    case IDC_WELCOME_TEXT2: EndDialog(dialog, CMD_NEW_PROJECT); return true;
    case IDC_WELCOME_TEXT3: EndDialog(dialog, CMD_OPEN_PROJECT); return true;
    case IDC_WELCOME_TEXT4: EndDialog(dialog, CMD_OPEN_EXAMPLE); return true;
    case IDCANCEL:
        EndDialog(dialog, CMD_NOTHING);
        return true;
    default:
        return false;
    }
}

WantToSaveDialog::WantToSaveDialog(HWND, void* context) : SmallDialog(context) {}

bool WantToSaveDialog::OnInitDialog(HWND dialog) {
    const std::string& projectName = *Context().projectName;
    SetWindowTextA(dialog, ProductName());
    SetItemText(dialog, IDC_WANT_TO_SAVE_TEXT,
                ReplaceFirstPlaceholder(Text(TextKeys::kWantToSaveDialog.Key(1)), projectName));
    SetItemText(dialog, CMD_SAVE_YES, Text(TextKeys::kWantToSaveDialog.Key(2)));
    SetItemText(dialog, CMD_SAVE_NO, Text(TextKeys::kWantToSaveDialog.Key(3)));
    SetItemText(dialog, CMD_SAVE_CANCEL, Text(TextKeys::kWantToSaveDialog.Key(4)));
    SendDlgItemMessageA(dialog, IDC_WANT_TO_SAVE_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_EXCLAMATION)), 0);
    CentreOnDesktop(dialog);
    return true;
}

bool WantToSaveDialog::OnCommand(HWND dialog, int id, int, HWND) {
    switch (id) {
    case CMD_SAVE_YES:
    case CMD_SAVE_NO:
    case CMD_SAVE_CANCEL:
        EndDialog(dialog, id);
        return true;
    case IDCANCEL:
        EndDialog(dialog, CMD_SAVE_CANCEL);
        return true;
    default:
        return false;
    }
}

int RunAboutDialog(HWND owner, HINSTANCE resources, const UiTextSource& texts) {
    SmallDialogContext context{texts, resources};
    DialogCreatorOf<AboutDialog> creator(&context);
    return static_cast<int>(ShowModalDialog(resources, IDD_ABOUT, owner, creator));
}

int RunWelcomeDialog(HWND owner, HINSTANCE resources, const UiTextSource& texts) {
    SmallDialogContext context{texts, resources};
    DialogCreatorOf<WelcomeDialog> creator(&context);
    return static_cast<int>(ShowModalDialog(resources, IDD_WELCOME, owner, creator));
}

int RunWantToSaveDialog(HWND owner, HINSTANCE resources, const UiTextSource& texts, const std::string& projectName) {
    SmallDialogContext context{texts, resources, &projectName};
    DialogCreatorOf<WantToSaveDialog> creator(&context);
    return static_cast<int>(ShowModalDialog(resources, IDD_WANT_TO_SAVE, owner, creator));
}
