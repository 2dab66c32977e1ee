#pragma once
// Characters of the ANSI code page (Shift-JIS here): a lead byte and the byte
// after it are one character, and that second byte may be 0x5C (a backslash),
// 0x7C (a bar) or another ASCII byte. Every scan for a separator, dot, comma or
// blank steps over whole characters with this table.
#include <string_view>

class LeadBytes {
public:
    // The ANSI code page's lead bytes, asked of the system once: a large list
    // would otherwise ask about every byte of every path.
    static const LeadBytes& Ansi();

    bool IsLead(unsigned char byte) const { return lead_[byte]; }
    bool IsLead(char byte) const { return lead_[static_cast<unsigned char>(byte)]; }
    // The length of the character at `at`: 2 for a lead byte with its second
    // byte, 1 otherwise (a lead byte at the very end stands alone).
    size_t CharLength(std::string_view text, size_t at) const {
        return IsLead(text[at]) && at + 1 < text.size() ? 2 : 1;
    }

private:
    LeadBytes();
    bool lead_[256] = {};
};
