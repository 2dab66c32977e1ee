#pragma once
// The one comparison of names and relative paths, Windows' own rule: two names
// are one file when they are equal after Unicode normalisation (NFC) and with
// case folded as the file systems fold it (the simple uppercase mapping that
// CompareStringOrdinal uses with case ignored: ASCII, full-width Latin, Greek,
// Cyrillic, accented Latin). A Mac-made ガイド.pdf (カ + U+3099) and the
// Windows-made one are then one file, as are ΑΒΓ.txt and αβγ.txt. Sort, lookup,
// twins, filters and priority use it, so they agree on one order.
//
// Texts are the program's (see base/NameText.h): ANSI with <U+XXXX> escapes.
// The order is that of the folded UTF-16 texts by code unit.
#include <string>
#include <string_view>

// Negative, zero or positive, as the folded texts compare.
int CompareNames(std::string_view a, std::string_view b);

// The same comparison of aFirst+aSecond against bFirst+bSecond, without joining
// the parts (a relative folder and a name, for example).
int CompareNamesJoined(std::string_view aFirst, std::string_view aSecond, std::string_view bFirst,
                       std::string_view bSecond);

// Appends the key of first+second: plain unsigned byte order of two keys is
// the order of CompareNamesJoined (each folded UTF-16 unit as one to three
// bytes that keep their order). A sort over keys and a bisection with the
// comparison then agree.
void AppendNameKey(std::string& out, std::string_view first, std::string_view second);
std::string NameKey(std::string_view text);

// The UTF-16 text normalised to NFC and folded: two names are one file when
// these are equal.
std::wstring FoldedName(std::wstring_view wide);

// Whether two spellings of one name differ in more than their Unicode form:
// in case (Name.txt and NAME.txt), not as a Mac and Windows write カ + ゛ and ガ.
bool DifferInCase(std::string_view a, std::string_view b);
