#include "exec/Leftovers.h"

#include <windows.h>

#include "base/NameText.h"
#include "base/PathText.h"
#include "base/WideFiles.h"
#include "engine/TemporaryName.h"

namespace {

// The name after the last backslash.
std::string LeafOf(const std::string& relativePath) {
    size_t separator = LastSeparator(relativePath);
    return separator == std::string::npos ? relativePath : relativePath.substr(separator + 1);
}

// The part before the last backslash ("" for "\x").
std::string FolderPartOf(const std::string& relativePath) {
    size_t separator = LastSeparator(relativePath);
    return separator == std::string::npos ? std::string() : relativePath.substr(0, separator);
}

bool IsForbiddenInName(wchar_t c) {
    return c < 0x20 || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos;
}

// "T \sub\x.tmp", as a note names a record.
std::string RecordText(const JournalRecord& record) {
    const char* kinds = "TBV";
    std::string text = std::string(1, kinds[record.kind]) + " " + record.path;
    return record.kind == JournalRecord::Temporary ? text : text + " " + record.target;
}

class Clearing {
public:
    Clearing(const std::string& root, const std::string& lockPath, OldVersions& oldVersions,
             std::vector<std::string>* notes)
        : root_(root), lockPath_(lockPath), oldVersions_(oldVersions),
          bounds_(oldVersions.Bounds()), notes_(notes) {}

    // False when the record stays for a later run: the step could not be taken.
    bool Clear(const JournalRecord& record) {
        if (!IsOwnRecord(record)) {
            Refused(record, "はこのプログラムが作る名前を指していないため、手を付けませんでした");
            return true;
        }
        switch (record.kind) {
        case JournalRecord::Temporary:
            return ClearTemporary(record);
        case JournalRecord::Version:
            return ClearVersion(record);
        default:
            return ClearBackup(record);
        }
    }

private:
    void Refused(const JournalRecord& record, const char* why) {
        notes_->push_back(std::string(kRecordRefusedText) + "「" + lockPath_ + "」の「" +
                          RecordText(record) + "」" + why);
    }
    // Held where the record says, or refused with a note.
    bool Place(const JournalRecord& record, const std::string& anchor,
               const std::string& relativePath, HeldFolder* held, EntryFacts* facts) {
        ActionError error;
        if (bounds_.Hold(anchor, relativePath, held, &error, facts))
            return true;
        Refused(record, "はリンクなどで同期するフォルダの外を指しているため、手を付けませんでした");
        return false;
    }

    bool ClearTemporary(const JournalRecord& record) {
        HeldFolder held;
        EntryFacts facts;
        if (!Place(record, root_, record.path, &held, &facts) || !facts.exists)
            return true; // renamed into its place, or removed, before the kill
        // The program makes a new file of one name; anything else took the name since.
        if (facts.folder || facts.links != 1) {
            Refused(record,
                    "の指すものはこのプログラムが作ったものではないため、手を付けませんでした");
            return true;
        }
        std::string path = root_ + record.path;
        OldVersions::Place place;
        ActionError error;
        if (!oldVersions_.PutAside(path, root_, record.path, false, &place, &error))
            return false;
        notes_->push_back(kLeftoverRemovedText + path + "（" + OldVersions::NoteFor(place, false) +
                          "）");
        return true;
    }

    // Already in its net; it returns only when the kill left the target empty.
    bool ClearVersion(const JournalRecord& record) {
        std::string versions;
        ActionError error;
        if (!oldVersions_.VersionsFolder(root_, false, &versions, &error))
            return true; // no versions folder of the program's: nothing of ours there
        HeldFolder savedFolder, targetFolder;
        EntryFacts saved, target;
        if (!Place(record, versions, record.path, &savedFolder, &saved) ||
            !Place(record, root_, record.target, &targetFolder, &target))
            return true;
        if (!saved.exists || saved.folder || target.exists)
            return true;
        std::string to = root_ + record.target;
        if (!MovePath((versions + record.path).c_str(), to.c_str(), 0))
            return false;
        notes_->push_back(kBackupRestoredText + to);
        return true;
    }

    bool ClearBackup(const JournalRecord& record) {
        const std::string backupFile = record.path + "\\" + LeafOf(record.target);
        HeldFolder backupFolder, targetFolder;
        EntryFacts folder, backup, target;
        if (!Place(record, root_, record.path, &backupFolder, &folder) || !folder.exists)
            return true;
        if (!folder.folder) {
            Refused(record,
                    "の指すものはこのプログラムが作ったものではないため、手を付けませんでした");
            return true;
        }
        backupFolder.Release();
        if (!Place(record, root_, backupFile, &backupFolder, &backup) ||
            !Place(record, root_, record.target, &targetFolder, &target))
            return true;
        const std::string from = root_ + backupFile, to = root_ + record.target;
        if (backup.exists && (!backup.folder || !target.exists)) {
            OldVersions::Place place;
            ActionError error;
            if (!target.exists) {
                // The kill came between the two renames (of a replacement, or
                // of a rename in case only, a folder's too): it returns.
                if (!MovePath(from.c_str(), to.c_str(), 0))
                    return false;
                notes_->push_back(kBackupRestoredText + to);
            } else {
                if (!oldVersions_.PutAside(from, root_, record.target, false, &place, &error))
                    return false;
                notes_->push_back(kBackupKeptText + to + "（" + OldVersions::NoteFor(place, true) +
                                  "）");
            }
        }
        backupFolder.Release();              // a folder that is held cannot be removed
        RemoveFolderAt(root_ + record.path); // only when empty: anything else stays
        return true;
    }

    const std::string& root_;
    const std::string& lockPath_;
    OldVersions& oldVersions_;
    JobBounds& bounds_;
    std::vector<std::string>* notes_;
};

} // namespace

bool IsPlainRelativePath(const std::string& relativePath) {
    if (relativePath.size() < 2 || relativePath[0] != '\\')
        return false;
    std::wstring wide = WideFromText(relativePath);
    // No file system holds a longer path, or a longer name in one step.
    const size_t kLongestPath = 32767, kLongestName = 255;
    if (wide.size() > kLongestPath)
        return false;
    size_t start = 1;
    for (;;) {
        size_t end = wide.find(L'\\', start);
        std::wstring_view step =
            std::wstring_view(wide).substr(start, end == std::wstring::npos ? end : end - start);
        // The path functions drop a step's trailing dots and blanks: ". " reads as ".".
        if (step.empty() || step.size() > kLongestName || step.back() == L'.' ||
            step.back() == L' ')
            return false;
        for (wchar_t c : step)
            if (IsForbiddenInName(c))
                return false;
        if (end == std::wstring::npos)
            return true;
        start = end + 1;
    }
}

bool IsOwnRecord(const JournalRecord& record) {
    switch (record.kind) {
    case JournalRecord::Temporary:
        return IsPlainRelativePath(record.path) && IsTemporaryName(LeafOf(record.path).c_str());
    case JournalRecord::Backup:
        // Beside its target, in the same folder.
        return IsPlainRelativePath(record.path) && IsPlainRelativePath(record.target) &&
               IsBackupName(LeafOf(record.path).c_str()) &&
               FolderPartOf(record.path) == FolderPartOf(record.target);
    default: {
        // "\<run>" and the target's path below the side, as the run placed it.
        if (!IsPlainRelativePath(record.target) || !IsPlainRelativePath(record.path) ||
            record.path.size() <= record.target.size() ||
            record.path.compare(record.path.size() - record.target.size(), std::string::npos,
                                record.target) != 0)
            return false;
        std::string run = record.path.substr(1, record.path.size() - record.target.size() - 1);
        return IsRunFolderName(run);
    }
    }
}

std::vector<JournalRecord> ClearLeftovers(const std::string& root, const std::string& lockPath,
                                          const std::vector<JournalRecord>& records,
                                          OldVersions& oldVersions,
                                          std::vector<std::string>* notes) {
    std::vector<JournalRecord> remaining;
    Clearing clearing(root, lockPath, oldVersions, notes);
    for (const JournalRecord& record : records)
        if (!clearing.Clear(record))
            remaining.push_back(record);
    return remaining;
}
