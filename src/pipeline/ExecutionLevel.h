#pragma once
// The rights that a produced program asks for when it starts: the requestedExecutionLevel of its
// manifest. The installer programs are built asking for administrator rights; a project that
// installs for the current user, or lets the user choose, gets copies that start without them.
#include <string>

// `manifest` with the level attribute of its requestedExecutionLevel element set to `level`;
// false when it has no such element.
bool ManifestWithLevel(const std::string& manifest, const std::string& level, std::string& out);

// Sets the level in every manifest resource of the executable at `path`; false, the file
// unchanged, when it has no manifest with that element or cannot take new resources.
bool SetExecutionLevel(const std::string& path, const std::string& level);

// The level that the executable at `path` asks for; empty when it names none or cannot be read.
std::string ExecutionLevelOf(const std::string& path);
