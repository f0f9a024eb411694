#pragma once
// Starting what the finish screen offers (the installed program, its readme) as the desktop user
// would start it, never with the rights that the installer was given.
#include <string>

// Opens `path` (a program, or a document with its program) in `folder`. An installer without
// raised rights opens it itself; a raised one starts it with a token lowered to an ordinary
// user's, or else hands it to the desktop's shell, which runs with the user's ordinary rights.
// A system that derives no ordinary user's token keeps no rights apart, and the installer opens
// it itself. False when it cannot be started without raised rights. COM must be initialised.
bool OpenAsDesktopUser(const std::string& path, const std::string& folder);
