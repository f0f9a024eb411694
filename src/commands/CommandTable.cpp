#include "commands/CommandTable.h"

#include <algorithm>
#include <string_view>

#include "resource.h"

bool CommandState::PageAllows(unsigned command) const {
    return std::find(pageAllows.begin(), pageAllows.end(), command) != pageAllows.end();
}

namespace {

// The state functions: each command names one.
bool Always(const CommandState&, const Command&) { return true; }
bool WithProject(const CommandState& state, const Command&) { return state.project; }
bool WhenModified(const CommandState& state, const Command&) { return state.project && state.modified; }
bool CanUndo(const CommandState& state, const Command&) { return state.project && state.canUndo; }
bool CanRedo(const CommandState& state, const Command&) { return state.project && state.canRedo; }
// Build saves the project first, so it needs no more than where the setup goes and its name.
bool CanBuild(const CommandState& state, const Command&) { return state.project && state.outputSet; }
bool CanTestRun(const CommandState& state, const Command&) {
    return state.project && state.outputSet && state.setupBuilt;
}
// A command of one page: that page is shown and its selection allows it.
bool PageAllows(const CommandState& state, const Command& command) {
    const int page = command.page == kShownListPage ? (IsListPage(state.page) ? state.page : kNoPage) : command.page;
    return state.project && page != kNoPage && state.page == page && state.PageAllows(command.id);
}
bool OnOwningPage(const CommandState& state, const Command& command) {
    return state.project && state.page == command.page;
}
bool HasRecentProjects(const CommandState& state, const Command&) { return state.recentCount > 0; }
bool HasLanguages(const CommandState& state, const Command&) { return state.language >= 0; }

constexpr TextKey Item(int number) { return TextKeys::kMenuItems.Key(number); }
constexpr TextKey Tip(int number) { return TextKeys::kToolbarTips.Key(number); }
constexpr std::optional<TextKey> kNoText;
constexpr Accelerator Ctrl(char letter) { return Accelerator{kControl, static_cast<unsigned short>(letter)}; }
constexpr Accelerator kNoKey{};
using Places = std::vector<ContextPlace>;
constexpr std::optional<TextKey> kTopLevel;

// The place of a command in the context menus of `page` (the panes given, at the top level or in
// a submenu), its item's text taken from the page's menu texts.
ContextPlace Place(int page, unsigned char panes, unsigned char group, TextKey text,
                   std::optional<TextKey> submenu = kTopLevel) {
    return ContextPlace{page, panes, group, text, submenu};
}
constexpr TextKey FilesMenu(int number) { return TextKeys::kFilesMenu.Key(number); }
constexpr TextKey ShortcutsMenu(int number) { return TextKeys::kShortcutsMenu.Key(number); }
constexpr TextKey RegistryMenu(int number) { return TextKeys::kRegistryMenu.Key(number); }
constexpr TextKey FileTypesMenu(int number) { return TextKeys::kFileTypesMenu.Key(number); }
// The registry menus' submenu of the new keys and values.
constexpr TextKey kRegistryNew = TextKeys::kRegistryMenu.Key(1180);

// A menu item with a toolbar button.
Command Button(unsigned id, Menu menu, unsigned char group, TextKey text, TextKey tip, int place, int image,
               Accelerator key, int page, Route route, CommandTest enabled) {
    return Command{id, Kind::Item, menu, group, text, kNoText, tip, place, image, {key, kNoKey},
                   page, 0, route, enabled, nullptr, {}};
}
// A menu item only.
Command MenuItem(unsigned id, Menu menu, unsigned char group, TextKey text, Accelerator key, CommandTest enabled,
                 Accelerator secondKey = kNoKey) {
    return Command{id, Kind::Item, menu, group, text, kNoText, kNoText, 0, -1, {key, secondKey},
                   kNoPage, 0, Route::App, enabled, nullptr, {}};
}
// A toolbar button of a page, with its items in the pages' context menus.
Command PageButton(unsigned id, TextKey tip, int place, int image, int page, Places contexts) {
    return Command{id, Kind::Item, Menu::None, 0, kNoText, kNoText, tip, place, image, {kNoKey, kNoKey},
                   page, 0, page == kShownListPage ? Route::ShownListPage : Route::Page, PageAllows, nullptr,
                   std::move(contexts)};
}
// A command of one page's context menus only.
Command PageMenuItem(unsigned id, int page, ContextPlace context) {
    return Command{id, Kind::Item, Menu::None, 0, kNoText, kNoText, kNoText, 0, -1, {kNoKey, kNoKey},
                   page, 0, Route::Page, PageAllows, nullptr, {context}};
}
// The Project menu's item that shows a page, checked while it is shown.
Command PageItem(unsigned id, int number, int page) {
    return Command{id, Kind::Item, Menu::Project, 1, Item(number), kNoText, kNoText, 0, -1, {kNoKey, kNoKey},
                   page, 0, Route::ShowPage, WithProject, OnOwningPage, {}};
}

std::vector<Command> MakeTable() {
    std::vector<Command> table = {
        Button(ID_FILE_NEW, Menu::File, 1, Item(1020), Tip(800), 101, 0, Ctrl('N'), kNoPage, Route::App, Always),
        Button(ID_FILE_WIZARD, Menu::File, 1, Item(1021), Tip(803), 301, 5, kNoKey, kNoPage, Route::App, Always),
        Button(ID_FILE_OPEN, Menu::File, 1, Item(1022), Tip(801), 102, 1, Ctrl('O'), kNoPage, Route::App, Always),
        MenuItem(ID_FILE_CLOSE, Menu::File, 1, Item(1023), kNoKey, WithProject),
        Button(ID_FILE_SAVE, Menu::File, 2, Item(1024), Tip(802), 103, 2, Ctrl('S'), kNoPage, Route::App,
               WhenModified),
        MenuItem(ID_FILE_SAVE_AS, Menu::File, 2, Item(1025), kNoKey, WithProject),
        Command{ID_RECENT_FIRST, Kind::RecentList, Menu::File, 3, TextKeys::kRecentProjects.Key(835), kNoText,
                kNoText, 0, -1, {kNoKey, kNoKey}, kNoPage, 0, Route::App, HasRecentProjects, nullptr, {}},
        MenuItem(ID_FILE_EXIT, Menu::File, 4, Item(1026), kNoKey, Always),

        Command{ID_EDIT_UNDO, Kind::Item, Menu::Edit, 1, TextKeys::kUndoRedoMenu[0], TextKeys::kUndoRedoMenu[2],
                Tip(822), 201, 3, {Ctrl('Z'), kNoKey}, kNoPage, 0, Route::App, CanUndo, nullptr, {}},
        Command{ID_EDIT_REDO, Kind::Item, Menu::Edit, 1, TextKeys::kUndoRedoMenu[1], TextKeys::kUndoRedoMenu[3],
                Tip(823), 202, 4, {Ctrl('Y'), kNoKey}, kNoPage, 0, Route::App, CanRedo, nullptr, {}},

        Command{ID_VIEW_REFRESH, Kind::Item, Menu::View, 1, Item(1070), kNoText, kNoText, 0, -1,
                {Accelerator{0, FunctionKey(5)}, kNoKey}, kFilesPage, 0, Route::App, OnOwningPage, nullptr, {}},
        MenuItem(ID_VIEW_NEXT_PAGE, Menu::View, 2, Item(1071), Accelerator{kControl, kTabKey}, WithProject),
        MenuItem(ID_VIEW_PREVIOUS_PAGE, Menu::View, 2, Item(1072), Accelerator{kControl | kShift, kTabKey},
                 WithProject),

        PageItem(ID_PROJECT_GENERAL_INFO, 1060, kGeneralInfoPage),
        PageItem(ID_PROJECT_SETUP_INFO, 1061, kSetupInfoPage),
        PageItem(ID_PROJECT_REQUIREMENTS, 1062, kRequirementsPage),
        PageItem(ID_PROJECT_FILES, 1063, kFilesPage),
        PageItem(ID_PROJECT_SHORTCUTS, 1064, kShortcutsPage),
        PageItem(ID_PROJECT_REGISTRY, 1065, kRegistryPage),
        PageItem(ID_PROJECT_FILE_TYPES, 1066, kFileTypesPage),
        PageItem(ID_PROJECT_DIALOGS, 1067, kScreensPage),
        PageItem(ID_PROJECT_CREATE_SETUP, 1068, kCreateSetupPage),

        Command{ID_BUILD_SETUP, Kind::Item, Menu::Build, 1, Item(1080), kNoText, Tip(813), 601, 18,
                {Accelerator{0, FunctionKey(7)}, kNoKey}, kCreateSetupPage, IDC_BUILD, Route::Page, CanBuild,
                nullptr, {}},
        Command{ID_TEST_RUN, Kind::Item, Menu::Build, 1, Item(1081), kNoText, Tip(814), 602, 19, {kNoKey, kNoKey},
                kCreateSetupPage, IDC_TEST_RUN, Route::Page, CanTestRun, nullptr, {}},

        Command{ID_LANGUAGE_FIRST, Kind::LanguageMenu, Menu::Options, 1, TextKeys::kLanguageMenu, kNoText, kNoText,
                0, -1, {kNoKey, kNoKey}, kNoPage, 0, Route::App, HasLanguages, nullptr, {}},
        MenuItem(ID_OPTIONS_BUILD, Menu::Options, 1, Item(1101), kNoKey, Always),

        Button(ID_HELP_TOPICS, Menu::Help, 1, Item(1120), Tip(819), 801, 21, kNoKey, kNoPage, Route::App, Always),
        Button(ID_HELP_WEB, Menu::Help, 2, Item(1121), Tip(818), 701, 20, kNoKey, kNoPage, Route::App, Always),
        Button(ID_HELP_ABOUT, Menu::Help, 3, Item(1123), Tip(820), 802, 22, kNoKey, kNoPage, Route::App, Always),

        // The pages' own commands: on the toolbar, and in the pages' context menus. An item of
        // the tree's and the list's menu carries out the command on the folder selected in the
        // tree; the delete commands of tree and list are each pane's own.
        PageButton(ID_NEW_FOLDER, Tip(804), 401, 6, kFilesPage, {Place(kFilesPage, kBothPanes, 1, FilesMenu(1140))}),
        PageButton(ID_INSERT_FILES, Tip(805), 402, 7, kFilesPage,
                   {Place(kFilesPage, kBothPanes, 1, FilesMenu(1141))}),
        PageButton(ID_NEW_SHORTCUT_FOLDER, Tip(806), 403, 8, kShortcutsPage,
                   {Place(kShortcutsPage, kBothPanes, 1, ShortcutsMenu(1160))}),
        PageButton(ID_NEW_SHORTCUT, Tip(807), 404, 9, kShortcutsPage,
                   {Place(kShortcutsPage, kBothPanes, 1, ShortcutsMenu(1161))}),
        PageButton(ID_NEW_INTERNET_SHORTCUT, Tip(808), 405, 10, kShortcutsPage,
                   {Place(kShortcutsPage, kBothPanes, 1, ShortcutsMenu(1162))}),
        PageButton(ID_NEW_KEY, Tip(809), 406, 11, kRegistryPage,
                   {Place(kRegistryPage, kBothPanes, 1, RegistryMenu(1181), kRegistryNew)}),
        PageButton(ID_NEW_STRING, Tip(810), 407, 12, kRegistryPage,
                   {Place(kRegistryPage, kBothPanes, 2, RegistryMenu(1182), kRegistryNew)}),
        PageButton(ID_NEW_BINARY, Tip(811), 408, 13, kRegistryPage,
                   {Place(kRegistryPage, kBothPanes, 2, RegistryMenu(1183), kRegistryNew)}),
        PageButton(ID_NEW_DWORD, Tip(812), 409, 14, kRegistryPage,
                   {Place(kRegistryPage, kBothPanes, 2, RegistryMenu(1184), kRegistryNew)}),
        PageButton(ID_NEW_FILE_ASSOCIATION, Tip(821), 410, 15, kFileTypesPage,
                   {Place(kFileTypesPage, kListPane, 1, FileTypesMenu(1200))}),
        PageMenuItem(ID_FILES_DELETE, kFilesPage, Place(kFilesPage, kListPane, 2, FilesMenu(1142))),
        PageMenuItem(ID_FILES_DELETE_FOLDER, kFilesPage, Place(kFilesPage, kTreePane, 2, FilesMenu(1143))),
        PageMenuItem(ID_SHORTCUTS_DELETE, kShortcutsPage, Place(kShortcutsPage, kListPane, 2, ShortcutsMenu(1163))),
        PageMenuItem(ID_SHORTCUTS_DELETE_FOLDER, kShortcutsPage,
                     Place(kShortcutsPage, kTreePane, 2, ShortcutsMenu(1164))),
        PageMenuItem(ID_REGISTRY_DELETE, kRegistryPage, Place(kRegistryPage, kListPane, 3, RegistryMenu(1185))),
        PageMenuItem(ID_REGISTRY_DELETE_KEY, kRegistryPage, Place(kRegistryPage, kTreePane, 3, RegistryMenu(1186))),
        PageMenuItem(ID_FILE_TYPES_DELETE, kFileTypesPage, Place(kFileTypesPage, kListPane, 2, FileTypesMenu(1201))),
        // Delete becomes the shown page's own delete command of its selection (EditorHost).
        PageButton(ID_DELETE, Tip(815), 411, 16, kShownListPage, {}),
        PageButton(ID_PROPERTIES, Tip(816), 412, 17, kShownListPage,
                   {Place(kFilesPage, kListPane, 3, FilesMenu(1144)),
                    Place(kShortcutsPage, kListPane, 3, ShortcutsMenu(1165)),
                    Place(kRegistryPage, kListPane, 4, RegistryMenu(1187)),
                    Place(kFileTypesPage, kListPane, 3, FileTypesMenu(1202))}),
    };
    return table;
}

}  // namespace

const std::vector<Command>& Commands() {
    static const std::vector<Command> table = MakeTable();
    return table;
}

const Command* FindCommand(unsigned id) {
    if (id >= ID_LANGUAGE_FIRST && id <= ID_LANGUAGE_LAST) id = ID_LANGUAGE_FIRST;
    if (id >= ID_RECENT_FIRST && id <= ID_RECENT_LAST) id = ID_RECENT_FIRST;
    for (const Command& command : Commands())
        if (command.id == id) return &command;
    return nullptr;
}

bool IsEnabled(const Command& command, const CommandState& state) { return command.enabled(state, command); }

bool IsChecked(const Command& command, const CommandState& state) {
    return command.checked && command.checked(state, command);
}

bool AsksThePage(const Command& command) { return command.enabled == PageAllows; }

std::vector<const Command*> ToolbarCommands() {
    std::vector<const Command*> buttons;
    for (const Command& command : Commands())
        if (command.toolbarPlace > 0) buttons.push_back(&command);
    std::sort(buttons.begin(), buttons.end(),
              [](const Command* a, const Command* b) { return a->toolbarPlace < b->toolbarPlace; });
    return buttons;
}

bool SeparatorBetween(const Command& before, const Command& after) {
    return before.toolbarPlace / 100 != after.toolbarPlace / 100;
}

namespace {

bool SameKey(const TextKey& a, const TextKey& b) {
    return a.Number() == b.Number() && std::string_view(a.Section()) == b.Section();
}

}  // namespace

std::vector<ContextLine> ContextMenuOf(int page, ContextPane pane) {
    std::vector<ContextLine> lines;
    // The last item of the top level (for a submenu, its first item), and of the open submenu.
    const ContextPlace* lastTop = nullptr;
    const ContextPlace* lastInSubmenu = nullptr;
    std::optional<TextKey> open;
    for (const Command& command : Commands())
        for (const ContextPlace& place : command.contexts) {
            if (place.page != page || !(place.panes & pane)) continue;
            const bool inOpen = open && place.submenu && SameKey(*open, *place.submenu);
            if (open && !inOpen) {
                lines.push_back({ContextLine::SubmenuEnd, nullptr, kNoText});
                open.reset();
            }
            if (!inOpen) {
                if (lastTop && lastTop->group != place.group) lines.push_back({ContextLine::Separator, nullptr, kNoText});
                lastTop = &place;
                if (place.submenu) {
                    lines.push_back({ContextLine::Submenu, nullptr, place.submenu});
                    open = place.submenu;
                    lastInSubmenu = nullptr;
                }
            }
            if (open) {
                if (lastInSubmenu && lastInSubmenu->group != place.group)
                    lines.push_back({ContextLine::Separator, nullptr, kNoText});
                lastInSubmenu = &place;
            }
            lines.push_back({ContextLine::Item, &command, place.text});
        }
    if (open) lines.push_back({ContextLine::SubmenuEnd, nullptr, kNoText});
    return lines;
}

TextKey MenuTitle(Menu menu) {
    // The language files number the titles in the order the menus had before View came.
    switch (menu) {
    case Menu::File: return TextKeys::kMenuBarTitles.Key(1000);
    case Menu::Edit: return TextKeys::kMenuBarTitles.Key(1001);
    case Menu::View: return TextKeys::kMenuBarTitles.Key(1006);
    case Menu::Project: return TextKeys::kMenuBarTitles.Key(1002);
    case Menu::Build: return TextKeys::kMenuBarTitles.Key(1003);
    case Menu::Options: return TextKeys::kMenuBarTitles.Key(1004);
    default: return TextKeys::kMenuBarTitles.Key(1005);
    }
}

std::string AcceleratorName(const Accelerator& accelerator, const KeyNames& names) {
    if (!accelerator.key) return {};
    std::string name;
    if (accelerator.modifiers & kControl) name += names.control + "+";
    if (accelerator.modifiers & kShift) name += names.shift + "+";
    if (accelerator.modifiers & kAlt) name += names.alt + "+";
    const unsigned key = accelerator.key;
    if (key == kTabKey)
        name += "Tab";
    else if (key >= FunctionKey(1) && key <= FunctionKey(24))
        name += "F" + std::to_string(key - FunctionKey(1) + 1);
    else
        name += static_cast<char>(key);
    return name;
}

std::string MenuLabel(const std::string& label, const Command& command, const KeyNames& names) {
    std::string text = label.substr(0, label.find('\t'));
    const std::string key = AcceleratorName(command.keys[0], names);
    return key.empty() ? text : text + "\t" + key;
}

int NextPage(int page, int step) {
    const int next = (page + step) % kEditorPageCount;
    return next < 0 ? next + kEditorPageCount : next;
}
