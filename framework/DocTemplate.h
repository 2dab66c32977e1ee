#pragma once
// Ties the one document, its frame and its view together, as a single-document
// program has them.
#include <functional>
#include <memory>

class CDocument;
class CFrameWnd;
class CView;

class CSingleDocTemplate {
public:
    using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
    using FrameFactory = std::function<std::unique_ptr<CFrameWnd>()>;
    using ViewFactory = std::function<std::unique_ptr<CView>()>;

    CSingleDocTemplate(unsigned resourceId, DocumentFactory document, FrameFactory frame,
                       ViewFactory view);
    ~CSingleDocTemplate();

    // Checks the file (when one is named), then creates document, frame and view
    // and runs the view's initial update; the frame is not shown. nullptr on failure.
    CFrameWnd* OpenDocumentFile(const char* path);

private:
    unsigned resourceId_;
    DocumentFactory makeDocument_;
    FrameFactory makeFrame_;
    ViewFactory makeView_;
    std::unique_ptr<CDocument> document_;
    std::unique_ptr<CView> view_;
    std::unique_ptr<CFrameWnd> frame_;
};
