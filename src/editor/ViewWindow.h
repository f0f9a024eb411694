#pragma once
// The editor host: the main window's client area between toolbar and status bar. Without a
// project it paints the banner; with one it shows the nine page tabs, one page at a time, and
// routes the menu and toolbar commands to the pages.
#include <windows.h>

#include <array>
#include <memory>

#include "editor/Page.h"
#include "ui/Bitmaps.h"
#include "ui/Window.h"

class EditorContext;
struct ProjectChange;

class ViewWindow : public ChildWindow {
public:
    // The pages in tab order.
    enum PageIndex { GeneralInfo, SetupInfo, Requirements, Files, Shortcuts, Registry, FileTypes, Screens, CreateSetup };
    static constexpr int kPageCount = 9;

    // `context` must outlive the host.
    explicit ViewWindow(EditorContext& context);
    ~ViewWindow() override;

    bool Create(HWND parent, int id, HINSTANCE instance);

    bool OnEraseBackground() override;
    void OnPaint() override;
    void OnSize(int width, int height) override;
    // Routes page commands; the rest rise to the main window.
    bool OnCommand(UINT id, LPARAM extra) override;
    bool OnNotify(int controlId, NMHDR* header, LRESULT& result) override;
    // Sets the states of the main menu's items as it drops down.
    void OnInitMenu(HMENU menu) override;
    // F1 with a project opens the help page of the page shown.
    bool OnHelp(HELPINFO* info) override;

    void CreatePages();
    void ShowTabs();
    void ProjectOpened();
    void ProjectClosed();
    // After an edit was undone or redone, the pages of its parts show the project again, and the
    // first of them comes into view with the place of the edit selected.
    void ProjectChanged(const ProjectChange& change);
    void ShowPage(int index);
    int CurrentPage() const { return pageIndex_; }
    void SetPageIndex(int index) { pageIndex_ = index; }
    void SetSplitPosition(int percent);
    // The main window's DPI changed: the tabs and every page take the new font and images.
    void DpiChanged();
    // Whether the page shown can carry out a toolbar command now.
    bool IsCommandEnabled(UINT command) const;
    // The help page of the page shown.
    DWORD HelpContext() const { return pages_[pageIndex_]->HelpContext(); }
    Page& PageAt(int index) { return *pages_[index]; }

private:
    void RenderBanner();
    RECT InsetClient() const;
    RECT DisplayArea(const RECT& tabs) const;
    // The page a routed command goes to (with `translated`, what it becomes there); kIgnored
    // when the command is handled without a page, kNotRouted when it is no page command.
    int TargetOf(UINT command, UINT& translated) const;

    EditorContext& context_;
    HWND tabs_ = nullptr;
    std::array<std::unique_ptr<Page>, kPageCount> pages_;
    BannerPainter banner_;
    int pageIndex_ = 0;
    bool pagesNeedCreating_ = true;
    bool pagesNeedShowing_ = false;
};

// The Project menu command that selects each page, in page order.
extern const UINT kPageCommands[ViewWindow::kPageCount];
// The page that a Project menu command selects, or -1.
int PageOfCommand(UINT command);
