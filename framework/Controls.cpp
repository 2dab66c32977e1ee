#include "framework/Controls.h"

#include <algorithm>

#include "base/NameText.h"

std::string CComboBoxEx::GetLBText(int index) const {
    char buffer[1024] = {};
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_TEXT;
    item.iItem = index;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    if (!SendMessage(CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return std::string();
    return buffer;
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask) {
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    return SendMessage(LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item)) != 0;
}

int CListCtrl::InsertColumn(int index, const char* title, int format, int width) {
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(title);
    column.iSubItem = index;
    return static_cast<int>(
        SendMessage(LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::GetColumnCount() const {
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    return header != nullptr ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::string CListCtrl::GetColumnTitle(int index) const {
    char buffer[256] = {};
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT;
    column.pszText = buffer;
    column.cchTextMax = sizeof buffer;
    if (!SendMessage(LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&column)))
        return std::string();
    return buffer;
}

std::string CListCtrl::GetItemText(int index, int column) const {
    char buffer[1024] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessage(LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

void AnswerCellText(NMHDR* header, const std::function<std::string(int, int)>& textOf) {
    if (header->code == LVN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
        if (!(info->item.mask & LVIF_TEXT) || info->item.cchTextMax <= 0)
            return;
        // lstrcpynA never splits a double-byte character.
        lstrcpynA(info->item.pszText, textOf(info->item.iItem, info->item.iSubItem).c_str(),
                  info->item.cchTextMax);
    } else if (header->code == LVN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
        if (!(info->item.mask & LVIF_TEXT) || info->item.cchTextMax <= 0)
            return;
        // The text as it is, also where it has no ANSI form (café, 한국, an emoji).
        std::wstring text = WideFromText(textOf(info->item.iItem, info->item.iSubItem));
        size_t length = std::min(text.size(), static_cast<size_t>(info->item.cchTextMax - 1));
        // Never half of a surrogate pair at the cut.
        if (length < text.size() && length > 0 && text[length - 1] >= 0xD800 &&
            text[length - 1] <= 0xDBFF)
            --length;
        text.copy(info->item.pszText, length);
        info->item.pszText[length] = L'\0';
    }
}
