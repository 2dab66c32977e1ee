#include "exec/SafeCopy.h"

#include <vector>

#include "base/FileHandle.h"
#include "engine/TemporaryName.h"
#include "exec/FileActions.h"

namespace {

const DWORD kBlock = 1 << 20;
// Attributes a copy carries over from its source.
const DWORD kCopiedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A new, empty file under a temporary name in the folder, created by us alone.
// Its path, or empty with *error set.
HANDLE CreateTemporary(const std::string& folder, std::string* path, DWORD* error) {
    static unsigned next = GetTickCount() ^ (GetCurrentProcessId() << 8);
    for (int attempt = 0; attempt < 64; ++attempt) {
        *path = folder + "\\" + TemporaryName(next++);
        if (path->size() >= MAX_PATH) {
            *error = ERROR_FILENAME_EXCED_RANGE;
            return INVALID_HANDLE_VALUE;
        }
        HANDLE file = CreateFileA(path->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        *error = GetLastError();
        if (*error != ERROR_FILE_EXISTS && *error != ERROR_ALREADY_EXISTS)
            return INVALID_HANDLE_VALUE;
    }
    return INVALID_HANDLE_VALUE;
}

// Source to the open temporary file, block by block.
CopyEnd CopyContents(const std::string& from, HANDLE target, const CopyHooks& hooks,
                     DWORD* attributes, DWORD* error) {
    FileHandle source(CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!source.IsOpen() || !GetFileInformationByHandle(source.Get(), &info)) {
        *error = GetLastError();
        return CopyEnd::Failed;
    }
    static std::vector<char> buffer(kBlock);
    unsigned long long left =
        (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(source.Get(), buffer.data(), kBlock, &got, nullptr)) {
            *error = GetLastError();
            return CopyEnd::Failed;
        }
        if (got == 0)
            break;
        DWORD written = 0;
        if (!hooks.write(target, buffer.data(), got, &written, nullptr)) {
            *error = GetLastError();
            return CopyEnd::Failed;
        }
        if (written != got) {
            *error = ERROR_DISK_FULL;
            return CopyEnd::Failed;
        }
        left = left > got ? left - got : 0;
        if (left > 0 && hooks.stopRequested && hooks.stopRequested())
            return CopyEnd::Stopped;
    }
    if (!SetFileTime(target, nullptr, nullptr, &info.ftLastWriteTime)) {
        *error = GetLastError();
        return CopyEnd::Failed;
    }
    *attributes = info.dwFileAttributes & kCopiedAttributes;
    return CopyEnd::Copied;
}

// Puts the complete copy under the target's name in one rename.
bool Replace(const std::string& temporary, const SafeCopyRequest& request, DWORD* error) {
    DWORD oldAttributes = INVALID_FILE_ATTRIBUTES;
    if (request.replace) {
        oldAttributes = GetFileAttributesA(request.to.c_str());
        if (oldAttributes != INVALID_FILE_ATTRIBUTES &&
            (oldAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
            if (!request.shellCopy) {
                *error = ERROR_ACCESS_DENIED;
                return false;
            }
            SetFileAttributesA(request.to.c_str(), oldAttributes & ~FILE_ATTRIBUTE_READONLY);
        }
    }
    if (request.replace && request.recycleBin) {
        // The old version leaves under its own name, so it can be restored as it
        // was; the complete copy takes its place right after.
        if (!request.recycleBin->HasRecycleBin(request.to)) {
            if (request.replacedForGood)
                *request.replacedForGood = true;
        } else if (!MoveToRecycleBin(request.to, false)) {
            *error = ERROR_ACCESS_DENIED;
            if (oldAttributes != INVALID_FILE_ATTRIBUTES)
                SetFileAttributesA(request.to.c_str(), oldAttributes);
            return false;
        }
    }
    // Without the replace flag the rename fails when a file has appeared meanwhile.
    if (MoveFileExA(temporary.c_str(), request.to.c_str(),
                    request.replace ? MOVEFILE_REPLACE_EXISTING : 0))
        return true;
    *error = GetLastError();
    if (oldAttributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(request.to.c_str(), oldAttributes);
    return false;
}

} // namespace

CopyEnd SafeCopyFile(const SafeCopyRequest& request, const CopyHooks& hooks, DWORD* error) {
    *error = 0;
    if (request.from.empty() || request.to.empty()) {
        *error = ERROR_INVALID_NAME;
        return CopyEnd::Failed;
    }
    std::string temporary;
    FileHandle target(CreateTemporary(FolderOf(request.to), &temporary, error));
    if (!target.IsOpen())
        return CopyEnd::Failed;
    CopyEnd end = CopyEnd::Copied;
    DWORD attributes = 0;
    if (request.shellCopy) {
        target.Close(); // the name stays ours; the shell writes over the empty file
        if (!ShellCopyFile(request.owner, request.from, temporary)) {
            *error = ERROR_WRITE_FAULT;
            end = CopyEnd::Failed;
        }
    } else {
        end = CopyContents(request.from, target.Get(), hooks, &attributes, error);
        if (!target.Close() && end == CopyEnd::Copied) {
            *error = GetLastError();
            end = CopyEnd::Failed;
        }
        if (end == CopyEnd::Copied && attributes != 0)
            SetFileAttributesA(temporary.c_str(), attributes);
    }
    if (end == CopyEnd::Copied && Replace(temporary, request, error))
        return CopyEnd::Copied;
    DeletePath(temporary);
    return end == CopyEnd::Copied ? CopyEnd::Failed : end;
}

std::vector<std::string> RemoveLeftoverTemporaries(const std::string& folder) {
    std::vector<std::string> removed;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\" + kTemporaryNamePattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return removed;
    do {
        std::string path = folder + "\\" + found.cFileName;
        // A copy under way in another process holds its file open, and the
        // deletion then fails.
        if (IsTemporaryFile(found.dwFileAttributes, found.cFileName) && DeletePath(path))
            removed.push_back(path);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return removed;
}
