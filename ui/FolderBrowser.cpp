#include "ui/FolderBrowser.h"

#include <shlobj.h>

#include "base/Owned.h"
#include "ui/SystemPath.h"

namespace {

int CALLBACK SelectInitialFolder(HWND browser, UINT message, LPARAM, LPARAM initialFolder) {
    if (message != BFFM_INITIALIZED)
        return 0;
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, initialFolder);
    // Wine's browser, the first time in a process, can fail to select while it is
    // still setting itself up (measured: one browser in five); asked again once
    // its own loop runs, it selects. The text outlives the browser.
    PostMessageA(browser, BFFM_SETSELECTIONA, TRUE, initialFolder);
    return 0;
}

// An item list the shell allocated for us.
using ShellItemList = Owned<PIDLIST_ABSOLUTE, &CoTaskMemFree>;

} // namespace

bool BrowseForFolder(HWND owner, const std::string& initialFolder, std::string& chosen) {
    char displayName[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = "フォルダを選択してください";
    // Any folder may be chosen, not only file-system ones; the path can be typed
    // and a new folder made from the browser.
    info.ulFlags = BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
    info.lpfn = SelectInitialFolder;
    info.lParam = reinterpret_cast<LPARAM>(initialFolder.c_str());
    ShellItemList item(SHBrowseForFolderA(&info));
    if (item.Get() == nullptr)
        return false;
    // In UTF-16: the ANSI form of a folder outside the code page is a look-alike.
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(item.Get(), path))
        return false;
    return TakeSystemPath(owner, path, chosen);
}
