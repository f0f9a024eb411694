#include "BuilderTest.h"

#include "resource.h"

#include "RemoteControls.h"

void BuilderTest::SetUp() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    projectFolder_ = folder_.Path() + "\\Demo Project";
    CopyFolder(QS_EXAMPLE, projectFolder_);
    RemoveFolder(projectFolder_ + "\\output");
    project_ = projectFolder_ + "\\Demo.qsp";
}

void BuilderTest::TearDown() {
    if (builder_.Main() && IsWindow(builder_.Main())) CloseDiscarding(builder_);
}

void BuilderTest::OpenExample(BuilderProcess& builder) {
    ASSERT_TRUE(builder.Start(folder_.Executable(), "\"" + project_ + "\""));
    ASSERT_TRUE(builder.WaitForMainWindow());
    ASSERT_TRUE(builder.WaitForTitle("Quillset - [Demo]")) << builder.Title();
}

void BuilderTest::StartPastWelcome(BuilderProcess& builder, int button) {
    ASSERT_TRUE(builder.Start(folder_.Executable()));
    ASSERT_TRUE(builder.WaitForMainWindow());
    HWND welcome = builder.WaitForDialog(builder.LanguageText("English", "WELCOME_DIALOG", "0"));
    ASSERT_NE(welcome, nullptr);
    PressButton(welcome, button);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(welcome); }));
}

HWND BuilderTest::ShowForm(BuilderProcess& builder, UINT command, int controlId) {
    builder.Command(command);
    return builder.WaitForForm(controlId);
}

HWND BuilderTest::ShowPage(UINT command, int page) {
    builder_.Command(command);
    HWND window = nullptr;
    return WaitFor([&] { return IsWindowVisible(window = PageWindow(builder_.Main(), page)) != FALSE; }) ? window
                                                                                                         : nullptr;
}

bool BuilderTest::ToolbarEnabled(const BuilderProcess& builder, UINT command) {
    PostMessageA(builder.Main(), WM_NULL, 0, 0);
    Sleep(100);
    return SendMessageA(GetDlgItem(builder.Main(), ID_TOOLBAR), TB_ISBUTTONENABLED, command, 0) != 0;
}

DWORD CloseDiscarding(BuilderProcess& builder) {
    PostMessageA(builder.Main(), WM_CLOSE, 0, 0);
    HWND prompt = nullptr;
    WaitFor([&] { return (prompt = builder.FindDialog("Quillset")) != nullptr || builder.HasEnded(); });
    if (prompt) PressButton(prompt, CMD_SAVE_NO);
    return builder.WaitForExit();
}
