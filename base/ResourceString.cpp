#include "base/ResourceString.h"

std::string LoadResourceString(UINT id) {
    char buffer[512] = {};
    int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}
