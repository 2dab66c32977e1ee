// The application's share of the job: current job file, default job file and
// the recent job list kept in the registry.
#include <gtest/gtest.h>

#include "ScratchProfile.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "job/JobContext.h"

namespace {

std::vector<std::string> RecentJobs(const JobContext& context) {
    std::vector<std::string> entries;
    for (int i = 0; i < context.recentJobs.GetSize(); ++i)
        entries.push_back(context.recentJobs[i]);
    return entries;
}

JobSettings SomeJob() {
    JobSettings job;
    job.deleteEnabled = 1;
    job.processingFolder = "C:\\表ソ能\\処理";
    job.referenceFolder = "D:\\参照";
    job.mode = UpdateProcessing;
    return job;
}

// Removes a file when the test starts and again when it ends.
class FileRemover {
public:
    explicit FileRemover(std::string path) : path_(std::move(path)) { DeleteFileA(path_.c_str()); }
    ~FileRemover() { DeleteFileA(path_.c_str()); }
    FileRemover(const FileRemover&) = delete;
    FileRemover& operator=(const FileRemover&) = delete;

private:
    std::string path_;
};

} // namespace

TEST(JobContext, NamedJobsBecomeCurrentAndEnterTheStoredListEvenWhenNotWritten) {
    ScratchProfile scratch;
    TempDir dir;
    const std::string first = dir / "表ソ能.orvane";
    const std::string second = dir / "ソフト.orvane";
    const std::string unwritable = dir / "無い\\能.orvane";
    JobContext context(scratch.Get());
    const JobSettings job = SomeJob();

    context.SaveJob(job, first);
    EXPECT_EQ(first, context.currentJobPath);
    context.SaveJob(JobSettings(), second);
    context.SaveJob(job, first);
    context.SaveJob(job, unwritable);
    EXPECT_EQ(unwritable, context.currentJobPath);
    EXPECT_FALSE(PathExists(unwritable));

    JobContext restarted(scratch.Get());
    restarted.LoadRecentJobs();
    EXPECT_EQ((std::vector<std::string>{unwritable, first, second, ""}), RecentJobs(restarted));

    JobSettings loaded;
    restarted.LoadJob(loaded, first);
    EXPECT_TRUE(job == loaded);
    EXPECT_EQ(first, restarted.currentJobPath);
    // Reading never adds to the list, and a missing file still becomes current.
    restarted.LoadJob(loaded, unwritable);
    EXPECT_EQ(unwritable, restarted.currentJobPath);
    EXPECT_EQ(1, loaded.fastCopy);
    EXPECT_EQ((std::vector<std::string>{unwritable, first, second, ""}), RecentJobs(restarted));
}

TEST(JobContext, SavingWithoutAPathWritesTheDefaultJobFileAndLeavesTheListAlone) {
    char program[MAX_PATH] = {};
    ASSERT_NE(0u, GetModuleFileNameA(nullptr, program, MAX_PATH));
    std::string exe = program;
    ASSERT_EQ(0, lstrcmpiA(exe.substr(exe.size() - 4).c_str(), ".exe"));
    const std::string beside = exe.substr(0, exe.size() - 4) + ".orvane";
    FileRemover cleanup(beside);

    ScratchProfile scratch;
    JobContext context(scratch.Get());
    ASSERT_TRUE(context.AddRecentJob("C:\\jobs\\a.orvane"));
    const JobSettings job = SomeJob();
    context.SaveJob(job, "");
    EXPECT_EQ(beside, context.currentJobPath);
    EXPECT_TRUE(PathExists(beside));

    JobContext restarted(scratch.Get());
    restarted.LoadRecentJobs();
    const std::vector<std::string> unchanged = {"C:\\jobs\\a.orvane", "", "", ""};
    EXPECT_EQ(unchanged, RecentJobs(context));
    EXPECT_EQ(unchanged, RecentJobs(restarted));

    JobSettings loaded;
    restarted.LoadJob(loaded, "");
    EXPECT_TRUE(job == loaded);
    EXPECT_EQ(beside, restarted.currentJobPath);
}

TEST(JobContext, DefaultJobFileReplacesTheExtensionOfTheProgramName) {
    struct Case {
        const char* program;
        const char* job;
    };
    const Case cases[] = {
        {"C:\\Tools\\Orvane.exe", "C:\\Tools\\Orvane.orvane"},
        {"C:\\表ソ能\\能表.exe", "C:\\表ソ能\\能表.orvane"},
        {"C:\\Tools\\Orvane.tar.exe", "C:\\Tools\\Orvane.tar.orvane"},
        // 表 ends in 0x5C, which is no backslash: ".表" is still the extension.
        {"C:\\Tools\\Orvane.表", "C:\\Tools\\Orvane.orvane"},
        {"C:\\v1.2\\Orvane", "C:\\v1.2\\Orvane.orvane"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.job, JobPathBesideProgram(c.program)) << c.program;
}
