#pragma once
// Where the language layer shows its messages to the user. The Windows program shows message
// boxes; the command-line builder prints them; tests record them.
#include <string>

enum class MessageIcon { Warning, Error, Information };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A message box with no owner window.
    virtual void Show(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
};
