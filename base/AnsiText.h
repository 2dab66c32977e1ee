#pragma once
// Conversions between the ANSI code page and UTF-16, for the places that must
// treat a double-byte character as one character, and the one rule for a text
// that comes from the system in UTF-16.
#include <string>

std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const wchar_t* text, size_t count);

// True when the text has an exact ANSI form: converted without best fit, no
// character replaced, and back to the very same UTF-16 text. `ansi` receives the
// text as far as it can be written ('?' for what cannot) in either case.
bool ToExactAnsi(const wchar_t* text, size_t count, std::string& ansi);
bool ToExactAnsi(const std::wstring& text, std::string& ansi);
