#pragma once
// Fakes for the progress window, the result list and the find functions, and
// real folder trees with chosen last-write times.
#include "TestFiles.h"
#include "engine/EngineCallbacks.h"
#include "engine/FileFinder.h"
#include "engine/FolderListing.h"
#include "engine/SyncItem.h"
#include "job/JobSettings.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using Texts = std::vector<std::string>;

inline Texts Sorted(Texts texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

// One '?' for each run of them: systems write a surrogate pair outside the code
// page as one mark or as two.
inline std::string OneMarkEach(std::string text) {
    for (size_t at; (at = text.find("??")) != std::string::npos;)
        text.erase(at, 1);
    return text;
}

struct FakeProgress : IProgress {
    void SetLine1(const std::string& text) override {
        line1 = text;
        pollsSinceLine1 = 0;
    }
    void SetLine2(const std::string& text) override { line2 = text; }
    void Refresh() override { refreshed.push_back(line1 + "|" + line2); }
    bool PollStop() override {
        ++polls;
        return ++pollsSinceLine1 == stopAtPoll && line1 == stopLine1;
    }
    bool PollStopNow() override { return PollStop(); }

    std::string line1, line2;
    Texts refreshed; // "line1|line2" at each refresh
    int polls = 0, pollsSinceLine1 = 0;
    // A stop at this poll counted from when line 1 became stopLine1 (0: never).
    int stopAtPoll = 0;
    std::string stopLine1;
};

struct RowCollector : IRowSink {
    int InsertRow(SyncItem* item, int position) override {
        items.emplace_back(item);
        positions.push_back(position);
        return static_cast<int>(items.size()) - 1;
    }
    std::vector<std::unique_ptr<SyncItem>> items;
    std::vector<int> positions;
};

// The system's listings, with those whose pattern begins with `prefix` (all
// when it is empty) marked, so a fake can change what they give.
class MarkingFinder : public FileFinder {
public:
    HANDLE First(const char* pattern, FoundRecord* found) const override {
        HANDLE search = FileFinder::First(pattern, found);
        if (search != INVALID_HANDLE_VALUE && std::string(pattern).rfind(prefix_, 0) == 0) {
            marked_.push_back(search);
            Alter(found);
        }
        return search;
    }
    void Close(HANDLE search) const override {
        marked_.erase(std::remove(marked_.begin(), marked_.end(), search), marked_.end());
        FileFinder::Close(search);
    }

protected:
    explicit MarkingFinder(std::string prefix) : prefix_(std::move(prefix)) {}
    bool Marked(HANDLE search) const {
        return std::find(marked_.begin(), marked_.end(), search) != marked_.end();
    }
    // Changes a record of a marked listing.
    virtual void Alter(FoundRecord*) const {}

private:
    std::string prefix_;
    mutable std::vector<HANDLE> marked_;
};

// Marked listings break off after their first record with `error`.
class BreakingFinder : public MarkingFinder {
public:
    BreakingFinder(std::string prefix, DWORD error)
        : MarkingFinder(std::move(prefix)), error_(error) {}
    bool Next(HANDLE search, FoundRecord* found) const override {
        if (!Marked(search))
            return FileFinder::Next(search, found);
        SetLastError(error_);
        return false;
    }

private:
    DWORD error_;
};

// Changes the records of one name in marked listings as the system might give
// them (a link, another name).
class AlteringFinder : public MarkingFinder {
public:
    AlteringFinder(std::string name, DWORD addAttributes, std::string newName = "",
                   std::string prefix = "")
        : MarkingFinder(std::move(prefix)), name_(std::move(name)), add_(addAttributes),
          newName_(std::move(newName)) {}
    bool Next(HANDLE search, FoundRecord* found) const override {
        bool got = FileFinder::Next(search, found);
        if (got && Marked(search))
            Alter(found);
        return got;
    }

private:
    void Alter(FoundRecord* found) const override {
        if (name_ != found->name)
            return;
        found->attributes |= add_;
        if (!newName_.empty())
            found->name = newName_;
    }
    std::string name_;
    DWORD add_;
    std::string newName_;
};

// A path below a test root, a trailing backslash for a folder, a last-write
// time in milliseconds after a fixed base time, and a file's bytes (its path
// when none are given).
struct Node {
    std::string path;
    long long milliseconds = 0;
    const char* bytes = nullptr;
};

inline FILETIME BaseTimePlus(long long milliseconds) {
    return AddTicks(UtcFileTime(2021, 6, 1, 1, 0, 0), milliseconds * 10000);
}

// Whole characters only: ソ (83 5C) ends with a backslash byte.
inline bool EndsWithBackslash(const std::string& path) {
    bool backslash = false;
    for (size_t i = 0; i < path.size(); i += IsDBCSLeadByte(static_cast<BYTE>(path[i])) ? 2 : 1)
        backslash = path[i] == '\\';
    return backslash;
}

// Parents before their contents; times are set last, since creating a file
// changes its folder's time. Each file holds its own node path.
inline void BuildTree(const std::string& root, const std::vector<Node>& nodes) {
    for (const Node& node : nodes) {
        std::string path = root + "\\" + node.path;
        if (EndsWithBackslash(path))
            MakeFolder(path.substr(0, path.size() - 1));
        else
            WriteFileBytes(path, node.bytes != nullptr ? node.bytes : node.path);
    }
    for (const Node& node : nodes) {
        std::string path = root + "\\" + node.path;
        SetLastWriteTime(EndsWithBackslash(path) ? path.substr(0, path.size() - 1) : path,
                         BaseTimePlus(node.milliseconds));
    }
}

// A job over dir\P and dir\R, both created, with subfolders and deletions on.
inline JobSettings MakeJob(const std::string& dir, int mode) {
    JobSettings job;
    job.processingFolder = dir + "\\P";
    job.referenceFolder = dir + "\\R";
    MakeFolder(job.processingFolder);
    MakeFolder(job.referenceFolder);
    job.mode = mode;
    job.includeSubfolders = 1;
    job.deleteEnabled = 1;
    return job;
}

// Sorted lines such as "copy date R>P R\a.txt -> P\a.txt" with the paths shown
// below `base`; a deletion shows only what it deletes, a move where it was
// and where it goes ("move same P>R R\old -> R\new").
inline Texts Describe(const RowCollector& rows, const std::string& base) {
    static const char* const operations[] = {"copy", "create", "delete", "conflict", "move"};
    auto below = [&](const std::string& path) { return path.substr(base.size() + 1); };
    auto reason = [](int value) {
        switch (value) {
        case Date:
            return " date ";
        case KindChanged:
            return " kind ";
        case NameCase:
            return " case ";
        case SameContent:
            return " same ";
        case MovedOut:
            return " movedout ";
        default:
            return " exist ";
        }
    };
    Texts texts;
    for (const auto& item : rows.items) {
        const bool move = item->operation == Move;
        std::string text = std::string(operations[item->operation]) + reason(item->reason) +
                           (item->direction == ProcessingToReference ? "P>R " : "R>P ") +
                           below(move ? item->MoveSourcePath() : item->SourcePath());
        if (item->operation != Delete && item->operation != Conflict)
            text += " -> " + below(item->DestinationPath());
        texts.push_back(text);
    }
    return Sorted(texts);
}

// Relative paths in listing order, folders with a trailing backslash.
inline Texts ListingPaths(const FolderListing& listing) {
    Texts paths;
    for (size_t i = 0; i < listing.Size(); ++i)
        paths.push_back(listing[i].RelativePath() + (listing[i].IsFolder() ? "\\" : ""));
    return paths;
}
