// Times the Files page of Quillset.exe on a large project: opening it until the page lists the
// first folder, switching between folders, and scrolling the list to its end, each with the
// window painted. Not a test: bench/files_page.sh runs it and prints the figures.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "../BuilderProcess.h"
#include "../RemoteControls.h"
#include "resource.h"

namespace {

constexpr int kFilesPage = 3;

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

// Paints the list now: the paint message is sent to the builder's thread and answered.
void Paint(HWND list) { RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: files_page_timer QUILLSET_EXE PROJECT\n");
        return 2;
    }
    BuilderProcess builder;
    const LARGE_INTEGER start = Now();
    if (!builder.Start(argv[1], std::string("\"") + argv[2] + "\"") || !builder.WaitForMainWindow()) return 1;
    if (!WaitFor([&] { return builder.Title() != "Quillset"; }, 600000)) return 1;
    builder.Command(ID_PROJECT_FILES);
    HWND page = nullptr, list = nullptr, tree = nullptr;
    if (!WaitFor([&] {
            page = PageWindow(builder.Main(), kFilesPage);
            list = GetDlgItem(page, IDC_PAGE_LIST);
            tree = GetDlgItem(page, IDC_PAGE_TREE);
            return page && IsWindowVisible(page) && TreeSelection(tree) != nullptr;
        }, 600000))
        return 1;
    HTREEITEM appDir = TreeItemAt(tree, {0, 0});
    SelectTreeItem(tree, appDir);
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(appDir));
    HTREEITEM first = TreeItemAt(tree, {0, 0, 0});
    SelectTreeItem(tree, first);
    Paint(list);
    const double open = Seconds(start, Now());
    const int rows = ListRowCount(list);

    // Every folder of %AppDir% in turn, each painted.
    int folders = 0;
    const LARGE_INTEGER switching = Now();
    for (HTREEITEM item = first; item;
         item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        SelectTreeItem(tree, item);
        Paint(list);
        ++folders;
    }
    const double switchAll = Seconds(switching, Now());
    SelectTreeItem(tree, first);
    Paint(list);

    // The list scrolled a page at a time to its end, each page painted; then back to the top
    // and straight to the last row.
    int pages = 0;
    const LARGE_INTEGER scrolling = Now();
    for (int top = -1; top != static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0)); ++pages) {
        top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
        SendMessageA(list, WM_VSCROLL, SB_PAGEDOWN, 0);
        Paint(list);
    }
    const double scrollPaged = Seconds(scrolling, Now());
    SendMessageA(list, LVM_ENSUREVISIBLE, 0, FALSE);
    Paint(list);
    const LARGE_INTEGER jumping = Now();
    SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(rows - 1), FALSE);
    Paint(list);
    const double jump = Seconds(jumping, Now());
    const std::string last = ListText(builder.Id(), list, rows - 1, 0);

    printf("open %.3f s (first folder: %d rows)\n", open, rows);
    printf("switch %d folders %.3f s, %.2f ms each\n", folders, switchAll, 1000.0 * switchAll / folders);
    printf("scroll %d pages to the end %.3f s, %.2f ms a page\n", pages, scrollPaged, 1000.0 * scrollPaged / pages);
    printf("jump to the last row (%s) %.2f ms\n", last.c_str(), 1000.0 * jump);
    PostMessageA(builder.Main(), WM_CLOSE, 0, 0);
    return builder.WaitForExit() == 0 ? 0 : 1;
}
