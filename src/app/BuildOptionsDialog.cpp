#include "app/BuildOptionsDialog.h"

#include <string>

#include "app/Settings.h"
#include "editor/FormBinder.h"
#include "lang/UiTextSource.h"
#include "resource.h"

namespace {

// The longest text a registry string value of the settings takes back (see LoadSigningCommand).
constexpr int kSigningCommandLimit = 32766;

}  // namespace

BuildOptionsDialog::BuildOptionsDialog(HWND, void* context)
    : Dialog(context), texts_(*static_cast<const UiTextSource*>(context)) {}

void BuildOptionsDialog::SetText(HWND dialog, int id, int number) const {
    SetDlgItemTextA(dialog, id, texts_.UiText(TextKeys::kBuildOptionsDialog.Key(number)).c_str());
}

bool BuildOptionsDialog::OnInitDialog(HWND dialog) {
    SetWindowTextA(dialog, texts_.UiText(TextKeys::kBuildOptionsDialog.Key(0)).c_str());
    SetText(dialog, IDC_SIGN_COMMAND_LABEL, 1);
    SetText(dialog, IDC_SIGN_COMMAND_HINT, 2);
    SetText(dialog, IDC_OK, 3);
    SetText(dialog, IDCANCEL, 4);
    SendDlgItemMessageA(dialog, IDC_SIGN_COMMAND, EM_LIMITTEXT, kSigningCommandLimit, 0);
    SetDlgItemTextA(dialog, IDC_SIGN_COMMAND, LoadSigningCommand().c_str());
    CentreOnDesktop(dialog);
    return true;
}

bool BuildOptionsDialog::OnCommand(HWND dialog, int id, int, HWND) {
    switch (id) {
    case IDC_OK:
    case IDOK:
        SaveSigningCommand(ControlText(dialog, IDC_SIGN_COMMAND));
        EndDialog(dialog, IDC_OK);
        return true;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return true;
    default:
        return false;
    }
}

void RunBuildOptionsDialog(HWND owner, HINSTANCE resources, const UiTextSource& texts) {
    DialogCreatorOf<BuildOptionsDialog> creator(const_cast<UiTextSource*>(&texts));
    ShowModalDialog(resources, IDD_BUILD_OPTIONS, owner, creator);
}
