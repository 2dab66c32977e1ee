#pragma once
// Property tests for the readers of outside input (files that other programs,
// editors and torn writes leave behind, command lines): variants of one valid
// input, made from a seed, so that a failure happens again on every run.
//
//     auto check = [&](const std::string& variant) {
//         ... read the variant, EXPECT_... what must hold for any input ...
//     };
//     ForEachCut(validBytes, check);
//     ForEachVariant(validBytes, 20240611, 2000, check);
//
// A variant is the valid input cut short, or the valid input after one to three
// edits: a bit flipped, bytes inserted or deleted, a cut at a line break, inside
// a double-byte character or anywhere, a piece that means something to the
// format inserted or written over the bytes there, a chunk duplicated (now and
// then thousands of times, for very long inputs) or two chunks swapped; or,
// once in a while, random bytes and pieces with nothing of the valid input.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Pieces that mean something to the program's readers: NUL, CR, LF, CR LF, '=',
// '[', ']', '"', '\'', '\\', ',', '.', blank, tab and the full-width blank,
// Shift-JIS lead bytes (0x81, 0x9F, 0xE0, 0xFC) alone and with 0x5C (a
// backslash) as their second byte, ソ and 表, and the byte-order marks EF BB BF,
// FF FE and FE FF.
const std::vector<std::string>& SignificantPieces();

class Mutations {
public:
    // The same arguments give the same variants in the same order.
    Mutations(std::string valid, std::uint64_t seed,
              std::vector<std::string> pieces = SignificantPieces());

    // The next variant; `how`, when given, receives the edits that made it
    // ("flip bit 3 at 40; insert 81 5C at 12"), for a failure message.
    std::string Next(std::string* how = nullptr);

private:
    std::uint64_t Random();
    size_t Below(size_t bound); // 0 when bound is 0
    size_t Point(const std::string& text);
    const std::string& Piece();
    std::string Edit(std::string text, std::string& how);

    std::string valid_;
    std::uint64_t state_;
    std::vector<std::string> pieces_;
};

// Calls `check` with the valid input cut at every length from 0 up.
void ForEachCut(const std::string& valid,
                const std::function<void(const std::string& variant)>& check);

// Calls `check` with `count` variants from Mutations. The seed is `seed` unless
// the environment variable ORVANE_SEED gives another (to look further than the
// fixed one).
void ForEachVariant(const std::string& valid, std::uint64_t seed, int count,
                    const std::function<void(const std::string& variant)>& check,
                    const std::vector<std::string>& pieces = SignificantPieces());

// Both trace a failure with how the variant was made (the seed and its number,
// or the cut) and its first bytes, and stop there: one fault, one report.

// The bytes as text for a message: printable ASCII as it is, others as \xHH;
// at most `limit` bytes, "..." after a longer text.
std::string PrintableBytes(const std::string& bytes, size_t limit = 160);
