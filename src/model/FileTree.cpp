#include "model/FileTree.h"

#include <algorithm>

#include "core/Path.h"
#include "profile/ScriptBuilder.h"
#include "core/Text.h"
#include "profile/ProfileText.h"
#include "platform/File.h"
#include "profile/LineSink.h"

static const char kAppDirPath[] = "%DestComp%\\%AppDir%";
static const std::string kFolderKey = "Folder=";
static const std::string kFileKey = "File=";

// The deepest fixed folder begins the short path; the system folder lies inside Windows.
static const std::initializer_list<PathRule> kShortenRules = {
    {"%DestComp%\\%AppDir%", "%DestComp%\\"},
    {"%DestComp%\\%CommonFiles%", "%DestComp%\\"},
    {"%DestComp%\\%WinDir%\\%WinSysDir%", "%DestComp%\\%WinDir%\\"},
    {"%DestComp%\\%WinDir%", "%DestComp%\\"},
};
static const std::initializer_list<PathRule> kExpandRules = {
    {"%AppDir%", "%DestComp%\\"},
    {"%CommonFiles%", "%DestComp%\\"},
    {"%WinDir%", "%DestComp%\\"},
    {"%WinSysDir%", "%DestComp%\\%WinDir%\\"},
};

void FileTree::Reset() {
    CreateFixed({"%DestComp%", "%DestComp%\\%AppDir%", "%DestComp%\\%CommonFiles%", "%DestComp%\\%WinDir%",
                 "%DestComp%\\%WinDir%\\%WinSysDir%"});
}

TreeNode* FileTree::AddFolder(const std::string& path, bool markModified) {
    return AddUserContainer(path, markModified);
}

TreeNode* FileTree::AddFolder(TreeNode* parent, const std::string& name, bool markModified) {
    return AddUserContainer(parent, name, markModified);
}

std::string FileItem::SourcePath() const {
    const std::string_view name = TextStore::View(sourceName_);
    if (!hasFolder_) return std::string(name);
    const std::string_view folder = TextStore::View(sourceFolder_);
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder).append(1, '\\').append(name);
    return path;
}

// The texts go to the store only once the file has its node, so a refused add leaves nothing.
void FileTree::SetSourcePath(FileItem& file, std::string_view sourcePath, const TreeNode* node) {
    const size_t split = sourcePath.rfind('\\');
    file.hasFolder_ = split != std::string_view::npos;
    file.sourceFolder_ = file.hasFolder_ ? Texts().Intern(sourcePath.substr(0, split)) : nullptr;
    const std::string_view name = file.hasFolder_ ? sourcePath.substr(split + 1) : sourcePath;
    file.sourceName_ = node->NameView() == name ? NameHandle(node) : Texts().Add(name);
}

TreeNode* FileTree::AddProductFile(const std::string& path, const std::string& sourcePath, int options, int replaceMode,
                                   bool markModified) {
    if (!IsValidText(sourcePath, false)) return nullptr;
    bool chainCreated = false;
    auto file = std::make_unique<FileItem>(options, replaceMode);
    FileItem* item = file.get();
    TreeNode* node = AddAtPath(path, std::move(file), chainCreated);
    if (node) SetSourcePath(*item, std::string_view(sourcePath).substr(0, kMaxText), node);
    SetModified(chainCreated || (node && markModified));
    return node;
}

TreeNode* FileTree::AddProductFile(TreeNode* parent, const std::string& sourcePath, int options, int replaceMode,
                                   bool markModified) {
    if (!IsValidText(sourcePath, false)) return nullptr;
    auto file = std::make_unique<FileItem>(options, replaceMode);
    FileItem* item = file.get();
    TreeNode* node = AddChild(parent, NameOf(sourcePath), std::move(file));
    if (!node) return nullptr;
    SetSourcePath(*item, std::string_view(sourcePath).substr(0, kMaxText), node);
    SetModified(markModified);
    return node;
}

const FileItem* FileTree::FileOf(const TreeNode* node) {
    return node ? dynamic_cast<const FileItem*>(&node->Item()) : nullptr;
}

FileItem* FileTree::MutableFileOf(TreeNode* node) { return node ? dynamic_cast<FileItem*>(&ItemOf(node)) : nullptr; }

std::string FileTree::SourcePath(const TreeNode* node) {
    const FileItem* file = FileOf(node);
    return file ? file->SourcePath() : std::string();
}

int FileTree::Options(const TreeNode* node) {
    const FileItem* file = FileOf(node);
    return file ? file->Options() : 0;
}

int FileTree::ReplaceMode(const TreeNode* node) {
    const FileItem* file = FileOf(node);
    return file ? file->ReplaceMode() : 0;
}

std::string FileTree::ShortPath(const TreeNode* node) { return Shorten(PathOf(node), kShortenRules); }

std::string FileTree::EntryName(const TreeNode* node) {
    std::string name = ShortPath(node);
    name.erase(std::remove(name.begin(), name.end(), '%'), name.end());
    return name;
}

// The tree owns its nodes; the walk hands them out read-only for its readers' sake.
void FileTree::MapSourcePaths(const std::function<std::string(const std::string&)>& map) {
    Walk([&](const TreeNode& node) {
        if (FileItem* file = MutableFileOf(const_cast<TreeNode*>(&node)))
            SetSourcePath(*file, map(file->SourcePath()), &node);
    });
}

bool FileTree::SetOptions(TreeNode* node, int options, bool markModified) {
    FileItem* file = MutableFileOf(node);
    if (!file) return false;
    file->options_ = options;
    SetModified(markModified);
    return true;
}

bool FileTree::SetReplaceMode(TreeNode* node, int replaceMode, bool markModified) {
    FileItem* file = MutableFileOf(node);
    if (!file) return false;
    file->replaceMode_ = replaceMode;
    SetModified(markModified);
    return true;
}

bool FileTree::ProjectLine(const TreeNode& node, std::string& line) const {
    if (IsFixed(&node)) return false;
    const FileItem* file = FileOf(&node);
    if (!file) {
        line = kFolderKey + ShortPath(&node);
        return true;
    }
    line = kFileKey + ShortPath(&node) + "," + file->SourcePath() + "," + std::to_string(file->Options()) + "," +
           std::to_string(file->ReplaceMode());
    return true;
}

// A file line needs three commas: short path, source path, options, replace mode.
void FileTree::LoadFileLine(const std::string& rest) {
    size_t first = rest.find(',');
    size_t second = first == std::string::npos ? first : rest.find(',', first + 1);
    size_t third = second == std::string::npos ? second : rest.find(',', second + 1);
    if (third == std::string::npos) return;
    AddProductFile(Expand(rest.substr(0, first), kExpandRules), rest.substr(first + 1, second - first - 1),
                   ReadLeadingInt(rest.substr(second + 1)), ReadLeadingInt(rest.substr(third + 1)), true);
}

const char FileTree::kSection[] = "APPLICATION_FILES";

void FileTree::Load(const ProfileText& project) {
    ForEachLine(project, kSection, [&](const std::string& line) { LoadLine(line); });
}

void FileTree::LoadLine(const std::string& line) {
    std::string rest;
    if (ValueAfter(line, kFileKey, rest))
        LoadFileLine(rest);
    else if (ValueAfter(line, kFolderKey, rest))
        AddFolder(Expand(rest, kExpandRules), true);
}

bool FileTree::Save(LineSink& out) const { return SaveSection(out, "[APPLICATION_FILES]"); }

static bool StartsWithAny(const std::string& text, std::initializer_list<const char*> prefixes) {
    for (const char* prefix : prefixes)
        if (StartsWith(text, prefix)) return true;
    return false;
}

void FileTree::ExportFolders(ScriptBuilder& script, const std::string& header,
                             std::initializer_list<const char*> prefixes) const {
    Walk([&](const TreeNode& node) {
        if (!IsFolder(&node) || IsFixed(&node)) return;
        std::string shortPath = ShortPath(&node);
        if (StartsWithAny(shortPath, prefixes)) script.AddLine(header, shortPath);
    });
}

// The source path stays in the project: the installer finds the file by its entry name.
void FileTree::ExportFiles(ScriptBuilder& script, const std::string& header,
                           std::initializer_list<const char*> prefixes) const {
    Walk([&](const TreeNode& node) {
        const FileItem* file = FileOf(&node);
        if (!file) return;
        std::string shortPath = ShortPath(&node);
        if (!StartsWithAny(shortPath, prefixes)) return;
        script.AddLine(header, "," + EntryName(&node) + "," + shortPath + "," + std::to_string(file->Options()) + "," +
                                   std::to_string(file->ReplaceMode()));
    });
}

bool FileTree::Export(ScriptBuilder& script) const {
    const TreeNode* appDir = Find(kAppDirPath);
    if (!appDir) return false;
    if (appDir->ChildCount() > 0) script.AddLine("[APPLICATION_FOLDERS]", "%AppDir%");
    ExportFolders(script, "[APPLICATION_FOLDERS]", {"%AppDir%"});
    ExportFolders(script, "[SHARED_FOLDERS]", {"%CommonFiles%"});
    ExportFolders(script, "[SYSTEM_FOLDERS]", {"%WinDir%", "%WinSysDir%"});
    ExportFiles(script, "[APPLICATION_FILES]", {"%AppDir%"});
    ExportFiles(script, "[SHARED_FILES]", {"%CommonFiles%"});
    ExportFiles(script, "[SYSTEM_FILES]", {"%WinDir%", "%WinSysDir%"});
    return true;
}
