#pragma once
// What the four list pages share: the page window, the owner-data list that asks the page for
// every row it paints, the Insert and Delete keys, row activation, the context menus with their
// status bar hints, and the modal dialogs the pages open. The pages keep no copy of the
// project: each row is read from the document when the list asks for it.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "commands/CommandTable.h"
#include "editor/Page.h"
#include "lang/TextKeys.h"
#include "ui/Dialog.h"
#include "ui/ListViewControl.h"
#include "ui/Window.h"

class EditorContext;
class ProjectDocument;

// A list column: its header's text and its width in pixels at 96 DPI (the column is made wider
// where its header's text needs it).
struct ListColumn {
    TextKey text;
    int width;
};

// A context menu item, or a submenu, and the text that gives its label and hint.
struct MenuText {
    UINT command;
    HMENU submenu;
    TextKey text;
};

class ListPage : public Page {
public:
    // `page` is the page's place in the command table (kFilesPage ...), which gives its context menus.
    ListPage(EditorContext& context, const char* className, DWORD helpContext, int page);
    ~ListPage() override;

    bool Create(HWND host, const RECT& rect, int id) override;
    void Destroy() override;
    HWND Handle() const override { return window_.Handle(); }
    bool OnCommand(UINT command) override { return RunCommandAsEdit(command, 0); }
    void Relayout() override;
    // The list (and what a page adds in OnDpiChanged) takes the context's new font and images,
    // the columns their widths at the new DPI.
    void DpiChanged() override;

    // The page window's handlers.
    virtual bool OnCreateControls() = 0;
    virtual void Layout(int width, int height) = 0;
    // A menu or toolbar command, or a private message with its lParam; false lets it rise.
    virtual bool RunCommand(UINT command, LPARAM extra) = 0;
    // One of the program's own messages (a row opened, the splitter moved) with its lParam;
    // false lets it rise to the window that hosts the page.
    virtual bool RunMessage(UINT /*message*/, LPARAM /*extra*/) { return false; }
    // A row opened shows its Properties: one edit named so.
    bool OnAppMessage(UINT message, LPARAM extra);
    virtual bool OnNotify(int controlId, NMHDR* header, LRESULT& result);
    virtual void OnDropFiles(HDROP /*drop*/) {}
    bool OnContextMenu(HWND control, int x, int y);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);

    ListViewControl& List() { return list_; }

protected:
    // Runs a command as one edit of the page's parts, named after the command; what changes
    // nothing makes no edit. The read-only chooser changes nothing and runs it as it is.
    bool RunCommandAsEdit(UINT command, LPARAM extra);
    bool RunAsEdit(const std::string& name, const std::function<bool()>& action);
    void DropFilesAsEdit(HDROP drop);
    // The name of the edit a command makes: its label in the context menu open now, on the
    // toolbar, or "Properties" for a row opened; a command that deletes several rows is named
    // with their count ("Delete 3 Files").
    std::string CommandName(UINT command) const;
    // Whether `command` is one of the page's own delete commands.
    virtual bool IsDeleteCommand(UINT /*command*/) const { return false; }
    // The rows that `command` would delete now; none for a command that deletes no rows.
    virtual std::vector<int> RowsDeletedBy(UINT /*command*/) const { return {}; }
    // The command that the Delete key in the list is.
    virtual UINT RowsDeleteCommand() const { return 0; }
    // Whether a row shows a folder or a key rather than an item.
    virtual bool RowIsContainer(int /*row*/) const { return false; }
    // The name of an edit that deletes %1 rows all of the page's items ("Delete %1 Files").
    virtual TextKey CountedDeleteName() const { return TextKeys::kCountedDelete.Key(861); }

    // The text of a row's column, and its image (-1 for none).
    virtual std::string RowText(int row, int column) const = 0;
    virtual int RowImage(int /*row*/) const { return -1; }
    // Delete pressed in the list or the tree.
    virtual void DeleteKey(bool inTree) = 0;
    void DeleteKeyAsEdit(bool inTree);
    // The tree, for pages that have one.
    virtual HWND TreeHandle() const { return nullptr; }

    // What a page has besides the list takes the new font and images.
    virtual void OnDpiChanged() {}
    // The list over `rect`, report style, owner data, with the columns.
    bool CreateList(const RECT& rect, const std::vector<ListColumn>& columns, bool severalRows);
    // With redrawing off, `rows` rows and none selected.
    void ResetRows(int rows);
    std::vector<int> SelectedRows() const;
    // Opens the control's context menu at the screen point (x, y); the centre of the control
    // when both are -1.
    void OpenContextMenu(HWND control, int x, int y);

    ProjectDocument& Project() const;
    std::string UiString(TextKey key) const;
    // The name a tree or list shows for a node: folder and key variables in the window's
    // language ("%AppDir%" as "Application"), any other name as it is.
    std::string NodeDisplayName(const std::string& name) const;
    // A warning with the text `message`, "%1" replaced by `detail`.
    void Warn(TextKey message, const std::string& detail = std::string()) const;
    HWND DialogOwner() const;
    // Runs a modal dialog whose handler `creator` makes; true when it ended with OK.
    bool RunDialog(int templateId, DialogCreator& creator) const;
    // Runs the item dialog `Handler` of template `templateId` on its exchange record.
    template <typename Handler, typename Record>
    bool RunItemDialog(int templateId, Record& record) const {
        DialogCreatorOf<Handler> creator(&record);
        return RunDialog(templateId, creator);
    }

    EditorContext& context_;
    // Context menus and Properties are offered (false in the read-only chooser).
    bool editable_ = true;
    // The page window takes files dropped from the shell.
    bool acceptsDrops_ = false;

private:
    class PageWindow : public ChildWindow {
    public:
        explicit PageWindow(ListPage& page) : page_(page) {}
        bool OnCreate() override { return page_.OnCreateControls(); }
        void OnSize(int width, int height) override { page_.Layout(width, height); }
        bool OnCommand(UINT id, LPARAM extra) override { return page_.RunCommandAsEdit(id, extra); }
        bool OnAppMessage(UINT message, LPARAM extra) override { return page_.OnAppMessage(message, extra); }
        bool OnNotify(int controlId, NMHDR* header, LRESULT& result) override {
            return page_.OnNotify(controlId, header, result);
        }
        void OnDropFiles(HDROP drop) override { page_.DropFilesAsEdit(drop); }
        bool OnContextMenu(HWND control, int x, int y) override { return page_.OnContextMenu(control, x, y); }
        void OnMenuSelect(UINT item, UINT flags, HMENU menu) override { page_.OnMenuSelect(item, flags, menu); }

    private:
        ListPage& page_;
    };

    // The context menu of the tree (`fromTree`) or of the list as the command table lays it out,
    // each item enabled as its row's state function says now; null where the page offers none.
    // The page keeps its texts for the status bar's hints and the edits' names until
    // CloseContextMenu, which destroys it.
    HMENU MakeContextMenu(bool fromTree);
    void CloseContextMenu(HMENU menu);
    void AnswerDisplayRequest(NMLVDISPINFOA& request) const;
    // A column's width at the context's DPI, and at least what its header's text needs.
    int ColumnWidth(const ListColumn& column) const;

    const char* className_;
    int page_;
    PageWindow window_;
    ListViewControl list_;
    std::vector<ListColumn> columns_;
    // The items and submenus of the context menu open now; none while none is.
    std::vector<MenuText> openMenu_;
    // The last row text handed to the list, which keeps the pointer until it asks again.
    mutable std::string rowText_;
};
