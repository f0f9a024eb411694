#pragma once
// The small package that most end-to-end tests vary: two files in the application folder, one
// registry value and one shortcut.
#include <string>
#include <vector>

#include "E2ESupport.h"

// `extraFiles`: more [APPLICATION_FILES] lines; `requirements`: the [SYSTEM_REQUIREMENTS] lines.
inline std::string SmallScript(const std::string& name, const std::string& extraFiles = std::string(),
                               const std::string& requirements = "AnyWindows=Yes\nAbortInstallation=Yes\n") {
    return Replace(R"([SETUP_INFO]
DefaultInstallationPath=C:\QsE2E Small\@
DefaultShortcutFolderName=@
EnableUninstaller=Yes
RequiredDiskSpace=10

[GENERAL_INFO]
ProductName=@

[APPLICATION_FILES]
,uninstall.exe,%AppDir%\uninstall.exe,1,0
,AppDir\a.txt,%AppDir%\a.txt,1,0
)" + extraFiles + R"(
[REGISTRY_ENTRIES]
key,HKLM,Software\QsE2E\@
value,HKLM,Software\QsE2E\@,Kept,s,new
value,HKLM,Software\QsE2E\@,Added,d,0x00000001

[SHORTCUTS]
s,%Desktop%\@,%AppDir%\a.txt,,,,1,%AppDir%

[SYSTEM_REQUIREMENTS]
)" + requirements, "@", name);
}

inline std::vector<TestEntry> SmallEntries() {
    return {{"uninstall.exe", ReadBytes(QS_UNINSTALL_EXE)}, {"AppDir\\a.txt", "new a"}, {"AppDir\\b.txt", "new b"}};
}
