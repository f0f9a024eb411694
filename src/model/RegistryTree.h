#pragma once
// [REGISTRY_ENTRIES]: the registry keys and values that the installer creates, below the four
// hive variables of the destination computer. Exported as [REGISTRY_ENTRIES] of setup.ini.
#include <cstdint>
#include <string>
#include <vector>

#include "model/DestinationTree.h"

class LineSink;
class ProfileText;
class ScriptBuilder;

using Bytes = std::vector<unsigned char>;

class RegistryValueItem : public TreeItem {
public:
    // The type codes of the file forms. An expandable string is kept as typed and expanded by
    // Windows when a program reads it; a multi-string is a list of strings.
    enum Type { kString = 0, kBinary = 1, kNumber = 2, kExpandString = 3, kMultiString = 4 };
    // The types whose data the value dialog takes as text: a string, an expandable string, a
    // multi-string (one string per line).
    static bool IsTextType(Type type) { return type == kString || type == kExpandString || type == kMultiString; }

    Type ValueType() const { return type_; }
    // The string of a string or expandable string.
    const std::string& StringData() const { return string_; }
    // The strings of a multi-string.
    const std::vector<std::string>& Strings() const { return strings_; }
    const Bytes& BinaryData() const { return bytes_; }
    std::uint32_t NumberData() const { return number_; }

private:
    friend class RegistryTree;
    explicit RegistryValueItem(Type type) : type_(type) {}
    Type type_;
    std::string string_;
    std::vector<std::string> strings_;
    Bytes bytes_;
    std::uint32_t number_ = 0;
};

class RegistryTree : public DestinationTree {
public:
    // A key and a value under one key may share a name; two keys or two values may not.
    RegistryTree() : DestinationTree(SiblingNames::PerKind) {}

    // The top node and the fixed keys %HKEY_CLASSES_ROOT%, %HKEY_CURRENT_USER%,
    // %HKEY_LOCAL_MACHINE%, %HKEY_USERS%. Does not mark the document modified.
    void Reset();
    void Clear() { RemoveAll(); }

    // By full path, as loading uses them. A missing chain of keys is created. AddKey fails when
    // the key exists; the value adds when a value of that name exists under the key or the path
    // has no key part. String data holding a line end is refused, longer data cut at kMaxText.
    TreeNode* AddKey(const std::string& path, bool markModified);
    TreeNode* AddStringValue(const std::string& path, const std::string& data, bool markModified);
    TreeNode* AddBinaryValue(const std::string& path, const Bytes& data, bool markModified);
    TreeNode* AddNumberValue(const std::string& path, std::uint32_t data, bool markModified);
    // A string, expandable string or multi-string from its text as the value dialog shows it: a
    // multi-string's strings one per line (CR LF or LF), empty lines dropped as Windows keeps no
    // empty string in the list. Refused when a string or expandable string holds a line end.
    TreeNode* AddTextValue(const std::string& path, RegistryValueItem::Type type, const std::string& text,
                           bool markModified);
    // Under a key, as the editor uses them; never under the top node itself.
    TreeNode* AddKey(TreeNode* parent, const std::string& name, bool markModified);
    // The keys of a chain of names joined by "\" below `parent`, each made where it is missing;
    // the keys made, from the top down (empty when the whole chain exists or cannot be made).
    std::vector<TreeNode*> AddKeyChain(TreeNode* parent, const std::string& path, bool markModified);
    TreeNode* AddStringValue(TreeNode* parent, const std::string& name, const std::string& data, bool markModified);
    TreeNode* AddBinaryValue(TreeNode* parent, const std::string& name, const Bytes& data, bool markModified);
    TreeNode* AddNumberValue(TreeNode* parent, const std::string& name, std::uint32_t data, bool markModified);
    TreeNode* AddTextValue(TreeNode* parent, const std::string& name, RegistryValueItem::Type type,
                           const std::string& text, bool markModified);

    // The value at a full path "key path\value name"; null when there is none.
    TreeNode* FindValue(const std::string& path) const { return FindLeaf(path); }

    static bool IsKey(const TreeNode* node) { return IsContainer(node); }
    // The opposite of IsFixed: user keys and every value.
    static bool IsUserItem(const TreeNode* node) { return node && !IsFixed(node); }
    // The value's item; null for a key.
    static const RegistryValueItem* ValueOf(const TreeNode* node);
    static bool IsStringValue(const TreeNode* node) { return IsOfType(node, RegistryValueItem::kString); }
    static bool IsBinaryValue(const TreeNode* node) { return IsOfType(node, RegistryValueItem::kBinary); }
    static bool IsNumberValue(const TreeNode* node) { return IsOfType(node, RegistryValueItem::kNumber); }
    // A string, expandable string or multi-string.
    static bool IsTextValue(const TreeNode* node);
    // The text of such a value as the value dialog shows it (a multi-string's strings on lines
    // ended by CR LF); empty for any other node.
    static std::string TextOf(const TreeNode* node);
    // The path as both file forms write it, beginning with the hive variable.
    static std::string ShortPath(const TreeNode* node);

    // Each setter returns false, changing nothing, on a key or a value of another type.
    bool SetName(TreeNode* node, const std::string& name, bool markModified);
    bool SetStringData(TreeNode* node, const std::string& data, bool markModified);
    bool SetBinaryData(TreeNode* node, const Bytes& data, bool markModified);
    bool SetNumberData(TreeNode* node, std::uint32_t data, bool markModified);
    // A text value takes another text and may become another of the text types.
    bool SetTextValue(TreeNode* node, RegistryValueItem::Type type, const std::string& text, bool markModified);

    // Each byte as two capital hexadecimal digits, separated by single blanks ("01 A0 FF").
    static std::string BinaryAsText(const Bytes& data);
    bool BinaryAsText(const TreeNode* node, std::string& text) const;
    // Hexadecimal tokens between blanks, tabs and line ends, "0x" allowed; each gives its low
    // eight bits as one byte.
    static Bytes BinaryFromText(const std::string& text);

    void Load(const ProfileText& project);
    bool Save(LineSink& out) const;
    void Export(ScriptBuilder& script) const;

    // "KEY=" + short path, or "STRING=", "BINARY=", "DWORD=", "EXPANDSTRING=", "MULTISTRING=" +
    // short path, "," and the data (a multi-string's as a quoted list).
    bool ProjectLine(const TreeNode& node, std::string& line) const override;

private:
    static bool IsOfType(const TreeNode* node, RegistryValueItem::Type type);
    static RegistryValueItem* MutableValueOf(TreeNode* node, RegistryValueItem::Type type);
    TreeNode* AddValueAtPath(const std::string& path, std::unique_ptr<RegistryValueItem> item, bool markModified);
    TreeNode* AddValueUnder(TreeNode* parent, const std::string& name, std::unique_ptr<RegistryValueItem> item,
                            bool markModified);
    static std::unique_ptr<RegistryValueItem> MakeString(const std::string& data);
    static std::unique_ptr<RegistryValueItem> MakeBinary(const Bytes& data);
    static std::unique_ptr<RegistryValueItem> MakeNumber(std::uint32_t data);
    static std::unique_ptr<RegistryValueItem> MakeText(RegistryValueItem::Type type, const std::string& text);
    static std::unique_ptr<RegistryValueItem> MakeStrings(const std::vector<std::string>& strings);
    void LoadValueLine(const std::string& prefix, const std::string& rest);
    std::string ScriptLine(const TreeNode& node) const;
};
