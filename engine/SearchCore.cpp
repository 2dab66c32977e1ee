#include "engine/SearchCore.h"

#include "engine/CompareNoCase.h"
#include "engine/Comparison.h"
#include "engine/ExcludedFolders.h"
#include "engine/FileFilters.h"
#include "engine/FolderListing.h"
#include "engine/Scanner.h"

namespace {

const char kSortingText[] = "ファイル情報をソート中（中断するのに時間がかかる場合があります）";
const char kComparingText[] = "フォルダを比較中";

std::string SearchingText(const std::string& folder) {
    return folder + "を検索中";
}

void FillExtensionList(const std::string& text, std::vector<std::string>& list) {
    list.clear();
    if (!text.empty())
        SplitList(text, ',', list);
}

bool ScanSide(Scanner& scanner, const JobSettings& job, FolderListing& listing,
              const ExcludedFolders& excludedFolders, IProgress& progress) {
    progress.SetLine1(SearchingText(listing.RootFolder()));
    progress.Refresh();
    if (job.includeSubfolders != 0)
        return scanner.ScanTree("\\", listing, excludedFolders);
    return scanner.ScanFlat(listing);
}

// A sort cannot be interrupted; a stop pressed meanwhile is seen right after it.
bool SortSide(FolderListing& listing, IProgress& progress) {
    progress.SetLine2(listing.RootFolder());
    progress.Refresh();
    listing.SortEntries();
    return !progress.PollStop();
}

// Whether the last character is a backslash, stepping over double-byte
// characters (表 ends in the byte 0x5C).
bool EndsWithBackslash(const std::string& path) {
    const char* last = nullptr;
    for (const char* p = path.c_str(); *p != '\0'; p = CharNextA(p))
        last = p;
    return last != nullptr && *last == '\\' && last + 1 == path.c_str() + path.size();
}

// The absolute form of a folder without a trailing backslash (a drive root keeps
// its own); the text itself when it cannot be made absolute.
std::string AbsoluteFolder(const std::string& folder) {
    char full[MAX_PATH * 2] = {};
    DWORD length = GetFullPathNameA(folder.c_str(), sizeof full, full, nullptr);
    std::string path = length > 0 && length < sizeof full ? std::string(full, length) : folder;
    if (EndsWithBackslash(path) && !(path.size() == 3 && path[1] == ':'))
        path.pop_back();
    return path;
}

// Whether `inner` is `outer` or lies inside it.
bool Within(const std::string& inner, const std::string& outer) {
    if (inner.size() < outer.size() ||
        CompareNoCase(std::string_view(inner).substr(0, outer.size()), outer) != 0)
        return false;
    // Both texts are the same up to outer.size(), so that position starts a character.
    return inner.size() == outer.size() || EndsWithBackslash(outer) || inner[outer.size()] == '\\';
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

bool FoldersOverlap(const std::string& first, const std::string& second) {
    std::string a = AbsoluteFolder(first);
    std::string b = AbsoluteFolder(second);
    return Within(a, b) || Within(b, a);
}

bool SearchAndCompare(const JobSettings& job, std::vector<std::string>& includeExtensionList,
                      std::vector<std::string>& excludeExtensionList, IProgress& progress,
                      IRowSink& sink, std::string& lastMessage, const FileFinder& finder,
                      SearchCounts* counts, std::vector<std::string>* leftOut) {
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

    FolderListing processing(job.processingFolder);
    FolderListing reference(job.referenceFolder);
    // Excluded folders only mean something when subfolders are entered.
    std::vector<std::string> patterns;
    if (job.includeSubfolders != 0)
        patterns = MakeExcludedFolderPatterns(job.excludedFolders);
    ExcludedFolders excludedFolders(patterns);

    Scanner scanner(progress, includeExtensionList, excludeExtensionList, lastMessage, finder);
    if (!ScanSide(scanner, job, processing, excludedFolders, progress) ||
        !ScanSide(scanner, job, reference, excludedFolders, progress))
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

    progress.SetLine1(kComparingText);
    progress.SetLine2("");
    progress.Refresh();
    Comparison comparison(job, progress, sink);
    return comparison.RunPasses(processing, reference);
}
