#include "framework/DocTemplate.h"

#include "framework/FrameWnd.h"
#include "framework/WinApp.h"

CSingleDocTemplate::CSingleDocTemplate(unsigned resourceId, DocumentFactory document,
                                       FrameFactory frame, ViewFactory view)
    : resourceId_(resourceId), makeDocument_(std::move(document)), makeFrame_(std::move(frame)),
      makeView_(std::move(view)) {}

CSingleDocTemplate::~CSingleDocTemplate() = default;

CFrameWnd* CSingleDocTemplate::OpenDocumentFile(const char* path) {
    document_ = makeDocument_();
    if (path != nullptr ? !document_->OnOpenDocument(path) : !document_->OnNewDocument()) {
        document_.reset();
        return nullptr;
    }
    view_ = makeView_();
    frame_ = makeFrame_();
    frame_->SetViewToCreate(view_.get());
    if (!frame_->LoadFrame(resourceId_)) {
        AfxMessageBox("メイン ウィンドウを作成できません。", MB_OK | MB_ICONEXCLAMATION);
        frame_.reset();
        view_.reset();
        return nullptr;
    }
    frame_->InitialUpdateFrame();
    return frame_.get();
}
