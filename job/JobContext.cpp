#include "job/JobContext.h"

#include <windows.h>

#include "framework/ProgramFile.h"
#include "framework/Profile.h"
#include "job/JobFile.h"

JobContext::JobContext(CProfile& profile)
    : recentJobs(kRecentSection, kRecentEntryFormat, kRecentJobCount, kRecentDisplayLength),
      profile_(profile) {}

void JobContext::LoadRecentJobs() {
    recentJobs.ReadList(profile_);
}

void JobContext::SetJobPath(const std::string& path) {
    currentJobPath = path.empty() ? DefaultJobPath() : path;
}

void JobContext::LoadJob(JobSettings& target, const std::string& path) {
    SetJobPath(path);
    target = ReadJobFile(currentJobPath);
}

void JobContext::SaveJob(const JobSettings& source, const std::string& path) {
    SetJobPath(path);
    // Not verified: a file that cannot be written is simply not there.
    WriteJobFile(currentJobPath, source);
    if (!path.empty())
        AddRecentJob(path);
}

bool JobContext::AddRecentJob(const std::string& path) {
    return recentJobs.Add(path) && recentJobs.WriteList(profile_);
}

std::string JobContext::DefaultJobPath() {
    std::string program = ProgramFilePath();
    return program.empty() ? std::string() : JobPathBesideProgram(program);
}

std::string JobPathBesideProgram(const std::string& programPath) {
    // The last '.' after the last backslash, found character by character so that
    // the trail byte of a double-byte character is never taken for a backslash.
    const char* begin = programPath.c_str();
    const char* dot = nullptr;
    for (const char* p = begin; *p; p = CharNextA(p)) {
        if (*p == '\\')
            dot = nullptr;
        else if (*p == '.')
            dot = p;
    }
    size_t stemLength = dot ? static_cast<size_t>(dot - begin) : programPath.size();
    return programPath.substr(0, stemLength) + ".orvane";
}
