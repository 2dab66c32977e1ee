#include "ui/ComplementComboBox.h"

#include <shellapi.h>

#include "base/PathText.h"
#include "base/WindowText.h"
#include "base/Owned.h"
#include "ui/FolderCandidates.h"
#include "ui/SystemPath.h"

namespace {

bool IsKeyDown(int key) {
    return GetKeyState(key) < 0;
}

// The window that receives a drop frees its handle.
using DropHandle = Owned<HDROP, &DragFinish>;

// A dropped path, replaced by its drive and folder when it names a file and
// only folders are wanted. A path whose attributes cannot be read stays as it is.
std::string DroppedFieldText(const std::string& path, bool foldersOnly) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (!foldersOnly || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return path;
    PathParts parts = SplitPath(path);
    return parts.drive + parts.folder;
}

} // namespace

BEGIN_MESSAGE_MAP(CComplementComboBox, CComboBoxEx)
ON_CONTROL_REFLECT(CBN_DROPDOWN, OnDropDown)
ON_CONTROL_REFLECT(CBN_CLOSEUP, OnCloseUp)
ON_CONTROL_REFLECT(CBN_SELCHANGE, OnSelChange)
ON_WM_DROPFILES()
END_MESSAGE_MAP()

BOOL CComplementComboBox::PreTranslateMessage(MSG* msg) {
    if (!IsOwnWindow(msg->hwnd))
        return FALSE;
    if (msg->message == WM_KEYDOWN)
        return HandleKeyDown(static_cast<UINT>(msg->wParam));
    if (msg->message == WM_LBUTTONDBLCLK) {
        ListCandidates(GetFieldText());
        ApplyCandidates();
        return TRUE;
    }
    return FALSE;
}

BOOL CComplementComboBox::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != CBN_CLOSEUP || reinterpret_cast<HWND>(lParam) != GetComboBoxCtrl())
        return CComboBoxEx::OnCommand(wParam, lParam);
    // The inner combo box reports the close-up here first. The extended combo box
    // passes it on to the owner, which reflects it to OnCloseUp, and may then put
    // the selected entry into the field (Wine does); the saved text has the last word.
    Default();
    OnCloseUp();
    // Wine's inner combo box takes the focus when its list opens and keeps it
    // after the list closes, where typing, Backspace, Home and End do nothing:
    // the field is where they belong.
    // Focusing the field selects all of it; the caret goes back to the end.
    HWND edit = GetEditCtrl();
    if (::GetFocus() == GetComboBoxCtrl() && edit != nullptr) {
        ::SetFocus(edit);
        MoveCaretToEnd();
    }
    return TRUE;
}

bool CComplementComboBox::HandleKeyDown(UINT key) {
    const bool control = IsKeyDown(VK_CONTROL);
    const bool open = IsListOpen();
    switch (key) {
    case VK_DOWN:
        Complete();
        return true;
    case VK_SPACE:
    case 'J':
        if (!control)
            return false;
        Complete();
        return true;
    case VK_UP:
        if (open) {
            MoveSelection(false);
        } else {
            RefillList();
            ShowList(true);
        }
        return true;
    case VK_TAB:
        if (!open)
            return false;
        MoveSelection(!IsKeyDown(VK_SHIFT));
        return true;
    case VK_RETURN:
        if (!open)
            return false;
        PickSelectedEntry();
        return true;
    case VK_ESCAPE:
        if (!open)
            return false;
        ShowList(false);
        return true;
    case 'K':
    case VK_PRIOR:
        if (open || (key == 'K' && !control))
            return false;
        GoUpOneLevel();
        return true;
    case 'L':
    case VK_NEXT:
        if (open || (key == 'L' && !control))
            return false;
        DeleteToEnd();
        return true;
    default:
        return false;
    }
}

bool CComplementComboBox::IsOwnWindow(HWND hwnd) const {
    return hwnd == m_hWnd || ::IsChild(m_hWnd, hwnd);
}

void CComplementComboBox::RefillList() {
    ResetContent();
    for (const std::string& entry : presetEntries)
        InsertItem(entry);
}

void CComplementComboBox::Complete() {
    if (IsListOpen()) {
        MoveSelection(true);
        return;
    }
    ListCandidates(GetFieldText());
    ApplyCandidates();
}

void CComplementComboBox::ListCandidates(const std::string& prefix) {
    if (prefix.size() <= 1)
        return; // nothing to search on: the list keeps what it has
    ResetContent();
    for (const std::string& candidate : FindCandidates(prefix, foldersOnly != 0))
        InsertItem(candidate);
}

void CComplementComboBox::ApplyCandidates() {
    const std::string text = GetFieldText();
    if (text.size() == 1 && text[0] == '\\') {
        SetFieldText("\\\\"); // the start of a network path
        return;
    }
    if (text.size() == 1 && IsAsciiLetter(text[0])) {
        SetFieldText(text + ":\\");
        return;
    }
    if (text.size() == 2 && IsAsciiLetter(text[0]) && text[1] == ':') {
        SetFieldText(text + "\\");
        return;
    }
    const int count = GetCount();
    if (count == 1)
        SetFieldText(GetLBText(0));
    else if (count > 1)
        ShowList(true);
}

void CComplementComboBox::MoveSelection(bool downwards) {
    const int count = GetCount();
    if (count <= 0)
        return;
    const int selected = GetCurSel();
    int target;
    if (downwards) {
        target = selected + 1 < count ? selected + 1 : 0;
    } else {
        target = (selected < 0 ? count : selected) - 1;
        if (target < 0)
            target = count - 1;
    }
    SetCurSel(target);
    MoveCaretToEnd();
}

void CComplementComboBox::GoUpOneLevel() {
    const std::string text = GetFieldText();
    PathParts parts = SplitPath(text);
    std::string result = parts.drive + parts.folder;
    // Nothing after the last separator or colon: step back over it too.
    if (!result.empty() && parts.name.empty() && parts.extension.empty())
        result.pop_back();
    SetFieldText(result);
}

void CComplementComboBox::DeleteToEnd() {
    HWND edit = GetEditCtrl();
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    ::SendMessageA(edit, EM_SETSEL, end, -1);
    ::SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    ::SendMessageA(edit, WM_CLEAR, 0, 0);
}

std::string CComplementComboBox::GetFieldText() const {
    return WindowText(GetEditCtrl());
}

void CComplementComboBox::SetFieldText(const std::string& text) {
    ::SetWindowTextA(GetEditCtrl(), text.c_str());
    MoveCaretToEnd();
}

bool CComplementComboBox::IsListOpen() const {
    return ::SendMessageA(GetComboBoxCtrl(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void CComplementComboBox::ShowList(bool open) {
    ::SendMessageA(GetComboBoxCtrl(), CB_SHOWDROPDOWN, open ? TRUE : FALSE, 0);
}

void CComplementComboBox::PickSelectedEntry() {
    const int selected = GetCurSel();
    if (selected < 0)
        return; // nothing chosen yet: the list stays open
    savedText = GetLBText(selected);
    ShowList(false);
}

void CComplementComboBox::MoveCaretToEnd() {
    HWND edit = GetEditCtrl();
    // Positions past the end stand for the end, whatever unit the field counts in.
    const WPARAM end = static_cast<WPARAM>(::GetWindowTextLengthA(edit));
    ::SendMessageA(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
    ::SendMessageA(edit, EM_SCROLLCARET, 0, 0);
}

void CComplementComboBox::OnDropDown() {
    if (GetCount() == 0)
        RefillList();
    savedText = GetFieldText();
}

void CComplementComboBox::OnCloseUp() {
    if (!savedText.empty())
        SetFieldText(savedText);
}

void CComplementComboBox::OnSelChange() {
    MoveCaretToEnd();
}

void CComplementComboBox::OnDropFiles(HDROP drop) {
    DropHandle owned(drop);
    // The first item only, in UTF-16: the ANSI form may be a look-alike.
    UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring dropped(length + 1, L'\0');
    std::string path;
    if (length > 0 && DragQueryFileW(drop, 0, dropped.data(), length + 1) == length) {
        dropped.resize(length);
        if (TakeSystemPath(m_hWnd, dropped, path))
            SetFieldText(DroppedFieldText(path, foldersOnly != 0));
    }
    Default();
}
