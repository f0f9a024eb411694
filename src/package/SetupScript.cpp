#include "package/SetupScript.h"

#include <cstdlib>

#include "core/Text.h"

std::vector<std::string> SplitFields(const std::string& line, size_t count) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (fields.size() + 1 < count) {
        size_t comma = line.find(',', start);
        if (comma == std::string::npos) break;
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

namespace {

// A line split at the wrong commas: one of the item's names or values holds a ",".
Refusal BadLine(const char* section, const char* kind, const std::string& line) {
    return {section, std::string(), kBadLine + std::string(kind) + " line: " + line,
            "Remove any \",\" from the item's names and values", kExitDamaged};
}

bool ReadInt(const std::string& text, int& value) {
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    value = static_cast<int>(v);
    return end != text.c_str();
}

void ReadSetupInfo(const ProfileText& script, SetupScript& s) {
    ForEachLine(script, "SETUP_INFO", [&](const std::string& line) {
        std::string v;
        if (ValueAfter(line, "DefaultInstallationPath=", v)) s.installationPath = v;
        else if (ValueAfter(line, "DefaultShortcutFolderName=", v)) s.shortcutFolderName = v;
        else if (ValueAfter(line, "EnableUninstaller=", v)) s.enableUninstaller = ReadYesNo(v);
        else if (ValueAfter(line, "AddRemoveProgramsDescription=", v)) s.removeDescription = v;
        else if (ValueAfter(line, "DefaultSetupLanguage=", v)) s.defaultLanguage = v;
        else if (ValueAfter(line, "RequiredDiskSpace=", v)) s.requiredDiskSpace = v;
        else if (ValueAfter(line, kInstallScopeKey, v) && !ReadScopeChoice(v, s.scopeChoice))
            s.problems.push_back({"Setup Info", "InstallScope", "setup.ini names the unknown install scope " + v,
                                  "Build the setup again", kExitDamaged});
        else if (ValueAfter(line, "SetupLanguages=", v)) {
            s.languages.clear();
            for (const std::string& name : SplitFields(v, std::string::npos))
                if (!name.empty()) s.languages.push_back(name);
        }
    });
}

void ReadGeneralInfo(const ProfileText& script, SetupScript& s) {
    ForEachLine(script, "GENERAL_INFO", [&](const std::string& line) {
        size_t eq = line.find('=');
        if (eq == std::string::npos) return;
        std::string key = line.substr(0, eq);
        for (auto& kv : s.generalInfo)
            if (kv.first == key) {
                kv.second = line.substr(eq + 1);
                return;
            }
        s.generalInfo.emplace_back(key, line.substr(eq + 1));
    });
}

void ReadRequirements(const ProfileText& script, SetupScript& s) {
    static const char* const kFlags[6] = {"Windows95=", "Windows98=", "WindowsME=",
                                          "WindowsNT4=", "Windows2000=", "WindowsXP="};
    ForEachLine(script, "SYSTEM_REQUIREMENTS", [&](const std::string& line) {
        std::string v;
        if (ValueAfter(line, "AnyWindows=", v)) s.anyWindows = ReadYesNo(v);
        else if (ValueAfter(line, "AbortInstallation=", v)) s.abortInstallation = ReadYesNo(v);
        else if (ValueAfter(line, "Windows10=", v)) s.windows10 = ReadYesNo(v);
        else if (ValueAfter(line, "Windows11=", v)) s.windows11 = ReadYesNo(v);
        else if (ValueAfter(line, "Only64BitWindows=", v)) s.only64BitWindows = ReadYesNo(v);
        for (int i = 0; i < 6; ++i)
            if (ValueAfter(line, kFlags[i], v)) s.windowsFlags[i] = ReadYesNo(v);
    });
}

void ReadFiles(const ProfileText& script, const char* section, SetupScript& s) {
    ForEachLine(script, section, [&](const std::string& line) {
        std::vector<std::string> f = SplitFields(line, 5);
        ScriptFile file;
        if (f.size() != 5 || !f[0].empty() || !ReadInt(f[3], file.options) || !ReadInt(f[4], file.replaceMode)) {
            s.problems.push_back(BadLine("Files", "file", line));
            return;
        }
        file.entry = f[1];
        file.destination = f[2];
        if (file.replaceMode < kReplaceAlways || file.replaceMode > kReplaceAtRestart) {
            s.problems.push_back({"Files", file.destination, "the replace mode " + f[4] + " is unknown",
                                  "Choose how an existing file is replaced in the file's properties", kExitFailed});
            return;
        }
        s.files.push_back(file);
    });
}

void ReadShortcuts(const ProfileText& script, SetupScript& s) {
    ForEachLine(script, "SHORTCUT_FOLDERS", [&](const std::string& line) { s.shortcutFolders.push_back(line); });
    ForEachLine(script, "SHORTCUTS", [&](const std::string& line) {
        std::vector<std::string> f = SplitFields(line, 8);
        bool internet = f[0] == "i";
        int show = 0;
        if (f.size() != 8 || (f[0] != "s" && !internet) || (!internet && !ReadInt(f[6], show))) {
            s.problems.push_back(BadLine("Shortcuts", "shortcut", line));
            return;
        }
        s.shortcuts.push_back({internet, f[1], f[2], f[3], f[4], f[5], show, f[7]});
    });
}

void ReadRegistry(const ProfileText& script, SetupScript& s) {
    ForEachLine(script, "REGISTRY_ENTRIES", [&](const std::string& line) {
        std::vector<std::string> f = SplitFields(line, 6);
        ScriptRegistryLine r;
        if (f[0] == "key" && f.size() >= 3) {
            r.key = true;
            r.hive = f[1];
            r.keyPath = SplitFields(line, 3)[2];
        } else if (f[0] == "value" && f.size() == 6 && f[4].size() == 1 &&
                   std::string("sSbdem").find(f[4][0]) != std::string::npos) {
            r.hive = f[1];
            r.keyPath = f[2];
            r.name = f[3];
            r.type = f[4][0] == 'S' ? 's' : f[4][0];
            r.data = f[5];
        } else {
            s.problems.push_back(BadLine("Registry", "registry", line));
            return;
        }
        s.registry.push_back(r);
    });
}

void ReadFileTypes(const ProfileText& script, SetupScript& s) {
    std::size_t row = 0;
    ForEachLine(script, "FILE_TYPES", [&](const std::string& line) {
        ++row;
        std::vector<std::string> f = SplitFields(line, 6);
        // An empty identifier is a value of the project, which the plan refuses by name.
        if (f.size() != 6) {
            s.problems.push_back(BadLine("File types", "file type", line));
            return;
        }
        if (f[0].empty()) {
            const std::string& name = !f[2].empty() ? f[2] : !f[1].empty() ? f[1] : f[3];
            s.problems.push_back({"File types", "row " + std::to_string(row),
                                  "the file type \"" + name + "\" has no extension",
                                  "Give it the extension of its files, such as .txt, in its properties", kExitFailed});
            return;
        }
        int iconNumber = 0;
        ReadInt(f[5], iconNumber);
        s.fileTypes.push_back({f[0], f[1], f[2], f[3], f[4], iconNumber});
    });
}

}  // namespace

SetupScript ReadSetupScript(const ProfileText& script) {
    SetupScript s;
    ReadSetupInfo(script, s);
    ReadGeneralInfo(script, s);
    ReadRequirements(script, s);
    for (const char* section : {"APPLICATION_FOLDERS", "SHARED_FOLDERS", "SYSTEM_FOLDERS"})
        ForEachLine(script, section, [&](const std::string& line) { s.folders.push_back(line); });
    for (const char* section : {"APPLICATION_FILES", "SHARED_FILES", "SYSTEM_FILES"})
        ReadFiles(script, section, s);
    ReadShortcuts(script, s);
    ReadRegistry(script, s);
    ReadFileTypes(script, s);
    s.screens.Load(script);
    if (script.CountLines("DIALOGS") == 0)
        for (bool& shown : s.screens.shows) shown = false;
    // A language names its file "<name>.dat" beside the installer: one plain name, as for /LANG=;
    // anything else would load a file from elsewhere.
    std::vector<std::string> names = s.languages;
    if (!s.defaultLanguage.empty()) names.push_back(s.defaultLanguage);
    for (const std::string& name : names)
        if (!IsStoredAsSpelt(name))
            s.problems.push_back({"Setup Info", "SetupLanguages", "the installer language " + name + " is not a plain name",
                                  "Choose the installer languages from the list of languages", kExitDamaged});
    if (s.languages.empty()) s.languages.push_back("English");
    if (s.defaultLanguage.empty()) s.defaultLanguage = s.languages.front();
    return s;
}

std::pair<std::uint32_t, std::uint32_t> PanelColours(const ScreenSettings& screens) {
    if (!screens.shows[ScreenSettings::SetupWindow]) return {0x00FF0000, 0x00000000};
    return {screens.colourFrom, screens.gradientFill ? screens.colourTo : screens.colourFrom};
}
