// The message loop's idle passes.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "ui/ApplicationBase.h"

namespace {

// Drives its own loop from its idle passes: a mouse move at pass 2, a plain message at pass 3,
// and the end at pass 1 of the next round.
class ScriptedApplication : public ApplicationBase {
public:
    bool OnIdle(int pass) override {
        passes.push_back(pass);
        if (passes.size() == 3) PostThreadMessageA(GetCurrentThreadId(), WM_MOUSEMOVE, 0, 0);
        if (passes.size() == 4) PostThreadMessageA(GetCurrentThreadId(), WM_USER + 5, 0, 0);
        if (passes.size() == 6) PostQuitMessage(5);
        return true;
    }
    bool PreTranslateMessage(MSG& message) override {
        seen.push_back(message.message);
        return message.message == WM_USER + 5;
    }
    int ExitInstance() override {
        ++exits;
        return 0;
    }

    std::vector<int> passes;
    std::vector<UINT> seen;
    int exits = 0;
};

class OneIdlePass : public ApplicationBase {
public:
    bool OnIdle(int pass) override {
        passes.push_back(pass);
        PostQuitMessage(0);
        return false;
    }
    std::vector<int> passes;
};

// Starts from an empty queue: windows of earlier tests may have left messages, a quit among them.
class MessageLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
};

TEST_F(MessageLoopTest, MouseMovesKeepTheIdleCountOtherMessagesStartItAgain) {
    ScriptedApplication application;
    EXPECT_EQ(application.Run(), 5) << "the quit message's code";
    EXPECT_EQ(application.passes, (std::vector<int>{0, 1, 2, 3, 0, 1}));
    EXPECT_EQ(application.seen, (std::vector<UINT>{WM_MOUSEMOVE, WM_USER + 5}));
    EXPECT_EQ(application.exits, 1);
}

TEST_F(MessageLoopTest, NoMoreIdlePassesOnceTheApplicationDeclines) {
    OneIdlePass application;
    EXPECT_EQ(application.Run(), 0);
    EXPECT_EQ(application.passes, std::vector<int>{0});
    EXPECT_TRUE(IsRepeatingMessage(WM_PAINT));
    EXPECT_TRUE(IsRepeatingMessage(0x118));
    EXPECT_FALSE(IsRepeatingMessage(WM_COMMAND));
}

}  // namespace
