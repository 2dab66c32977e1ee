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
// Its path, or INVALID_HANDLE_VALUE with *error set.
HANDLE CreateTemporary(const std::string& folder, std::string* path, ActionError* error) {
    static unsigned next = GetTickCount() ^ (GetCurrentProcessId() << 8);
    DWORD code = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 64; ++attempt) {
        *path = folder + "\\" + TemporaryName(next++);
        if (path->size() >= MAX_PATH) {
            code = ERROR_FILENAME_EXCED_RANGE;
            break;
        }
        HANDLE file = CreateFileA(path->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS)
            break;
    }
    *error = StepFailed(ActionStep::CreateTemporary, folder, code);
    return INVALID_HANDLE_VALUE;
}

// Source to the open temporary file, block by block.
CopyEnd CopyContents(const std::string& from, const std::string& to, HANDLE target,
                     const CopyHooks& hooks, DWORD* attributes, ActionError* error) {
    FileHandle source(CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!source.IsOpen() || !GetFileInformationByHandle(source.Get(), &info)) {
        *error = StepFailed(ActionStep::ReadSource, from);
        return CopyEnd::Failed;
    }
    static std::vector<char> buffer(kBlock);
    unsigned long long left =
        (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(source.Get(), buffer.data(), kBlock, &got, nullptr)) {
            *error = StepFailed(ActionStep::ReadSource, from);
            return CopyEnd::Failed;
        }
        if (got == 0)
            break;
        DWORD written = 0;
        if (!hooks.write(target, buffer.data(), got, &written, nullptr)) {
            *error = StepFailed(ActionStep::WriteCopy, to);
            return CopyEnd::Failed;
        }
        if (written != got) {
            *error = StepFailed(ActionStep::WriteCopy, to, ERROR_DISK_FULL);
            return CopyEnd::Failed;
        }
        if (hooks.blockWritten)
            hooks.blockWritten(got);
        left = left > got ? left - got : 0;
        if (left > 0 && hooks.stopRequested && hooks.stopRequested())
            return CopyEnd::Stopped;
    }
    if (!SetFileTime(target, nullptr, nullptr, &info.ftLastWriteTime)) {
        *error = StepFailed(ActionStep::WriteCopy, to);
        return CopyEnd::Failed;
    }
    *attributes = info.dwFileAttributes & kCopiedAttributes;
    return CopyEnd::Copied;
}

// Puts the complete copy under the target's name in one rename.
bool Replace(const std::string& temporary, const SafeCopyRequest& request, ActionError* error) {
    DWORD oldAttributes = INVALID_FILE_ATTRIBUTES;
    if (request.replace) {
        oldAttributes = GetFileAttributesA(request.to.c_str());
        if (oldAttributes != INVALID_FILE_ATTRIBUTES &&
            (oldAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
            if (!request.shellCopy) {
                *error = StepFailed(ActionStep::ReplaceTarget, request.to, ERROR_ACCESS_DENIED);
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
        } else if (!MoveToRecycleBin(request.to, false, error)) {
            if (oldAttributes != INVALID_FILE_ATTRIBUTES)
                SetFileAttributesA(request.to.c_str(), oldAttributes);
            return false;
        }
    }
    // Without the replace flag the rename fails when a file has appeared meanwhile.
    if (MoveFileExA(temporary.c_str(), request.to.c_str(),
                    request.replace ? MOVEFILE_REPLACE_EXISTING : 0))
        return true;
    *error = StepFailed(ActionStep::ReplaceTarget, request.to);
    if (oldAttributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(request.to.c_str(), oldAttributes);
    return false;
}

} // namespace

CopyEnd SafeCopyFile(const SafeCopyRequest& request, const CopyHooks& hooks, ActionError* error) {
    *error = ActionError();
    if (request.from.empty() || request.to.empty()) {
        *error = StepFailed(ActionStep::ReadSource, request.from, ERROR_INVALID_NAME);
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
        DWORD code = 0;
        if (!ShellCopyFile(request.from, temporary, &code)) {
            *error = StepFailed(ActionStep::ShellCopy, request.from, code);
            end = CopyEnd::Failed;
        }
    } else {
        end = CopyContents(request.from, request.to, target.Get(), hooks, &attributes, error);
        if (!target.Close() && end == CopyEnd::Copied) {
            *error = StepFailed(ActionStep::WriteCopy, request.to);
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
