#pragma once
// Device contexts and selected GDI objects that release themselves, and the
// screen's resolution.
#include <windows.h>

// A device context of a window, released with it: its client area by default,
// or one got otherwise (GetWindowDC, GetDCEx) and handed in.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDC(HWND window, HDC dc) : window_(window), dc_(dc) {}
    ~WindowDC() {
        if (dc_ != nullptr)
            ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    operator HDC() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The whole screen's device context.
class ScreenDC : public WindowDC {
public:
    ScreenDC() : WindowDC(nullptr) {}
};

// A GDI object (bitmap, brush, font) deleted with its owner.
template <typename Handle> class OwnedGdiObject {
public:
    explicit OwnedGdiObject(Handle object) : object_(object) {}
    ~OwnedGdiObject() {
        if (object_ != nullptr)
            DeleteObject(object_);
    }
    OwnedGdiObject(const OwnedGdiObject&) = delete;
    OwnedGdiObject& operator=(const OwnedGdiObject&) = delete;
    Handle Get() const { return object_; }

private:
    Handle object_;
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
