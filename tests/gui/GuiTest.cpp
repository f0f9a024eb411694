// Quillset.exe under test in a real window: started, driven and closed from this process.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <string>

#include "BuilderTest.h"
#include "RemoteControls.h"
#include "resource.h"

namespace {

constexpr DWORD kSecondInstanceExit = static_cast<DWORD>(-1);

std::string LanguageText(const ProgramFolder& folder, const char* language, const char* section, const char* key) {
    char text[512] = "";
    std::string file = folder.Path() + "\\LanguageSets\\Builder\\" + language + ".dat";
    GetPrivateProfileStringA(section, key, "", text, sizeof text, file.c_str());
    return text;
}

std::string ReadSetting(HKEY root, const char* key, const char* name, DWORD* size = nullptr) {
    char value[512] = "";
    DWORD length = sizeof value;
    HKEY opened;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return "<no key>";
    LONG result = RegQueryValueExA(opened, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &length);
    RegCloseKey(opened);
    if (size) *size = length;
    return result == ERROR_SUCCESS ? std::string(value, strnlen(value, length)) : "<no value>";
}

class GuiTest : public BuilderTest {
protected:
    // The folder that the system's file dialog of the builder shows.
    static std::string FileDialogFolder(const BuilderProcess& builder, HWND dialog) {
        RemoteBuffer remote(builder.Id(), MAX_PATH);
        SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, remote.Param());
        char folder[MAX_PATH] = "";
        remote.Read(folder, MAX_PATH);
        folder[MAX_PATH - 1] = '\0';
        return folder;
    }

    void Close(BuilderProcess& builder) {
        PostMessageA(builder.Main(), WM_CLOSE, 0, 0);
        EXPECT_EQ(builder.WaitForExit(), 0u);
    }
};

TEST_F(GuiTest, WelcomeStartsNewProjectsNumberedInTurn) {
    BuilderProcess builder;
    // A click on a choice's text chooses it, as one on its icon does.
    ASSERT_TRUE(builder.Start(folder_.Executable()));
    ASSERT_TRUE(builder.WaitForMainWindow());
    HWND welcome = builder.WaitForDialog(LanguageText(folder_, "English", "WELCOME_DIALOG", "0"));
    ASSERT_NE(welcome, nullptr);
    // A builder without an installed example offers none.
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(welcome, IDC_WELCOME_TEXT4)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(welcome, CMD_OPEN_EXAMPLE)));
    HWND text = GetDlgItem(welcome, IDC_WELCOME_TEXT2);
    SendMessageA(text, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageA(text, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(welcome); })) << "the text of New Project does not react";
    const std::string word = LanguageText(folder_, "English", "STRINGS", "2");
    ASSERT_FALSE(word.empty());
    EXPECT_TRUE(builder.WaitForTitle("Quillset - [" + word + "-1]")) << builder.Title();
    builder.Command(ID_FILE_NEW);
    EXPECT_TRUE(builder.WaitForTitle("Quillset - [" + word + "-2]")) << builder.Title();
    EXPECT_EQ(WindowText(GetDlgItem(builder.Main(), ID_STATUS_BAR)), "Quillset 1.0");
    builder.Command(ID_FILE_CLOSE);
    EXPECT_TRUE(builder.WaitForTitle("Quillset")) << builder.Title();
    Close(builder);
}

TEST_F(GuiTest, SaveAsWritesTheFileOpenReadsItAndASecondInstanceHandsItOver) {
    const std::string project = folder_.Path() + "\\Hand over.qsp";
    BuilderProcess builder;
    ASSERT_NO_FATAL_FAILURE(StartPastWelcome(builder));
    builder.Command(ID_FILE_NEW);
    ASSERT_TRUE(WaitFor([&] { return builder.Title() != "Quillset"; }));
    builder.Command(ID_FILE_SAVE_AS);
    HWND save = builder.WaitForDialog();
    ASSERT_NE(save, nullptr);
    char documents[MAX_PATH] = "";
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents), S_OK);
    EXPECT_EQ(FileDialogFolder(builder, save), documents) << "a new project is saved into the user's Documents";
    ChooseInFileDialog(save, project);
    ASSERT_TRUE(builder.WaitForTitle("Quillset - [Hand over]")) << builder.Title();
    EXPECT_NE(GetFileAttributesA(project.c_str()), INVALID_FILE_ATTRIBUTES);
    builder.Command(ID_FILE_SAVE_AS);
    save = builder.WaitForDialog();
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(FileDialogFolder(builder, save), folder_.Path()) << "a saved project is saved again beside itself";
    PressButton(save, IDCANCEL);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(save); }));

    builder.Command(ID_FILE_CLOSE);
    ASSERT_TRUE(builder.WaitForTitle("Quillset"));
    builder.Command(ID_FILE_OPEN);
    HWND open = builder.WaitForDialog();
    ASSERT_NE(open, nullptr);
    ChooseInFileDialog(open, project);
    ASSERT_TRUE(builder.WaitForTitle("Quillset - [Hand over]")) << builder.Title();

    builder.Command(ID_FILE_CLOSE);
    ASSERT_TRUE(builder.WaitForTitle("Quillset"));
    BuilderProcess second;
    ASSERT_TRUE(second.Start(folder_.Executable(), "\"" + project + "\""));
    EXPECT_EQ(second.WaitForExit(), kSecondInstanceExit);
    EXPECT_TRUE(builder.WaitForTitle("Quillset - [Hand over]")) << builder.Title();

    BuilderProcess third;
    ASSERT_TRUE(third.Start(folder_.Executable()));
    EXPECT_EQ(third.WaitForExit(), kSecondInstanceExit);
    EXPECT_EQ(builder.Title(), "Quillset - [Hand over]");
    Close(builder);
}

TEST_F(GuiTest, LanguageAndPlacementSurviveARestart) {
    // The status bar shows a menu item's hint in the language in use.
    auto hint = [](const std::string& text) { return text.substr(text.find('|') + 1); };
    const std::string english = hint(LanguageText(folder_, "English", "STRINGS", "1020"));
    const std::string german = hint(LanguageText(folder_, "German", "STRINGS", "1020"));
    ASSERT_FALSE(german.empty());
    ASSERT_NE(english, german);
    {
        BuilderProcess builder;
        ASSERT_NO_FATAL_FAILURE(StartPastWelcome(builder));
        EXPECT_EQ(builder.MenuHint(ID_FILE_NEW), english);
        builder.Command(ID_LANGUAGE_FIRST + 1);  // English, German: German is the second language
        EXPECT_TRUE(WaitFor([&] { return builder.MenuHint(ID_FILE_NEW) == german; })) << builder.MenuHint(ID_FILE_NEW);
        SetWindowPos(builder.Main(), nullptr, 100, 80, 700, 500, SWP_NOZORDER);
        Close(builder);
    }
    DWORD size = 0;
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, kSettingsKey, "language"), "German");
    ReadSetting(HKEY_CURRENT_USER, kSettingsKey, "placement", &size);
    EXPECT_EQ(size, 44u);

    BuilderProcess builder;
    ASSERT_TRUE(builder.Start(folder_.Executable()));
    ASSERT_TRUE(builder.WaitForMainWindow());
    HWND welcome = builder.WaitForDialog(LanguageText(folder_, "German", "WELCOME_DIALOG", "0"));
    ASSERT_NE(welcome, nullptr);
    PressButton(welcome, IDCANCEL);
    EXPECT_EQ(builder.MenuHint(ID_FILE_NEW), german);
    RECT rect{};
    GetWindowRect(builder.Main(), &rect);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.top, 80);
    EXPECT_EQ(rect.right - rect.left, 700);
    EXPECT_EQ(rect.bottom - rect.top, 500);
    Close(builder);
}

TEST_F(GuiTest, EveryStartRegistersProjectFilesWithTheProgramQuoted) {
    BuilderProcess builder;
    ASSERT_NO_FATAL_FAILURE(StartPastWelcome(builder));
    const std::string program = "\"" + folder_.Executable() + "\"";
    EXPECT_EQ(ReadSetting(HKEY_CLASSES_ROOT, ".qsp", nullptr), "Quillset.Project");
    EXPECT_EQ(ReadSetting(HKEY_CLASSES_ROOT, "Quillset.Project\\DefaultIcon", nullptr), program + ",10");
    EXPECT_EQ(ReadSetting(HKEY_CLASSES_ROOT, "Quillset.Project\\shell\\open\\command", nullptr), program + " \"%1\"");
    Close(builder);
}

TEST_F(GuiTest, TheBuildOptionsKeepTheSigningCommandThatOkStoresAndCancelLeaves) {
    const std::string title = LanguageText(folder_, "English", "BUILD_OPTIONS_DIALOG", "0");
    const std::string command = "C:\\Tools\\sign.cmd /key \"C:\\Keys\\My key.pfx\" {file}";
    BuilderProcess builder;
    ASSERT_NO_FATAL_FAILURE(StartPastWelcome(builder));
    auto open = [&] {
        builder.Command(ID_OPTIONS_BUILD);
        return builder.WaitForDialog(title);
    };
    auto leave = [&](HWND dialog, int button) {
        PressButton(dialog, button);
        return WaitFor([&] { return !IsWindow(dialog); });
    };

    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_SIGN_COMMAND)), "");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_SIGN_COMMAND_HINT)),
              LanguageText(folder_, "English", "BUILD_OPTIONS_DIALOG", "2"));
    Type(dialog, IDC_SIGN_COMMAND, command);
    ASSERT_TRUE(leave(dialog, IDC_OK));
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, kSettingsKey, "signCommand"), command);

    dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_SIGN_COMMAND)), command);
    Type(dialog, IDC_SIGN_COMMAND, "changed {file}");
    ASSERT_TRUE(leave(dialog, IDCANCEL));
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, kSettingsKey, "signCommand"), command);

    // An emptied field turns signing off.
    dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_SIGN_COMMAND)), command);
    Type(dialog, IDC_SIGN_COMMAND, "");
    ASSERT_TRUE(leave(dialog, IDC_OK));
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, kSettingsKey, "signCommand"), "");
    Close(builder);
}

// What the file holds and the project does not read is told once, in one message, before the
// project shows; a file that is no project is refused with the reason.
TEST_F(GuiTest, OpeningAProjectTellsItsUnreadLinesOnceAndRefusesANonProject) {
    const std::string damaged = folder_.Path() + "\\Damaged.qsp";
    HANDLE file = CreateFileA(damaged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const char text[] = "[GENERAL_INFO]\nProductName=Damaged\nProdcutVersion=2.0\n[APPLICATION_FILES]\nFile=%AppDir%\\a.txt,a";
    DWORD written = 0;
    WriteFile(file, text, sizeof text - 1, &written, nullptr);
    CloseHandle(file);
    BuilderProcess builder;
    ASSERT_TRUE(builder.Start(folder_.Executable(), "\"" + damaged + "\""));
    ASSERT_TRUE(builder.WaitForMainWindow());
    HWND report = builder.WaitForDialog(LanguageText(folder_, "English", "STRINGS", "0"));
    ASSERT_NE(report, nullptr);
    const std::string message = WindowText(GetDlgItem(report, 0xFFFF));
    EXPECT_NE(message.find("Damaged.qsp line 3: unknown key ProdcutVersion= in [GENERAL_INFO]"), std::string::npos) << message;
    EXPECT_NE(message.find("Damaged.qsp line 5: the last line has no line end"), std::string::npos) << message;
    PressButton(report, IDOK);
    EXPECT_TRUE(builder.WaitForTitle("Quillset - [Damaged]")) << builder.Title();
    Close(builder);

    const std::string empty = folder_.Path() + "\\Empty.qsp";
    CloseHandle(CreateFileA(empty.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    BuilderProcess second;
    ASSERT_TRUE(second.Start(folder_.Executable(), "\"" + empty + "\""));
    ASSERT_TRUE(second.WaitForMainWindow());
    report = second.WaitForDialog(LanguageText(folder_, "English", "STRINGS", "0"));
    ASSERT_NE(report, nullptr);
    EXPECT_NE(WindowText(GetDlgItem(report, 0xFFFF)).find("Empty.qsp is not a Quillset project: the file is empty"),
              std::string::npos);
    PressButton(report, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(report); }));
    EXPECT_EQ(second.Title(), "Quillset");
    Close(second);
}

TEST_F(GuiTest, AProjectThatCannotBeOpenedIsReportedAndTheBuilderGoesOn) {
    BuilderProcess builder;
    ASSERT_TRUE(builder.Start(folder_.Executable(), "\"" + folder_.Path() + "\\Missing.qsp\""));
    ASSERT_TRUE(builder.WaitForMainWindow());
    HWND report = builder.WaitForDialog(LanguageText(folder_, "English", "STRINGS", "0"));
    ASSERT_NE(report, nullptr);
    EXPECT_NE(WindowText(GetDlgItem(report, 0xFFFF)).find("Missing.qsp"), std::string::npos);
    PressButton(report, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(report); }));
    EXPECT_EQ(builder.Title(), "Quillset");
    Close(builder);
}

TEST(GuiStartTest, WithoutSetupLanguagesTheBuilderSaysSoAndEndsKeepingTheUsersLanguage) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "language", 0, REG_SZ, reinterpret_cast<const BYTE*>("German"), 6);
    RegCloseKey(key);
    ProgramFolder folder(false);
    BuilderProcess builder;
    ASSERT_TRUE(builder.Start(folder.Executable()));
    HWND message = builder.WaitForDialog("Application Error");
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(message, 0xFFFF)),
              "Can't find setup language files. Please reinstall the application.");
    PressButton(message, IDOK);
    EXPECT_EQ(builder.WaitForExit(), kSecondInstanceExit);
    EXPECT_EQ(FindWindowA("KVQuillset", nullptr), nullptr);
    EXPECT_EQ(ReadSetting(HKEY_CURRENT_USER, kSettingsKey, "language"), "German");
}

}  // namespace
