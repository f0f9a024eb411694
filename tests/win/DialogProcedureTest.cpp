// The modal and modeless dialog procedures against a window system without a screen.
#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "platform/AppMessages.h"
#include "ui/Dialog.h"

namespace {

struct Record {
    std::vector<std::string> calls;
    bool destroyed = false;
};

class RecordingDialog : public Dialog {
public:
    RecordingDialog(HWND, void* context) : Dialog(context) {}
    ~RecordingDialog() override { Log().destroyed = true; }
    bool OnInitDialog(HWND) override {
        Log().calls.push_back("init");
        return true;
    }
    bool OnCommand(HWND, int id, int code, HWND) override {
        Log().calls.push_back("command " + std::to_string(id) + " " + std::to_string(code));
        return true;
    }
    bool OnAppMessage(HWND, UINT message, LPARAM extra) override {
        Log().calls.push_back("message " + std::to_string(message - WM_APP) + " " + std::to_string(extra));
        return true;
    }
    void OnEditChange(HWND, int id) override { Log().calls.push_back("edit " + std::to_string(id)); }
    void OnDestroy(HWND) override { Log().calls.push_back("destroy"); }

private:
    Record& Log() { return *static_cast<Record*>(context_); }
};

class DialogProcedureTest : public ::testing::Test {
protected:
    FakePlatform platform_;
    HWND host_ = platform_.MakeWindow();
    HWND dialog_ = platform_.MakeWindow(host_);
    Record record_;
    DialogCreatorOf<RecordingDialog> creator_{&record_};
};

TEST_F(DialogProcedureTest, ModalHandlerIsMadeAtInitAndDeletedAtDestroy) {
    EXPECT_EQ(ModalDialogProcedure(dialog_, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&creator_)), TRUE);
    EXPECT_NE(platform_.GetUserData(dialog_), 0);
    ModalDialogProcedure(dialog_, WM_DESTROY, 0, 0);
    EXPECT_TRUE(record_.destroyed);
    EXPECT_EQ(platform_.GetUserData(dialog_), 0);
    EXPECT_EQ(record_.calls, (std::vector<std::string>{"init", "destroy"}));
}

TEST_F(DialogProcedureTest, EditChangesGoOnlyToOnEditChange) {
    ModalDialogProcedure(dialog_, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&creator_));
    EXPECT_EQ(ModalDialogProcedure(dialog_, WM_COMMAND, MAKEWPARAM(1080, EN_CHANGE), 0), FALSE);
    EXPECT_EQ(ModalDialogProcedure(dialog_, WM_COMMAND, MAKEWPARAM(1073, BN_CLICKED), 0), TRUE);
    EXPECT_EQ(record_.calls, (std::vector<std::string>{"init", "edit 1080", "command 1073 0"}));
    ModalDialogProcedure(dialog_, WM_DESTROY, 0, 0);
}

TEST_F(DialogProcedureTest, OnlyTheProgramsOwnMessagesReachTheHandlerAndNeverAsCommands) {
    ModalDialogProcedure(dialog_, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&creator_));
    EXPECT_EQ(ModalDialogProcedure(dialog_, 0x800 + 75, 1, 2), FALSE) << "a command id's number is no message";
    EXPECT_EQ(ModalDialogProcedure(dialog_, WM_APP - 1, 1, 2), FALSE);
    EXPECT_EQ(ModalDialogProcedure(dialog_, app_messages::kPageSelection, 1, 2), TRUE);
    EXPECT_EQ(ModalDialogProcedure(dialog_, app_messages::kLast + 1, 1, 2), FALSE);
    EXPECT_EQ(record_.calls, (std::vector<std::string>{"init", "message 18 2"}));
    ModalDialogProcedure(dialog_, WM_DESTROY, 0, 0);
}

TEST_F(DialogProcedureTest, ModalWheelScrollsTheDialogByLines) {
    ModalDialogProcedure(dialog_, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&creator_));
    ModalDialogProcedure(dialog_, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    ASSERT_EQ(platform_.sent.size(), 1u);
    EXPECT_EQ(platform_.sent[0].window, dialog_);
    EXPECT_EQ(platform_.sent[0].wParam, static_cast<WPARAM>(SB_LINEDOWN));
    ModalDialogProcedure(dialog_, WM_DESTROY, 0, 0);
}

TEST_F(DialogProcedureTest, ModelessSlotFollowsTheDialogsLife) {
    ModelessDialogSlot slot;
    slot.creator = &creator_;
    slot.dialog = dialog_;
    ModelessDialogs().push_back(dialog_);
    ModelessDialogProcedure(dialog_, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&slot));
    ASSERT_NE(slot.handler, nullptr);
    EXPECT_EQ(platform_.GetUserData(dialog_), reinterpret_cast<LONG_PTR>(&slot));

    // A notch towards the user turns a page of the hosting view, away from the user one line.
    ModelessDialogProcedure(dialog_, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    ModelessDialogProcedure(dialog_, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    ASSERT_EQ(platform_.sent.size(), 2u);
    EXPECT_EQ(platform_.sent[0].window, host_);
    EXPECT_EQ(platform_.sent[0].wParam, static_cast<WPARAM>(SB_PAGEDOWN));
    EXPECT_EQ(platform_.sent[1].wParam, static_cast<WPARAM>(SB_LINEUP));

    ModelessDialogProcedure(dialog_, WM_DESTROY, 0, 0);
    EXPECT_TRUE(record_.destroyed);
    EXPECT_EQ(slot.handler, nullptr);
    EXPECT_EQ(slot.dialog, nullptr);
    EXPECT_TRUE(ModelessDialogs().empty());
    EXPECT_EQ(ModelessDialogProcedure(dialog_, WM_DRAWITEM, 0, 0), TRUE) << "no handler: drawn as done";
}

}  // namespace
