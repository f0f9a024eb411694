#include "editor/ItemDialog.h"

#include "core/Text.h"
#include "editor/EditorContext.h"
#include "editor/MessageBox.h"
#include "editor/PageTexts.h"
#include "lang/LanguageSets.h"
#include "resource.h"

ItemDialog::ItemDialog(ItemRecord& record, const TextKeySet& texts, bool tracksChanges)
    : Dialog(&record), context_(*record.context), texts_(texts), isNew_(record.isNew),
      checkName_(record.checkName), tracksChanges_(tracksChanges), changed_(record.isNew) {}

std::string ItemDialog::Text(int number) const { return context_.Texts().UiText(texts_.Key(number)); }

void ItemDialog::ApplyTexts(HWND dialog, std::initializer_list<std::pair<int, int>> texts) const {
    for (const auto& [id, number] : texts) SetDlgItemTextA(dialog, id, Text(number).c_str());
}

void ItemDialog::ApplyLabels(HWND dialog, int count, int firstKey) const {
    for (int label = 0; label < count; ++label)
        SetDlgItemTextA(dialog, IDC_ITEM_LABEL + label, Text(firstKey + label).c_str());
}

void ItemDialog::SetTitle(HWND dialog) const { SetWindowTextA(dialog, Text(isNew_ ? 0 : 1).c_str()); }

void ItemDialog::Warn(HWND dialog, TextKey message, const std::string& detail) const {
    const LanguageSets& texts = context_.Texts();
    const std::string text = ReplaceFirstPlaceholder(texts.UiText(message), detail);
    ShowMessage(dialog, text, texts, MessageKind::Warning);
}

bool ItemDialog::NameAccepted(HWND dialog, int id, const std::string& name) const {
    TextKey refusal = kNameTaken;
    switch (checkName_ ? checkName_(name) : NameCheck::kNameFits) {
    case NameCheck::kNameFits: return true;
    case NameCheck::kEmpty: refusal = kPleaseEnterName; break;
    case NameCheck::kForbiddenCharacter: refusal = kNameForbiddenCharacter; break;
    case NameCheck::kTaken: refusal = kNameTaken; break;
    case NameCheck::kTooLong: refusal = kNameTooLong; break;
    }
    Warn(dialog, refusal, name);
    FocusField(dialog, id);
    return false;
}

void ItemDialog::FocusField(HWND dialog, int id) {
    HWND field = GetDlgItem(dialog, id);
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    SendMessageA(field, EM_SETSEL, 0, -1);
}

void ItemDialog::Fill(HWND dialog, int id, const std::string& text, int limit) {
    filling_ = true;
    SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
    SetDlgItemTextA(dialog, id, text.c_str());
    filling_ = false;
}

void ItemDialog::OnEditChange(HWND, int) {
    if (!filling_) changed_ = true;
}

bool ItemDialog::OnCommand(HWND dialog, int id, int code, HWND) {
    if (id == IDC_OK && code == BN_CLICKED) {
        if (tracksChanges_ && !changed_) EndDialog(dialog, IDCANCEL);
        else if (Accept(dialog)) EndDialog(dialog, IDC_OK);
        return true;
    }
    if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return true;
    }
    if (code == CBN_SELCHANGE) {
        changed_ = true;
        return true;
    }
    if (code != BN_CLICKED) return false;
    if (OnButton(dialog, id)) return true;
    changed_ = true;
    return true;
}
