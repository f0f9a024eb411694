#pragma once
// The installer programs' registry: the hives by their setup.ini names, and the access rights
// with which they open keys. Every key is opened in the 64-bit view, the one that 64-bit
// programs on the target computer read.
#include <windows.h>

#include <string>

#include "package/RegistryData.h"
#include "platform/win32/RegistryKey.h"

constexpr REGSAM kReadAccess = KEY_READ | KEY_WOW64_64KEY;
constexpr REGSAM kWriteAccess = KEY_READ | KEY_WRITE | KEY_WOW64_64KEY;

// The hive's predefined key; nullptr for Hive::None.
HKEY HiveKey(Hive hive);
// The predefined key of a hive that setup.ini names (see HiveNamed); nullptr for anything else.
inline HKEY HiveFromName(const std::string& name) { return HiveKey(HiveNamed(name)); }
