#include "exec/FileActions.h"

#include <shellapi.h>

#include "base/WideFiles.h"
#include "base/NameText.h"

namespace {

// The version does not change while the program runs; ask the system once.
FILEOP_FLAGS ShellCopyFlagsOfThisSystem() {
    static const FILEOP_FLAGS flags = [] {
        OSVERSIONINFOA version = {};
        version.dwOSVersionInfoSize = sizeof version;
        GetVersionExA(&version);
        return ShellCopyFlagsFor(version.dwMajorVersion, version.dwMinorVersion);
    }();
    return flags;
}

// One name as the shell wants a list of names: ended by two NULs. The shell
// takes no \\?\ form; a longer path fails there and is reported.
std::wstring NameList(const std::string& path) {
    return WideFromText(path) + L'\0';
}

} // namespace

FILEOP_FLAGS ShellCopyFlagsFor(DWORD majorVersion, DWORD minorVersion) {
    FILEOP_FLAGS flags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR;
    if (majorVersion >= 5 || (majorVersion == 4 && minorVersion == 90))
        flags |= FOF_NO_CONNECTED_ELEMENTS;
    if (majorVersion >= 5 && minorVersion >= 1)
        flags |= FOF_NOCOPYSECURITYATTRIBS;
    return flags;
}

bool ShellCopyFile(const std::string& from, const std::string& to, DWORD* code) {
    if (from.empty() || to.empty()) {
        if (code != nullptr)
            *code = ERROR_INVALID_NAME;
        return false;
    }
    std::wstring fromList = NameList(from);
    std::wstring toList = NameList(to);
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_COPY;
    operation.pFrom = fromList.c_str();
    operation.pTo = toList.c_str();
    operation.fFlags = ShellCopyFlagsOfThisSystem();
    operation.hNameMappings = nullptr;
    operation.lpszProgressTitle = L"コピーしています";
    int result = SHFileOperationW(&operation);
    if (result == 0 && !operation.fAnyOperationsAborted)
        return true;
    if (code != nullptr)
        *code = result != 0 ? static_cast<DWORD>(result) : ERROR_CANCELLED;
    return false;
}

bool DeletePath(const std::string& path, ActionError* error) {
    // A missing path reads as INVALID_FILE_ATTRIBUTES, which has the folder bit:
    // setting a missing folder's attributes then fails, and so does the deletion.
    DWORD attributes = AttributesOf(path);
    bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    bool deleted =
        SetAttributesOf(path, folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL) &&
        (folder ? RemoveFolderAt(path) : DeleteFileAt(path));
    if (deleted)
        return true;
    if (error != nullptr)
        *error = StepFailed(ActionStep::Delete, path);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetAttributesOf(path, attributes);
    return false;
}
