#include "editor/EditorHost.h"

#include <commctrl.h>

#include <string>

#include "core/Text.h"
#include "editor/EditorContext.h"
#include "editor/Forms.h"
#include "editor/FilesPage.h"
#include "editor/FileTypesPage.h"
#include "editor/FormPage.h"
#include "editor/RegistryPage.h"
#include "editor/ShortcutsPage.h"
#include "lang/LanguageSets.h"
#include "model/ProjectDocument.h"
#include "resource.h"
#include "ui/DeferredPositions.h"
#include "ui/DpiResources.h"

namespace {

WindowClassRegistration viewWindowClass("EditorHost");

// The page ids start here, in page order.
constexpr int kFirstPageId = 1004;
// The margin around the tab control, at 96 DPI.
constexpr int kInset = 4;

// Every page's window class, help context and, for the list pages, what Delete becomes there.
struct PageInfo {
    const char* className;
    DWORD helpContext;
    UINT deleteCommand;
};
constexpr PageInfo kPages[EditorHost::kPageCount] = {
    {"PageGeneralInfo", 1090, 0}, {"PageSetupInfo", 1100, 0},  {"PageSystemRequirements", 1110, 0},
    {"PageFiles", 1120, ID_FILES_DELETE_SELECTION},
    {"PageShortcuts", 1130, ID_SHORTCUTS_DELETE_SELECTION},
    {"PageRegistry", 1140, ID_REGISTRY_DELETE_SELECTION},
    {"PageFileTypes", 1150, ID_FILE_TYPES_DELETE},
    {"PageGUI", 1160, 0},
    {"PageCreateSetup", 1180, 0},
};

template <class FormClass>
std::unique_ptr<Page> MakeFormPage(EditorContext& context, int page, int templateId) {
    return std::make_unique<FormPage>(context, kPages[page].className, templateId, kPages[page].helpContext,
                                      std::make_unique<DialogCreatorOf<FormClass>>(&context));
}

}  // namespace

EditorHost::EditorHost(EditorContext& context)
    : context_(context), banner_("Quillset 1.0 Installer Builder", "") {
    pages_ = {MakeFormPage<GeneralInfoForm>(context, GeneralInfo, IDD_GENERAL_INFO_TAB),
              MakeFormPage<SetupInfoForm>(context, SetupInfo, IDD_SETUP_INFO_TAB),
              MakeFormPage<RequirementsForm>(context, Requirements, IDD_REQUIREMENTS_TAB),
              std::make_unique<FilesPage>(context),
              std::make_unique<ShortcutsPage>(context),
              std::make_unique<RegistryPage>(context),
              std::make_unique<FileTypesPage>(context),
              MakeFormPage<ScreensForm>(context, Screens, IDD_SCREENS_TAB),
              MakeFormPage<CreateSetupForm>(context, CreateSetup, IDD_CREATE_SETUP_TAB)};
}

EditorHost::~EditorHost() = default;

bool EditorHost::Create(HWND parent, int id, HINSTANCE instance) {
    if (HasWindow()) return true;
    viewWindowClass.Ensure(instance);
    return ChildWindow::Create(WS_EX_CLIENTEDGE, "EditorHost", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                               0, 0, 0, 0, parent, id, instance);
}

void EditorHost::RenderBanner() {
    SIZE size = GetClientSize(Handle());
    banner_.Resize(size.cx, size.cy);
    banner_.SetDpi(context_.Dpi());
    // The notice comes from the language in use at each rendering.
    banner_.SetNotice(context_.Texts().UiText(TextKeys::kBannerNotice));
    HDC context = GetDC(Handle());
    banner_.Render(context);
    ReleaseDC(Handle(), context);
}

bool EditorHost::OnEraseBackground() {
    if (context_.Project()) return false;
    RenderBanner();
    return true;
}

void EditorHost::OnPaint() {
    PAINTSTRUCT paint;
    HDC context = BeginPaint(Handle(), &paint);
    if (!context_.Project()) banner_.Draw(context);
    EndPaint(Handle(), &paint);
}

RECT EditorHost::InsetClient() const {
    RECT rect{};
    GetClientRect(Handle(), &rect);
    const int inset = context_.Dpi().Scale(kInset);
    InflateRect(&rect, -inset, -inset);
    return rect;
}

// The tab control's display area for the tab control placed over `tabs`.
RECT EditorHost::DisplayArea(const RECT& tabs) const {
    RECT area = tabs;
    SendMessageA(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return area;
}

void EditorHost::OnSize(int, int) {
    if (context_.Project() && tabs_) {
        const RECT tabs = InsetClient();
        const RECT area = DisplayArea(tabs);
        DeferredPositions batch;
        batch.Begin(kPageCount + 2);
        batch.Move(tabs_, tabs.left, tabs.top, tabs.right - tabs.left, tabs.bottom - tabs.top);
        for (const auto& page : pages_)
            batch.Move(page->Handle(), area.left, area.top, area.right - area.left, area.bottom - area.top);
        batch.ToBottom(tabs_);
        batch.End();
    }
    RenderBanner();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void EditorHost::CreatePages() {
    if (!pagesNeedCreating_) return;
    const RECT inset = InsetClient();
    if (!tabs_) {
        tabs_ = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, inset.left,
                                inset.top, inset.right - inset.left, inset.bottom - inset.top, Handle(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_TAB_CONTROL)),
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(Handle(), GWLP_HINSTANCE)), nullptr);
        SetWindowFont(tabs_, context_.Font());
        for (int page = 0; page < kPageCount; ++page) {
            std::string caption = context_.Texts().UiText(TextKeys::kPageTabs[page]);
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = caption.data();
            SendMessageA(tabs_, TCM_INSERTITEMA, page, reinterpret_cast<LPARAM>(&item));
        }
        SendMessageA(tabs_, TCM_SETCURSEL, pageIndex_, 0);
    }
    const RECT area = DisplayArea(inset);
    for (int page = 0; page < kPageCount; ++page)
        pages_[page]->Create(Handle(), area, kFirstPageId + page);
    InvalidateRect(Handle(), nullptr, TRUE);
    pagesNeedCreating_ = false;
    pagesNeedShowing_ = true;
}

// The tab control, made first, lies above the pages: shown as ShowPage shows a page, the page
// comes out on top, or it stays hidden behind the tabs until the user picks another one.
void EditorHost::ShowTabs() {
    if (!pagesNeedShowing_) return;
    ShowWindow(tabs_, SW_SHOW);
    ShowPage(pageIndex_);
    pagesNeedShowing_ = false;
}

void EditorHost::ProjectOpened() {
    CreatePages();
    ShowTabs();
    for (const auto& page : pages_) page->Reload();
}

void EditorHost::ProjectClosed() {
    if (pagesNeedCreating_) return;
    for (const auto& page : pages_) page->Destroy();
    DestroyWindow(tabs_);
    tabs_ = nullptr;
    pagesNeedCreating_ = true;
    pagesNeedShowing_ = true;
    InvalidateRect(Handle(), nullptr, TRUE);
}

// Hiding the old page and showing the new one in one batch never shows both or neither.
void EditorHost::ShowPage(int index) {
    if (index < 0 || index >= kPageCount) return;
    const int old = pageIndex_;
    pageIndex_ = index;
    if (!tabs_) return;
    SendMessageA(tabs_, TCM_SETCURSEL, index, 0);
    DeferredPositions batch;
    batch.Begin(3);
    if (old != index) batch.ShowHide(pages_[old]->Handle(), false);
    batch.ShowHide(pages_[index]->Handle(), true);
    batch.ToBottom(tabs_);
    batch.End();
}

void EditorHost::FocusTabs() {
    if (tabs_) SetFocus(tabs_);
}

void EditorHost::DpiChanged() {
    SetWindowFont(tabs_, context_.Font());
    for (const auto& page : pages_) page->DpiChanged();
    const SIZE size = GetClientSize(Handle());
    OnSize(size.cx, size.cy);
}

void EditorHost::SetSplitPosition(int percent) {
    context_.SetSplitPosition(percent);
    for (int page : {Files, Shortcuts, Registry}) pages_[page]->Relayout();
}

UINT EditorHost::Translated(int page, UINT command) const {
    return command == ID_DELETE && IsListPage(page) ? kPages[page].deleteCommand : command;
}

void EditorHost::ProjectChanged(const ProjectChange& change) {
    if (change.kind == ProjectChange::Done || pagesNeedCreating_) return;
    const ProjectParts parts = change.edit.Parts();
    int shown = -1;
    for (int page = 0; page < kPageCount; ++page) {
        if (!(pages_[page]->EditedParts() & parts)) continue;
        pages_[page]->Reload();
        if (shown < 0 || page == pageIndex_) shown = page;
    }
    if (shown < 0) return;
    ShowPage(shown);
    pages_[shown]->SelectPath(change.edit.Selection());
}

void EditorHost::RunPageCommand(int page, UINT command) {
    if (page == kShownListPage) page = IsListPage(pageIndex_) ? pageIndex_ : kNoPage;
    if (page < 0 || page >= kPageCount || pagesNeedCreating_) return;
    pages_[page]->OnCommand(Translated(page, command));
}

std::vector<unsigned> EditorHost::ShownPageAllows() const {
    std::vector<unsigned> allowed;
    if (pagesNeedCreating_ || !context_.Project()) return allowed;
    for (const Command& command : Commands()) {
        if (!AsksThePage(command)) continue;
        const int page = command.page == kShownListPage ? (IsListPage(pageIndex_) ? pageIndex_ : kNoPage) : command.page;
        if (page == pageIndex_ && pages_[page]->IsCommandEnabled(Translated(page, command.id)))
            allowed.push_back(command.id);
    }
    return allowed;
}

void EditorHost::EnablePageControl(int page, int control, bool enabled) {
    if (page >= 0 && page < kPageCount && !pagesNeedCreating_) pages_[page]->EnableControl(control, enabled);
}

void EditorHost::RefreshFromDisk() {
    if (pagesNeedCreating_) return;
    for (const auto& page : pages_) page->RefreshFromDisk();
}

bool EditorHost::OnNotify(int controlId, NMHDR* header, LRESULT& result) {
    if (controlId != ID_TAB_CONTROL || header->code != TCN_SELCHANGE) return false;
    ShowPage(static_cast<int>(SendMessageA(tabs_, TCM_GETCURSEL, 0, 0)));
    result = 0;
    return true;
}

bool EditorHost::OnHelp(HELPINFO*) {
    if (!context_.Project()) return false;
    context_.ShowHelp(HELP_CONTEXT, HelpContext());
    return true;
}
