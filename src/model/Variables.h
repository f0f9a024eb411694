#pragma once
// Folder and key variables: the tokens that the installer resolves on the target computer.
// The builder only stores, shows and copies them.
#include <string>

// The token of the top node of every destination tree.
extern const char kDestComp[];

// The fixed display name of a variable token ("%AppDir%" shows as "Application"); any other
// name, including a token in other letter case, comes back unchanged.
std::string VariableDisplayName(const std::string& name);

// How many variables have a display name, and the place of `name` among them (in the order of
// the builder's translated names), or -1 for any other name.
constexpr int kDisplayedVariableCount = 17;
int VariableIndex(const std::string& name);
