#include "SettingsTestKit.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <functional>

HWND EditOf(HWND comboBoxEx) {
    return reinterpret_cast<HWND>(SendMessageA(comboBoxEx, CBEM_GETEDITCONTROL, 0, 0));
}

std::string TextOf(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

namespace {

HWND TextWindow(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    HWND edit = EditOf(item);
    return edit != nullptr ? edit : item;
}

} // namespace

std::string ItemText(HWND dialog, int id) {
    return TextOf(TextWindow(dialog, id));
}

void SetItemText(HWND dialog, int id, const std::string& text) {
    SetWindowTextA(TextWindow(dialog, id), text.c_str());
}

bool IsChecked(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

void Click(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void ChooseMode(HWND dialog, int index) {
    HWND modes = GetDlgItem(dialog, 1016);
    SendMessageA(modes, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1016, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(modes));
}

void PostKey(HWND target, UINT key) {
    PostMessageA(target, WM_KEYDOWN, key, 1);
}

HeldKey::HeldKey(int key) {
    GetKeyboardState(saved_);
    BYTE state[256];
    std::memcpy(state, saved_, sizeof state);
    state[key] |= 0x80;
    SetKeyboardState(state);
}

HeldKey::~HeldKey() {
    SetKeyboardState(saved_);
}

namespace {

struct WindowSearch {
    std::function<bool(HWND)> matches;
    HWND found = nullptr;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<WindowSearch*>(search);
    if (!IsWindowVisible(window) || !s->matches(window))
        return TRUE;
    s->found = window;
    return FALSE;
}

HWND FindThreadWindow(std::function<bool(HWND)> matches) {
    WindowSearch search{std::move(matches)};
    EnumThreadWindows(GetCurrentThreadId(), CheckWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsDialogWindow(HWND window) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    return std::strcmp(className, "#32770") == 0;
}

} // namespace

HWND FindSettingsDialog() {
    return FindThreadWindow([](HWND window) {
        return IsDialogWindow(window) && TextOf(window).rfind("フォルダ同期オプション", 0) == 0;
    });
}

HWND FindOwnedDialog(HWND owner) {
    return FindThreadWindow([owner](HWND window) {
        return IsDialogWindow(window) && GetWindow(window, GW_OWNER) == owner &&
               TextOf(window) != "Orvane";
    });
}

std::string SelectedTreeItemText(HWND browser) {
    HWND tree = FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr);
    char text[MAX_PATH] = {};
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = TreeView_GetSelection(tree);
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return text;
}

bool SelectSiblingFolder(HWND browser, const std::string& name) {
    HWND tree = FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr);
    HTREEITEM selected = TreeView_GetSelection(tree);
    if (selected == nullptr)
        return false;
    HTREEITEM parent = TreeView_GetParent(tree, selected);
    for (HTREEITEM item = TreeView_GetChild(tree, parent); item != nullptr;
         item = TreeView_GetNextSibling(tree, item)) {
        char text[MAX_PATH] = {};
        TVITEMA label = {};
        label.mask = TVIF_TEXT;
        label.hItem = item;
        label.pszText = text;
        label.cchTextMax = sizeof text;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&label));
        if (name == text)
            return TreeView_SelectItem(tree, item) != FALSE;
    }
    return false;
}

std::string TakeMessageBox() {
    HWND box = FindWindowA("#32770", "Orvane");
    if (box == nullptr)
        return std::string();
    std::string text = TextOf(GetDlgItem(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return text;
}

HDROP MakeDrop(const std::vector<std::string>& paths) {
    std::string names;
    for (const std::string& path : paths)
        names += path + '\0';
    names += '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

HDROP MakeDrop(const std::wstring& path) {
    std::wstring names = path + L'\0' + L'\0';
    size_t bytes = names.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), bytes);
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}
