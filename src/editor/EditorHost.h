#pragma once
// The editor host: the main window's client area between toolbar and status bar. Without a
// project it paints the banner; with one it shows the nine page tabs, one page at a time, and
// carries the commands that the command table gives a page to that page.
#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "commands/CommandTable.h"
#include "editor/Page.h"
#include "ui/Bitmaps.h"
#include "ui/Window.h"

class EditorContext;
struct ProjectChange;

class EditorHost : public ChildWindow {
public:
    // The pages in tab order.
    enum PageIndex {
        GeneralInfo = kGeneralInfoPage, SetupInfo = kSetupInfoPage, Requirements = kRequirementsPage,
        Files = kFilesPage, Shortcuts = kShortcutsPage, Registry = kRegistryPage, FileTypes = kFileTypesPage,
        Screens = kScreensPage, CreateSetup = kCreateSetupPage
    };
    static constexpr int kPageCount = kEditorPageCount;

    // `context` must outlive the host.
    explicit EditorHost(EditorContext& context);
    ~EditorHost() override;

    bool Create(HWND parent, int id, HINSTANCE instance);

    bool OnEraseBackground() override;
    void OnPaint() override;
    void OnSize(int width, int height) override;
    bool OnNotify(int controlId, NMHDR* header, LRESULT& result) override;
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
    // The keyboard focus goes to the page tabs (after the keys that switch pages: the control
    // that had it may be on a page now hidden).
    void FocusTabs();
    int CurrentPage() const { return pageIndex_; }
    void SetPageIndex(int index) { pageIndex_ = index; }
    void SetSplitPosition(int percent);
    // Carries out `command` on `page` (kShownListPage: the list page shown, where Delete becomes
    // the page's own delete command); a page command of no page is ignored.
    void RunPageCommand(int page, UINT command);
    // The commands of the page shown that its selection allows now, of those whose state the
    // command table leaves to the page.
    std::vector<unsigned> ShownPageAllows() const;
    // Enables a control of a page (the Create Setup page's Build and Test Run buttons).
    void EnablePageControl(int page, int control, bool enabled);
    // View > Refresh: the pages that show facts of the disk read them again.
    void RefreshFromDisk();
    // The main window's DPI changed: the tabs and every page take the new font and images.
    void DpiChanged();
    // The help page of the page shown.
    DWORD HelpContext() const { return pages_[pageIndex_]->HelpContext(); }
    Page& PageAt(int index) { return *pages_[index]; }

private:
    void RenderBanner();
    RECT InsetClient() const;
    RECT DisplayArea(const RECT& tabs) const;
    // What `command` becomes on `page`: Delete the page's own delete command.
    UINT Translated(int page, UINT command) const;

    EditorContext& context_;
    HWND tabs_ = nullptr;
    std::array<std::unique_ptr<Page>, kPageCount> pages_;
    BannerPainter banner_;
    int pageIndex_ = 0;
    bool pagesNeedCreating_ = true;
    bool pagesNeedShowing_ = false;
};
