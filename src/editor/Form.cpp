#include "editor/Form.h"

#include "core/Text.h"
#include "editor/MessageBox.h"
#include "lang/LanguageSets.h"
#include "model/ProjectDocument.h"

std::string Form::Text(TextKey key) const { return context_.Texts().UiText(key); }

void Form::ApplyTexts(HWND dialog, const TextKeySet& keys, std::initializer_list<std::pair<int, int>> texts) const {
    for (const auto& [id, number] : texts) SetDlgItemTextA(dialog, id, Text(keys.Key(number)).c_str());
}

void Form::Warn(HWND dialog, TextKey message) const {
    ShowMessage(dialog, Text(message), context_.Texts(), MessageKind::Warning);
}

void Form::OnEditChange(HWND dialog, int controlId) {
    RunAsEdit(dialog, controlId, true, [&] {
        if (binder_.OnEditChange(dialog, controlId)) AfterEdit(dialog, controlId);
    });
}

bool Form::OnCommand(HWND dialog, int id, int code, HWND control) {
    if (code == EN_KILLFOCUS) {
        Project().EndMerge();
        return false;
    }
    bool handled = false;
    RunAsEdit(dialog, id, false, [&] {
        handled = OnControl(dialog, id, code, control);
        if (handled || code != BN_CLICKED) return;
        if (binder_.OnClick(dialog, id)) {
            AfterEdit(dialog, id);
            handled = true;
            return;
        }
        handled = OnButton(dialog, id);
    });
    return handled;
}

void Form::RunAsEdit(HWND dialog, int controlId, bool typing, const std::function<void()>& change) {
    ProjectEdit edit(EditName(dialog, controlId), EditedParts(), typing ? std::to_string(controlId) : std::string());
    // Undone or redone, the edit brings the keyboard focus back to its control.
    edit.SetSelection(std::to_string(controlId));
    Project().Apply(std::move(edit), change);
}

// A field's label is the static text just before it in the dialog's order; boxes and buttons
// carry their own text. Accelerator marks and a closing colon are not part of the name.
std::string Form::EditName(HWND dialog, int controlId) const {
    HWND control = GetDlgItem(dialog, controlId);
    char className[16] = "";
    GetClassNameA(control, className, sizeof className);
    HWND labelled = control;
    if (!EqualNoCase(className, "Button")) {
        HWND before = GetWindow(control, GW_HWNDPREV);
        if (before && GetClassNameA(before, className, sizeof className) && EqualNoCase(className, "Static"))
            labelled = before;
    }
    std::string label(static_cast<size_t>(GetWindowTextLengthA(labelled)) + 1, '\0');
    label.resize(static_cast<size_t>(GetWindowTextA(labelled, label.data(), static_cast<int>(label.size()))));
    return ReplaceFirstPlaceholder(Text(TextKeys::kChangeEditName), PlainLabel(label));
}
