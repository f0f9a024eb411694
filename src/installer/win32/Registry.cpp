#include "installer/win32/Registry.h"

HKEY HiveKey(Hive hive) {
    switch (hive) {
        case Hive::ClassesRoot: return HKEY_CLASSES_ROOT;
        case Hive::CurrentUser: return HKEY_CURRENT_USER;
        case Hive::LocalMachine: return HKEY_LOCAL_MACHINE;
        case Hive::Users: return HKEY_USERS;
        case Hive::None: break;
    }
    return nullptr;
}
