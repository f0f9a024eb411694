#pragma once
// The common part of the editor's forms (the tab dialogs of the form pages and the modal
// dialogs they open): the editor context, the language texts of their controls, the binder and
// the warning messages.
#include <initializer_list>
#include <string>
#include <utility>

#include "editor/EditorContext.h"
#include "editor/FormBinder.h"
#include "lang/TextKeys.h"
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

protected:
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
};
