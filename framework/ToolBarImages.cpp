#include "framework/ToolBarImages.h"

#include "framework/Gdi.h"

namespace {

struct Bgr {
    BYTE b, g, r;
};

// A 24-bit top-down copy of the bitmap, whatever depth the resource has.
struct Pixels {
    int width = 0;
    int height = 0;
    int stride = 0; // bytes per row, rows padded to four bytes
    BYTE* bits = nullptr;
    Bgr& At(int x, int y) { return *reinterpret_cast<Bgr*>(bits + y * stride + x * 3); }
};

HBITMAP MakeDib(int width, int height, Pixels& pixels) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    pixels.width = width;
    pixels.height = height;
    pixels.stride = (width * 3 + 3) & ~3;
    pixels.bits = static_cast<BYTE*>(bits);
    return dib;
}

bool CopyPixels(HBITMAP source, const Pixels& target) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = target.width;
    info.bmiHeader.biHeight = -target.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    ScreenDC dc;
    int rows = GetDIBits(dc, source, 0, static_cast<UINT>(target.height), target.bits, &info,
                         DIB_RGB_COLORS);
    return rows == target.height;
}

// The disabled look: every picture pixel turned into a light grey of its
// brightness, the background left as it is so that the same colour masks it.
void PaleGrey(Pixels& pixels, Bgr background) {
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            Bgr& p = pixels.At(x, y);
            if (p.b == background.b && p.g == background.g && p.r == background.r)
                continue;
            int luma = (p.r * 30 + p.g * 59 + p.b * 11) / 100;
            BYTE grey = static_cast<BYTE>(128 + luma / 2);
            if (grey == background.r && grey == background.g && grey == background.b)
                ++grey; // must not vanish under the mask
            p = {grey, grey, grey};
        }
    }
}

HIMAGELIST MaskedList(HBITMAP bitmap, int width, int height, int count, COLORREF background) {
    HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, count, 0);
    if (list != nullptr && ImageList_AddMasked(list, bitmap, background) < 0) {
        ImageList_Destroy(list);
        return nullptr;
    }
    return list;
}

} // namespace

void ToolBarImages::Reset() {
    if (normal_ != nullptr)
        ImageList_Destroy(normal_);
    if (disabled_ != nullptr)
        ImageList_Destroy(disabled_);
    normal_ = nullptr;
    disabled_ = nullptr;
}

bool ToolBarImages::Load(HINSTANCE instance, UINT bitmapId, int width, int height, int dpi) {
    Reset();
    OwnedGdiObject<HBITMAP> resource(static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info = {};
    if (resource.Get() == nullptr || !GetObjectA(resource.Get(), sizeof info, &info) ||
        width <= 0 || height <= 0 || info.bmWidth < width)
        return false;
    Pixels source;
    OwnedGdiObject<HBITMAP> copy(MakeDib(info.bmWidth, info.bmHeight, source));
    if (copy.Get() == nullptr || !CopyPixels(resource.Get(), source))
        return false;
    const int count = info.bmWidth / width;
    width_ = MulDiv(width, dpi, 96);
    height_ = MulDiv(height, dpi, 96);
    // Each picture grows by repeating pixels: blending would blur the mask's edge.
    Pixels normalPixels;
    Pixels disabledPixels;
    OwnedGdiObject<HBITMAP> normal(MakeDib(width_ * count, height_, normalPixels));
    OwnedGdiObject<HBITMAP> disabled(MakeDib(width_ * count, height_, disabledPixels));
    if (normal.Get() == nullptr || disabled.Get() == nullptr)
        return false;
    for (int y = 0; y < height_; ++y) {
        const int sy = y * height / height_;
        for (int x = 0; x < width_ * count; ++x) {
            const int sx = (x / width_) * width + (x % width_) * width / width_;
            normalPixels.At(x, y) = source.At(sx, sy);
            disabledPixels.At(x, y) = source.At(sx, sy);
        }
    }
    const Bgr background = source.At(0, 0);
    const COLORREF mask = RGB(background.r, background.g, background.b);
    PaleGrey(disabledPixels, background);
    GdiFlush(); // the pixels were written behind GDI's back
    normal_ = MaskedList(normal.Get(), width_, height_, count, mask);
    disabled_ = MaskedList(disabled.Get(), width_, height_, count, mask);
    if (normal_ == nullptr || disabled_ == nullptr) {
        Reset();
        return false;
    }
    return true;
}
