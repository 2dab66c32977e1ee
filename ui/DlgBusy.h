#pragma once
// The modeless progress window of long operations: two lines of text and a stop
// button. The operation creates it, updates and polls it between units of work,
// and destroys it at the end; the object lives on for the next operation.
#include <string>

#include "engine/EngineCallbacks.h"
#include "framework/Dialog.h"
#include "ui/PollPacer.h"

class CDlgBusy : public CDialog, public IProgress {
public:
    explicit CDlgBusy(CWnd* view, PollPacer pacer = PollPacer());

    std::string m_strLine1;
    std::string m_strLine2;
    bool m_bStopRequested = false;

    // Creates the window over the view; the lines set before show at once. A stop
    // left over from the last operation is forgotten.
    BOOL CreateBusy();
    // Ends the dialog with result 0 and destroys its window.
    void Destroy();

    // Dispatches every pending message of the thread, keys for this window first
    // through its dialog navigation.
    void PumpMessages();
    // Pumps when the pacer says a pump is due, then reports a stop request once
    // and forgets it. Between pumps a click waits in the queue.
    bool PollStop() override;
    // Pumps at once, then reports a stop request once and forgets it.
    bool PollStopNow() override;

    void SetLine1(const std::string& text) override { m_strLine1 = text; }
    void SetLine2(const std::string& text) override { m_strLine2 = text; }
    // Moves the lines into the window.
    void Refresh() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override {}
    // "中止" and Escape: remember the stop and hide at once.
    void OnCancel() override;

private:
    bool TakeStop();

    CWnd* m_pView;
    PollPacer m_pacer;
};
