#include "run/RunHistory.h"

#include <set>

#include "base/LocalData.h"
#include "engine/FolderIdentity.h"
#include "engine/NameOrder.h"
#include "exec/Premise.h"

namespace {

// Whether the old version of the row is where the record says, as it was.
bool OldVersionKept(const RunRecordHeader& header, const RecordedRow& row) {
    std::string saved = SavedPath(header, row);
    if (saved.empty())
        return false;
    PathState now = StateOf(saved);
    if (row.action == RecordedRow::RemovedFolder)
        return true; // a folder holds nothing of its own: it is made again
    return now.exists && !now.folder && now.size == row.oldSize &&
           CompareFileTime(&now.lastWriteTime, &row.oldTime) == 0;
}

// Whether the row can be put back.
bool CanUndo(const RunRecordHeader& header, const RecordedRow& row) {
    switch (row.action) {
    case RecordedRow::Copied:
    case RecordedRow::MadeFolder:
    case RecordedRow::RemovedFolder:
    case RecordedRow::Moved:
    case RecordedRow::MovedFolder:
        return true;
    default:
        return row.net == OldVersions::Net::Versions && OldVersionKept(header, row);
    }
}

} // namespace

std::string HistoryFolder(const std::string& processingFolder, const std::string& referenceFolder,
                          const std::string& base) {
    std::string processingKey = FolderIdentityKey(processingFolder);
    std::string referenceKey = FolderIdentityKey(referenceFolder);
    std::string local = LocalDataFolder();
    std::string folder = !base.empty() ? base : local.empty() ? std::string() : local + "\\history";
    if (processingKey.empty() || referenceKey.empty() || folder.empty())
        return std::string();
    return folder + "\\" + processingKey + "-" + referenceKey;
}

std::string SavedPath(const RunRecordHeader& header, const RecordedRow& row) {
    if (row.net != OldVersions::Net::Versions || row.saved.empty())
        return std::string();
    return (row.processingSide ? header.processingVersions : header.referenceVersions) + row.saved;
}

std::vector<RunSummary> RunHistory(const std::string& historyFolder,
                                   const std::string& processingFolder,
                                   const std::string& referenceFolder) {
    std::vector<RunSummary> history;
    if (historyFolder.empty())
        return history;
    std::set<std::string> undone;
    for (RunRecord& record : ReadRunRecords(historyFolder, UserSeal::OfThisUser())) {
        // A record made for other folders that took these folders' identities
        // says nothing about them.
        if (CompareNames(record.header.processingFolder, processingFolder) != 0 ||
            CompareNames(record.header.referenceFolder, referenceFolder) != 0)
            continue;
        RunSummary summary;
        int undoable = 0;
        for (const RecordedRow& row : record.rows) {
            switch (row.action) {
            case RecordedRow::Copied:
            case RecordedRow::Replaced:
                ++summary.copied;
                break;
            case RecordedRow::DeletedFile:
                ++summary.deleted;
                break;
            case RecordedRow::MadeFolder:
                ++summary.foldersMade;
                break;
            case RecordedRow::RemovedFolder:
                ++summary.foldersRemoved;
                break;
            case RecordedRow::Moved:
            case RecordedRow::MovedFolder:
                ++summary.moved;
                break;
            }
            undoable += CanUndo(record.header, row) ? 1 : 0;
        }
        summary.undo = undoable == static_cast<int>(record.rows.size()) ? RunSummary::Undo::Wholly
                       : undoable > 0                                   ? RunSummary::Undo::InPart
                                                                        : RunSummary::Undo::Not;
        // Newest first: a run's undo comes before the run.
        summary.undone = undone.count(record.header.start) != 0;
        if (!record.header.undoes.empty())
            undone.insert(record.header.undoes);
        summary.record = std::move(record);
        history.push_back(std::move(summary));
    }
    return history;
}

std::string UndoText(RunSummary::Undo undo, bool undone) {
    std::string text = undo == RunSummary::Undo::Wholly   ? "すべて元に戻せます"
                       : undo == RunSummary::Undo::InPart ? "一部を元に戻せます"
                                                          : "元に戻せません";
    return undone ? text + "（元に戻し済み）" : text;
}

std::string OldVersionsText(const RunSummary& summary) {
    bool versions = false, bin = false, nowhere = false;
    std::set<std::string> folders;
    const RunRecordHeader& header = summary.record.header;
    for (const RecordedRow& row : summary.record.rows) {
        if (row.action == RecordedRow::Copied || row.action == RecordedRow::MadeFolder ||
            row.action == RecordedRow::Moved || row.action == RecordedRow::MovedFolder)
            continue;
        if (row.net == OldVersions::Net::Versions) {
            versions = true;
            std::string run = row.saved.substr(0, row.saved.find('\\', 1));
            folders.insert(
                (row.processingSide ? header.processingVersions : header.referenceVersions) + run);
        } else if (row.net == OldVersions::Net::RecycleBin) {
            bin = true;
        } else {
            nowhere = true;
        }
    }
    std::string text;
    for (const std::string& folder : folders)
        text += (text.empty() ? "" : "、") + folder;
    if (bin)
        text += std::string(text.empty() ? "" : "、") + "ごみ箱";
    if (nowhere)
        text += std::string(text.empty() ? "" : "、") + "残していません";
    return versions || bin || nowhere ? text : "なし";
}
