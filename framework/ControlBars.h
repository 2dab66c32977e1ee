#pragma once
// The frame's toolbar and status bar.
#include <string>
#include <vector>

#include "framework/Controls.h"

constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_STRETCH = 0x08000000; // takes all width the other panes leave
constexpr UINT ID_SEPARATOR = 0;

class CToolBar : public CWnd {
public:
    BOOL CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, UINT id);
    // Buttons from a toolbar resource (button size and command identifiers, 0
    // for a separator) and its bitmap of the same identifier.
    BOOL LoadToolBar(UINT resourceId);
    int GetCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
    UINT GetItemID(int index) const;
};

class CStatusBar : public CWnd {
public:
    BOOL Create(CWnd* parent, DWORD style, UINT id);
    // One pane per identifier: ID_SEPARATOR gives an empty pane, any other
    // identifier a pane showing that string resource, as wide as the text.
    BOOL SetIndicators(const UINT* ids, int count);
    BOOL SetPaneText(int index, const char* text, BOOL update = TRUE);
    std::string GetPaneText(int index) const;
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    int GetPaneCount() const { return static_cast<int>(panes_.size()); }
    // Width in pixels of a text in the status bar's font.
    int TextWidth(const std::string& text) const;
    // Lays the panes out over the current width.
    void UpdateParts();

protected:
    DECLARE_MESSAGE_MAP()
    void OnSize(UINT type, int cx, int cy);

private:
    struct Pane {
        UINT id;
        UINT style;
        int width;
        std::string text;
    };
    std::vector<Pane> panes_;
};
