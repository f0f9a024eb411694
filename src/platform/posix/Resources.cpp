#include "platform/Resources.h"

namespace platform {

// Generated at build time from the first image of resources/Quillset.ico.
static const unsigned char kIconImage[] = {
#include "OwnIconImage.inc"
};

std::string OwnIconImage() { return std::string(reinterpret_cast<const char*>(kIconImage), sizeof kIconImage); }

}  // namespace platform
