#pragma once
// Dialog handlers: the platform makes the dialog window from a template, a creator makes the
// handler object at the dialog's initialisation, and the dialog procedure owns and deletes it
// when the dialog is destroyed.
#include <windows.h>

#include <vector>

class Dialog {
public:
    explicit Dialog(void* context = nullptr) : context_(context) {}
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Handlers, in the order the dialog procedures know them.
    virtual ~Dialog() = default;
    // True lets the platform set the default focus.
    virtual bool OnInitDialog(HWND dialog) = 0;
    virtual bool OnCommand(HWND /*dialog*/, int /*id*/, int /*code*/, HWND /*control*/) { return false; }
    // One of the program's own messages (AppMessages.h) with its lParam.
    virtual bool OnAppMessage(HWND /*dialog*/, UINT /*message*/, LPARAM /*extra*/) { return false; }
    // An edit control reported a change of its text.
    virtual void OnEditChange(HWND /*dialog*/, int /*controlId*/) {}
    virtual bool OnNotify(HWND /*dialog*/, int /*controlId*/, NMHDR* /*header*/) { return false; }
    virtual void OnDestroy(HWND /*dialog*/) {}
    virtual void OnTimer(HWND /*dialog*/, UINT_PTR /*timerId*/) {}
    virtual bool OnHelp(HELPINFO* /*info*/) { return false; }

protected:
    // What the creator handed over: the document or the data record the dialog edits.
    void* context_;
};

class DialogCreator {
public:
    explicit DialogCreator(void* context = nullptr) : context_(context) {}
    virtual ~DialogCreator() = default;
    // Makes the handler of `dialog`; the dialog procedure deletes it.
    virtual Dialog* Create(HWND dialog) = 0;

protected:
    void* context_;
};

// The creator of a handler class whose constructor takes the dialog and the context.
template <typename Handler>
class DialogCreatorOf : public DialogCreator {
public:
    using DialogCreator::DialogCreator;
    Dialog* Create(HWND dialog) override { return new Handler(dialog, context_); }
};

// Where a window that hosts a modeless child dialog keeps it.
struct ModelessDialogSlot {
    HWND dialog = nullptr;
    DialogCreator* creator = nullptr;
    Dialog* handler = nullptr;
};

INT_PTR CALLBACK ModalDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ModelessDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the modal dialog of template `templateId`; the result is the id of the control that
// ended it.
INT_PTR ShowModalDialog(HINSTANCE instance, int templateId, HWND owner, DialogCreator& creator);

// Creates the modeless child dialog of `host` into its slot (nothing when the slot holds one),
// lists it for keyboard navigation and shows it; returns the dialog or none.
HWND CreateModelessDialog(HINSTANCE instance, int templateId, HWND host, ModelessDialogSlot& slot,
                          DialogCreator& creator);

// Every open modeless dialog, in order of creation; the message loop gives each a chance to
// handle keyboard navigation.
std::vector<HWND>& ModelessDialogs();

// Moves the window to the middle of the desktop without resizing or activating it.
void CentreOnDesktop(HWND window);
