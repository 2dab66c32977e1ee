#include "ui/FolderBrowser.h"

#include <shlobj.h>

#include "ui/PathText.h"

namespace {

// What the browser is to show first, and whether it has shown it. Wine's browser,
// the first time in a process, can fail to select while it is still setting
// itself up; the selection is asked again until the browser reports it, and never
// after, so it cannot undo a choice made once the folder was shown.
struct InitialSelection {
    const char* folder;
    bool shown = false;
    int triesLeft = 20;
};

const UINT kRetryMs = 50;

bool IsFolder(LPCITEMIDLIST item, const char* folder) {
    char path[MAX_PATH] = {};
    return item != nullptr && SHGetPathFromIDListA(item, path) &&
           SamePathText(WithoutTrailingBackslash(path), WithoutTrailingBackslash(folder));
}

void CALLBACK RetrySelection(HWND browser, UINT, UINT_PTR timer, DWORD) {
    auto* selection = reinterpret_cast<InitialSelection*>(timer);
    if (selection->shown || --selection->triesLeft <= 0) {
        KillTimer(browser, timer);
        return;
    }
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(selection->folder));
}

int CALLBACK BrowserEvent(HWND browser, UINT message, LPARAM detail, LPARAM data) {
    auto* selection = reinterpret_cast<InitialSelection*>(data);
    if (message == BFFM_SELCHANGED && !selection->shown)
        selection->shown = IsFolder(reinterpret_cast<LPCITEMIDLIST>(detail), selection->folder);
    if (message != BFFM_INITIALIZED || selection->folder[0] == '\0')
        return 0;
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(selection->folder));
    // The timer's id is the selection itself; the timer dies with the browser.
    if (!selection->shown)
        SetTimer(browser, reinterpret_cast<UINT_PTR>(selection), kRetryMs, RetrySelection);
    return 0;
}

// An item list the shell allocated for us.
class ShellItemList {
public:
    explicit ShellItemList(PIDLIST_ABSOLUTE list) : list_(list) {}
    ~ShellItemList() { CoTaskMemFree(list_); }
    ShellItemList(const ShellItemList&) = delete;
    ShellItemList& operator=(const ShellItemList&) = delete;
    PIDLIST_ABSOLUTE Get() const { return list_; }

private:
    PIDLIST_ABSOLUTE list_;
};

} // namespace

bool BrowseForFolder(HWND owner, const std::string& initialFolder, std::string& chosen) {
    char displayName[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = "フォルダを選択してください";
    info.ulFlags = 0; // any folder may be chosen, not only file-system ones
    InitialSelection selection{initialFolder.c_str()};
    info.lpfn = BrowserEvent;
    info.lParam = reinterpret_cast<LPARAM>(&selection);
    ShellItemList item(SHBrowseForFolderA(&info));
    if (item.Get() == nullptr)
        return false;
    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(item.Get(), path))
        return false;
    chosen = path;
    return true;
}
