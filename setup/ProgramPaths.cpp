#include "setup/ProgramPaths.h"

#include <windows.h>

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
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
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
