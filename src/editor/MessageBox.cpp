#include "editor/MessageBox.h"

#include "lang/UiTextSource.h"

UINT MessageBoxStyle(MessageKind kind) {
    switch (kind) {
    case MessageKind::Information: return MB_OK | MB_ICONINFORMATION;
    case MessageKind::Warning: return MB_OK | MB_ICONWARNING;
    case MessageKind::Error: return MB_OK | MB_ICONERROR;
    case MessageKind::Question: return MB_YESNO | MB_ICONWARNING;
    case MessageKind::RiskyQuestion: return MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2;
    }
    return MB_OK;
}

bool ShowMessage(HWND owner, const std::string& text, const std::string& caption, MessageKind kind) {
    const int answer = MessageBoxA(owner, text.c_str(), caption.c_str(), MessageBoxStyle(kind));
    return answer == IDYES || answer == IDOK;
}

bool ShowMessage(HWND owner, const std::string& text, const UiTextSource& texts, MessageKind kind) {
    return ShowMessage(owner, text, texts.UiText(TextKeys::kMessageCaption), kind);
}
