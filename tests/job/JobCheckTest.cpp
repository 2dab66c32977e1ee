// The values an unattended run refuses: written numbers the profile reader would
// bend into something else, and folders that depend on the current folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "TempDir.h"
#include "TestFiles.h"
#include "job/JobCheck.h"
#include "job/JobKeys.h"
#include "job/JobFile.h"

namespace {

std::vector<std::string> RefusedKeys(const std::string& path) {
    std::vector<std::string> keys;
    for (const JobProblem& problem : CheckUnattendedJob(path, ReadJobFile(path), false, false))
        keys.push_back(problem.key);
    return keys;
}

bool Holds(const std::vector<std::string>& keys, const std::string& key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

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

// Every number a saved job holds is one the unattended run checks, however
// many keys the file gains: 1 is taken, one above the key's highest value is
// refused by that key's name.
TEST(JobCheck, EveryNumberASavedJobHoldsIsChecked) {
    TempDir dir;
    const std::string saved = dir / "saved.orvane";
    ASSERT_TRUE(WriteJobFile(saved, JobSettings()));
    char names[2048] = {};
    DWORD length =
        GetPrivateProfileStringA("Settings", nullptr, "", names, sizeof names, saved.c_str());
    std::vector<std::string> numbers;
    for (const char* name = names; name < names + length && *name; name += strlen(name) + 1) {
        char value[64] = {};
        GetPrivateProfileStringA("Settings", name, "", value, sizeof value, saved.c_str());
        if (std::string(value) == "0") // a new job writes every number as 0, every text empty
            numbers.push_back(name);
    }
    ASSERT_FALSE(numbers.empty());
    for (const std::string& key : numbers) {
        SCOPED_TRACE(key);
        const std::string path = dir / "one.orvane";
        ASSERT_TRUE(WriteFileBytes(path, "[Settings]\r\n" + key + "=1\r\n"));
        EXPECT_FALSE(Holds(RefusedKeys(path), key));
        int highest = -1;
        for (const JobKey& row : JobKeys())
            if (key == row.name)
                highest = row.highest;
        ASSERT_LT(0, highest);
        ASSERT_TRUE(WriteFileBytes(path, "[Settings]\r\n" + key + "=" +
                                             std::to_string(highest + 1) + "\r\n"));
        EXPECT_TRUE(Holds(RefusedKeys(path), key));
    }
}

} // namespace
