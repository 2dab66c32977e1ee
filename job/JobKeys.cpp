#include "job/JobKeys.h"

namespace {

constexpr int kListLength = 255;
constexpr int kMostVersionDays = 36500;
constexpr int kMostVersionRuns = 99999;

constexpr JobKey Switch(const char* name, int JobSettings::*field, int readDefault) {
    return {name, JobValueKind::Switch, field, nullptr, 1, 0, readDefault};
}

constexpr JobKey Number(const char* name, int JobSettings::*field, int highest, int readDefault) {
    return {name, JobValueKind::Number, field, nullptr, highest, 0, readDefault};
}

constexpr JobKey Text(const char* name, std::string JobSettings::*field, int maxLength) {
    return {name, JobValueKind::Text, nullptr, field, 0, maxLength, 0};
}

// A comma list, taken in its normal form (NormaliseList) when read.
constexpr JobKey List(const char* name, std::string JobSettings::*field, JobListKind list,
                      const char* label) {
    return {name, JobValueKind::Text, nullptr, field, 0, kListLength, 0, list, label};
}

constexpr JobKey kKeys[] = {
    Number("Mode", &JobSettings::mode, UpdateReference, 0),
    Text("BaseDir", &JobSettings::processingFolder, 0),
    Text("TargetDir", &JobSettings::referenceFolder, 0),
    Switch("OutputLog", &JobSettings::outputLog, 0),
    Switch("IsSynExist", &JobSettings::bothSidesOnly, 0),
    Switch("SubFolder", &JobSettings::includeSubfolders, 0),
    Switch("NotDel", &JobSettings::deleteEnabled, 1),
    Switch("DelWarning", &JobSettings::confirmDelete, 1),
    List("AddExt", &JobSettings::includeExtensions, JobListKind::Extensions, "対象拡張子"),
    List("DelExt", &JobSettings::excludeExtensions, JobListKind::Extensions, "除外拡張子"),
    Text("LogDir", &JobSettings::logFolder, 0),
    Switch("2Sec", &JobSettings::twoSecondTolerance, 0),
    Switch("FirstCopy", &JobSettings::fastCopy, 1),
    List("RmDir", &JobSettings::excludedFolders, JobListKind::Folders, "除外フォルダ"),
    Switch("UseRecycle", &JobSettings::useRecycleBin, 0),
    Switch("AllowMassDel", &JobSettings::allowMassDeletion, 0),
    Switch("Versions", &JobSettings::keepVersions, 0),
    Text("VersionsDir", &JobSettings::versionsFolder, 0),
    Number("VersionsDays", &JobSettings::versionsDays, kMostVersionDays, 30),
    Number("VersionsRuns", &JobSettings::versionsRuns, kMostVersionRuns, 0),
    Switch("Memory", &JobSettings::rememberState, 0),
    Switch("DetectMoves", &JobSettings::detectMoves, 0),
    Switch("Verify", &JobSettings::verifyCopies, 0),
    Switch("CompareContent", &JobSettings::compareContent, 0),
    Switch("IgnoreHourShift", &JobSettings::ignoreHourShift, 0),
};

} // namespace

std::span<const JobKey> JobKeys() {
    return kKeys;
}

int JobTextMaxLength(std::string JobSettings::*field) {
    for (const JobKey& key : kKeys)
        if (key.text == field)
            return key.maxLength;
    return 0;
}
