#pragma once
// A wrapper of the platform tree view. Items can be addressed by index paths: the position of
// each item among its siblings, from the top level down, joined by a separator ("0/1").
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ui/Window.h"

class TreeViewControl : public Window {
public:
    // The control goes with its parent window, never with the wrapper.
    ~TreeViewControl() override { ForgetHandle(); }

    static constexpr char kPathSeparator = '/';

    bool Create(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, int id, HINSTANCE instance);

    // An image or selected image of -1 is left out.
    HTREEITEM InsertItem(const std::string& text, int image, int selectedImage, LPARAM data,
                         HTREEITEM parent, HTREEITEM insertAfter);
    // Position 0 inserts as the first child, n after the (n-1)-th; a negative position inserts nothing.
    HTREEITEM InsertItemAt(const std::string& text, int image, int selectedImage, LPARAM data,
                           HTREEITEM parent, int position);
    HTREEITEM ChildAt(HTREEITEM parent, int n) const;
    HTREEITEM ItemFromPath(const std::string& path, char separator = kPathSeparator) const;
    // `item` may be TVI_ROOT for the first top-level item. False when there is no item or the
    // path does not fit `size` characters and a terminating zero (what fits is kept).
    bool PathOfItem(HTREEITEM item, std::string& path, size_t size, char separator = kPathSeparator) const;

    HTREEITEM Root() const;
    HTREEITEM Selection() const;
    bool Select(HTREEITEM item);
    bool Expand(HTREEITEM item);
    bool Delete(HTREEITEM item);
    HTREEITEM HitTest(POINT client) const;

private:
    HTREEITEM Next(HTREEITEM item, UINT relation) const;
};
