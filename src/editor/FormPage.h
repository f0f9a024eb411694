#pragma once
// A page that hosts one form (a tab dialog) in a scrolling view.
#include <memory>

#include "editor/Form.h"
#include "editor/Page.h"
#include "ui/ScrollView.h"

class EditorContext;

class FormPage : public Page {
public:
    // `className` names the page's window class; the form is made from template `templateId`.
    FormPage(EditorContext& context, const char* className, int templateId, DWORD helpContext,
             std::unique_ptr<DialogCreator> creator);
    ~FormPage() override;

    bool Create(HWND host, const RECT& rect, int id) override;
    void Destroy() override;
    HWND Handle() const override { return view_.Handle(); }
    // Makes the form again, which fills every control from the project as it is now.
    void Reload() override;
    ProjectParts EditedParts() const override { return TheForm() ? TheForm()->EditedParts() : 0; }
    bool OnCommand(UINT command) override;
    bool IsCommandEnabled(UINT command) const override;
    void EnableControl(int control, bool enabled) override;
    // An edit of the form undone or redone: its control (the id in `path`) takes the focus.
    void SelectPath(const std::string& path) override;
    void Relayout() override;
    // The form is made again: a dialog takes its font and size at the DPI it is made at.
    void DpiChanged() override { Reload(); }

    // The form's dialog, or none while the page has no window.
    HWND FormDialog() const { return slot_.dialog; }

private:
    Form* TheForm() const { return static_cast<Form*>(slot_.handler); }

    EditorContext& context_;
    const char* className_;
    int templateId_;
    std::unique_ptr<DialogCreator> creator_;
    ScrollView view_;
    ModelessDialogSlot slot_;
};
