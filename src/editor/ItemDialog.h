#pragma once
// The common part of the modal dialogs that create or edit one item of a list page: the texts
// of their language section, the warning messages, the tracking of changes and OK and Cancel.
// A dialog works on an exchange record that the page fills before and reads after it; the page
// alone changes the project, and only when the dialog ended with OK.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

#include "lang/TextKeys.h"
#include "model/ValueText.h"
#include "ui/Dialog.h"

class EditorContext;

// What every exchange record begins with.
struct ItemRecord {
    EditorContext* context = nullptr;
    // Creating an item, not editing one.
    bool isNew = true;
    // Whether a new item may take the name typed (the page knows its siblings); none: any name.
    std::function<NameCheck(const std::string& name)> checkName;
};

class ItemDialog : public Dialog {
public:
    // `tracksChanges`: OK without a change since the dialog opened ends as Cancel (a new item
    // counts as changed from the start).
    ItemDialog(ItemRecord& record, const TextKeySet& texts, bool tracksChanges);

    bool OnCommand(HWND dialog, int id, int code, HWND control) override;
    void OnEditChange(HWND dialog, int controlId) override;

protected:
    // Checks and stores the fields into the record; false keeps the dialog open.
    virtual bool Accept(HWND dialog) = 0;
    // A button other than OK and Cancel; a click on a box or a list choice counts as a change.
    virtual bool OnButton(HWND /*dialog*/, int /*id*/) { return false; }

    // The text numbered `number` of the dialog's own texts.
    std::string Text(int number) const;
    void ApplyTexts(HWND dialog, std::initializer_list<std::pair<int, int>> texts) const;
    // Gives the labels IDC_ITEM_LABEL onward the texts of `count` keys from `firstKey` on.
    void ApplyLabels(HWND dialog, int count, int firstKey) const;
    // Title key "0" for a new item, "1" for an existing one.
    void SetTitle(HWND dialog) const;
    // A warning with the text `message`, "%1" replaced by `detail`.
    void Warn(HWND dialog, TextKey message, const std::string& detail = std::string()) const;
    // Puts a text into an edit control without counting it as a change, limited to `limit`
    // characters (0: no limit).
    void Fill(HWND dialog, int id, const std::string& text, int limit);
    void MarkChanged() { changed_ = true; }
    // The record's name check of `name`, typed into the field `id`: a refused name is warned
    // about over the dialog, which stays open with the name selected in its field to be mended.
    bool NameAccepted(HWND dialog, int id, const std::string& name) const;
    // Puts the focus into the field `id` with its text selected.
    static void FocusField(HWND dialog, int id);

    EditorContext& context_;
    const TextKeySet& texts_;
    bool isNew_;

private:
    std::function<NameCheck(const std::string&)> checkName_;
    bool tracksChanges_;
    bool changed_;
    bool filling_ = false;
};

// An item dialog working on an exchange record of type `Record`, which the page hands over as
// the dialog's context.
template <typename Record>
class RecordDialog : public ItemDialog {
protected:
    RecordDialog(void* record, const TextKeySet& texts, bool tracksChanges)
        : ItemDialog(*static_cast<Record*>(record), texts, tracksChanges), record_(*static_cast<Record*>(record)) {}

    Record& record_;
};
