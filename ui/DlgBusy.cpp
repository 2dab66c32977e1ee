#include "ui/DlgBusy.h"

#include "framework/DataExchange.h"
#include "res/resource.h"

CDlgBusy::CDlgBusy(CWnd* view, PollPacer pacer)
    : CDialog(IDD_BUSY, view), m_pView(view), m_pacer(pacer) {}

BOOL CDlgBusy::CreateBusy() {
    m_bStopRequested = false;
    m_pacer.Restart();
    return Create(IDD_BUSY, m_pView);
}

void CDlgBusy::Destroy() {
    EndDialog(0);
    DestroyWindow();
}

void CDlgBusy::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_LINE1, m_strLine1);
    DDX_Text(dx, IDC_LINE2, m_strLine2);
}

void CDlgBusy::Refresh() {
    if (m_hWnd != nullptr)
        UpdateData(FALSE);
}

void CDlgBusy::OnCancel() {
    m_bStopRequested = true;
    EndDialog(IDCANCEL);
}

void CDlgBusy::PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (m_hWnd != nullptr && IsDialogMessageA(m_hWnd, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool CDlgBusy::PollStop() {
    if (m_pacer.Due())
        PumpMessages();
    return TakeStop();
}

bool CDlgBusy::PollStopNow() {
    PumpMessages();
    m_pacer.Pumped();
    return TakeStop();
}

bool CDlgBusy::TakeStop() {
    bool stop = m_bStopRequested;
    m_bStopRequested = false;
    return stop;
}
