#include "setup/ProgramPaths.h"

#include <windows.h>

#include <cwchar>

namespace {

// Length of the drive and folder part: everything up to the last separator,
// or the drive letter and colon when there is no folder.
size_t DriveAndFolderLength(const std::string& path) {
    size_t length = 0;
    const char* begin = path.c_str();
    for (const char* p = begin; *p; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/' || (*p == ':' && p == begin + 1))
            length = static_cast<size_t>(p - begin) + 1;
    }
    return length;
}

} // namespace

std::string OwnProgramPath() {
    wchar_t wide[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, wide, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    // Only an exact ANSI form: a best-fit look-alike (café as cafe) would
    // register another folder's program, or one that is not there.
    char path[MAX_PATH * 2] = {};
    BOOL replaced = FALSE;
    int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, static_cast<int>(length),
                                    path, sizeof path, nullptr, &replaced);
    wchar_t back[MAX_PATH];
    int chars = bytes > 0 ? MultiByteToWideChar(CP_ACP, 0, path, bytes, back, MAX_PATH) : 0;
    if (replaced || chars != static_cast<int>(length) || wmemcmp(back, wide, length) != 0)
        return std::string();
    return std::string(path, static_cast<size_t>(bytes));
}

std::string MainProgramPathBeside(const std::string& setupPath) {
    return setupPath.substr(0, DriveAndFolderLength(setupPath)) + "Orvane.exe";
}

std::string ProgramFolder(const std::string& programPath) {
    std::string folder = programPath.substr(0, DriveAndFolderLength(programPath));
    // The length ends just after a separator, never inside a double-byte
    // character, so the last byte is a real backslash when it is one.
    if (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    return folder;
}
