#pragma once
// Puts a user's icon into a prebuilt executable without any resource-editing service: the one
// 32x32 16-colour image that the executable shares byte for byte with the builder's own icon
// (its icon resource 1) is overwritten in place. The file never changes its length.
#include <string>

// The number of image bytes compared and written: a 32x32 4-bit icon image (40-byte header,
// 64-byte palette, 512 bytes of colour and 128 of mask).
constexpr std::size_t kIconImageSize = 744;

// True when the first 32x32 16-colour image of the icon file was written over the first copy of
// the builder's own image in the target; false, the target untouched, in every other case.
bool ReplaceIcon(const std::string& targetPath, const std::string& iconPath);
// The same with the image to look for given (its first 744 bytes are used).
bool ReplaceIcon(const std::string& targetPath, const std::string& iconPath, const std::string& referenceImage);
