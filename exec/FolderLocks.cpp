#include "exec/FolderLocks.h"

#include "base/PathText.h"
#include "engine/CompareNoCase.h"
#include "engine/ReservedNames.h"
#include "engine/SystemText.h"
#include "exec/Leftovers.h"

namespace {

// The path below `root`, from its backslash on ("\sub\x.tmp"), or empty when
// it does not lie there.
std::string BelowRoot(const std::string& path, const std::string& root) {
    size_t length = root.size();
    if (length > 0 && root[length - 1] == '\\' && EndsWithBackslash(root))
        --length; // a drive root keeps its backslash
    if (path.size() <= length + 1 || path[length] != '\\' ||
        CompareNoCase(std::string_view(path).substr(0, length),
                      std::string_view(root).substr(0, length)) != 0)
        return std::string();
    return path.substr(length);
}

} // namespace

std::string LockRefusalText(const std::string& folder, LockResult result, DWORD error) {
    switch (result) {
    case LockResult::Busy:
        return "「" + folder + "」は別の同期処理が使用中のため、処理を行いませんでした";
    case LockResult::NotOurs:
        return "「" + folder + "」にある「" + kRunLockName +
               "」はこのプログラムが作ったものではないため、処理を行いませんでした"
               "（その名前を変えるか、別の場所に移してください）";
    default: {
        std::string reason = LastErrorText(error);
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r'))
            reason.pop_back();
        return "「" + folder + "」に使用中の印「" + kRunLockName +
               "」を作れないため、処理を行いませんでした" + (reason.empty() ? "" : ": " + reason);
    }
    }
}

bool FolderLocks::Take(const std::vector<LockedFolder>& folders, std::string* refusal) {
    Release();
    for (const LockedFolder& folder : folders) {
        auto lock = std::make_unique<RunLock>();
        LockResult result = lock->Take(folder.root);
        if (result == LockResult::Taken) {
            locks_.push_back(std::move(lock));
            continue;
        }
        if (result == LockResult::NoFolder ||
            (result == LockResult::NotWritable && !folder.changes))
            continue;
        *refusal = LockRefusalText(folder.root, result, lock->Error());
        Release();
        return false;
    }
    return true;
}

void FolderLocks::ClearLeftovers(OldVersions& oldVersions, std::vector<std::string>* notes) {
    for (const auto& lock : locks_) {
        const JournalReading& inherited = lock->Inherited();
        if (inherited.untrusted > 0)
            notes->push_back(
                std::string(kJournalUntrustedText) + "「" + lock->Path() + "」に書かれた" +
                std::to_string(inherited.untrusted) +
                "件の名前には手を付けませんでした（このユーザーの同期処理がこのフォルダで書いた"
                "記録ではありません。ほかのファイルと同じに扱います）");
        if (inherited.records.empty())
            continue;
        lock->Rewrite(
            ::ClearLeftovers(lock->Root(), lock->Path(), inherited.records, oldVersions, notes));
    }
}

void FolderLocks::Release() {
    // The last taken first.
    while (!locks_.empty())
        locks_.pop_back();
}

void FolderLocks::Abandon() {
    for (const auto& lock : locks_)
        lock->Abandon();
    locks_.clear();
}

bool FolderLocks::WillMake(JournalRecord::Kind kind, const std::string& path,
                           const std::string& target) {
    // A record goes to the lock of the folder it concerns: the target's folder
    // for a place in a versions folder, which may lie elsewhere.
    const std::string& concerned = kind == JournalRecord::Version ? target : path;
    for (const auto& lock : locks_) {
        if (BelowRoot(concerned, lock->Root()).empty())
            continue;
        JournalRecord record{kind, BelowRoot(path, lock->Root()), std::string()};
        if (kind != JournalRecord::Temporary)
            record.target = BelowRoot(target, lock->Root());
        if (kind == JournalRecord::Version) {
            // The place below the versions folder: the run's folder, then the
            // target's path below its side.
            const std::string& below = record.target;
            size_t runEnd = path.size() - below.size();
            size_t runStart = LastSeparator(std::string_view(path).substr(0, runEnd));
            if (below.empty() || path.size() <= below.size() ||
                path.compare(runEnd, std::string::npos, below) != 0 ||
                runStart == std::string::npos)
                return false;
            record.path = path.substr(runStart);
        }
        if (record.path.empty())
            return false;
        return lock->Record(record);
    }
    // Outside every held folder: nothing can record it, so it is not made.
    return false;
}
