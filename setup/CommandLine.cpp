#include "setup/CommandLine.h"

#include <windows.h>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

char FoldAsciiCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

const char* ArgumentText(const char* commandLine) {
    const char* p = commandLine;
    // Step by characters, not bytes, so that no trail byte of a double-byte
    // character in the program's path is taken for a quote or a blank.
    if (*p == '"') {
        p = CharNextA(p);
        while (*p && *p != '"')
            p = CharNextA(p);
        if (*p == '"')
            p = CharNextA(p);
    } else {
        while (*p && !IsBlank(*p))
            p = CharNextA(p);
    }
    while (IsBlank(*p))
        p = CharNextA(p);
    return p;
}

bool IsUninstallRequest(const char* argumentText) {
    // The switch is pure ASCII, so a lead byte of a double-byte character can
    // never match one of its bytes: a byte-wise comparison is safe here.
    const char* expected = "-uninst";
    const char* p = argumentText;
    for (; *expected; ++expected, ++p) {
        if (FoldAsciiCase(*p) != *expected)
            return false;
    }
    return *p == '\0';
}
