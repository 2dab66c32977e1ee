#include "job/ProfileText.h"

#include <algorithm>

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

// Narrows [from, to) to the part without blanks around it.
void Trim(const std::wstring& text, size_t& from, size_t& to) {
    while (from < to && IsBlank(text[from]))
        ++from;
    while (to > from && IsBlank(text[to - 1]))
        --to;
}

wchar_t FoldAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Narrows [from, to) to the part before a NUL: the profile functions hand out
// names and values as C strings.
void EndAtNul(const std::wstring& text, size_t from, size_t& to) {
    to = static_cast<size_t>(std::find(text.begin() + from, text.begin() + to, L'\0') -
                             text.begin());
}

// Whether text[from, to), blanks around it dropped, is the name.
bool IsName(const std::wstring& text, size_t from, size_t to, const std::wstring& name) {
    Trim(text, from, to);
    EndAtNul(text, from, to);
    if (to - from != name.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (FoldAscii(text[from + i]) != FoldAscii(name[i]))
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

ProfileText::ProfileText(std::wstring text) : text_(std::move(text)) {}

// Calls `visit(from, to)` with each line of the first section of that name that
// is not a section header, blanks around it dropped and never empty, until
// `visit` returns true. Lines before the first section belong to none.
template <class Visit>
void ProfileText::ForEachKeyLine(const std::wstring& section, Visit visit) const {
    bool inside = false;
    size_t start = 0;
    while (start < text_.size()) {
        size_t end = text_.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text_.size();
        size_t from = start, to = end;
        start = end + 1;
        Trim(text_, from, to);
        if (from == to)
            continue;
        if (text_[from] == L'[') {
            // The last ']' of the line closes the name; searched within the line
            // only, so that the walk stays linear.
            size_t close = to - 1;
            while (close > from && text_[close] != L']')
                --close;
            if (close > from) {
                if (inside)
                    return; // the first section of the name has ended
                inside = IsName(text_, from + 1, close, section);
                continue;
            }
        }
        if (inside && visit(from, to))
            return;
    }
}

std::optional<std::wstring> ProfileText::Value(const std::wstring& section,
                                               const std::wstring& key) const {
    std::optional<std::wstring> value;
    ForEachKeyLine(section, [&](size_t from, size_t to) {
        size_t equals = static_cast<size_t>(
            std::find(text_.begin() + from, text_.begin() + to, L'=') - text_.begin());
        if (!IsName(text_, from, equals, key))
            return false;
        if (equals < to) {
            size_t valueFrom = equals + 1;
            Trim(text_, valueFrom, to);
            EndAtNul(text_, valueFrom, to);
            value = WithoutQuotes(text_.substr(valueFrom, to - valueFrom));
        }
        return true;
    });
    return value;
}

bool ProfileText::HasKeys(const std::wstring& section) const {
    bool found = false;
    ForEachKeyLine(section, [&](size_t from, size_t) {
        found = text_[from] != L';';
        return found;
    });
    return found;
}
