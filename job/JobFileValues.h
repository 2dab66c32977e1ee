#pragma once
// The values of a job file's section "Settings", read by what the file is: a
// file in the ANSI code page through the private-profile functions, as always;
// a UTF-8 or UTF-16 file parsed by their rules, each value of a job key
// converted exactly to the ANSI code page. A value without an exact ANSI form
// refuses the whole job: a look-alike would name another folder. So does a file
// over kJobFileLimit bytes, which is not read at all.
#include <map>
#include <optional>
#include <string>

#include "job/JobFileEncoding.h"

class JobFileValues {
public:
    // Reads the file once; a missing file reads as an ANSI file without keys, a
    // file over the limit as a refused one without keys.
    explicit JobFileValues(const std::string& path);

    JobFileEncoding Encoding() const { return encoding_; }
    // Why the job cannot be used, naming the file and the key; empty when it can.
    const std::string& Refusal() const { return refusal_; }

    // The key's value as the file holds it (blanks and one pair of quotes
    // around it removed), or nothing when the key is missing.
    std::optional<std::string> Raw(const char* key) const;
    // The key's value cut to kJobTextLimit bytes, never inside a double-byte
    // character; empty when missing.
    std::string Text(const char* key) const;
    // The key's value read as the private-profile functions read a number;
    // `readDefault` when missing or empty.
    int Number(const char* key, int readDefault) const;
    // Whether the section holds any line other than a comment; false for a new job.
    bool HasSection() const { return hasSection_; }

private:
    std::string path_;
    JobFileEncoding encoding_ = JobFileEncoding::Ansi;
    // An ANSI file within the limit: its values come from the profile functions.
    bool profileReads_ = false;
    std::string refusal_;
    bool hasSection_ = false;
    // The job keys' values of a Unicode file, in the ANSI code page.
    std::map<std::string, std::string> values_;
};

// Texts read from a job file are cut to this many bytes.
constexpr size_t kJobTextLimit = 260;

// The number the private-profile functions read from a text: blanks skipped, a
// sign, a 0x, 0o or 0b prefix, digits up to the first that does not belong,
// wrapped round to 32 bits.
int ProfileNumber(const std::wstring& text, int readDefault);
