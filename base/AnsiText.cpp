#include "base/AnsiText.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

std::wstring AnsiToWide(const std::string& text) {
    if (text.empty())
        return std::wstring();
    int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string WideToAnsi(const wchar_t* text, size_t count) {
    if (count == 0)
        return std::string();
    int length =
        WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(count), nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(count), ansi.data(), length, nullptr,
                        nullptr);
    return ansi;
}

bool ToExactAnsi(const wchar_t* text, size_t count, std::string& ansi) {
    ansi.clear();
    // ASCII reads the same in every ANSI code page, and most names are ASCII:
    // no conversion call for them.
    if (std::all_of(text, text + count, [](wchar_t c) { return c < 0x80; })) {
        ansi.reserve(count);
        for (size_t i = 0; i < count; ++i)
            ansi.push_back(static_cast<char>(text[i]));
        return true;
    }
    // Three bytes per UTF-16 unit hold any code page. UTF-8 takes neither the
    // flag nor a default character; there the round trip alone tells.
    ansi.resize(count * 3);
    bool utf8 = GetACP() == CP_UTF8;
    BOOL usedDefault = FALSE;
    int length = WideCharToMultiByte(
        CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, text, static_cast<int>(count), ansi.data(),
        static_cast<int>(ansi.size()), utf8 ? nullptr : "?", utf8 ? nullptr : &usedDefault);
    ansi.resize(length > 0 ? static_cast<size_t>(length) : 0);
    if (length <= 0 || usedDefault)
        return false;
    // What the file functions will make of the ANSI text again; a longer result
    // does not fit the buffer and is no round trip either.
    wchar_t shortBack[MAX_PATH];
    std::wstring longBack(count > MAX_PATH ? count : 0, L'\0');
    wchar_t* back = count > MAX_PATH ? longBack.data() : shortBack;
    int backLength = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), length, back,
                                         static_cast<int>(count));
    return static_cast<size_t>(backLength) == count && std::wmemcmp(back, text, count) == 0;
}

bool ToExactAnsi(const std::wstring& text, std::string& ansi) {
    return ToExactAnsi(text.data(), text.size(), ansi);
}
