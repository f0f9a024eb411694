#pragma once
// The builder's message boxes, in one place: the caption, the buttons and the icon of each kind
// of message, over the window that the message is about.
#include <windows.h>

#include <string>

class UiTextSource;

enum class MessageKind {
    Information,  // OK, the information sign
    Warning,      // OK, the warning sign
    Error,        // OK, the error sign
    Question,     // Yes and No with the warning sign, Yes the default
    RiskyQuestion,  // Yes and No with the warning sign, No the default: Yes gives something up
};

// The buttons, icon and default button of a kind (MB_ flags).
UINT MessageBoxStyle(MessageKind kind);

// Shows `text` over `owner` (none: a box of its own, for messages before or without a main
// window) and waits for the answer; true when it was Yes (or OK).
bool ShowMessage(HWND owner, const std::string& text, const std::string& caption, MessageKind kind);
// The same under the caption of the builder's messages in the interface language.
bool ShowMessage(HWND owner, const std::string& text, const UiTextSource& texts, MessageKind kind);
