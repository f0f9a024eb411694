#include "editor/Form.h"

#include "lang/LanguageSets.h"

std::string Form::Text(TextKey key) const { return context_.Texts().UiText(key); }

void Form::ApplyTexts(HWND dialog, const TextKeySet& keys, std::initializer_list<std::pair<int, int>> texts) const {
    for (const auto& [id, number] : texts) SetDlgItemTextA(dialog, id, Text(keys.Key(number)).c_str());
}

void Form::Warn(HWND dialog, TextKey message) const {
    MessageBoxA(dialog, Text(message).c_str(), Text(TextKeys::kMessageCaption).c_str(), MB_OK | MB_ICONWARNING);
}

void Form::OnEditChange(HWND dialog, int controlId) {
    if (binder_.OnEditChange(dialog, controlId)) AfterEdit(dialog, controlId);
}

bool Form::OnCommand(HWND dialog, int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    if (binder_.OnClick(dialog, id)) {
        AfterEdit(dialog, id);
        return true;
    }
    return OnButton(dialog, id);
}
