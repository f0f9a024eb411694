#pragma once
// A wrapper of the platform list view (owner-data lists of the pages), with iteration over the
// selected rows.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ui/Window.h"

class ListViewControl : public Window {
public:
    // The control goes with its parent window, never with the wrapper.
    ~ListViewControl() override { ForgetHandle(); }

    bool Create(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, int id, HINSTANCE instance);
    void SetSmallImages(HIMAGELIST images);
    // A width of -1 is left to the control.
    bool InsertColumn(int index, const std::string& text, int width, int format);
    void SetRowCount(int rows);
    int RowCount() const;
    void ClearSelection();
    int SelectedCount() const;
    // The selected rows in ascending order; false when none is left.
    bool FirstSelected(int& row);
    bool NextSelected(int& row);
    void SetRedraw(bool on);

private:
    // The next row to examine.
    int cursor_ = 0;
};
