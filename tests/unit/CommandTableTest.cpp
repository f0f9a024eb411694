// The builder window's command table, the states of its commands, the recent projects list and
// what is known of the built setup.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "commands/CommandTable.h"
#include "commands/RecentProjects.h"
#include "commands/SetupPresence.h"
#include "resource.h"

namespace {

std::set<unsigned> EnabledIn(const CommandState& state) {
    std::set<unsigned> enabled;
    for (const Command& command : Commands())
        if (IsEnabled(command, state)) enabled.insert(command.id);
    return enabled;
}

CommandState NoProject() { return CommandState{}; }

CommandState OpenProject(int page) {
    CommandState state;
    state.project = true;
    state.page = page;
    return state;
}

}  // namespace

TEST(CommandTable, RowsAreWholeAndNothingIsGivenTwice) {
    std::set<unsigned> ids;
    std::set<int> images, places;
    std::set<std::pair<int, int>> keys;
    for (const Command& command : Commands()) {
        EXPECT_TRUE(ids.insert(command.id).second) << command.id;
        EXPECT_TRUE(command.text || command.tip || !command.contexts.empty()) << command.id << " has no text";
        EXPECT_NE(command.enabled, nullptr) << command.id;
        if (command.menu != Menu::None) {
            EXPECT_TRUE(command.text) << command.id << " on the menu bar needs a label";
        }
        if (command.toolbarPlace > 0) {
            EXPECT_TRUE(command.tip) << command.id << " on the toolbar needs a tooltip";
            EXPECT_TRUE(places.insert(command.toolbarPlace).second) << command.id;
            EXPECT_TRUE(images.insert(command.image).second) << command.id;
        } else {
            EXPECT_EQ(command.image, -1) << command.id;
        }
        if (command.route == Route::Page || command.route == Route::ShowPage) {
            EXPECT_TRUE(command.page >= 0 && command.page < kEditorPageCount) << command.id;
        }
        if (command.pageButton) {
            EXPECT_EQ(command.route, Route::Page) << command.id;
        }
        for (const Accelerator& key : command.keys) {
            if (key.key) {
                EXPECT_TRUE(keys.insert({key.modifiers, key.key}).second) << command.id << " shares a key";
            }
        }
        EXPECT_EQ(FindCommand(command.id), &command);
    }
    // The toolbar bitmap holds 23 images; each button shows one of them.
    EXPECT_EQ(images.size(), 23u);
    EXPECT_EQ(*images.begin(), 0);
    EXPECT_EQ(*images.rbegin(), 22);
    EXPECT_EQ(FindCommand(ID_LANGUAGE_FIRST + 1)->kind, Kind::LanguageMenu);
    EXPECT_EQ(FindCommand(ID_RECENT_LAST)->kind, Kind::RecentList);
    for (unsigned id : {ID_FILES_DELETE, ID_FILES_DELETE_FOLDER, ID_REGISTRY_DELETE_KEY, ID_FILE_TYPES_DELETE}) {
        // The pages' own delete commands are no window commands: context menu items only.
        const Command* own = FindCommand(id);
        ASSERT_NE(own, nullptr) << id;
        EXPECT_EQ(own->menu, Menu::None) << id;
        EXPECT_FALSE(own->text || own->tip) << id;
        EXPECT_EQ(own->toolbarPlace, 0) << id;
        EXPECT_EQ(own->keys[0].key, 0) << id;
        EXPECT_EQ(own->route, Route::Page) << id;
    }
    EXPECT_EQ(FindCommand(ID_FILES_DELETE_SELECTION), nullptr) << "what Delete becomes is no row of its own";

    const std::vector<const Command*> toolbar = ToolbarCommands();
    ASSERT_EQ(toolbar.size(), 23u);
    EXPECT_EQ(toolbar.front()->id, static_cast<unsigned>(ID_FILE_NEW));
    EXPECT_EQ(toolbar.back()->id, static_cast<unsigned>(ID_HELP_ABOUT));
    int separators = 0;
    for (size_t i = 1; i < toolbar.size(); ++i) separators += SeparatorBetween(*toolbar[i - 1], *toolbar[i]);
    EXPECT_EQ(separators, 6);
}

TEST(CommandTable, TheNewCommandsHaveTheirKeys) {
    const KeyNames english;
    auto keyOf = [&](unsigned id, int which = 0) { return AcceleratorName(FindCommand(id)->keys[which], english); };
    EXPECT_EQ(keyOf(ID_VIEW_REFRESH), "F5");
    EXPECT_EQ(keyOf(ID_BUILD_SETUP), "F7");
    EXPECT_EQ(keyOf(ID_VIEW_NEXT_PAGE), "Ctrl+Tab");
    EXPECT_EQ(keyOf(ID_VIEW_PREVIOUS_PAGE), "Ctrl+Shift+Tab");
    EXPECT_EQ(keyOf(ID_FILE_SAVE), "Ctrl+S");
    EXPECT_EQ(keyOf(ID_TEST_RUN), "");
    EXPECT_EQ(FindCommand(ID_BUILD_SETUP)->pageButton, IDC_BUILD);
    EXPECT_EQ(FindCommand(ID_VIEW_REFRESH)->page, kFilesPage);
}

TEST(CommandTable, MenuLabelsTakeTheAcceleratorFromTheTableInTheLanguagesWords) {
    const KeyNames german{"Strg", "Umschalt", "Alt"};
    const Command& open = *FindCommand(ID_FILE_OPEN);
    EXPECT_EQ(MenuLabel("Projekt \xC3\xB6&ffnen...\tStrg+O", open, german), "Projekt \xC3\xB6&ffnen...\tStrg+O");
    EXPECT_EQ(MenuLabel("&Open Project...\tCtrl+Q", open, KeyNames{}), "&Open Project...\tCtrl+O")
        << "the key the table gives, whatever the text says";
    EXPECT_EQ(MenuLabel("&Open Project...", open, KeyNames{}), "&Open Project...\tCtrl+O");
    EXPECT_EQ(MenuLabel("&Vorherige Seite", *FindCommand(ID_VIEW_PREVIOUS_PAGE), german),
              "&Vorherige Seite\tStrg+Umschalt+Tab");
    EXPECT_EQ(MenuLabel("E&xit\tAlt+F4", *FindCommand(ID_FILE_EXIT), KeyNames{}), "E&xit");
    EXPECT_EQ(AcceleratorName(Accelerator{kAlt | kShift, 'Q'}, KeyNames{}), "Shift+Alt+Q");
}

TEST(CommandTable, StatesInTheThreeApplicationStates) {
    const std::set<unsigned> always = {ID_FILE_NEW,      ID_FILE_WIZARD, ID_FILE_OPEN, ID_FILE_EXIT,
                                       ID_OPTIONS_BUILD, ID_HELP_TOPICS, ID_HELP_WEB,  ID_HELP_ABOUT};
    EXPECT_EQ(EnabledIn(NoProject()), always);

    CommandState open = OpenProject(kGeneralInfoPage);
    std::set<unsigned> expected = always;
    for (unsigned id : {ID_FILE_CLOSE, ID_FILE_SAVE_AS, ID_VIEW_NEXT_PAGE, ID_VIEW_PREVIOUS_PAGE,
                        ID_PROJECT_GENERAL_INFO, ID_PROJECT_SETUP_INFO, ID_PROJECT_REQUIREMENTS, ID_PROJECT_FILES,
                        ID_PROJECT_SHORTCUTS, ID_PROJECT_REGISTRY, ID_PROJECT_FILE_TYPES, ID_PROJECT_DIALOGS,
                        ID_PROJECT_CREATE_SETUP})
        expected.insert(id);
    EXPECT_EQ(EnabledIn(open), expected) << "open, unmodified, nothing to build";

    CommandState modified = open;
    modified.modified = true;
    modified.canUndo = true;
    modified.undoName = "Change Product Name";
    modified.outputSet = true;
    expected.insert({ID_FILE_SAVE, ID_EDIT_UNDO, ID_BUILD_SETUP});
    EXPECT_EQ(EnabledIn(modified), expected) << "Build acts from any page";

    modified.setupBuilt = true;
    modified.canRedo = true;
    EXPECT_TRUE(IsEnabled(*FindCommand(ID_TEST_RUN), modified));
    EXPECT_TRUE(IsEnabled(*FindCommand(ID_EDIT_REDO), modified));
    modified.outputSet = false;
    EXPECT_FALSE(IsEnabled(*FindCommand(ID_TEST_RUN), modified)) << "no setup where nothing says where it is";

    EXPECT_TRUE(IsChecked(*FindCommand(ID_PROJECT_GENERAL_INFO), open));
    EXPECT_FALSE(IsChecked(*FindCommand(ID_PROJECT_FILES), open));
    EXPECT_FALSE(IsChecked(*FindCommand(ID_FILE_NEW), open));
    EXPECT_FALSE(IsChecked(*FindCommand(ID_PROJECT_GENERAL_INFO), NoProject()));

    CommandState listed;
    listed.recentCount = 2;
    listed.language = 0;
    EXPECT_TRUE(IsEnabled(*FindCommand(ID_RECENT_FIRST + 1), listed));
    EXPECT_TRUE(IsEnabled(*FindCommand(ID_LANGUAGE_FIRST), listed));
    EXPECT_FALSE(IsEnabled(*FindCommand(ID_RECENT_FIRST), NoProject()));
}

TEST(CommandTable, PageCommandsActOnlyOnTheirPageAndAsItsSelectionAllows) {
    CommandState files = OpenProject(kFilesPage);
    EXPECT_TRUE(IsEnabled(*FindCommand(ID_VIEW_REFRESH), files));
    EXPECT_FALSE(IsEnabled(*FindCommand(ID_NEW_FOLDER), files)) << "the page did not allow it";
    files.pageAllows = {ID_NEW_FOLDER, ID_DELETE, ID_NEW_KEY};
    EXPECT_TRUE(IsEnabled(*FindCommand(ID_NEW_FOLDER), files));
    EXPECT_TRUE(IsEnabled(*FindCommand(ID_DELETE), files)) << "Delete of the list page shown";
    EXPECT_FALSE(IsEnabled(*FindCommand(ID_NEW_KEY), files)) << "a command of another page";
    EXPECT_FALSE(IsEnabled(*FindCommand(ID_PROPERTIES), files));

    CommandState form = OpenProject(kSetupInfoPage);
    form.pageAllows = {ID_DELETE};
    EXPECT_FALSE(IsEnabled(*FindCommand(ID_DELETE), form)) << "a form page is no list page";
    EXPECT_FALSE(IsEnabled(*FindCommand(ID_VIEW_REFRESH), form));
    files.project = false;
    EXPECT_FALSE(IsEnabled(*FindCommand(ID_NEW_FOLDER), files));
}

namespace {

// A context menu written out: "id:text" for an item, "|" for a separator, "[text" and "]" around
// a submenu.
std::string Written(const std::vector<ContextLine>& lines) {
    std::string text;
    for (const ContextLine& line : lines) {
        if (!text.empty()) text += ' ';
        switch (line.kind) {
        case ContextLine::Item: text += std::to_string(line.command->id) + ":" + std::to_string(line.text->Number()); break;
        case ContextLine::Separator: text += "|"; break;
        case ContextLine::Submenu: text += "[" + std::to_string(line.text->Number()); break;
        case ContextLine::SubmenuEnd: text += "]"; break;
        }
    }
    return text;
}

std::string ItemText(unsigned id, int text) { return std::to_string(id) + ":" + std::to_string(text); }

}  // namespace

// The context menus the list pages had before the table made them, item for item: the same
// commands, texts, separators and submenu.
TEST(CommandTable, ContextMenusHoldEveryPagesItemsInTheirOrder) {
    const std::string filesNew = ItemText(ID_NEW_FOLDER, 1140) + " " + ItemText(ID_INSERT_FILES, 1141) + " | ";
    EXPECT_EQ(Written(ContextMenuOf(kFilesPage, kListPane)),
              filesNew + ItemText(ID_FILES_DELETE, 1142) + " | " + ItemText(ID_PROPERTIES, 1144));
    EXPECT_EQ(Written(ContextMenuOf(kFilesPage, kTreePane)), filesNew + ItemText(ID_FILES_DELETE_FOLDER, 1143));

    const std::string shortcutsNew = ItemText(ID_NEW_SHORTCUT_FOLDER, 1160) + " " + ItemText(ID_NEW_SHORTCUT, 1161) +
                                     " " + ItemText(ID_NEW_INTERNET_SHORTCUT, 1162) + " | ";
    EXPECT_EQ(Written(ContextMenuOf(kShortcutsPage, kListPane)),
              shortcutsNew + ItemText(ID_SHORTCUTS_DELETE, 1163) + " | " + ItemText(ID_PROPERTIES, 1165));
    EXPECT_EQ(Written(ContextMenuOf(kShortcutsPage, kTreePane)),
              shortcutsNew + ItemText(ID_SHORTCUTS_DELETE_FOLDER, 1164));

    const std::string registryNew = "[1180 " + ItemText(ID_NEW_KEY, 1181) + " | " + ItemText(ID_NEW_STRING, 1182) + " " +
                                    ItemText(ID_NEW_BINARY, 1183) + " " + ItemText(ID_NEW_DWORD, 1184) + " ] | ";
    EXPECT_EQ(Written(ContextMenuOf(kRegistryPage, kListPane)),
              registryNew + ItemText(ID_REGISTRY_DELETE, 1185) + " | " + ItemText(ID_PROPERTIES, 1187));
    EXPECT_EQ(Written(ContextMenuOf(kRegistryPage, kTreePane)), registryNew + ItemText(ID_REGISTRY_DELETE_KEY, 1186));

    EXPECT_EQ(Written(ContextMenuOf(kFileTypesPage, kListPane)),
              ItemText(ID_NEW_FILE_ASSOCIATION, 1200) + " | " + ItemText(ID_FILE_TYPES_DELETE, 1201) + " | " +
                  ItemText(ID_PROPERTIES, 1202));
    EXPECT_EQ(Written(ContextMenuOf(kFileTypesPage, kTreePane)), "") << "the file types page has no tree";
    for (int page : std::initializer_list<int>{kGeneralInfoPage, kCreateSetupPage, kNoPage})
        EXPECT_TRUE(ContextMenuOf(page, kListPane).empty()) << page;

    // Every item is a command of its page that the page's selection enables, so the page's
    // answer for the menu bar and toolbar is its answer for the context menus too.
    for (const Command& command : Commands())
        for (const ContextPlace& place : command.contexts) {
            EXPECT_TRUE(IsListPage(place.page)) << command.id;
            EXPECT_TRUE(command.page == place.page || command.page == kShownListPage) << command.id;
            EXPECT_TRUE(AsksThePage(command)) << command.id;
        }
}

TEST(CommandTable, ContextMenuItemsTakeTheirStatesFromTheRowsFunctions) {
    auto enabledItems = [](int page, ContextPane pane, const CommandState& state) {
        std::set<unsigned> enabled;
        for (const ContextLine& line : ContextMenuOf(page, pane))
            if (line.kind == ContextLine::Item && IsEnabled(*line.command, state)) enabled.insert(line.command->id);
        return enabled;
    };
    CommandState registry = OpenProject(kRegistryPage);
    EXPECT_TRUE(enabledItems(kRegistryPage, kTreePane, registry).empty()) << "the page allowed nothing";
    registry.pageAllows = {ID_NEW_KEY, ID_NEW_DWORD, ID_REGISTRY_DELETE, ID_PROPERTIES};
    EXPECT_EQ(enabledItems(kRegistryPage, kTreePane, registry), (std::set<unsigned>{ID_NEW_KEY, ID_NEW_DWORD}));
    EXPECT_EQ(enabledItems(kRegistryPage, kListPane, registry),
              (std::set<unsigned>{ID_NEW_KEY, ID_NEW_DWORD, ID_REGISTRY_DELETE, ID_PROPERTIES}));
    EXPECT_EQ(enabledItems(kFileTypesPage, kListPane, registry), (std::set<unsigned>{ID_PROPERTIES}))
        << "another page's own commands are not the shown page's; Properties is whichever list page's is shown";

    CommandState fileTypes = OpenProject(kFileTypesPage);
    fileTypes.pageAllows = {ID_NEW_FILE_ASSOCIATION, ID_PROPERTIES};
    EXPECT_EQ(enabledItems(kFileTypesPage, kListPane, fileTypes),
              (std::set<unsigned>{ID_NEW_FILE_ASSOCIATION, ID_PROPERTIES}));
    fileTypes.project = false;
    EXPECT_TRUE(enabledItems(kFileTypesPage, kListPane, fileTypes).empty());
}

TEST(CommandTable, PagesFollowEachOtherRoundTheEnd) {
    EXPECT_EQ(NextPage(kGeneralInfoPage, 1), kSetupInfoPage);
    EXPECT_EQ(NextPage(kCreateSetupPage, 1), kGeneralInfoPage);
    EXPECT_EQ(NextPage(kGeneralInfoPage, -1), kCreateSetupPage);
    EXPECT_EQ(NextPage(kFilesPage, -1), kRequirementsPage);
}

TEST(RecentProjects, MostRecentFirstEachOnceAtMostEight) {
    RecentProjects recent;
    for (int i = 1; i <= 10; ++i) recent.Add("C:\\P\\" + std::to_string(i) + ".qsp");
    ASSERT_EQ(recent.Count(), 8u);
    EXPECT_EQ(recent.Paths().front(), "C:\\P\\10.qsp");
    EXPECT_EQ(recent.Paths().back(), "C:\\P\\3.qsp");
    recent.Add("c:\\p\\5.QSP");
    EXPECT_EQ(recent.Count(), 8u) << "the same file in other case is the same file";
    EXPECT_EQ(recent.Paths().front(), "c:\\p\\5.QSP");
    EXPECT_EQ(std::count_if(recent.Paths().begin(), recent.Paths().end(),
                            [](const std::string& p) { return p == "C:\\P\\5.qsp"; }),
              0);
    EXPECT_TRUE(recent.Remove("C:\\P\\10.QSP"));
    EXPECT_FALSE(recent.Remove("C:\\P\\10.qsp"));
    EXPECT_EQ(recent.Count(), 7u);
    recent.Add("");
    EXPECT_EQ(recent.Count(), 7u);

    // A stored list keeps its order; blanks, repeats and the ninth and on are left out.
    RecentProjects stored({"A.qsp", "", "B.qsp", "a.qsp", "C.qsp", "D.qsp", "E.qsp", "F.qsp", "G.qsp", "H.qsp",
                           "I.qsp"});
    EXPECT_EQ(stored.Paths(), (std::vector<std::string>{"A.qsp", "B.qsp", "C.qsp", "D.qsp", "E.qsp", "F.qsp",
                                                        "G.qsp", "H.qsp"}));
}

TEST(RecentProjects, LabelsNumberTheItemsShowAmpersandsAndShortenLongPaths) {
    EXPECT_EQ(RecentProjectLabel(0, "C:\\Work\\Tom & Jerry.qsp"), "&1 C:\\Work\\Tom && Jerry.qsp");
    EXPECT_EQ(RecentProjectLabel(7, "D:\\x.qsp"), "&8 D:\\x.qsp");
    const std::string longPath = "C:\\Users\\someone\\Documents\\Projects\\2026\\Customer\\Product\\Product.qsp";
    EXPECT_EQ(RecentProjectLabel(1, longPath, 40), "&2 C:\\Users\\...\\Product.qsp");
    EXPECT_EQ(RecentProjectLabel(1, longPath, 200), "&2 " + longPath);
}

TEST(SetupPresence, TheDiskIsAskedOncePerPathAndBuildsAndFailedStartsAreBelieved) {
    std::set<std::string> onDisk = {"C:\\out\\Setup.exe"};
    SetupPresence setup([&](const std::string& path) { return onDisk.count(path) > 0; });
    for (int pass = 0; pass < 1000; ++pass) EXPECT_TRUE(setup.Exists("C:\\out\\Setup.exe"));
    EXPECT_EQ(setup.Probes(), 1) << "one look for a thousand idle passes";
    EXPECT_FALSE(setup.Exists("C:\\other\\Setup.exe")) << "the output folder changed";
    EXPECT_EQ(setup.Probes(), 2);

    setup.Built("C:\\other\\Setup.exe", true);
    EXPECT_TRUE(setup.Exists("C:\\other\\Setup.exe"));
    EXPECT_EQ(setup.Probes(), 2) << "a build that wrote the program says so";

    setup.StartFailed("C:\\other\\Setup.exe");
    EXPECT_FALSE(setup.Exists("C:\\other\\Setup.exe"));
    setup.Built("C:\\out\\Setup.exe", false);
    EXPECT_EQ(setup.Probes(), 3) << "a failed build may have left an older program";
    EXPECT_TRUE(setup.Exists("C:\\out\\Setup.exe"));

    onDisk.clear();
    EXPECT_TRUE(setup.Exists("C:\\out\\Setup.exe")) << "known, not asked again";
    setup.Forget();
    EXPECT_FALSE(setup.Exists("C:\\out\\Setup.exe"));
    EXPECT_EQ(setup.Probes(), 4);
    EXPECT_FALSE(setup.Exists(""));
}
