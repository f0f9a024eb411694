#include "app/Help.h"

#include <shellapi.h>

#include "app/Application.h"
#include "core/Path.h"

namespace {

struct HelpTopic {
    ULONG_PTR context;
    const char* page;
};

// Credits, then the pages of the editor in tab order (1170 is not used).
constexpr HelpTopic kTopics[] = {
    {1050, "credits.html"},    {1090, "general-info.html"}, {1100, "setup-info.html"},
    {1110, "requirements.html"}, {1120, "files.html"},      {1130, "shortcuts.html"},
    {1140, "registry.html"},   {1150, "file-types.html"},   {1160, "screens.html"},
    {1180, "create-setup.html"},
};

}  // namespace

std::string HelpPageFor(UINT command, ULONG_PTR data) {
    if (command == HELP_FINDER || command == HELP_CONTENTS) return "index.html";
    if (command != HELP_CONTEXT) return "";
    for (const HelpTopic& topic : kTopics)
        if (topic.context == data) return topic.page;
    return "index.html";
}

bool ShowHelp(HWND owner, UINT command, ULONG_PTR data) {
    std::string page = HelpPageFor(command, data);
    if (!owner || !IsWindow(owner) || page.empty()) return false;
    std::string path = JoinPath(JoinPath(ProgramFolder(), "Help"), page);
    auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(owner, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}
