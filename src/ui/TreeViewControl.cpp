#include "ui/TreeViewControl.h"

#include <cstdlib>
#include <vector>

bool TreeViewControl::Create(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, int id,
                             HINSTANCE instance) {
    HWND control = CreateWindowExA(exStyle, WC_TREEVIEWA, "", style, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!control) return false;
    AttachWrapper(*this, control);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    return true;
}

HTREEITEM TreeViewControl::Next(HTREEITEM item, UINT relation) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(Handle(), TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM TreeViewControl::InsertItem(const std::string& text, int image, int selectedImage,
                                      LPARAM data, HTREEITEM parent, HTREEITEM insertAfter) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = insertAfter;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.lParam = data;
    if (image != -1) {
        insert.item.mask |= TVIF_IMAGE;
        insert.item.iImage = image;
    }
    if (selectedImage != -1) {
        insert.item.mask |= TVIF_SELECTEDIMAGE;
        insert.item.iSelectedImage = selectedImage;
    }
    return reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

HTREEITEM TreeViewControl::InsertItemAt(const std::string& text, int image, int selectedImage,
                                        LPARAM data, HTREEITEM parent, int position) {
    if (position < 0) return nullptr;
    HTREEITEM after = position == 0 ? TVI_FIRST : ChildAt(parent, position - 1);
    if (!after) return nullptr;
    return InsertItem(text, image, selectedImage, data, parent, after);
}

HTREEITEM TreeViewControl::ChildAt(HTREEITEM parent, int n) const {
    HTREEITEM item = parent == TVI_ROOT || !parent ? Root() : Next(parent, TVGN_CHILD);
    for (; item && n > 0; --n) item = Next(item, TVGN_NEXT);
    return n < 0 ? nullptr : item;
}

HTREEITEM TreeViewControl::ItemFromPath(const std::string& path, char separator) const {
    HTREEITEM item = Root();
    size_t at = 0;
    while (item && at < path.size()) {
        size_t end = path.find(separator, at);
        if (end == std::string::npos) end = path.size();
        for (int n = std::atoi(path.substr(at, end - at).c_str()); item && n > 0; --n) item = Next(item, TVGN_NEXT);
        at = end + 1;
        if (item && at < path.size()) item = Next(item, TVGN_CHILD);
    }
    return item;
}

bool TreeViewControl::PathOfItem(HTREEITEM item, std::string& path, size_t size, char separator) const {
    path.clear();
    if (item == TVI_ROOT) item = Root();
    if (!item || size < 1) return false;
    std::vector<HTREEITEM> chain;
    for (HTREEITEM up = item; up; up = Next(up, TVGN_PARENT)) chain.push_back(up);
    std::string full;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        int previous = 0;
        for (HTREEITEM sibling = Next(*it, TVGN_PREVIOUS); sibling; sibling = Next(sibling, TVGN_PREVIOUS)) ++previous;
        if (!full.empty()) full += separator;
        full += std::to_string(previous);
    }
    if (full.size() + 1 > size) {
        path = full.substr(0, size - 1);
        return false;
    }
    path = full;
    return true;
}

HTREEITEM TreeViewControl::Root() const { return Next(nullptr, TVGN_ROOT); }

HTREEITEM TreeViewControl::Selection() const { return Next(nullptr, TVGN_CARET); }

bool TreeViewControl::Select(HTREEITEM item) {
    return SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) == 1;
}

bool TreeViewControl::Expand(HTREEITEM item) {
    return SendMessageA(Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item)) == 1;
}

bool TreeViewControl::Delete(HTREEITEM item) {
    return SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)) == 1;
}

HTREEITEM TreeViewControl::HitTest(POINT client) const {
    TVHITTESTINFO info{};
    info.pt = client;
    return reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}
