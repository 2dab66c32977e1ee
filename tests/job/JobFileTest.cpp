// The job file: read defaults, round trips, the cut at 260 characters, key order
// and what else the file holds.
#include <gtest/gtest.h>

#include <sstream>

#include "TempDir.h"
#include "TestFiles.h"
#include "job/JobFile.h"

namespace {

std::string Repeat(const std::string& text, int count) {
    std::string repeated;
    for (int i = 0; i < count; ++i)
        repeated += text;
    return repeated;
}

// The lines of a file that are not empty: its section headers and keys in order.
std::vector<std::string> IniLines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream bytes(ReadFileBytes(path));
    for (std::string line; std::getline(bytes, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

} // namespace

TEST(JobFile, MissingKeysGiveTheReadDefaultsAndNumbersAreTakenUnchecked) {
    JobSettings defaults;
    defaults.deleteEnabled = defaults.confirmDelete = defaults.fastCopy = 1;
    defaults.versionsDays = 30;
    JobSettings modeTwo = defaults;
    modeTwo.mode = UpdateReference;
    JobSettings numbers = defaults;
    numbers.includeSubfolders = 7;
    numbers.deleteEnabled = 0;
    numbers.mode = -1;
    struct Case {
        const char* content; // nullptr: no file at all
        JobSettings job;
    };
    const Case cases[] = {
        {nullptr, defaults},
        {"[Other]\r\nMode=1\r\n", defaults},
        {"[Settings]\r\nMode=2\r\n", modeTwo},
        {"[Settings]\r\nMode=-1\r\nNotDel=0\r\nSubFolder=7\r\n", numbers},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content ? c.content : "no file");
        const std::string path = dir / "job.orvane";
        DeleteFileA(path.c_str());
        ASSERT_TRUE(!c.content || WriteFileBytes(path, c.content));
        EXPECT_TRUE(c.job == ReadJobFile(path));
    }
}

TEST(JobFile, EveryFieldSurvivesAWriteAndARead) {
    // Every field away from its read default, so that a key lost on the way shows;
    // both folders 260 bytes long.
    JobSettings full;
    full.outputLog = full.bothSidesOnly = full.includeSubfolders = 1;
    full.includeExtensions = "txt,doc,";
    full.excludeExtensions = "表,bak";
    full.processingFolder = "C:\\" + Repeat("表ソ能", 42) + "\\abcd";
    full.referenceFolder = "\\\\server\\" + std::string(251, 'r');
    full.mode = UpdateReference;
    full.logFolder = "D:\\ログ\\表";
    full.twoSecondTolerance = 1;
    full.excludedFolders = "obj,bin\\ソ";
    full.useRecycleBin = full.allowMassDeletion = 1;
    full.keepVersions = full.detectMoves = 1;
    full.verifyCopies = full.compareContent = full.ignoreHourShift = 1;
    TempDir dir;
    ASSERT_TRUE(MakeFolder(dir / "ソフト能力表"));
    const std::string path = dir / "ソフト能力表\\表ソ能.orvane";
    for (const JobSettings& job : {full, JobSettings()}) {
        ASSERT_TRUE(WriteJobFile(path, job));
        EXPECT_TRUE(job == ReadJobFile(path));
    }
}

TEST(JobFile, TextsComeBackWithoutSurroundingBlanksOrQuotesAndCutTo260) {
    struct Case {
        std::string written;
        std::string read;
        std::string listRead = read; // a comma list comes in its normal form
    };
    const Case cases[] = {
        {"  C:\\ソフト\\表  ", "C:\\ソフト\\表"},
        {"\"C:\\Program Files\\表\"", "C:\\Program Files\\表"},
        {"a, b ,c", "a, b ,c", "a,b,c"},
        {std::string(300, 'a'), std::string(260, 'a')},
        {Repeat("能", 131), Repeat("能", 130)},
        // The cut falls inside 表: no half character is left behind.
        {std::string(259, 'a') + "表", std::string(259, 'a')},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        const std::string path = dir / "texts.orvane";
        JobSettings job;
        job.processingFolder = job.excludedFolders = c.written;
        ASSERT_TRUE(WriteJobFile(path, job));
        JobSettings read = ReadJobFile(path);
        EXPECT_EQ(c.read, read.processingFolder);
        EXPECT_EQ(c.listRead, read.excludedFolders);
    }
}

TEST(JobFile, NewFileHoldsTheKeysInWriteOrderWithEmptyTextsWritten) {
    TempDir dir;
    JobSettings job;
    job.deleteEnabled = job.fastCopy = 1;
    job.processingFolder = "C:\\表";
    job.mode = UpdateProcessing;
    ASSERT_TRUE(WriteJobFile(dir / "new.orvane", job));
    const std::vector<std::string> expected = {
        "[Settings]",       "Mode=1",         "BaseDir=C:\\表", "TargetDir=",   "OutputLog=0",
        "IsSynExist=0",     "SubFolder=0",    "NotDel=1",       "DelWarning=0", "AddExt=",
        "DelExt=",          "LogDir=",        "2Sec=0",         "FirstCopy=1",  "RmDir=",
        "UseRecycle=0",     "AllowMassDel=0", "Versions=0",     "VersionsDir=", "VersionsDays=0",
        "VersionsRuns=0",   "Memory=0",       "DetectMoves=0",  "Verify=0",     "CompareContent=0",
        "IgnoreHourShift=0"};
    EXPECT_EQ(expected, IniLines(dir / "new.orvane"));
}

TEST(JobFile, SavingKeepsOtherSectionsAndKeysAndThePlacesOfKnownKeys) {
    TempDir dir;
    const std::string path = dir / "shared.orvane";
    ASSERT_TRUE(WriteFileBytes(path, "[Other]\r\nBaseDir=keep\r\n"
                                     "[Settings]\r\nRmDir=old\r\nCustom=表ソ能\r\nMode=0\r\n"
                                     "[Tail]\r\nx=1\r\n"));
    JobSettings job;
    job.processingFolder = "C:\\p";
    job.mode = UpdateReference;
    job.excludedFolders = "new";
    ASSERT_TRUE(WriteJobFile(path, job));
    const std::vector<std::string> expected = {"[Other]",
                                               "BaseDir=keep",
                                               "[Settings]",
                                               "RmDir=new",
                                               "Custom=表ソ能",
                                               "Mode=2",
                                               "BaseDir=C:\\p",
                                               "TargetDir=",
                                               "OutputLog=0",
                                               "IsSynExist=0",
                                               "SubFolder=0",
                                               "NotDel=0",
                                               "DelWarning=0",
                                               "AddExt=",
                                               "DelExt=",
                                               "LogDir=",
                                               "2Sec=0",
                                               "FirstCopy=0",
                                               "UseRecycle=0",
                                               "AllowMassDel=0",
                                               "Versions=0",
                                               "VersionsDir=",
                                               "VersionsDays=0",
                                               "VersionsRuns=0",
                                               "Memory=0",
                                               "DetectMoves=0",
                                               "Verify=0",
                                               "CompareContent=0",
                                               "IgnoreHourShift=0",
                                               "[Tail]",
                                               "x=1"};
    EXPECT_EQ(expected, IniLines(path));
    EXPECT_TRUE(job == ReadJobFile(path));
}
