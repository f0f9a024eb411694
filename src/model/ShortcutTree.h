#pragma once
// [SHORTCUTS]: the shortcuts that the installer creates and the Start menu folders that hold
// them, below the variable folders of the destination computer. Exported as
// [SHORTCUT_FOLDERS] and [SHORTCUTS] of setup.ini.
#include <string>

#include "model/DestinationTree.h"

class LineSink;
class ProfileText;
class ScriptBuilder;

// Everything but the name. An internet shortcut keeps only its URL in `target`.
struct ShortcutFields {
    std::string target;
    std::string parameters;
    std::string iconPath;   // empty for the target's own icon
    std::string iconIndex;  // as the user typed it
    int showCommand = 1;    // 1 normal window, 7 minimized, 3 maximized
    std::string workingFolder;
    bool internet = false;
};

class ShortcutItem : public TreeItem {
public:
    explicit ShortcutItem(ShortcutFields fields) : fields_(std::move(fields)) {}
    const ShortcutFields& Fields() const { return fields_; }
    bool IsInternet() const { return fields_.internet; }

private:
    friend class ShortcutTree;
    ShortcutFields fields_;
};

class ShortcutTree : public DestinationTree {
public:
    ShortcutTree() : DestinationTree(SiblingNames::Unique) {}

    // The top node, %StartMenu% with %StartMenuPrograms% and in it %AppSCFolder% and %StartUp%,
    // and %Desktop%. Does not mark the document modified.
    void Reset();
    void Clear() { RemoveAll(); }

    // A user folder at a full path, with any missing parent folders; null when the path is
    // taken or crosses a shortcut.
    TreeNode* AddFolder(const std::string& path, bool markModified);
    TreeNode* AddFolder(TreeNode* parent, const std::string& name, bool markModified);
    // A shortcut at a full path (missing parent folders are created) or under a folder. Null
    // when the place is taken, the path has no parent part, or a field holds what its line
    // cannot keep: a line end anywhere, a "," anywhere but in the working folder. Texts are
    // cut at kMaxText; an internet shortcut keeps only its URL.
    TreeNode* AddShortcut(const std::string& path, const ShortcutFields& fields, bool markModified);
    TreeNode* AddShortcut(TreeNode* parent, const std::string& name, const ShortcutFields& fields, bool markModified);

    static bool IsFolder(const TreeNode* node) { return IsContainer(node); }
    static bool IsVariableFolder(const TreeNode* node) { return IsFixed(node); }
    // Whether the editor may create folders inside: not in the top node, %StartMenu%,
    // %StartMenuPrograms%, %StartUp% and %Desktop%; in %AppSCFolder% and every user folder.
    static bool NewFoldersAllowed(const TreeNode* node);
    static bool IsInternetShortcut(const TreeNode* node);
    // The shortcut's fields; null for a folder.
    static const ShortcutFields* FieldsOf(const TreeNode* node);
    // The path as both file forms write it, beginning with the deepest variable folder.
    static std::string ShortPath(const TreeNode* node);

    // Renames a shortcut or user folder under the sibling and path rules.
    bool SetName(TreeNode* node, const std::string& name, bool markModified);
    // Replaces a shortcut's fields (the internet flag stays); false for a folder or for fields
    // that AddShortcut would refuse.
    bool SetFields(TreeNode* node, const ShortcutFields& fields, bool markModified);

    void Load(const ProfileText& project);
    bool Save(LineSink& out) const;
    // Nothing is exported when the project has no application shortcut folder.
    bool Export(ScriptBuilder& script) const;

    // "ShortcutFolder=", "Shortcut=" or "InternetShortcut=" with the short path and fields.
    bool ProjectLine(const TreeNode& node, std::string& line) const override;

private:
    static bool PrepareFields(const ShortcutFields& fields, ShortcutFields& kept);
    void LoadShortcutLine(const std::string& rest);
    void LoadInternetShortcutLine(const std::string& rest);
};
