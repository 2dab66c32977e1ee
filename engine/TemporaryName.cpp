#include "engine/TemporaryName.h"

#include <windows.h>

#include <cstdio>

namespace {

const char kPrefix[] = "~orvane";
const char kSuffix[] = ".tmp";
const char kBackupSuffix[] = ".old";
const int kDigits = 6;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsHexDigit(char c) {
    c = Lower(c);
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// Whether `text` starts with `part` (ASCII letters in either case); moves past it.
bool Take(const char*& text, const char* part) {
    const char* p = text;
    for (; *part != '\0'; ++p, ++part)
        if (Lower(*p) != *part)
            return false;
    text = p;
    return true;
}

} // namespace

unsigned NextTemporaryNumber() {
    static unsigned next = GetTickCount() ^ (GetCurrentProcessId() << 8);
    return next++;
}

std::string TemporaryName(unsigned number) {
    char name[kTemporaryNameLength + 1];
    std::snprintf(name, sizeof name, "%s%06x%s", kPrefix, number & 0xFFFFFFu, kSuffix);
    return name;
}

std::string BackupName(unsigned number) {
    char name[kTemporaryNameLength + 1];
    std::snprintf(name, sizeof name, "%s%06x%s", kPrefix, number & 0xFFFFFFu, kBackupSuffix);
    return name;
}

namespace {

bool HasForm(const char* name, const char* suffix) {
    if (!Take(name, kPrefix))
        return false;
    for (int i = 0; i < kDigits; ++i, ++name)
        if (!IsHexDigit(*name))
            return false;
    return Take(name, suffix) && *name == '\0';
}

} // namespace

bool IsTemporaryName(const char* name) {
    return HasForm(name, kSuffix);
}

bool IsBackupName(const char* name) {
    return HasForm(name, kBackupSuffix);
}
