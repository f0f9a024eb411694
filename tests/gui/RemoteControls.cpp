#include "RemoteControls.h"

#include <shlobj.h>

#include "BuilderProcess.h"
#include "resource.h"

RemoteBuffer::RemoteBuffer(DWORD process, size_t size)
    : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process)),
      address_(process_ ? VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE) : nullptr) {}

RemoteBuffer::~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
}

bool RemoteBuffer::Write(const void* data, size_t size, size_t offset) const {
    return WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr) != FALSE;
}

bool RemoteBuffer::Read(void* data, size_t size, size_t offset) const {
    return ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr) != FALSE;
}

void* RemoteBuffer::Release() {
    void* address = address_;
    address_ = nullptr;
    return address;
}

HWND PageWindow(HWND main, int page) { return GetDlgItem(GetDlgItem(main, ID_EDITOR_HOST), 1004 + page); }

int ListRowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

int SelectedRowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0)); }

std::string ListText(DWORD process, HWND list, int row, int column) {
    constexpr size_t kText = 1024;
    RemoteBuffer buffer(process, sizeof(LVITEMA) + kText);
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<char*>(buffer.Param(sizeof item));
    item.cchTextMax = kText;
    buffer.Write(&item, sizeof item);
    const LRESULT length = SendMessageA(list, LVM_GETITEMTEXTA, row, buffer.Param());
    std::string text(static_cast<size_t>(length), '\0');
    buffer.Read(text.data(), text.size(), sizeof item);
    return text;
}

void SelectRows(DWORD process, HWND list, const std::vector<int>& rows) {
    RemoteBuffer buffer(process, sizeof(LVITEMA));
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    buffer.Write(&item, sizeof item);
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), buffer.Param());
    for (size_t index = 0; index < rows.size(); ++index) {
        item.state = LVIS_SELECTED | (index == 0 ? LVIS_FOCUSED : 0);
        buffer.Write(&item, sizeof item);
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(rows[index]), buffer.Param());
    }
}

void DoubleClickRow(DWORD process, HWND list, int row) {
    RemoteBuffer buffer(process, sizeof(RECT));
    RECT rect{};
    rect.left = LVIR_LABEL;
    buffer.Write(&rect, sizeof rect);
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), buffer.Param());
    buffer.Read(&rect, sizeof rect);
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(list, WM_LBUTTONUP, 0, point);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    SendMessageA(list, WM_LBUTTONUP, 0, point);
}

HTREEITEM TreeItemAt(HWND tree, const std::vector<int>& path) {
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    for (size_t level = 0; item && level < path.size(); ++level) {
        if (level > 0) item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        for (int n = path[level]; item && n > 0; --n)
            item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    return item;
}

HTREEITEM TreeSelection(HWND tree) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

std::string TreeText(DWORD process, HWND tree, HTREEITEM item) {
    constexpr size_t kText = 1024;
    RemoteBuffer buffer(process, sizeof(TVITEMA) + kText);
    TVITEMA data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = reinterpret_cast<char*>(buffer.Param(sizeof data));
    data.cchTextMax = kText;
    buffer.Write(&data, sizeof data);
    if (!SendMessageA(tree, TVM_GETITEMA, 0, buffer.Param())) return std::string();
    char text[kText] = "";
    buffer.Read(text, sizeof text - 1, sizeof data);
    return text;
}

void SelectTreeItem(HWND tree, HTREEITEM item) {
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

// The drop's memory is a fixed block in the receiving process, which releases it itself when
// it finishes the drop.
void DropFiles(DWORD process, HWND window, const std::vector<std::string>& paths) {
    std::string names;
    for (const std::string& path : paths) names += path + '\0';
    names += '\0';
    DROPFILES header{};
    header.pFiles = sizeof header;
    RemoteBuffer buffer(process, sizeof header + names.size());
    buffer.Write(&header, sizeof header);
    buffer.Write(names.data(), names.size(), sizeof header);
    PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(buffer.Release()), 0);
}
