#include "framework/ControlBars.h"

#include <memory>

#include "base/ResourceString.h"
#include "framework/Gdi.h"

BEGIN_MESSAGE_MAP(CStatusBar, CWnd)
ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id) {
    return CWnd::CreateEx(0, STATUSCLASSNAMEA, nullptr, style | SBARS_SIZEGRIP, 0, 0, 0, 0,
                          parent->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

int CStatusBar::TextWidth(const std::string& text) const {
    ScreenDC dc;
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    SelectedObject selected(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count) {
    panes_.clear();
    for (int i = 0; i < count; ++i) {
        Pane pane{ids[i], SBPS_NORMAL, 0, std::string()};
        if (ids[i] != ID_SEPARATOR) {
            pane.text = LoadResourceString(ids[i]);
            pane.width = TextWidth(pane.text);
        }
        panes_.push_back(pane);
    }
    UpdateParts();
    for (int i = 0; i < count; ++i)
        SendMessage(SB_SETTEXTA, i, reinterpret_cast<LPARAM>(panes_[i].text.c_str()));
    return TRUE;
}

BOOL CStatusBar::SetPaneText(int index, const char* text, BOOL update) {
    if (index < 0 || index >= GetPaneCount())
        return FALSE;
    panes_[index].text = text;
    SendMessage(SB_SETTEXTA, index, reinterpret_cast<LPARAM>(text));
    if (update)
        Invalidate();
    return TRUE;
}

std::string CStatusBar::GetPaneText(int index) const {
    if (index < 0 || index >= GetPaneCount())
        return std::string();
    return panes_[index].text;
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const {
    const Pane& pane = panes_.at(index);
    id = pane.id;
    style = pane.style;
    width = pane.width;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width) {
    Pane& pane = panes_.at(index);
    pane.id = id;
    pane.style = style;
    pane.width = width;
    UpdateParts();
}

void CStatusBar::UpdateParts() {
    if (m_hWnd == nullptr || panes_.empty())
        return;
    int borders[3] = {};
    SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    int gap = borders[2] > 0 ? borders[2] : 2;
    const int paneMargin = 2 * GetSystemMetrics(SM_CXEDGE) + gap; // drawn around each pane's text
    RECT client = {};
    GetClientRect(&client);
    int fixed = 0;
    for (const Pane& pane : panes_)
        if (!(pane.style & SBPS_STRETCH))
            fixed += pane.width + paneMargin;
    int grip = GetSystemMetrics(SM_CXVSCROLL);
    int stretch = client.right - grip - fixed;
    std::vector<int> rights;
    int x = 0;
    for (const Pane& pane : panes_) {
        x += (pane.style & SBPS_STRETCH) ? (stretch > 0 ? stretch : 0) : pane.width + paneMargin;
        rights.push_back(x);
    }
    rights.back() = -1; // the last pane runs to the edge, under the size grip
    SendMessage(SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
}

void CStatusBar::OnSize(UINT, int, int) {
    Default();
    UpdateParts();
}
