#include "TRepPreview.h"

#include "HandlerGuard.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <cmath>

TRepPreview::TRepPreview(QWidget* parent) : QScrollArea(parent), image_(new PageImage)
{
    setObjectName(QStringLiteral("RepPreview"));
    image_->setObjectName(QStringLiteral("PageImage"));
    setWidget(image_);
    setWidgetResizable(false);
    setAlignment(Qt::AlignCenter);
    setBackgroundRole(QPalette::Dark);
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
}

TRepPreview::~TRepPreview()
{
    detach();
}

void TRepPreview::setDestination(TRepPrinter* destination)
{
    detach();
    destination_ = destination;
    if (!destination_)
        return;
    destination_->Observer = this;
    destination_->setShowingPreview(true);
    pageNumber_ = 0;
    setPageNumber(1);
    pageNumber_ = 1;
}

void TRepPreview::detach()
{
    if (destination_ && destination_->Observer == this)
        destination_->Observer = nullptr;
    destination_ = nullptr;
}

void TRepPreview::setPageNumber(int n)
{
    if (!destination_ || n <= 0 || n > destination_->PageCount() || (n == pageNumber_ && !image_->empty()))
        return;
    pageNumber_ = n;
    showPage();
}

void TRepPreview::showPage()
{
    if (!destination_)
        return;
    image_->setPicture(destination_->GetPage(pageNumber_));
    scrollHome();
}

QSize TRepPreview::pagePixels() const
{
    if (!destination_)
        return {};
    const double ppi = destination_->ScreenPixelsPerInch;
    return {static_cast<int>(std::lround(destination_->PageWidth() / 254.0 * ppi)),
            static_cast<int>(std::lround(destination_->PageHeight() / 254.0 * ppi))};
}

QSize TRepPreview::viewSize() const
{
    return maximumViewportSize();
}

void TRepPreview::setZoom(int zoom)
{
    if (zoom < 2 || zoom > 2000)
        return;
    zoom_ = zoom;
    zoomState_ = ZoomState::Other;
    updateImage();
}

void TRepPreview::ZoomToFit()
{
    const QSize page = pagePixels(), view = viewSize();
    if (page.isEmpty())
        return;
    const auto byHeight = static_cast<int>(std::lround(double(view.height()) / page.height() * 95));
    const auto byWidth = static_cast<int>(std::lround(double(view.width()) / page.width() * 95));
    setZoom(std::min(byHeight, byWidth));
    zoomState_ = ZoomState::Fit;
}

void TRepPreview::ZoomToWidth()
{
    const QSize page = pagePixels(), view = viewSize();
    if (page.isEmpty())
        return;
    setZoom(static_cast<int>(std::lround(double(view.width()) / page.width() * 90)));
    zoomState_ = ZoomState::Width;
}

void TRepPreview::updateImage()
{
    const QSize page = pagePixels();
    image_->resize(page.width() * zoom_ / 100 + 4, page.height() * zoom_ / 100 + 4);
    scrollHome();
}

void TRepPreview::scrollHome()
{
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void TRepPreview::resizeEvent(QResizeEvent* event)
{
    guardedEvent(event, [&] {
        QScrollArea::resizeEvent(event);
        if (zoomState_ == ZoomState::Fit)
            ZoomToFit();
        else if (zoomState_ == ZoomState::Width)
            ZoomToWidth();
        else
            updateImage();
    });
}

// Notifications are posted, as window messages are: they are handled when
// the run lets the window system process its messages.
void TRepPreview::PageAvailable(int pages)
{
    QMetaObject::invokeMethod(this, guard([this, pages] {
                                  if (destination_ && OnPageAvailable)
                                      OnPageAvailable(pages);
                              }),
                              Qt::QueuedConnection);
}

void TRepPreview::Progress(int percent)
{
    QMetaObject::invokeMethod(this, guard([this, percent] {
                                  if (destination_ && OnProgressUpdate)
                                      OnProgressUpdate(percent);
                              }),
                              Qt::QueuedConnection);
}
