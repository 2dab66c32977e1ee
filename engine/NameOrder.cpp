#include "engine/NameOrder.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/NameText.h"

namespace {

// The system's own uppercase mapping of every UTF-16 unit, asked once: the
// mapping the file systems and CompareStringOrdinal fold case with.
const wchar_t* UpperCaseTable() {
    static const std::vector<wchar_t> table = [] {
        using Upcase = WCHAR(WINAPI*)(WCHAR);
        FARPROC proc = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlUpcaseUnicodeChar");
        Upcase upcase = reinterpret_cast<Upcase>(reinterpret_cast<void*>(proc));
        std::vector<wchar_t> units(0x10000);
        for (size_t unit = 0; unit < units.size(); ++unit)
            units[unit] = static_cast<wchar_t>(unit);
        if (upcase != nullptr) {
            for (size_t unit = 0; unit < units.size(); ++unit)
                units[unit] = upcase(static_cast<WCHAR>(unit));
        } else {
            CharUpperBuffW(units.data(), static_cast<DWORD>(units.size()));
        }
        return units;
    }();
    return table.data();
}

// A byte that is one ASCII character by itself: no escape, no double-byte character.
bool IsPlain(unsigned char byte) {
    return byte < 0x80 && byte != '<';
}

unsigned char UpperAscii(unsigned char byte) {
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 0x20) : byte;
}

void AppendUnit(std::string& out, wchar_t unit) {
    unsigned value = unit;
    if (value < 0x80) {
        out.push_back(static_cast<char>(value));
    } else if (value < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (value >> 6)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (value >> 12)));
        out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
}

// Characters that are NFC by themselves and never join a neighbour: text
// below U+0300, kana without the combining voiced marks U+3099 and U+309A, the
// CJK symbols without the combining tone marks U+302A-U+302F, the unified
// kanji and the full-width forms. Most names are such text, Japanese ones too,
// and need no call to the system.
bool StaysAsItIs(wchar_t c) {
    return c < 0x300 || (c >= 0x3000 && c <= 0x3029) || (c >= 0x3030 && c <= 0x3098) ||
           (c >= 0x309B && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF) ||
           (c >= 0xFF00 && c <= 0xFFEF);
}

std::wstring Normalized(std::wstring_view wide) {
    if (std::all_of(wide.begin(), wide.end(), StaysAsItIs))
        return std::wstring(wide);
    int length = static_cast<int>(wide.size());
    std::wstring out(wide.size() * 3 + 8, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        int got = NormalizeString(NormalizationC, wide.data(), length, out.data(),
                                  static_cast<int>(out.size()));
        if (got > 0) {
            out.resize(static_cast<size_t>(got));
            return out;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            break;
        out.resize(out.size() * 2);
    }
    // Text the system will not normalise (an unpaired surrogate): as it is.
    return std::wstring(wide);
}

bool AllPlain(std::string_view text) {
    for (char c : text)
        if (!IsPlain(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// One text made of up to two parts, read byte by byte from the front.
class Reader {
public:
    Reader(std::string_view first, std::string_view second) : first_(first), second_(second) {}
    bool AtEnd() const { return at_ >= first_.size() + second_.size(); }
    unsigned char Peek() const {
        return static_cast<unsigned char>(at_ < first_.size() ? first_[at_]
                                                              : second_[at_ - first_.size()]);
    }
    void Skip() { ++at_; }
    // Whether what follows can never join the character before it (a
    // combining mark comes as an escape, never as ASCII or an ANSI character).
    bool NextStandsAlone() const { return AtEnd() || Peek() != '<'; }

private:
    std::string_view first_;
    std::string_view second_;
    size_t at_ = 0;
};

int CompareKeys(const std::string& a, const std::string& b) {
    int order = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    if (order != 0)
        return order;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

} // namespace

bool DifferInCase(std::string_view a, std::string_view b) {
    return a != b && Normalized(WideFromText(a)) != Normalized(WideFromText(b));
}

std::wstring FoldedName(std::wstring_view wide) {
    std::wstring folded = Normalized(wide);
    const wchar_t* upper = UpperCaseTable();
    for (wchar_t& unit : folded)
        unit = upper[static_cast<unsigned short>(unit)];
    return folded;
}

void AppendNameKey(std::string& out, std::string_view first, std::string_view second) {
    if (AllPlain(first) && AllPlain(second)) {
        for (std::string_view part : {first, second})
            for (char c : part)
                out.push_back(static_cast<char>(UpperAscii(static_cast<unsigned char>(c))));
        return;
    }
    // One buffer for every key: a sort makes one key per entry.
    thread_local std::wstring wide;
    wide.clear();
    AppendWideFromText(wide, first);
    AppendWideFromText(wide, second);
    const wchar_t* upper = UpperCaseTable();
    auto append = [&](std::wstring_view units) {
        for (wchar_t unit : units)
            AppendUnit(out, upper[static_cast<unsigned short>(unit)]);
    };
    if (std::all_of(wide.begin(), wide.end(), StaysAsItIs))
        append(wide);
    else
        append(Normalized(wide));
}

std::string NameKey(std::string_view text) {
    std::string key;
    key.reserve(text.size());
    AppendNameKey(key, text, std::string_view());
    return key;
}

int CompareNamesJoined(std::string_view aFirst, std::string_view aSecond, std::string_view bFirst,
                       std::string_view bSecond) {
    // ASCII against ASCII byte by byte; anything else through the keys.
    Reader a(aFirst, aSecond);
    Reader b(bFirst, bSecond);
    for (;;) {
        if (a.AtEnd() || b.AtEnd()) {
            if (a.AtEnd() && b.AtEnd())
                return 0;
            if (a.AtEnd() ? b.NextStandsAlone() : a.NextStandsAlone())
                return a.AtEnd() ? -1 : 1;
            break;
        }
        unsigned char left = a.Peek();
        unsigned char right = b.Peek();
        if (!IsPlain(left) || !IsPlain(right))
            break;
        left = UpperAscii(left);
        right = UpperAscii(right);
        a.Skip();
        b.Skip();
        if (left != right) {
            if (a.NextStandsAlone() && b.NextStandsAlone())
                return left < right ? -1 : 1;
            break;
        }
    }
    std::string keyA, keyB;
    AppendNameKey(keyA, aFirst, aSecond);
    AppendNameKey(keyB, bFirst, bSecond);
    return CompareKeys(keyA, keyB);
}

int CompareNames(std::string_view a, std::string_view b) {
    return CompareNamesJoined(a, std::string_view(), b, std::string_view());
}
