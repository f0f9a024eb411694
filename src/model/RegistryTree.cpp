#include "model/RegistryTree.h"

#include <cstdio>

#include "profile/ScriptBuilder.h"
#include "core/Text.h"
#include "profile/ProfileText.h"
#include "profile/LineSink.h"

static const std::string kKeyKey = "KEY=";
static const std::string kStringKey = "STRING=";
static const std::string kBinaryKey = "BINARY=";
static const std::string kNumberKey = "DWORD=";
// Types that older projects lack.
static const std::string kExpandStringKey = "EXPANDSTRING=";
static const std::string kMultiStringKey = "MULTISTRING=";

static const std::initializer_list<PathRule> kShortenRules = {
    {"%DestComp%\\%HKEY_CLASSES_ROOT%", "%DestComp%\\"},
    {"%DestComp%\\%HKEY_CURRENT_USER%", "%DestComp%\\"},
    {"%DestComp%\\%HKEY_LOCAL_MACHINE%", "%DestComp%\\"},
    {"%DestComp%\\%HKEY_USERS%", "%DestComp%\\"},
};
static const std::initializer_list<PathRule> kExpandRules = {
    {"%HKEY_CLASSES_ROOT%", "%DestComp%\\"},
    {"%HKEY_CURRENT_USER%", "%DestComp%\\"},
    {"%HKEY_LOCAL_MACHINE%", "%DestComp%\\"},
    {"%HKEY_USERS%", "%DestComp%\\"},
};
// The hive variables as setup.ini abbreviates them.
static const std::initializer_list<PathRule> kHives = {
    {"%HKEY_CLASSES_ROOT%", "HKCR"},
    {"%HKEY_CURRENT_USER%", "HKCU"},
    {"%HKEY_LOCAL_MACHINE%", "HKLM"},
    {"%HKEY_USERS%", "HKU"},
};

void RegistryTree::Reset() {
    CreateFixed({"%DestComp%", "%DestComp%\\%HKEY_CLASSES_ROOT%", "%DestComp%\\%HKEY_CURRENT_USER%",
                 "%DestComp%\\%HKEY_LOCAL_MACHINE%", "%DestComp%\\%HKEY_USERS%"});
}

std::unique_ptr<RegistryValueItem> RegistryTree::MakeString(const std::string& data) {
    if (!IsValidText(data, true)) return nullptr;
    std::unique_ptr<RegistryValueItem> item(new RegistryValueItem(RegistryValueItem::kString));
    item->string_ = CutText(data);
    return item;
}

std::unique_ptr<RegistryValueItem> RegistryTree::MakeBinary(const Bytes& data) {
    std::unique_ptr<RegistryValueItem> item(new RegistryValueItem(RegistryValueItem::kBinary));
    item->bytes_ = data;
    return item;
}

std::unique_ptr<RegistryValueItem> RegistryTree::MakeNumber(std::uint32_t data) {
    std::unique_ptr<RegistryValueItem> item(new RegistryValueItem(RegistryValueItem::kNumber));
    item->number_ = data;
    return item;
}

std::unique_ptr<RegistryValueItem> RegistryTree::MakeStrings(const std::vector<std::string>& strings) {
    std::unique_ptr<RegistryValueItem> item(new RegistryValueItem(RegistryValueItem::kMultiString));
    for (const std::string& text : strings) {
        if (!IsValidText(text, true)) return nullptr;
        if (!text.empty()) item->strings_.push_back(CutText(text));
    }
    return item;
}

std::unique_ptr<RegistryValueItem> RegistryTree::MakeText(RegistryValueItem::Type type, const std::string& text) {
    if (type == RegistryValueItem::kMultiString) {
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end > start && text[end - 1] == '\r' ? end - 1 - start : end - start));
        lines.push_back(text.substr(start));
        return MakeStrings(lines);
    }
    if (type != RegistryValueItem::kString && type != RegistryValueItem::kExpandString) return nullptr;
    std::unique_ptr<RegistryValueItem> item = MakeString(text);
    if (item) item->type_ = type;
    return item;
}

TreeNode* RegistryTree::AddKey(const std::string& path, bool markModified) {
    return AddUserContainer(path, markModified);
}

TreeNode* RegistryTree::AddValueAtPath(const std::string& path, std::unique_ptr<RegistryValueItem> item,
                                       bool markModified) {
    if (!item) return nullptr;
    bool chainCreated = false;
    TreeNode* node = AddAtPath(path, std::move(item), chainCreated);
    if (node) SetModified(markModified);
    return node;
}

TreeNode* RegistryTree::AddStringValue(const std::string& path, const std::string& data, bool markModified) {
    return AddValueAtPath(path, MakeString(data), markModified);
}

TreeNode* RegistryTree::AddBinaryValue(const std::string& path, const Bytes& data, bool markModified) {
    return AddValueAtPath(path, MakeBinary(data), markModified);
}

TreeNode* RegistryTree::AddNumberValue(const std::string& path, std::uint32_t data, bool markModified) {
    return AddValueAtPath(path, MakeNumber(data), markModified);
}

TreeNode* RegistryTree::AddTextValue(const std::string& path, RegistryValueItem::Type type, const std::string& text,
                                     bool markModified) {
    return AddValueAtPath(path, MakeText(type, text), markModified);
}

TreeNode* RegistryTree::AddKey(TreeNode* parent, const std::string& name, bool markModified) {
    if (IsTopNode(parent)) return nullptr;
    return AddUserContainer(parent, name, markModified);
}

std::vector<TreeNode*> RegistryTree::AddKeyChain(TreeNode* parent, const std::string& path, bool markModified) {
    std::vector<TreeNode*> made;
    size_t start = 0;
    for (TreeNode* key = parent; key;) {
        const size_t end = path.find('\\', start);
        const std::string name = path.substr(start, end == std::string::npos ? end : end - start);
        TreeNode* existing = FindChild(key, name, true);
        key = existing ? existing : AddKey(key, name, markModified);
        if (key && !existing) made.push_back(key);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return made;
}

TreeNode* RegistryTree::AddValueUnder(TreeNode* parent, const std::string& name,
                                      std::unique_ptr<RegistryValueItem> item, bool markModified) {
    if (!item || IsTopNode(parent)) return nullptr;
    TreeNode* node = AddChild(parent, name, std::move(item));
    if (node) SetModified(markModified);
    return node;
}

TreeNode* RegistryTree::AddStringValue(TreeNode* parent, const std::string& name, const std::string& data,
                                       bool markModified) {
    return AddValueUnder(parent, name, MakeString(data), markModified);
}

TreeNode* RegistryTree::AddBinaryValue(TreeNode* parent, const std::string& name, const Bytes& data,
                                       bool markModified) {
    return AddValueUnder(parent, name, MakeBinary(data), markModified);
}

TreeNode* RegistryTree::AddNumberValue(TreeNode* parent, const std::string& name, std::uint32_t data,
                                       bool markModified) {
    return AddValueUnder(parent, name, MakeNumber(data), markModified);
}

TreeNode* RegistryTree::AddTextValue(TreeNode* parent, const std::string& name, RegistryValueItem::Type type,
                                     const std::string& text, bool markModified) {
    return AddValueUnder(parent, name, MakeText(type, text), markModified);
}

const RegistryValueItem* RegistryTree::ValueOf(const TreeNode* node) {
    return node ? dynamic_cast<const RegistryValueItem*>(&node->Item()) : nullptr;
}

bool RegistryTree::IsOfType(const TreeNode* node, RegistryValueItem::Type type) {
    const RegistryValueItem* value = ValueOf(node);
    return value && value->ValueType() == type;
}

bool RegistryTree::IsTextValue(const TreeNode* node) {
    const RegistryValueItem* value = ValueOf(node);
    return value && RegistryValueItem::IsTextType(value->ValueType());
}

std::string RegistryTree::TextOf(const TreeNode* node) {
    if (!IsTextValue(node)) return std::string();
    const RegistryValueItem* value = ValueOf(node);
    if (value->ValueType() != RegistryValueItem::kMultiString) return value->StringData();
    std::string text;
    for (const std::string& line : value->Strings()) text += line + "\r\n";
    return text;
}

RegistryValueItem* RegistryTree::MutableValueOf(TreeNode* node, RegistryValueItem::Type type) {
    return IsOfType(node, type) ? static_cast<RegistryValueItem*>(&ItemOf(node)) : nullptr;
}

std::string RegistryTree::ShortPath(const TreeNode* node) { return Shorten(PathOf(node), kShortenRules); }

bool RegistryTree::SetName(TreeNode* node, const std::string& name, bool markModified) {
    if (!Rename(node, name)) return false;
    SetModified(markModified);
    return true;
}

bool RegistryTree::SetStringData(TreeNode* node, const std::string& data, bool markModified) {
    RegistryValueItem* value = MutableValueOf(node, RegistryValueItem::kString);
    if (!value || !IsValidText(data, true)) return false;
    value->string_ = CutText(data);
    SetModified(markModified);
    return true;
}

bool RegistryTree::SetBinaryData(TreeNode* node, const Bytes& data, bool markModified) {
    RegistryValueItem* value = MutableValueOf(node, RegistryValueItem::kBinary);
    if (!value) return false;
    value->bytes_ = data;
    SetModified(markModified);
    return true;
}

bool RegistryTree::SetNumberData(TreeNode* node, std::uint32_t data, bool markModified) {
    RegistryValueItem* value = MutableValueOf(node, RegistryValueItem::kNumber);
    if (!value) return false;
    value->number_ = data;
    SetModified(markModified);
    return true;
}

bool RegistryTree::SetTextValue(TreeNode* node, RegistryValueItem::Type type, const std::string& text,
                                bool markModified) {
    if (!IsTextValue(node)) return false;
    std::unique_ptr<RegistryValueItem> made = MakeText(type, text);
    if (!made) return false;
    RegistryValueItem& value = static_cast<RegistryValueItem&>(ItemOf(node));
    value.type_ = made->type_;
    value.string_ = std::move(made->string_);
    value.strings_ = std::move(made->strings_);
    SetModified(markModified);
    return true;
}

std::string RegistryTree::BinaryAsText(const Bytes& data) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(data.size() * 3);
    for (unsigned char byte : data) {
        if (!text.empty()) text += ' ';
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

bool RegistryTree::BinaryAsText(const TreeNode* node, std::string& text) const {
    text.clear();
    if (!IsBinaryValue(node)) return false;
    text = BinaryAsText(ValueOf(node)->BinaryData());
    return true;
}

Bytes RegistryTree::BinaryFromText(const std::string& text) {
    static const char kSeparators[] = " \t\r\n";
    Bytes bytes;
    for (size_t start = text.find_first_not_of(kSeparators); start != std::string::npos;) {
        size_t end = text.find_first_of(kSeparators, start);
        std::string token = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        bytes.push_back(static_cast<unsigned char>(ReadLeadingHex(token) & 0xFF));
        start = text.find_first_not_of(kSeparators, end);
    }
    return bytes;
}

static std::string NumberText(std::uint32_t number) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(number));
    return buffer;
}

bool RegistryTree::ProjectLine(const TreeNode& node, std::string& line) const {
    if (IsFixed(&node)) return false;
    const RegistryValueItem* value = ValueOf(&node);
    if (!value) {
        line = kKeyKey + ShortPath(&node);
        return true;
    }
    switch (value->ValueType()) {
        case RegistryValueItem::kString:
            line = kStringKey + ShortPath(&node) + "," + value->StringData();
            break;
        case RegistryValueItem::kBinary:
            line = kBinaryKey + ShortPath(&node) + "," + BinaryAsText(value->BinaryData());
            break;
        case RegistryValueItem::kNumber:
            line = kNumberKey + ShortPath(&node) + "," + NumberText(value->NumberData());
            break;
        case RegistryValueItem::kExpandString:
            line = kExpandStringKey + ShortPath(&node) + "," + value->StringData();
            break;
        case RegistryValueItem::kMultiString:
            line = kMultiStringKey + ShortPath(&node) + "," + QuotedList(value->Strings());
            break;
    }
    return true;
}

// The path runs to the first ","; the data is everything after it.
void RegistryTree::LoadValueLine(const std::string& prefix, const std::string& rest) {
    size_t comma = rest.find(',');
    if (comma == std::string::npos) return;
    std::string path = Expand(rest.substr(0, comma), kExpandRules);
    std::string data = rest.substr(comma + 1);
    std::vector<std::string> strings;
    if (prefix == kStringKey)
        AddStringValue(path, data, true);
    else if (prefix == kBinaryKey)
        AddBinaryValue(path, BinaryFromText(data), true);
    else if (prefix == kExpandStringKey)
        AddTextValue(path, RegistryValueItem::kExpandString, data, true);
    else if (prefix == kMultiStringKey)
        AddValueAtPath(path, ReadQuotedList(data, strings) ? MakeStrings(strings) : nullptr, true);
    else
        AddNumberValue(path, ReadLeadingHex(data), true);
}

void RegistryTree::Load(const ProfileText& project) {
    std::string rest;
    ForEachLine(project, "REGISTRY_ENTRIES", [&](const std::string& line) {
        if (ValueAfter(line, kKeyKey, rest)) {
            AddKey(Expand(rest, kExpandRules), true);
            return;
        }
        for (const std::string* prefix : {&kStringKey, &kBinaryKey, &kNumberKey, &kExpandStringKey, &kMultiStringKey}) {
            if (ValueAfter(line, *prefix, rest)) {
                LoadValueLine(*prefix, rest);
                return;
            }
        }
    });
}

bool RegistryTree::Save(LineSink& out) const { return SaveSection(out, "[REGISTRY_ENTRIES]"); }

// "key,HKLM,Software\Example" or "value,HKLM,Software\Example,Path,s,C:\Tools": the hive
// variable becomes its abbreviation; a path under no hive keeps an empty one and no key part.
std::string RegistryTree::ScriptLine(const TreeNode& node) const {
    std::string path = ShortPath(&node);
    std::string hive, keyPath;
    for (const PathRule& rule : kHives) {
        if (!StartsWith(path, rule.prefix)) continue;
        hive = rule.change;
        size_t rest = std::string(rule.prefix).size();
        keyPath = path.substr(rest < path.size() && path[rest] == '\\' ? rest + 1 : rest);
        break;
    }
    const RegistryValueItem* value = ValueOf(&node);
    if (!value) return "key," + hive + "," + keyPath;
    std::string parentPart = keyPath.empty() ? keyPath : keyPath.substr(0, keyPath.size() - node.Name().size());
    if (!parentPart.empty()) parentPart.pop_back();  // the "\" before the value name
    static const char* const kTypes[] = {",s,", ",b,", ",d,", ",e,", ",m,"};
    std::string line;
    ProjectLine(node, line);
    return "value," + hive + "," + parentPart + "," + node.Name() + kTypes[value->ValueType()] +
           line.substr(line.find(',') + 1);
}

void RegistryTree::Export(ScriptBuilder& script) const {
    Walk([&](const TreeNode& node) {
        if (!IsFixed(&node)) script.AddLine("[REGISTRY_ENTRIES]", ScriptLine(node));
    });
}
