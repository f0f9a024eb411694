#pragma once
// Puts a user's icon file into an executable: its first icon group (the one the system shows for
// the file) is replaced by one that holds every image of the icon file, whatever their number,
// sizes and depths (PNG-compressed images included), and the images that group used are removed.
#include <string>
#include <vector>

// One image of an icon file: its 12 bytes of description as both the icon file and the icon
// group give them (width, height, colour count, reserved, planes, bit count, byte count), and
// its bytes.
struct IconFileImage {
    std::string description;
    std::string bytes;
};

// The images of an icon file; false when the file cannot be read, is not an icon file, holds no
// image, or an image lies outside the file.
bool ReadIconFile(const std::string& iconPath, std::vector<IconFileImage>& images);

// True when the icon file's images became the target's icon; false, with the target unchanged,
// when the icon file cannot be read or the target cannot take new resources.
bool ReplaceIcon(const std::string& targetPath, const std::string& iconPath);
