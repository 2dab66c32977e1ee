#include "base/WideFiles.h"

#include "base/NameText.h"
#include "base/PathText.h"

DWORD AttributesOf(const std::string& path) {
    return GetFileAttributesW(WidePath(path).c_str());
}

bool SetAttributesOf(const std::string& path, DWORD attributes) {
    return SetFileAttributesW(WidePath(path).c_str(), attributes) != FALSE;
}

bool AttributeDataOf(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA* data) {
    return GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, data) != FALSE;
}

bool CreateFolderAt(const std::string& path) {
    return CreateDirectoryW(WidePath(path).c_str(), nullptr) != FALSE;
}

bool RemoveFolderAt(const std::string& path) {
    return RemoveDirectoryW(WidePath(path).c_str()) != FALSE;
}

bool DeleteFileAt(const std::string& path) {
    return DeleteFileW(WidePath(path).c_str()) != FALSE;
}

HANDLE OpenPath(const std::string& path, DWORD access, DWORD share, DWORD creation, DWORD flags) {
    return CreateFileW(WidePath(path).c_str(), access, share, nullptr, creation, flags, nullptr);
}

BOOL WINAPI MovePath(LPCSTR from, LPCSTR to, DWORD flags) {
    return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), flags);
}

BOOL WINAPI LinkPath(LPCSTR link, LPCSTR existing, LPSECURITY_ATTRIBUTES security) {
    return CreateHardLinkW(WidePath(link).c_str(), WidePath(existing).c_str(), security);
}

bool HasExactName(const std::string& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WidePath(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    size_t separator = LastSeparator(path);
    std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
    return WideFromText(name) == found.cFileName;
}
