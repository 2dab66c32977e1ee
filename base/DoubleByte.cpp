#include "base/DoubleByte.h"

#include <windows.h>

LeadBytes::LeadBytes() {
    for (int byte = 0; byte < 256; ++byte)
        lead_[byte] = IsDBCSLeadByte(static_cast<BYTE>(byte)) != 0;
}

const LeadBytes& LeadBytes::Ansi() {
    static const LeadBytes table;
    return table;
}
