#include "ui/TaskbarProgress.h"

#include <shobjidl.h>

TaskbarProgress::TaskbarProgress(HWND window) : window_(window) {
    ITaskbarList3* list = nullptr;
    if (window_ == nullptr ||
        FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(ITaskbarList3), reinterpret_cast<void**>(&list))))
        return;
    if (FAILED(list->HrInit())) {
        list->Release();
        return;
    }
    list_ = list;
}

TaskbarProgress::~TaskbarProgress() {
    if (list_ == nullptr)
        return;
    list_->SetProgressState(window_, TBPF_NOPROGRESS);
    list_->Release();
}

void TaskbarProgress::ShowBusy() {
    if (list_ != nullptr && !busy_)
        list_->SetProgressState(window_, TBPF_INDETERMINATE);
    busy_ = true;
}

void TaskbarProgress::ShowValue(unsigned long long done, unsigned long long planned) {
    if (list_ == nullptr)
        return;
    if (busy_)
        list_->SetProgressState(window_, TBPF_NORMAL);
    busy_ = false;
    // From no progress, a value shows the normal bar by itself.
    list_->SetProgressValue(window_, done, planned);
}
