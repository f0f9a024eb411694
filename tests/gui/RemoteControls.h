#pragma once
// Reading and driving the list and tree controls of another process: whatever a control message
// passes by pointer lives in memory allocated inside that process.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// A block of memory inside another process, freed by the destructor.
class RemoteBuffer {
public:
    RemoteBuffer(DWORD process, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    void* Address() const { return address_; }
    LPARAM Param(size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset); }
    bool Write(const void* data, size_t size, size_t offset = 0) const;
    bool Read(void* data, size_t size, size_t offset = 0) const;
    // Leaves the memory to the other process (which frees it itself).
    void* Release();

private:
    HANDLE process_;
    void* address_;
};

// A page of the editor host: its window (ids 1004 upward in page order) and its controls.
HWND PageWindow(HWND main, int page);

int ListRowCount(HWND list);
std::string ListText(DWORD process, HWND list, int row, int column);
// Exactly `rows` selected, the first of them focused.
void SelectRows(DWORD process, HWND list, const std::vector<int>& rows);
int SelectedRowCount(HWND list);
// A double click on the row, as the mouse makes it.
void DoubleClickRow(DWORD process, HWND list, int row);

// The item at an index path ({0, 2}: the third child of the first top-level item).
HTREEITEM TreeItemAt(HWND tree, const std::vector<int>& path);
HTREEITEM TreeSelection(HWND tree);
std::string TreeText(DWORD process, HWND tree, HTREEITEM item);
void SelectTreeItem(HWND tree, HTREEITEM item);

// Posts WM_DROPFILES to `window` with the paths, as the shell would after a drag.
void DropFiles(DWORD process, HWND window, const std::vector<std::string>& paths);
