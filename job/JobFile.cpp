#include "job/JobFile.h"

#include <windows.h>

#include <cstring>

#include "base/DoubleByte.h"
#include "job/JobKeys.h"

namespace {

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
    GetPrivateProfileStringA(kJobSection, key, "", buffer, sizeof buffer, path.c_str());
    std::string text(buffer, strnlen(buffer, kJobTextLimit));
    DropBrokenLastCharacter(text);
    return text;
}

int ReadNumber(const std::string& path, const char* key, int readDefault) {
    // The signed value comes back through the unsigned return type.
    return static_cast<int>(GetPrivateProfileIntA(kJobSection, key, readDefault, path.c_str()));
}

} // namespace

JobSettings ReadJobFile(const std::string& path) {
    JobSettings job;
    for (const JobKey& key : JobKeys()) {
        if (key.kind == JobValueKind::Text)
            job.*key.text = ReadText(path, key.name);
        else
            job.*key.number = ReadNumber(path, key.name, key.readDefault);
    }
    return job;
}

bool WriteJobFile(const std::string& path, const JobSettings& job) {
    bool written = true;
    for (const JobKey& key : JobKeys()) {
        // An empty text is written as "Key=": a null value would delete the key.
        std::string value =
            key.kind == JobValueKind::Text ? job.*key.text : std::to_string(job.*key.number);
        written &=
            WritePrivateProfileStringA(kJobSection, key.name, value.c_str(), path.c_str()) != FALSE;
    }
    return written;
}

bool IsStoredJob(const std::string& path) {
    char keys[4] = {};
    return GetPrivateProfileStringA(kJobSection, nullptr, "", keys, sizeof keys, path.c_str()) > 0;
}
