#include "package/RegistryData.h"

#include "core/Text.h"

Hive HiveNamed(const std::string& name) {
    struct Name {
        const char* shortName;
        const char* longName;
        Hive hive;
    };
    static const Name kNames[] = {
        {"HKCR", "HKEY_CLASSES_ROOT", Hive::ClassesRoot},
        {"HKCU", "HKEY_CURRENT_USER", Hive::CurrentUser},
        {"HKLM", "HKEY_LOCAL_MACHINE", Hive::LocalMachine},
        {"HKU", "HKEY_USERS", Hive::Users},
    };
    for (const Name& n : kNames)
        if (EqualNoCase(name, n.shortName) || EqualNoCase(name, n.longName)) return n.hive;
    return Hive::None;
}

std::string StringData(const std::string& text) { return text + '\0'; }

std::string MultiStringData(const std::vector<std::string>& strings) {
    std::string data;
    for (const std::string& text : strings) data += StringData(text);
    return data + '\0';
}

std::string DwordData(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}
