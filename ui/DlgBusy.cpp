#include "ui/DlgBusy.h"

#include <commctrl.h>

#include "framework/DataExchange.h"
#include "res/resource.h"
#include "ui/ProgressTexts.h"

CDlgBusy::CDlgBusy(CWnd* view, PollPacer pacer)
    : CDialog(IDD_BUSY, view), m_pView(view), m_pacer(pacer) {}

CDlgBusy::~CDlgBusy() = default;

BOOL CDlgBusy::CreateBusy() {
    m_bStopRequested = false;
    m_pacer.Restart();
    m_pFigures = nullptr;
    m_shownCounts.clear();
    m_shownFile.clear();
    m_shownTimes.clear();
    m_shownBar = -1;
    m_startedAt = m_pacer.Now();
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    if (!Create(IDD_BUSY, m_pView))
        return FALSE;
    ::SendDlgItemMessageA(m_hWnd, IDC_PROGRESSBAR, PBM_SETRANGE32, 0, kBarRange);
    // The button of the main window, which owns this one.
    m_taskbar = std::make_unique<TaskbarProgress>(GetAncestor(m_hWnd, GA_ROOTOWNER));
    return TRUE;
}

void CDlgBusy::Destroy() {
    m_pFigures = nullptr;
    m_taskbar.reset();
    EndDialog(0);
    DestroyWindow();
}

void CDlgBusy::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_LINE1, m_strLine1);
    DDX_Text(dx, IDC_LINE2, m_strLine2);
}

void CDlgBusy::Refresh() {
    if (m_hWnd == nullptr)
        return;
    UpdateData(FALSE);
    // The figures move with the lines, so "[i/N]" and the rows done agree.
    UpdateFigures(true);
}

void CDlgBusy::ShowFigures(const ProgressFigures* figures) {
    if (figures == nullptr) {
        UpdateFigures(true);
        m_pFigures = nullptr;
        return;
    }
    m_pFigures = figures;
    if (m_hWnd == nullptr)
        return;
    // A search does not know how much is left to read: no bar then.
    bool measured = figures->kind != ProgressFigures::Kind::EntriesRead;
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_PROGRESSBAR), measured ? SW_SHOWNA : SW_HIDE);
    if (!measured && m_taskbar)
        m_taskbar->ShowBusy();
    UpdateFigures(true);
}

void CDlgBusy::UpdateFigures(bool now) {
    if (m_pFigures == nullptr || m_hWnd == nullptr)
        return;
    ULONGLONG time = m_pacer.Now();
    if (!now && time - m_figuresShownAt < kFiguresIntervalMs)
        return;
    m_figuresShownAt = time;
    const ProgressFigures& figures = *m_pFigures;
    SetControlText(IDC_FIGURES, m_shownCounts, FiguresCountText(figures));
    SetControlText(IDC_CURRENTFILE, m_shownFile, figures.currentFile);
    SetControlText(IDC_TIMES, m_shownTimes, FiguresTimeText(figures, time - m_startedAt));
    if (figures.kind == ProgressFigures::Kind::EntriesRead)
        return;
    int bar = BarPosition(figures);
    if (bar == m_shownBar)
        return;
    m_shownBar = bar;
    ::SendDlgItemMessageA(m_hWnd, IDC_PROGRESSBAR, PBM_SETPOS, bar, 0);
    if (m_taskbar)
        m_taskbar->ShowValue(figures.WorkDone(), figures.WorkPlanned());
}

void CDlgBusy::SetControlText(int id, std::string& shown, const std::string& text) {
    if (text == shown)
        return;
    shown = text;
    ::SetDlgItemTextA(m_hWnd, id, text.c_str());
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
    if (m_pacer.Due()) {
        UpdateFigures(false); // before the pump, which paints them
        PumpMessages();
    }
    return TakeStop();
}

bool CDlgBusy::PollStopNow() {
    UpdateFigures(false);
    PumpMessages();
    m_pacer.Pumped();
    return TakeStop();
}

bool CDlgBusy::TakeStop() {
    bool stop = m_bStopRequested;
    m_bStopRequested = false;
    return stop;
}
