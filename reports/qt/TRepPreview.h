#pragma once
#include <QScrollArea>
#include <functional>

#include "PageImage.h"
#include "PrinterObserver.h"
#include "TRepPrinter.h"

// The preview's page view: one page of a destination at a time, scaled by
// a zoom in percent, scrolling when larger than the view. It observes the
// destination; the destination's notifications arrive as posted messages
// and are handed to OnPageAvailable and OnProgressUpdate.
class TRepPreview : public QScrollArea, public PrinterObserver {
    Q_OBJECT
public:
    enum class ZoomState { Fit, Width, Other };

    explicit TRepPreview(QWidget* parent = nullptr);
    ~TRepPreview() override;

    // Shows the destination (does not take ownership): observes it, marks it
    // as showing a preview and selects page 1.
    void setDestination(TRepPrinter* destination);
    // Stops observing; nothing of the destination is touched afterwards.
    void detach();
    TRepPrinter* destination() const { return destination_; }

    int PageNumber() const { return pageNumber_; }
    // Ignored for 0 or less, beyond the destination's page count, or the
    // current page while it is shown. Otherwise fetches and shows the page
    // (empty while it is not finished) and scrolls to the top left.
    void setPageNumber(int n);
    // Fetches the current page again, shown or not.
    void showPage();

    int Zoom() const { return zoom_; }
    // 2 to 2000 percent, others ignored; the mode becomes other.
    void setZoom(int zoom);
    ZoomState zoomState() const { return zoomState_; }
    void ZoomToFit();
    void ZoomToWidth();

    PageImage* pageImage() const { return image_; }
    // The page as oriented on the destination's paper, in screen pixels.
    QSize pagePixels() const;
    // The view the zoom commands fit into.
    QSize viewSize() const;

    std::function<void(int pages)> OnPageAvailable;
    std::function<void(int percent)> OnProgressUpdate;

    void PageAvailable(int pages) override;
    void Progress(int percent) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateImage();
    void scrollHome();

    TRepPrinter* destination_ = nullptr;
    PageImage* image_;
    int pageNumber_ = 1;
    int zoom_ = 100;
    ZoomState zoomState_ = ZoomState::Other;
};
