#include "job/ProfileText.h"

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

std::wstring Trimmed(const std::wstring& text, size_t from, size_t to) {
    while (from < to && IsBlank(text[from]))
        ++from;
    while (to > from && IsBlank(text[to - 1]))
        --to;
    return text.substr(from, to - from);
}

wchar_t FoldAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

std::wstring WithoutQuotes(const std::wstring& value) {
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

ProfileText::ProfileText(const std::wstring& text) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = Trimmed(text, start, end);
        start = end + 1;
        if (line.empty())
            continue;
        if (line.front() == L'[') {
            size_t close = line.rfind(L']');
            if (close != std::wstring::npos && close > 0) {
                sections_.push_back({line.substr(1, close - 1), {}});
                continue;
            }
        }
        if (sections_.empty())
            continue; // keys before the first section belong to none
        size_t equals = line.find(L'=');
        if (equals == std::wstring::npos)
            sections_.back().keys.push_back({line, std::nullopt});
        else
            sections_.back().keys.push_back(
                {Trimmed(line, 0, equals), Trimmed(line, equals + 1, line.size())});
    }
}

const ProfileText::Section* ProfileText::Find(const std::wstring& section) const {
    for (const Section& candidate : sections_)
        if (SameName(Trimmed(candidate.name, 0, candidate.name.size()), section))
            return &candidate;
    return nullptr;
}

std::optional<std::wstring> ProfileText::Value(const std::wstring& section,
                                               const std::wstring& key) const {
    if (const Section* found = Find(section))
        for (const Key& candidate : found->keys)
            if (SameName(candidate.name, key))
                return candidate.value ? std::optional(WithoutQuotes(*candidate.value))
                                       : std::nullopt;
    return std::nullopt;
}

bool ProfileText::HasKeys(const std::wstring& section) const {
    const Section* found = Find(section);
    return found != nullptr && !found->keys.empty();
}
