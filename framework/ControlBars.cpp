#include "framework/ControlBars.h"

#include <memory>

#include "framework/Gdi.h"

namespace {

// The toolbar resource: version 1, button width and height, count, identifiers.
struct ToolBarData {
    WORD version;
    WORD width;
    WORD height;
    WORD count;
    WORD ids[1];
};

std::string LoadResourceString(UINT id) {
    char buffer[512] = {};
    int length = LoadStringA(AfxGetInstanceHandle(), id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

} // namespace

BOOL CToolBar::CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, UINT id) {
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEA, nullptr,
                        style | controlStyle | CCS_TOP | CCS_NODIVIDER, 0, 0, 0, 0, parent->m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id))))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT resourceId) {
    HINSTANCE instance = AfxGetInstanceHandle();
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(241));
    if (found == nullptr)
        return FALSE;
    auto* data = static_cast<const ToolBarData*>(LockResource(LoadResource(instance, found)));
    if (data == nullptr || data->version != 1)
        return FALSE;

    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(data->width, data->height));
    int images = 0;
    for (WORD i = 0; i < data->count; ++i)
        images += data->ids[i] != 0 ? 1 : 0;
    TBADDBITMAP bitmap = {instance, resourceId};
    if (SendMessage(TB_ADDBITMAP, images, reinterpret_cast<LPARAM>(&bitmap)) < 0)
        return FALSE;

    std::vector<TBBUTTON> buttons(data->count);
    int image = 0;
    for (WORD i = 0; i < data->count; ++i) {
        TBBUTTON& button = buttons[i];
        button = TBBUTTON{};
        button.idCommand = data->ids[i];
        if (data->ids[i] == 0) {
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = image++;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        }
    }
    SendMessage(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessage(TB_AUTOSIZE);
    return TRUE;
}

UINT CToolBar::GetItemID(int index) const {
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
    return static_cast<UINT>(button.idCommand);
}

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
