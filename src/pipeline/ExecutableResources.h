#pragma once
// Reading and replacing the resources of an executable file without any service of the
// operating system, so that the builder does the same, byte for byte, on every system.
//
// The new resource section takes the place of the old one. The installer programs are linked
// with their resources last but for the base relocations; those move behind the new section
// (nothing refers to their own address but their directory entry). An executable without
// resources gets a new last section. Files with anything behind their sections (symbols, a
// signature, appended data) are refused: that data would be lost or no longer match.
#include <functional>
#include <string>

#include "pipeline/ResourceTree.h"

// The resources of an executable's bytes; false when they are not an executable or its
// resources cannot be read. An executable without resources gives an empty tree.
bool ReadResources(const std::string& file, ResourceTree& tree);

// Reads the executable at `path`, lets `edit` change its resources and writes the file back with
// them; the header's checksum field is left zero. False, the file unchanged, when it cannot be
// read, is not an executable that can take new resources, or `edit` says false; false also when
// writing it fails, which leaves it damaged (the build edits working copies only).
bool EditResources(const std::string& path, const std::function<bool(ResourceTree&)>& edit);
