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

    // Cuts the bitmap into images of width by height pixels.
    bool Load(HINSTANCE instance, UINT bitmapId, int width, int height);
    HIMAGELIST Normal() const { return normal_; }
    HIMAGELIST Disabled() const { return disabled_; }
    void Reset();

private:
    HIMAGELIST normal_ = nullptr;
    HIMAGELIST disabled_ = nullptr;
};
