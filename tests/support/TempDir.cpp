#include "TempDir.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    for (;;) {
        char name[MAX_PATH + 64];
        std::snprintf(name, sizeof name, "%sorvane_t%lu_%u", base, GetCurrentProcessId(),
                      counter++);
        if (CreateDirectoryA(name, nullptr)) {
            path_ = name;
            return;
        }
    }
}

TempDir::~TempDir() {
    RemoveTree(path_);
}

namespace {

// In UTF-16: tests also make names the code page cannot write, which the ANSI
// functions would give as look-alikes (and ..¥x as the parent's x).
void RemoveWideTree(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        if (!DeleteFileW(path.c_str()))
            RemoveDirectoryW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                RemoveWideTree(path + L"\\" + name);
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

} // namespace

void RemoveTree(const std::string& path) {
    int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    RemoveWideTree(wide);
}
