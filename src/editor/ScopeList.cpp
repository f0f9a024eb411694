#include "editor/ScopeList.h"

#include <iterator>

#include "lang/TextKeys.h"
#include "lang/UiTextSource.h"

namespace {

// In the order of the list; each with its text of the Setup Info page.
const ScopeChoice kChoices[] = {ScopeChoice::AllUsers, ScopeChoice::CurrentUser, ScopeChoice::Ask};
const int kTextNumbers[] = {20, 21, 22};

}  // namespace

void FillScopeList(HWND combo, const UiTextSource& texts, ScopeChoice selected) {
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < std::size(kChoices); ++i) {
        const std::string text = texts.UiText(TextKeys::kSetupInfoTab.Key(kTextNumbers[i]));
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (kChoices[i] == selected) SendMessageA(combo, CB_SETCURSEL, i, 0);
    }
}

bool SelectedScope(HWND combo, ScopeChoice& choice) {
    const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<size_t>(index) >= std::size(kChoices)) return false;
    choice = kChoices[index];
    return true;
}
