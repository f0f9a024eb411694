#include "editor/FormPage.h"

#include <cstdlib>
#include <map>
#include <string>

#include "editor/EditorContext.h"

namespace {

// One registration per page class name, made the first time a page of that class is created.
WindowClassRegistration& RegistrationOf(const char* className) {
    static std::map<std::string, WindowClassRegistration> registrations;
    return registrations.try_emplace(className, className).first->second;
}

}  // namespace

FormPage::FormPage(EditorContext& context, const char* className, int templateId, DWORD helpContext,
                   std::unique_ptr<DialogCreator> creator)
    : Page(helpContext), context_(context), className_(className), templateId_(templateId),
      creator_(std::move(creator)) {}

// The form's procedure keeps a pointer to the slot: the form must go before the slot does.
FormPage::~FormPage() {
    if (slot_.dialog) DestroyWindow(slot_.dialog);
}

bool FormPage::Create(HWND host, const RECT& rect, int id) {
    if (view_.HasWindow()) return true;
    HINSTANCE instance = context_.ResourceInstance();
    RegistrationOf(className_).Ensure(instance);
    if (!view_.Create(0, className_, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect.left, rect.top,
                      rect.right - rect.left, rect.bottom - rect.top, host, id, instance))
        return false;
    // The form itself comes with the Reload that follows every creation, once the project is
    // there: made here too, it was made twice, and whoever found the first one (a test driving
    // the window) held a form about to be destroyed.
    Relayout();
    return true;
}

void FormPage::Destroy() { view_.Destroy(); }

void FormPage::Reload() {
    if (!view_.HasWindow()) return;
    if (slot_.dialog) DestroyWindow(slot_.dialog);
    view_.CreateForm(context_.ResourceInstance(), templateId_, slot_, *creator_);
    Relayout();
}

bool FormPage::OnCommand(UINT command) {
    return slot_.dialog && TheForm() && TheForm()->RunCommand(slot_.dialog, command);
}

bool FormPage::IsCommandEnabled(UINT command) const {
    return slot_.dialog && TheForm() && TheForm()->IsCommandEnabled(command);
}

void FormPage::EnableControl(int control, bool enabled) {
    HWND item = slot_.dialog ? GetDlgItem(slot_.dialog, control) : nullptr;
    if (item && (IsWindowEnabled(item) != FALSE) != enabled) EnableWindow(item, enabled);
}

void FormPage::SelectPath(const std::string& path) {
    const int control = path.empty() ? 0 : std::atoi(path.c_str());
    HWND item = slot_.dialog && control > 0 ? GetDlgItem(slot_.dialog, control) : nullptr;
    if (!item || !IsWindowEnabled(item)) return;
    SetFocus(item);
    // A field shows its whole text selected, as the Tab key leaves it.
    char className[16] = "";
    GetClassNameA(item, className, sizeof className);
    if (lstrcmpiA(className, "Edit") == 0) SendMessageA(item, EM_SETSEL, 0, -1);
}

void FormPage::Relayout() {
    SIZE size = GetClientSize(view_.Handle());
    view_.OnSize(size.cx, size.cy);
}
