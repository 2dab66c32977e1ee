#pragma once
// An INI text read by the rules of the private-profile functions, for the job
// files those functions cannot read (UTF-8, UTF-16): lines split at CR or LF,
// blanks around lines, names and values dropped, section and key names compared
// ignoring the case of ASCII letters, the first section of a name and its first
// key of a name the ones that count, names and values ending at a NUL.
#include <optional>
#include <string>

class ProfileText {
public:
    explicit ProfileText(std::wstring text);

    // The key's value with one pair of matching quotes (" or ') around it
    // removed; nothing when the section or the key is missing, or the key's line
    // has no '='.
    std::optional<std::wstring> Value(const std::wstring& section, const std::wstring& key) const;
    // Whether the section holds at least one line other than a comment (';').
    bool HasKeys(const std::wstring& section) const;

private:
    // Each question walks the text again rather than keeping its lines: a text
    // of many short lines would otherwise take many times its own size.
    template <class Visit> void ForEachKeyLine(const std::wstring& section, Visit visit) const;

    std::wstring text_;
};
