#include "Mutations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// A duplicated chunk grows the input by at most this much: long enough for
// inputs far beyond anything real, short enough for thousands of variants.
constexpr size_t kMostGrowth = 64 * 1024;

bool IsShiftJisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsSignificant(unsigned char byte) {
    switch (byte) {
    case '\0':
    case '\r':
    case '\n':
    case '=':
    case '[':
    case ']':
    case '"':
    case '\'':
    case '\\':
    case ',':
    case '.':
    case ' ':
    case '\t':
        return true;
    default:
        return false;
    }
}

std::string Hex(const std::string& bytes) {
    std::string text;
    for (unsigned char byte : bytes) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%s%02X", text.empty() ? "" : " ", byte);
        text += pair;
    }
    return text;
}

} // namespace

const std::vector<std::string>& SignificantPieces() {
    static const std::vector<std::string> pieces = {
        std::string(1, '\0'),
        "\r",
        "\n",
        "\r\n",
        "=",
        "[",
        "]",
        "\"",
        "'",
        "\\",
        ",",
        ".",
        " ",
        "\t",
        "\x81",
        "\x81\x40", // the full-width blank
        "\x81\x5C",
        "\x9F\x5C",
        "\xE0\x5C",
        "\xFC\x5C",
        "\x83\x5C", // ソ
        "\x95\x5C", // 表
        "\xEF\xBB\xBF",
        "\xFF\xFE",
        "\xFE\xFF",
    };
    return pieces;
}

Mutations::Mutations(std::string valid, std::uint64_t seed, std::vector<std::string> pieces)
    : valid_(std::move(valid)), state_(seed), pieces_(std::move(pieces)) {}

// splitmix64: tiny, fast, and the same sequence on every platform.
std::uint64_t Mutations::Random() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

size_t Mutations::Below(size_t bound) {
    return bound == 0 ? 0 : static_cast<size_t>(Random() % bound);
}

// A place in the text (0 up to its size): half the time anywhere, half the time
// next to a byte that means something to a reader or just after a lead byte,
// inside a double-byte character.
size_t Mutations::Point(const std::string& text) {
    size_t start = Below(text.size() + 1);
    if (Below(2) == 0)
        return start;
    for (size_t step = 0; step <= text.size(); ++step) {
        size_t at = (start + step) % (text.size() + 1);
        if (at == 0 || at == text.size())
            return at;
        unsigned char before = static_cast<unsigned char>(text[at - 1]);
        unsigned char after = static_cast<unsigned char>(text[at]);
        if (IsSignificant(before) || IsSignificant(after) || IsShiftJisLead(before))
            return at;
    }
    return start;
}

const std::string& Mutations::Piece() {
    return pieces_[Below(pieces_.size())];
}

std::string Mutations::Edit(std::string text, std::string& how) {
    char note[96];
    size_t kind = Below(8);
    if (text.empty() && kind != 2 && kind != 4)
        kind = 4; // nothing to cut, flip, delete, duplicate or swap
    switch (kind) {
    case 0: {
        size_t at = Point(text);
        text.resize(at);
        std::snprintf(note, sizeof note, "cut at %zu", at);
        break;
    }
    case 1: {
        size_t at = Below(text.size());
        unsigned bit = static_cast<unsigned>(Below(8));
        text[at] = static_cast<char>(text[at] ^ (1u << bit));
        std::snprintf(note, sizeof note, "flip bit %u at %zu", bit, at);
        break;
    }
    case 2: {
        std::string bytes(1 + Below(8), '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(Below(256));
        size_t at = Point(text);
        text.insert(at, bytes);
        std::snprintf(note, sizeof note, "insert %s at %zu", Hex(bytes).substr(0, 60).c_str(), at);
        break;
    }
    case 3: {
        size_t at = Below(text.size());
        size_t length = 1 + Below(std::min<size_t>(16, text.size() - at));
        if (Below(4) == 0) { // the rest of the line, its break included
            size_t end = text.find('\n', at);
            length = (end == std::string::npos ? text.size() : end + 1) - at;
        }
        text.erase(at, length);
        std::snprintf(note, sizeof note, "delete %zu at %zu", length, at);
        break;
    }
    case 4:
    case 5: {
        const std::string& piece = Piece();
        size_t at = Point(text);
        if (kind == 4)
            text.insert(at, piece);
        else
            text.replace(at, std::min(piece.size(), text.size() - at), piece);
        std::snprintf(note, sizeof note, "%s %s at %zu", kind == 4 ? "insert" : "write",
                      Hex(piece).c_str(), at);
        break;
    }
    case 6: {
        size_t from = Below(text.size());
        size_t length = 1 + Below(std::min<size_t>(32, text.size() - from));
        size_t times = Below(8) == 0 ? 1 + Below(kMostGrowth / length) : 1;
        std::string chunk = text.substr(from, length);
        std::string copies;
        copies.reserve(length * times);
        for (size_t i = 0; i < times; ++i)
            copies += chunk;
        size_t at = Point(text);
        text.insert(at, copies);
        std::snprintf(note, sizeof note, "copy %zu at %zu %zu times to %zu", length, from, times,
                      at);
        break;
    }
    default: {
        // Two chunks side by side or apart, each of 1 to 32 bytes.
        size_t first = Below(text.size());
        size_t firstLength = 1 + Below(std::min<size_t>(32, text.size() - first));
        size_t rest = text.size() - first - firstLength;
        size_t second = first + firstLength + Below(rest + 1);
        size_t secondLength = std::min<size_t>(1 + Below(32), text.size() - second);
        std::string a = text.substr(first, firstLength);
        std::string b = text.substr(second, secondLength);
        text = text.substr(0, first) + b +
               text.substr(first + firstLength, second - first - firstLength) + a +
               text.substr(second + secondLength);
        std::snprintf(note, sizeof note, "swap %zu at %zu with %zu at %zu", firstLength, first,
                      secondLength, second);
        break;
    }
    }
    how += (how.empty() ? "" : "; ") + std::string(note);
    return text;
}

std::string Mutations::Next(std::string* how) {
    std::string edits;
    std::string text;
    if (Below(16) == 0) {
        size_t length = Below(2 * valid_.size() + 64);
        while (text.size() < length)
            text += Below(2) == 0 ? std::string(1, static_cast<char>(Below(256))) : Piece();
        edits = "random " + std::to_string(text.size()) + " bytes";
    } else {
        text = valid_;
        for (size_t count = 1 + Below(3); count > 0; --count)
            text = Edit(std::move(text), edits);
    }
    if (how)
        *how = edits;
    return text;
}

void ForEachCut(const std::string& valid,
                const std::function<void(const std::string& variant)>& check) {
    for (size_t length = 0; length < valid.size(); ++length) {
        std::string variant = valid.substr(0, length);
        SCOPED_TRACE(testing::Message()
                     << "the valid input cut at " << length << ": " << PrintableBytes(variant));
        check(variant);
        if (testing::Test::HasFailure())
            return;
    }
}

void ForEachVariant(const std::string& valid, std::uint64_t seed, int count,
                    const std::function<void(const std::string& variant)>& check,
                    const std::vector<std::string>& pieces) {
    if (const char* given = std::getenv("ORVANE_SEED"))
        seed = std::strtoull(given, nullptr, 10);
    Mutations mutations(valid, seed, pieces);
    for (int number = 0; number < count; ++number) {
        std::string how;
        std::string variant = mutations.Next(&how);
        SCOPED_TRACE(testing::Message()
                     << "seed " << seed << ", variant " << number << " (" << how << "), "
                     << variant.size() << " bytes: " << PrintableBytes(variant));
        check(variant);
        if (testing::Test::HasFailure())
            return;
    }
}

std::string PrintableBytes(const std::string& bytes, size_t limit) {
    std::string text;
    for (size_t i = 0; i < bytes.size() && i < limit; ++i) {
        unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            text += static_cast<char>(byte);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            text += escape;
        }
    }
    return bytes.size() > limit ? text + "..." : text;
}
