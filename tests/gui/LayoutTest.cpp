// The builder at one display scale, run by tests/e2e/layout_test.sh once per scale in a Wine
// prefix of its own whose LogPixels it sets (and passes on in QS_LAYOUT_DPI): at every state of
// the builder tour, in English and German, the layout probe finds every control's text whole,
// every control inside its window and none lying on another. With QS_LAYOUT_SHOTS naming a
// folder, the screen at each state is kept there as <state>.bmp for a person to look at.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "BuilderProcess.h"
#include "BuilderTour.h"
#include "LayoutProbe.h"

namespace {

// The whole screen as a 24-bit bitmap file.
void SaveScreen(const std::string& path) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD size = static_cast<DWORD>(((width * 3 + 3) & ~3) * height);
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof header + size), 0, 0,
                          static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof header)};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(static_cast<const char*>(bits), size);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST(BuilderLayout, EveryWindowFitsItsTextsAtTheDisplayScale) {
    const char* expected = std::getenv("QS_LAYOUT_DPI");
    ASSERT_NE(expected, nullptr) << "run through tests/e2e/layout_test.sh";
    const char* shots = std::getenv("QS_LAYOUT_SHOTS");
    ProgramFolder folder;
    int states = 0;
    for (const char* language : {"English", "German"}) {
        // The tour builds the project: a copy keeps the example as it is.
        const std::string projectFolder = folder.Path() + "\\Demo " + language;
        CopyFolder(QS_EXAMPLE, projectFolder);
        RemoveFolder(projectFolder + "\\output");
        BuilderTour tour{folder.Executable(), projectFolder + "\\Demo.qsp", language,
                         [&](const std::string& name, HWND window) {
                             unsigned dpi = 0;
                             for (const std::string& fault : ProbeLayout(window, dpi, QS_LAYOUT_PROBE_DLL))
                                 ADD_FAILURE() << name << ": " << fault;
                             EXPECT_EQ(dpi, static_cast<unsigned>(std::atoi(expected))) << name;
                             if (shots) {
                                 Sleep(700);  // the window paints itself before it is photographed
                                 SaveScreen(std::string(shots) + "\\" + name + ".bmp");
                             }
                             ++states;
                         },
                         nullptr};
        EXPECT_TRUE(WalkBuilderTour(tour)) << "the tour in " << language << " stopped after " << states << " states";
    }
    EXPECT_EQ(states, 2 * 32);
}

}  // namespace
