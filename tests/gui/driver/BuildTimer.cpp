// Times one build of a project by qsbuild.exe and one by Quillset.exe's build dialog, both from
// here, so that both include the same process start. Not a test: bench/window_build.sh runs it.
// Prints "qsbuild SECONDS" and "window SECONDS"; exits 1 when either build did not end cleanly.
#include <windows.h>

#include <cstdio>
#include <string>

#include "../BuilderProcess.h"
#include "resource.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

bool TimeQsbuild(const std::string& program, const std::string& project, double& seconds) {
    BuilderProcess qsbuild;
    const LARGE_INTEGER start = Now();
    if (!qsbuild.Start(program, "--quiet \"" + project + "\"")) return false;
    const bool clean = qsbuild.WaitForExit(3600000) == 0;
    seconds = Seconds(start, Now());
    return clean;
}

bool TimeWindow(const std::string& program, const std::string& project, double& seconds) {
    BuilderProcess builder;
    if (!builder.Start(program, "\"" + project + "\"") || !builder.WaitForMainWindow()) return false;
    if (!WaitFor([&] { return builder.FindForm(IDC_COMPANY_NAME) != nullptr; })) return false;
    const LARGE_INTEGER start = Now();
    builder.Command(ID_BUILD_SETUP);
    HWND build = builder.WaitForDialog("Build");
    if (!build) return false;
    const bool ended = WaitFor([&] { return WindowText(GetDlgItem(build, IDCANCEL)) == "Close"; }, 3600000);
    seconds = Seconds(start, Now());
    PressButton(build, IDCANCEL);
    WaitFor([&] { return !IsWindow(build); });
    PostMessageA(builder.Main(), WM_CLOSE, 0, 0);
    return ended && builder.WaitForExit() == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: build_timer QSBUILD_EXE QUILLSET_EXE PROJECT\n");
        return 2;
    }
    double qsbuild = 0, window = 0;
    const bool ok = TimeQsbuild(argv[1], argv[3], qsbuild) && TimeWindow(argv[2], argv[3], window);
    printf("qsbuild %.3f\nwindow %.3f\n", qsbuild, window);
    return ok ? 0 : 1;
}
