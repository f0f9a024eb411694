// The shared window procedure against a window system without a screen.
#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "platform/AppMessages.h"
#include "ui/Window.h"

namespace {

// Records what reached it; answers as told.
class RecordingWindow : public ChildWindow {
public:
    bool OnCreate() override { return createAnswer; }
    bool OnClose() override { return closeAnswer; }
    bool OnCommand(UINT id, LPARAM extra) override {
        commands.push_back({id, extra});
        return commandAnswer;
    }
    bool OnAppMessage(UINT message, LPARAM extra) override {
        messages.push_back({message, extra});
        return messageAnswer;
    }
    bool OnNotify(int controlId, NMHDR*, LRESULT& result) override {
        notifiedId = controlId;
        result = 77;
        return notifyAnswer;
    }
    void OnMouseDrag(WPARAM, LPARAM point) override { drags.push_back(point); }
    void OnMouseMove(WPARAM, LPARAM point) override { moves.push_back(point); }
    bool OnContextMenu(HWND, int x, int y) override {
        menuAt = POINT{x, y};
        return true;
    }

    bool createAnswer = true, closeAnswer = true, commandAnswer = false, notifyAnswer = true, messageAnswer = false;
    std::vector<std::pair<UINT, LPARAM>> commands, messages;
    std::vector<LPARAM> drags, moves;
    int notifiedId = 0;
    POINT menuAt{};
};

class DispatchTest : public ::testing::Test {
protected:
    // Delivers the create message as the system does inside CreateWindowEx.
    LRESULT Create(HWND window, RecordingWindow& object) {
        CREATESTRUCTA create{};
        create.lpCreateParams = &object;
        return WindowProcedure(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create));
    }

    FakePlatform platform_;
    HWND parent_ = platform_.MakeWindow();
    HWND child_ = platform_.MakeWindow(parent_);
    RecordingWindow object_;
};

TEST_F(DispatchTest, CreationBindsTheObjectOrFailsLeavingTheSlotEmpty) {
    EXPECT_EQ(Create(child_, object_), 0);
    EXPECT_EQ(object_.Handle(), child_);
    EXPECT_EQ(platform_.GetUserData(child_), reinterpret_cast<LONG_PTR>(&object_));

    RecordingWindow refusing;
    refusing.createAnswer = false;
    HWND other = platform_.MakeWindow(parent_);
    EXPECT_EQ(Create(other, refusing), -1);
    EXPECT_FALSE(refusing.HasWindow());
    EXPECT_EQ(platform_.GetUserData(other), 0);
}

TEST_F(DispatchTest, UnhandledCommandsRiseToTheParentUnchanged) {
    Create(child_, object_);
    EXPECT_EQ(WindowProcedure(child_, WM_COMMAND, MAKEWPARAM(32867, 1), 0x4242), 0);
    ASSERT_EQ(object_.commands.size(), 1u);
    EXPECT_EQ(object_.commands[0].first, 32867u);
    EXPECT_EQ(object_.commands[0].second, 0x4242);
    ASSERT_EQ(platform_.sent.size(), 1u);
    EXPECT_EQ(platform_.sent[0].window, parent_);
    EXPECT_EQ(platform_.sent[0].message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(platform_.sent[0].wParam, MAKEWPARAM(32867, 1));
    EXPECT_EQ(platform_.sent[0].lParam, 0x4242);

    object_.commandAnswer = true;
    WindowProcedure(child_, WM_COMMAND, 32867, 0);
    EXPECT_EQ(platform_.sent.size(), 1u) << "a handled command stays where it was handled";
}

TEST_F(DispatchTest, TheProgramsMessagesReachOnAppMessageWithoutTheirWParamNeverOnCommand) {
    Create(child_, object_);
    EXPECT_EQ(WindowProcedure(child_, app_messages::kSplitPosition, 99, 35), 0);
    ASSERT_EQ(object_.messages.size(), 1u);
    EXPECT_EQ(object_.messages[0].first, app_messages::kSplitPosition);
    EXPECT_EQ(object_.messages[0].second, 35);
    EXPECT_TRUE(object_.commands.empty()) << "a message is no command";
    ASSERT_EQ(platform_.sent.size(), 1u);
    EXPECT_EQ(platform_.sent[0].message, app_messages::kSplitPosition);
    EXPECT_EQ(platform_.sent[0].wParam, 99u) << "the parent gets the message as it was sent";

    object_.messageAnswer = true;
    WindowProcedure(child_, app_messages::kActivateRow, 0, 4);
    EXPECT_EQ(platform_.sent.size(), 1u) << "a handled message stays where it was handled";

    // Messages of the control classes (WM_USER up to WM_APP) are none of the program's: neither
    // handler sees them and they do not rise.
    const size_t seen = object_.messages.size();
    WindowProcedure(child_, WM_USER + 2054 - 0x400, 0, 0);
    WindowProcedure(child_, WM_APP - 1, 0, 0);
    EXPECT_EQ(object_.messages.size(), seen);
    EXPECT_TRUE(object_.commands.empty());
    EXPECT_EQ(platform_.sent.size(), 1u);

    // A top-level window has no parent to pass it to.
    HWND top = platform_.MakeWindow();
    RecordingWindow topObject;
    Create(top, topObject);
    WindowProcedure(top, WM_APP, 0, 0);
    EXPECT_EQ(topObject.messages.size(), 1u);
    EXPECT_EQ(platform_.sent.size(), 1u);
}

TEST_F(DispatchTest, CloseDestroysOnlyWhenAllowed) {
    Create(child_, object_);
    object_.closeAnswer = false;
    WindowProcedure(child_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(platform_.destroyed.empty());
    object_.closeAnswer = true;
    WindowProcedure(child_, WM_CLOSE, 0, 0);
    ASSERT_EQ(platform_.destroyed.size(), 1u);
    EXPECT_EQ(platform_.destroyed[0], child_);
}

TEST_F(DispatchTest, NotifyAnswersTheHandlersResultOrDefaultProcessing) {
    Create(child_, object_);
    NMHDR header{};
    EXPECT_EQ(WindowProcedure(child_, WM_NOTIFY, 1002, reinterpret_cast<LPARAM>(&header)), 77);
    EXPECT_EQ(object_.notifiedId, 1002);
    object_.notifyAnswer = false;
    EXPECT_EQ(WindowProcedure(child_, WM_NOTIFY, 1002, reinterpret_cast<LPARAM>(&header)), 0x5EED);
}

TEST_F(DispatchTest, MouseMovesWithTheLeftButtonAreDrags) {
    Create(child_, object_);
    WindowProcedure(child_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 6));
    WindowProcedure(child_, WM_MOUSEMOVE, 0, MAKELPARAM(7, 8));
    EXPECT_EQ(object_.drags, std::vector<LPARAM>{MAKELPARAM(5, 6)});
    EXPECT_EQ(object_.moves, std::vector<LPARAM>{MAKELPARAM(7, 8)});
}

TEST_F(DispatchTest, ContextMenuPointsAreSigned) {
    Create(child_, object_);
    EXPECT_EQ(WindowProcedure(child_, WM_CONTEXTMENU, 0, MAKELPARAM(-5, -1)), 0);
    EXPECT_EQ(object_.menuAt.x, -5);
    EXPECT_EQ(object_.menuAt.y, -1);
}

TEST_F(DispatchTest, UnhandledHelpGoesToTheParentWhoseAnswerCounts) {
    Create(child_, object_);
    platform_.sendAnswer = 1;
    HELPINFO info{};
    EXPECT_EQ(WindowProcedure(child_, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)), 1);
    ASSERT_EQ(platform_.sent.size(), 1u);
    EXPECT_EQ(platform_.sent[0].window, parent_);
}

TEST_F(DispatchTest, FinalDestroyUnbindsAndLaterMessagesGetDefaultProcessing) {
    Create(child_, object_);
    WindowProcedure(child_, WM_NCDESTROY, 0, 0);
    EXPECT_FALSE(object_.HasWindow());
    EXPECT_EQ(platform_.GetUserData(child_), 0);
    EXPECT_EQ(WindowProcedure(child_, WM_COMMAND, 1, 0), 0x5EED);
    EXPECT_TRUE(object_.commands.empty());
}

TEST_F(DispatchTest, TopLevelWindowEndsTheLoopWhenDestroyed) {
    class Top : public TopLevelWindow {} top;
    HWND window = platform_.MakeWindow();
    CREATESTRUCTA create{};
    create.lpCreateParams = &top;
    WindowProcedure(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create));
    WindowProcedure(window, WM_DESTROY, 0, 0);
    EXPECT_EQ(platform_.quitCodes, std::vector<int>{0});
}

}  // namespace
