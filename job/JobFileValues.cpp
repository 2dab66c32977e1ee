#include "job/JobFileValues.h"

#include <windows.h>

#include <cstring>

#include "base/DoubleByte.h"
#include "base/PathText.h"
#include "base/TextEscape.h"
#include "base/AnsiText.h"
#include "job/JobKeys.h"
#include "job/ProfileText.h"

namespace {

// Returned by the profile functions for a missing key; no value read back can
// equal it.
const char kMissing[] = "\x01missing";

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

std::string CutToLimit(std::string text) {
    if (text.size() > kJobTextLimit) {
        text.resize(kJobTextLimit);
        DropBrokenLastCharacter(text);
    }
    return text;
}

std::wstring Wide(const char* ascii) {
    return std::wstring(ascii, ascii + std::strlen(ascii));
}

} // namespace

JobFileValues::JobFileValues(const std::string& path) : path_(path) {
    // A bare file name means the Windows folder to the profile functions; such
    // a file is theirs to read.
    std::optional<std::string> bytes =
        LastSeparator(path) == std::string::npos ? std::string() : ReadJobFileBytes(path);
    if (!bytes) {
        refusal_ = "処理定義ファイル「" + EscapeForText(path) + "」は " + kJobFileLimitText +
                   " を超えているため、読み込めません";
        return;
    }
    encoding_ = DetectJobFileEncoding(*bytes);
    if (encoding_ == JobFileEncoding::Ansi) {
        profileReads_ = true;
        // The section's lines rather than its key names: a line with an empty
        // name ("=2") would end the list of names before the keys after it.
        char lines[4] = {};
        hasSection_ = GetPrivateProfileSectionA(kJobSection, lines, sizeof lines, path.c_str()) > 0;
        return;
    }
    ProfileText text(DecodeJobFileText(*bytes, encoding_));
    const std::wstring section = Wide(kJobSection);
    hasSection_ = text.HasKeys(section);
    for (const JobKey& key : JobKeys()) {
        std::optional<std::wstring> value = text.Value(section, Wide(key.name));
        if (!value)
            continue;
        std::string ansi;
        if (!ToExactAnsi(*value, ansi) && refusal_.empty())
            refusal_ = "処理定義ファイル「" + EscapeForText(path) + "」の " + key.name +
                       " の値に、このプログラムで扱えない文字が含まれています";
        values_[key.name] = std::move(ansi);
    }
}

std::optional<std::string> JobFileValues::Raw(const char* key) const {
    if (!profileReads_) {
        auto found = values_.find(key);
        return found != values_.end() ? std::optional(found->second) : std::nullopt;
    }
    // Zeroed first: when the cut splits a double-byte character, some
    // implementations count the last byte without writing it.
    char buffer[kJobTextLimit + 1] = {};
    GetPrivateProfileStringA(kJobSection, key, kMissing, buffer, sizeof buffer, path_.c_str());
    std::string value(buffer, strnlen(buffer, kJobTextLimit));
    if (value == kMissing)
        return std::nullopt;
    DropBrokenLastCharacter(value);
    return value;
}

std::string JobFileValues::Text(const char* key) const {
    return CutToLimit(Raw(key).value_or(std::string()));
}

int JobFileValues::Number(const char* key, int readDefault) const {
    if (profileReads_) {
        // The signed value comes back through the unsigned return type.
        return static_cast<int>(
            GetPrivateProfileIntA(kJobSection, key, readDefault, path_.c_str()));
    }
    auto found = values_.find(key);
    return found != values_.end() ? ProfileNumber(AnsiToWide(found->second), readDefault)
                                  : readDefault;
}

int ProfileNumber(const std::wstring& text, int readDefault) {
    if (text.empty())
        return readDefault;
    size_t at = 0;
    while (at < text.size() && text[at] <= L' ')
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == L'+' || text[at] == L'-'))
        negative = text[at++] == L'-';
    unsigned base = 10;
    if (at + 1 < text.size() && text[at] == L'0') {
        wchar_t prefix = text[at + 1];
        base = prefix == L'x' || prefix == L'X'   ? 16
               : prefix == L'o' || prefix == L'O' ? 8
               : prefix == L'b' || prefix == L'B' ? 2
                                                  : 10;
        if (base != 10)
            at += 2;
    }
    unsigned value = 0;
    for (; at < text.size(); ++at) {
        wchar_t c = text[at];
        unsigned digit = c >= L'0' && c <= L'9'   ? static_cast<unsigned>(c - L'0')
                         : c >= L'a' && c <= L'f' ? static_cast<unsigned>(c - L'a' + 10)
                         : c >= L'A' && c <= L'F' ? static_cast<unsigned>(c - L'A' + 10)
                                                  : 99;
        if (digit >= base)
            break;
        value = value * base + digit;
    }
    return static_cast<int>(negative ? 0u - value : value);
}
