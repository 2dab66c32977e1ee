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
    EntryFacts found;
    const std::wstring& root = Resolved(anchor);
    if (root.empty())
        return refuse(anchor);
    const std::string folderPart = FolderPart(relativePath);
    held->folder_ = FileHandle(OpenToHold(anchor + folderPart));
    if (!held->folder_.IsOpen()) {
        // A folder that is not there is the action's own failure to report.
        if (IsMissing(GetLastError())) {
            if (facts != nullptr)
                *facts = found;
            return true;
        }
        return refuse(anchor + folderPart);
    }
    // An entry in place lies in its folder in place: where there is one, its
    // own place is the one asked (held, the folder cannot move under it).
    FileHandle entry;
    if (check == EntryCheck::Existing) {
        entry = FileHandle(OpenToLocate(path));
        // Any answer but "missing" leaves the check to the action, which acts
        // on the name alone.
        found.exists = !entry.IsOpen() && !IsMissing(GetLastError());
    }
    if (!entry.IsOpen()) {
        std::wstring expectedFolder = root;
        AppendWideFromText(expectedFolder, folderPart);
        if (!SamePlace(Located(held->folder_.Get()), root, expectedFolder))
            return refuse(anchor + folderPart);
        if (facts != nullptr)
            *facts = found;
        return true;
    }
    std::wstring expected = root;
    AppendWideFromText(expected, relativePath);
    // The extended queries: the plain one asks the volume's serial too, which
    // costs half a millisecond under Wine.
    FILE_ATTRIBUTE_TAG_INFO attributes;
    FILE_STANDARD_INFO standard;
    if (!GetFileInformationByHandleEx(entry.Get(), FileAttributeTagInfo, &attributes,
                                      sizeof attributes) ||
        !GetFileInformationByHandleEx(entry.Get(), FileStandardInfo, &standard, sizeof standard) ||
        (attributes.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
        !SamePlace(Located(entry.Get()), root, expected))
        return refuse(path);
    found.exists = true;
    found.folder = standard.Directory != FALSE;
    found.links = standard.NumberOfLinks;
    if (facts != nullptr)
        *facts = found;
    return true;
}

bool JobBounds::InPlace(HANDLE entry, const std::string& anchor, const std::string& relativePath) {
    const std::wstring& root = Resolved(anchor);
    std::wstring expected = root;
    AppendWideFromText(expected, relativePath);
    return !root.empty() && SamePlace(Located(entry), root, expected);
}
