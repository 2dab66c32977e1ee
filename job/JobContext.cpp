#include "job/JobContext.h"

#include "base/PathText.h"
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

std::string JobContext::LoadJob(JobSettings& target, const std::string& path) {
    SetJobPath(path);
    std::string refusal;
    target = ReadJobFile(currentJobPath, &refusal);
    return refusal;
}

std::string JobContext::SaveJob(const JobSettings& source, const std::string& path) {
    SetJobPath(path);
    // Not verified: a file that cannot be written is simply not there. A file
    // that would lose what it holds is another matter.
    std::string refusal;
    WriteJobFile(currentJobPath, source, &refusal);
    if (!refusal.empty())
        return refusal;
    if (!path.empty())
        AddRecentJob(path);
    return refusal;
}

bool JobContext::AddRecentJob(const std::string& path) {
    return recentJobs.Add(path) && recentJobs.WriteList(profile_);
}

std::string JobContext::DefaultJobPath() {
    std::string program = ProgramFilePath();
    return program.empty() ? std::string() : JobPathBesideProgram(program);
}

std::string JobPathBesideProgram(const std::string& programPath) {
    PathParts parts = SplitPath(programPath);
    return parts.drive + parts.folder + parts.name + ".orvane";
}
