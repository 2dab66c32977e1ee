#pragma once
// CWnd: a C++ object bound to one window. Messages reach the object through one
// window procedure, which finds it in the window's user data (GWLP_USERDATA, set
// when the object creates or subclasses the window) and looks the message up in
// the object's message table; unhandled messages go to the procedure the window
// had before (DefWindowProc for the framework's own windows).
#include <string>

#include "framework/CmdTarget.h"

class CDataExchange;

class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    operator HWND() const { return m_hWnd; }
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Creates a window of a class registered by the framework (the class name may
    // be nullptr) or of a system class, which is then subclassed.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                  int y, int cx, int cy, HWND parent, HMENU menuOrId, void* param = nullptr);
    BOOL SubclassWindow(HWND hwnd);

    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default processing of the message being handled.
    LRESULT Default();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A notification of this control, offered to it before its parent.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void PostNcDestroy() {}
    virtual void DoDataExchange(CDataExchange*) {}
    // Controls to members (save) or members to controls.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Thin wrappers named as the platform names them.
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
    std::string GetWindowText() const;
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL ShowWindow(int show) { return ::ShowWindow(m_hWnd, show); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    virtual BOOL DestroyWindow();
    void MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, cx, cy, repaint);
    }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    // Switching drawing back on also repaints what changed meanwhile.
    void SetRedraw(BOOL redraw) {
        SendMessage(WM_SETREDRAW, redraw, 0);
        if (redraw)
            ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    void SetDlgItemText(int id, const std::string& text) {
        ::SetDlgItemTextA(m_hWnd, id, text.c_str());
    }

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;

    // Calls the handler of one message-table entry; returns what it produced.
    LRESULT RunEntry(const AFX_MSGMAP_ENTRY& entry, UINT message, WPARAM wParam, LPARAM lParam,
                     void* extra);
    // Runs the message-table entry for a window message; false when there is none.
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    WNDPROC m_pfnSuper = nullptr;
    bool m_bOwnsWindow = false; // created by this object, destroyed with it

private:
    void Attach(HWND hwnd);
    void OnNcDestroyed();

    UINT m_curMessage = 0;
    WPARAM m_curWParam = 0;
    LPARAM m_curLParam = 0;

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
};

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The window class of frames and other windows the framework creates itself.
const char* AfxFrameClassName();
HINSTANCE AfxGetInstanceHandle();
// The application's name, the caption of its message boxes.
const char* AfxGetAppName();

// Offers a message to the wrapped windows from its target up to `stop`, each one's
// PreTranslateMessage in turn, as the message loops do before dispatching.
BOOL AfxPreTranslateTree(HWND stop, MSG* msg);
