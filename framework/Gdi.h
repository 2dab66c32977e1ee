#pragma once
// Device contexts and selected GDI objects that release themselves, and the
// screen's resolution.
#include <windows.h>

class ScreenDC {
public:
    ScreenDC() : dc_(GetDC(nullptr)) {}
    ~ScreenDC() { ReleaseDC(nullptr, dc_); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    operator HDC() const { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a device context for one scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Dots per inch of the screen (96 at 100 %).
inline int ScreenDpi() {
    ScreenDC dc;
    int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    return dpi > 0 ? dpi : 96;
}

// A length given in pixels at 96 dots per inch, for this screen.
inline int ScaleForDpi(int pixels96) {
    return MulDiv(pixels96, ScreenDpi(), 96);
}
