// Quillset installed by the installer that Quillset builds of itself: the setup made from
// packaging/Quillset.qsp installs silently into a folder with a blank in its path, the installed
// builder starts, the installed qsbuild.exe builds a product whose setup installs and uninstalls,
// a project opens through the file association, and the uninstaller leaves nothing behind.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "../BuilderProcess.h"
#include "resource.h"

namespace {

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

int RunProgram(const std::string& program, const std::string& arguments) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    WaitForSingleObject(process.hProcess, 300000);
    DWORD code = 0xDEAD;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Whether `path` is gone within a few seconds (the uninstaller removes itself after it ends).
bool Disappears(const std::string& path) {
    return WaitFor([&] { return !Exists(path); }, 20000);
}

bool KeyExists(HKEY hive, const std::string& key) {
    HKEY opened;
    if (RegOpenKeyExA(hive, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

std::set<std::string> SubkeyNames(HKEY hive, const std::string& key) {
    std::set<std::string> names;
    HKEY opened;
    if (RegOpenKeyExA(hive, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(opened, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.insert(name);
    }
    RegCloseKey(opened);
    return names;
}

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
    return path;
}

// A scratch folder below the temporary folder, removed with its contents.
class Scratch {
public:
    Scratch() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "qs-self-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~Scratch() { RemoveTree(path_); }
    const std::string& Path() const { return path_; }

    static void RemoveTree(const std::string& path) {
        std::string from = path + '\0';
        SHFILEOPSTRUCTA operation{};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        SHFileOperationA(&operation);
    }

private:
    std::string path_;
};

// The builder writes its own association at every start; a machine that never ran it has none,
// and so must the test's, or the uninstaller would rightly put the earlier values back.
void ForgetProjectFileType() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".qsp");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "Quillset.Project");
}

// The files below `folder`, as paths relative to it.
void ListFiles(const std::string& folder, const std::string& relative, std::set<std::string>& files) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\" + relative + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFiles(folder, relative + name + "\\", files);
        else
            files.insert(relative + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void CloseBuilder(BuilderProcess& builder) {
    // The Welcome dialog of a start without a project, if it is up, goes first.
    if (HWND welcome = builder.FindDialog()) {
        PressButton(welcome, IDCANCEL);
        WaitFor([&] { return !IsWindow(welcome); }, 10000);
    }
    PostMessageA(builder.Main(), WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, builder.WaitForExit());
}

}  // namespace

TEST(SelfInstall, QuillsetInstallsRunsBuildsOpensProjectsAndUninstallsCleanly) {
    Scratch scratch;
    ForgetProjectFileType();
    const std::set<std::string> uninstallEntries = SubkeyNames(HKEY_LOCAL_MACHINE, kUninstallKey);

    // The setup, built of the staged program folder by the staged qsbuild.exe.
    ASSERT_EQ(0, RunProgram(QS_STAGED_QSBUILD, "--quiet --output \"" + scratch.Path() + "\" \"" QS_PACKAGING_PROJECT "\""));
    const std::string setup = scratch.Path() + "\\QuillsetSetup.exe";
    ASSERT_TRUE(Exists(setup));

    const std::string folder = "C:\\Program Files\\Quillset Self Test";
    Scratch::RemoveTree(folder);
    ASSERT_EQ(0, RunProgram(setup, "/S \"/D=" + folder + "\""));
    // Every Windows file of the staged program folder is installed (the project lists them one by
    // one, so a new file in the program folder must be added to it).
    std::set<std::string> staged;
    ListFiles(QS_STAGED_FOLDER, "", staged);
    staged.erase("qsbuild");  // the Linux program
    EXPECT_GT(staged.size(), 10u);
    for (const std::string& file : staged) EXPECT_TRUE(Exists(folder + "\\" + file)) << file;
    EXPECT_TRUE(Exists(folder + "\\uninstall.exe"));
    const std::string group = ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Quillset";
    EXPECT_TRUE(Exists(group + "\\Quillset.lnk"));
    EXPECT_TRUE(Exists(group + "\\Quillset Help.lnk"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "Quillset.Project\\shell\\open\\command"));

    {  // The installed builder starts; its Welcome dialog opens the installed example, from a copy
       // in the user's Documents that a build can write into.
        EXPECT_TRUE(Exists(folder + "\\Examples\\Demo\\files\\bin\\hello.cmd"));
        const std::string copies = ShellFolder(CSIDL_PERSONAL) + "\\Quillset Examples";
        Scratch::RemoveTree(copies);
        BuilderProcess builder;
        ASSERT_TRUE(builder.Start(folder + "\\Quillset.exe"));
        ASSERT_TRUE(builder.WaitForMainWindow());
        HWND welcome = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (welcome = builder.FindDialog()) != nullptr; }));
        HWND example = GetDlgItem(welcome, IDC_WELCOME_TEXT4);
        ASSERT_TRUE(IsWindowVisible(example));
        SendMessageA(example, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        SendMessageA(example, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        EXPECT_TRUE(builder.WaitForTitle("Quillset - [Demo]")) << builder.Title();
        EXPECT_EQ(ReadWhole(copies + "\\Demo\\Demo.qsp"), ReadWhole(std::string(QS_EXAMPLE_FOLDER) + "\\Demo.qsp"));
        EXPECT_TRUE(Exists(copies + "\\Demo\\files\\docs\\Guide.html"));
        CloseBuilder(builder);
        Scratch::RemoveTree(copies);
    }

    // The installed qsbuild.exe builds the example; its setup installs and uninstalls.
    const std::string demo = scratch.Path() + "\\Demo";
    ASSERT_EQ(0, RunProgram("C:\\windows\\system32\\xcopy.exe", "/e /i /q \"" QS_EXAMPLE_FOLDER "\" \"" + demo + "\""));
    Scratch::RemoveTree(demo + "\\output");
    ASSERT_EQ(0, RunProgram(folder + "\\qsbuild.exe", "--quiet \"" + demo + "\\Demo.qsp\""));
    const std::string demoFolder = scratch.Path() + "\\Installed Demo";
    ASSERT_EQ(0, RunProgram(demo + "\\output\\DemoSetup.exe", "/S \"/D=" + demoFolder + "\""));
    EXPECT_TRUE(Exists(demoFolder + "\\bin\\hello.cmd"));
    ASSERT_EQ(0, RunProgram(demoFolder + "\\uninstall.exe", "/S"));
    EXPECT_TRUE(Disappears(demoFolder + "\\bin\\hello.cmd"));

    {  // A project opens in the installed builder through its file association.
        const std::string project = demo + "\\Demo.qsp";
        SHELLEXECUTEINFOA execute{};
        execute.cbSize = sizeof execute;
        execute.fMask = SEE_MASK_NOCLOSEPROCESS;
        execute.lpVerb = "open";
        execute.lpFile = project.c_str();
        execute.nShow = SW_SHOWNORMAL;
        ASSERT_TRUE(ShellExecuteExA(&execute));
        HWND main = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            main = FindWindowA("KVQuillset", nullptr);
            return main && WindowText(main).find("Demo") != std::string::npos;
        })) << "no builder window showing Demo.qsp";
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(main); }));
        if (execute.hProcess) CloseHandle(execute.hProcess);
    }

    ASSERT_EQ(0, RunProgram(folder + "\\uninstall.exe", "/S"));
    EXPECT_TRUE(Disappears(folder + "\\Quillset.exe"));
    EXPECT_TRUE(Disappears(folder)) << "the installation folder is left";
    EXPECT_FALSE(Exists(group)) << "the Start menu group is left";
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".qsp"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Quillset.Project"));
    EXPECT_EQ(uninstallEntries, SubkeyNames(HKEY_LOCAL_MACHINE, kUninstallKey));
}
