#pragma once
// The comparison of the program's own ANSI texts (the job's folders, a
// folder's candidates, a run's paths below its root): byte by byte, folding
// only single-byte ASCII capitals A to Z, with no locale rule. Names found on
// disk are compared by Windows' rule instead (engine/NameOrder.h). The second byte of a double-byte
// character is never folded: folding it would make different names equal (右 and 影, ア and ヂ),
// and a copy would then overwrite one file with another.
#include <string>
#include <string_view>

// The byte with ASCII capitals moved to small letters; every other byte unchanged.
inline unsigned char FoldAsciiCase(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + 0x20) : byte;
}

// Negative, zero or positive: the difference of the first folded bytes that
// differ, a text that is a prefix of the other sorting first.
int CompareNoCase(const char* a, const char* b);
int CompareNoCase(std::string_view a, std::string_view b);

// The same comparison of aFirst+aSecond against bFirst+bSecond, without
// joining the parts (a relative folder and a name, for example).
int CompareNoCaseJoined(std::string_view aFirst, std::string_view aSecond, std::string_view bFirst,
                        std::string_view bSecond);

// Appends first+second folded exactly as CompareNoCase folds them (the second
// byte of a double-byte character kept as it is), so that plain unsigned byte
// order of two such keys is CompareNoCase order of the texts. A sort over these
// keys and a bisection with CompareNoCase then agree on one order.
void AppendFoldedKey(std::string& out, std::string_view first, std::string_view second);
