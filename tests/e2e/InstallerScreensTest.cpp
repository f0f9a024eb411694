// The interactive installer and uninstaller driven through their screens with window messages,
// as a user would click through them, and the result checked on disk and in the registry.
// DISABLED_ScreenTour is no test: scripts/installer-screenshots.sh runs it to photograph every
// screen in English and German. The Layout test goes the same way at each display scale.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>

#include "E2ESupport.h"
#include "LayoutProbe.h"
#include "core/Text.h"
#include "installer/Upgrade.h"
#include "installer/win32/ScreenIds.h"
#include "pipeline/ExecutionLevel.h"

namespace {

const char kProduct[] = "QsE2E Screens";
const std::string kChosenDir = "C:\\QsE2E Screens Chosen\\App";

// Every screen on; the finish screen offers both check boxes.
// `readmeMode`: how an existing Readme.txt is replaced; `requiredKb`: the space the project asks for.
std::string ScreensScript(const std::string& dialogs, int readmeMode, const std::string& requiredKb) {
    return Replace(Replace(Replace(R"([GENERAL_INFO]
CompanyName=Quill Screens Co
ProductName=@
ProductVersion=4.2
ProductDescription=The screens of a careful installer
ProductURL=http://example.com/screens
CopyrightNotice=Copyright (c) 2026

[SETUP_INFO]
DefaultInstallationPath=%ProgramFiles%\%ProductName%
DefaultShortcutFolderName=%ProductName%
EnableUninstaller=Yes
AddRemoveProgramsDescription=@ 4.2
SetupLanguages=English,German
DefaultSetupLanguage=English
RequiredDiskSpace=#

[APPLICATION_FILES]
,uninstall.exe,%AppDir%\uninstall.exe,1,0
,AppDir\Tool.exe,%AppDir%\Tool.exe,1,0
,AppDir\Readme.txt,%AppDir%\Readme.txt,1,$

[REGISTRY_ENTRIES]
key,HKLM,SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\%ProductName%
value,HKLM,SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\%ProductName%,DisplayName,S,@ 4.2
value,HKLM,SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\%ProductName%,UninstallString,S,"%AppDir%\uninstall.exe"
key,HKLM,Software\QsE2E\@
value,HKLM,Software\QsE2E\@,Folder,s,%AppDir%

[SHORTCUTS]
s,%AppSCFolder%\Tool,%AppDir%\Tool.exe,,,,1,%AppDir%

[SHORTCUT_FOLDERS]
%AppSCFolder%

[SYSTEM_REQUIREMENTS]
AnyWindows=Yes
AbortInstallation=Yes

[DIALOGS]
)" + dialogs + R"(
[SPLASH_WINDOW]
Bitmap_Pathname=%SetupDir%\Splash.bmp

[SETUP_WINDOW]
WindowTitle=%ProductName% Setup
GradientFill=Yes
ColorFrom=0x00FF0000
ColorTo=0x00000000
Heading=%ProductName% %ProductVersion%
HeadingFont=Times New Roman,-32,700,1,0,0
HeadingColor=0x00FFFFFF
HeadingAlignment=0
Heading3D=Yes
Subheading=%ProductDescription%
SubheadingFont=Times New Roman,-16,700,1,0,0
SubheadingColor=0x00FFFFFF
SubheadingAlignment=0
Subheading3D=Yes
Footer=%Copyright% %CompanyName%. All rights reserved. %ProductURL%
FooterFont=Arial,-13,400,1,0,0
FooterColor=0x0000FF00
FooterAlignment=0
Footer3D=No

[LICENSE_DIALOG]
License_Pathname=%SetupDir%\License.txt

[README_DIALOG]
Readme_Pathname=%SetupDir%\Readme.txt

[FINISH_DIALOG]
Show_ViewReadme_CheckBox=Yes
Show_ViewReadme_Checked=Yes
Show_RunApplication_CheckBox=Yes
Show_RunApplication_Checked=Yes
Readme_Pathname=%AppDir%\Readme.txt
Application_Pathname=%AppDir%\Tool.exe
)", "@", kProduct), "$", std::to_string(readmeMode)), "#", requiredKb);
}

std::string Dialogs(bool on) {
    std::string lines;
    for (const char* key : {"SplashWindow", "SetupWindow", "LanguageDialog", "WelcomeDialog", "LicenseDialog",
                            "ReadmeDialog", "UserInfoDialog", "TargetDirectoryDialog", "SetupTypeDialog",
                            "CustomSetupDialog", "ProgramGroupDialog", "StartDialog", "FinishDialog"})
        lines += std::string(key) + (on ? "=Yes\n" : "=No\n");
    return lines;
}

// A 64 by 32 bitmap of 24 bits a pixel, all one colour.
std::string SplashBitmap() {
    const int width = 64, height = 32, row = width * 3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + row * height;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int i = 0; i < width * height; ++i) bytes += "\x80\x40\x20";
    return bytes;
}

void WriteScreensPackage(Package& package, const std::string& dialogs, int readmeMode = 0,
                         const std::string& requiredKb = "200") {
    package.Write(ScreensScript(dialogs, readmeMode, requiredKb), {{"uninstall.exe", ReadBytes(QS_UNINSTALL_EXE)},
                                           {"AppDir\\Tool.exe", ReadBytes(QS_MARKER_APP)},
                                           {"AppDir\\Readme.txt", "Installed readme"}});
    WriteTestFile(package.Path("License.txt"), "LICENSE TERMS\r\n\r\nYou may use this product with care.\r\n");
    WriteTestFile(package.Path("Readme.txt"), "README FIRST\nWhat is new in 4.2.\n");
    WriteTestFile(package.Path("Splash.bmp"), SplashBitmap());
}

void RemoveScreensLeftovers() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\QsE2E");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + kProduct).c_str());
    RemoveFolderTree("C:\\QsE2E Screens Chosen");
    RemoveFolderTree(ShellFolder(CSIDL_PROGRAM_FILES) + "\\" + kProduct);
    for (const char* group : {"QsE2E Screens", "QsE2E Bildschirme"})
        RemoveFolderTree(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\" + group);
}

// A program started and watched: its windows are found by class, its controls by id. With
// `withoutRights` it runs with the limited token linked to the test's own, as a user's program
// runs before it asks for administrator rights.
class Running {
public:
    explicit Running(const std::string& commandLine, bool withoutRights = false) {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        std::string line = commandLine;
        if (!withoutRights) {
            started_ = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_) != FALSE;
            return;
        }
        HANDLE token = nullptr;
        TOKEN_LINKED_TOKEN linked = {};
        DWORD size = 0;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
        if (GetTokenInformation(token, TokenLinkedToken, &linked, sizeof linked, &size))
            started_ = CreateProcessAsUserA(linked.LinkedToken, nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                                            nullptr, &si, &pi_) != FALSE;
        if (linked.LinkedToken) CloseHandle(linked.LinkedToken);
        CloseHandle(token);
    }
    ~Running() {
        if (!started_) return;
        // Ending a process is asynchronous: wait until its handles are closed, or the next program
        // may find a file that the ended one still held open.
        if (WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0) {
            TerminateProcess(pi_.hProcess, 99);
            WaitForSingleObject(pi_.hProcess, 30000);
        }
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    bool Started() const { return started_; }

    // The visible top-level window of the given class, within 30 s.
    HWND Window(const char* windowClass) const {
        for (int i = 0; i < 600; ++i) {
            if (HWND found = Find(windowClass)) return found;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return nullptr;
    }
    HWND Find(const char* windowClass) const {
        struct Search {
            DWORD pid;
            const char* cls;
            HWND found;
        } search{pi_.dwProcessId, windowClass, nullptr};
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                char cls[64] = {};
                GetWindowThreadProcessId(window, &owner);
                GetClassNameA(window, cls, sizeof cls);
                if (owner == s->pid && IsWindowVisible(window) && std::string(cls) == s->cls) s->found = window;
                return s->found == nullptr;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    // The visible top-level window classes of the program until it ends (at most 60 s).
    std::vector<std::string> ClassesUntilExit() const {
        std::vector<std::string> seen;
        for (int i = 0; i < 6000 && WaitForSingleObject(pi_.hProcess, 10) != WAIT_OBJECT_0; ++i)
            for (const char* cls : {"QuillsetProgress", "QuillsetWizard", "QuillsetSetupWindow", "QuillsetLanguage",
                                    "QuillsetSplash", "#32770"})
                if (Find(cls) && std::find(seen.begin(), seen.end(), cls) == seen.end()) seen.push_back(cls);
        return seen;
    }
    int ExitCode(DWORD milliseconds = 60000) const {
        if (WaitForSingleObject(pi_.hProcess, milliseconds) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        return static_cast<int>(code);
    }
    DWORD Id() const { return pi_.dwProcessId; }

private:
    bool started_ = false;
    PROCESS_INFORMATION pi_ = {};
};

// The control `id` of `window` once it is there and visible (a page puts its controls up).
HWND WaitForItem(HWND window, int id) {
    for (int i = 0; i < 600; ++i) {
        HWND item = GetDlgItem(window, id);
        if (item && IsWindowVisible(item)) return item;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return nullptr;
}

std::string ItemText(HWND window, int id) {
    char text[4096] = {};
    SendMessageA(GetDlgItem(window, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

void SetItemText(HWND window, int id, const std::string& text) {
    SendMessageA(GetDlgItem(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Press(HWND window, int id) { PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// A key pressed in the control of `window` that has the keyboard focus.
void Key(HWND window, UINT key) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    HWND target = info.hwndFocus ? info.hwndFocus : window;
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

bool Enabled(HWND window, int id) { return IsWindowEnabled(GetDlgItem(window, id)) != FALSE; }

// The screenshot script's exchange folder: at each screen the tour writes "<name>.ready" and
// waits for "<name>.done". Without the variable the tour does not pause.
void Pause(const std::string& name) {
    const char* exchange = std::getenv("QS_SCREENSHOT_EXCHANGE");
    if (!exchange) return;
    const std::string ready = std::string(exchange) + "\\" + name + ".ready";
    const std::string done = std::string(exchange) + "\\" + name + ".done";
    WriteTestFile(ready, "");
    for (int i = 0; i < 1200 && !Exists(done); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

TEST(Screens, AnInstallationInGermanWithTheUsersChoicesAndRunApplication) {
    RemoveScreensLeftovers();
    Package package;
    WriteScreensPackage(package, Dialogs(true));
    Running setup("\"" + package.Path("Setup.exe") + "\" /LOG=" + package.Path("setup.log"));
    ASSERT_TRUE(setup.Started());

    HWND language = setup.Window("QuillsetLanguage");
    ASSERT_NE(language, nullptr);
    EXPECT_NE(setup.Find("QuillsetSetupWindow"), nullptr);
    HWND list = GetDlgItem(language, kIdLanguageList);
    EXPECT_EQ(ItemText(language, kIdLanguageList), "English");
    LRESULT german = SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("German"));
    ASSERT_GE(german, 0);
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(german), 0);
    Press(language, IDOK);

    HWND wizard = setup.Window("QuillsetWizard");
    ASSERT_NE(wizard, nullptr);
    ASSERT_NE(WaitForItem(wizard, kIdBody), nullptr);
    EXPECT_EQ(ItemText(wizard, kIdTitle), "Willkommen beim Installations-Assistenten f\xfcr QsE2E Screens");
    EXPECT_FALSE(Enabled(wizard, kIdBack));
    Press(wizard, kIdNext);

    // License: Next only once the terms are accepted.
    ASSERT_NE(WaitForItem(wizard, kIdAccept), nullptr);
    EXPECT_NE(ItemText(wizard, kIdLicenseText).find("LICENSE TERMS\r\n\r\nYou may"), std::string::npos);
    EXPECT_FALSE(Enabled(wizard, kIdNext));
    SendMessageA(GetDlgItem(wizard, kIdAccept), BM_CLICK, 0, 0);
    EXPECT_TRUE(Enabled(wizard, kIdNext));
    Press(wizard, kIdNext);

    ASSERT_NE(WaitForItem(wizard, kIdReadmeText), nullptr);
    EXPECT_NE(ItemText(wizard, kIdReadmeText).find("README FIRST\r\nWhat is new"), std::string::npos);
    Press(wizard, kIdNext);

    ASSERT_NE(WaitForItem(wizard, kIdUserName), nullptr);
    SetItemText(wizard, kIdUserName, "Erika Muster");
    SetItemText(wizard, kIdCompany, "Muster GmbH");
    Press(wizard, kIdNext);

    // The setup type screen is left out; the folder screen follows. A relative folder is
    // refused with a message, and the screen stays.
    ASSERT_NE(WaitForItem(wizard, kIdFolder), nullptr);
    EXPECT_EQ(ItemText(wizard, kIdFolder), ShellFolder(CSIDL_PROGRAM_FILES) + "\\" + kProduct);
    EXPECT_NE(ItemText(wizard, kIdSpaceRequired).find("KB"), std::string::npos);
    SetItemText(wizard, kIdFolder, "relative\\folder");
    Press(wizard, kIdNext);
    HWND refusal = WaitForMessageBox(setup.Id(), "relative\\folder");
    ASSERT_NE(refusal, nullptr);
    PostMessageA(refusal, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 200 && IsWindow(refusal); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    SetItemText(wizard, kIdFolder, kChosenDir);
    Press(wizard, kIdNext);

    ASSERT_NE(WaitForItem(wizard, kIdGroup), nullptr);
    EXPECT_EQ(ItemText(wizard, kIdGroup), kProduct);
    SetItemText(wizard, kIdGroup, "QsE2E Bildschirme");
    Press(wizard, kIdNext);

    ASSERT_NE(WaitForItem(wizard, kIdSummary), nullptr);
    std::string summary = ItemText(wizard, kIdSummary);
    for (const char* part : {"C:\\QsE2E Screens Chosen\\App", "QsE2E Bildschirme", "Erika Muster", "Muster GmbH"})
        EXPECT_NE(summary.find(part), std::string::npos) << part;
    // Back and forth keeps the choices.
    Press(wizard, kIdBack);
    ASSERT_NE(WaitForItem(wizard, kIdGroup), nullptr);
    EXPECT_EQ(ItemText(wizard, kIdGroup), "QsE2E Bildschirme");
    Press(wizard, kIdNext);
    ASSERT_NE(WaitForItem(wizard, kIdSummary), nullptr);
    EXPECT_EQ(ItemText(wizard, kIdNext), "&Installieren");
    Press(wizard, kIdNext);

    ASSERT_NE(WaitForItem(wizard, kIdRunApplication), nullptr);
    EXPECT_EQ(IsDlgButtonChecked(wizard, kIdViewReadme), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(wizard, kIdRunApplication), BST_CHECKED);
    SendMessageA(GetDlgItem(wizard, kIdViewReadme), BM_CLICK, 0, 0);
    Press(wizard, kIdNext);
    EXPECT_EQ(setup.ExitCode(), 0) << ReadBytes(package.Path("setup.log"));

    // Installed where the user said, with the group and the owner the user gave.
    EXPECT_EQ(ReadBytes(kChosenDir + "\\Tool.exe"), ReadBytes(QS_MARKER_APP));
    ShellLinkFields link;
    ASSERT_TRUE(LoadShellLink(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\QsE2E Bildschirme\\Tool.lnk", link));
    EXPECT_EQ(link.target, kChosenDir + "\\Tool.exe");
    EXPECT_FALSE(Exists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\" + kProduct));
    EXPECT_FALSE(Exists(ShellFolder(CSIDL_PROGRAM_FILES) + "\\" + kProduct));
    const std::string uninstallKey = std::string(kUninstallKey) + kProduct;
    EXPECT_EQ(StringValue("HKLM", "Software\\QsE2E\\QsE2E Screens", "Folder"), kChosenDir);
    EXPECT_EQ(StringValue("HKLM", uninstallKey, "InstallLocation"), kChosenDir);
    EXPECT_EQ(StringValue("HKLM", uninstallKey, "RegOwner"), "Erika Muster");
    EXPECT_EQ(StringValue("HKLM", uninstallKey, "RegCompany"), "Muster GmbH");
    // The uninstaller speaks the chosen language.
    EXPECT_NE(ReadBytes(kChosenDir + "\\install.log").find("Deinstallation abgeschlossen"), std::string::npos);
    // Run Application started the program in its own folder.
    for (int i = 0; i < 200 && !Exists(kChosenDir + "\\started.txt"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(EqualNoCase(ReadBytes(kChosenDir + "\\started.txt"), kChosenDir));
    DeleteFileA((kChosenDir + "\\started.txt").c_str());

    // The uninstaller's screens: confirmation, then the result, in German.
    Running uninstall("\"" + kChosenDir + "\\uninstall.exe\"");
    HWND confirm = uninstall.Window("QuillsetWizard");
    ASSERT_NE(confirm, nullptr);
    ASSERT_NE(WaitForItem(confirm, kIdBody), nullptr);
    EXPECT_EQ(ItemText(confirm, kIdTitle), "QsE2E Screens deinstallieren");
    EXPECT_EQ(ItemText(confirm, kIdNext), "&Deinstallieren");
    Press(confirm, kIdNext);
    for (int i = 0; i < 600 && ItemText(confirm, kIdTitle) != "Deinstallation abgeschlossen"; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ItemText(confirm, kIdTitle), "Deinstallation abgeschlossen");
    Press(confirm, kIdNext);
    EXPECT_EQ(uninstall.ExitCode(), 0);
    EXPECT_TRUE(Disappears("C:\\QsE2E Screens Chosen\\App"));
    EXPECT_FALSE(KeyExists("HKLM", uninstallKey));
    EXPECT_FALSE(Exists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\QsE2E Bildschirme"));
    RemoveScreensLeftovers();
}

// A project that lets the user choose: its entries below HKCU, its screens the welcome, folder,
// ready and finish screens; `more` adds a line to [APPLICATION_FILES].
void WriteScopePackage(Package& package, const std::string& more = std::string()) {
    const std::string dialogs = Replace(Replace(Replace(Dialogs(false), "WelcomeDialog=No", "WelcomeDialog=Yes"),
                                                "TargetDirectoryDialog=No", "TargetDirectoryDialog=Yes"),
                                        "StartDialog=No", "StartDialog=Yes");
    std::string script = Replace(ScreensScript(dialogs, 0, "200"), "key,HKLM,Software", "key,HKCU,Software");
    script = Replace(script, "value,HKLM,Software", "value,HKCU,Software");
    script = Replace(script, "RequiredDiskSpace=200\n", "RequiredDiskSpace=200\nInstallScope=ask\n");
    script = Replace(script, "[APPLICATION_FILES]\n", "[APPLICATION_FILES]\n" + more);
    // The uninstaller as a build gives it to such a project: starting without rights.
    const std::string uninstaller = package.Path("uninstall-as-built.exe");
    ASSERT_TRUE(CopyFileA(QS_UNINSTALL_EXE, uninstaller.c_str(), FALSE));
    ASSERT_TRUE(SetExecutionLevel(uninstaller, "asInvoker"));
    package.Write(script, {{"uninstall.exe", ReadBytes(uninstaller)},
                           {"AppDir\\Tool.exe", ReadBytes(QS_MARKER_APP)},
                           {"AppDir\\Readme.txt", "Installed readme"}});
}

// The scope screen in English and German: all users preselected beside the shield; only for me
// installs into the user's Programs folder with the user's entries, and uninstalls.
TEST(Screens, TheScopeScreenInstallsOnlyForTheUserInBothLanguages) {
    const std::string userDir = ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\" + kProduct;
    const std::string userGroup = ShellFolder(CSIDL_PROGRAMS) + "\\" + kProduct;
    const std::string userEntry = std::string(kUninstallKey) + kProduct;
    const std::pair<const char*, const char*> languages[] = {
        {"English", "Install &only for me (no administrator rights are needed)"},
        {"German", "Nur f\xfcr &mich installieren (keine Administratorrechte erforderlich)"}};
    for (const auto& [language, onlyForMe] : languages) {
        SCOPED_TRACE(language);
        RemoveScreensLeftovers();
        // What a broken earlier run left would count as there before the installation.
        RemoveFolderTree(userDir);
        RemoveFolderTree(userGroup);
        RegDeleteTreeA(HKEY_CURRENT_USER, userEntry.c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QsE2E");
        Package package;
        WriteScopePackage(package);
        Running setup("\"" + package.Path("Setup.exe") + "\" /LANG=" + language + " /LOG=" + package.Path("setup.log"));
        HWND wizard = setup.Window("QuillsetWizard");
        ASSERT_NE(wizard, nullptr);
        ASSERT_NE(WaitForItem(wizard, kIdBody), nullptr);
        Press(wizard, kIdNext);
        ASSERT_NE(WaitForItem(wizard, kIdScopeAllUsers), nullptr);
        EXPECT_EQ(ItemText(wizard, kIdScopeCurrentUser), onlyForMe);
        EXPECT_EQ(IsDlgButtonChecked(wizard, kIdScopeAllUsers), BST_CHECKED);
        EXPECT_TRUE(Enabled(wizard, kIdScopeCurrentUser));
        EXPECT_NE(SendMessageA(GetDlgItem(wizard, kIdScopeShield), STM_GETICON, 0, 0), 0);
        Pause(std::string("scope-") + language);
        SendMessageA(GetDlgItem(wizard, kIdScopeCurrentUser), BM_CLICK, 0, 0);
        Press(wizard, kIdNext);
        // The folder screen suggests the user's own Programs folder.
        ASSERT_NE(WaitForItem(wizard, kIdFolder), nullptr);
        EXPECT_EQ(ItemText(wizard, kIdFolder), userDir);
        // Back shows the choice made; on again keeps the folder.
        Press(wizard, kIdBack);
        ASSERT_NE(WaitForItem(wizard, kIdScopeCurrentUser), nullptr);
        EXPECT_EQ(IsDlgButtonChecked(wizard, kIdScopeCurrentUser), BST_CHECKED);
        Press(wizard, kIdNext);
        ASSERT_NE(WaitForItem(wizard, kIdFolder), nullptr);
        Press(wizard, kIdNext);
        ASSERT_NE(WaitForItem(wizard, kIdSummary), nullptr);
        Press(wizard, kIdNext);
        HWND done = WaitForMessageBox(setup.Id(), kProduct);
        ASSERT_NE(done, nullptr);
        PostMessageA(done, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(setup.ExitCode(), 0) << ReadBytes(package.Path("setup.log"));

        EXPECT_EQ(ReadBytes(userDir + "\\Tool.exe"), ReadBytes(QS_MARKER_APP));
        ShellLinkFields link;
        EXPECT_TRUE(LoadShellLink(userGroup + "\\Tool.lnk", link));
        EXPECT_EQ(StringValue("HKCU", userEntry, "InstallLocation"), userDir);
        EXPECT_EQ(StringValue("HKCU", "Software\\QsE2E\\QsE2E Screens", "Folder"), userDir);
        EXPECT_FALSE(KeyExists("HKLM", userEntry));
        EXPECT_FALSE(Exists(ShellFolder(CSIDL_PROGRAM_FILES) + "\\" + kProduct));
        EXPECT_FALSE(Exists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\" + kProduct));

        Running uninstall("\"" + userDir + "\\uninstall.exe\" /S");
        EXPECT_EQ(uninstall.ExitCode(), 0);
        EXPECT_TRUE(Disappears(userDir));
        EXPECT_FALSE(KeyExists("HKCU", userEntry));
        EXPECT_FALSE(KeyExists("HKCU", "Software\\QsE2E\\QsE2E Screens"));
        EXPECT_FALSE(Exists(userGroup));
    }
}

// Files that only all users can have: the current user's choice is greyed, with the reason.
TEST(Screens, TheScopeScreenSaysWhyOnlyAllUsersAreOffered) {
    RemoveScreensLeftovers();
    Package package;
    WriteScopePackage(package, ",AppDir\\Readme.txt,%WinSysDir%\\QsE2E Screens.txt,1,0\n");
    Running setup("\"" + package.Path("Setup.exe") + "\" /LANG=English");
    HWND wizard = setup.Window("QuillsetWizard");
    ASSERT_NE(wizard, nullptr);
    ASSERT_NE(WaitForItem(wizard, kIdBody), nullptr);
    Press(wizard, kIdNext);
    ASSERT_NE(WaitForItem(wizard, kIdScopeNote), nullptr);
    EXPECT_FALSE(Enabled(wizard, kIdScopeCurrentUser));
    EXPECT_EQ(IsDlgButtonChecked(wizard, kIdScopeAllUsers), BST_CHECKED);
    EXPECT_NE(ItemText(wizard, kIdScopeNote).find("%WinSysDir%"), std::string::npos) << ItemText(wizard, kIdScopeNote);
    Pause("scope-refused-English");
    Press(wizard, kIdCancel);
    HWND question = WaitForMessageBox(setup.Id(), "cancel");
    ASSERT_NE(question, nullptr);
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(setup.ExitCode(), 1);
}

// The visible wizard of another program than `pid` (the same setup started again), within 30 s.
HWND OtherWizard(DWORD pid) {
    struct Search {
        DWORD pid;
        HWND found;
    } search{pid, nullptr};
    for (int i = 0; i < 600 && !search.found; ++i) {
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                char cls[64] = {};
                GetWindowThreadProcessId(window, &owner);
                GetClassNameA(window, cls, sizeof cls);
                if (owner != s->pid && IsWindowVisible(window) && std::string(cls) == "QuillsetWizard") s->found = window;
                return s->found == nullptr;
            },
            reinterpret_cast<LPARAM>(&search));
        if (!search.found) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return search.found;
}

// The line of `log` that starts with `start`, without its line end; empty when none.
std::string LogLine(const std::string& log, const std::string& start) {
    for (size_t at = log.find(start); at != std::string::npos; at = log.find(start, at + 1)) {
        if (at != 0 && log[at - 1] != '\n') continue;
        const size_t end = log.find_first_of("\r\n", at);
        return log.substr(at, end == std::string::npos ? std::string::npos : end - at);
    }
    return std::string();
}

const char kUserInfoKey[] = "Software\\Microsoft\\MS Setup (ACME)\\User Info";

// Started without rights, a setup that lets the user choose suggests the user's own registered
// name; all users chosen, it starts again with rights and every switch given and answer made,
// and the run with rights goes on at the folder screen and installs for all users.
TEST(Screens, AllUsersChosenWithoutRightsStartsAgainWithTheSwitchesAndAnswers) {
    RemoveScreensLeftovers();
    const std::string logFolder = "C:\\QsE2E Restart Logs";
    RemoveFolderTree(logFolder);
    ASSERT_TRUE(CreateDirectoryA(logFolder.c_str(), nullptr));
    const std::string log = logFolder + "\\setup log.txt";
    HKEY info = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kUserInfoKey, 0, nullptr, 0, KEY_WRITE, nullptr, &info, nullptr), ERROR_SUCCESS);
    const std::string userName = "Una \"Q\" User";
    RegSetValueExA(info, "DefName", 0, REG_SZ, reinterpret_cast<const BYTE*>(userName.c_str()),
                   static_cast<DWORD>(userName.size() + 1));
    RegCloseKey(info);
    Package package;
    WriteScopePackage(package);
    // The user information screen as well.
    std::string script = ReadBytes(package.Path("setup.ini"));
    WriteTestFile(package.Path("setup.ini"), Replace(script, "UserInfoDialog=No", "UserInfoDialog=Yes"));
    Running setup("\"" + package.Path("Setup.exe") + "\" /LANG=English /CLOSEAPPLICATIONS /D=C:\\QsE2E Screens Chosen\\App \"/LOG=" +
                      log + "\"",
                  true);
    HWND wizard = setup.Window("QuillsetWizard");
    ASSERT_NE(wizard, nullptr);
    ASSERT_NE(WaitForItem(wizard, kIdBody), nullptr);
    Press(wizard, kIdNext);
    // The user's own registered name, not the computer's.
    ASSERT_NE(WaitForItem(wizard, kIdUserName), nullptr);
    EXPECT_EQ(ItemText(wizard, kIdUserName), userName);
    const std::string company = "Smith & \"Sons\"";
    SetItemText(wizard, kIdCompany, company);
    Press(wizard, kIdNext);
    ASSERT_NE(WaitForItem(wizard, kIdScopeAllUsers), nullptr);
    // The shield on Next comes and goes with the choice that asks for rights.
    SendMessageA(GetDlgItem(wizard, kIdScopeCurrentUser), BM_CLICK, 0, 0);
    Pause("scope-without-rights-only-for-me");
    SendMessageA(GetDlgItem(wizard, kIdScopeAllUsers), BM_CLICK, 0, 0);
    Pause("scope-without-rights-all-users");
    Press(wizard, kIdNext);
    // The run with rights: the screens before the scope's answered, the folder given.
    HWND again = OtherWizard(setup.Id());
    ASSERT_NE(again, nullptr);
    DWORD againId = 0;
    GetWindowThreadProcessId(again, &againId);
    ASSERT_NE(WaitForItem(again, kIdFolder), nullptr);
    EXPECT_EQ(ItemText(again, kIdFolder), "C:\\QsE2E Screens Chosen\\App");
    EXPECT_FALSE(Enabled(again, kIdBack));
    Press(again, kIdNext);
    ASSERT_NE(WaitForItem(again, kIdSummary), nullptr);
    const std::string summary = ItemText(again, kIdSummary);
    EXPECT_NE(summary.find(userName), std::string::npos) << summary;
    EXPECT_NE(summary.find(company), std::string::npos) << summary;
    Press(again, kIdNext);
    HWND done = WaitForMessageBox(againId, kProduct);
    ASSERT_NE(done, nullptr);
    PostMessageA(done, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(setup.ExitCode(), 0);

    const std::string written = ReadBytes(log);
    const std::string asked = LogLine(written, "All users chosen: starting again with administrator rights: ");
    ASSERT_FALSE(asked.empty()) << written;
    const std::string arguments = asked.substr(asked.find(": ", 20) + 2);
    EXPECT_EQ(arguments, "/CLOSEAPPLICATIONS /ALLUSERS /_RESTARTED /_ANSWERED /D=\"C:\\QsE2E Screens Chosen\\App\" "
                         "/LANG=\"English\" /LOG=\"" + log + "\" /_USER=\"Una \"\"Q\"\" User\" /_COMPANY=\"Smith & \"\"Sons\"\"\"");
    // What the run with rights received, in the same log.
    EXPECT_NE(written.find(" with: " + arguments + "\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("Product lock taken for all"), std::string::npos) << written;
    EXPECT_NE(written.find("The installation with administrator rights ended with exit code 0"), std::string::npos) << written;
    EXPECT_EQ(ReadBytes("C:\\QsE2E Screens Chosen\\App\\Tool.exe"), ReadBytes(QS_MARKER_APP));
    const std::string entry = std::string(kUninstallKey) + kProduct;
    EXPECT_EQ(StringValue("HKLM", entry, "InstallLocation"), "C:\\QsE2E Screens Chosen\\App");
    EXPECT_EQ(StringValue("HKLM", entry, "RegOwner"), userName);
    EXPECT_EQ(StringValue("HKLM", entry, "RegCompany"), company);
    EXPECT_FALSE(KeyExists("HKCU", entry));

    Running uninstall("\"C:\\QsE2E Screens Chosen\\App\\uninstall.exe\" /S");
    EXPECT_EQ(uninstall.ExitCode(), 0);
    EXPECT_TRUE(Disappears("C:\\QsE2E Screens Chosen\\App"));
    EXPECT_FALSE(KeyExists("HKLM", entry));
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Microsoft\\MS Setup (ACME)");
    RemoveFolderTree(logFolder);
    RemoveScreensLeftovers();
}

// Silent, /ALLUSERS without rights starts again with rights and every switch.
TEST(Screens, ASilentSetupForAllUsersWithoutRightsStartsAgainWithEverySwitch) {
    RemoveScreensLeftovers();
    const std::string logFolder = "C:\\QsE2E Restart Logs";
    RemoveFolderTree(logFolder);
    ASSERT_TRUE(CreateDirectoryA(logFolder.c_str(), nullptr));
    const std::string log = logFolder + "\\silent log.txt";
    Package package;
    WriteScopePackage(package);
    Running setup("\"" + package.Path("Setup.exe") + "\" /verysilent /ALLUSERS /SUPPRESSMSGBOXES /ALLOWDOWNGRADE /LOG=\"" +
                      log + "\" /DIR=\"C:\\QsE2E Screens Chosen\\App\" unknown",
                  true);
    EXPECT_EQ(setup.ExitCode(), 0) << ReadBytes(log);
    const std::string written = ReadBytes(log);
    const std::string arguments = "/S /SUPPRESSMSGBOXES /ALLOWDOWNGRADE /ALLUSERS /_RESTARTED /D=\"C:\\QsE2E Screens Chosen\\App\" /LOG=\"" + log + "\"";
    EXPECT_NE(written.find("Starting again with administrator rights: " + arguments + "\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find(" with: " + arguments + "\r\n"), std::string::npos) << written;
    EXPECT_EQ(StringValue("HKLM", std::string(kUninstallKey) + kProduct, "InstallLocation"), "C:\\QsE2E Screens Chosen\\App");
    Running uninstall("\"C:\\QsE2E Screens Chosen\\App\\uninstall.exe\" /S");
    EXPECT_EQ(uninstall.ExitCode(), 0);
    EXPECT_TRUE(Disappears("C:\\QsE2E Screens Chosen\\App"));
    RemoveFolderTree(logFolder);
    RemoveScreensLeftovers();
}

// A setup that lets the user choose takes no lock before the choice, then the lock of the scope
// chosen: another setup for all users holds it back from nothing but an all-users installation.
TEST(Screens, TheLockFollowsTheScopeChosen) {
    RemoveScreensLeftovers();
    const std::string userDir = ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\" + kProduct;
    HANDLE machine = CreateMutexA(nullptr, TRUE, ProductLockName(kProduct, true).c_str());
    ASSERT_NE(machine, nullptr);
    Package package;
    WriteScopePackage(package);
    Running setup("\"" + package.Path("Setup.exe") + "\" /LANG=English /LOG=" + package.Path("setup.log"));
    HWND wizard = setup.Window("QuillsetWizard");
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(setup.Find("QuillsetProgress"), nullptr);
    ASSERT_NE(WaitForItem(wizard, kIdBody), nullptr);
    Press(wizard, kIdNext);
    ASSERT_NE(WaitForItem(wizard, kIdScopeCurrentUser), nullptr);
    // All users waits for the other setup; Cancel stays on the choice.
    Press(wizard, kIdNext);
    HWND waiting = setup.Window("QuillsetProgress");
    ASSERT_NE(waiting, nullptr);
    PostMessageA(waiting, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    for (int i = 0; i < 200 && setup.Find("QuillsetProgress"); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(setup.Find("QuillsetProgress"), nullptr);
    ASSERT_NE(WaitForItem(wizard, kIdScopeCurrentUser), nullptr);
    EXPECT_EQ(GetDlgItem(wizard, kIdFolder), nullptr);
    // Only for me does not wait: the user's lock is free.
    SendMessageA(GetDlgItem(wizard, kIdScopeCurrentUser), BM_CLICK, 0, 0);
    Press(wizard, kIdNext);
    ASSERT_NE(WaitForItem(wizard, kIdFolder), nullptr);
    EXPECT_EQ(ItemText(wizard, kIdFolder), userDir);
    // Held now: a second setup of the product for the user waits.
    HANDLE user = CreateMutexA(nullptr, FALSE, ProductLockName(kProduct, false).c_str());
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(WaitForSingleObject(user, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    Press(wizard, kIdCancel);
    HWND question = WaitForMessageBox(setup.Id(), "cancel");
    ASSERT_NE(question, nullptr);
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(setup.ExitCode(), 1);
    const std::string written = ReadBytes(package.Path("setup.log"));
    EXPECT_NE(written.find("Product lock taken for user"), std::string::npos) << written;
    EXPECT_EQ(written.find("Product lock taken for all"), std::string::npos) << written;
    CloseHandle(user);
    ReleaseMutex(machine);
    CloseHandle(machine);
    RemoveScreensLeftovers();
}

TEST(Screens, CancelBeforeInstallingLeavesTheComputerUntouched) {
    RemoveScreensLeftovers();
    Package package;
    WriteScreensPackage(package, Dialogs(true));
    Running setup("\"" + package.Path("Setup.exe") + "\" /LANG=English");
    HWND wizard = setup.Window("QuillsetWizard");
    ASSERT_NE(wizard, nullptr);
    // /LANG= chose the language already.
    EXPECT_EQ(setup.Find("QuillsetLanguage"), nullptr);
    ASSERT_NE(WaitForItem(wizard, kIdBody), nullptr);
    EXPECT_EQ(ItemText(wizard, kIdTitle), "Welcome to the QsE2E Screens Setup Wizard");
    // Esc on the welcome screen asks; No stays, Yes ends. Enter goes on.
    Key(wizard, VK_ESCAPE);
    HWND question = WaitForMessageBox(setup.Id(), "cancel");
    ASSERT_NE(question, nullptr);
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    for (int i = 0; i < 200 && IsWindow(question); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    Key(wizard, VK_RETURN);
    ASSERT_NE(WaitForItem(wizard, kIdAccept), nullptr);
    Press(wizard, kIdCancel);
    question = WaitForMessageBox(setup.Id(), "cancel");
    ASSERT_NE(question, nullptr);
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(setup.ExitCode(), 1);
    EXPECT_FALSE(Exists(ShellFolder(CSIDL_PROGRAM_FILES) + "\\" + kProduct));
    EXPECT_FALSE(KeyExists("HKLM", "Software\\QsE2E\\QsE2E Screens"));
    EXPECT_FALSE(KeyExists("HKLM", std::string(kUninstallKey) + kProduct));
}

TEST(Screens, AFolderOnADriveWithoutEnoughSpaceIsRefused) {
    RemoveScreensLeftovers();
    Package package;
    // About a petabyte: no drive has it. The space is checked on the folder screen, not before.
    const std::string dialogs = Replace(Replace(Dialogs(false), "TargetDirectoryDialog=No", "TargetDirectoryDialog=Yes"),
                                        "FinishDialog=No", "FinishDialog=Yes");
    WriteScreensPackage(package, dialogs, 0, "999999999999");
    Running setup("\"" + package.Path("Setup.exe") + "\" /LANG=English");
    HWND wizard = setup.Window("QuillsetWizard");
    ASSERT_NE(wizard, nullptr);
    ASSERT_NE(WaitForItem(wizard, kIdFolder), nullptr);
    EXPECT_EQ(ItemText(wizard, kIdNext), "&Install");
    Press(wizard, kIdNext);
    HWND refusal = WaitForMessageBox(setup.Id(), "not enough free space");
    ASSERT_NE(refusal, nullptr);
    PostMessageA(refusal, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 200 && IsWindow(refusal); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // Still on the folder screen.
    EXPECT_NE(GetDlgItem(wizard, kIdFolder), nullptr);
    Press(wizard, kIdCancel);
    HWND question = WaitForMessageBox(setup.Id(), "cancel");
    ASSERT_NE(question, nullptr);
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(setup.ExitCode(), 1);
    EXPECT_FALSE(Exists(ShellFolder(CSIDL_PROGRAM_FILES) + "\\" + kProduct));
}

TEST(Screens, CancelDuringTheProgressRollsBackAndTheFinishScreenSaysSo) {
    RemoveScreensLeftovers();
    Package package;
    // The question about the existing readme holds the installation while the user cancels.
    const std::string dialogs =
        Replace(Replace(Dialogs(false), "StartDialog=No", "StartDialog=Yes"), "FinishDialog=No", "FinishDialog=Yes");
    WriteScreensPackage(package, dialogs, 5);
    const std::string appDir = ShellFolder(CSIDL_PROGRAM_FILES) + "\\" + kProduct;
    CreateDirectoryA(appDir.c_str(), nullptr);
    WriteTestFile(appDir + "\\Readme.txt", "older readme");
    Running setup("\"" + package.Path("Setup.exe") + "\" /LANG=English");
    HWND wizard = setup.Window("QuillsetWizard");
    ASSERT_NE(wizard, nullptr);
    ASSERT_NE(WaitForItem(wizard, kIdSummary), nullptr);
    Press(wizard, kIdNext);
    HWND question = WaitForMessageBox(setup.Id(), "Readme.txt");
    ASSERT_NE(question, nullptr);
    EXPECT_NE(GetDlgItem(wizard, kIdProgress), nullptr);
    Press(wizard, kIdCancel);
    HWND confirm = WaitForMessageBox(setup.Id(), "cancel the installation");
    ASSERT_NE(confirm, nullptr);
    PostMessageA(confirm, WM_COMMAND, IDYES, 0);
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    for (int i = 0; i < 400 && ItemText(wizard, kIdTitle) != "Setup Was Interrupted"; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ItemText(wizard, kIdTitle), "Setup Was Interrupted");
    EXPECT_EQ(GetDlgItem(wizard, kIdRunApplication), nullptr);
    Press(wizard, kIdNext);
    EXPECT_EQ(setup.ExitCode(), 1);
    EXPECT_EQ(ReadBytes(appDir + "\\Readme.txt"), "older readme");
    for (const char* gone : {"\\Tool.exe", "\\uninstall.exe", "\\install.log"}) EXPECT_FALSE(Exists(appDir + gone)) << gone;
    EXPECT_FALSE(KeyExists("HKLM", "Software\\QsE2E\\QsE2E Screens"));
    EXPECT_FALSE(Exists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\" + kProduct));
    RemoveScreensLeftovers();
}

TEST(Screens, EveryScreenSwitchedOffInstallsWithOnlyTheProgressWindow) {
    RemoveScreensLeftovers();
    Package package;
    WriteScreensPackage(package, Dialogs(false));
    Running setup("\"" + package.Path("Setup.exe") + "\"");
    std::vector<std::string> seen = setup.ClassesUntilExit();
    EXPECT_EQ(setup.ExitCode(), 0);
    for (const std::string& cls : seen) EXPECT_EQ(cls, "QuillsetProgress");
    const std::string appDir = ShellFolder(CSIDL_PROGRAM_FILES) + "\\" + kProduct;
    EXPECT_EQ(ReadBytes(appDir + "\\Readme.txt"), "Installed readme");
    EXPECT_TRUE(Exists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\" + kProduct + "\\Tool.lnk"));
    // Nothing was started.
    EXPECT_FALSE(Exists(appDir + "\\started.txt"));
    ASSERT_EQ(RunProgram(appDir + "\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(appDir));
    RemoveScreensLeftovers();
}

// Every screen of the installer and the uninstaller, in English and in German.
TEST(Screens, TheFolderScreenShowsTheInstalledVersionWhichIsUpdatedWhereItIs) {
    RemoveScreensLeftovers();
    const std::string red = "C:\\QsE2E Screens Red", entry = std::string(kUninstallKey) + kProduct;
    RemoveFolderTree(red);
    Package earlier;
    earlier.Write(Replace(ScreensScript(Dialogs(false), 0, "200"), "ProductVersion=4.2", "ProductVersion=1.0"),
                  {{"uninstall.exe", ReadBytes(QS_UNINSTALL_EXE)}, {"AppDir\\Tool.exe", ReadBytes(QS_MARKER_APP)},
                   {"AppDir\\Readme.txt", "Installed readme"}});
    ASSERT_EQ(RunProgram(earlier.Path("Setup.exe"), "/S /D=" + red), 0);
    Package package;
    WriteScreensPackage(package, Replace(Dialogs(false), "TargetDirectoryDialog=No", "TargetDirectoryDialog=Yes"));
    Running setup("\"" + package.Path("Setup.exe") + "\" /LANG=English");
    HWND wizard = setup.Window("QuillsetWizard");
    ASSERT_NE(wizard, nullptr);
    ASSERT_NE(WaitForItem(wizard, kIdFolder), nullptr);
    EXPECT_EQ(ItemText(wizard, kIdFolder), red);
    EXPECT_EQ(ItemText(wizard, kIdInstalledHere), "Version 1.0 is installed here and will be updated.");
    Pause("6-folder-update");
    // Another folder: the earlier installation goes once this one is complete.
    SetItemText(wizard, kIdFolder, "C:\\QsE2E Screens Chosen");
    EXPECT_EQ(ItemText(wizard, kIdInstalledHere),
              "Version 1.0 is installed in " + red + ". It will be removed once the installation here is complete.");
    SetItemText(wizard, kIdFolder, red + "\\");
    EXPECT_EQ(ItemText(wizard, kIdInstalledHere), "Version 1.0 is installed here and will be updated.");
    Press(wizard, kIdNext);
    HWND done = WaitForMessageBox(setup.Id(), "has been installed");
    ASSERT_NE(done, nullptr);
    PostMessageA(done, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(setup.ExitCode(), 0);
    EXPECT_EQ(StringValue("HKLM", entry, "DisplayVersion"), "4.2");
    EXPECT_EQ(StringValue("HKLM", entry, "InstallLocation"), red);
    EXPECT_FALSE(Exists(ShellFolder(CSIDL_PROGRAM_FILES) + "\\" + kProduct));
    ASSERT_EQ(RunProgram(red + "\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(red));
    EXPECT_FALSE(KeyExists("HKLM", entry));
    RemoveScreensLeftovers();
}

TEST(Screens, ProgramsThatHoldFilesAreListedAndClosedAutomatically) {
    RemoveScreensLeftovers();
    const std::string appDir = ShellFolder(CSIDL_PROGRAM_FILES) + "\\" + kProduct;
    Package earlier;
    earlier.Write(ScreensScript(Dialogs(false), 0, "200"),
                  {{"uninstall.exe", ReadBytes(QS_UNINSTALL_EXE)}, {"AppDir\\Tool.exe", ReadBytes(QS_HOLDING_APP)},
                   {"AppDir\\Readme.txt", "Installed readme"}});
    ASSERT_EQ(RunProgram(earlier.Path("Setup.exe"), "/S"), 0);
    Running tool("\"" + appDir + "\\Tool.exe\"");
    ASSERT_TRUE(tool.Started());
    ASSERT_NE(tool.Window("QsHoldingApp"), nullptr);
    Package package;
    WriteScreensPackage(package, Replace(Dialogs(false), "TargetDirectoryDialog=No", "TargetDirectoryDialog=Yes"));
    Running setup("\"" + package.Path("Setup.exe") + "\" /LANG=English");
    HWND wizard = setup.Window("QuillsetWizard");
    ASSERT_NE(wizard, nullptr);
    ASSERT_NE(WaitForItem(wizard, kIdFolder), nullptr);
    Press(wizard, kIdNext);
    HWND list = WaitForItem(wizard, kIdProgramsInUse);
    ASSERT_NE(list, nullptr);
    // Read as UTF-16: the list's text crosses from the setup's process into this one.
    wchar_t first[256] = {};
    SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_EQ(std::wstring(first), L"Tool.exe");
    EXPECT_EQ(ItemText(wizard, kIdCloseAutomatically), "Close the programs automatically");
    EXPECT_EQ(IsDlgButtonChecked(wizard, kIdCloseAutomatically), BST_CHECKED);
    EXPECT_EQ(ItemText(wizard, kIdDoNotClose), "Do not close");
    Pause("8b-programs-in-use");
    Press(wizard, kIdNext);
    HWND done = WaitForMessageBox(setup.Id(), "has been installed");
    ASSERT_NE(done, nullptr);
    PostMessageA(done, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(setup.ExitCode(), 0);
    EXPECT_EQ(tool.ExitCode(10000), 0) << "the program was asked to close";
    EXPECT_EQ(ReadBytes(appDir + "\\Tool.exe"), ReadBytes(QS_MARKER_APP));
    EXPECT_FALSE(Exists(appDir + "\\Tool.exe.qs-old"));
    ASSERT_EQ(RunProgram(appDir + "\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(appDir));
    RemoveScreensLeftovers();
}

// The group the user chose for the earlier version is where an update puts its shortcuts, silent
// or on the group screen, which offers it.
TEST(Screens, AnUpdateKeepsTheProgramGroupTheUserChose) {
    RemoveScreensLeftovers();
    const std::string programs = ShellFolder(CSIDL_COMMON_PROGRAMS), chosen = "QsE2E Bildschirme";
    const std::string appDir = ShellFolder(CSIDL_PROGRAM_FILES) + "\\" + kProduct;
    Package package;
    WriteScreensPackage(package, Replace(Dialogs(false), "ProgramGroupDialog=No", "ProgramGroupDialog=Yes"));
    auto installWithGroupScreen = [&](const std::string& shown, const std::string& typed) {
        Running setup("\"" + package.Path("Setup.exe") + "\" /LANG=English");
        HWND wizard = setup.Window("QuillsetWizard");
        ASSERT_NE(wizard, nullptr);
        ASSERT_NE(WaitForItem(wizard, kIdGroup), nullptr);
        EXPECT_EQ(ItemText(wizard, kIdGroup), shown);
        SetItemText(wizard, kIdGroup, typed);
        Press(wizard, kIdNext);
        HWND done = WaitForMessageBox(setup.Id(), "has been installed");
        ASSERT_NE(done, nullptr);
        PostMessageA(done, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(setup.ExitCode(), 0);
    };
    installWithGroupScreen(kProduct, chosen);
    ASSERT_TRUE(Exists(programs + "\\" + chosen + "\\Tool.lnk"));
    ASSERT_EQ(RunProgram(package.Path("Setup.exe"), "/S"), 0);
    EXPECT_TRUE(Exists(programs + "\\" + chosen + "\\Tool.lnk"));
    EXPECT_FALSE(Exists(programs + "\\" + kProduct)) << "the update made the project's own group";
    installWithGroupScreen(chosen, chosen);
    EXPECT_FALSE(Exists(programs + "\\" + kProduct));
    ASSERT_EQ(RunProgram(appDir + "\\uninstall.exe", "/S"), 0);
    EXPECT_TRUE(Disappears(appDir));
    EXPECT_FALSE(Exists(programs + "\\" + chosen));
    RemoveScreensLeftovers();
}

// Goes through every screen of the installer and the uninstaller in English and German, and
// calls `atScreen` with each screen's name and window while it is shown.
void TourEveryScreen(const std::function<void(const std::string&, HWND)>& atScreen) {
    for (const char* language : {"English", "German"}) {
        RemoveScreensLeftovers();
        Package package;
        // The question about an existing readme holds the installation halfway for its photograph.
        WriteScreensPackage(package, Dialogs(true), 5);
        const std::string appDir = ShellFolder(CSIDL_PROGRAM_FILES) + "\\" + kProduct;
        CreateDirectoryA(appDir.c_str(), nullptr);
        WriteTestFile(appDir + "\\Readme.txt", "older readme");
        Running setup("\"" + package.Path("Setup.exe") + "\"");
        const std::string suffix = std::string("-") + language;
        // The splash stays for two seconds; the script waits one before it photographs.
        if (HWND splash = setup.Window("QuillsetSplash")) atScreen("0-splash" + suffix, splash);
        HWND dialog = setup.Window("QuillsetLanguage");
        ASSERT_NE(dialog, nullptr);
        HWND list = GetDlgItem(dialog, kIdLanguageList);
        SendMessageA(list, CB_SETCURSEL,
                     SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(language)), 0);
        atScreen("1-language" + suffix, dialog);
        Press(dialog, IDOK);
        HWND wizard = setup.Window("QuillsetWizard");
        ASSERT_NE(wizard, nullptr);
        const std::pair<int, const char*> pages[] = {{kIdBody, "2-welcome"},   {kIdAccept, "3-license"},
                                                     {kIdReadmeText, "4-readme"}, {kIdUserName, "5-user"},
                                                     {kIdFolder, "6-folder"},   {kIdGroup, "7-group"},
                                                     {kIdSummary, "8-start"}};
        for (const auto& [id, name] : pages) {
            ASSERT_NE(WaitForItem(wizard, id), nullptr) << name;
            if (id == kIdAccept) SendMessageA(GetDlgItem(wizard, kIdAccept), BM_CLICK, 0, 0);
            if (id == kIdUserName) {
                SetItemText(wizard, kIdUserName, "Erika Muster");
                SetItemText(wizard, kIdCompany, "Muster GmbH");
            }
            atScreen(name + suffix, wizard);
            Press(wizard, kIdNext);
        }
        HWND question = WaitForMessageBox(setup.Id(), "Readme.txt");
        ASSERT_NE(question, nullptr);
        atScreen("9-progress" + suffix, wizard);
        PostMessageA(question, WM_COMMAND, IDYES, 0);
        ASSERT_NE(WaitForItem(wizard, kIdRunApplication), nullptr);
        atScreen("10-finish" + suffix, wizard);
        SendMessageA(GetDlgItem(wizard, kIdViewReadme), BM_CLICK, 0, 0);
        SendMessageA(GetDlgItem(wizard, kIdRunApplication), BM_CLICK, 0, 0);
        Press(wizard, kIdNext);
        ASSERT_EQ(setup.ExitCode(), 0);
        Running uninstall("\"" + appDir + "\\uninstall.exe\"");
        HWND confirm = uninstall.Window("QuillsetWizard");
        ASSERT_NE(confirm, nullptr);
        ASSERT_NE(WaitForItem(confirm, kIdBody), nullptr);
        atScreen("11-uninstall" + suffix, confirm);
        Press(confirm, kIdNext);
        std::string removed = std::string(language) == "German" ? "Deinstallation abgeschlossen" : "Uninstall Complete";
        for (int i = 0; i < 600 && ItemText(confirm, kIdTitle) != removed; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        atScreen("12-uninstalled" + suffix, confirm);
        Press(confirm, kIdNext);
        EXPECT_EQ(uninstall.ExitCode(), 0);

        // The scope screen with both choices and the reason why only all users are offered.
        Package scopePackage;
        WriteScopePackage(scopePackage, ",AppDir\\Readme.txt,%WinSysDir%\\QsE2E Screens.txt,1,0\n");
        {
            Running scope("\"" + scopePackage.Path("Setup.exe") + "\" /LANG=" + language);
            HWND scopeWizard = scope.Window("QuillsetWizard");
            ASSERT_NE(scopeWizard, nullptr);
            ASSERT_NE(WaitForItem(scopeWizard, kIdBody), nullptr);
            Press(scopeWizard, kIdNext);
            ASSERT_NE(WaitForItem(scopeWizard, kIdScopeNote), nullptr);
            atScreen("13-scope" + suffix, scopeWizard);
        }  // ended before it changes anything

        // Without screens, the small progress window, held by the question about the readme.
        Package quiet;
        WriteScreensPackage(quiet, Dialogs(false), 5);
        WriteTestFile(appDir + "\\Readme.txt", "older readme");
        Running progress("\"" + quiet.Path("Setup.exe") + "\" /LANG=" + language);
        HWND window = progress.Window("QuillsetProgress");
        ASSERT_NE(window, nullptr);
        HWND readme = WaitForMessageBox(progress.Id(), "Readme.txt");
        ASSERT_NE(readme, nullptr);
        atScreen("14-progress-window" + suffix, window);
        PostMessageA(readme, WM_COMMAND, IDYES, 0);
        EXPECT_EQ(progress.ExitCode(), 0);
        EXPECT_EQ(RunProgram(appDir + "\\uninstall.exe", "/S"), 0);

        // An update whose files a running program holds.
        Package earlier;
        earlier.Write(ScreensScript(Dialogs(false), 0, "200"),
                      {{"uninstall.exe", ReadBytes(QS_UNINSTALL_EXE)}, {"AppDir\\Tool.exe", ReadBytes(QS_HOLDING_APP)},
                       {"AppDir\\Readme.txt", "Installed readme"}});
        ASSERT_EQ(RunProgram(earlier.Path("Setup.exe"), "/S"), 0);
        {
            Running tool("\"" + appDir + "\\Tool.exe\"");
            ASSERT_NE(tool.Window("QsHoldingApp"), nullptr);
            Package update;
            WriteScreensPackage(update, Replace(Dialogs(false), "TargetDirectoryDialog=No", "TargetDirectoryDialog=Yes"));
            Running setup("\"" + update.Path("Setup.exe") + "\" /LANG=" + language);
            HWND updating = setup.Window("QuillsetWizard");
            ASSERT_NE(updating, nullptr);
            ASSERT_NE(WaitForItem(updating, kIdFolder), nullptr);
            Press(updating, kIdNext);
            ASSERT_NE(WaitForItem(updating, kIdProgramsInUse), nullptr);
            atScreen("15-programs-in-use" + suffix, updating);
        }  // the update and the program ended before anything was replaced
        EXPECT_EQ(RunProgram(appDir + "\\uninstall.exe", "/S"), 0) << appDir << " holds " << FolderListing(appDir);
    }
    RemoveScreensLeftovers();
}

TEST(Screens, DISABLED_ScreenTour) {
    TourEveryScreen([](const std::string& name, HWND) { Pause(name); });
}

// Run by tests/e2e/layout_test.sh once per display scale, in a prefix of its own whose
// LogPixels it sets and passes on in QS_LAYOUT_DPI: every control of every screen, in English
// and German, shows its whole text, inside its window and beside the others.
TEST(Layout, EveryScreenFitsItsTextsAtTheDisplayScale) {
    const char* expected = std::getenv("QS_LAYOUT_DPI");
    ASSERT_NE(expected, nullptr) << "run through tests/e2e/layout_test.sh";
    int screens = 0;
    TourEveryScreen([&](const std::string& name, HWND window) {
        unsigned dpi = 0;
        const std::vector<std::string> faults = ProbeLayout(window, dpi, QS_LAYOUT_PROBE_DLL);
        EXPECT_EQ(dpi, static_cast<unsigned>(std::atoi(expected))) << name;
        for (const std::string& fault : faults) ADD_FAILURE() << name << ": " << fault;
        ++screens;
    });
    EXPECT_GE(screens, 30);
}

}  // namespace
