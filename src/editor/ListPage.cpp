#include "editor/ListPage.h"

#include <algorithm>
#include <map>

#include "core/Text.h"
#include "editor/EditorContext.h"
#include "editor/FormBinder.h"
#include "editor/MessageBox.h"
#include "lang/LanguageSets.h"
#include "model/ProjectDocument.h"
#include "model/Variables.h"
#include "platform/AppMessages.h"
#include "resource.h"
#include "ui/Dialog.h"
#include "ui/DpiResources.h"
#include "ui/MenuHelpers.h"

namespace {

// One registration per page class name.
WindowClassRegistration& RegistrationOf(const char* className) {
    static std::map<std::string, WindowClassRegistration> registrations;
    return registrations.try_emplace(className, className).first->second;
}

// The room a header item gives beside its text (its margins and the sort arrow's gap), at 96 DPI.
constexpr int kHeaderTextMargin = 16;

constexpr UINT kVirtualKeyInsert = VK_INSERT;
constexpr UINT kVirtualKeyDelete = VK_DELETE;

}  // namespace

ListPage::ListPage(EditorContext& context, const char* className, DWORD helpContext)
    : Page(helpContext), context_(context), className_(className), window_(*this) {}

ListPage::~ListPage() { window_.Destroy(); }

bool ListPage::Create(HWND host, const RECT& rect, int id) {
    if (window_.HasWindow()) return true;
    HINSTANCE instance = context_.ResourceInstance();
    RegistrationOf(className_).Ensure(instance);
    return window_.Create(acceptsDrops_ ? WS_EX_ACCEPTFILES : 0, className_,
                          WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, host, id, instance);
}

void ListPage::Destroy() {
    list_.Destroy();
    window_.Destroy();
}

void ListPage::Relayout() {
    const SIZE size = GetClientSize(window_.Handle());
    Layout(size.cx, size.cy);
}

bool ListPage::CreateList(const RECT& rect, const std::vector<ListColumn>& columns, bool severalRows) {
    if (list_.HasWindow()) return true;
    const DWORD style = WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS |
                        LVS_SHAREIMAGELISTS | (severalRows ? 0 : LVS_SINGLESEL);
    if (!list_.Create(WS_EX_CLIENTEDGE, style, rect, Handle(), IDC_PAGE_LIST, context_.ResourceInstance()))
        return false;
    SetWindowFont(list_.Handle(), context_.Font());
    SendMessageA(list_.Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    columns_ = columns;
    for (size_t index = 0; index < columns.size(); ++index)
        list_.InsertColumn(static_cast<int>(index), UiString(columns[index].text), ColumnWidth(columns[index]),
                           LVCFMT_LEFT);
    return true;
}

int ListPage::ColumnWidth(const ListColumn& column) const {
    const WindowDpi dpi = context_.Dpi();
    const std::string header = UiString(column.text);
    const int text = static_cast<int>(
        SendMessageA(list_.Handle(), LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(header.c_str())));
    return std::max(dpi.Scale(column.width), text + dpi.Scale(kHeaderTextMargin));
}

// Images kept while no project is open change too: the next project's page shows them.
void ListPage::DpiChanged() {
    OnDpiChanged();
    if (!list_.HasWindow()) return;
    SetWindowFont(list_.Handle(), context_.Font());
    for (size_t index = 0; index < columns_.size(); ++index)
        SendMessageA(list_.Handle(), LVM_SETCOLUMNWIDTH, index, ColumnWidth(columns_[index]));
    Relayout();
}

void ListPage::ResetRows(int rows) {
    list_.SetRedraw(false);
    list_.SetRowCount(rows);
    list_.ClearSelection();
    list_.SetRedraw(true);
    InvalidateRect(list_.Handle(), nullptr, TRUE);
}

std::vector<int> ListPage::SelectedRows() const {
    std::vector<int> rows;
    int row = -1;
    while ((row = static_cast<int>(SendMessageA(list_.Handle(), LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0)
        rows.push_back(row);
    return rows;
}

void ListPage::AnswerDisplayRequest(NMLVDISPINFOA& request) const {
    LVITEMA& item = request.item;
    if (item.mask & LVIF_TEXT) {
        rowText_ = RowText(item.iItem, item.iSubItem);
        item.pszText = rowText_.data();
    }
    if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0) item.iImage = RowImage(item.iItem);
}

bool ListPage::OnNotify(int controlId, NMHDR* header, LRESULT& result) {
    if (controlId != IDC_PAGE_LIST) return false;
    switch (header->code) {
    case LVN_GETDISPINFOA:
        AnswerDisplayRequest(*reinterpret_cast<NMLVDISPINFOA*>(header));
        return true;
    case LVN_ODCACHEHINT:
        return true;
    case NM_DBLCLK: {
        const int row = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
        if (row >= 0) SendMessageA(Handle(), app_messages::kActivateRow, 0, row);
        return true;
    }
    case LVN_KEYDOWN: {
        const WORD key = reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey;
        if (key == kVirtualKeyInsert) OpenContextMenu(list_.Handle(), -1, -1);
        else if (key == kVirtualKeyDelete) DeleteKeyAsEdit(false);
        result = 0;
        return false;
    }
    default:
        return false;
    }
}

void ListPage::OpenContextMenu(HWND control, int x, int y) {
    if (!editable_) return;
    if (x == -1 && y == -1) {
        RECT rect{};
        GetWindowRect(control, &rect);
        x = (rect.left + rect.right) / 2;
        y = (rect.top + rect.bottom) / 2;
    }
    ContextMenu wanted = MenuOf(control == TreeHandle());
    if (!wanted.resource) return;
    HMENU bar = LoadMenuA(context_.ResourceInstance(), MAKEINTRESOURCEA(wanted.resource));
    if (!bar) return;
    HMENU menu = GetSubMenu(bar, 0);
    for (const MenuText& item : wanted.items) {
        std::string label = UiString(item.text);
        ModifyMenuA(menu, item.command, MF_BYCOMMAND | MF_STRING, item.command, label.c_str());
    }
    if (wanted.submenuText) {
        std::string label = UiString(*wanted.submenuText);
        ModifyMenuA(menu, 0, MF_BYPOSITION | MF_POPUP | MF_STRING,
                    reinterpret_cast<UINT_PTR>(GetSubMenu(menu, 0)), label.c_str());
    }
    openMenu_ = std::move(wanted);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, x, y, 0, Handle(), nullptr);
    openMenu_ = ContextMenu{};
    DestroyMenu(bar);
}

bool ListPage::OnContextMenu(HWND control, int x, int y) {
    if (control != list_.Handle() && (!TreeHandle() || control != TreeHandle())) return false;
    OpenContextMenu(control, x, y);
    return true;
}

void ListPage::OnInitMenu(HMENU menu) {
    for (const MenuText& item : openMenu_.items) EnableCommand(menu, item.command, IsCommandEnabled(item.command));
}

void ListPage::OnMenuSelect(UINT item, UINT flags, HMENU) {
    std::optional<TextKey> text;
    if (flags != 0xFFFF) {
        if ((flags & MF_POPUP) && item == 0) text = openMenu_.submenuText;
        for (const MenuText& entry : openMenu_.items)
            if (!(flags & MF_POPUP) && entry.command == item) text = entry.text;
    }
    context_.SetStatusText(text ? context_.Texts().UiHint(*text) : context_.ApplicationTitle());
}

ProjectDocument& ListPage::Project() const { return *context_.Project(); }

namespace {

// The toolbar's tooltip of each page command that the host routes to the pages.
struct CommandTip {
    UINT command;
    int tip;
};
constexpr CommandTip kCommandTips[] = {
    {ID_NEW_FOLDER, 804}, {ID_INSERT_FILES, 805}, {ID_NEW_SHORTCUT_FOLDER, 806}, {ID_NEW_SHORTCUT, 807},
    {ID_NEW_INTERNET_SHORTCUT, 808}, {ID_NEW_KEY, 809}, {ID_NEW_STRING, 810}, {ID_NEW_BINARY, 811},
    {ID_NEW_DWORD, 812}, {ID_DELETE, 815}, {ID_PROPERTIES, 816}, {ID_NEW_FILE_ASSOCIATION, 821},
};

}  // namespace

std::string ListPage::CommandName(UINT command) const {
    const std::vector<int> rows = RowsDeletedBy(command);
    if (rows.size() > 1) {
        const bool mixed = std::any_of(rows.begin(), rows.end(), [this](int row) { return RowIsContainer(row); });
        const TextKey counted = mixed ? TextKeys::kCountedDelete.Key(861) : CountedDeleteName();
        return ReplaceFirstPlaceholder(UiString(counted), std::to_string(rows.size()));
    }
    for (const MenuText& item : openMenu_.items)
        if (item.command == command) return PlainLabel(UiString(item.text));
    // The page's own delete commands are Delete, as the toolbar's button that becomes them.
    int tip = IsDeleteCommand(command) ? 815 : 816;  // a row opened shows its Properties
    for (const CommandTip& entry : kCommandTips)
        if (entry.command == command) tip = entry.tip;
    return PlainLabel(UiString(TextKeys::kToolbarTips.Key(tip)));
}

bool ListPage::RunAsEdit(const std::string& name, const std::function<bool()>& action) {
    if (!editable_ || !context_.Project()) return action();
    ProjectEdit edit(name, EditedParts());
    edit.SetSelection(SelectionPath());
    bool result = false;
    Project().Apply(std::move(edit), [&] { result = action(); });
    return result;
}

bool ListPage::OnAppMessage(UINT message, LPARAM extra) {
    if (message != app_messages::kActivateRow) return RunMessage(message, extra);
    return RunAsEdit(CommandName(ID_PROPERTIES), [&] { return RunMessage(message, extra); });
}

bool ListPage::RunCommandAsEdit(UINT command, LPARAM extra) {
    return RunAsEdit(CommandName(command), [&] { return RunCommand(command, extra); });
}

void ListPage::DropFilesAsEdit(HDROP drop) {
    RunAsEdit(CommandName(ID_INSERT_FILES), [&] {
        OnDropFiles(drop);
        return true;
    });
}

void ListPage::DeleteKeyAsEdit(bool inTree) {
    RunAsEdit(CommandName(inTree ? ID_DELETE : RowsDeleteCommand()), [&] {
        DeleteKey(inTree);
        return true;
    });
}

std::string ListPage::UiString(TextKey key) const { return context_.Texts().UiString(key); }

std::string ListPage::NodeDisplayName(const std::string& name) const {
    static_assert(TextKeys::kVariableNames.Count() == kDisplayedVariableCount);
    const int index = VariableIndex(name);
    if (index < 0) return name;
    const std::string shown = UiString(TextKeys::kVariableNames[static_cast<size_t>(index)]);
    return shown.empty() ? VariableDisplayName(name) : shown;
}

void ListPage::Warn(TextKey message, const std::string& detail) const {
    const LanguageSets& texts = context_.Texts();
    const std::string text = ReplaceFirstPlaceholder(texts.UiText(message), detail);
    ShowMessage(DialogOwner(), text, texts, MessageKind::Warning);
}

HWND ListPage::DialogOwner() const { return GetAncestor(Handle(), GA_ROOT); }

bool ListPage::RunDialog(int templateId, DialogCreator& creator) const {
    return ShowModalDialog(context_.ResourceInstance(), templateId, DialogOwner(), creator) == IDC_OK;
}
