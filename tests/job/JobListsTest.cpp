// The comma lists as the user meant them: the spellings people use taken in
// their normal form, pieces that could never match refused by name, full paths
// inside the job's folders taken as the folders they name.
#include <gtest/gtest.h>

#include "job/JobKeys.h"
#include "job/JobLists.h"

TEST(JobLists, SpellingsPeopleUseAreNormalisedAndPiecesThatCanNeverMatchAreRefusedByName) {
    struct Case {
        std::string JobSettings::*list;
        std::string text;
        std::string normal;  // as searched and saved
        std::string refused; // the piece the refusal names; empty: none
    };
    const auto ext = &JobSettings::excludeExtensions;
    const auto add = &JobSettings::includeExtensions;
    const auto dir = &JobSettings::excludedFolders;
    const Case cases[] = {
        {ext, " .bak , *.TXT,doc", "bak,TXT,doc", ""},
        {add, "txt,", "txt,", ""}, // the empty piece: names without an extension
        {ext, "a,,b", "a,,b", ""},
        {ext, "  ", "", ""},
        {ext, "　ソ　,表", "ソ,表", ""},        // full-width blanks; 0x5C second bytes
        {ext, "*. bak, .　txt", "bak,txt", ""}, // blanks after the dot
        {ext, "*.*", "*.*", "*.*"},
        {ext, "*bak", "*bak", "*bak"},
        {add, "doc, .tar.gz", "doc,.tar.gz", ".tar.gz"},
        {ext, "a:b", "a:b", "a:b"},
        {dir, "\\tmp, tmp\\ ,a\\b\\", "tmp,tmp,a\\b", ""},
        {dir, "/tmp/sub/", "tmp\\sub", ""},
        {dir, "\\ tmp \\,\\　表", "tmp,表", ""}, // blanks inside the backslashes
        {dir, "表\\ソ\\,\\表", "表\\ソ,表", ""}, // 表 and ソ end in 0x5C and keep it
        {dir, ",a", ",a", ""},
        {dir, "C:\\処理\\tmp\\", "tmp", ""},
        {dir, "d:\\参照 表\\A\\b", "A\\b", ""},
        {dir, "C:\\処理2\\tmp", "C:\\処理2\\tmp", "C:\\処理2\\tmp"},
        {dir, "C:\\処理", "C:\\処理", "C:\\処理"},
        {dir, "C:tmp", "C:tmp", "C:tmp"},
        {dir, "\\\\server\\share\\x", "\\\\server\\share\\x", "\\\\server\\share\\x"},
        {dir, "a*", "a*", "a*"},
        {dir, "a\\\\b", "a\\\\b", "a\\\\b"},
        {dir, "..\\x", "..\\x", "..\\x"},
        {dir, "a.", "a.", "a."},
        {dir, "a|b", "a|b", "a|b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        JobSettings job;
        job.processingFolder = "C:\\処理";
        job.referenceFolder = "D:\\参照 表";
        job.includeSubfolders = 1;
        job.*c.list = c.text;
        NormaliseJobLists(job);
        std::vector<JobProblem> problems = CheckJobLists(job);
        if (c.refused.empty()) {
            EXPECT_TRUE(problems.empty()) << problems.front().text;
        } else {
            ASSERT_EQ(1u, problems.size());
            EXPECT_NE(std::string::npos, problems[0].text.find("「" + c.refused + "」"))
                << problems[0].text;
        }
        EXPECT_EQ(c.normal, job.*c.list);
    }
    // Excluded folders mean nothing, and are not refused, without subfolders.
    JobSettings flat;
    flat.excludedFolders = "a*";
    EXPECT_TRUE(CheckJobLists(flat).empty());
}
