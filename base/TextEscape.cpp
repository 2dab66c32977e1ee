#include "base/TextEscape.h"

#include <cstdio>

#include "base/DoubleByte.h"
#include "base/NameText.h"

namespace {

bool NeedsEscape(unsigned char byte) {
    return (byte >= 0x01 && byte <= 0x1F) || byte == 0x7F || byte == '<';
}

} // namespace

std::string EscapeForText(std::string_view text) {
    const LeadBytes& lead = LeadBytes::Ansi();
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        size_t length = lead.CharLength(text, at);
        unsigned char byte = static_cast<unsigned char>(text[at]);
        // A name's own escape (a character without an ANSI form) is already
        // in the form.
        size_t escape = byte == '<' ? EscapeLengthAt(text, at, nullptr) : 0;
        if (escape != 0) {
            out.append(text, at, escape);
            at += escape;
            continue;
        }
        if (length == 1 && NeedsEscape(byte)) {
            char escape[12];
            std::snprintf(escape, sizeof escape, "<U+%04X>", byte);
            out += escape;
        } else {
            out.append(text, at, length);
        }
        at += length;
    }
    return out;
}
