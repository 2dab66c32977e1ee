#include "exec/JobBounds.h"

#include "base/DoubleByte.h"
#include "base/NameText.h"
#include "base/WideFiles.h"

namespace {

// Opened to ask where it is, links not followed where the system can tell
// them, with no rights that a sharing mode could refuse.
HANDLE OpenToLocate(const std::string& path) {
    return OpenPath(path, FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
}

// Opened to be held: others may read and write in it but not rename or remove
// it while it is open. A handle that may only read attributes takes no part in
// sharing, so the folder is opened to be listed; where listing is not allowed,
// it is only located.
HANDLE OpenToHold(const std::string& path) {
    HANDLE folder = OpenPath(path, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
    return folder != INVALID_HANDLE_VALUE || GetLastError() != ERROR_ACCESS_DENIED
               ? folder
               : OpenToLocate(path);
}

// The folder part of a relative path, without its last backslash ("\a" for
// "\a\b.txt", "" for "\b.txt").
std::string FolderPart(const std::string& relativePath) {
    const LeadBytes& lead = LeadBytes::Ansi();
    size_t last = 0;
    for (size_t at = 0; at < relativePath.size(); at += lead.CharLength(relativePath, at))
        if (relativePath[at] == '\\')
            last = at;
    return relativePath.substr(0, last);
}

// Where the system places an open entry, without a drive root's own backslash.
std::wstring Located(HANDLE handle) {
    std::wstring resolved = ResolvedPathOf(handle);
    while (!resolved.empty() && resolved.back() == L'\\')
        resolved.pop_back();
    return resolved;
}

bool IsMissing(DWORD code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

} // namespace

bool SamePlace(const std::wstring& resolved, const std::wstring& anchor,
               const std::wstring& expected) {
    if (anchor.empty() || resolved.size() != expected.size() ||
        resolved.compare(0, anchor.size(), anchor) != 0 ||
        expected.compare(0, anchor.size(), anchor) != 0)
        return false;
    int below = static_cast<int>(resolved.size() - anchor.size());
    return below == 0 ||
           CompareStringOrdinal(resolved.data() + anchor.size(), below,
                                expected.data() + anchor.size(), below, TRUE) == CSTR_EQUAL;
}

const std::wstring& JobBounds::Resolved(const std::string& anchor) {
    auto known = anchors_.find(anchor);
    if (known != anchors_.end())
        return known->second;
    FileHandle folder(OpenToLocate(anchor));
    return anchors_[anchor] = folder.IsOpen() ? Located(folder.Get()) : std::wstring();
}

bool JobBounds::Hold(const std::string& anchor, const std::string& relativePath, HeldFolder* held,
                     ActionError* error, EntryFacts* facts, EntryCheck check) {
    const std::string path = anchor + relativePath;
    auto refuse = [&](const std::string& what) {
        *error = StepFailed(ActionStep::OutsideJob, what, 0);
        held->Release();
        return false;
    };
    const std::wstring& root = Resolved(anchor);
    if (root.empty())
        return refuse(anchor);
    const std::string folderPart = FolderPart(relativePath);
    held->folder_ = FileHandle(OpenToHold(anchor + folderPart));
    if (!held->folder_.IsOpen()) {
        // A folder that is not there is the action's own failure to report.
        DWORD code = GetLastError();
        if (IsMissing(code)) {
            if (facts != nullptr)
                *facts = EntryFacts();
            return true;
        }
        return refuse(anchor + folderPart);
    }
    std::wstring expectedFolder = root;
    AppendWideFromText(expectedFolder, folderPart);
    if (!SamePlace(Located(held->folder_.Get()), root, expectedFolder))
        return refuse(anchor + folderPart);
    if (check == EntryCheck::NewName) {
        if (facts != nullptr)
            *facts = EntryFacts();
        return true;
    }

    FileHandle entry(OpenToLocate(path));
    BY_HANDLE_FILE_INFORMATION information;
    if (!entry.IsOpen()) {
        // Missing: the action makes it, or reports that it is gone. Any other
        // answer leaves the check to the action, which acts on the name alone.
        if (facts != nullptr) {
            *facts = EntryFacts();
            facts->exists = !IsMissing(GetLastError());
        }
        return true;
    }
    std::wstring expected = root;
    AppendWideFromText(expected, relativePath);
    if (!GetFileInformationByHandle(entry.Get(), &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
        !SamePlace(Located(entry.Get()), root, expected))
        return refuse(path);
    if (facts != nullptr) {
        facts->exists = true;
        facts->folder = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        facts->links = information.nNumberOfLinks;
    }
    return true;
}

bool JobBounds::InPlace(HANDLE entry, const std::string& anchor, const std::string& relativePath) {
    const std::wstring& root = Resolved(anchor);
    std::wstring expected = root;
    AppendWideFromText(expected, relativePath);
    return !root.empty() && SamePlace(Located(entry), root, expected);
}
