#pragma once
// Document and views: the document holds the data (ours holds none), a view
// shows it in the frame's client area.
#include <string>

#include "framework/Dialog.h"

class CDocument : public CCmdTarget {
public:
    virtual BOOL OnNewDocument() { return TRUE; }
    // Opens the file for reading to check it can be read; what a document then
    // reads from it is its own business.
    virtual BOOL OnOpenDocument(const char* path);
};

class CView : public CWnd {
public:
    virtual void OnInitialUpdate() {}
    // Creates the view's window as the frame's client.
    virtual BOOL Create(CWnd* parent, UINT id) = 0;
};

// A view laid out by a dialog template: child style, controls from the template.
class CFormView : public CView {
public:
    explicit CFormView(UINT templateId) : m_nIDTemplate(templateId) {}
    BOOL Create(CWnd* parent, UINT id) override;
    void OnInitialUpdate() override { UpdateData(FALSE); }
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    DECLARE_MESSAGE_MAP()
    void OnSize(UINT type, int cx, int cy);
    // A form passes the focus to its first control that takes it.
    void OnSetFocus(HWND previous);

    UINT m_nIDTemplate;
};
