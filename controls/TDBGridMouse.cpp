// The record grid: mouse, multi-selection and the vertical scroll bar.
#include "TDBGrid.h"

#include "GridScrollBar.h"
#include "HandlerGuard.h"
#include "TDataSet.h"

#include <QMouseEvent>
#include <QScrollBar>

// ---- mouse ----

void TDBGrid::mousePressEvent(QMouseEvent* event)
{
    guardedEvent(event, [&] { PressMouse(event); });
}

void TDBGrid::PressMouse(QMouseEvent* event)
{
    pressedRow_ = -2;
    pressedColumn_ = -2;
    if (!link_.Active())
        return;
    const QPoint pos = event->position().toPoint();
    bool onBorder = false;
    const int column = HitColumn(pos.x(), &onBorder);
    const int row = HitRow(pos.y());
    if (row == -1 && HasTitles() && Has(TDBGridOption::dgColumnResize) && column >= 0) {
        WriteEditorText();
        if (event->button() != Qt::LeftButton)
            return;
        drag_ = onBorder ? Drag::Resize : Drag::Move;
        dragColumn_ = column;
        dragTarget_ = -1;
        dragStartX_ = pos.x();
        dragStartWidth_ = Column(column)->Width();
        return;
    }
    if (row == -2 || column == -2)
        return;
    if (!TakeFocus())
        return;
    WriteEditorText();
    HideEditor();
    const bool wasCurrent = row >= 0 && row == link_.ActiveRecord() && column == selectedIndex_;
    if (row >= 0 && row != link_.ActiveRecord()) {
        if (!(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)))
            ClearSelection();
        MoveRecords(row - link_.ActiveRecord());
    }
    if (row >= 0 && Has(TDBGridOption::dgMultiSelect) && (event->modifiers() & Qt::ControlModifier))
        ToggleRowSelection();
    if (column >= 0)
        SetSelectedIndex(column);
    pressedRow_ = row;
    pressedColumn_ = column;
    if (event->button() == Qt::LeftButton && row >= 0 && (wasCurrent || Has(TDBGridOption::dgAlwaysShowEditor)))
        ShowEditor();
    if (row == -1 && column >= 0 && event->button() == Qt::LeftButton) {
        drag_ = Drag::Title;
        dragColumn_ = column;
    }
}

void TDBGrid::mouseMoveEvent(QMouseEvent* event)
{
    guardedEvent(event, [&] {
        const QPoint pos = event->position().toPoint();
        if (drag_ == Drag::Resize) {
            Column(dragColumn_)->SetWidth(std::max(1, dragStartWidth_ + pos.x() - dragStartX_));
            UpdateScrollBars();
            PlaceEditor();
            viewport()->update();
            return;
        }
        if (drag_ == Drag::Move) {
            const int over = HitColumn(pos.x());
            dragTarget_ = over >= 0 && over != dragColumn_ ? over : -1;
            viewport()->update();
            return;
        }
        bool onBorder = false;
        const bool inTitles = HasTitles() && pos.y() < TitleHeight() && Has(TDBGridOption::dgColumnResize);
        if (inTitles)
            HitColumn(pos.x(), &onBorder);
        viewport()->setCursor(onBorder ? Qt::SplitHCursor : Qt::ArrowCursor);
    });
}

void TDBGrid::mouseReleaseEvent(QMouseEvent* event)
{
    guardedEvent(event, [&] {
        const Drag drag = drag_;
        drag_ = Drag::None;
        if (event->button() != Qt::LeftButton)
            return;
        const QPoint pos = event->position().toPoint();
        if (drag == Drag::Move) {
            const int target = dragTarget_;
            dragTarget_ = -1;
            if (target >= 0) {
                MoveColumn(dragColumn_, target);
                return;
            }
        }
        if (drag == Drag::Resize) {
            UpdateScrollBars();
            return;
        }
        const int column = HitColumn(pos.x());
        const int row = HitRow(pos.y());
        if (row == -1 && column >= 0 && (drag == Drag::Move || drag == Drag::Title) && column == dragColumn_) {
            if (OnTitleClick)
                OnTitleClick(*Column(column));
            return;
        }
        if (row >= 0 && column >= 0 && row == pressedRow_ && column == pressedColumn_ && OnCellClick)
            OnCellClick(*Column(column));
    });
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    guardedEvent(event, [&] {
        PressMouse(event);
        if (OnDblClick)
            OnDblClick();
    });
}

// ---- multi-selection ----

std::int64_t TDBGrid::CurrentBookmark() const
{
    TDataSet* dataSet = DataSet();
    return dataSet && link_.RecordCount() > 0 ? dataSet->Bookmark() : 0;
}

void TDBGrid::ToggleRowSelection()
{
    const std::int64_t bookmark = CurrentBookmark();
    if (bookmark == 0)
        return;
    auto [place, added] = selectedRows_.insert(bookmark);
    if (!added)
        selectedRows_.erase(place);
    viewport()->update();
}

// ---- scroll bar ----

void TDBGrid::ScrollAction(int action)
{
    if (updatingScrollBar_ || !link_.Active())
        return;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        MoveRecords(-link_.ActiveRecord() - 1);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        MoveRecords(link_.RecordCount() - link_.ActiveRecord());
        break;
    case QAbstractSlider::SliderPageStepSub:
        MoveRecords(-visibleRows_);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        MoveRecords(visibleRows_);
        break;
    case QAbstractSlider::SliderToMinimum:
        GoFirst();
        break;
    case QAbstractSlider::SliderToMaximum:
        GoLast();
        break;
    default:
        return;
    }
    // The bar shows where the dataset stands, not where the slider went.
    UpdateScrollBars();
}

void TDBGrid::ScrollThumbReleased()
{
    if (!link_.Active())
        return;
    switch (GridScrollBar::thumbUnnumbered(verticalScrollBar()->sliderPosition())) {
    case GridScrollBar::Move::First:
        GoFirst();
        break;
    case GridScrollBar::Move::PageUp:
        MoveRecords(-visibleRows_);
        break;
    case GridScrollBar::Move::PageDown:
        MoveRecords(visibleRows_);
        break;
    case GridScrollBar::Move::Last:
        GoLast();
        break;
    default:
        break;
    }
    UpdateScrollBars();
}
