#include "exec/Versions.h"

#include <algorithm>
#include <cwchar>
#include <cstdio>

#include "base/AbsolutePath.h"
#include "base/DoubleByte.h"
#include "base/NameText.h"
#include "base/WideFiles.h"
#include "engine/FolderIdentity.h"
#include "engine/ReservedNames.h"
#include "exec/FileActions.h"
#include "job/JobSettings.h"

namespace {

const unsigned long long kTicksPerDay = 10000000ull * 60 * 60 * 24;

unsigned long long Ticks(const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool IsDigits(const std::string& text, size_t from, size_t count) {
    if (from + count > text.size())
        return false;
    for (size_t i = from; i < from + count; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

// The start of a run from its folder's name ("20261208-093015", maybe followed
// by "-2"), as a local time; false for any other name, which is never touched.
bool RunStartOf(const std::string& name, FILETIME* start) {
    if (!IsDigits(name, 0, 8) || name.size() < 15 || name[8] != '-' || !IsDigits(name, 9, 6))
        return false;
    if (name.size() > 15 &&
        (name.size() == 16 || name[15] != '-' || !IsDigits(name, 16, name.size() - 16)))
        return false;
    auto number = [&](size_t at, size_t count) {
        return static_cast<WORD>(std::stoi(name.substr(at, count)));
    };
    SYSTEMTIME time = {};
    time.wYear = number(0, 4);
    time.wMonth = number(4, 2);
    time.wDay = number(6, 2);
    time.wHour = number(9, 2);
    time.wMinute = number(11, 2);
    time.wSecond = number(13, 2);
    return SystemTimeToFileTime(&time, start) != FALSE;
}

// The folder part of a relative path, with its last backslash ("\a\b\" for "\a\b\c.txt").
std::string RelativeFolderOf(const std::string& relativePath) {
    const LeadBytes& lead = LeadBytes::Ansi();
    size_t last = 0;
    for (size_t at = 0; at < relativePath.size(); at += lead.CharLength(relativePath, at))
        if (relativePath[at] == '\\')
            last = at;
    return relativePath.substr(0, last + 1);
}

bool SameVolume(const std::string& first, const std::string& second) {
    FileIdentity a, b;
    // What cannot be asked is the search's or the move's to report.
    if (!ReadIdentity(first, a) || !ReadIdentity(second, b))
        return true;
    return a.volume == b.volume;
}

} // namespace

VersionSettings VersionSettingsOf(const JobSettings& job) {
    VersionSettings settings;
    settings.keep = job.keepVersions != 0;
    settings.folder = job.versionsFolder;
    settings.days = job.versionsDays;
    settings.runs = job.versionsRuns;
    settings.useRecycleBin = job.useRecycleBin != 0;
    return settings;
}

bool IsRunFolderName(const std::string& name) {
    FILETIME start;
    return RunStartOf(name, &start);
}

bool RunFolderStart(const std::string& name, FILETIME* start) {
    return RunStartOf(name, start);
}

std::string RunFolderName(const SYSTEMTIME& time) {
    char name[32];
    std::snprintf(name, sizeof name, "%04d%02d%02d-%02d%02d%02d", time.wYear, time.wMonth,
                  time.wDay, time.wHour, time.wMinute, time.wSecond);
    return name;
}

OldVersions::OldVersions(VersionSettings settings, const SYSTEMTIME& runStart)
    : settings_(std::move(settings)), runName_(RunFolderName(runStart)) {
    SYSTEMTIME whole = runStart;
    whole.wMilliseconds = 0;
    SystemTimeToFileTime(&whole, &runStart_);
}

std::string VersionsFolderIn(const std::string& chosenFolder) {
    return AtRoot(chosenFolder, kVersionsFolderName);
}

std::string OldVersions::FolderFor(const std::string& root) const {
    if (settings_.keep && !settings_.folder.empty())
        return VersionsFolderIn(settings_.folder);
    return AtRoot(root, kVersionsFolderName);
}

bool OldVersions::VersionsFolder(const std::string& root, bool make, std::string* versions,
                                 ActionError* error) {
    *versions = FolderFor(root);
    if (checked_.count(*versions) != 0)
        return true;
    // The folder it lies in: the side's root, or the folder the user chose.
    const std::string base = settings_.keep && !settings_.folder.empty() ? settings_.folder : root;
    const std::string name = std::string("\\") + kVersionsFolderName;
    HeldFolder held;
    EntryFacts facts;
    if (!bounds_.Hold(base, name, &held, error, &facts))
        return false;
    if (!facts.exists) {
        if (!make)
            return false;
        if (!CreateFolderAt(*versions) && GetLastError() != ERROR_ALREADY_EXISTS) {
            *error = StepFailed(ActionStep::MoveToVersions, *versions);
            return false;
        }
        if (!bounds_.Hold(base, name, &held, error, &facts))
            return false;
    }
    if (!facts.folder) {
        *error = StepFailed(ActionStep::MoveToVersions, *versions, ERROR_DIRECTORY);
        return false;
    }
    checked_.insert(*versions);
    return true;
}

OldVersions::Net OldVersions::NetFor(const std::string& path) {
    if (settings_.keep)
        return Net::Versions;
    if (!settings_.useRecycleBin)
        return Net::Permanent;
    // The Recycle Bin is the shell's, which takes no \\?\ path: a long one
    // goes to the versions folder as on a volume without a bin.
    return volumes_.HasRecycleBin(path) && !NeedsLongForm(path) ? Net::RecycleBin : Net::Versions;
}

bool OldVersions::PutAside(const std::string& path, const std::string& root,
                           const std::string& relativePath, bool folder, Place* place,
                           ActionError* error) {
    place->net = NetFor(path);
    place->saved.clear();
    return place->net == Net::Permanent ? DeletePath(path, error)
           : place->net == Net::RecycleBin
               ? MoveToRecycleBin(path, folder, error)
               : MoveToVersions(path, root, relativePath, folder, &place->saved, error);
}

std::string OldVersions::NoteFor(const Place& place, bool replaced) {
    const std::string what = replaced ? "上書き前のファイルを" : "";
    switch (place.net) {
    case Net::Permanent:
        return replaced ? "上書き前のファイルは完全に削除しました" : "完全に削除しました";
    case Net::RecycleBin:
        return what + "ごみ箱に移しました";
    default:
        return what + "「" + place.saved + "」に保存しました";
    }
}

bool OldVersions::PlaceInVersions(const std::string& root, const std::string& relativePath,
                                  std::string* saved, HeldFolder* held, ActionError* error) {
    std::string versions = FolderFor(root);
    if (!settings_.keep) {
        std::string volume = VolumeRootOf(root);
        if (volume.empty())
            volume = root;
        // Here because the volume has no bin, or because the path is too long
        // for the shell's bin: the note says which.
        bool longPath = settings_.useRecycleBin && volumes_.HasRecycleBin(root);
        if (toldNoBin_.insert(volume).second)
            notes_.push_back(
                longPath
                    ? "「" + volume +
                          "」のごみ箱はパスの長いファイルを受け付けないため、そのようなファイル"
                          "は削除・上書きしたときに世代管理フォルダ「" +
                          versions + "」に保存します"
                    : "「" + volume +
                          "」にはごみ箱がないため、削除・上書きしたファイルを世代管理フォルダ「" +
                          versions + "」に保存します");
    }
    std::string run;
    if (!VersionsFolder(root, true, &versions, error) || !RunFolder(versions, &run, error) ||
        !MakeFolders(versions, run + RelativeFolderOf(relativePath), error))
        return false;
    // The run's folder is new and made by this run: the name is free, and a
    // rename or second name onto anything there would fail.
    if (!bounds_.Hold(versions, run + relativePath, held, error, nullptr, EntryCheck::NewName))
        return false;
    *saved = versions + run + relativePath;
    return true;
}

bool OldVersions::MakeFolders(const std::string& versions, const std::string& relativeFolder,
                              ActionError* error) {
    const LeadBytes& lead = LeadBytes::Ansi();
    for (size_t at = 1; at < relativeFolder.size(); at += lead.CharLength(relativeFolder, at)) {
        if (relativeFolder[at] != '\\')
            continue;
        std::string relative = relativeFolder.substr(0, at);
        // Made or found by this run already: what lands in it is checked there.
        if (madeFolders_.count(versions + relative) != 0)
            continue;
        HeldFolder held;
        EntryFacts facts;
        if (!bounds_.Hold(versions, relative, &held, error, &facts))
            return false;
        if ((!facts.exists || !facts.folder) && !CreateFolderAt(versions + relative)) {
            *error = StepFailed(ActionStep::MoveToVersions, versions + relative);
            return false;
        }
        madeFolders_.insert(versions + relative);
    }
    return true;
}

bool OldVersions::MoveToVersions(const std::string& path, const std::string& root,
                                 const std::string& relativePath, bool folder, std::string* saved,
                                 ActionError* error) {
    HeldFolder held;
    if (!PlaceInVersions(root, relativePath, saved, &held, error))
        return false;
    if (folder) {
        // An empty folder holds nothing but its name: it is made again in the
        // run's folder, and the original removed.
        if (!CreateFolderAt(*saved) && GetLastError() != ERROR_ALREADY_EXISTS) {
            *error = StepFailed(ActionStep::MoveToVersions, path);
            return false;
        }
        if (!RemoveFolderAt(path)) {
            *error = StepFailed(ActionStep::MoveToVersions, path);
            return false;
        }
        return true;
    }
    // Without MOVEFILE_COPY_ALLOWED: a rename on the volume, never a copy.
    if (!MovePath(path.c_str(), saved->c_str(), 0)) {
        *error = StepFailed(ActionStep::MoveToVersions, path);
        return false;
    }
    return true;
}

bool OldVersions::RunFolder(const std::string& versions, std::string* name, ActionError* error) {
    auto known = runFolders_.find(versions);
    if (known != runFolders_.end()) {
        *name = known->second;
        return true;
    }
    // A folder of this run's own: another run in the same second gets "-2".
    for (int number = 1; number < 1000; ++number) {
        std::string candidate = "\\" + runName_;
        if (number > 1) {
            candidate += '-';
            candidate += std::to_string(number);
        }
        HeldFolder held;
        if (!bounds_.Hold(versions, candidate, &held, error, nullptr, EntryCheck::NewName))
            return false;
        if (CreateFolderAt(versions + candidate)) {
            runFolders_[versions] = candidate;
            *name = candidate;
            return true;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            *error = StepFailed(ActionStep::MoveToVersions, versions + candidate);
            return false;
        }
    }
    *error = StepFailed(ActionStep::MoveToVersions, versions, ERROR_ALREADY_EXISTS);
    return false;
}

void OldVersions::Prune(const std::string& root) {
    if (!settings_.keep && !settings_.useRecycleBin)
        return;
    // Outside the job's own choice, the default limits.
    int days = settings_.keep ? settings_.days : kDefaultVersionDays;
    int runs = settings_.keep ? settings_.runs : 0;
    std::string versions = FolderFor(root);
    if ((days <= 0 && runs <= 0) || !pruned_.insert(versions).second)
        return;
    ActionError error;
    if (!VersionsFolder(root, false, &versions, &error)) {
        if (error.step == ActionStep::OutsideJob)
            notes_.push_back("世代管理フォルダ「" + versions +
                             "」はリンクなどでほかの場所を指しているため、使いません");
        return;
    }
    std::vector<std::pair<std::string, unsigned long long>> found; // name, start
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(WidePath(versions + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    const auto own = runFolders_.find(versions);
    do {
        FILETIME start;
        std::string name = TextFromWide(entry.cFileName, std::wcslen(entry.cFileName));
        bool ours = own != runFolders_.end() && own->second == "\\" + name;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && RunStartOf(name, &start) &&
            !ours)
            found.push_back({name, Ticks(start)});
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    // Newest first; a run of the same second with a number after the earlier one.
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.second != b.second               ? a.second > b.second
               : a.first.size() != b.first.size() ? a.first.size() > b.first.size()
                                                  : a.first > b.first;
    });
    const unsigned long long now = Ticks(runStart_);
    for (size_t i = 0; i < found.size(); ++i) {
        bool tooOld = days > 0 && found[i].second + days * kTicksPerDay < now;
        // This run's own folder is the last of the runs kept.
        bool tooMany = runs > 0 && i + 1 >= static_cast<size_t>(runs);
        if (!tooOld && !tooMany)
            continue;
        std::string path = versions + "\\" + found[i].first;
        notes_.push_back(RemoveTree(versions, "\\" + found[i].first)
                             ? "世代管理フォルダから古い実行分を削除しました：" + path
                             : "世代管理フォルダの古い実行分を削除できませんでした：" + path);
    }
}

bool OldVersions::RemoveTree(const std::string& anchor, const std::string& relativePath) {
    HeldFolder held;
    EntryFacts facts;
    ActionError error;
    // Each entry is removed only where it lies below the versions folder: a
    // folder that became a link is neither followed nor removed.
    if (!bounds_.Hold(anchor, relativePath, &held, &error, &facts))
        return false;
    if (!facts.exists)
        return true;
    if (!facts.folder)
        return DeletePath(anchor + relativePath);
    held.Release();
    bool all = true;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(WidePath(anchor + relativePath + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = TextFromWide(entry.cFileName, std::wcslen(entry.cFileName));
            if (name != "." && name != "..")
                all &= RemoveTree(anchor, relativePath + "\\" + name);
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    if (!all || !bounds_.Hold(anchor, relativePath, &held, &error, &facts))
        return false;
    return !facts.exists || DeletePath(anchor + relativePath);
}

std::vector<std::string> OldVersions::TakeNotes() {
    std::vector<std::string> notes;
    notes.swap(notes_);
    return notes;
}

std::string VersionsFolderProblem(const JobSettings& job) {
    if (job.keepVersions == 0 || job.versionsFolder.empty())
        return std::string();
    const std::string& folder = job.versionsFolder;
    if (!IsAbsolutePath(folder))
        return "世代管理フォルダはドライブ名（C:"
               "\\…）かサーバー名（\\\\サーバー\\…）から指定してください";
    DWORD attributes = AttributesOf(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return "世代管理フォルダ「" + folder + "」が存在しません";
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return "世代管理フォルダ「" + folder + "」にフォルダ以外が指定されています";
    if (SameFolder(folder, job.processingFolder))
        return "世代管理フォルダが処理フォルダと同じです";
    if (SameFolder(folder, job.referenceFolder))
        return "世代管理フォルダが参照フォルダと同じです";
    // The old versions move there by a rename, which only works on one volume.
    bool processingChanges = job.mode != UpdateReference;
    bool referenceChanges = job.mode != UpdateProcessing;
    if (processingChanges && !SameVolume(folder, job.processingFolder))
        return "世代管理フォルダ「" + folder +
               "」は処理フォルダと別のドライブにあります（同じドライブのフォルダを指定してください"
               "）";
    if (referenceChanges && !SameVolume(folder, job.referenceFolder))
        return "世代管理フォルダ「" + folder +
               "」は参照フォルダと別のドライブにあります（同じドライブのフォルダを指定してください"
               "）";
    return std::string();
}
