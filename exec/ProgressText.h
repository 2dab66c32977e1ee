#pragma once
// The second progress line of the executor and the batch writer: "[i/N]", the
// index counted from 0.
#include <cstdio>
#include <string>

inline std::string RowCountText(int index, int count) {
    char text[32];
    std::snprintf(text, sizeof text, "[%d/%d]", index, count);
    return text;
}
