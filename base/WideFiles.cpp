#include "base/WideFiles.h"

#include <winternl.h>

#include <vector>

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

namespace {

// The name the system keeps for an open object: under Wine "\??\C:\..." (the
// form GetFinalPathNameByHandleW turns into "\\?\C:\..."), for any length.
std::wstring ObjectName(HANDLE handle) {
    using QueryObject = NTSTATUS(NTAPI*)(HANDLE, OBJECT_INFORMATION_CLASS, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<QueryObject>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll"), "NtQueryObject")));
    std::vector<char> buffer(sizeof(UNICODE_STRING) + 65536);
    ULONG length = 0;
    if (query == nullptr || query(handle, static_cast<OBJECT_INFORMATION_CLASS>(1), buffer.data(),
                                  static_cast<ULONG>(buffer.size()), &length) < 0)
        return std::wstring();
    const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
    std::wstring text(name->Buffer, name->Length / sizeof(wchar_t));
    return text.compare(0, 4, L"\\??\\") == 0 ? L"\\\\?\\" + text.substr(4) : std::wstring();
}

} // namespace

std::wstring ResolvedPathOf(HANDLE handle) {
    std::wstring resolved(MAX_PATH, L'\0');
    DWORD length =
        GetFinalPathNameByHandleW(handle, resolved.data(), static_cast<DWORD>(resolved.size()),
                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length > 0 && length < resolved.size()) {
        resolved.resize(length);
        return resolved;
    }
    // Windows tells the size it needs. Wine gives no path longer than MAX_PATH
    // here (ERROR_MORE_DATA at any size); its object name is the same path.
    if (length == 0)
        return GetLastError() == ERROR_MORE_DATA ? ObjectName(handle) : std::wstring();
    resolved.assign(length + 1, L'\0');
    length = GetFinalPathNameByHandleW(handle, resolved.data(), static_cast<DWORD>(resolved.size()),
                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    resolved.resize(length < resolved.size() ? length : 0);
    return resolved;
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
