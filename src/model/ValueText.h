#pragma once
// The texts in which the editor shows and reads the data of registry values and the names of
// new tree entries, kept apart from the windows so that they can be checked on their own.
#include <cstdint>
#include <string>

#include "model/RegistryTree.h"

// A number value as "0x%08X" and as "%lu".
std::string NumberAsHexText(std::uint32_t number);
std::string NumberAsDecimalText(std::uint32_t number);
// The number at the start of `text` in base 16 or 10: leading blanks skipped, "0x" allowed in
// base 16, reading stops at the first character that is not a digit of the base, no digits
// give 0, a number above 4294967295 gives 4294967295.
std::uint32_t ReadUnsignedText(const std::string& text, int base);

// The bytes of a binary value's text: tokens between blanks, tabs and line ends, each one or
// two hexadecimal digits ("0x" allowed in front). A token that is anything else is not cut
// down to a byte: the answer is false and `badToken` names it.
bool ReadBinaryText(const std::string& text, Bytes& bytes, std::string& badToken);

// What the registry page's data column shows for a value: a string (of any kind) in double
// quotes, a multi-string's strings each so, a number as "0x%08X", bytes as "%02X" separated by
// blanks or a note that there are none.
std::string ValueDataText(const TreeNode* value);

// Why a name cannot be given to a new child of `parent` in `tree`, or kNameFits.
enum class NameCheck {
    kNameFits,
    kEmpty,
    kForbiddenCharacter,  // a "\", a "," or a line end: the project file could not keep it
    kTaken,               // a sibling of the same kind has it, in any letter case
    kTooLong,             // the entry's full path would pass DestinationTree::kMaxPath
};
NameCheck CheckNewName(const DestinationTree& tree, const TreeNode* parent, const std::string& name,
                       bool container);
// A new key below `parent` given as a chain of names joined by "\" ("Software\Tools\Notes"):
// every name as CheckNewName sees a key's, except that keys of the chain that exist already are
// taken as they are; only a chain that exists to its end is taken.
NameCheck CheckNewKeyPath(const RegistryTree& tree, const TreeNode* parent, const std::string& path);
