#include "engine/SystemText.h"

#include "base/Owned.h"

namespace {

// The buffer FormatMessageA allocates belongs to us until LocalFree.
using LocalBuffer = Owned<char*, &LocalFree>;

} // namespace

std::string LastErrorText(DWORD errorCode) {
    if (errorCode == 0)
        return std::string();
    LocalBuffer buffer;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, errorCode, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<char*>(buffer.Receiver()), 0, nullptr);
    if (length == 0 || buffer.Get() == nullptr)
        return std::string();
    return std::string(buffer.Get(), length);
}

std::string LastErrorText() {
    return LastErrorText(GetLastError());
}
