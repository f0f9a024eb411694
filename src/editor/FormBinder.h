#pragma once
// Ties the controls of a form to the fields of a project section: an edit control to a text, a
// check box to a flag. Filling the controls from the model is not an edit; every change the
// user makes is written through the section's own setter, which marks the document modified.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class FormBinder {
public:
    using TextGetter = std::function<std::string()>;
    using TextSetter = std::function<void(const std::string&)>;
    using FlagGetter = std::function<bool()>;
    using FlagSetter = std::function<void(bool)>;

    // The longest path the system's file calls take: path fields hold no more.
    static constexpr int kPathLength = MAX_PATH - 1;
    // Other texts are kept whole, as long as the user makes them.
    static constexpr int kWholeText = 0;

    void BindText(int controlId, TextGetter get, TextSetter set, int limit = kWholeText);
    void BindFlag(int controlId, FlagGetter get, FlagSetter set);

    // Sets every bound control from the model and limits the edit controls.
    void Fill(HWND dialog);
    // Stores the text of a changed edit control; false when it is not bound.
    bool OnEditChange(HWND dialog, int controlId) const;
    // Stores the check of a clicked box; false when it is not bound.
    bool OnClick(HWND dialog, int controlId) const;

private:
    struct TextBinding {
        int id;
        TextGetter get;
        TextSetter set;
        int limit;
    };
    struct FlagBinding {
        int id;
        FlagGetter get;
        FlagSetter set;
    };

    std::vector<TextBinding> texts_;
    std::vector<FlagBinding> flags_;
    // Set while Fill puts the model's texts into the controls.
    bool filling_ = false;
};

bool IsChecked(HWND dialog, int controlId);
// The whole text of a dialog control.
std::string ControlText(HWND dialog, int controlId);
void EnableControl(HWND dialog, int controlId, bool on);
// A control's or menu item's label as words in a sentence: without accelerator marks, the
// shortcut after a tab, and a closing colon or ellipsis.
std::string PlainLabel(std::string label);
