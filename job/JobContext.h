#pragma once
// The application's share of the job: the job in use, the path of its file and
// the recent job list stored in the application's profile.
#include <string>

#include "framework/RecentFileList.h"
#include "job/JobSettings.h"

class CProfile;

class JobContext {
public:
    static constexpr const char* kRecentSection = "Recent File List";
    static constexpr const char* kRecentEntryFormat = "File%d";
    static constexpr int kRecentJobCount = 4;
    static constexpr int kRecentDisplayLength = 30;

    explicit JobContext(CProfile& profile);

    // Every number 0 and every text empty until a job is read or confirmed.
    JobSettings currentJob;
    // Empty until a job file is read or written.
    std::string currentJobPath;
    CRecentFileList recentJobs;

    // Reads the stored recent job list; done once at start-up.
    void LoadRecentJobs();
    // A non-empty path is taken unchanged, an empty one means the default job file.
    void SetJobPath(const std::string& path);
    // Makes the file the current job file and reads it; a missing file gives the
    // read defaults. Why the job cannot be used (a value of a UTF-8 or UTF-16
    // file without an exact ANSI form), or empty.
    std::string LoadJob(JobSettings& target, const std::string& path);
    // Makes the file the current job file and writes it. A named file also enters
    // the recent job list, even when it could not be written; the default job
    // file does not. Why the file was left as it was (a UTF-8 or UTF-16 file that
    // cannot be converted), or empty.
    std::string SaveJob(const JobSettings& source, const std::string& path);
    // Puts the path at the head of the recent job list and stores the list at once.
    bool AddRecentJob(const std::string& path);

    // The program's own path with its extension replaced by ".orvane".
    static std::string DefaultJobPath();

private:
    CProfile& profile_;
};

// A program path with the extension of its file name replaced by ".orvane"
// (appended when the name has none).
std::string JobPathBesideProgram(const std::string& programPath);
