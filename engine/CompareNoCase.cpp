#include "engine/CompareNoCase.h"

#include <cstdint>
#include <cstring>

namespace {

// One text made of up to two parts, consumed from the front.
struct Parts {
    const unsigned char* at;
    const unsigned char* end;
    std::string_view following;

    Parts(std::string_view first, std::string_view second)
        : at(reinterpret_cast<const unsigned char*>(first.data())), end(at + first.size()),
          following(second) {}

    // False once both parts are used up.
    bool HasBytes() {
        if (at == end && !following.empty()) {
            at = reinterpret_cast<const unsigned char*>(following.data());
            end = at + following.size();
            following = std::string_view();
        }
        return at != end;
    }
};

} // namespace

int CompareNoCase(const char* a, const char* b) {
    const unsigned char* left = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* right = reinterpret_cast<const unsigned char*>(b);
    for (;; ++left, ++right) {
        int difference = FoldAsciiCase(*left) - FoldAsciiCase(*right);
        if (difference != 0 || *left == 0)
            return difference;
    }
}

int CompareNoCase(std::string_view a, std::string_view b) {
    return CompareNoCaseJoined(a, std::string_view(), b, std::string_view());
}

int CompareNoCaseJoined(std::string_view aFirst, std::string_view aSecond, std::string_view bFirst,
                        std::string_view bSecond) {
    Parts a(aFirst, aSecond);
    Parts b(bFirst, bSecond);
    while (a.HasBytes() && b.HasBytes()) {
        size_t run = std::min<size_t>(a.end - a.at, b.end - b.at);
        size_t i = 0;
        while (i < run) {
            // Equal raw bytes are equal folded: skip common stretches eight at a time.
            if (i + 8 <= run) {
                uint64_t left, right;
                std::memcpy(&left, a.at + i, 8);
                std::memcpy(&right, b.at + i, 8);
                if (left == right) {
                    i += 8;
                    continue;
                }
            }
            int difference = FoldAsciiCase(a.at[i]) - FoldAsciiCase(b.at[i]);
            if (difference != 0)
                return difference;
            ++i;
        }
        a.at += run;
        b.at += run;
    }
    // An ended text counts as a zero byte against the other's next byte.
    int left = a.HasBytes() ? FoldAsciiCase(*a.at) : 0;
    int right = b.HasBytes() ? FoldAsciiCase(*b.at) : 0;
    return left - right;
}
