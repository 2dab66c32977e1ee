#include "engine/NameRules.h"

#include "base/DoubleByte.h"
#include "base/NameText.h"
#include "base/PathText.h"
#include "engine/CompareNoCase.h"

#include <cstring>
#include <string>

namespace {

// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9, in any case, with any
// extension and with blanks before it.
bool IsDeviceName(const char* name) {
    std::string base(name, std::strcspn(name, "."));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    for (char& c : base)
        c = static_cast<char>(FoldAsciiCase(static_cast<unsigned char>(c)));
    if (base == "con" || base == "prn" || base == "aux" || base == "nul")
        return true;
    return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

} // namespace

bool IsExactPathName(const char* name) {
    if (*name == '\0')
        return false;
    const LeadBytes& lead = LeadBytes::Ansi();
    const std::string_view text(name);
    char last = '\0';
    for (size_t at = 0; at < text.size();) {
        // A character without an ANSI form is a usable one; an escaped control
        // character or '<' is not.
        unsigned codePoint = 0;
        if (size_t escape = EscapeLengthAt(text, at, &codePoint); escape != 0) {
            if (codePoint < 0x20 || codePoint == '<')
                return false;
            last = '\0';
            at += escape;
            continue;
        }
        if (lead.CharLength(text, at) == 2) {
            last = '\0';
            at += 2;
            continue;
        }
        if (IsForbiddenInNames(static_cast<unsigned char>(text[at])))
            return false;
        last = text[at++];
    }
    if (last == '.' || last == ' ')
        return false;
    return !IsDeviceName(name);
}
