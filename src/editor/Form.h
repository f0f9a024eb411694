#pragma once
// The common part of the editor's forms (the tab dialogs of the form pages and the modal
// dialogs they open): the editor context, the language texts of their controls, the binder and
// the warning messages.
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

#include "editor/EditorContext.h"
#include "editor/FormBinder.h"
#include "lang/TextKeys.h"
#include "model/EditStack.h"
#include "ui/Dialog.h"

class ProjectDocument;

class Form : public Dialog {
public:
    // `context` is the EditorContext.
    explicit Form(void* context) : Dialog(context), context_(*static_cast<EditorContext*>(context)) {}

    // A menu or toolbar command that the page passes on; false when the form has none.
    virtual bool RunCommand(HWND /*dialog*/, UINT /*command*/) { return false; }
    virtual bool IsCommandEnabled(UINT /*command*/) const { return false; }

    void OnEditChange(HWND dialog, int controlId) override;
    bool OnCommand(HWND dialog, int id, int code, HWND control) override;
    // The parts of the project that the form's controls change.
    virtual ProjectParts EditedParts() const = 0;

protected:
    // A control's notification that the form handles before the binder and the buttons.
    virtual bool OnControl(HWND /*dialog*/, int /*id*/, int /*code*/, HWND /*control*/) { return false; }
    // What a form does after a bound control stored its change, or with an unbound click.
    virtual void AfterEdit(HWND /*dialog*/, int /*controlId*/) {}
    virtual bool OnButton(HWND /*dialog*/, int /*controlId*/) { return false; }

    ProjectDocument& Project() const { return *context_.Project(); }
    std::string Text(TextKey key) const;
    // Gives each control the text of its key (by number) in `keys`.
    void ApplyTexts(HWND dialog, const TextKeySet& keys, std::initializer_list<std::pair<int, int>> texts) const;
    // A warning box with the text of `message` and the program's caption.
    void Warn(HWND dialog, TextKey message) const;

    EditorContext& context_;
    FormBinder binder_;

private:
    // Runs `change`, made through control `controlId`, as one edit of the form's parts named
    // after the control; typing in one field joins the field's last edit.
    void RunAsEdit(HWND dialog, int controlId, bool typing, const std::function<void()>& change);
    // "Change Product name": the control's label, or its own text for a box or a button.
    std::string EditName(HWND dialog, int controlId) const;
};
