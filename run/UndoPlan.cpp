#include "run/UndoPlan.h"

#include <algorithm>
#include <set>

#include "base/NameText.h"
#include "base/PathText.h"
#include "base/WideFiles.h"
#include "engine/NameOrder.h"
#include "exec/Leftovers.h"
#include "exec/Premise.h"
#include "run/RunHistory.h"

namespace {

// An entry at `relativePath` below `root` with what is there (`now`).
FileEntry EntryAt(const std::string& root, const std::string& relativePath, const PathState& now) {
    FileEntry entry;
    entry.rootFolder = root;
    size_t separator = LastSeparator(relativePath);
    entry.relativeFolder = relativePath.substr(0, separator + 1);
    entry.name = relativePath.substr(separator + 1);
    entry.attributes = now.folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    entry.lastWriteTime = now.lastWriteTime;
    entry.sizeHigh = static_cast<DWORD>(now.size >> 32);
    entry.sizeLow = static_cast<DWORD>(now.size);
    return entry;
}

// What a row left, as an entry's state.
PathState LeftBy(const RecordedRow& row) {
    PathState left;
    left.exists =
        row.action != RecordedRow::DeletedFile && row.action != RecordedRow::RemovedFolder;
    left.folder = row.action == RecordedRow::MadeFolder;
    left.size = row.size;
    left.lastWriteTime = row.time;
    return left;
}

bool Same(const PathState& now, const PathState& left) {
    if (now.unknown || now.exists != left.exists)
        return false;
    if (!now.exists)
        return true;
    return now.folder == left.folder &&
           (now.folder || (now.size == left.size &&
                           CompareFileTime(&now.lastWriteTime, &left.lastWriteTime) == 0));
}

class UndoPlanner {
public:
    UndoPlanner(const RunRecord& record, const std::string& processing,
                const std::string& reference, PlanRows& plan)
        : record_(record), processing_(processing), reference_(reference), plan_(plan) {}

    void Plan() {
        // What the plan removes, so that a folder the run made goes only when
        // nothing else is in it now: the files first, then the folders from
        // the deepest up.
        std::vector<const RecordedRow*> folders;
        for (const RecordedRow& row : record_.rows) {
            if (!IsPlainRelativePath(row.relativePath) || !Same(Now(row), LeftBy(row)))
                continue;
            if (row.action == RecordedRow::Copied)
                removed_.insert(Key(row.processingSide, row.relativePath));
            else if (row.action == RecordedRow::MadeFolder)
                folders.push_back(&row);
        }
        std::stable_sort(folders.begin(), folders.end(), [](const auto* a, const auto* b) {
            return a->relativePath.size() > b->relativePath.size();
        });
        for (const RecordedRow* row : folders)
            if (OnlyPlannedInside(*row))
                removed_.insert(Key(row->processingSide, row->relativePath));
        for (const RecordedRow& row : record_.rows)
            if (IsPlainRelativePath(row.relativePath))
                Plan(row);
        plan_.SortByPriority();
    }

private:
    const std::string& Root(bool processingSide) const {
        return processingSide ? processing_ : reference_;
    }
    PathState Now(const RecordedRow& row) const {
        return StateOf(Root(row.processingSide) + row.relativePath);
    }
    static std::string Key(bool processingSide, const std::string& relativePath) {
        std::string key(1, processingSide ? 'P' : 'R');
        key += NameKey(relativePath);
        return key;
    }

    SyncItem* Row(const RecordedRow& row, int operation, int reason, const PathState& now) {
        auto* item = new SyncItem;
        item->operation = operation;
        item->reason = reason;
        // Towards the side the row changes: a deletion or creation shows that side.
        item->direction = row.processingSide ? ReferenceToProcessing : ProcessingToReference;
        item->isFolder = now.folder ? 1 : 0;
        item->subject = EntryAt(Root(row.processingSide), row.relativePath, now);
        item->counterpart.rootFolder = Root(row.processingSide);
        plan_.InsertRow(item, plan_.RowCount());
        return item;
    }
    // A conflict: what is there now beside what the run left (or the old version).
    void Conflict(const RecordedRow& row, int reason, const PathState& now) {
        PathState left = LeftBy(row);
        SyncItem* item = Row(row, ::Conflict, reason, now);
        if (left.exists)
            item->counterpart = EntryAt(Root(row.processingSide), row.relativePath, left);
        item->isFolder = (now.exists ? now.folder : left.folder) ? 1 : 0;
    }
    // The old version comes back from the versions folder: over `now`, or
    // into its empty place.
    void Restore(const RecordedRow& row, const PathState& now) {
        if (row.net != OldVersions::Net::Versions) {
            Conflict(row, row.net == OldVersions::Net::RecycleBin ? UndoFromBin : UndoLost, now);
            return;
        }
        // Saved as the run's folder and the entry's own path below it.
        const std::string& saved = row.saved;
        std::string run = saved.substr(0, saved.size() >= row.relativePath.size()
                                              ? saved.size() - row.relativePath.size()
                                              : 0);
        PathState old = StateOf(SavedPath(record_.header, row));
        if (run.empty() || saved.compare(run.size(), std::string::npos, row.relativePath) != 0 ||
            !IsRunFolderName(run.substr(1)) || !old.exists || old.folder ||
            old.size != row.oldSize || CompareFileTime(&old.lastWriteTime, &row.oldTime) != 0) {
            Conflict(row, UndoLost, now);
            return;
        }
        SyncItem* item = Row(row, Copy, Undo, old);
        item->subject.rootFolder = (row.processingSide ? record_.header.processingVersions
                                                       : record_.header.referenceVersions) +
                                   run;
        if (now.exists)
            item->counterpart = EntryAt(Root(row.processingSide), row.relativePath, now);
    }

    void Plan(const RecordedRow& row) {
        const PathState now = Now(row);
        const bool asLeft = Same(now, LeftBy(row));
        switch (row.action) {
        case RecordedRow::Copied:
            if (now.exists || now.unknown)
                asLeft ? (void)Row(row, Delete, Undo, now) : Conflict(row, UndoChanged, now);
            return;
        case RecordedRow::Replaced:
            asLeft ? Restore(row, now) : Conflict(row, UndoChanged, now);
            return;
        case RecordedRow::DeletedFile:
            asLeft ? Restore(row, now) : Conflict(row, UndoChanged, now);
            return;
        case RecordedRow::MadeFolder:
            if (!now.exists && !now.unknown)
                return;
            if (removed_.count(Key(row.processingSide, row.relativePath)) != 0)
                Row(row, Delete, Undo, now);
            else
                Conflict(row, UndoChanged, now);
            return;
        case RecordedRow::Moved:
        case RecordedRow::MovedFolder:
            MoveBack(row, now, asLeft);
            return;
        case RecordedRow::RemovedFolder:
            if (now.exists && now.folder)
                return; // there again
            asLeft ? (void)Row(row, Create, Undo, LeftFolder()) : Conflict(row, UndoChanged, now);
            return;
        }
    }

    // A renamed entry goes back to its old name, while it is as the run left it
    // and nothing has taken the old name since.
    void MoveBack(const RecordedRow& row, const PathState& now, bool asLeft) {
        const std::string& root = Root(row.processingSide);
        PathState old = StateOf(root + row.from);
        if (!IsPlainRelativePath(row.from) || !asLeft || old.exists || old.unknown) {
            Conflict(row, UndoChanged, now);
            return;
        }
        SyncItem* item = Row(row, Move, Undo, now);
        item->subject = EntryAt(root, row.from, now);
        item->counterpart = EntryAt(root, row.relativePath, now);
    }

    static PathState LeftFolder() {
        PathState folder;
        folder.exists = folder.folder = true;
        return folder;
    }

    // Whether everything in the folder now is something the plan removes.
    bool OnlyPlannedInside(const RecordedRow& row) const {
        const std::string folder = Root(row.processingSide) + row.relativePath;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(WidePath(folder + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return true;
        bool only = true;
        do {
            std::string name = TextFromWide(found.cFileName, wcslen(found.cFileName));
            if (name != "." && name != ".." &&
                removed_.count(Key(row.processingSide, row.relativePath + "\\" + name)) == 0)
                only = false;
        } while (only && FindNextFileW(search, &found));
        FindClose(search);
        return only;
    }

    const RunRecord& record_;
    const std::string& processing_;
    const std::string& reference_;
    PlanRows& plan_;
    std::set<std::string> removed_;
};

} // namespace

void PlanUndo(const RunRecord& record, const std::string& processingFolder,
              const std::string& referenceFolder, PlanRows& plan) {
    UndoPlanner(record, processingFolder, referenceFolder, plan).Plan();
}
