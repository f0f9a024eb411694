// The builder's window moved to a monitor of another scale: the system sends WM_DPICHANGED with
// the new DPI and the rectangle it suggests, and the window takes that rectangle and lays itself
// out again at the new scale (toolbar images and buttons, list columns, the lists' fonts), and
// back again.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "BuilderTest.h"
#include "RemoteControls.h"
#include "resource.h"

namespace {

constexpr int kFilesPage = 3;
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED

// Sends WM_DPICHANGED to the builder as the system would, the rectangle in the builder's memory.
void ChangeDpi(const BuilderProcess& builder, UINT dpi, const RECT& suggested) {
    RemoteBuffer rect(builder.Id(), sizeof suggested);
    rect.Write(&suggested, sizeof suggested);
    SendMessageA(builder.Main(), kDpiChanged, MAKEWPARAM(dpi, dpi), rect.Param());
}

struct Measures {
    int buttonWidth;
    int columnWidth;
    int treeItemHeight;
    RECT window;
};

Measures Measure(const BuilderProcess& builder) {
    HWND page = PageWindow(builder.Main(), kFilesPage);
    Measures measures{};
    measures.buttonWidth = LOWORD(SendMessageA(GetDlgItem(builder.Main(), ID_TOOLBAR), TB_GETBUTTONSIZE, 0, 0));
    measures.columnWidth = static_cast<int>(SendMessageA(GetDlgItem(page, IDC_PAGE_LIST), LVM_GETCOLUMNWIDTH, 0, 0));
    measures.treeItemHeight = static_cast<int>(SendMessageA(GetDlgItem(page, IDC_PAGE_TREE), TVM_GETITEMHEIGHT, 0, 0));
    GetWindowRect(builder.Main(), &measures.window);
    return measures;
}

class DpiChangeTest : public BuilderTest {};

TEST_F(DpiChangeTest, TheWindowTakesTheSuggestedRectangleAndTheNewScale) {
    BuilderProcess& builder = builder_;
    ASSERT_NO_FATAL_FAILURE(OpenExample());
    ASSERT_NE(ShowPage(ID_PROJECT_FILES, kFilesPage), nullptr);

    const Measures before = Measure(builder);
    EXPECT_EQ(before.buttonWidth, 16 + 7) << "the 16-pixel images at 96 DPI";
    // Another place and size, inside the test's screen (a window never grows beyond it).
    const RECT larger{10, 10, 1010, 750};
    ASSERT_FALSE(EqualRect(&larger, &before.window));
    ChangeDpi(builder, 192, larger);
    const Measures after = Measure(builder);
    EXPECT_TRUE(EqualRect(&after.window, &larger)) << after.window.left << "," << after.window.top << " "
                                                   << after.window.right << "," << after.window.bottom;
    EXPECT_EQ(after.buttonWidth, 32 + 14) << "the 32-pixel images at 192 DPI";
    EXPECT_GE(after.columnWidth, 2 * before.columnWidth);
    EXPECT_GT(after.treeItemHeight, before.treeItemHeight * 3 / 2) << "the tree's font and images grew";
    builder.Command(ID_PROJECT_GENERAL_INFO);
    EXPECT_NE(builder.WaitForForm(IDC_PRODUCT_NAME), nullptr) << "the forms are made again, not lost";
    builder.Command(ID_PROJECT_FILES);

    ChangeDpi(builder, 96, before.window);
    const Measures back = Measure(builder);
    EXPECT_TRUE(EqualRect(&back.window, &before.window));
    EXPECT_EQ(back.buttonWidth, before.buttonWidth);
    EXPECT_EQ(back.columnWidth, before.columnWidth);
    EXPECT_EQ(back.treeItemHeight, before.treeItemHeight);

    PostMessageA(builder.Main(), WM_CLOSE, 0, 0);
    EXPECT_EQ(builder.WaitForExit(), 0u);
}

}  // namespace
