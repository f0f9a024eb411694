#include <string>

#include "editor/Forms.h"
#include "editor/ScopeList.h"
#include "lang/LanguageSets.h"
#include "model/ProjectDocument.h"
#include "resource.h"

namespace {

std::string ListText(HWND dialog, int listId, UINT lengthMessage, UINT textMessage, LRESULT index) {
    LRESULT length = SendDlgItemMessageA(dialog, listId, lengthMessage, index, 0);
    if (length < 0) return "";
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendDlgItemMessageA(dialog, listId, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

std::string ListBoxText(HWND dialog, int listId, LRESULT index) {
    return ListText(dialog, listId, LB_GETTEXTLEN, LB_GETTEXT, index);
}

void AddToList(HWND dialog, int listId, UINT message, const std::string& text) {
    SendDlgItemMessageA(dialog, listId, message, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace

SetupInfoForm::SetupInfoForm(HWND, void* context) : Form(context) {
    SetupInfo& info = Project().setupInfo;
    binder_.BindText(IDC_INSTALLATION_PATH, [&info] { return info.DefaultInstallationPath(); },
                     [&info](const std::string& text) { info.SetDefaultInstallationPath(text, true); });
    binder_.BindText(IDC_SHORTCUT_FOLDER, [&info] { return info.DefaultShortcutFolderName(); },
                     [&info](const std::string& text) { info.SetDefaultShortcutFolderName(text, true); });
    binder_.BindFlag(IDC_ENABLE_UNINSTALLER, [&info] { return info.EnableUninstaller(); },
                     [&info](bool on) { info.SetEnableUninstaller(on, true); });
    binder_.BindText(IDC_ADD_REMOVE_DESCRIPTION, [&info] { return info.AddRemoveProgramsDescription(); },
                     [&info](const std::string& text) { info.SetAddRemoveProgramsDescription(text, true); });
    binder_.BindFlag(IDC_CREATE_UNINSTALL_ICON, [&info] { return info.CreateUninstallerIcon(); },
                     [&info](bool on) { info.SetCreateUninstallerIcon(on, true); });
    binder_.BindText(IDC_UNINSTALL_ICON_DESCRIPTION, [&info] { return info.UninstallerIconDescription(); },
                     [&info](const std::string& text) { info.SetUninstallerIconDescription(text, true); });
}

bool SetupInfoForm::OnInitDialog(HWND dialog) {
    ApplyTexts(dialog, TextKeys::kSetupInfoTab,
               {{IDC_SETUP_INFO_LABEL_PATH, 1}, {IDC_SETUP_INFO_LABEL_FOLDER, 2}, {IDC_ENABLE_UNINSTALLER, 5},
                {IDC_SETUP_INFO_LABEL_ADD_REMOVE, 6}, {IDC_CREATE_UNINSTALL_ICON, 7},
                {IDC_SETUP_INFO_LABEL_ICON, 15}, {IDC_SETUP_INFO_LABEL_AVAILABLE, 16},
                {IDC_SETUP_INFO_LABEL_SELECTED, 17}, {IDC_SETUP_INFO_LABEL_DEFAULT, 18},
                {IDC_SETUP_INFO_LABEL_SCOPE, 19},
                {IDC_ADD_LANGUAGE, 51}, {IDC_REMOVE_LANGUAGE, 52}});
    binder_.Fill(dialog);
    for (const std::string& language : context_.Texts().SetupLanguages())
        AddToList(dialog, IDC_AVAILABLE_LANGUAGES, LB_ADDSTRING, language);
    const SetupInfo& info = Project().setupInfo;
    for (const std::string& language : info.SetupLanguages()) {
        AddToList(dialog, IDC_SELECTED_LANGUAGES, LB_ADDSTRING, language);
        AddToList(dialog, IDC_DEFAULT_LANGUAGE, CB_ADDSTRING, language);
    }
    SendDlgItemMessageA(dialog, IDC_AVAILABLE_LANGUAGES, LB_SETCURSEL, 0, 0);
    SendDlgItemMessageA(dialog, IDC_SELECTED_LANGUAGES, LB_SETCURSEL, 0, 0);
    LRESULT defaultIndex = SendDlgItemMessageA(dialog, IDC_DEFAULT_LANGUAGE, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(info.DefaultSetupLanguage().c_str()));
    SendDlgItemMessageA(dialog, IDC_DEFAULT_LANGUAGE, CB_SETCURSEL, static_cast<WPARAM>(defaultIndex), 0);
    FillScopeList(GetDlgItem(dialog, IDC_INSTALL_SCOPE), context_.Texts(), info.Scope());
    UpdateUninstallerFields(dialog);
    UpdateRemoveButton(dialog);
    SetFocus(GetDlgItem(dialog, IDC_INSTALLATION_PATH));
    return false;
}

void SetupInfoForm::UpdateUninstallerFields(HWND dialog) const {
    const bool uninstaller = IsChecked(dialog, IDC_ENABLE_UNINSTALLER);
    EnableControl(dialog, IDC_ADD_REMOVE_DESCRIPTION, uninstaller);
    EnableControl(dialog, IDC_CREATE_UNINSTALL_ICON, uninstaller);
    EnableControl(dialog, IDC_UNINSTALL_ICON_DESCRIPTION, uninstaller && IsChecked(dialog, IDC_CREATE_UNINSTALL_ICON));
}

void SetupInfoForm::UpdateRemoveButton(HWND dialog) const {
    EnableControl(dialog, IDC_REMOVE_LANGUAGE, SendDlgItemMessageA(dialog, IDC_SELECTED_LANGUAGES, LB_GETCOUNT, 0, 0) >= 2);
}

void SetupInfoForm::AfterEdit(HWND dialog, int controlId) {
    if (controlId == IDC_ENABLE_UNINSTALLER || controlId == IDC_CREATE_UNINSTALL_ICON) UpdateUninstallerFields(dialog);
}

bool SetupInfoForm::OnButton(HWND dialog, int controlId) {
    switch (controlId) {
    case IDC_ADD_LANGUAGE: AddLanguage(dialog); return true;
    case IDC_REMOVE_LANGUAGE: RemoveLanguage(dialog); return true;
    default: return false;
    }
}

bool SetupInfoForm::OnControl(HWND dialog, int id, int code, HWND control) {
    if (id == IDC_DEFAULT_LANGUAGE && code == CBN_SELCHANGE) {
        LRESULT index = SendDlgItemMessageA(dialog, IDC_DEFAULT_LANGUAGE, CB_GETCURSEL, 0, 0);
        if (index >= 0)
            Project().setupInfo.SetDefaultSetupLanguage(
                ListText(dialog, IDC_DEFAULT_LANGUAGE, CB_GETLBTEXTLEN, CB_GETLBTEXT, index), true);
        return true;
    }
    if (id == IDC_INSTALL_SCOPE && code == CBN_SELCHANGE) {
        ScopeChoice choice = ScopeChoice::AllUsers;
        if (SelectedScope(control, choice)) Project().setupInfo.SetScope(choice, true);
        return true;
    }
    return false;
}

// A language is selected once: the same name in another letter case counts as the same.
void SetupInfoForm::AddLanguage(HWND dialog) {
    LRESULT chosen = SendDlgItemMessageA(dialog, IDC_AVAILABLE_LANGUAGES, LB_GETCURSEL, 0, 0);
    if (chosen < 0) return;
    const std::string language = ListBoxText(dialog, IDC_AVAILABLE_LANGUAGES, chosen);
    if (SendDlgItemMessageA(dialog, IDC_SELECTED_LANGUAGES, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(language.c_str())) >= 0)
        return;
    Project().setupInfo.AddLanguage(language, true);
    AddToList(dialog, IDC_SELECTED_LANGUAGES, LB_ADDSTRING, language);
    AddToList(dialog, IDC_DEFAULT_LANGUAGE, CB_ADDSTRING, language);
    UpdateRemoveButton(dialog);
}

// The last language stays, and the default language is always one of those selected.
void SetupInfoForm::RemoveLanguage(HWND dialog) {
    if (SendDlgItemMessageA(dialog, IDC_SELECTED_LANGUAGES, LB_GETCOUNT, 0, 0) < 2) return;
    LRESULT chosen = SendDlgItemMessageA(dialog, IDC_SELECTED_LANGUAGES, LB_GETCURSEL, 0, 0);
    if (chosen < 0) return;
    const std::string language = ListBoxText(dialog, IDC_SELECTED_LANGUAGES, chosen);
    SendDlgItemMessageA(dialog, IDC_SELECTED_LANGUAGES, LB_DELETESTRING, static_cast<WPARAM>(chosen), 0);
    SendDlgItemMessageA(dialog, IDC_SELECTED_LANGUAGES, LB_SETCURSEL, 0, 0);
    SetupInfo& info = Project().setupInfo;
    info.RemoveLanguage(language, true);
    LRESULT inDefaults = SendDlgItemMessageA(dialog, IDC_DEFAULT_LANGUAGE, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(language.c_str()));
    if (inDefaults >= 0)
        SendDlgItemMessageA(dialog, IDC_DEFAULT_LANGUAGE, CB_DELETESTRING, static_cast<WPARAM>(inDefaults), 0);
    if (SendDlgItemMessageA(dialog, IDC_DEFAULT_LANGUAGE, CB_GETCURSEL, 0, 0) < 0) {
        SendDlgItemMessageA(dialog, IDC_DEFAULT_LANGUAGE, CB_SETCURSEL, 0, 0);
        info.SetDefaultSetupLanguage(ListText(dialog, IDC_DEFAULT_LANGUAGE, CB_GETLBTEXTLEN, CB_GETLBTEXT, 0), true);
    }
    UpdateRemoveButton(dialog);
}
