#include "engine/SystemText.h"

namespace {

// The buffer FormatMessageA allocates belongs to us until LocalFree.
class LocalBuffer {
public:
    LocalBuffer() = default;
    ~LocalBuffer() {
        if (text_)
            LocalFree(text_);
    }
    LocalBuffer(const LocalBuffer&) = delete;
    LocalBuffer& operator=(const LocalBuffer&) = delete;

    char** Receiver() { return &text_; }
    const char* Text() const { return text_; }

private:
    char* text_ = nullptr;
};

} // namespace

std::string LastErrorText(DWORD errorCode) {
    if (errorCode == 0)
        return std::string();
    LocalBuffer buffer;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, errorCode, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<char*>(buffer.Receiver()), 0, nullptr);
    if (length == 0 || buffer.Text() == nullptr)
        return std::string();
    return std::string(buffer.Text(), length);
}

std::string LastErrorText() {
    return LastErrorText(GetLastError());
}
