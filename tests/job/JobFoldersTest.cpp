// The one form of a job's folders: absolute as the path functions give it, the
// processing and reference folders without one trailing backslash, a drive root
// and the log folder keeping theirs, the log folder left alone without a log.
#include <gtest/gtest.h>
#include <windows.h>

#include "job/JobFolders.h"

namespace {

std::string CurrentFolder() {
    char folder[MAX_PATH * 2] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    return folder;
}

TEST(JobFolders, NormalFormIsAbsoluteWithoutOneTrailingBackslashButARootKeepsIt) {
    const std::string here = CurrentFolder();
    ASSERT_GT(here.size(), 3u) << "the test runs below a drive root";
    struct Row {
        std::string processing, reference;
        int outputLog;
        std::string logFolder;
        std::string wantProcessing, wantReference, wantLog;
    };
    const Row rows[] = {
        // 表 and ソ end in 0x5C: only a real backslash goes.
        {"C:\\a\\.\\b\\..\\表\\", "C:/r/ソ/", 1, "C:\\log\\..\\l\\", //
         "C:\\a\\表", "C:\\r\\ソ", "C:\\l\\"},
        {"D:\\", "表", 0, "logs\\", "D:\\", here + "\\表", "logs\\"},
        {"", "\\\\server\\share\\", 2, "", "", "\\\\server\\share", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.processing + " | " + row.reference);
        JobSettings job;
        job.processingFolder = row.processing;
        job.referenceFolder = row.reference;
        job.outputLog = row.outputLog;
        job.logFolder = row.logFolder;
        NormaliseJobFolders(job);
        EXPECT_EQ(row.wantProcessing, job.processingFolder);
        EXPECT_EQ(row.wantReference, job.referenceFolder);
        EXPECT_EQ(row.wantLog, job.logFolder);
    }
}

} // namespace
