#include "engine/SearchCore.h"

#include "base/TextEscape.h"

#include "engine/Comparison.h"
#include "engine/MoveFinder.h"
#include "engine/ExcludedFolders.h"
#include "engine/FileFilters.h"
#include "engine/FolderListing.h"
#include "engine/PathSet.h"
#include "engine/Scanner.h"

namespace {

const char kSortingText[] = "ファイル情報をソート中（中断するのに時間がかかる場合があります）";
const char kComparingText[] = "フォルダを比較中";
const char kFindingMovesText[] = "移動と名前の変更を確かめています";

std::string SearchingText(const std::string& folder) {
    return folder + "を検索中";
}

void FillExtensionList(const std::string& text, std::vector<std::string>& list) {
    list.clear();
    if (!text.empty())
        SplitList(text, ',', list);
}

// A failed listing names its side and folder before the system's own text, which
// alone ("パスが見つかりません。") says neither.
bool ScanSide(Scanner& scanner, const JobSettings& job, FolderListing& listing,
              const ExcludedFolders& excludedFolders, IProgress& progress, const char* side,
              std::string& lastMessage) {
    progress.SetLine1(SearchingText(listing.RootFolder()));
    progress.Refresh();
    bool listed = job.includeSubfolders != 0 ? scanner.ScanTree("\\", listing, excludedFolders)
                                             : scanner.ScanFlat(listing);
    if (!listed && !lastMessage.empty()) {
        // The folder that failed, below the root when it was a subfolder.
        std::string folder = listing.RootFolder();
        const std::string& failed = scanner.FailedFolder();
        if (failed.size() > 1)
            folder += failed.substr(0, failed.size() - 1);
        lastMessage =
            std::string(side) + "「" + EscapeForText(folder) + "」を読めません: " + lastMessage;
    }
    return listed;
}

// Where the log folder lies inside a job folder, its relative path there, so
// that a later search plans nothing for the logs of earlier runs.
struct LogFolderPlace {
    std::string processing;
    std::string reference;
};

// The log folder being one of the job folders is refused: its logs would be
// planned like the job's files. False with lastMessage set then.
bool PlaceLogFolder(const JobSettings& job, LogFolderPlace& place, std::string& lastMessage) {
    if (job.outputLog == 0 || job.logFolder.empty())
        return true;
    if (SameFolder(job.logFolder, job.processingFolder)) {
        lastMessage = kLogIsProcessingFolderText;
        return false;
    }
    if (SameFolder(job.logFolder, job.referenceFolder)) {
        lastMessage = kLogIsReferenceFolderText;
        return false;
    }
    place.processing = PathBelow(job.logFolder, job.processingFolder);
    place.reference = PathBelow(job.logFolder, job.referenceFolder);
    return true;
}

// The user's versions folder inside a job folder holds the program's own
// copies of old versions: like the log folder, never planned.
LogFolderPlace PlaceVersionsFolder(const JobSettings& job) {
    LogFolderPlace place;
    if (job.keepVersions == 0 || job.versionsFolder.empty())
        return place;
    place.processing = PathBelow(job.versionsFolder, job.processingFolder);
    place.reference = PathBelow(job.versionsFolder, job.referenceFolder);
    return place;
}

// Nothing at or below the log folder (or the user's versions folder) is planned
// on either side: left out on its own side without a report (the program's own
// files), and reported on the other side when something is there, which would
// otherwise look one-sided.
void ProtectLogFolder(const std::string& relativePath, FolderListing& logSide,
                      FolderListing& otherSide, std::vector<std::string>* leftOut) {
    if (relativePath.empty())
        return;
    const std::vector<std::string> covered = {relativePath};
    logSide.RemoveCovered(covered);
    size_t before = otherSide.Size();
    otherSide.RemoveCovered(covered);
    if (otherSide.Size() != before && leftOut != nullptr)
        leftOut->push_back(otherSide.RootFolder() + relativePath);
}

// A folder holding a left-out entry or the log folder is not empty after the
// run: its deletion would only fail, so it is not planned. Any other row passes.
class KeepHoldingFolders : public IRowSink {
public:
    KeepHoldingFolders(IRowSink& rows, std::vector<std::string> keptPaths)
        : rows_(rows), keptPaths_(std::move(keptPaths)) {}
    KeepHoldingFolders(const KeepHoldingFolders&) = delete;
    KeepHoldingFolders& operator=(const KeepHoldingFolders&) = delete;

    int InsertRow(SyncItem* item, int position) override {
        if (item->operation == Delete && item->isFolder != 0 &&
            keptPaths_.HasBelow(item->subject.RelativePath())) {
            delete item;
            return -1;
        }
        return rows_.InsertRow(item, position);
    }

private:
    IRowSink& rows_;
    PathSet keptPaths_;
};

// A sort cannot be interrupted; a stop pressed meanwhile is seen right after it.
bool SortSide(FolderListing& listing, IProgress& progress) {
    progress.SetLine2(listing.RootFolder());
    progress.Refresh();
    listing.SortEntries();
    return !progress.PollStop();
}

SideEntryCounts CountEntries(const FolderListing& listing) {
    SideEntryCounts counts;
    counts.entries = static_cast<int>(listing.Size());
    for (size_t i = 0; i < listing.Size(); ++i)
        counts.files += listing[i].IsFolder() ? 0 : 1;
    return counts;
}

// Whatever one side left out is not planned on either side: with a link or a
// misread name in one folder, the same path in the other folder would otherwise
// look one-sided and be deleted, or be copied over what lies behind the link.
void LeaveOutOnBothSides(FolderListing& processing, FolderListing& reference,
                         std::vector<std::string>* leftOut) {
    processing.LeaveOutTwins();
    reference.LeaveOutTwins();
    std::vector<std::string> paths = processing.LeftOut();
    paths.insert(paths.end(), reference.LeftOut().begin(), reference.LeftOut().end());
    processing.RemoveCovered(paths);
    reference.RemoveCovered(paths);
    if (leftOut == nullptr)
        return;
    for (const FolderListing* side : {&processing, &reference})
        for (const std::string& path : side->LeftOut())
            leftOut->push_back(side->RootFolder() + path);
}

} // namespace

bool SearchAndCompare(const JobSettings& job, std::vector<std::string>& includeExtensionList,
                      std::vector<std::string>& excludeExtensionList, IProgress& progress,
                      IRowSink& sink, std::string& lastMessage, const FileFinder& finder,
                      SearchCounts* counts, std::vector<std::string>* leftOut,
                      const PairMemory* lastMemory, PairMemory* nextMemory) {
    lastMessage.clear();
    if (leftOut != nullptr)
        leftOut->clear();
    FillExtensionList(job.includeExtensions, includeExtensionList);
    FillExtensionList(job.excludeExtensions, excludeExtensionList);

    // An empty folder would be listed as "\*", the root of the current drive, and
    // the search could then plan copies or deletions across a whole drive.
    if (job.processingFolder.empty()) {
        lastMessage = kNoProcessingFolderText;
        return false;
    }
    if (job.referenceFolder.empty()) {
        lastMessage = kNoReferenceFolderText;
        return false;
    }

    // One folder inside the other: each side's listing holds the other's files
    // under other relative paths, so the deletion pass would plan deleting the
    // inner folder's files before they could be copied.
    if (FoldersOverlap(job.processingFolder, job.referenceFolder)) {
        lastMessage = kOverlappingFoldersText;
        return false;
    }

    LogFolderPlace logPlace;
    if (!PlaceLogFolder(job, logPlace, lastMessage))
        return false;

    FolderListing processing(job.processingFolder);
    FolderListing reference(job.referenceFolder);
    // Excluded folders only mean something when subfolders are entered.
    std::vector<std::string> patterns;
    if (job.includeSubfolders != 0)
        patterns = MakeExcludedFolderPatterns(job.excludedFolders);
    ExcludedFolders excludedFolders(patterns);

    ProgressFigures figures; // entries read on each side, for the progress window
    FiguresOnShow figuresOnShow(progress, figures);
    Scanner scanner(progress, includeExtensionList, excludeExtensionList, lastMessage, finder);
    scanner.CountEntriesInto(&figures.processingEntries);
    if (!ScanSide(scanner, job, processing, excludedFolders, progress, "処理フォルダ", lastMessage))
        return false;
    scanner.CountEntriesInto(&figures.referenceEntries);
    if (!ScanSide(scanner, job, reference, excludedFolders, progress, "参照フォルダ", lastMessage))
        return false;

    if (counts) {
        counts->processing = CountEntries(processing);
        counts->reference = CountEntries(reference);
        counts->complete = true;
    }

    progress.SetLine1(kSortingText);
    if (!SortSide(processing, progress) || !SortSide(reference, progress))
        return false;
    LeaveOutOnBothSides(processing, reference, leftOut);
    ProtectLogFolder(logPlace.processing, processing, reference, leftOut);
    ProtectLogFolder(logPlace.reference, reference, processing, leftOut);
    LogFolderPlace versionsPlace = PlaceVersionsFolder(job);
    ProtectLogFolder(versionsPlace.processing, processing, reference, leftOut);
    ProtectLogFolder(versionsPlace.reference, reference, processing, leftOut);

    std::vector<std::string> keptPaths = processing.LeftOut();
    keptPaths.insert(keptPaths.end(), reference.LeftOut().begin(), reference.LeftOut().end());
    for (const std::string* kept : {&logPlace.processing, &logPlace.reference,
                                    &versionsPlace.processing, &versionsPlace.reference})
        if (!kept->empty())
            keptPaths.push_back(*kept);
    KeepHoldingFolders rows(sink, std::move(keptPaths));

    progress.SetLine1(kComparingText);
    progress.SetLine2("");
    progress.Refresh();
    // Moves are found among what the passes plan to delete and to copy, after
    // the folders that hold what must stay have kept their deletions back.
    const bool findMoves = job.detectMoves != 0 && job.deleteEnabled != 0;
    MoveFinder moves(rows, TimeRuleOf(job), progress);
    Comparison comparison(job, progress, findMoves ? static_cast<IRowSink&>(moves) : rows);
    comparison.UseMemory(lastMemory, nextMemory);
    if (!comparison.RunPasses(processing, reference))
        return false;
    if (findMoves) {
        progress.SetLine1(kFindingMovesText);
        progress.Refresh();
        if (!moves.Finish())
            return false;
    }
    // The passes' polls are paced: a stop pressed since the last pump still ends
    // the search as stopped, as it would have at the next entry.
    return !progress.PollStopNow();
}
