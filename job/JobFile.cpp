#include "job/JobFile.h"

#include <windows.h>

#include <cstring>

#include "base/DoubleByte.h"

namespace {

const char kSection[] = "Settings";

// One key of the job file, bound to its field: a number or a text. The table's
// order is the order in which keys are written and read, and so the order of
// the keys in a new file.
struct Key {
    const char* name;
    int JobSettings::*number;
    std::string JobSettings::*text;
    int readDefault;
};

const Key kKeys[] = {
    {"Mode", &JobSettings::mode, nullptr, 0},
    {"BaseDir", nullptr, &JobSettings::processingFolder, 0},
    {"TargetDir", nullptr, &JobSettings::referenceFolder, 0},
    {"OutputLog", &JobSettings::outputLog, nullptr, 0},
    {"IsSynExist", &JobSettings::bothSidesOnly, nullptr, 0},
    {"SubFolder", &JobSettings::includeSubfolders, nullptr, 0},
    {"NotDel", &JobSettings::deleteEnabled, nullptr, 1},
    {"DelWarning", &JobSettings::confirmDelete, nullptr, 1},
    {"AddExt", nullptr, &JobSettings::includeExtensions, 0},
    {"DelExt", nullptr, &JobSettings::excludeExtensions, 0},
    {"LogDir", nullptr, &JobSettings::logFolder, 0},
    {"2Sec", &JobSettings::twoSecondTolerance, nullptr, 0},
    {"FirstCopy", &JobSettings::fastCopy, nullptr, 1},
    {"RmDir", nullptr, &JobSettings::excludedFolders, 0},
    {"UseRecycle", &JobSettings::useRecycleBin, nullptr, 0},
    {"AllowMassDel", &JobSettings::allowMassDeletion, nullptr, 0},
};

// Drops a lead byte left alone at the end when the cut fell inside a
// double-byte character.
void DropBrokenLastCharacter(std::string& text) {
    const LeadBytes& lead = LeadBytes::Ansi();
    size_t last = 0; // where the last character starts
    for (size_t at = 0; at < text.size(); at += lead.CharLength(text, at))
        last = at;
    if (last + 1 == text.size() && lead.IsLead(text[last]))
        text.pop_back();
}

std::string ReadText(const std::string& path, const char* key) {
    // Zeroed first: when the cut splits a double-byte character, some
    // implementations count the last byte without writing it.
    char buffer[kJobTextLimit + 1] = {};
    GetPrivateProfileStringA(kSection, key, "", buffer, sizeof buffer, path.c_str());
    std::string text(buffer, strnlen(buffer, kJobTextLimit));
    DropBrokenLastCharacter(text);
    return text;
}

int ReadNumber(const std::string& path, const char* key, int readDefault) {
    // The signed value comes back through the unsigned return type.
    return static_cast<int>(GetPrivateProfileIntA(kSection, key, readDefault, path.c_str()));
}

} // namespace

JobSettings ReadJobFile(const std::string& path) {
    JobSettings job;
    for (const Key& key : kKeys) {
        if (key.text)
            job.*key.text = ReadText(path, key.name);
        else
            job.*key.number = ReadNumber(path, key.name, key.readDefault);
    }
    return job;
}

bool WriteJobFile(const std::string& path, const JobSettings& job) {
    bool written = true;
    for (const Key& key : kKeys) {
        // An empty text is written as "Key=": a null value would delete the key.
        std::string value = key.text ? job.*key.text : std::to_string(job.*key.number);
        written &=
            WritePrivateProfileStringA(kSection, key.name, value.c_str(), path.c_str()) != FALSE;
    }
    return written;
}

bool IsStoredJob(const std::string& path) {
    char keys[4] = {};
    return GetPrivateProfileStringA(kSection, nullptr, "", keys, sizeof keys, path.c_str()) > 0;
}
