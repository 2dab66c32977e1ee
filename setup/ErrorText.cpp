#include "setup/ErrorText.h"

std::string ErrorText(LONG status) {
    char text[512] = {};
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(status), 0, text, sizeof text, nullptr);
    std::string reason(text, length);
    // Line ends and blanks are single bytes that no second byte of Shift-JIS takes.
    while (!reason.empty() &&
           (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' '))
        reason.pop_back();
    return reason.empty() ? "エラー コード " + std::to_string(status) : reason;
}
