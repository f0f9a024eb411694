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

ListPage::ListPage(EditorContext& context, const char* className, DWORD helpContext, int page)
    : Page(helpContext), context_(context), className_(className), page_(page), window_(*this) {}

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

HMENU ListPage::MakeContextMenu(bool fromTree) {
    const std::vector<ContextLine> lines = ContextMenuOf(page_, fromTree ? kTreePane : kListPane);
    if (!editable_ || lines.empty()) return nullptr;
    const CommandState state = context_.CommandStateNow();
    HMENU menu = CreatePopupMenu();
    std::vector<HMENU> levels{menu};
    openMenu_.clear();
    for (const ContextLine& line : lines) {
        HMENU level = levels.back();
        switch (line.kind) {
        case ContextLine::Item: {
            const std::string label = UiString(*line.text);
            const UINT enabled = IsEnabled(*line.command, state) ? MF_ENABLED : MF_GRAYED;
            AppendMenuA(level, MF_STRING | enabled, line.command->id, label.c_str());
            openMenu_.push_back({line.command->id, nullptr, *line.text});
            break;
        }
        case ContextLine::Separator: AppendMenuA(level, MF_SEPARATOR, 0, nullptr); break;
        case ContextLine::Submenu: {
            HMENU submenu = CreatePopupMenu();
            const std::string label = UiString(*line.text);
            AppendMenuA(level, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu), label.c_str());
            openMenu_.push_back({0, submenu, *line.text});
            levels.push_back(submenu);
            break;
        }
        case ContextLine::SubmenuEnd:
            if (levels.size() > 1) levels.pop_back();
            break;
        }
    }
    return menu;
}

void ListPage::CloseContextMenu(HMENU menu) {
    openMenu_.clear();
    if (menu) DestroyMenu(menu);
}

void ListPage::OpenContextMenu(HWND control, int x, int y) {
    if (x == -1 && y == -1) {
        RECT rect{};
        GetWindowRect(control, &rect);
        x = (rect.left + rect.right) / 2;
        y = (rect.top + rect.bottom) / 2;
    }
    HMENU menu = MakeContextMenu(control == TreeHandle());
    if (!menu) return;
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, x, y, 0, Handle(), nullptr);
    CloseContextMenu(menu);
}

bool ListPage::OnContextMenu(HWND control, int x, int y) {
    if (control != list_.Handle() && (!TreeHandle() || control != TreeHandle())) return false;
    OpenContextMenu(control, x, y);
    return true;
}

void ListPage::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
    std::optional<TextKey> text;
    if (flags != 0xFFFF) {
        HMENU submenu = (flags & MF_POPUP) ? GetSubMenu(menu, static_cast<int>(item)) : nullptr;
        for (const MenuText& entry : openMenu_)
            if ((flags & MF_POPUP) ? submenu && entry.submenu == submenu : !entry.submenu && entry.command == item)
                text = entry.text;
    }
    context_.SetStatusText(text ? context_.Texts().UiHint(*text) : context_.ApplicationTitle());
}

ProjectDocument& ListPage::Project() const { return *context_.Project(); }

std::string ListPage::CommandName(UINT command) const {
    const std::vector<int> rows = RowsDeletedBy(command);
    if (rows.size() > 1) {
        const bool mixed = std::any_of(rows.begin(), rows.end(), [this](int row) { return RowIsContainer(row); });
        const TextKey counted = mixed ? TextKeys::kCountedDelete.Key(861) : CountedDeleteName();
        return ReplaceFirstPlaceholder(UiString(counted), std::to_string(rows.size()));
    }
    for (const MenuText& item : openMenu_)
        if (!item.submenu && item.command == command) return PlainLabel(UiString(item.text));
    // Otherwise the name of the toolbar's button: the page's own delete commands are Delete, as
    // the button that becomes them, and a row opened shows its Properties.
    const Command* row = FindCommand(command);
    const Command* named = row && row->tip ? row : FindCommand(IsDeleteCommand(command) ? ID_DELETE : ID_PROPERTIES);
    return PlainLabel(UiString(*named->tip));
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
