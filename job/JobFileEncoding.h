#pragma once
// What a job file is written in. The program writes Shift-JIS (the ANSI code
// page), but editors save in UTF-8, with or without a byte-order mark, or in
// UTF-16; read as ANSI, such a file names other folders (同期 as 蜷梧悄).
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

// The bytes of the file; empty when it cannot be read.
std::string ReadJobFileBytes(const std::string& path);
