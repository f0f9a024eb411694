#include "editor/FormBinder.h"

#include <algorithm>

std::string ControlText(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void EnableControl(HWND dialog, int controlId, bool on) { EnableWindow(GetDlgItem(dialog, controlId), on); }

void FormBinder::BindText(int controlId, TextGetter get, TextSetter set, int limit) {
    texts_.push_back(TextBinding{controlId, std::move(get), std::move(set), limit});
}

void FormBinder::BindFlag(int controlId, FlagGetter get, FlagSetter set) {
    flags_.push_back(FlagBinding{controlId, std::move(get), std::move(set)});
}

void FormBinder::Fill(HWND dialog) {
    filling_ = true;
    for (const TextBinding& binding : texts_) {
        SendDlgItemMessageA(dialog, binding.id, EM_LIMITTEXT, static_cast<WPARAM>(binding.limit), 0);
        SetDlgItemTextA(dialog, binding.id, binding.get().c_str());
    }
    for (const FlagBinding& binding : flags_)
        CheckDlgButton(dialog, binding.id, binding.get() ? BST_CHECKED : BST_UNCHECKED);
    filling_ = false;
}

bool FormBinder::OnEditChange(HWND dialog, int controlId) const {
    for (const TextBinding& binding : texts_) {
        if (binding.id != controlId) continue;
        if (!filling_) binding.set(ControlText(dialog, controlId));
        return true;
    }
    return false;
}

bool FormBinder::OnClick(HWND dialog, int controlId) const {
    for (const FlagBinding& binding : flags_) {
        if (binding.id != controlId) continue;
        binding.set(IsChecked(dialog, controlId));
        return true;
    }
    return false;
}

bool IsChecked(HWND dialog, int controlId) {
    return IsDlgButtonChecked(dialog, controlId) == BST_CHECKED;
}

std::string PlainLabel(std::string label) {
    label = label.substr(0, label.find('\t'));
    label.erase(std::remove(label.begin(), label.end(), '&'), label.end());
    while (!label.empty() && (label.back() == ':' || label.back() == ' ' || label.back() == '.')) label.pop_back();
    return label;
}
