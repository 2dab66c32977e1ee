#pragma once
// Dialogs from resource templates, modal with a message loop of our own (so that
// controls can pre-translate keys before the dialog's keyboard navigation) or
// modeless.
#include "framework/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Shows the dialog modally over the parent (or the active window, or the
    // visible main window) and returns the code EndDialog was given, -1 when it
    // could not be created. A dialog ended or destroyed from outside its loop
    // (another program's EndDialog or WM_CLOSE, its owner closed) returns
    // IDCANCEL, the answer that does nothing.
    virtual INT_PTR DoModal();
    // Creates the dialog modelessly as a child or owned window of the parent.
    BOOL Create(UINT templateId, CWnd* parent);
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    int m_nModalResult = -1;

    DECLARE_MESSAGE_MAP()

private:
    bool m_bEndModal = false;
    bool m_bInModalLoop = false;
};

// Places a top-level window over the middle of `over` (a visible, not minimised
// window), else of the work area of the screen it is on, kept inside that work area.
void AfxCenterWindow(HWND hwnd, HWND over);

// The dialog procedure of every framework dialog and form: binds the object at
// WM_INITDIALOG; from then on the object's window procedure takes the messages.
INT_PTR CALLBACK AfxDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
