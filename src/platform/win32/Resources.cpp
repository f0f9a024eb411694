#include "platform/Resources.h"

#include <windows.h>

namespace platform {

std::string OwnIconImage() {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), RT_ICON);
    if (!found) return std::string();
    HGLOBAL loaded = LoadResource(nullptr, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return std::string();
    return std::string(static_cast<const char*>(bytes), SizeofResource(nullptr, found));
}

}  // namespace platform
