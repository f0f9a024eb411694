#include "editor/FilesPage.h"

#include <commdlg.h>
#include <cderr.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "core/Path.h"
#include "core/Text.h"
#include "editor/EditorContext.h"
#include "editor/ItemDialogs.h"
#include "editor/MessageBox.h"
#include "editor/PageTexts.h"
#include "lang/LanguageSets.h"
#include "model/FileUses.h"
#include "model/ProjectDocument.h"
#include "model/Variables.h"
#include "model/ProjectPaths.h"
#include "platform/FolderScanner.h"
#include "resource.h"

namespace {

// Help context of the page.
constexpr DWORD kFilesHelp = 1120;
// Strings of the column texts of folder rows, of sizes, a file of no known type and a missing
// one (the size column of a product file that is not on the disk: renamed, moved or deleted), and
// the order of the dates.
constexpr TextKey kFileFolderText = TextKeys::kItemKinds.Key(30);
constexpr TextKey kBytesText = TextKeys::kFileSizeTexts.Key(720);
constexpr TextKey kKilobytesText = TextKeys::kFileSizeTexts.Key(721);
constexpr TextKey kDigitGroupSeparator = TextKeys::kFileSizeTexts.Key(722);
constexpr TextKey kFileNotFound = TextKeys::kFileSizeTexts.Key(723);
constexpr TextKey kFileMissing = TextKeys::kFileSizeTexts.Key(724);
constexpr TextKey kDateOrder = TextKeys::kFileSizeTexts.Key(725);
// The open-file dialog's result starts at this size and grows as the selection grows.
constexpr DWORD kFirstSelectionBuffer = 32768;
// The names listed in the message about refused files; the rest are counted.
constexpr size_t kListedRefusals = 20;

// Keeps the open-file dialog's result buffer large enough for the whole selection: each time
// the selection changes, the folder and the names that the dialog will write are measured.
struct SelectionBuffer {
    std::vector<char> bytes;
};

UINT_PTR CALLBACK GrowSelectionBuffer(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_NOTIFY) return 0;
    auto* notify = reinterpret_cast<OFNOTIFYA*>(lParam);
    if (notify->hdr.code != CDN_SELCHANGE) return 0;
    HWND dialog = GetParent(hook);
    const LRESULT names = SendMessageA(dialog, CDM_GETSPEC, 0, 0);
    const LRESULT folder = SendMessageA(dialog, CDM_GETFOLDERPATH, 0, 0);
    if (names < 0 || folder < 0) return 0;
    OPENFILENAMEA* record = notify->lpOFN;
    auto* buffer = reinterpret_cast<SelectionBuffer*>(record->lCustData);
    // The names come back zero-separated instead of quoted: never longer than as typed.
    const size_t needed = static_cast<size_t>(names + folder) + 16;
    if (needed <= record->nMaxFile) return 0;
    buffer->bytes.resize(needed * 2);
    record->lpstrFile = buffer->bytes.data();
    record->nMaxFile = static_cast<DWORD>(buffer->bytes.size());
    return 0;
}

}  // namespace

FilesPage::FilesPage(EditorContext& context, bool editable)
    : SplitPage(context, "PageFiles", kFilesHelp, kFilesPage, "0/0",
                {ID_FILES_DELETE, ID_FILES_DELETE_FOLDER, ID_FILES_DELETE_SELECTION}) {
    editable_ = editable;
    acceptsDrops_ = editable;
}

FileTree& FilesPage::Files() const { return Project().fileTree; }

// A file that shortcuts, file types or the finish screen name would leave them naming nothing:
// the user hears which before anything goes, and decides.
bool FilesPage::ConfirmDelete(const std::vector<const TreeNode*>& nodes) const {
    const auto going = [&](const TreeNode* node) {
        for (; node; node = node->Parent())
            if (std::find(nodes.begin(), nodes.end(), node) != nodes.end()) return true;
        return false;
    };
    const LanguageSets& texts = context_.Texts();
    std::string uses;
    Files().Walk([&](const TreeNode& node) {
        if (!FileTree::FileOf(&node) || !going(&node)) return;
        const std::string file = FileTree::ShortPath(&node);
        for (const FileUse& use : UsesOfFile(Project(), file)) {
            const TextKey kind = use.kind == FileUse::Shortcut   ? TextKeys::kItemKinds.Key(32)
                                 : use.kind == FileUse::FileType ? TextKeys::kDeleteUsedFile.Key(910)
                                                                 : TextKeys::kDeleteUsedFile.Key(911);
            uses += "    " + file + ": " + texts.UiText(kind) + " " + use.name + "\r\n";
        }
    });
    if (uses.empty()) return true;
    const std::string question = texts.UiText(TextKeys::kDeleteUsedFile.Key(908)) + "\r\n\r\n" + uses + "\r\n" +
                                 texts.UiText(TextKeys::kDeleteUsedFile.Key(909));
    return ShowMessage(DialogOwner(), question, texts, MessageKind::RiskyQuestion);
}

DestinationTree& FilesPage::Tree() const { return Files(); }

std::vector<ListColumn> FilesPage::Columns() const {
    const TextKeySet& headers = TextKeys::kListColumns;
    return {{headers.Key(11), 100}, {headers.Key(12), 100}, {headers.Key(13), 100}, {headers.Key(14), 100},
            {headers.Key(15), 100}};
}

std::string FilesPage::DiskPath(const TreeNode* file) const {
    return ResolveProjectPath(FolderOf(Project().Path()), FileTree::SourcePath(file));
}

std::string FilesPage::RowText(int row, int column) const {
    const TreeNode* node = RowNode(row);
    if (!node) return std::string();
    if (column == 0) return NodeDisplayName(node->Name());
    if (FileTree::IsFolder(node)) return column == 2 ? UiString(kFileFolderText) : std::string();
    const std::string source = FileTree::SourcePath(node);
    if (column == 4) return FolderOf(source);
    const std::string disk = DiskPath(node);
    const ShellFileInfo::DiskInfo& info = shell_.DiskOf(disk);
    switch (column) {
    case 1:
        return !info.exists ? UiString(kFileMissing)
                            : FormatFileSize(info.size, UiString(kBytesText), UiString(kKilobytesText),
                                             UiString(kDigitGroupSeparator));
    case 2: {
        if (!info.exists) return UiString(kFileNotFound);
        const std::string& type = shell_.TypeOf(disk).typeName;
        return type.empty() ? UiString(kFileNotFound) : type;
    }
    case 3: {
        if (!info.hasTime) return std::string();
        const SYSTEMTIME& time = info.time;
        return FormatFileTime(UiString(kDateOrder), time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute);
    }
    default: return std::string();
    }
}

int FilesPage::RowImage(int row) const {
    const TreeNode* node = RowNode(row);
    if (!node) return -1;
    if (FileTree::IsFolder(node)) return shell_.FolderIcon();
    if (!shell_.DiskOf(DiskPath(node)).exists) return shell_.MissingFileIcon();
    return shell_.TypeOf(FileTree::SourcePath(node)).icon;
}

std::string FilesPage::RowShortPath(int row) const { return FileTree::ShortPath(RowNode(row)); }

const TreeNode* FilesPage::SelectedFile() const {
    const TreeNode* node = SingleRowNode();
    return HasProperties(node) ? node : nullptr;
}

bool FilesPage::HasProperties(const TreeNode* node) const { return FileTree::FileOf(node) != nullptr; }

bool FilesPage::IsPageCommandEnabled(UINT command) const {
    switch (command) {
    case ID_NEW_FOLDER:
    case ID_INSERT_FILES: return CanAddToFolder();
    default: return false;
    }
}

bool FilesPage::RunPageCommand(UINT command, LPARAM) {
    switch (command) {
    case ID_NEW_FOLDER:
        if (CanAddToFolder()) NewFolder();
        return true;
    case ID_INSERT_FILES:
        if (CanAddToFolder()) InsertFiles();
        return true;
    default:
        return false;
    }
}

void FilesPage::RefreshFromDisk() {
    shell_.ForgetDisk();
    InvalidateRect(List().Handle(), nullptr, TRUE);
}

void FilesPage::NewFolder() {
    std::string name;
    if (!AskForFolderName(name)) return;
    if (TreeNode* folder = Files().AddFolder(SelectedFolder(), name, true)) AddTreeItem(folder);
}

void FilesPage::InsertFiles() {
    SelectionBuffer buffer;
    buffer.bytes.assign(kFirstSelectionBuffer, '\0');
    static const char kFilter[] = "All files (*.*)\0*.*\0";
    OPENFILENAMEA record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = DialogOwner();
    record.lpstrFilter = kFilter;
    record.lpstrFile = buffer.bytes.data();
    record.nMaxFile = static_cast<DWORD>(buffer.bytes.size());
    record.lpstrTitle = "Insert Files into Project";
    record.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_SHAREAWARE | OFN_ALLOWMULTISELECT | OFN_ENABLEHOOK |
                   OFN_ENABLESIZING;
    record.lpfnHook = GrowSelectionBuffer;
    record.lCustData = reinterpret_cast<LPARAM>(&buffer);
    if (!GetOpenFileNameA(&record)) {
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) Warn(kSelectionTooLarge);
        return;
    }
    // One file: its whole path. Several: the folder, then each name, each ending in a zero.
    const char* text = record.lpstrFile;
    std::vector<std::string> paths;
    const std::string first = text;
    if (record.nFileOffset <= first.size()) {
        paths.push_back(first);
    } else {
        std::string folder = first;
        if (!folder.empty() && folder.back() == '\\') folder.pop_back();
        for (const char* name = text + first.size() + 1; *name; name += std::strlen(name) + 1)
            paths.push_back(folder + "\\" + name);
    }
    AddFiles(paths);
}

void FilesPage::AddFiles(const std::vector<std::string>& paths) {
    std::vector<std::string> refused;
    for (const std::string& path : paths)
        if (!Files().AddProductFile(SelectedFolder(), path, FileTree::kCompress, 0, true)) refused.push_back(path);
    ShowFolder();
    ReportRefused(refused);
}

void FilesPage::ReportRefused(const std::vector<std::string>& refused) const {
    if (refused.empty()) return;
    std::string list;
    for (size_t index = 0; index < refused.size() && index < kListedRefusals; ++index) list += "\r\n" + refused[index];
    if (refused.size() > kListedRefusals) list += "\r\n(+" + std::to_string(refused.size() - kListedRefusals) + ")";
    Warn(kFilesNotAdded, list);
}

void FilesPage::AddDroppedFolder(const std::string& path, std::vector<std::string>& refused) {
    TreeNode* selected = SelectedFolder();
    const std::string name = NameOf(path);
    TreeNode* top = Files().FindChild(selected, name, true);
    if (top && !FileTree::IsFolder(top)) {
        refused.push_back(path);
        return;
    }
    if (!top) {
        top = Files().AddFolder(selected, name, true);
        if (!top) {
            refused.push_back(path);
            return;
        }
        InsertTreeItem(tree_.Selection(), top);
    }
    FolderScanner scanner;
    if (!scanner.Start(path, true)) return;
    for (auto entry = scanner.First(); entry; entry = scanner.Next()) {
        // The walk hands out each folder before its contents: the parent is always there.
        TreeNode* parent = top;
        const std::string relative = scanner.RelativeFolder();
        for (size_t at = 0; parent && !relative.empty() && at <= relative.size();) {
            size_t end = relative.find('\\', at);
            if (end == std::string::npos) end = relative.size();
            parent = Files().FindChild(parent, relative.substr(at, end - at), true);
            at = end + 1;
        }
        if (!parent || !FileTree::IsFolder(parent)) {
            refused.push_back(JoinPath(scanner.CurrentFolder(), *entry));
            continue;
        }
        if (scanner.IsFolder()) {
            if (Files().FindChild(parent, *entry, true)) continue;
            if (TreeNode* folder = Files().AddFolder(parent, *entry, true)) {
                if (HTREEITEM parentItem = ItemOf(parent)) InsertTreeItem(parentItem, folder);
            } else {
                refused.push_back(JoinPath(scanner.CurrentFolder(), *entry));
            }
        } else if (!Files().FindChild(parent, *entry, false) &&
                   !Files().AddProductFile(parent, JoinPath(scanner.CurrentFolder(), *entry), FileTree::kCompress, 0,
                                           true)) {
            refused.push_back(JoinPath(scanner.CurrentFolder(), *entry));
        }
    }
    scanner.Finish();
}

void FilesPage::OnDropFiles(HDROP drop) {
    if (!CanAddToFolder()) {
        DragFinish(drop);
        return;
    }
    std::vector<std::string> refused;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        std::string path(DragQueryFileA(drop, index, nullptr, 0) + 1, '\0');
        path.resize(DragQueryFileA(drop, index, path.data(), static_cast<UINT>(path.size())));
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            AddDroppedFolder(path, refused);
        else if (!Files().AddProductFile(SelectedFolder(), path, FileTree::kCompress, 0, true))
            refused.push_back(path);
    }
    DragFinish(drop);
    tree_.Expand(tree_.Selection());
    ShowFolder();
    ReportRefused(refused);
}

void FilesPage::ShowProperties(TreeNode* file) {
    FilePropertiesRecord record;
    record.context = &context_;
    record.isNew = false;
    record.name = file->Name();
    record.type = RowText(SelectedRows().front(), 2);
    record.source = FileTree::SourcePath(file);
    record.projectFolder = Project().Path().empty() ? std::string() : FolderOf(Project().Path());
    record.destination = FileTree::ShortPath(file);
    record.options = FileTree::Options(file);
    record.replaceMode = FileTree::ReplaceMode(file);
    const TreeNodeId id = file->Id();
    if (!RunItemDialog<FilePropertiesDialog>(IDD_FILE_PROPERTIES, record)) return;
    // The file is found again: the dialog's own message loop ran meanwhile.
    file = Files().NodeById(id);
    if (!file) return;
    Files().SetOptions(file, record.options, true);
    Files().SetReplaceMode(file, record.replaceMode, true);
    if (record.source != FileTree::SourcePath(file)) {
        Files().SetSourcePath(file, record.source, true);
        ForgetRows();
        ShowFolder();
    }
}
