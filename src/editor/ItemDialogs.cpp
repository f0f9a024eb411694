#include "editor/ItemDialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "core/Path.h"
#include "core/Text.h"
#include "editor/ChooseFileDialog.h"
#include "editor/EditorContext.h"
#include "editor/FormBinder.h"
#include "editor/PageTexts.h"
#include "lang/LanguageSets.h"
#include "model/DestinationTree.h"
#include "model/ProjectPaths.h"
#include "resource.h"

namespace {

constexpr int kNameLimit = static_cast<int>(DestinationTree::kMaxName);
constexpr int kTextLimit = static_cast<int>(DestinationTree::kMaxText);
// The run list's entries in order and the show command each stands for.
constexpr int kShowCommands[3] = {SW_SHOWNORMAL, SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED};

void AddListText(HWND dialog, int id, const std::string& text) {
    SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int ListIndex(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0)); }

}  // namespace

NewNameDialog::NewNameDialog(HWND, void* record)
    : RecordDialog(record,
                 static_cast<NameRecord*>(record)->folder ? TextKeys::kNewFolderDialog : TextKeys::kNewKeyDialog,
                 false) {}

bool NewNameDialog::OnInitDialog(HWND dialog) {
    SetWindowTextA(dialog, Text(0).c_str());
    ApplyTexts(dialog, {{IDC_ITEM_FRAME, 1}, {IDC_OK, 2}, {IDCANCEL, 3}});
    Fill(dialog, IDC_ITEM_NAME, record_.name, kNameLimit);
    CentreOnDesktop(dialog);
    SetFocus(GetDlgItem(dialog, IDC_ITEM_NAME));
    return false;
}

bool NewNameDialog::Accept(HWND dialog) {
    const std::string name = ControlText(dialog, IDC_ITEM_NAME);
    if (name.empty()) {
        Warn(dialog, kPleaseEnterName);
        FocusField(dialog, IDC_ITEM_NAME);
        return false;
    }
    if (record_.folder && !IsValidFileName(name)) {
        Warn(dialog, kFolderNameCharacters);
        FocusField(dialog, IDC_ITEM_NAME);
        return false;
    }
    if (!NameAccepted(dialog, IDC_ITEM_NAME, name)) return false;
    record_.name = name;
    return true;
}

FilePropertiesDialog::FilePropertiesDialog(HWND, void* record)
    : RecordDialog(record, TextKeys::kFilePropertiesDialog, true) {}

bool FilePropertiesDialog::OnInitDialog(HWND dialog) {
    SetWindowTextA(dialog, Text(0).c_str());
    ApplyLabels(dialog, 4, 1);
    ApplyTexts(dialog, {{IDC_FILE_OPTION_FIRST, 5},
                        {IDC_FILE_OPTION_FIRST + 1, 6},
                        {IDC_FILE_OPTION_FIRST + 2, 7},
                        {IDC_FILE_OPTION_FIRST + 3, 8},
                        {IDC_OK, 9},
                        {IDCANCEL, 10},
                        {IDC_ITEM_FRAME, 19},
                        {IDC_ITEM_LABEL + 4, 20},
                        {IDC_FILE_SOURCE_BROWSE, 21}});
    source_ = record_.source;
    SetDlgItemTextA(dialog, IDC_FILE_NAME_TEXT, record_.name.c_str());
    SetDlgItemTextA(dialog, IDC_FILE_TYPE_TEXT, record_.type.c_str());
    SetDlgItemTextA(dialog, IDC_FILE_SOURCE_TEXT, source_.c_str());
    SetDlgItemTextA(dialog, IDC_FILE_DESTINATION_TEXT, record_.destination.c_str());
    for (int bit = 0; bit < 4; ++bit)
        CheckDlgButton(dialog, IDC_FILE_OPTION_FIRST + bit, (record_.options >> bit) & 1 ? BST_CHECKED : BST_UNCHECKED);
    for (size_t mode = 0; mode < TextKeys::kReplaceModes.Count(); ++mode)
        AddListText(dialog, IDC_FILE_REPLACE_MODE, context_.Texts().UiText(TextKeys::kReplaceModes[mode]));
    SendDlgItemMessageA(dialog, IDC_FILE_REPLACE_MODE, CB_SETCURSEL, static_cast<WPARAM>(record_.replaceMode), 0);
    CentreOnDesktop(dialog);
    return true;
}

bool FilePropertiesDialog::Accept(HWND dialog) {
    int options = 0;
    for (int bit = 0; bit < 4; ++bit)
        if (IsChecked(dialog, IDC_FILE_OPTION_FIRST + bit)) options |= 1 << bit;
    const int mode = ListIndex(dialog, IDC_FILE_REPLACE_MODE);
    if (options == record_.options && mode == record_.replaceMode && source_ == record_.source) {
        EndDialog(dialog, IDCANCEL);
        return false;
    }
    record_.options = options;
    record_.replaceMode = mode < 0 ? 0 : mode;
    record_.source = source_;
    return true;
}

// The open-file dialog starts in the folder the source was in (if it is still there); the chosen
// file is kept relative to the project's folder when it lies below it, as saving keeps paths.
bool FilePropertiesDialog::OnButton(HWND dialog, int id) {
    if (id != IDC_FILE_SOURCE_BROWSE) return false;
    const std::string current = ResolveProjectPath(record_.projectFolder, source_);
    std::string folder = FolderOf(current);
    std::vector<char> path(32768, '\0');
    const std::string name = NameOf(current);
    if (name.size() < path.size()) std::copy(name.begin(), name.end(), path.begin());
    static const char kFilter[] = "All files (*.*)\0*.*\0";
    OPENFILENAMEA choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = dialog;
    choice.lpstrFilter = kFilter;
    choice.lpstrFile = path.data();
    choice.nMaxFile = static_cast<DWORD>(path.size());
    choice.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    const std::string title = Text(22);
    choice.lpstrTitle = title.c_str();
    choice.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    if (!GetOpenFileNameA(&choice)) return true;
    const std::string chosen = path.data();
    const std::string below = record_.projectFolder.empty() ? std::string() : PathBelow(record_.projectFolder, chosen);
    const std::string source = below.empty() ? chosen : below;
    if (source.find_first_of(",\r\n") != std::string::npos) {
        Warn(dialog, kSourcePathRefused, chosen);
        return true;
    }
    source_ = source;
    SetDlgItemTextA(dialog, IDC_FILE_SOURCE_TEXT, source_.c_str());
    MarkChanged();
    return true;
}

ShortcutDialog::ShortcutDialog(HWND, void* record)
    : RecordDialog(record, TextKeys::kShortcutDialog, true) {}

bool ShortcutDialog::OnInitDialog(HWND dialog) {
    SetTitle(dialog);
    ApplyLabels(dialog, 7, 2);
    ApplyTexts(dialog, {{IDC_SHORTCUT_TARGET_BROWSE, 12},
                        {IDC_SHORTCUT_ICON_BROWSE, 12},
                        {IDC_OK, 13},
                        {IDCANCEL, 14}});
    const ShortcutFields& fields = record_.fields;
    Fill(dialog, IDC_ITEM_NAME, record_.name, kNameLimit);
    Fill(dialog, IDC_SHORTCUT_TARGET, fields.target, kTextLimit);
    Fill(dialog, IDC_SHORTCUT_PARAMETERS, fields.parameters, kTextLimit);
    Fill(dialog, IDC_SHORTCUT_WORKING_FOLDER, fields.workingFolder, kTextLimit);
    Fill(dialog, IDC_SHORTCUT_ICON_PATH, fields.iconPath, kTextLimit);
    Fill(dialog, IDC_SHORTCUT_ICON_INDEX, fields.iconIndex, kTextLimit);
    SendDlgItemMessageA(dialog, IDC_ITEM_NAME, EM_SETREADONLY, !isNew_, 0);
    int entry = 0;
    for (int index = 0; index < 3; ++index) {
        AddListText(dialog, IDC_SHORTCUT_RUN, Text(9 + index));
        if (kShowCommands[index] == fields.showCommand) entry = index;
    }
    SendDlgItemMessageA(dialog, IDC_SHORTCUT_RUN, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    CentreOnDesktop(dialog);
    SetFocus(GetDlgItem(dialog, isNew_ ? IDC_ITEM_NAME : IDC_SHORTCUT_TARGET));
    return false;
}

bool ShortcutDialog::OnButton(HWND dialog, int id) {
    if (id != IDC_SHORTCUT_TARGET_BROWSE && id != IDC_SHORTCUT_ICON_BROWSE) return false;
    ChosenFile chosen{context_, "", ""};
    if (!RunChooseFileDialog(dialog, chosen)) return true;
    if (id == IDC_SHORTCUT_TARGET_BROWSE) {
        SetDlgItemTextA(dialog, IDC_SHORTCUT_TARGET, chosen.path.c_str());
        SetDlgItemTextA(dialog, IDC_SHORTCUT_WORKING_FOLDER, FolderOf(chosen.path).c_str());
    } else {
        SetDlgItemTextA(dialog, IDC_SHORTCUT_ICON_PATH, chosen.path.c_str());
    }
    return true;
}

bool ShortcutDialog::Accept(HWND dialog) {
    ShortcutFields fields = record_.fields;
    fields.target = ControlText(dialog, IDC_SHORTCUT_TARGET);
    fields.parameters = ControlText(dialog, IDC_SHORTCUT_PARAMETERS);
    fields.workingFolder = ControlText(dialog, IDC_SHORTCUT_WORKING_FOLDER);
    fields.iconPath = ControlText(dialog, IDC_SHORTCUT_ICON_PATH);
    fields.iconIndex = ControlText(dialog, IDC_SHORTCUT_ICON_INDEX);
    const int entry = ListIndex(dialog, IDC_SHORTCUT_RUN);
    fields.showCommand = kShowCommands[entry < 0 ? 0 : entry];
    const std::string name = ControlText(dialog, IDC_ITEM_NAME);
    if (name.empty()) {
        Warn(dialog, kPleaseEnterName);
        FocusField(dialog, IDC_ITEM_NAME);
        return false;
    }
    if (!NameAccepted(dialog, IDC_ITEM_NAME, name)) return false;
    for (int id : {IDC_SHORTCUT_TARGET, IDC_SHORTCUT_PARAMETERS, IDC_SHORTCUT_ICON_PATH, IDC_SHORTCUT_ICON_INDEX})
        if (ControlText(dialog, id).find(',') != std::string::npos) {
            Warn(dialog, kShortcutTexts);
            FocusField(dialog, id);
            return false;
        }
    record_.name = name;
    record_.fields = fields;
    return true;
}

InternetShortcutDialog::InternetShortcutDialog(HWND, void* record)
    : RecordDialog(record, TextKeys::kInternetShortcutDialog, true) {}

bool InternetShortcutDialog::OnInitDialog(HWND dialog) {
    SetTitle(dialog);
    ApplyLabels(dialog, 2, 2);
    ApplyTexts(dialog, {{IDC_OK, 4}, {IDCANCEL, 5}});
    Fill(dialog, IDC_ITEM_NAME, record_.name, kNameLimit);
    Fill(dialog, IDC_INTERNET_URL, record_.fields.target, kTextLimit);
    SendDlgItemMessageA(dialog, IDC_ITEM_NAME, EM_SETREADONLY, !isNew_, 0);
    CentreOnDesktop(dialog);
    SetFocus(GetDlgItem(dialog, isNew_ ? IDC_ITEM_NAME : IDC_INTERNET_URL));
    return false;
}

bool InternetShortcutDialog::Accept(HWND dialog) {
    const std::string name = ControlText(dialog, IDC_ITEM_NAME);
    const std::string url = ControlText(dialog, IDC_INTERNET_URL);
    if (name.empty()) {
        Warn(dialog, kPleaseEnterShortcutName);
        FocusField(dialog, IDC_ITEM_NAME);
        return false;
    }
    if (!NameAccepted(dialog, IDC_ITEM_NAME, name)) return false;
    if (url.empty() || url.find(',') != std::string::npos) {
        Warn(dialog, url.empty() ? kPleaseEnterUrl : kShortcutTexts);
        FocusField(dialog, IDC_INTERNET_URL);
        return false;
    }
    record_.name = name;
    record_.fields.target = url;
    record_.fields.internet = true;
    return true;
}

FileTypeDialog::FileTypeDialog(HWND, void* record)
    : RecordDialog(record, TextKeys::kFileTypePropertiesDialog, true) {}

bool FileTypeDialog::OnInitDialog(HWND dialog) {
    SetTitle(dialog);
    ApplyLabels(dialog, 6, 2);
    ApplyTexts(dialog, {{IDC_FILE_TYPE_PROGRAM_BROWSE, 8},
                        {IDC_FILE_TYPE_ICON_BROWSE, 8},
                        {IDC_OK, 9},
                        {IDCANCEL, 10}});
    const FileTypeRecord& type = record_.fileType;
    Fill(dialog, IDC_ITEM_NAME, type.extension, kTextLimit);
    Fill(dialog, IDC_FILE_TYPE_IDENTIFIER, type.identifier, kTextLimit);
    Fill(dialog, IDC_FILE_TYPE_FULL_NAME, type.fullName, kTextLimit);
    Fill(dialog, IDC_FILE_TYPE_PROGRAM, type.programPath, kTextLimit);
    Fill(dialog, IDC_FILE_TYPE_ICON, type.iconPath, kTextLimit);
    Fill(dialog, IDC_FILE_TYPE_ICON_NUMBER, std::to_string(type.iconNumber), 11);
    offeredBefore_ = FileTypeRecord::Offered(type.extension);
    SendDlgItemMessageA(dialog, IDC_ITEM_NAME, EM_SETREADONLY, !isNew_, 0);
    CentreOnDesktop(dialog);
    SetFocus(GetDlgItem(dialog, isNew_ ? IDC_ITEM_NAME : IDC_FILE_TYPE_IDENTIFIER));
    return false;
}

void FileTypeDialog::OnEditChange(HWND dialog, int controlId) {
    ItemDialog::OnEditChange(dialog, controlId);
    if (!isNew_ || controlId != IDC_ITEM_NAME) return;
    // A field still holds the offer when it reads as the offer for the extension before this change.
    const FileTypeRecord offered = FileTypeRecord::Offered(ControlText(dialog, IDC_ITEM_NAME));
    const auto follow = [&](int id, std::string FileTypeRecord::*field) {
        if (ControlText(dialog, id) == offeredBefore_.*field) SetDlgItemTextA(dialog, id, (offered.*field).c_str());
    };
    follow(IDC_FILE_TYPE_IDENTIFIER, &FileTypeRecord::identifier);
    follow(IDC_FILE_TYPE_FULL_NAME, &FileTypeRecord::fullName);
    offeredBefore_ = offered;
}

bool FileTypeDialog::OnButton(HWND dialog, int id) {
    if (id != IDC_FILE_TYPE_PROGRAM_BROWSE && id != IDC_FILE_TYPE_ICON_BROWSE) return false;
    ChosenFile chosen{context_, "", ""};
    if (RunChooseFileDialog(dialog, chosen))
        SetDlgItemTextA(dialog, id == IDC_FILE_TYPE_PROGRAM_BROWSE ? IDC_FILE_TYPE_PROGRAM : IDC_FILE_TYPE_ICON,
                        chosen.path.c_str());
    return true;
}

bool FileTypeDialog::Accept(HWND dialog) {
    FileTypeRecord type;
    type.extension = ControlText(dialog, IDC_ITEM_NAME);
    type.identifier = ControlText(dialog, IDC_FILE_TYPE_IDENTIFIER);
    type.fullName = ControlText(dialog, IDC_FILE_TYPE_FULL_NAME);
    type.programPath = ControlText(dialog, IDC_FILE_TYPE_PROGRAM);
    type.iconPath = ControlText(dialog, IDC_FILE_TYPE_ICON);
    type.iconNumber = ReadLeadingInt(ControlText(dialog, IDC_FILE_TYPE_ICON_NUMBER));
    if (type.extension.empty()) {
        Warn(dialog, kPleaseEnterName);
        FocusField(dialog, IDC_ITEM_NAME);
        return false;
    }
    for (int id : {IDC_ITEM_NAME, IDC_FILE_TYPE_IDENTIFIER, IDC_FILE_TYPE_FULL_NAME, IDC_FILE_TYPE_PROGRAM,
                   IDC_FILE_TYPE_ICON})
        if (ControlText(dialog, id).find(',') != std::string::npos) {
            Warn(dialog, kFileTypeComma);
            FocusField(dialog, id);
            return false;
        }
    record_.fileType = type;
    return true;
}
