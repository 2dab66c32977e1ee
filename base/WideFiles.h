#pragma once
// The file functions the program calls with its own path texts (base/NameText.h):
// each is the wide function on the exact UTF-16 path, in the \\?\ form where
// the path is long. The last error is the wide function's.
#include <windows.h>

#include <string>

DWORD AttributesOf(const std::string& path);
bool SetAttributesOf(const std::string& path, DWORD attributes);
bool AttributeDataOf(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA* data);
bool CreateFolderAt(const std::string& path);
bool RemoveFolderAt(const std::string& path);
bool DeleteFileAt(const std::string& path);
HANDLE OpenPath(const std::string& path, DWORD access, DWORD share, DWORD creation, DWORD flags);

// The same signatures as MoveFileExA and CreateHardLinkA, so they stand in
// where a caller may put its own (tests make one step fail).
BOOL WINAPI MovePath(LPCSTR from, LPCSTR to, DWORD flags);
BOOL WINAPI LinkPath(LPCSTR link, LPCSTR existing, LPSECURITY_ATTRIBUTES security);

// Where the system places an open file or folder: its full path with every
// link, drive letter and mounted folder resolved, in the \\?\ form
// ("\\?\C:\a\b", "\\?\UNC\server\share\a"); empty when it gives none.
std::wstring ResolvedPathOf(HANDLE handle);

// Whether the entry at `path` is there under exactly the name the path ends
// with, unit by unit: not only a case or normalisation variant that the
// file system would also open.
bool HasExactName(const std::string& path);
