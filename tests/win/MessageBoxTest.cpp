// The builder's message boxes as the user meets them: caption, text, buttons, the default answer
// and the owner, read and answered from a second thread while the box waits.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "editor/MessageBox.h"
#include "lang/UiTextSource.h"

namespace {

// The caption of the messages in a language of its own; every other text is not asked for.
class CaptionTexts : public UiTextSource {
public:
    std::string UiText(TextKey key) const override {
        const TextKey caption = TextKeys::kMessageCaption;
        const bool isCaption = std::strcmp(key.Section(), caption.Section()) == 0 && key.Number() == caption.Number();
        return isCaption ? "Quillsatz" : "not the caption";
    }
};

struct SeenBox {
    HWND box = nullptr;
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    bool yes = false;
    bool no = false;
    bool ok = false;
    int defaultButton = 0;
    int focused = 0;
};

BOOL CALLBACK FindBox(HWND window, LPARAM data) {
    auto* seen = reinterpret_cast<SeenBox*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || std::strcmp(className, "#32770") != 0)
        return TRUE;
    seen->box = window;
    return FALSE;
}

// Shows a box with `show` on this thread while a second one reads it and presses `button`.
SeenBox ShowAndAnswer(const std::function<bool()>& show, int button, bool& answer) {
    SeenBox seen;
    std::thread reader([&] {
        for (int tries = 0; tries < 1500 && !seen.box; ++tries) {
            EnumWindows(FindBox, reinterpret_cast<LPARAM>(&seen));
            if (!seen.box) Sleep(10);
        }
        if (!seen.box) return;
        char text[512] = "";
        GetWindowTextA(seen.box, text, sizeof text);
        seen.caption = text;
        GetDlgItemTextA(seen.box, 0xFFFF, text, sizeof text);
        seen.text = text;
        seen.owner = GetWindow(seen.box, GW_OWNER);
        seen.yes = GetDlgItem(seen.box, IDYES) != nullptr;
        seen.no = GetDlgItem(seen.box, IDNO) != nullptr;
        seen.ok = GetDlgItem(seen.box, IDOK) != nullptr;
        // The default button is the one drawn as such; Enter presses it, and it has the focus.
        for (int id : {IDOK, IDYES, IDNO})
            if (HWND button = GetDlgItem(seen.box, id))
                if ((GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) seen.defaultButton = id;
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(seen.box, nullptr), &thread) && thread.hwndFocus)
            seen.focused = GetDlgCtrlID(thread.hwndFocus);
        PostMessageA(seen.box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    });
    answer = show();
    reader.join();
    return seen;
}

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A quit message that an earlier test's main window left would end the boxes at once.
        MSG quit;
        while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        owner_ = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { DestroyWindow(owner_); }

    HWND owner_ = nullptr;
    CaptionTexts texts_;
};

TEST_F(MessageBoxTest, QuestionsOfferYesAndNoAndARiskyOneHasNoAsItsDefault) {
    bool answer = false;
    SeenBox seen = ShowAndAnswer([&] { return ShowMessage(owner_, "Remove it?", texts_, MessageKind::Question); },
                                 IDYES, answer);
    ASSERT_NE(seen.box, nullptr);
    EXPECT_TRUE(answer);
    EXPECT_EQ(seen.caption, "Quillsatz") << "the caption of the language's messages";
    EXPECT_EQ(seen.text, "Remove it?");
    EXPECT_EQ(seen.owner, owner_);
    EXPECT_TRUE(seen.yes && seen.no);
    EXPECT_FALSE(seen.ok);
    EXPECT_EQ(seen.defaultButton, IDYES);
    EXPECT_EQ(seen.focused, IDYES);

    seen = ShowAndAnswer([&] { return ShowMessage(owner_, "Delete them?", texts_, MessageKind::RiskyQuestion); },
                         IDNO, answer);
    ASSERT_NE(seen.box, nullptr);
    EXPECT_FALSE(answer);
    EXPECT_TRUE(seen.yes && seen.no);
    EXPECT_EQ(seen.defaultButton, IDNO) << "Enter keeps what Yes would give up";
    EXPECT_EQ(seen.focused, IDNO);
}

TEST_F(MessageBoxTest, ReportsHaveOnlyOkUnderTheirCaptionWithOrWithoutAnOwner) {
    for (MessageKind kind : {MessageKind::Information, MessageKind::Warning, MessageKind::Error}) {
        bool answer = false;
        SeenBox seen = ShowAndAnswer([&] { return ShowMessage(owner_, "Saved.", texts_, kind); }, IDOK, answer);
        ASSERT_NE(seen.box, nullptr);
        EXPECT_TRUE(answer);
        EXPECT_EQ(seen.caption, "Quillsatz");
        EXPECT_EQ(seen.owner, owner_);
        EXPECT_TRUE(seen.ok);
        EXPECT_FALSE(seen.yes || seen.no);
    }
    bool answer = false;
    SeenBox seen = ShowAndAnswer(
        [&] { return ShowMessage(nullptr, "Couldn't start", "Application Error", MessageKind::Error); }, IDOK, answer);
    ASSERT_NE(seen.box, nullptr);
    EXPECT_EQ(seen.caption, "Application Error");
    EXPECT_EQ(seen.text, "Couldn't start");
    EXPECT_EQ(seen.owner, nullptr);
}

}  // namespace
