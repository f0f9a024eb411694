#include "editor/Form.h"

#include "lang/LanguageSets.h"

std::string Form::Text(const char* section, const std::string& key) const {
    return context_.Texts().UiText(section, key);
}

void Form::ApplyTexts(HWND dialog, const char* section,
                      std::initializer_list<std::pair<int, const char*>> texts) const {
    for (const auto& [id, key] : texts) SetDlgItemTextA(dialog, id, Text(section, key).c_str());
}

void Form::Warn(HWND dialog, int number) const {
    const LanguageSets& texts = context_.Texts();
    MessageBoxA(dialog, texts.RawString(number).c_str(), texts.RawString(0).c_str(), MB_OK | MB_ICONWARNING);
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
