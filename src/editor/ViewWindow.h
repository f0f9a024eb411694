#pragma once
// The editor host: the main window's client area between toolbar and status bar. Without a
// project it paints the banner; with one it hosts the page tabs and routes page commands.
#include <windows.h>

#include "ui/Bitmaps.h"
#include "ui/Window.h"

class ViewWindow : public ChildWindow {
public:
    // The number of pages, one per project tab.
    static constexpr int kPageCount = 9;

    ViewWindow();

    bool Create(HWND parent, int id, HINSTANCE instance);

    bool OnEraseBackground() override;
    void OnPaint() override;
    void OnSize(int width, int height) override;
    // Page commands; those of pages that do not exist are not handled and rise to the main window.
    bool OnCommand(UINT id, LPARAM extra) override;
    // Sets the states of the main menu's items as it drops down.
    void OnInitMenu(HMENU menu) override;

    void CreatePages();
    void ShowTabs();
    void ProjectOpened();
    void ProjectClosed();
    void ShowPage(int index);
    int PageIndex() const { return pageIndex_; }
    void SetPageIndex(int index) { pageIndex_ = index; }
    void SetSplitPosition(int percent);
    // Whether the page shown can carry out a toolbar command now.
    bool IsCommandEnabled(UINT command) const;

private:
    void RenderBanner();

    BannerPainter banner_;
    int pageIndex_ = 0;
    bool pagesNeedCreating_ = true;
    bool pagesNeedShowing_ = false;
};

// The Project menu command that selects each page, in page order.
extern const UINT kPageCommands[ViewWindow::kPageCount];
// The page that a Project menu command selects, or -1.
int PageOfCommand(UINT command);
