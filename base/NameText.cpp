#include "base/NameText.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "base/AnsiText.h"

namespace {

bool IsEscaped(wchar_t c) {
    return (c >= 0x01 && c <= 0x1F) || c == 0x7F || c == L'<';
}

void AppendEscape(std::string& out, unsigned codePoint) {
    char escape[16];
    std::snprintf(escape, sizeof escape, "<U+%04X>", codePoint);
    out += escape;
}

// One character (one or two UTF-16 units) in its exact ANSI form, or false.
bool AppendExactAnsi(std::string& out, const wchar_t* text, int count) {
    char bytes[8];
    BOOL usedDefault = FALSE;
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, count, bytes, sizeof bytes,
                                     "?", &usedDefault);
    if (length <= 0 || usedDefault)
        return false;
    // What the file functions would make of the bytes again.
    wchar_t back[4];
    int backLength = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, length, back, 4);
    if (backLength != count || back[0] != text[0] || (count == 2 && back[1] != text[1]))
        return false;
    out.append(bytes, static_cast<size_t>(length));
    return true;
}

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

void AppendCodePoint(std::wstring& out, unsigned codePoint) {
    if (codePoint < 0x10000) {
        out.push_back(static_cast<wchar_t>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    out.push_back(static_cast<wchar_t>(0xD800 + (codePoint >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF)));
}

void AppendAnsi(std::wstring& out, const char* text, size_t count) {
    if (count == 0)
        return;
    size_t at = out.size();
    out.resize(at + count); // never more UTF-16 units than bytes
    int length = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(count), out.data() + at,
                                     static_cast<int>(count));
    out.resize(at + static_cast<size_t>(length > 0 ? length : 0));
}

} // namespace

// The whole text in its exact ANSI form in one conversion and one check, the
// common case for a name that needs no escape; false otherwise.
bool WholeExactAnsi(const wchar_t* text, size_t count, std::string& out) {
    for (size_t at = 0; at < count; ++at)
        if (IsEscaped(text[at]))
            return false;
    return ToExactAnsi(text, count, out);
}

std::string TextFromWide(const wchar_t* text, size_t count) {
    std::string out;
    bool ascii = true;
    for (size_t at = 0; at < count && ascii; ++at)
        ascii = text[at] < 0x80;
    if (!ascii && WholeExactAnsi(text, count, out))
        return out;
    out.clear();
    out.reserve(count);
    for (size_t at = 0; at < count;) {
        wchar_t c = text[at];
        if (c < 0x80 && !IsEscaped(c)) {
            out.push_back(static_cast<char>(c));
            ++at;
            continue;
        }
        bool pair = c >= 0xD800 && c <= 0xDBFF && at + 1 < count && text[at + 1] >= 0xDC00 &&
                    text[at + 1] <= 0xDFFF;
        int units = pair ? 2 : 1;
        if (IsEscaped(c) || !AppendExactAnsi(out, text + at, units))
            AppendEscape(out, pair ? 0x10000 + ((c - 0xD800) << 10) + (text[at + 1] - 0xDC00)
                                   : static_cast<unsigned>(c));
        at += static_cast<size_t>(units);
    }
    return out;
}

size_t EscapeLengthAt(std::string_view text, size_t at, unsigned* codePoint) {
    if (text.size() < at + 8 || text[at] != '<' || text[at + 1] != 'U' || text[at + 2] != '+')
        return 0;
    size_t digits = 0;
    unsigned value = 0;
    for (size_t i = at + 3; i < text.size() && digits < 7 && IsHex(text[i]); ++i, ++digits)
        value =
            value * 16 + static_cast<unsigned>(text[i] <= '9' ? text[i] - '0' : text[i] - 'A' + 10);
    if (digits < 4 || digits > 6 || at + 3 + digits >= text.size() ||
        text[at + 3 + digits] != '>' || value > 0x10FFFF)
        return 0;
    if (codePoint != nullptr)
        *codePoint = value;
    return digits + 4;
}

std::wstring WideFromText(std::string_view text) {
    std::wstring out;
    AppendWideFromText(out, text);
    return out;
}

void AppendWideFromText(std::wstring& out, std::string_view text) {
    size_t runStart = 0;
    for (size_t at = 0; at < text.size();) {
        unsigned codePoint = 0;
        size_t escape = text[at] == '<' ? EscapeLengthAt(text, at, &codePoint) : 0;
        if (escape == 0) {
            ++at; // a lead byte's second byte is never '<' (0x3C is below every trail range)
            continue;
        }
        AppendAnsi(out, text.data() + runStart, at - runStart);
        AppendCodePoint(out, codePoint);
        at += escape;
        runStart = at;
    }
    AppendAnsi(out, text.data() + runStart, text.size() - runStart);
}

bool IsPlainAnsi(std::string_view text) {
    for (size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1))
        if (EscapeLengthAt(text, at, nullptr) != 0)
            return false;
    return true;
}

bool NeedsLongForm(std::string_view path) {
    std::wstring wide = WidePath(path);
    return wide.compare(0, 4, L"\\\\?\\") == 0;
}

std::wstring WidePath(std::string_view path) {
    std::wstring wide = WideFromText(path);
    // Below this length every function takes the plain form (a folder's must
    // leave room for an 8.3 name).
    if (wide.size() < MAX_PATH - 12)
        return wide;
    if (wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\')
        return L"\\\\?\\" + wide;
    if (wide.size() >= 3 && wide[0] == L'\\' && wide[1] == L'\\' && wide[2] != L'?' &&
        wide[2] != L'.')
        return L"\\\\?\\UNC\\" + wide.substr(2);
    return wide;
}
