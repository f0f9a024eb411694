#pragma once
// Resources the running program carries.
#include <string>

namespace platform {

// The bytes of the program's own icon image 1: the 32x32 16-colour image of the application
// icon. On Windows the icon resource with id 1; elsewhere the same image, compiled in from
// resources/Quillset.ico. Empty when the program has none.
std::string OwnIconImage();

}  // namespace platform
