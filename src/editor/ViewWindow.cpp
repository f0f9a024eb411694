#include "editor/ViewWindow.h"

#include "app/Application.h"
#include "model/ProjectDocument.h"
#include "resource.h"
#include "ui/MenuHelpers.h"

const UINT kPageCommands[ViewWindow::kPageCount] = {
    ID_PROJECT_GENERAL_INFO, ID_PROJECT_SETUP_INFO, ID_PROJECT_REQUIREMENTS,
    ID_PROJECT_FILES,        ID_PROJECT_SHORTCUTS,  ID_PROJECT_REGISTRY,
    ID_PROJECT_FILE_TYPES,   ID_PROJECT_DIALOGS,    ID_PROJECT_CREATE_SETUP,
};

int PageOfCommand(UINT command) {
    for (int page = 0; page < ViewWindow::kPageCount; ++page)
        if (kPageCommands[page] == command) return page;
    return -1;
}

namespace {
WindowClassRegistration viewWindowClass("ViewWindow");
}

ViewWindow::ViewWindow() : banner_("Quillset 1.0 Installer Builder", "") {}

bool ViewWindow::Create(HWND parent, int id, HINSTANCE instance) {
    if (HasWindow()) return true;
    viewWindowClass.Ensure(instance);
    return ChildWindow::Create(WS_EX_CLIENTEDGE, "ViewWindow", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                               0, 0, 0, 0, parent, id, instance);
}

void ViewWindow::RenderBanner() {
    SIZE size = GetClientSize(Handle());
    banner_.Resize(size.cx, size.cy);
    // The notice comes from the language in use at each rendering.
    banner_.SetNotice(UiText(TextKeys::kBannerNotice));
    HDC context = GetDC(Handle());
    banner_.Render(context);
    ReleaseDC(Handle(), context);
}

bool ViewWindow::OnEraseBackground() {
    if (TheProject()) return false;
    RenderBanner();
    return true;
}

void ViewWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC context = BeginPaint(Handle(), &paint);
    if (!TheProject()) banner_.Draw(context);
    EndPaint(Handle(), &paint);
}

void ViewWindow::OnSize(int, int) {
    RenderBanner();
    InvalidateRect(Handle(), nullptr, TRUE);
}

// The pages come with their own windows; until a page exists its commands are not handled here.
bool ViewWindow::OnCommand(UINT, LPARAM) { return false; }

void ViewWindow::CreatePages() {
    if (!pagesNeedCreating_) return;
    InvalidateRect(Handle(), nullptr, TRUE);
    pagesNeedCreating_ = false;
    pagesNeedShowing_ = true;
}

void ViewWindow::ShowTabs() {
    if (!pagesNeedShowing_) return;
    pagesNeedShowing_ = false;
}

void ViewWindow::ProjectOpened() {
    CreatePages();
    ShowTabs();
}

void ViewWindow::ProjectClosed() {
    if (!pagesNeedCreating_) {
        pagesNeedCreating_ = true;
        pagesNeedShowing_ = true;
        InvalidateRect(Handle(), nullptr, TRUE);
    }
    SetMainWindowTitle(ProductName());
}

void ViewWindow::ShowPage(int index) { pageIndex_ = index; }

void ViewWindow::SetSplitPosition(int percent) { SetPageValue(percent); }

bool ViewWindow::IsCommandEnabled(UINT) const { return false; }

void ViewWindow::OnInitMenu(HMENU menu) {
    ProjectDocument* project = TheProject();
    EnableCommand(menu, ID_FILE_CLOSE, project != nullptr);
    EnableCommand(menu, ID_FILE_SAVE_AS, project != nullptr);
    EnableCommand(menu, ID_FILE_SAVE, project && project->IsModified());
    for (int page = 0; page < kPageCount; ++page) {
        EnableCommand(menu, kPageCommands[page], project != nullptr);
        CheckCommand(menu, kPageCommands[page], project && page == pageIndex_);
    }
    // Building needs the Create Setup form, which reports whether a build is possible.
    EnableCommand(menu, ID_BUILD_SETUP, false);
    EnableCommand(menu, ID_TEST_RUN, false);
    const std::string& current = TheApplication().Texts().CurrentLanguage();
    const int languages = static_cast<int>(TheApplication().Texts().BuilderLanguageCount());
    for (UINT id = ID_LANGUAGE_FIRST; id < ID_LANGUAGE_FIRST + static_cast<UINT>(languages); ++id) {
        char text[MAX_PATH] = "";
        GetMenuStringA(menu, id, text, MAX_PATH, MF_BYCOMMAND);
        CheckCommand(menu, id, current == text);
    }
}
