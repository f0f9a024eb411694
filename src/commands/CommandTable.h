#pragma once
// Every command of the builder's main window, one row each: its id, the texts of its menu item
// and toolbar button (keys of the language files), its toolbar image, its keyboard accelerators,
// the page it belongs to, its places in the list pages' context menus, and the one function that
// says whether it can act now. The menu bar, the toolbar, the accelerator table, the context
// menus, the pages' buttons that carry out the same commands, and the routing of each command
// are all made from this table; a new command is a new row (and, when it acts on the application
// rather than on a page, the line that carries it out), a new context menu item a new place.
//
// The states are computed from a CommandState, a snapshot of the application taken once per
// idle pass that the window fills without touching the disk.
#include <optional>
#include <string>
#include <vector>

#include "lang/TextKeys.h"

// The editor's pages, in tab order.
enum EditorPage : int {
    kGeneralInfoPage, kSetupInfoPage, kRequirementsPage, kFilesPage, kShortcutsPage, kRegistryPage,
    kFileTypesPage, kScreensPage, kCreateSetupPage,
    kEditorPageCount
};
// A command of the list page shown (Delete, Properties) rather than of one page.
constexpr int kShownListPage = -2;
constexpr int kNoPage = -1;

constexpr bool IsListPage(int page) { return page >= kFilesPage && page <= kFileTypesPage; }

// What the commands' states are computed from.
struct CommandState {
    bool project = false;
    bool modified = false;
    // Whether there is an edit to take back or to make again, and its name.
    bool canUndo = false;
    bool canRedo = false;
    std::string undoName;
    std::string redoName;
    // The page shown; kNoPage without a project.
    int page = kNoPage;
    // The output folder and the setup file name are given.
    bool outputSet = false;
    // The setup program that Test Run starts is known to exist.
    bool setupBuilt = false;
    // The commands of the page shown that the page's selection allows now.
    std::vector<unsigned> pageAllows;
    // The number of projects on the recent projects list.
    int recentCount = 0;
    // The index of the builder language in use, -1 for none.
    int language = -1;

    bool PageAllows(unsigned command) const;
};

// The menu bar's menus, in their order.
enum class Menu : unsigned char { None, File, Edit, View, Project, Build, Options, Help };
constexpr int kMenuCount = 7;

// A keyboard accelerator: a virtual key (an upper-case letter, VK_TAB, VK_F1 and on) with its
// modifiers. A key of 0 is none.
struct Accelerator {
    unsigned char modifiers = 0;
    unsigned short key = 0;
};
constexpr unsigned char kControl = 1;
constexpr unsigned char kShift = 2;
constexpr unsigned char kAlt = 4;
// The virtual keys the table uses, as <windows.h> numbers them.
constexpr unsigned short kTabKey = 0x09;
constexpr unsigned short FunctionKey(int number) { return static_cast<unsigned short>(0x70 + number - 1); }

// How the main window carries out a command.
enum class Route : unsigned char {
    App,            // the main window itself (File, Edit, View, Help, Options)
    Page,           // the owning page, brought into view first
    ShownListPage,  // the list page shown
    ShowPage,       // shows the owning page
};

// What a row stands for on the menu bar besides a plain item.
enum class Kind : unsigned char {
    Item,
    LanguageMenu,  // the submenu of the builder languages, one item each from ID_LANGUAGE_FIRST
    RecentList,    // the recent projects, one item each from ID_RECENT_FIRST
};

// The panes of a list page whose context menus hold an item: the tree, the list, or both.
enum ContextPane : unsigned char { kTreePane = 1, kListPane = 2, kBothPanes = kTreePane | kListPane };

// A command's item in the context menus of one list page: the panes whose menus hold it, its
// group (a separator stands where the group changes among neighbours of one menu level), the
// item's "label|hint", and the submenu it stands in, named by that submenu's "label|hint".
// The items of one menu follow the order of their rows in the table.
struct ContextPlace {
    int page;
    unsigned char panes;
    unsigned char group;
    TextKey text;
    std::optional<TextKey> submenu;
};

struct Command;
using CommandTest = bool (*)(const CommandState& state, const Command& command);

struct Command {
    unsigned id;
    Kind kind;
    Menu menu;
    // Items of one menu are divided by a separator where the group changes.
    unsigned char group;
    // The menu item's "label|hint"; what follows a tab in the label is replaced by the
    // accelerator's name. Named: the label with the edit's name for %1 (Undo, Redo).
    std::optional<TextKey> text;
    std::optional<TextKey> namedText;
    // The toolbar button's "label|hint" and its place: buttons stand in the order of their
    // places, a separator where the hundreds change; 0 for no button.
    std::optional<TextKey> tip;
    int toolbarPlace;
    // The image of the toolbar bitmap, -1 for none.
    int image;
    Accelerator keys[2];
    int page;
    // The control of the owning page that carries out the same command; 0 for none.
    int pageButton;
    Route route;
    CommandTest enabled;
    // Whether the menu item carries a check mark; none for a command never checked.
    CommandTest checked;
    // Its items in the list pages' context menus; none for a command that is in none.
    std::vector<ContextPlace> contexts;
};

// The whole table, in menu order (the toolbar follows the toolbar places).
const std::vector<Command>& Commands();
// The row of `id`, or none. The ids of the language and recent items count as their list's row.
const Command* FindCommand(unsigned id);
bool IsEnabled(const Command& command, const CommandState& state);
bool IsChecked(const Command& command, const CommandState& state);
// Whether the command's state is its page's to say (through CommandState::pageAllows).
bool AsksThePage(const Command& command);
// The rows that have a toolbar button, in toolbar order.
std::vector<const Command*> ToolbarCommands();
// Whether a separator stands between two neighbouring toolbar buttons.
bool SeparatorBetween(const Command& before, const Command& after);
// One line of the context menu of a list page's pane, as the menu is made: an item of a
// command with its "label|hint", a separator, the start of a submenu with its "label|hint" (the
// lines up to its end stand in it), or the end of that submenu.
struct ContextLine {
    enum Kind : unsigned char { Item, Separator, Submenu, SubmenuEnd };
    Kind kind;
    const Command* command;
    std::optional<TextKey> text;
};
// The lines of the context menu of a list page's pane (kTreePane or kListPane); none for a page or
// pane without one. A submenu counts among the top level's groups with its first item's group.
std::vector<ContextLine> ContextMenuOf(int page, ContextPane pane);
// The menu bar's title of each menu, in order.
TextKey MenuTitle(Menu menu);

// The names of the modifier keys in the interface language ("Ctrl", "Shift", "Alt").
struct KeyNames {
    std::string control = "Ctrl";
    std::string shift = "Shift";
    std::string alt = "Alt";
};
// "Ctrl+Shift+Tab", "F7"; empty for no accelerator.
std::string AcceleratorName(const Accelerator& accelerator, const KeyNames& names);
// The menu label of a language text: the label up to its tab, then a tab and the name of the
// command's first accelerator when it has one.
std::string MenuLabel(const std::string& label, const Command& command, const KeyNames& names);

// The page after or before `page` in tab order, round the end.
int NextPage(int page, int step);
