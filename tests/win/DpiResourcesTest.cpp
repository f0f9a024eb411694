// What a window makes of its DPI: image sizes, the first window's place, the message font, the
// toolbar's images at each size and the move to a monitor of another scale.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "resource.h"
#include "ui/Bitmaps.h"
#include "ui/DpiResources.h"
#include "ui/Window.h"

namespace {

TEST(DpiResourcesTest, ImagesGrowInWholeStepsAndNeverBeyondTheirRoom) {
    EXPECT_EQ(ImageSize(WindowDpi(96)), 16);
    EXPECT_EQ(ImageSize(WindowDpi(120)), 16) << "20 pixels of room take the 16-pixel image";
    EXPECT_EQ(ImageSize(WindowDpi(144)), 24);
    EXPECT_EQ(ImageSize(WindowDpi(168)), 24);
    EXPECT_EQ(ImageSize(WindowDpi(192)), 32);
    EXPECT_EQ(ImageSize(WindowDpi(288)), 32);
}

TEST(DpiResourcesTest, TheFirstWindowFillsFourFifthsOfTheWorkAreaWithinItsBounds) {
    // A full HD screen with a task bar at 100 %: four fifths, centred.
    RECT place = FirstWindowRect(RECT{0, 0, 1920, 1040}, WindowDpi(96));
    EXPECT_EQ(place.right - place.left, 1536);
    EXPECT_EQ(place.bottom - place.top, 832);
    EXPECT_EQ(place.left, 192);
    EXPECT_EQ(place.top, 104);
    // At 150 % the least size (800 by 600 at 96 DPI) is larger than four fifths of the area.
    place = FirstWindowRect(RECT{0, 0, 1366, 728}, WindowDpi(144));
    EXPECT_EQ(place.right - place.left, 1200);
    EXPECT_EQ(place.bottom - place.top, 728) << "never beyond the work area";
    EXPECT_EQ(place.top, 0);
    // A second monitor left of the first keeps the window on it.
    place = FirstWindowRect(RECT{-1280, 0, 0, 1024}, WindowDpi(96));
    EXPECT_EQ(place.left, -1280 + 128);
    EXPECT_EQ(place.right, -128);
}

TEST(DpiResourcesTest, TheMessageFontGrowsWithTheDpi) {
    MessageFont normal, double_;
    normal.Make(WindowDpi(96));
    double_.Make(WindowDpi(192));
    ASSERT_NE(normal.Handle(), nullptr);
    ASSERT_NE(double_.Handle(), nullptr);
    LOGFONTA small{}, large{};
    GetObjectA(normal.Handle(), sizeof small, &small);
    GetObjectA(double_.Handle(), sizeof large, &large);
    EXPECT_NEAR(std::abs(large.lfHeight), 2 * std::abs(small.lfHeight), 1);
    const HFONT first = double_.Handle();
    double_.Make(WindowDpi(144));
    EXPECT_NE(double_.Handle(), first) << "a new font for the new DPI";
}

// One image per button at each size, the greyed list as long; a strip of another size is refused.
TEST(DpiResourcesTest, TheToolbarImagesComeAtEverySize) {
    HMODULE module = GetModuleHandleA(nullptr);
    HBITMAP classic = LoadSystemColouredBitmap(module, IDB_TOOLBAR, false);
    ASSERT_NE(classic, nullptr);
    BITMAP strip{};
    GetObjectA(classic, sizeof strip, &strip);
    DeleteObject(classic);
    const int buttons = strip.bmWidth / 16;
    const int bitmaps[] = {IDB_TOOLBAR16, IDB_TOOLBAR24, IDB_TOOLBAR32};
    const int sizes[] = {16, 24, 32};
    for (int i = 0; i < 3; ++i) {
        HIMAGELIST images = nullptr, disabled = nullptr;
        LoadToolbarImages(module, bitmaps[i], sizes[i], images, disabled);
        ASSERT_NE(images, nullptr) << sizes[i];
        ASSERT_NE(disabled, nullptr) << sizes[i];
        int width = 0, height = 0;
        ImageList_GetIconSize(images, &width, &height);
        EXPECT_EQ(width, sizes[i]);
        EXPECT_EQ(height, sizes[i]);
        EXPECT_EQ(ImageList_GetImageCount(images), buttons);
        EXPECT_EQ(ImageList_GetImageCount(disabled), buttons);
        ImageList_Destroy(images);
        ImageList_Destroy(disabled);
    }
    HIMAGELIST images = nullptr, disabled = nullptr;
    LoadToolbarImages(module, IDB_TOOLBAR24, 32, images, disabled);
    EXPECT_EQ(images, nullptr);
    EXPECT_EQ(disabled, nullptr);
    LoadToolbarImages(module, IDB_TOOLBAR, 16, images, disabled);
    EXPECT_EQ(images, nullptr) << "the 16-colour strip has no transparency";
}

WindowClassRegistration dpiHostClass("QuillsetDpiHost");

class DpiHost : public TopLevelWindow {
public:
    DpiHost() { ownsHandle_ = true; }
    void OnDestroy() override {}
    void OnDpiChanged(UINT dpi, const RECT& suggested) override {
        dpis.push_back(dpi);
        TopLevelWindow::OnDpiChanged(dpi, suggested);
    }
    std::vector<UINT> dpis;
};

TEST(DpiResourcesTest, AWindowTakesTheRectangleThatTheNewScaleSuggests) {
    dpiHostClass.Ensure(GetModuleHandleA(nullptr));
    DpiHost host;
    ASSERT_TRUE(host.Create(0, "QuillsetDpiHost", "Test", 10, 10, 400, 300, nullptr, GetModuleHandleA(nullptr)));
    RECT suggested{20, 30, 620, 480};
    SendMessageA(host.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    ASSERT_EQ(host.dpis.size(), 1u);
    EXPECT_EQ(host.dpis[0], 144u);
    RECT now{};
    GetWindowRect(host.Handle(), &now);
    EXPECT_TRUE(EqualRect(&now, &suggested));
}

}  // namespace
