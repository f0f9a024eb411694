#pragma once
// The messages that the list pages and their dialogs show.
#include "lang/TextKeys.h"

inline constexpr TextKey kPleaseEnterName = TextKeys::kFormMessages.Key(51);
inline constexpr TextKey kPleaseEnterValueName = TextKeys::kFormMessages.Key(52);
inline constexpr TextKey kFolderNameCharacters = TextKeys::kFormMessages.Key(55);
inline constexpr TextKey kPleaseEnterShortcutName = TextKeys::kFormMessages.Key(56);
inline constexpr TextKey kPleaseEnterUrl = TextKeys::kFormMessages.Key(57);
inline constexpr TextKey kFileTypeComma = TextKeys::kFormMessages.Key(58);
// "%1" is the name.
inline constexpr TextKey kNameTaken = TextKeys::kPageMessages.Key(900);
inline constexpr TextKey kNameForbiddenCharacter = TextKeys::kPageMessages.Key(901);
inline constexpr TextKey kNameTooLong = TextKeys::kPageMessages.Key(902);
// "%1" is the token that is not a byte.
inline constexpr TextKey kNotAByte = TextKeys::kPageMessages.Key(903);
// "%1" lists the files, one a line.
inline constexpr TextKey kFilesNotAdded = TextKeys::kPageMessages.Key(904);
inline constexpr TextKey kSelectionTooLarge = TextKeys::kPageMessages.Key(905);
inline constexpr TextKey kShortcutTexts = TextKeys::kPageMessages.Key(906);
inline constexpr TextKey kFileTypeExists = TextKeys::kPageMessages.Key(907);
// "%1" is the path chosen.
inline constexpr TextKey kSourcePathRefused = TextKeys::kPageMessages.Key(912);
