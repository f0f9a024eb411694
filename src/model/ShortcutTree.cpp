#include "model/ShortcutTree.h"

#include "profile/ScriptBuilder.h"
#include "core/Text.h"
#include "profile/ProfileText.h"
#include "profile/LineSink.h"

static const char kAppScFolderPath[] = "%DestComp%\\%StartMenu%\\%StartMenuPrograms%\\%AppSCFolder%";
static const std::string kFolderKey = "ShortcutFolder=";
static const std::string kShortcutKey = "Shortcut=";
static const std::string kInternetKey = "InternetShortcut=";

static const std::initializer_list<PathRule> kShortenRules = {
    {"%DestComp%\\%StartMenu%\\%StartMenuPrograms%\\%AppSCFolder%", "%DestComp%\\%StartMenu%\\%StartMenuPrograms%\\"},
    {"%DestComp%\\%StartMenu%\\%StartMenuPrograms%\\%StartUp%", "%DestComp%\\%StartMenu%\\%StartMenuPrograms%\\"},
    {"%DestComp%\\%StartMenu%\\%StartMenuPrograms%", "%DestComp%\\%StartMenu%\\"},
    {"%DestComp%\\%StartMenu%", "%DestComp%\\"},
    {"%DestComp%\\%Desktop%", "%DestComp%\\"},
};
static const std::initializer_list<PathRule> kExpandRules = {
    {"%StartMenu%", "%DestComp%\\"},
    {"%StartMenuPrograms%", "%DestComp%\\%StartMenu%\\"},
    {"%AppSCFolder%", "%DestComp%\\%StartMenu%\\%StartMenuPrograms%\\"},
    {"%StartUp%", "%DestComp%\\%StartMenu%\\%StartMenuPrograms%\\"},
    {"%Desktop%", "%DestComp%\\"},
};

void ShortcutTree::Reset() {
    CreateFixed({"%DestComp%", "%DestComp%\\%StartMenu%", "%DestComp%\\%StartMenu%\\%StartMenuPrograms%",
                 kAppScFolderPath, "%DestComp%\\%StartMenu%\\%StartMenuPrograms%\\%StartUp%", "%DestComp%\\%Desktop%"});
}

TreeNode* ShortcutTree::AddFolder(const std::string& path, bool markModified) {
    return AddUserContainer(path, markModified);
}

TreeNode* ShortcutTree::AddFolder(TreeNode* parent, const std::string& name, bool markModified) {
    return AddUserContainer(parent, name, markModified);
}

bool ShortcutTree::PrepareFields(const ShortcutFields& fields, ShortcutFields& kept) {
    kept = ShortcutFields();
    kept.internet = fields.internet;
    kept.target = CutText(fields.target);
    if (fields.internet) {
        kept.showCommand = 0;
        return IsValidText(fields.target, false);
    }
    kept.parameters = CutText(fields.parameters);
    kept.iconPath = CutText(fields.iconPath);
    kept.iconIndex = CutText(fields.iconIndex);
    kept.showCommand = fields.showCommand;
    kept.workingFolder = CutText(fields.workingFolder);
    return IsValidText(fields.target, false) && IsValidText(fields.parameters, false) &&
           IsValidText(fields.iconPath, false) && IsValidText(fields.iconIndex, false) &&
           IsValidText(fields.workingFolder, true);
}

TreeNode* ShortcutTree::AddShortcut(const std::string& path, const ShortcutFields& fields, bool markModified) {
    ShortcutFields kept;
    if (!PrepareFields(fields, kept)) return nullptr;
    bool chainCreated = false;
    TreeNode* node = AddAtPath(path, std::make_unique<ShortcutItem>(std::move(kept)), chainCreated);
    if (node) SetModified(markModified);
    return node;
}

TreeNode* ShortcutTree::AddShortcut(TreeNode* parent, const std::string& name, const ShortcutFields& fields,
                                    bool markModified) {
    ShortcutFields kept;
    if (!PrepareFields(fields, kept)) return nullptr;
    TreeNode* node = AddChild(parent, name, std::make_unique<ShortcutItem>(std::move(kept)));
    if (node) SetModified(markModified);
    return node;
}

bool ShortcutTree::NewFoldersAllowed(const TreeNode* node) {
    if (!IsFolder(node)) return false;
    for (const char* closed : {"%DestComp%", "%StartMenu%", "%StartMenuPrograms%", "%StartUp%", "%Desktop%"})
        if (node->Name() == closed) return false;
    return true;
}

const ShortcutFields* ShortcutTree::FieldsOf(const TreeNode* node) {
    auto shortcut = node ? dynamic_cast<const ShortcutItem*>(&node->Item()) : nullptr;
    return shortcut ? &shortcut->Fields() : nullptr;
}

bool ShortcutTree::IsInternetShortcut(const TreeNode* node) {
    const ShortcutFields* fields = FieldsOf(node);
    return fields && fields->internet;
}

std::string ShortcutTree::ShortPath(const TreeNode* node) { return Shorten(PathOf(node), kShortenRules); }

bool ShortcutTree::SetName(TreeNode* node, const std::string& name, bool markModified) {
    if (!Rename(node, name)) return false;
    SetModified(markModified);
    return true;
}

bool ShortcutTree::SetFields(TreeNode* node, const ShortcutFields& fields, bool markModified) {
    auto shortcut = node ? dynamic_cast<ShortcutItem*>(&ItemOf(node)) : nullptr;
    if (!shortcut) return false;
    ShortcutFields changed = fields;
    changed.internet = shortcut->IsInternet();
    ShortcutFields kept;
    if (!PrepareFields(changed, kept)) return false;
    shortcut->fields_ = std::move(kept);
    SetModified(markModified);
    return true;
}

bool ShortcutTree::ProjectLine(const TreeNode& node, std::string& line) const {
    if (IsFixed(&node)) return false;
    const ShortcutFields* fields = FieldsOf(&node);
    if (!fields)
        line = kFolderKey + ShortPath(&node);
    else if (fields->internet)
        line = kInternetKey + ShortPath(&node) + "," + fields->target + ",,,,,,";
    else
        line = kShortcutKey + ShortPath(&node) + "," + fields->target + "," + fields->parameters + "," +
               fields->iconPath + "," + fields->iconIndex + "," + std::to_string(fields->showCommand) + "," +
               fields->workingFolder;
    return true;
}

// Six commas end path, target, parameters, icon path, icon index and show command; the working
// folder is the rest and may hold commas.
void ShortcutTree::LoadShortcutLine(const std::string& rest) {
    std::string parts[6];
    size_t start = 0;
    for (std::string& part : parts) {
        size_t comma = rest.find(',', start);
        if (comma == std::string::npos) return;
        part = rest.substr(start, comma - start);
        start = comma + 1;
    }
    ShortcutFields fields;
    fields.target = parts[1];
    fields.parameters = parts[2];
    fields.iconPath = parts[3];
    fields.iconIndex = parts[4];
    fields.showCommand = ReadLeadingInt(parts[5]);
    fields.workingFolder = rest.substr(start);
    AddShortcut(Expand(parts[0], kExpandRules), fields, false);
}

void ShortcutTree::LoadInternetShortcutLine(const std::string& rest) {
    size_t first = rest.find(',');
    size_t second = first == std::string::npos ? first : rest.find(',', first + 1);
    if (second == std::string::npos) return;
    ShortcutFields fields;
    fields.internet = true;
    fields.target = rest.substr(first + 1, second - first - 1);
    AddShortcut(Expand(rest.substr(0, first), kExpandRules), fields, false);
}

void ShortcutTree::Load(const ProfileText& project) {
    std::string rest;
    ForEachLine(project, "SHORTCUTS", [&](const std::string& line) {
        if (ValueAfter(line, kShortcutKey, rest))
            LoadShortcutLine(rest);
        else if (ValueAfter(line, kInternetKey, rest))
            LoadInternetShortcutLine(rest);
        else if (ValueAfter(line, kFolderKey, rest))
            AddFolder(Expand(rest, kExpandRules), false);
    });
}

bool ShortcutTree::Save(LineSink& out) const { return SaveSection(out, "[SHORTCUTS]"); }

// The script lines are the project lines with "s," or "i," in place of the key.
bool ShortcutTree::Export(ScriptBuilder& script) const {
    const TreeNode* appScFolder = Find(kAppScFolderPath);
    if (!appScFolder) return false;
    if (appScFolder->ChildCount() > 0) script.AddLine("[SHORTCUT_FOLDERS]", "%AppSCFolder%");
    Walk([&](const TreeNode& node) {
        if (IsFolder(&node) && !IsFixed(&node)) script.AddLine("[SHORTCUT_FOLDERS]", ShortPath(&node));
    });
    std::string line, rest;
    Walk([&](const TreeNode& node) {
        if (IsFolder(&node) || !ProjectLine(node, line)) return;
        if (ValueAfter(line, kShortcutKey, rest))
            script.AddLine("[SHORTCUTS]", "s," + rest);
        else if (ValueAfter(line, kInternetKey, rest))
            script.AddLine("[SHORTCUTS]", "i," + rest);
    });
    return true;
}
