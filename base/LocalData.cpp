#include "base/LocalData.h"

#include <shlobj.h>

#include "base/NameText.h"
#include "base/PathRoot.h"
#include "base/WideFiles.h"

std::string LocalDataFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, folder)))
        return std::string();
    return TextFromWide(std::wstring(folder)) + "\\Orvane";
}

bool MakeFolderPath(const std::string& folder) {
    DWORD attributes = AttributesOf(folder);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    std::string parent = ParentFolder(folder);
    if (!parent.empty() && parent != folder)
        MakeFolderPath(parent);
    CreateFolderAt(folder);
    attributes = AttributesOf(folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
