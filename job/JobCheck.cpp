#include "job/JobCheck.h"

#include <windows.h>

#include "base/AbsolutePath.h"
#include "base/TextEscape.h"
#include "job/JobFileValues.h"
#include "job/JobKeys.h"

namespace {

// Decimal digits only, no sign, at most `highest`; the profile reader would take
// "abc" as 0, "0x2" as 2 and wrap 4294967298 round to 2.
bool IsDecimalUpTo(const std::string& text, int highest) {
    if (text.empty())
        return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
        if (value > highest)
            return false;
    }
    return true;
}

// "0 か 1" for a switch, "0、1、2 のいずれか" for a number up to 2.
std::string Allowed(const JobKey& key) {
    if (key.kind == JobValueKind::Switch)
        return "0 か 1";
    std::string values = "0";
    for (int value = 1; value <= key.highest; ++value)
        values += "、" + std::to_string(value);
    return values + " のいずれか";
}

} // namespace

std::vector<JobProblem> CheckUnattendedJob(const std::string& jobPath, const JobSettings& job,
                                           bool processingFromCommandLine,
                                           bool referenceFromCommandLine) {
    std::vector<JobProblem> problems;
    const JobFileValues values(jobPath);
    for (const JobKey& key : JobKeys()) {
        if (key.kind == JobValueKind::Text)
            continue;
        std::optional<std::string> value = values.Raw(key.name);
        if (value && !IsDecimalUpTo(*value, key.highest))
            problems.push_back({key.name, std::string(key.name) + " の値「" +
                                              EscapeForText(*value) + "」は使えません（" +
                                              Allowed(key) + "を数字で指定してください）"});
    }
    // An empty folder is the search's to report; a relative one would be taken
    // from wherever the scheduler starts the program.
    auto checkFolder = [&problems](const char* key, const std::string& folder) {
        if (!folder.empty() && !IsAbsolutePath(folder))
            problems.push_back({key, std::string(key) + " のフォルダ「" + EscapeForText(folder) +
                                         "」は絶対パスではありません"});
    };
    checkFolder(processingFromCommandLine ? "--proc" : "BaseDir", job.processingFolder);
    checkFolder(referenceFromCommandLine ? "--ref" : "TargetDir", job.referenceFolder);
    if (job.outputLog != 0 && !IsAbsolutePath(job.logFolder))
        problems.push_back({"LogDir", "LogDir のフォルダ「" + EscapeForText(job.logFolder) +
                                          "」は絶対パスではありません"});
    return problems;
}
