#pragma once
// One page of the editor host: a window over the tab control's display area that edits one part
// of the project. The host knows its pages only through this interface.
#include <windows.h>

#include <string>

#include "model/EditStack.h"

class Page {
public:
    explicit Page(DWORD helpContext) : helpContext_(helpContext) {}
    virtual ~Page() = default;
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    // Makes the page's window, hidden, as child `id` of `host` over `rect`; true when it exists.
    virtual bool Create(HWND host, const RECT& rect, int id) = 0;
    // Destroys the window and its controls; the page object stays for the next project.
    virtual void Destroy() = 0;
    virtual HWND Handle() const = 0;
    // Refills the page from the project document (forms read it when they open: nothing to do).
    virtual void Reload() {}
    // Carries out a menu or toolbar command routed to the page; false lets it rise.
    virtual bool OnCommand(UINT /*command*/) { return false; }
    // Whether the page can carry out `command` now.
    virtual bool IsCommandEnabled(UINT /*command*/) const { return false; }
    // Enables or disables one of the page's controls.
    virtual void EnableControl(int /*control*/, bool /*enabled*/) {}
    // Reads again what the page shows of the disk (the sizes and dates of files).
    virtual void RefreshFromDisk() {}
    // Lays the page's controls out again at its current size.
    virtual void Relayout() {}
    // The main window moved to a monitor of another scale: the page takes the context's new font
    // and images.
    virtual void DpiChanged() {}
    // The parts of the project the page edits.
    virtual ProjectParts EditedParts() const = 0;
    // Where the page's selection is, as an edit keeps it to select the place again when it is
    // undone or redone (a tree page: the index path of the selected folder); empty for none.
    virtual std::string SelectionPath() const { return {}; }
    virtual void SelectPath(const std::string& /*path*/) {}

    // The help page of the page (F1).
    DWORD HelpContext() const { return helpContext_; }

private:
    DWORD helpContext_;
};
