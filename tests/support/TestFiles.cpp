#include "TestFiles.h"

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string ReadFileBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

std::string Encoded(const std::wstring& text, UINT codePage) {
    int length = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                        length, nullptr, nullptr);
    return bytes;
}

std::string Utf16(const std::wstring& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t c : text) {
        char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

bool MakeFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool MakeWidePath(const std::string& root, const std::wstring& relative) {
    int length = MultiByteToWideChar(CP_ACP, 0, root.c_str(), -1, nullptr, 0);
    std::wstring path(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, root.c_str(), -1, path.data(), length);
    path.back() = L'\\';
    path += relative;
    if (path.back() == L'\\') {
        path.pop_back();
        return CreateDirectoryW(path.c_str(), nullptr) != 0;
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, "x", 1, &written, nullptr);
    CloseHandle(file);
    return ok && written == 1;
}

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FILETIME UtcFileTime(int year, int month, int day, int hour, int minute, int second,
                     int milliseconds) {
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    st.wMilliseconds = static_cast<WORD>(milliseconds);
    FILETIME ft = {};
    SystemTimeToFileTime(&st, &ft);
    return ft;
}

bool SetLastWriteTime(const std::string& path, const FILETIME& time) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BOOL ok = SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
    return ok != 0;
}

FILETIME GetLastWriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

FILETIME AddTicks(const FILETIME& time, long long ticks) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    value.QuadPart += ticks;
    FILETIME result;
    result.dwLowDateTime = value.LowPart;
    result.dwHighDateTime = value.HighPart;
    return result;
}

std::string UnixPathOf(const std::string& windowsPath) {
    using UnixNameFunction = char*(CDECL*)(const WCHAR*);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC found = kernel != nullptr ? GetProcAddress(kernel, "wine_get_unix_file_name") : nullptr;
    // Through the generic function type, which every function pointer converts to.
    auto unixName = reinterpret_cast<UnixNameFunction>(reinterpret_cast<void (*)()>(found));
    if (unixName == nullptr)
        return std::string();
    WCHAR wide[MAX_PATH * 2] = {};
    if (MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH * 2) == 0)
        return std::string();
    char* name = unixName(wide);
    if (name == nullptr)
        return std::string();
    std::string path = name;
    HeapFree(GetProcessHeap(), 0, name);
    return path;
}

namespace {

// Wine starts a Unix program named by CreateProcess; its handle tells nothing of
// its end, so the caller waits for the program's effect instead.
bool StartUnixProgram(const char* program, std::string commandLine) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    if (process.hThread != nullptr)
        CloseHandle(process.hThread);
    if (process.hProcess != nullptr)
        CloseHandle(process.hProcess);
    return true;
}

bool WaitForPath(const std::string& path, bool present) {
    for (int wait = 0; wait < 150; ++wait) {
        if ((GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) == present)
            return true;
        Sleep(20);
    }
    return false;
}

} // namespace

bool MakeUnixLink(const std::string& unixTarget, const std::string& unixLink,
                  const std::string& windowsLink) {
    return StartUnixProgram("Z:\\bin\\ln",
                            "/bin/ln -sfn \"" + unixTarget + "\" \"" + unixLink + "\"") &&
           WaitForPath(windowsLink, true);
}

bool RemoveUnixLink(const std::string& unixLink, const std::string& windowsLink) {
    return StartUnixProgram("Z:\\bin\\rm", "/bin/rm -f \"" + unixLink + "\"") &&
           WaitForPath(windowsLink, false);
}

std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

namespace {

bool IsProgramsOwnName(const std::wstring& name) {
    return _wcsicmp(name.c_str(), L"~orvane-run.lock") == 0 ||
           _wcsicmp(name.c_str(), L"~orvane-versions") == 0;
}

void AddTree(const std::wstring& root, const std::wstring& relative, Tree& tree) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((root + relative + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L".." || (relative.empty() && IsProgramsOwnName(name)))
            continue;
        std::wstring path = relative + L"\\" + name;
        char key[4096] = {};
        WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, key, sizeof key, nullptr, nullptr);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            tree[key] = "folder";
            AddTree(root, path, tree);
            continue;
        }
        std::string bytes;
        HANDLE file = CreateFileW((root + path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        char buffer[65536];
        DWORD got = 0;
        while (file != INVALID_HANDLE_VALUE &&
               ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
            bytes.append(buffer, got);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        tree[key] = bytes + " @" + std::to_string(found.ftLastWriteTime.dwHighDateTime) + "." +
                    std::to_string(found.ftLastWriteTime.dwLowDateTime);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

} // namespace

Tree TreeOf(const std::string& root) {
    Tree tree;
    wchar_t wide[MAX_PATH * 2] = {};
    MultiByteToWideChar(CP_ACP, 0, root.c_str(), -1, wide, MAX_PATH * 2);
    AddTree(wide, L"", tree);
    return tree;
}
