#include "job/JobFileEncoding.h"

#include <windows.h>

#include "base/FileHandle.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

bool StartsWith(std::string_view bytes, std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Well-formed UTF-8 as the standard defines it: no overlong forms, no
// surrogates, nothing above U+10FFFF.
bool IsUtf8WithMultiByteCharacter(std::string_view bytes) {
    bool multiByte = false;
    for (size_t at = 0; at < bytes.size();) {
        unsigned char lead = static_cast<unsigned char>(bytes[at]);
        if (lead < 0x80) {
            ++at;
            continue;
        }
        size_t length = 0;
        unsigned char low = 0x80, high = 0xBF; // the range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (at + length > bytes.size())
            return false;
        unsigned char second = static_cast<unsigned char>(bytes[at + 1]);
        if (second < low || second > high)
            return false;
        for (size_t i = 2; i < length; ++i)
            if (!IsContinuation(static_cast<unsigned char>(bytes[at + i])))
                return false;
        multiByte = true;
        at += length;
    }
    return multiByte;
}

std::wstring FromUtf8(std::string_view bytes) {
    if (bytes.empty())
        return std::wstring();
    int count = static_cast<int>(bytes.size());
    int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), count, nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), count, text.data(), length);
    return text;
}

std::wstring FromUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (size_t at = 0; at + 1 < bytes.size(); at += 2) {
        unsigned first = static_cast<unsigned char>(bytes[at]);
        unsigned second = static_cast<unsigned char>(bytes[at + 1]);
        text.push_back(static_cast<wchar_t>(bigEndian ? first << 8 | second : second << 8 | first));
    }
    if (bytes.size() % 2 != 0)
        text.push_back(L'\xFFFD'); // half a character at the end
    return text;
}

} // namespace

JobFileEncoding DetectJobFileEncoding(std::string_view bytes) {
    if (StartsWith(bytes, kUtf8Mark))
        return JobFileEncoding::Utf8;
    if (StartsWith(bytes, kUtf16LeMark))
        return JobFileEncoding::Utf16Le;
    if (StartsWith(bytes, kUtf16BeMark))
        return JobFileEncoding::Utf16Be;
    return IsUtf8WithMultiByteCharacter(bytes) ? JobFileEncoding::Utf8 : JobFileEncoding::Ansi;
}

std::wstring DecodeJobFileText(std::string_view bytes, JobFileEncoding encoding) {
    switch (encoding) {
    case JobFileEncoding::Utf8:
        return FromUtf8(StartsWith(bytes, kUtf8Mark) ? bytes.substr(kUtf8Mark.size()) : bytes);
    case JobFileEncoding::Utf16Le:
        return FromUtf16(bytes.substr(kUtf16LeMark.size()), false);
    case JobFileEncoding::Utf16Be:
        return FromUtf16(bytes.substr(kUtf16BeMark.size()), true);
    case JobFileEncoding::Ansi:
        break;
    }
    return std::wstring();
}

std::optional<std::string> ReadJobFileBytes(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file.IsOpen() || !GetFileSizeEx(file.Get(), &size))
        return std::string();
    if (static_cast<unsigned long long>(size.QuadPart) > kJobFileLimit)
        return std::nullopt;
    std::string bytes;
    bytes.reserve(static_cast<size_t>(size.QuadPart));
    char buffer[16384];
    DWORD got = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        // A file that grew after its size was taken is cut off here.
        if (bytes.size() + got > kJobFileLimit)
            return std::nullopt;
        bytes.append(buffer, got);
    }
    return bytes;
}
