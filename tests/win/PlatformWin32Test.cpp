// The Windows wrappers that the builder and the installer programs share: the registry key and
// the progress runner, against the real registry and a real window.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/ProgressRunner.h"
#include "platform/win32/RegistryKey.h"

namespace {

const char kTestKey[] = "Software\\QsWin32Test";

TEST(RegistryKeyTest, CreatesOpensAndKeepsValuesByteForByte) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    RegistryKey key;
    DWORD type = 0, subkeys = 9, values = 9;
    std::string data;
    // Nothing open: every call fails without touching the registry.
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(key.SetValue("a", REG_SZ, "x"));
    EXPECT_FALSE(key.QueryValue("a", type, data));
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, kTestKey, KEY_READ));

    bool created = false;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Sub", KEY_ALL_ACCESS, "Quillset", &created));
    EXPECT_TRUE(created);
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kTestKey, KEY_ALL_ACCESS, nullptr, &created));
    EXPECT_FALSE(created);  // made with its subkey already
    const std::string binary("\x00\x01\xFF", 3);
    EXPECT_TRUE(key.SetValue("text", REG_SZ, "no zero"));
    EXPECT_TRUE(key.SetValue("bytes", REG_BINARY, binary));
    EXPECT_TRUE(key.SetValue("", REG_SZ, std::string("default\0", 8)));
    ASSERT_TRUE(key.QueryInfoKey(subkeys, values));
    EXPECT_EQ(subkeys, 1u);
    EXPECT_EQ(values, 3u);

    RegistryKey reader;
    ASSERT_TRUE(reader.Open(HKEY_CURRENT_USER, kTestKey, KEY_READ));
    ASSERT_TRUE(reader.QueryValue("bytes", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(data, binary);
    // The system may hand a text back with a zero that it was stored without.
    ASSERT_TRUE(reader.QueryValue("text", type, data));
    EXPECT_EQ(std::string(data.c_str()), "no zero");
    ASSERT_TRUE(reader.QueryValue("", type, data));
    EXPECT_EQ(data, std::string("default\0", 8));
    EXPECT_FALSE(reader.QueryValue("missing", type, data));

    EXPECT_TRUE(key.DeleteValue("bytes"));
    EXPECT_FALSE(key.DeleteValue("bytes"));
    EXPECT_FALSE(reader.QueryValue("bytes", type, data));
    // A key with a subkey stays; without it, it goes.
    EXPECT_FALSE(DeleteRegistryKey(HKEY_CURRENT_USER, kTestKey, 0));
    EXPECT_TRUE(DeleteRegistryKey(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Sub", 0));
    reader.Close();
    key.Close();
    EXPECT_FALSE(key.IsOpen());
    EXPECT_TRUE(DeleteRegistryKey(HKEY_CURRENT_USER, kTestKey, 0));
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, kTestKey, KEY_READ));
}

// A window whose procedure hands its messages to the runner first, and answers kAskMessage.
constexpr UINT kAskMessage = WM_APP + 20;
ProgressRunner* theRunner = nullptr;

LRESULT CALLBACK RunnerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (theRunner && theRunner->OnMessage(message, wParam)) return 0;
    if (message == kAskMessage) return static_cast<LRESULT>(wParam) * 2;
    return DefWindowProcA(window, message, wParam, lParam);
}

// On a thread of its own, whose message queue no other test has left anything in.
void RunWindowAndWork() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RunnerWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QsRunnerTest";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "QsRunnerTest", "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);

    const DWORD windowThread = GetCurrentThreadId();
    std::vector<int> shown;
    std::string lastText;
    bool allOnWindowThread = true;
    ProgressRunner runner([&](int permille, const std::string& text) {
        shown.push_back(permille);
        lastText = text;
        allOnWindowThread = allOnWindowThread && GetCurrentThreadId() == windowThread;
    });
    theRunner = &runner;
    // Reports faster than the window takes them travel as one message that shows the latest.
    runner.SetProgress(window, 0, "first");
    runner.SetProgress(window, 100, "before");
    MSG msg;
    int messages = 0;
    while (PeekMessageA(&msg, window, ProgressRunner::kProgressMessage, ProgressRunner::kProgressMessage, PM_REMOVE)) {
        ++messages;
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(messages, 1);
    EXPECT_EQ(shown, std::vector<int>{100});
    EXPECT_EQ(lastText, "before");
    runner.SetProgress(window, 200, "pending");  // shown once the work's messages are pumped
    bool runningDuringWork = false;
    EXPECT_FALSE(runner.Running());
    int result = runner.Run(window, [&] {
        runningDuringWork = runner.Running();
        for (int step = 1; step <= 4; ++step) runner.SetProgress(window, step * 250, "step " + std::to_string(step));
        // Only a window that keeps answering can reply to a message sent from this thread.
        return static_cast<int>(SendMessageA(window, kAskMessage, 21, 0));
    });
    theRunner = nullptr;
    EXPECT_EQ(result, 42);
    EXPECT_TRUE(runningDuringWork);
    EXPECT_FALSE(runner.Running());
    // However the two threads met, the window went forward and showed the last report last.
    ASSERT_GE(shown.size(), 2u);
    EXPECT_LE(shown.size(), 6u);
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    EXPECT_EQ(shown.back(), 1000);
    EXPECT_EQ(lastText, "step 4");
    EXPECT_TRUE(allOnWindowThread);
    DestroyWindow(window);
}

TEST(ProgressRunnerTest, TheWindowAnswersWhileTheWorkRunsAndShowsItsProgressOnItsOwnThread) {
    std::thread(RunWindowAndWork).join();
}

}  // namespace
