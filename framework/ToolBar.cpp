#include "framework/ControlBars.h"

#include <vector>

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

} // namespace

BOOL CToolBar::CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, UINT id) {
    m_dwStyle = style & CBRS_ALL;
    // The frame places and sizes the bar; the control does not align itself.
    const DWORD windowStyle =
        (style & ~CBRS_ALL) | controlStyle | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEA, nullptr, windowStyle, 0, 0, 0, 0, parent->m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id))))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    // Commands and notifications go to the frame also while the bar floats.
    SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(parent->m_hWnd));
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

    const int dpi = ScreenDpi();
    // Whole steps only, from 150 % up: a 16-pixel picture repeated to 24 looks ragged.
    const int scale = dpi > 96 ? (dpi + 48) / 96 : 1;
    if (!images_.Load(instance, resourceId, data->width, data->height, scale * 96))
        return FALSE;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(images_.Width(), images_.Height()));
    SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Normal()));
    SendMessage(TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Disabled()));

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
    SetOrientation(IsHorizontal());
    return TRUE;
}

UINT CToolBar::GetItemID(int index) const {
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
    return static_cast<UINT>(button.idCommand);
}

void CToolBar::SetOrientation(bool horizontal) {
    // Down the side, every button ends a row of its own.
    for (int index = 0; index < GetCount(); ++index) {
        TBBUTTON button = {};
        SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
        BYTE state = horizontal ? static_cast<BYTE>(button.fsState & ~TBSTATE_WRAP)
                                : static_cast<BYTE>(button.fsState | TBSTATE_WRAP);
        if (state == button.fsState)
            continue;
        TBBUTTONINFOA info = {};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_STATE | TBIF_BYINDEX;
        info.fsState = state;
        SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info));
    }
    SendMessage(TB_AUTOSIZE);
}

SIZE CToolBar::ContentSize() const {
    SIZE size = {0, 0};
    for (int index = 0; index < GetCount(); ++index) {
        RECT item = {};
        if (SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item))) {
            size.cx = item.right > size.cx ? item.right : size.cx;
            size.cy = item.bottom > size.cy ? item.bottom : size.cy;
        }
    }
    return size;
}
