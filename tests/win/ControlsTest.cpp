// Controls and framework classes with real windows under Wine.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "platform/AppMessages.h"
#include "ui/Bitmaps.h"
#include "ui/HyperLink.h"
#include "ui/ListViewControl.h"
#include "ui/ScrollView.h"
#include "ui/Splitter.h"
#include "ui/TreeViewControl.h"
#include "ui/Window.h"

namespace {

WindowClassRegistration testHostClass("QuillsetTestHost");

// A top-level window that records the commands that rose to it.
class Host : public TopLevelWindow {
public:
    Host() { ownsHandle_ = true; }
    void OnDestroy() override {}
    bool OnCommand(UINT id, LPARAM extra) override {
        commands.push_back({id, extra});
        return true;
    }
    bool OnAppMessage(UINT message, LPARAM extra) override {
        messages.push_back({message, extra});
        return true;
    }
    std::vector<std::pair<UINT, LPARAM>> commands, messages;
};

class Child : public ChildWindow {
public:
    bool OnCommand(UINT id, LPARAM) override { return id == 7; }
};

class RealWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&classes);
        testHostClass.Ensure(GetModuleHandleA(nullptr));
        ASSERT_TRUE(host_.Create(0, "QuillsetTestHost", "Test", 0, 0, 400, 300, nullptr, GetModuleHandleA(nullptr)));
    }
    HWND HostWindow() const { return host_.Handle(); }

    Host host_;
};

TEST_F(RealWindowTest, CommandsAChildDoesNotHandleReachItsParent) {
    Child child;
    ASSERT_TRUE(child.Create(0, "QuillsetTestHost", WS_CHILD, 0, 0, 10, 10, HostWindow(), 5, GetModuleHandleA(nullptr)));
    EXPECT_EQ(SendMessageA(child.Handle(), WM_COMMAND, MAKEWPARAM(32867, 0), 0x55), 0);
    EXPECT_EQ(SendMessageA(child.Handle(), WM_COMMAND, 7, 0), 0);
    SendMessageA(child.Handle(), app_messages::kSplitPosition, 1, 40);
    ASSERT_EQ(host_.commands.size(), 1u);
    EXPECT_EQ(host_.commands[0], (std::pair<UINT, LPARAM>{32867, 0x55}));
    ASSERT_EQ(host_.messages.size(), 1u) << "the program's messages rise as messages";
    EXPECT_EQ(host_.messages[0], (std::pair<UINT, LPARAM>{app_messages::kSplitPosition, 40}));
    child.Destroy();
    EXPECT_FALSE(child.HasWindow());
}

TEST_F(RealWindowTest, ObjectsAreUnboundWhenTheirWindowGoes) {
    Child child;
    ASSERT_TRUE(child.Create(0, "QuillsetTestHost", WS_CHILD, 0, 0, 10, 10, HostWindow(), 5, GetModuleHandleA(nullptr)));
    HWND window = child.Handle();
    DestroyWindow(window);
    EXPECT_FALSE(child.HasWindow());
    EXPECT_EQ(GetClientSize(nullptr).cx, 0);
}

TEST_F(RealWindowTest, TreeIndexPathsGoBothWays) {
    TreeViewControl tree;
    ASSERT_TRUE(tree.Create(0, WS_CHILD, RECT{0, 0, 200, 200}, HostWindow(), 10, GetModuleHandleA(nullptr)));
    HTREEITEM top = tree.InsertItem("top", -1, -1, 0, TVI_ROOT, TVI_LAST);
    tree.InsertItem("second top", -1, -1, 0, TVI_ROOT, TVI_LAST);
    tree.InsertItem("a", -1, -1, 0, top, TVI_LAST);
    HTREEITEM b = tree.InsertItem("b", -1, -1, 0, top, TVI_LAST);
    HTREEITEM first = tree.InsertItemAt("first", -1, -1, 0, top, 0);
    EXPECT_EQ(tree.InsertItemAt("none", -1, -1, 0, top, -1), nullptr);

    std::string path;
    EXPECT_TRUE(tree.PathOfItem(b, path, 64));
    EXPECT_EQ(path, "0/2");
    EXPECT_EQ(tree.ItemFromPath("0/2/"), b);
    EXPECT_EQ(tree.ItemFromPath("0/0"), first);
    EXPECT_EQ(tree.ItemFromPath(""), top);
    EXPECT_EQ(tree.ItemFromPath("0/9"), nullptr);
    EXPECT_TRUE(tree.PathOfItem(TVI_ROOT, path, 64));
    EXPECT_EQ(path, "0");
    EXPECT_FALSE(tree.PathOfItem(b, path, 3)) << "does not fit";
    EXPECT_EQ(path, "0/");
    EXPECT_EQ(tree.ChildAt(top, 1), tree.ItemFromPath("0/1"));
}

TEST_F(RealWindowTest, SelectedRowsComeInAscendingOrder) {
    ListViewControl list;
    ASSERT_TRUE(list.Create(0, LVS_REPORT | LVS_OWNERDATA, RECT{0, 0, 200, 200}, HostWindow(), 11, GetModuleHandleA(nullptr)));
    EXPECT_TRUE(list.InsertColumn(0, "Name", 100, 0));
    list.SetRowCount(6);
    EXPECT_EQ(list.RowCount(), 6);
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    for (int row : {4, 1}) SendMessageA(list.Handle(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(list.SelectedCount(), 2);
    std::vector<int> rows;
    int row = -1;
    for (bool more = list.FirstSelected(row); more; more = list.NextSelected(row)) rows.push_back(row);
    EXPECT_EQ(rows, (std::vector<int>{1, 4}));
    list.ClearSelection();
    EXPECT_EQ(list.SelectedCount(), 0);
    EXPECT_FALSE(list.FirstSelected(row));
}

TEST_F(RealWindowTest, ASplitterReportsAFinishedDragToItsParent) {
    Splitter splitter(app_messages::kSplitPosition);
    ASSERT_TRUE(splitter.Create(HostWindow(), RECT{100, 0, 104, 200}, 20, GetModuleHandleA(nullptr)));
    const SIZE host = GetClientSize(HostWindow());
    SendMessageA(splitter.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 10));
    SendMessageA(splitter.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 10));
    EXPECT_TRUE(host_.messages.empty()) << "released where it started: nothing to report";

    SendMessageA(splitter.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 10));
    // To x = 5 in the parent: drawn at 20.
    SendMessageA(splitter.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-95), 10));
    SendMessageA(splitter.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-95), 10));
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].first, app_messages::kSplitPosition);
    EXPECT_EQ(host_.messages[0].second, 20 * 100 / host.cx);
    EXPECT_TRUE(host_.commands.empty());
}

TEST_F(RealWindowTest, AHyperLinkPaintsItselfBlueAndTakesTheMouse) {
    HWND text = CreateWindowExA(0, "STATIC", "https://example.com/", WS_CHILD | SS_LEFT, 0, 0, 100, 20,
                                HostWindow(), nullptr, GetModuleHandleA(nullptr), nullptr);
    HyperLink link;
    link.Attach(text);
    EXPECT_EQ(SendMessageA(text, WM_NCHITTEST, 0, 0), HTCLIENT);
    HDC context = GetDC(text);
    EXPECT_EQ(SendMessageA(text, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context), reinterpret_cast<LPARAM>(text)),
              reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(GetTextColor(context), RGB(0, 0, 255));
    ReleaseDC(text, context);
    link.Detach();
    EXPECT_NE(SendMessageA(text, WM_NCHITTEST, 0, 0), HTCLIENT) << "the static's own behaviour is back";
    DestroyWindow(text);
}

// A form that only says it was made and destroyed.
class Form : public Dialog {
public:
    Form(HWND, void* context) : Dialog(context) {}
    ~Form() override { ++*static_cast<int*>(context_); }
    bool OnInitDialog(HWND) override { return false; }
};

TEST_F(RealWindowTest, AScrollViewHostsAModelessFormAndScrollsOverItsSize) {
    ScrollView view;
    ASSERT_TRUE(view.Create(0, "QuillsetTestHost", WS_CHILD, 0, 0, 50, 40, HostWindow(), 30, GetModuleHandleA(nullptr)));
    ModelessDialogSlot slot;
    int destroyedForms = 0;
    DialogCreatorOf<Form> creator(&destroyedForms);
    HWND form = view.CreateForm(GetModuleHandleA(nullptr), 103, slot, creator);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(slot.dialog, form);
    EXPECT_NE(slot.handler, nullptr);
    EXPECT_EQ(ModelessDialogs(), std::vector<HWND>{form});
    EXPECT_EQ(view.CreateForm(GetModuleHandleA(nullptr), 103, slot, creator), form) << "one form per slot";

    SendMessageA(view.Handle(), WM_SIZE, 0, MAKELPARAM(50, 40));
    // The bars take room from the client area; the nested size message gives the final size.
    const SIZE formSize = GetClientSize(form), client = GetClientSize(view.Handle());
    EXPECT_LT(client.cx, 50);
    EXPECT_EQ(view.Range().cx, formSize.cx - client.cx);
    EXPECT_EQ(view.Range().cy, formSize.cy - client.cy);

    DestroyWindow(form);
    EXPECT_EQ(destroyedForms, 1);
    EXPECT_EQ(slot.dialog, nullptr);
    EXPECT_EQ(slot.handler, nullptr);
    EXPECT_TRUE(ModelessDialogs().empty());
}

TEST(SplitterTest, DragsAreHeldInsideTheParentAndReportedAsPercent) {
    EXPECT_EQ(ClampSplitterX(5, 400), 20);
    EXPECT_EQ(ClampSplitterX(390, 400), 377);
    EXPECT_EQ(ClampSplitterX(200, 400), 200);
    EXPECT_EQ(SplitPercent(100, 400), 25);
    EXPECT_EQ(SplitPercent(500, 400), 100);
    EXPECT_EQ(SplitPercent(10, 0), 0);
}

TEST(BitmapTest, ButtonColoursAreMappedAndTheBannerFadesToBlack) {
    EXPECT_EQ(SystemColourFor(RGB(192, 192, 192)), COLOR_BTNFACE);
    EXPECT_EQ(SystemColourFor(RGB(128, 128, 128)), COLOR_BTNSHADOW);
    EXPECT_EQ(SystemColourFor(RGB(0, 0, 0)), COLOR_BTNTEXT);
    EXPECT_EQ(SystemColourFor(RGB(255, 255, 255)), COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(SystemColourFor(RGB(255, 0, 0)), -1);
    EXPECT_EQ(BannerBlue(0, 500), 255);
    EXPECT_EQ(BannerBlue(250, 500), 192);
    EXPECT_EQ(BannerBlue(499, 500), 2);
}

TEST(BitmapTest, TheToolbarBitmapLoadsInSystemColours) {
    HBITMAP bitmap = LoadSystemColouredBitmap(GetModuleHandleA(nullptr), 212, false);
    ASSERT_NE(bitmap, nullptr);
    BITMAP size{};
    GetObjectA(bitmap, sizeof size, &size);
    EXPECT_EQ(size.bmWidth, 23 * 16);
    EXPECT_EQ(size.bmHeight, 15);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    EXPECT_EQ(GetPixel(memory, 0, 0), GetSysColor(COLOR_BTNFACE)) << "the grey background is the button face";
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    EXPECT_EQ(LoadSystemColouredBitmap(GetModuleHandleA(nullptr), 9999, false), nullptr);
}

}  // namespace
