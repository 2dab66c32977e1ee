#pragma once
// Names and paths as the program holds them: ANSI texts in which every
// character without an exact ANSI form (é, 〜 U+301C, a Korean syllable, an
// emoji, a separate voiced mark U+3099), every control character and '<'
// itself is written <U+XXXX> (U+ and 4 to 6 upper-case hex digits, a surrogate
// pair as one code point). Windows forbids '<' in names, so no real name reads
// as an escape, and a name with an exact ANSI form is its ANSI bytes as they
// always were. The form converts back to the very same UTF-16 name, which is
// what every file function is called with.
#include <string>
#include <string_view>

// The program's text of a UTF-16 name or path.
std::string TextFromWide(const wchar_t* text, size_t count);
inline std::string TextFromWide(const std::wstring& text) {
    return TextFromWide(text.data(), text.size());
}

// The UTF-16 text of a program text: the exact inverse of TextFromWide. A '<'
// that begins no well-formed escape stays a '<'.
std::wstring WideFromText(std::string_view text);
// The same, appended to `out`.
void AppendWideFromText(std::wstring& out, std::string_view text);

// The UTF-16 path for the wide file functions; a long absolute path gets the
// \\?\ form (\\?\UNC\ for a share), which takes paths of any length the file
// system allows.
std::wstring WidePath(std::string_view path);

// Whether WidePath gives the path in the \\?\ form: the shell's functions
// take no such path.
bool NeedsLongForm(std::string_view path);

// The length of a well-formed escape at `at` (8 to 10 bytes), or 0; *codePoint
// receives its value.
size_t EscapeLengthAt(std::string_view text, size_t at, unsigned* codePoint);

// Whether the text holds no escape: every character has its exact ANSI form.
bool IsPlainAnsi(std::string_view text);
