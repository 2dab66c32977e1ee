#include "ui/SystemPath.h"

#include "base/TextEscape.h"
#include "base/AnsiText.h"

std::string UnusablePathMessage(const std::string& written) {
    return std::string(kUnusablePathText) + "\r\n" + EscapeForText(written);
}

bool TakeSystemPath(HWND owner, const std::wstring& wide, std::string& path) {
    std::string ansi;
    if (ToExactAnsi(wide, ansi)) {
        path = ansi;
        return true;
    }
    ::MessageBoxA(owner, UnusablePathMessage(ansi).c_str(), "Orvane", MB_ICONEXCLAMATION | MB_OK);
    return false;
}
