// The values an unattended run refuses: written numbers the profile reader would
// bend into something else, and folders that depend on the current folder.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "TestFiles.h"
#include "job/JobCheck.h"
#include "job/JobFile.h"

namespace {

TEST(JobCheck, RefusesWhatNobodyCanMeanAndNamesTheKey) {
    TempDir dir;
    struct Case {
        const char* lines; // the Settings section after its header
        bool fromCommandLine;
        std::vector<std::string> keys; // the keys refused, in order
    };
    const Case cases[] = {
        {"", false, {}}, // every key missing: the read defaults
        {"Mode=0\r\nSubFolder=1\r\nNotDel=0\r\nDelWarning=1\r\n2Sec=0\r\nFirstCopy=1\r\n",
         false,
         {}},
        {"Mode=2\r\nBaseDir=C:\\p\r\nTargetDir=\\\\server\\share\\r\r\n", false, {}},
        {"Mode= 1 \r\n", false, {}}, // the reader drops the blanks around a value
        {"Mode=3\r\n", false, {"Mode"}},
        {"Mode=-1\r\n", false, {"Mode"}},
        {"Mode=0x2\r\n", false, {"Mode"}},
        {"Mode=4294967298\r\n", false, {"Mode"}},
        {"Mode=abc\r\n", false, {"Mode"}},
        {"Mode=\r\n", false, {"Mode"}},
        {"Mode=1.0\r\n", false, {"Mode"}},
        {"OutputLog=2\r\nIsSynExist=yes\r\n2Sec=1\r\nFirstCopy=\r\n",
         false,
         {"OutputLog", "IsSynExist", "FirstCopy", "LogDir"}}, // a log is asked for, with no folder
        {"BaseDir=p\r\nTargetDir=C:r\r\n", false, {"BaseDir", "TargetDir"}},
        {"BaseDir=\\p\r\n", true, {"--proc"}}, // the root of whatever drive is current
        {"OutputLog=1\r\nLogDir=logs\r\n", false, {"LogDir"}},
        {"OutputLog=1\r\n", false, {"LogDir"}},        // an empty log folder is the drive root
        {"OutputLog=0\r\nLogDir=logs\r\n", false, {}}, // no log, no log folder needed
        {"BaseDir=C:\\表\\ソ\r\n", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        std::string path = dir / "job.orvane";
        WriteFileBytes(path, std::string("[Settings]\r\n") + c.lines);
        JobSettings job = ReadJobFile(path);
        std::vector<std::string> keys;
        for (const JobProblem& problem : CheckUnattendedJob(path, job, c.fromCommandLine, false)) {
            keys.push_back(problem.key);
            EXPECT_EQ(0u, problem.text.find(problem.key)) << "the text starts with the key";
        }
        EXPECT_EQ(c.keys, keys);
    }
}

} // namespace
