// The scroll arithmetic of ScrollView against a window system without a screen.
#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "ui/ScrollView.h"

namespace {

class ScrollViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        CREATESTRUCTA create{};
        create.lpCreateParams = &view_;
        WindowProcedure(window_, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create));
    }
    // Gives the view a client size, as the system does, and delivers the size message.
    void Size(int width, int height) {
        platform_.Resize(window_, width, height);
        WindowProcedure(window_, WM_SIZE, 0, MAKELPARAM(width, height));
    }
    bool Shown(int bar) { return platform_.shown[std::make_pair(window_, bar)]; }
    void Scroll(UINT message, int code, int thumb = 0) {
        WindowProcedure(window_, message, MAKEWPARAM(code, thumb), 0);
    }

    FakePlatform platform_;
    HWND window_ = platform_.MakeWindow(platform_.MakeWindow(), 200, 100);
    ScrollView view_;
};

TEST_F(ScrollViewTest, ContentThatFitsHidesBothBarsAtTheOrigin) {
    view_.SetContentSize(150, 80);
    Size(200, 100);
    EXPECT_FALSE(Shown(SB_HORZ));
    EXPECT_FALSE(Shown(SB_VERT));
    EXPECT_EQ(view_.Position().x, 0);
    EXPECT_EQ(view_.Position().y, 0);
    EXPECT_EQ(view_.Range().cx, 0);
}

TEST_F(ScrollViewTest, LargerContentShowsBarsWithRangeAndPage) {
    view_.SetContentSize(500, 300);
    Size(200, 100);
    EXPECT_TRUE(Shown(SB_HORZ));
    const SCROLLINFO& bar = platform_.bars[{window_, SB_HORZ}];
    EXPECT_EQ(bar.nMin, 0);
    EXPECT_EQ(bar.nMax, 500);
    EXPECT_EQ(bar.nPage, 200u);
    EXPECT_EQ(view_.Range().cx, 300);
    EXPECT_EQ(view_.Range().cy, 200);
}

TEST_F(ScrollViewTest, LinePageAndThumbScrollsStayInRangeAndMoveTheContent) {
    view_.SetContentSize(500, 300);
    Size(200, 100);
    platform_.scrolls.clear();
    Scroll(WM_HSCROLL, SB_LINEDOWN);
    EXPECT_EQ(view_.Position().x, 10) << "a line is a twentieth of the client";
    ASSERT_EQ(platform_.scrolls.size(), 1u);
    EXPECT_EQ(platform_.scrolls[0].x, -10);
    Scroll(WM_HSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(view_.Position().x, 205) << "a page is the client less 5";
    Scroll(WM_HSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(view_.Position().x, 300) << "held at the range";
    Scroll(WM_HSCROLL, SB_THUMBTRACK, 42);
    EXPECT_EQ(view_.Position().x, 42);
    Scroll(WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(view_.Position().y, 0) << "never above the top";
    const size_t before = platform_.scrolls.size();
    Scroll(WM_VSCROLL, SB_ENDSCROLL);
    EXPECT_EQ(platform_.scrolls.size(), before) << "no move, no scroll";
}

TEST_F(ScrollViewTest, GrowingWhileScrolledMovesBackByTheGrowth) {
    view_.SetContentSize(500, 300);
    Size(200, 100);
    Scroll(WM_HSCROLL, SB_THUMBPOSITION, 250);
    Size(230, 100);
    EXPECT_EQ(view_.Position().x, 220);
    Size(600, 100);
    EXPECT_EQ(view_.Position().x, 0) << "never below 0; the content now fits";
    EXPECT_FALSE(Shown(SB_HORZ));
}

TEST_F(ScrollViewTest, LayoutReturnsTheContentToTheOriginAndBack) {
    view_.SetContentSize(500, 300);
    Size(200, 100);
    Scroll(WM_VSCROLL, SB_THUMBPOSITION, 60);
    platform_.scrolls.clear();
    Size(200, 90);
    ASSERT_EQ(platform_.scrolls.size(), 2u);
    EXPECT_EQ(platform_.scrolls[0].y, 60);
    EXPECT_EQ(platform_.scrolls[1].y, -60);
}

TEST(ScrollStepTest, StepsFollowTheClientSize) {
    EXPECT_EQ(ScrollStep(SB_LINEDOWN, 100), 5);
    EXPECT_EQ(ScrollStep(SB_LINEDOWN, 1000), 20) << "at most 20";
    EXPECT_EQ(ScrollStep(SB_LINEUP, 10), 1) << "at least 1";
    EXPECT_EQ(ScrollStep(SB_PAGEDOWN, 100), 95);
    EXPECT_EQ(ScrollStep(SB_PAGEUP, 5), 1);
    EXPECT_EQ(ScrollStep(SB_PAGEDOWN, 3), -2) << "a view narrower than 5 pixels steps backwards";
}

}  // namespace
