#pragma once
// Names in the texts the program writes out (the operation log, the standard
// error, messages): a name from another system may hold control characters, and
// a line break inside a name would start a line of its own that reads like one
// of the program's. Each control character (0x01 to 0x1F, 0x7F) and the '<'
// itself is written as <U+XXXX> (four upper-case hex digits). Windows forbids
// '<' in names, so no real name reads as an escape, and escaping '<' keeps the
// form unambiguous for the names from elsewhere. A character the ANSI code page
// cannot hold exactly is written in the same form (see NameText.h): names hold
// it so already, and such an escape is kept as it is.
#include <string>
#include <string_view>

// The text with every control character and '<' in the escape form, double-byte
// characters stepped over whole.
std::string EscapeForText(std::string_view text);
