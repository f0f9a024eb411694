#include "ui/ListViewControl.h"

bool ListViewControl::Create(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, int id,
                             HINSTANCE instance) {
    HWND control = CreateWindowExA(exStyle, WC_LISTVIEWA, "", style | WS_CHILD, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!control) return false;
    AttachWrapper(*this, control);
    return true;
}

void ListViewControl::SetSmallImages(HIMAGELIST images) {
    SendMessageA(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
}

bool ListViewControl::InsertColumn(int index, const std::string& text, int width, int format) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(text.c_str());
    column.fmt = format;
    column.iSubItem = index;
    if (width != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = width;
    }
    return SendMessageA(Handle(), LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column)) != -1;
}

void ListViewControl::SetRowCount(int rows) { SendMessageA(Handle(), LVM_SETITEMCOUNT, rows, 0); }

int ListViewControl::RowCount() const { return static_cast<int>(SendMessageA(Handle(), LVM_GETITEMCOUNT, 0, 0)); }

void ListViewControl::ClearSelection() {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

int ListViewControl::SelectedCount() const {
    return static_cast<int>(SendMessageA(Handle(), LVM_GETSELECTEDCOUNT, 0, 0));
}

bool ListViewControl::FirstSelected(int& row) {
    cursor_ = 0;
    return NextSelected(row);
}

bool ListViewControl::NextSelected(int& row) {
    for (int rows = RowCount(); cursor_ < rows; ++cursor_) {
        if (SendMessageA(Handle(), LVM_GETITEMSTATE, cursor_, LVIS_SELECTED) & LVIS_SELECTED) {
            row = cursor_++;
            return true;
        }
    }
    return false;
}

void ListViewControl::SetRedraw(bool on) { SendMessageA(Handle(), WM_SETREDRAW, on, 0); }
