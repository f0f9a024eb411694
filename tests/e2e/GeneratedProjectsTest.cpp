// Projects as users make them, with empty and odd values in every field (names with commas,
// equals signs, brackets and accented letters, every folder variable, every file option and
// replace mode), built by qsbuild and installed silently. Each either fails to build, with
// "Error!" lines that name their items and no setup, or installs and uninstalls without a trace.
// QS_GENERATED_PROJECTS says how many (a few by default), QS_GENERATED_SEED which.
#include <cstdlib>
#include <cstring>
#include <random>

#include "BuilderFolder.h"
#include "E2ESupport.h"

namespace {

int EnvironmentNumber(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

// A path of variables as the installer resolves it: each "%Name%" replaced, names left empty
// by an empty value dropped, each name as Windows stores it (without trailing dots and blanks).
std::string Resolved(const std::string& path, const std::vector<std::pair<std::string, std::string>>& values) {
    std::string text = path;
    for (const auto& [name, value] : values)
        for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + value.size()))
            text.replace(at, name.size(), value);
    std::string out;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\\', start);
        const std::string part = WindowsStoredName(text.substr(start, end == std::string::npos ? end : end - start));
        if (!part.empty()) out += (out.empty() ? "" : "\\") + part;
        if (end == std::string::npos) return out;
        start = end + 1;
    }
}

// One generated project and what it should leave on the computer once installed.
struct Generated {
    std::string text;
    std::string appDir, group;
    bool uninstaller = false;
    std::vector<std::string> installed;  // paths that exist after the installation
    std::vector<std::string> kept;       // files marked never to be uninstalled
    std::vector<std::string> links;      // shortcut files
    std::vector<std::string> keys;       // HKLM keys that exist after the installation
    std::vector<std::string> classes;    // HKCR keys of the file types
};

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    Generated Make(int index, const std::string& sources, const std::string& library) {
        // Mostly values that install, and now and then one that cannot.
        static const char* const kCompanies[] = {"", "", "Quill", "Super, Duper Inc", "Caf\xE9 & Co", "A=B",
                                                 "[Bracket] Ltd", "Quill", "Dots."};
        static const char* const kProducts[] = {"Super, Duper", "Caf\xE9 Tool", "x=y", "[Beta] App", "Plain",
                                                "Super, Duper", "Plain", "Caf\xE9 Tool", "", "CON"};
        static const char* const kGroups[] = {"%ProductName%", "%CompanyName%\\%ProductName%", "", "Tools, Extra",
                                              "QsGen [x]", "Caf\xE9", "%CompanyName%", "%ProductName%"};
        static const char* const kPaths[] = {"%ProgramFiles%\\%CompanyName%\\%ProductName%", "%ProgramFiles%\\%ProductName%",
                                             "%ProgramFiles%\\QsGen\\%ProductName%", "%CommonFiles%\\%CompanyName%\\QsGen"};
        static const char* const kNames[] = {"Read Me.txt", "a=b.txt", "[x].txt", "Caf\xE9.txt", "plain.txt", "tool.exe"};
        static const char* const kDescriptions[] = {"Uninstall %ProductName%", "Uninstall", "Uninstall %ProductName%",
                                                    "Remove [it]", "", "Remove, it"};
        Generated g;
        const std::string company = Pick(kCompanies), product = Pick(kProducts);
        const std::string group = Pick(kGroups), path = Pick(kPaths);
        const std::string n = std::to_string(index);
        g.uninstaller = Chance(85);
        const bool icon = g.uninstaller && Chance(60);
        const std::string description = Pick(kDescriptions);
        std::string text = "[GENERAL_INFO]\nCompanyName=" + company + "\nProductName=" + product +
                           "\nProductVersion=1." + n + "\nProductURL=http://example.com/?a=1,b=2\n\n";
        text += "[SETUP_INFO]\nDefaultInstallationPath=" + path + "\nDefaultShortcutFolderName=" + group +
                "\nEnableUninstaller=" + (g.uninstaller ? "Yes" : "No") + "\nAddRemoveProgramsDescription=%ProductName%" +
                "\nCreateUninstallerIcon=" + (icon ? "Yes" : "No") + "\nUninstallerIconDescription=" + description + "\n\n";
        const TargetFolders f = Target();
        const std::vector<std::pair<std::string, std::string>> values = {
            {"%CompanyName%", company}, {"%ProductName%", product}, {"%ProgramFiles%", f.programFiles},
            {"%CommonFiles%", f.commonFiles}};
        g.appDir = Resolved(path, values);
        const std::string groupName = Resolved(group, values);
        g.group = groupName.empty() ? std::string() : f.startMenuPrograms + "\\" + groupName;

        // Files in every folder variable, with every option and replace mode.
        text += "[APPLICATION_FILES]\n";
        for (int i = 0, files = 1 + Below(4); i < files; ++i) {
            const std::string name = std::to_string(i) + " " + Pick(kNames);
            const int replace = Below(8);
            int options = Chance(70) ? 1 : 0;
            if (Chance(15)) options |= 4;  // shared
            const int where = Below(5);
            std::string destination, source = sources + "\\" + "file.txt";
            bool kept = false;
            if (where == 0 && Chance(30)) {
                options |= 8;  // never uninstalled: only below the common files, which the test clears itself
                kept = true;
            }
            switch (where) {
                case 0: destination = "%CommonFiles%\\QsGen " + n + "\\" + name; break;
                case 1: destination = "%AppDir%\\Sub [" + n + "]\\" + name; break;
                case 2: destination = "%WinSysDir%\\qsgen-" + n + "-" + std::to_string(i) + ".dll"; break;
                case 3: destination = "%AppDir%\\%CompanyName%\\" + name; break;
                default: destination = "%AppDir%\\" + name; break;
            }
            if (Chance(8)) {
                options |= 2;  // self-registration: of a library that registers itself, or of a document
                if (Chance(50)) source = library;
            }
            text += "File=" + destination + "," + source + "," + std::to_string(options) + "," +
                    std::to_string(replace) + "\n";
            const std::string target = Resolved(destination, {{"%AppDir%", g.appDir},
                                                              {"%CommonFiles%", f.commonFiles},
                                                              {"%WinSysDir%", SystemFolder()},
                                                              {"%CompanyName%", company}});
            (kept ? g.kept : g.installed).push_back(target);
        }
        // Shortcuts into every shortcut folder, and an internet shortcut.
        text += "\n[SHORTCUTS]\n";
        static const char* const kShortcutFolders[] = {"%AppSCFolder%", "%Desktop%", "%StartMenu%", "%StartUp%"};
        // Without a group name, the group's shortcuts go straight into the Start menu's programs.
        const std::string groupFolder = g.group.empty() ? f.startMenuPrograms : g.group;
        const std::vector<std::pair<std::string, std::string>> linkFolders = {
            {"%AppSCFolder%", groupFolder}, {"%Desktop%", ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY)},
            {"%StartMenu%", ShellFolder(CSIDL_COMMON_STARTMENU)}, {"%StartUp%", ShellFolder(CSIDL_COMMON_STARTUP)}};
        for (int i = 0, links = Below(3); i < links; ++i) {
            const std::string folder = Pick(kShortcutFolders);
            const std::string name = "QsGen " + n + "-" + std::to_string(i) + (Chance(30) ? " [x=y]" : "");
            text += "Shortcut=" + folder + "\\" + name + ",%AppDir%\\file.txt," + (Chance(50) ? "--a=b" : "") +
                    ",,,1,%AppDir%\\a,b\n";
            g.links.push_back(Resolved(folder + "\\" + name + ".lnk", linkFolders));
        }
        if (Chance(30)) {
            text += "InternetShortcut=%AppSCFolder%\\Web " + n + ",http://example.com/?q=1&r=%ProductName%,,,,,,\n";
            g.links.push_back(groupFolder + "\\Web " + n + ".url");
        }
        // Registry keys and values with odd names.
        text += "\n[REGISTRY_ENTRIES]\n";
        const std::string key = "Software\\QsGen\\" + n + (Chance(20) ? "\\%ProductName%" : "\\Caf\xE9 [k]");
        text += "KEY=%HKEY_LOCAL_MACHINE%\\" + key + "\n";
        text += "STRING=%HKEY_LOCAL_MACHINE%\\" + key + "\\na=me,a,b=c [d] %AppDir%\n";
        text += "DWORD=%HKEY_LOCAL_MACHINE%\\" + key + "\\Level,0x0000000A\n";
        text += "BINARY=%HKEY_LOCAL_MACHINE%\\" + key + "\\Blob,01 A0 FF\n";
        g.keys.push_back(Resolved(key, values));
        // File types, some without an identifier.
        text += "\n[FILE_TYPES]\n";
        if (Chance(50)) {
            const std::string extension = "qsg" + n;
            const std::string identifier = Chance(15) ? "" : "QsGen.Doc" + n;
            text += extension + "," + identifier + ",QsGen document [" + n + "]," + "%AppDir%\\file.txt,,0\n";
            g.classes = {"." + extension, identifier};
        }
        g.text = text;
        return g;
    }

    static TargetFolders Target() {
        TargetFolders f;
        f.programFiles = ShellFolder(CSIDL_PROGRAM_FILES);
        f.commonFiles = ShellFolder(CSIDL_PROGRAM_FILES_COMMON);
        f.startMenuPrograms = ProgramsFolder();
        return f;
    }

private:
    template <size_t N>
    const char* Pick(const char* const (&list)[N]) {
        return list[Below(static_cast<int>(N))];
    }
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool Chance(int percent) { return Below(100) < percent; }

    std::mt19937 random_;
};

// Every "Error!" line of a refused build names where the project keeps the item.
void ExpectNamedErrors(const std::string& log, const std::string& project) {
    size_t errors = 0;
    for (size_t at = log.find("Error! "); at != std::string::npos; at = log.find("Error! ", at + 1)) {
        ++errors;
        const std::string line = log.substr(at, log.find('\n', at) - at);
        bool named = false;
        for (const char* section : {"Files ", "Shortcuts ", "Registry ", "File types ", "Setup Info ", "General Info "})
            named = named || line.compare(7, std::strlen(section), section) == 0;
        EXPECT_TRUE(named) << line << "\n" << project;
    }
    EXPECT_GT(errors, 0u) << log << "\n" << project;
}

// What a project that was not uninstalled left, and the files kept on purpose. The registry keys of
// an uninstalled project are left to the uninstaller: the long run's regedit export checks them.
void RemoveTraces(const Generated& g, int index, bool uninstalled) {
    const std::string n = std::to_string(index);
    for (const std::string& file : g.installed) DeleteFileA(file.c_str());
    for (const std::string& file : g.kept) DeleteFileA(file.c_str());
    for (const std::string& file : g.links) DeleteFileA(file.c_str());
    // Never the shell's own folders, which a refused project may name as its own.
    for (const auto& [folder, root] : {std::pair<std::string, int>{g.appDir, CSIDL_PROGRAM_FILES},
                                       {g.group, CSIDL_COMMON_PROGRAMS}})
        if (folder.size() > ShellFolder(root).size() + 1 && folder != ShellFolder(CSIDL_PROGRAM_FILES_COMMON)) {
            RemoveFolderTree(folder);
            // and the company's folder above it, when the product was its last
            for (std::string above = FolderOf(folder); above.size() > ShellFolder(root).size() + 1; above = FolderOf(above))
                if (above == ShellFolder(CSIDL_PROGRAM_FILES_COMMON) || !RemoveDirectoryA(above.c_str())) break;
        }
    RemoveFolderTree(ShellFolder(CSIDL_PROGRAM_FILES_COMMON) + "\\QsGen " + n);
    if (uninstalled) return;
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, ("Software\\QsGen\\" + n).c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\QsGen");  // only when no other project's keys are left
    for (const std::string& key : g.classes)
        if (!key.empty()) RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str());
}

TEST(GeneratedProjects, EachBuildsWithNamedErrorsOrInstallsAndUninstallsCleanly) {
    const int count = EnvironmentNumber("QS_GENERATED_PROJECTS", 30);
    const unsigned seed = static_cast<unsigned>(EnvironmentNumber("QS_GENERATED_SEED", 19));
    Package sources, builderFolder;
    WriteTestFile(sources.Path("file.txt"), "generated");
    const std::string builder = LayOutBuilder(builderFolder);
    Generator generator(seed);
    int built = 0, refused = 0;
    for (int i = 0; i < count; ++i) {
        const Generated g = generator.Make(i, sources.Path(""), QS_SELFREGISTER_DLL);
        SCOPED_TRACE("project " + std::to_string(i) + " of seed " + std::to_string(seed) + ":\n" + g.text);
        const std::string project = sources.Path("Project" + std::to_string(i) + ".qsp");
        const std::string output = sources.Path("out" + std::to_string(i));
        WriteTestFile(project, CrLfLineEnds(g.text));
        // Through the command interpreter, which keeps the build log in a file.
        WriteTestFile(sources.Path("build.cmd"), "@\"" + builder + "qsbuild.exe\" --output \"" + output + "\" \"" +
                                                     project + "\" > \"" + sources.Path("build.log") + "\"\r\n");
        const int code = RunProgram(SystemFolder() + "\\cmd.exe", "/c \"" + sources.Path("build.cmd") + "\"");
        const std::string setup = output + "\\Setup.exe";
        if (code != 0) {
            ++refused;
            EXPECT_EQ(code, 1);
            EXPECT_FALSE(Exists(setup));
            ExpectNamedErrors(ReadBytes(sources.Path("build.log")), g.text);
            if (EnvironmentNumber("QS_GENERATED_VERBOSE", 0)) std::printf("%s", ReadBytes(sources.Path("build.log")).c_str());
            RemoveTraces(g, i, false);
            continue;
        }
        ++built;
        Package logs;
        const int installed = RunProgram(setup, "/S /LOG=" + logs.Path("log.txt"));
        EXPECT_EQ(installed, 0) << ReadBytes(logs.Path("log.txt"));
        if (installed != 0) {
            RemoveTraces(g, i, false);
            continue;
        }
        for (const std::string& path : g.installed) EXPECT_TRUE(Exists(path)) << path;
        for (const std::string& path : g.links) EXPECT_TRUE(Exists(path)) << path;
        for (const std::string& path : g.kept) EXPECT_TRUE(Exists(path)) << path;
        for (const std::string& key : g.keys) EXPECT_TRUE(KeyExists("HKLM", key)) << key;
        for (const std::string& key : g.classes) EXPECT_TRUE(KeyExists("HKCR", key)) << key;
        if (g.uninstaller) {
            EXPECT_EQ(RunProgram(g.appDir + "\\uninstall.exe", "/S"), 0);
            EXPECT_TRUE(Disappears(g.appDir)) << g.appDir << " holds " << FolderListing(g.appDir);
            for (const std::string& path : g.installed) EXPECT_FALSE(Exists(path)) << path;
            for (const std::string& path : g.links) EXPECT_FALSE(Exists(path)) << path;
            for (const std::string& path : g.kept) EXPECT_TRUE(Exists(path)) << path;
            for (const std::string& key : g.keys) EXPECT_FALSE(KeyExists("HKLM", key)) << key;
            for (const std::string& key : g.classes) EXPECT_FALSE(KeyExists("HKCR", key)) << key;
            if (!g.group.empty()) {
                EXPECT_FALSE(Exists(g.group)) << g.group;
            }
        }
        // The shell's own folders stay whatever a project did.
        for (int folder : {CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_STARTUP, CSIDL_PROGRAM_FILES})
            EXPECT_TRUE(Exists(ShellFolder(folder))) << folder;
        RemoveTraces(g, i, g.uninstaller);
    }
    std::printf("%d generated projects: %d built, installed and uninstalled; %d refused at build time\n", count, built,
                refused);
}

}  // namespace
