#pragma once
// FNV-1a, 64 bits: a quick check over bytes against accidents (a torn write, a
// stray change), and a short fixed-length name for a long text. Anybody can
// compute it: it proves nothing about who wrote the bytes.
#include <cstdint>
#include <string_view>

inline std::uint64_t Fnv1a(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}
