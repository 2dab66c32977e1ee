#pragma once
// Thin typed wrappers of the common controls: each message becomes a method
// named for what it does.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "framework/Wnd.h"

class CStatic : public CWnd {};

class CComboBox : public CWnd {
public:
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, index)); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
};

// The extended combo box; its edit field and inner combo box are separate windows.
class CComboBoxEx : public CComboBox {
public:
    HWND GetEditCtrl() const { return reinterpret_cast<HWND>(SendMessage(CBEM_GETEDITCONTROL)); }
    HWND GetComboBoxCtrl() const {
        return reinterpret_cast<HWND>(SendMessage(CBEM_GETCOMBOCONTROL));
    }
    // Inserts a text-only entry at the index (-1: at the end); returns where it
    // went, or -1.
    int InsertItem(const std::string& text, int index = -1) {
        COMBOBOXEXITEMA item = {};
        item.mask = CBEIF_TEXT;
        item.iItem = index;
        item.pszText = const_cast<char*>(text.c_str());
        return static_cast<int>(SendMessage(CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    }
    std::string GetLBText(int index) const;
};

class CListCtrl : public CWnd {
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    UINT GetItemState(int index, UINT mask) const {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, index, mask));
    }
    BOOL SetItemState(int index, UINT state, UINT mask);
    // The row count of a list whose rows its owner holds (LVS_OWNERDATA).
    BOOL SetItemCountEx(int count, DWORD flags) {
        return SendMessage(LVM_SETITEMCOUNT, count, flags) != 0;
    }
    int GetNextSelected(int after) const {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, after, LVNI_SELECTED));
    }
    BOOL DeleteAllItems() { return SendMessage(LVM_DELETEALLITEMS) != 0; }
    int InsertColumn(int index, const char* title, int format, int width);
    BOOL DeleteColumn(int index) { return SendMessage(LVM_DELETECOLUMN, index) != 0; }
    int GetColumnCount() const;
    std::string GetColumnTitle(int index) const;
    // Width in pixels of a text in the list's font.
    int TextWidth(const char* text) const {
        return static_cast<int>(
            SendMessage(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
    }
    int GetColumnWidth(int index) const {
        return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, index));
    }
    DWORD SetExtendedStyle(DWORD style) {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style));
    }
    DWORD GetExtendedStyle() const {
        return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE));
    }
    // The text the list shows in a cell (asks the text callback).
    std::string GetItemText(int index, int column) const;
};

// Answers a virtual list's request for a cell's text (LVN_GETDISPINFO in its A or
// its W form) with textOf(row, column), a program text in which names without an
// ANSI form are escaped: the A form gets it as it is, the W form gets every name
// as it is. Cut to the list's buffer without splitting a double-byte character
// or a surrogate pair. A request that asks for no text is left alone.
void AnswerCellText(NMHDR* header, const std::function<std::string(int row, int column)>& textOf);
