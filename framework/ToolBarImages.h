#pragma once
// A toolbar's pictures from its bitmap resource: the bitmap with its background
// colour (the colour of its top left pixel) masked out, so buttons sit on the
// button face, and a pale grey copy with the same mask for disabled buttons.
#include <windows.h>

#include <commctrl.h>

class ToolBarImages {
public:
    ToolBarImages() = default;
    ~ToolBarImages() { Reset(); }
    ToolBarImages(const ToolBarImages&) = delete;
    ToolBarImages& operator=(const ToolBarImages&) = delete;

    // Cuts the bitmap into images of width by height pixels, each enlarged for
    // a screen of that many dots per inch (96 keeps the bitmap's size).
    bool Load(HINSTANCE instance, UINT bitmapId, int width, int height, int dpi);
    int Width() const { return width_; }
    int Height() const { return height_; }
    HIMAGELIST Normal() const { return normal_; }
    HIMAGELIST Disabled() const { return disabled_; }
    void Reset();

private:
    HIMAGELIST normal_ = nullptr;
    HIMAGELIST disabled_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};
