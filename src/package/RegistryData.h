#pragma once
// Registry entries as the installer plans them, before any registry is touched: the hives that
// setup.ini names, the value types (numbered as the registry numbers them) and value data as
// the registry stores it.
#include <cstdint>
#include <string>
#include <vector>

#include "scope/InstallScope.h"

enum class Hive { None, ClassesRoot, CurrentUser, LocalMachine, Users };

// HKCR, HKCU, HKLM, HKU or the full hive names, in any case; Hive::None for anything else.
Hive HiveNamed(const std::string& name);

enum RegistryType : std::uint32_t {
    kRegNone = 0,
    kRegString = 1,
    kRegExpandString = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegMultiString = 7
};

// A registry string as stored: the text and its terminating zero.
std::string StringData(const std::string& text);
// A multi-string as stored: each string with its terminating zero, and one zero more.
std::string MultiStringData(const std::vector<std::string>& strings);
// A number as stored: four bytes, the lowest first.
std::string DwordData(std::uint32_t value);
