#pragma once
// What a job file is written in. The program writes Shift-JIS (the ANSI code
// page), but editors save in UTF-8, with or without a byte-order mark, or in
// UTF-16; read as ANSI, such a file names other folders (同期 as 蜷梧悄).
#include <optional>
#include <string>
#include <string_view>

enum class JobFileEncoding {
    Ansi,    // the ANSI code page, read through the private-profile functions
    Utf8,    // with the mark EF BB BF, or without one (see below)
    Utf16Le, // the mark FF FE
    Utf16Be, // the mark FE FF
};

// By the byte-order mark; without one, UTF-8 only when every byte of the file
// forms valid UTF-8 and at least one character takes more than one byte.
// Shift-JIS text is hardly ever valid UTF-8: a lead byte 0x81 to 0x9F, the
// leads of kana and the common kanji, can only follow a UTF-8 lead byte, and
// one alone, or a single double-byte character between ASCII, never is.
JobFileEncoding DetectJobFileEncoding(std::string_view bytes);

// The text of a file in one of the Unicode encodings as UTF-16, without its
// byte-order mark; a byte sequence that is no character becomes U+FFFD, which
// has no ANSI form.
std::wstring DecodeJobFileText(std::string_view bytes, JobFileEncoding encoding);

// A job file holds a few hundred bytes: its keys come to about 6 KB with every
// text at the 260 bytes it is read back as, and notes or sections added by hand
// stay far below 1 MB, which still reads in milliseconds. A larger file is no
// job and is not read at all: neither by the program nor by the private-profile
// functions, which would read it whole.
constexpr size_t kJobFileLimit = 1024 * 1024;
// How the refusals name the limit.
constexpr char kJobFileLimitText[] = "1 MB";

// The bytes of the file, empty when it cannot be read; nothing when it holds
// more than kJobFileLimit bytes (then at most that much was read).
std::optional<std::string> ReadJobFileBytes(const std::string& path);
