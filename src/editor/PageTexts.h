#pragma once
// The numbered texts of the messages that the list pages and their dialogs show.

inline constexpr int kPleaseEnterName = 51;
inline constexpr int kPleaseEnterValueName = 52;
inline constexpr int kFolderNameCharacters = 55;
inline constexpr int kPleaseEnterShortcutName = 56;
inline constexpr int kPleaseEnterUrl = 57;
inline constexpr int kFileTypeComma = 58;
// "%1" is the name.
inline constexpr int kNameTaken = 900;
inline constexpr int kNameForbiddenCharacter = 901;
inline constexpr int kNameTooLong = 902;
// "%1" is the token that is not a byte.
inline constexpr int kNotAByte = 903;
// "%1" lists the files, one a line.
inline constexpr int kFilesNotAdded = 904;
inline constexpr int kSelectionTooLarge = 905;
inline constexpr int kShortcutTexts = 906;
inline constexpr int kFileTypeExists = 907;
