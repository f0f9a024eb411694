#pragma once
// [APPLICATION_FILES]: the product files that the installer installs and the folders they go
// to, below the variable folders of the destination computer. Exported into six sections of
// setup.ini; the product archive takes each file's bytes from its source path.
//
// The archive step walks the files like this, in the same order as the script lists them:
//     files.Walk([&](const TreeNode& node) {
//         if (const FileItem* file = files.FileOf(&node)) Store(file->SourcePath(), files.EntryName(&node));
//     });
#include <functional>
#include <string>

#include "model/DestinationTree.h"

class LineSink;
class ProfileText;
class ScriptBuilder;

class FileItem : public TreeItem {
public:
    FileItem(int options, int replaceMode) : options_(options), replaceMode_(replaceMode) {}
    // The path of the file on the builder's computer: in full, or relative to the project file's folder.
    std::string SourcePath() const;
    int Options() const { return options_; }
    // What the installer does when the file exists: an index 0 to 7 into the replace modes
    // that the File Properties dialog lists.
    int ReplaceMode() const { return replaceMode_; }

private:
    friend class FileTree;
    // The source path lies in the tree's text store in two parts, split at its last "\": the
    // folder, kept once for all the files of that folder, and the rest, which usually is the
    // file's own name and then shares the node's text. A path without "\" has no folder part.
    TextStore::Handle sourceFolder_ = nullptr;
    TextStore::Handle sourceName_ = nullptr;
    bool hasFolder_ = false;
    int options_;
    int replaceMode_;
};

class FileTree : public DestinationTree {
public:
    // Option bits; new files get kCompress.
    enum Option { kCompress = 1, kSelfRegister = 2, kSharedFile = 4, kDoNotUninstall = 8 };

    FileTree() : DestinationTree(SiblingNames::Unique) {}

    // The top node and the fixed folders %AppDir%, %CommonFiles%, %WinDir%, %WinDir%\%WinSysDir%.
    // Does not mark the document modified.
    void Reset();
    // Removes every node, the fixed folders included.
    void Clear() { RemoveAll(); }

    // A user folder at a full path, with any missing parent folders. Null when the path is
    // taken or crosses a file.
    TreeNode* AddFolder(const std::string& path, bool markModified);
    TreeNode* AddFolder(TreeNode* parent, const std::string& name, bool markModified);
    // A file at a full path whose last part is its name; missing parent folders are created and
    // always mark the document. Null when the path is taken, has no parent part or crosses a
    // file, or when the source path holds a "," or a line end (the project file could not keep it).
    TreeNode* AddProductFile(const std::string& path, const std::string& sourcePath, int options, int replaceMode,
                             bool markModified);
    // A file under `parent`, named after the last part of `sourcePath` (the Insert Files command).
    TreeNode* AddProductFile(TreeNode* parent, const std::string& sourcePath, int options, int replaceMode,
                             bool markModified);

    static bool IsFolder(const TreeNode* node) { return IsContainer(node); }
    static bool IsVariableFolder(const TreeNode* node) { return IsFixed(node); }
    // The file's item; null for a folder.
    static const FileItem* FileOf(const TreeNode* node);
    // Empty for a folder.
    static std::string SourcePath(const TreeNode* node);
    // 0 for a folder.
    static int Options(const TreeNode* node);
    static int ReplaceMode(const TreeNode* node);
    // The path as both file forms write it: "%AppDir%\Bin\Tool.exe", "%WinSysDir%\x.dll".
    static std::string ShortPath(const TreeNode* node);
    // The short path without its "%" signs: the file's name in setup.zip.
    static std::string EntryName(const TreeNode* node);

    // Both do nothing and return false on a folder.
    bool SetOptions(TreeNode* node, int options, bool markModified);
    bool SetReplaceMode(TreeNode* node, int replaceMode, bool markModified);

    // Every file's source path replaced by what `map` makes of it; does not mark the document.
    void MapSourcePaths(const std::function<std::string(const std::string&)>& map);

    // The section's name in the project file.
    static const char kSection[];
    void Load(const ProfileText& project);
    // One line of the section, as Load reads each (a project's lines may come from the file itself).
    void LoadLine(const std::string& line);
    bool Save(LineSink& out) const;
    // The six folder and file sections of setup.ini. False, adding nothing, when the project
    // has no application folder.
    bool Export(ScriptBuilder& script) const;

    // "Folder=" + short path, or "File=" + short path, source path, options and replace mode.
    bool ProjectLine(const TreeNode& node, std::string& line) const override;

private:
    static FileItem* MutableFileOf(TreeNode* node);
    void SetSourcePath(FileItem& file, std::string_view sourcePath, const TreeNode* node);
    void LoadFileLine(const std::string& rest);
    void ExportFolders(ScriptBuilder& script, const std::string& header,
                       std::initializer_list<const char*> prefixes) const;
    void ExportFiles(ScriptBuilder& script, const std::string& header,
                     std::initializer_list<const char*> prefixes) const;
};
