#include "exec/RecycleBin.h"

#include <windows.h>

#include <shellapi.h>

#include "base/NameText.h"
#include "base/WideFiles.h"

namespace {

bool IsEmptyFolder(const std::string& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WidePath(path + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool empty = true;
    do {
        const wchar_t* name = found.cFileName;
        if (!(name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'))))
            empty = false;
    } while (empty && FindNextFileW(search, &found));
    FindClose(search);
    return empty;
}

} // namespace

std::string VolumeRootOf(const std::string& path) {
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\')
        return std::string();
    char letter = path[0];
    if (letter >= 'a' && letter <= 'z')
        letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z')
        return std::string();
    return std::string(1, letter) + ":\\";
}

bool RecycleBinVolumes::HasRecycleBin(const std::string& path) {
    std::string root = VolumeRootOf(path);
    if (root.empty())
        return false;
    auto known = known_.find(root);
    if (known != known_.end())
        return known->second;
    SHQUERYRBINFO info = {};
    info.cbSize = sizeof info;
    bool has = GetDriveTypeA(root.c_str()) == DRIVE_FIXED &&
               SHQueryRecycleBinA(root.c_str(), &info) == S_OK;
    known_[root] = has;
    return has;
}

bool MoveToRecycleBin(const std::string& path, bool folder, ActionError* error) {
    auto fail = [&](DWORD code) {
        if (error != nullptr)
            *error = StepFailed(ActionStep::MoveToRecycleBin, path, code);
        return false;
    };
    DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return fail(GetLastError());
    if (((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder)
        return fail(folder ? ERROR_DIRECTORY : ERROR_ACCESS_DENIED);
    // The shell would take a folder with everything in it.
    if (folder && !IsEmptyFolder(path))
        return fail(ERROR_DIR_NOT_EMPTY);
    // The shell takes no \\?\ form; a longer path fails there and is reported.
    std::wstring names = WideFromText(path) + L'\0';
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = names.c_str();
    operation.fFlags =
        FOF_ALLOWUNDO | FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_NO_CONNECTED_ELEMENTS;
    int result = SHFileOperationW(&operation);
    if (result != 0)
        return fail(static_cast<DWORD>(result));
    if (operation.fAnyOperationsAborted)
        return fail(ERROR_CANCELLED);
    // The shell reports success for what it could not move on some systems.
    if (AttributesOf(path) != INVALID_FILE_ATTRIBUTES)
        return fail(ERROR_ACCESS_DENIED);
    return true;
}
