#include "exec/SafeCopy.h"

#include <cstring>
#include <vector>

#include "base/FileHandle.h"
#include "base/Owned.h"
#include "base/NameText.h"
#include "engine/TemporaryName.h"
#include "exec/FileActions.h"

namespace {

const DWORD kBlock = 1 << 20;
// Attributes a copy carries over from its source.
const DWORD kCopiedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A new, empty file under a temporary name in the folder, created by us alone
// and written down in the journal first. Its path, or INVALID_HANDLE_VALUE with
// *error set.
HANDLE CreateTemporary(const std::string& folder, IRunJournal* journal, std::string* path,
                       ActionError* error) {
    DWORD code = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 64; ++attempt) {
        *path = folder + "\\" + TemporaryName(NextTemporaryNumber());
        if (journal != nullptr && !journal->WillMake(JournalRecord::Temporary, *path, "")) {
            *error = StepFailed(ActionStep::Journal, *path);
            return INVALID_HANDLE_VALUE;
        }
        HANDLE file = OpenPath(*path, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS)
            break;
    }
    *error = StepFailed(ActionStep::CreateTemporary, folder, code);
    return INVALID_HANDLE_VALUE;
}

// Whether the copy at `copy` holds the source's bytes, read back from the disk:
// opened without buffering, so Windows reads the device and not its cache of
// what was just written (the copy was flushed first). A volume that refuses
// unbuffered reads is read the usual way. Failures name `to`, the copy's
// final name, which is what the user knows.
CopyEnd VerifyCopy(const std::string& from, const std::string& copy, const std::string& to,
                   const CopyHooks& hooks, ActionError* error) {
    FileHandle source(
        OpenPath(from, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN));
    if (!source.IsOpen()) {
        *error = StepFailed(ActionStep::ReadSource, from);
        return CopyEnd::Failed;
    }
    FileHandle written(OpenPath(copy, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                                FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN));
    if (!written.IsOpen())
        written = FileHandle(OpenPath(copy, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN));
    // Unbuffered reads want a buffer on a sector boundary: a page is one.
    const Owned<void*, [](void* block) { VirtualFree(block, 0, MEM_RELEASE); }> aligned(
        VirtualAlloc(nullptr, kBlock, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!written.IsOpen() || aligned.Get() == nullptr) {
        *error = StepFailed(ActionStep::Verify, to);
        return CopyEnd::Failed;
    }
    std::vector<char> original(kBlock);
    char* readBack = static_cast<char*>(aligned.Get());
    for (;;) {
        DWORD got = 0, back = 0;
        if (!ReadFile(source.Get(), original.data(), kBlock, &got, nullptr)) {
            *error = StepFailed(ActionStep::ReadSource, from);
            return CopyEnd::Failed;
        }
        if (!ReadFile(written.Get(), readBack, kBlock, &back, nullptr)) {
            *error = StepFailed(ActionStep::Verify, to);
            return CopyEnd::Failed;
        }
        if (got != back || std::memcmp(original.data(), readBack, got) != 0) {
            *error = StepFailed(ActionStep::Verify, to, 0);
            return CopyEnd::Failed;
        }
        if (got == 0)
            return CopyEnd::Copied;
        if (got == kBlock && hooks.stopRequested && hooks.stopRequested())
            return CopyEnd::Stopped;
    }
}

// Sends what the shell wrote to the disk before it is read back. A copy the
// shell made read-only cannot be opened for writing; it is read back as it is.
void FlushShellCopy(const std::string& copy) {
    FileHandle written(OpenPath(copy, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING, 0));
    if (written.IsOpen())
        FlushFileBuffers(written.Get());
}

// Source to the open temporary file, block by block.
CopyEnd CopyContents(const std::string& from, const std::string& to, HANDLE target,
                     const CopyHooks& hooks, DWORD* attributes, ActionError* error) {
    FileHandle source(
        OpenPath(from, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN));
    // The extended queries: the plain one asks the volume's serial too, which
    // costs half a millisecond a file under Wine.
    FILE_BASIC_INFO basic;
    FILE_STANDARD_INFO standard;
    if (!source.IsOpen() ||
        !GetFileInformationByHandleEx(source.Get(), FileBasicInfo, &basic, sizeof basic) ||
        !GetFileInformationByHandleEx(source.Get(), FileStandardInfo, &standard, sizeof standard)) {
        *error = StepFailed(ActionStep::ReadSource, from);
        return CopyEnd::Failed;
    }
    static std::vector<char> buffer(kBlock);
    unsigned long long left = static_cast<unsigned long long>(standard.EndOfFile.QuadPart);
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
    // Written to while it was read (a writer that ignores the share mode: a
    // process on the file server, or outside Windows): the copy may hold
    // parts of two versions, and the source is no longer what the search saw.
    FILE_BASIC_INFO after;
    FILE_STANDARD_INFO sizeAfter;
    if (!GetFileInformationByHandleEx(source.Get(), FileBasicInfo, &after, sizeof after) ||
        !GetFileInformationByHandleEx(source.Get(), FileStandardInfo, &sizeAfter,
                                      sizeof sizeAfter) ||
        after.LastWriteTime.QuadPart != basic.LastWriteTime.QuadPart ||
        sizeAfter.EndOfFile.QuadPart != standard.EndOfFile.QuadPart) {
        *error = StepFailed(ActionStep::ChangedSinceSearch, from, 0);
        return CopyEnd::Failed;
    }
    FILETIME lastWrite = {static_cast<DWORD>(basic.LastWriteTime.QuadPart),
                          static_cast<DWORD>(basic.LastWriteTime.QuadPart >> 32)};
    if (!SetFileTime(target, nullptr, nullptr, &lastWrite)) {
        *error = StepFailed(ActionStep::WriteCopy, to);
        return CopyEnd::Failed;
    }
    *attributes = basic.FileAttributes & kCopiedAttributes;
    return CopyEnd::Copied;
}

// The name of the file in `path`, after its last backslash.
std::string NameOf(const std::string& path) {
    size_t separator = LastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

// The old version is destroyed, as the job asks: the copy takes the target's
// name in one rename, so the path never lacks a version.
bool ReplaceForGood(const std::string& temporary, const SafeCopyRequest& request,
                    const CopyHooks& hooks, ActionError* error) {
    if (hooks.rename(temporary.c_str(), request.to.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    *error = StepFailed(ActionStep::ReplaceTarget, request.to);
    return false;
}

// The old version is kept in the versions folder. Where the volume has links,
// a second name for it there is made first and the copy then replaces the
// target in one rename: the old version never leaves the target's path before
// the new one is there. Without links (FAT, some shares) it moves there by a
// rename, written in the journal first, and comes back when the copy cannot
// take its place.
bool ReplaceKeepingVersion(const std::string& temporary, const SafeCopyRequest& request,
                           const CopyHooks& hooks, std::string* saved, ActionError* error) {
    HeldFolder held;
    if (!request.oldVersions->PlaceInVersions(request.root, request.relativePath, saved, &held,
                                              error))
        return false;
    if (hooks.link(saved->c_str(), request.to.c_str(), nullptr)) {
        if (ReplaceForGood(temporary, request, hooks, error))
            return true;
        DeleteFileAt(*saved); // the second name only: the target keeps the file
        return false;
    }
    if (request.journal != nullptr &&
        !request.journal->WillMake(JournalRecord::Version, *saved, request.to)) {
        *error = StepFailed(ActionStep::Journal, *saved);
        return false;
    }
    if (!hooks.rename(request.to.c_str(), saved->c_str(), 0)) {
        *error = StepFailed(ActionStep::MoveToVersions, request.to);
        return false;
    }
    if (hooks.rename(temporary.c_str(), request.to.c_str(), 0))
        return true;
    *error = StepFailed(ActionStep::ReplaceTarget, request.to);
    // Otherwise the journal names it: the next run puts it back.
    hooks.rename(saved->c_str(), request.to.c_str(), 0);
    return false;
}

// The old version goes to the Recycle Bin, which takes a file only by its own
// name and puts it back where that name was. A backup folder beside the
// target (named in the journal first) keeps it meanwhile. Where the volume has
// links, the old version gets a second name there, goes to the bin from the
// target's own path (so the shell's restore puts it back there), the copy takes
// the target's name, and the second name goes. Without links (FAT) the old
// version moves into the backup folder and goes to the bin from there, once the
// copy has its name. On any failure the old version comes back.
bool ReplaceThroughBackup(const std::string& temporary, const SafeCopyRequest& request,
                          const CopyHooks& hooks, OldVersions::Place* place, ActionError* error) {
    std::string backupFolder = FolderOf(request.to) + "\\" + BackupName(NextTemporaryNumber());
    std::string backup = backupFolder + "\\" + NameOf(request.to);
    if (request.journal != nullptr &&
        !request.journal->WillMake(JournalRecord::Backup, backupFolder, request.to)) {
        *error = StepFailed(ActionStep::Journal, backupFolder);
        return false;
    }
    if (!CreateFolderAt(backupFolder)) {
        *error = StepFailed(ActionStep::SetAside, request.to);
        return false;
    }
    // The new folder stays where it was made while the old version passes through it.
    HeldFolder held;
    const std::string relativeBackup =
        request.relativePath.substr(0, LastSeparator(request.relativePath)) +
        backupFolder.substr(LastSeparator(backupFolder)) + "\\" + NameOf(request.to);
    if (!request.root.empty() &&
        !request.oldVersions->Bounds().Hold(request.root, relativeBackup, &held, error, nullptr,
                                            EntryCheck::NewName)) {
        RemoveFolderAt(backupFolder);
        return false;
    }
    // Let go before it goes: a folder that is held cannot be removed.
    auto removeBackupFolder = [&] {
        held.Release();
        RemoveFolderAt(backupFolder);
    };
    auto putBack = [&] {
        // Otherwise the journal still names the backup: the next run puts it back.
        if (hooks.rename(backup.c_str(), request.to.c_str(), 0))
            removeBackupFolder();
    };
    if (hooks.link(backup.c_str(), request.to.c_str(), nullptr)) {
        if (!request.oldVersions->PutAside(request.to, request.root, request.relativePath, false,
                                           place, error)) {
            DeleteFileAt(backup); // the second name only: the target keeps the file
            removeBackupFolder();
            return false;
        }
        if (!hooks.rename(temporary.c_str(), request.to.c_str(), 0)) {
            *error = StepFailed(ActionStep::ReplaceTarget, request.to);
            putBack();
            return false;
        }
        DeleteFileAt(backup); // the bin holds the old version now
        removeBackupFolder();
        return true;
    }
    if (!hooks.rename(request.to.c_str(), backup.c_str(), 0)) {
        *error = StepFailed(ActionStep::SetAside, request.to);
        removeBackupFolder();
        return false;
    }
    if (!hooks.rename(temporary.c_str(), request.to.c_str(), 0)) {
        *error = StepFailed(ActionStep::ReplaceTarget, request.to);
        putBack();
        return false;
    }
    if (!request.oldVersions->PutAside(backup, request.root, request.relativePath, false, place,
                                       error)) {
        // The old version could not go where the job keeps it: the new one
        // steps back and the old one returns, so nothing is lost.
        if (hooks.rename(request.to.c_str(), temporary.c_str(), 0))
            putBack();
        return false;
    }
    removeBackupFolder();
    return true;
}

// Puts the complete copy under the target's name; a replaced target's old
// version goes to its net, and the target's path holds the old version or the
// new one at every moment.
bool Replace(const std::string& temporary, const SafeCopyRequest& request, const CopyHooks& hooks,
             ActionError* error) {
    if (!request.replace) {
        // Without the replace flag the rename fails when a file has appeared meanwhile.
        if (hooks.rename(temporary.c_str(), request.to.c_str(), 0))
            return true;
        *error = StepFailed(ActionStep::ReplaceTarget, request.to);
        return false;
    }
    DWORD oldAttributes = AttributesOf(request.to);
    bool readOnly =
        oldAttributes != INVALID_FILE_ATTRIBUTES && (oldAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    // A read-only target is the copy's own earlier version as often as not (the
    // copy carries the source's attributes): it is replaced like any other, its
    // attribute cleared first and kept by the old version in the versions folder.
    if (readOnly && !SetAttributesOf(request.to, oldAttributes & ~FILE_ATTRIBUTE_READONLY)) {
        *error = StepFailed(ActionStep::ReplaceTarget, request.to);
        return false;
    }
    using Net = OldVersions::Net;
    OldVersions::Place place;
    place.net =
        request.oldVersions != nullptr ? request.oldVersions->NetFor(request.to) : Net::Permanent;
    bool done = place.net == Net::Permanent ? ReplaceForGood(temporary, request, hooks, error)
                : place.net == Net::Versions
                    ? ReplaceKeepingVersion(temporary, request, hooks, &place.saved, error)
                    : ReplaceThroughBackup(temporary, request, hooks, &place, error);
    if (!done) {
        if (readOnly)
            SetAttributesOf(request.to, oldAttributes);
        return false;
    }
    if (readOnly && place.net == Net::Versions)
        SetAttributesOf(place.saved, oldAttributes);
    if (request.place != nullptr)
        *request.place = place;
    return true;
}

} // namespace

CopyEnd SafeCopyFile(const SafeCopyRequest& request, const CopyHooks& hooks, ActionError* error) {
    *error = ActionError();
    if (request.from.empty() || request.to.empty()) {
        *error = StepFailed(ActionStep::ReadSource, request.from, ERROR_INVALID_NAME);
        return CopyEnd::Failed;
    }
    std::string temporary;
    FileHandle target(CreateTemporary(FolderOf(request.to), request.journal, &temporary, error));
    if (!target.IsOpen())
        return CopyEnd::Failed;
    CopyEnd end = CopyEnd::Copied;
    DWORD attributes = 0;
    // The shell takes no \\?\ path: a long one is copied by the program itself.
    if (request.shellCopy && !NeedsLongForm(request.from) && !NeedsLongForm(temporary)) {
        target.Close(); // the name stays ours; the shell writes over the empty file
        DWORD code = 0;
        if (!ShellCopyFile(request.from, temporary, &code)) {
            *error = StepFailed(ActionStep::ShellCopy, request.from, code);
            end = CopyEnd::Failed;
        } else if (request.verify) {
            FlushShellCopy(temporary);
        }
    } else {
        end = CopyContents(request.from, request.to, target.Get(), hooks, &attributes, error);
        // What is read back must come from the disk, not from what waits to go there.
        if (end == CopyEnd::Copied && request.verify && !FlushFileBuffers(target.Get())) {
            *error = StepFailed(ActionStep::WriteCopy, request.to);
            end = CopyEnd::Failed;
        }
        if (!target.Close() && end == CopyEnd::Copied) {
            *error = StepFailed(ActionStep::WriteCopy, request.to);
            end = CopyEnd::Failed;
        }
        if (end == CopyEnd::Copied && attributes != 0)
            SetAttributesOf(temporary, attributes);
    }
    if (end == CopyEnd::Copied && request.verify)
        end = VerifyCopy(request.from, temporary, request.to, hooks, error);
    if (end == CopyEnd::Copied && Replace(temporary, request, hooks, error))
        return CopyEnd::Copied;
    DeletePath(temporary);
    return end == CopyEnd::Copied ? CopyEnd::Failed : end;
}
