// The registry page's value dialogs: a string (of the three string types), a binary and a number
// (DWORD) value.
#include "editor/FormBinder.h"
#include "editor/ItemDialogs.h"
#include "editor/PageTexts.h"
#include "model/ValueText.h"
#include "resource.h"

namespace {

constexpr int kNameLimit = static_cast<int>(DestinationTree::kMaxName);

// The texts that the three value dialogs share: title, labels, OK and Cancel, with the name
// field read-only for an existing value.
void PrepareValueDialog(HWND dialog, bool isNew) {
    SendDlgItemMessageA(dialog, IDC_ITEM_NAME, EM_SETREADONLY, !isNew, 0);
    CentreOnDesktop(dialog);
    SetFocus(GetDlgItem(dialog, IDC_ITEM_NAME));
}

// The string types in the order of the type list, which is the order of their texts 8 to 10.
constexpr RegistryValueItem::Type kStringTypes[] = {RegistryValueItem::kString, RegistryValueItem::kExpandString,
                                                    RegistryValueItem::kMultiString};

}  // namespace

StringValueDialog::StringValueDialog(HWND, void* record)
    : RecordDialog(record, TextKeys::kRegistryStringValueDialog, true) {}

bool StringValueDialog::OnInitDialog(HWND dialog) {
    SetTitle(dialog);
    ApplyLabels(dialog, 2, 2);
    // The note that the installer expands %AppDir% & co., and Windows the environment's variables.
    ApplyTexts(dialog, {{IDC_ITEM_LABEL + 2, 6}, {IDC_ITEM_LABEL + 3, 7}, {IDC_OK, 4}, {IDCANCEL, 5}});
    for (int i = 0; i < 3; ++i) {
        SendDlgItemMessageA(dialog, IDC_VALUE_TYPE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text(8 + i).c_str()));
        if (kStringTypes[i] == record_.type) SendDlgItemMessageA(dialog, IDC_VALUE_TYPE, CB_SETCURSEL, i, 0);
    }
    Fill(dialog, IDC_ITEM_NAME, record_.name, kNameLimit);
    // A multi-string holds many strings; the model keeps each to the text limit.
    Fill(dialog, IDC_VALUE_DATA, record_.text, 0);
    PrepareValueDialog(dialog, isNew_);
    return false;
}

bool StringValueDialog::Accept(HWND dialog) {
    const std::string name = ControlText(dialog, IDC_ITEM_NAME);
    if (name.empty()) {
        Warn(dialog, kPleaseEnterValueName);
        FocusField(dialog, IDC_ITEM_NAME);
        return false;
    }
    if (!NameAccepted(dialog, IDC_ITEM_NAME, name)) return false;
    const LRESULT chosen = SendDlgItemMessageA(dialog, IDC_VALUE_TYPE, CB_GETCURSEL, 0, 0);
    const RegistryValueItem::Type type = chosen >= 0 && chosen < 3 ? kStringTypes[chosen] : RegistryValueItem::kString;
    const std::string text = ControlText(dialog, IDC_VALUE_DATA);
    if (type != RegistryValueItem::kMultiString && text.find_first_of("\r\n") != std::string::npos) {
        Warn(dialog, texts_.Key(11));
        FocusField(dialog, IDC_VALUE_DATA);
        return false;
    }
    record_.name = name;
    record_.type = type;
    record_.text = text;
    return true;
}

BinaryValueDialog::BinaryValueDialog(HWND, void* record)
    : RecordDialog(record, TextKeys::kRegistryBinaryValueDialog, true) {}

bool BinaryValueDialog::OnInitDialog(HWND dialog) {
    SetTitle(dialog);
    ApplyLabels(dialog, 2, 2);
    ApplyTexts(dialog, {{IDC_OK, 4}, {IDCANCEL, 5}});
    Fill(dialog, IDC_ITEM_NAME, record_.name, kNameLimit);
    Fill(dialog, IDC_VALUE_DATA, RegistryTree::BinaryAsText(record_.bytes), 0);
    PrepareValueDialog(dialog, isNew_);
    return false;
}

bool BinaryValueDialog::Accept(HWND dialog) {
    const std::string name = ControlText(dialog, IDC_ITEM_NAME);
    if (name.empty()) {
        Warn(dialog, kPleaseEnterValueName);
        FocusField(dialog, IDC_ITEM_NAME);
        return false;
    }
    if (!NameAccepted(dialog, IDC_ITEM_NAME, name)) return false;
    Bytes bytes;
    std::string badToken;
    if (!ReadBinaryText(ControlText(dialog, IDC_VALUE_DATA), bytes, badToken)) {
        Warn(dialog, kNotAByte, badToken);
        FocusField(dialog, IDC_VALUE_DATA);
        return false;
    }
    record_.name = name;
    record_.bytes = std::move(bytes);
    return true;
}

NumberValueDialog::NumberValueDialog(HWND, void* record)
    : RecordDialog(record, TextKeys::kRegistryDwordValueDialog, true) {}

bool NumberValueDialog::OnInitDialog(HWND dialog) {
    SetTitle(dialog);
    ApplyLabels(dialog, 2, 2);
    ApplyTexts(dialog, {{IDC_ITEM_FRAME, 4},
                        {IDC_VALUE_HEXADECIMAL, 5},
                        {IDC_VALUE_DECIMAL, 6},
                        {IDC_OK, 7},
                        {IDCANCEL, 8}});
    Fill(dialog, IDC_ITEM_NAME, record_.name, kNameLimit);
    Fill(dialog, IDC_VALUE_DATA, NumberAsHexText(record_.number), 0);
    CheckRadioButton(dialog, IDC_VALUE_HEXADECIMAL, IDC_VALUE_DECIMAL, IDC_VALUE_HEXADECIMAL);
    PrepareValueDialog(dialog, isNew_);
    return false;
}

// Choosing a base shows the number of the field in it; that is no change of the value.
bool NumberValueDialog::OnButton(HWND dialog, int id) {
    if (id != IDC_VALUE_HEXADECIMAL && id != IDC_VALUE_DECIMAL) return false;
    const bool toHexadecimal = id == IDC_VALUE_HEXADECIMAL;
    if (toHexadecimal == showingHexadecimal_) return true;
    showingHexadecimal_ = toHexadecimal;
    const std::uint32_t number = ReadUnsignedText(ControlText(dialog, IDC_VALUE_DATA), toHexadecimal ? 10 : 16);
    Fill(dialog, IDC_VALUE_DATA, toHexadecimal ? NumberAsHexText(number) : NumberAsDecimalText(number), 0);
    return true;
}

bool NumberValueDialog::Accept(HWND dialog) {
    const std::string name = ControlText(dialog, IDC_ITEM_NAME);
    if (name.empty()) {
        Warn(dialog, kPleaseEnterValueName);
        FocusField(dialog, IDC_ITEM_NAME);
        return false;
    }
    if (!NameAccepted(dialog, IDC_ITEM_NAME, name)) return false;
    record_.name = name;
    record_.number = ReadUnsignedText(ControlText(dialog, IDC_VALUE_DATA), showingHexadecimal_ ? 16 : 10);
    return true;
}
