#include "TPopupDataList.h"

#include "FieldNames.h"
#include "HandlerGuard.h"
#include "TDataSet.h"
#include "TDataSource.h"
#include "TField.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>
#include <climits>

namespace {

constexpr int border = 1;
constexpr int textMargin = 2;

// Makes one row of a link's view the one fields read, for as long as it lives.
class RowSelection {
public:
    RowSelection(TDataLink& link, int row) : link_(link) { link_.SetActiveRecord(row); }
    ~RowSelection() { link_.SetActiveRecord(link_.ActiveRecord()); }
    RowSelection(const RowSelection&) = delete;
    RowSelection& operator=(const RowSelection&) = delete;

private:
    TDataLink& link_;
};

}  // namespace

TPopupDataList::TPopupDataList(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::WindowStaysOnTopHint),
      timer_(ControlTimer::create())
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    link_.OnActiveChange = [this] { updateFields(); };
    link_.OnLayoutChange = [this] { updateFields(); };
    link_.OnDataChange = [this] { listChanged(); };
    timer_->onTimeout = [this] { scrollTick(); };
    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    scrollBar_->setRange(0, 4);
    scrollBar_->setPageStep(1);
    scrollBar_->hide();
    connect(scrollBar_, &QScrollBar::actionTriggered, this, guard([this](int action) { scrollBarAction(action); }));
    setRowCount(rows_);
}

TPopupDataList::~TPopupDataList() = default;

void TPopupDataList::setListSource(TDataSource* source)
{
    link_.SetDataSource(source);
    link_.SetBufferCount(rows_);
    updateFields();
}

void TPopupDataList::setKeyFieldName(const std::string& name)
{
    keyFieldName_ = name;
    updateFields();
}

void TPopupDataList::setListFieldNames(const std::string& names)
{
    listFieldNames_ = names;
    updateFields();
}

void TPopupDataList::setListFieldIndex(int index)
{
    listFieldIndex_ = index;
    updateFields();
}

void TPopupDataList::updateFields()
{
    keyField_ = nullptr;
    listField_ = nullptr;
    TDataSet* dataSet = link_.DataSet();
    if (link_.Active() && dataSet && !keyFieldName_.empty())
        keyField_ = dataSet->FindField(keyFieldName_);
    if (keyField_) {
        std::vector<TField*> fields;
        for (const std::string& name : FieldNames::split(listFieldNames_)) {
            if (TField* field = dataSet->FindField(name))
                fields.push_back(field);
        }
        if (fields.empty())
            fields.push_back(keyField_);
        const bool inRange = listFieldIndex_ >= 0 && listFieldIndex_ < static_cast<int>(fields.size());
        listField_ = fields[inRange ? listFieldIndex_ : 0];
    }
    listChanged();
}

void TPopupDataList::setRowCount(int rows)
{
    rows_ = std::clamp(rows, 1, 100);
    link_.SetBufferCount(rows_);
    resize(width(), heightForRows(rows_));
    updateScrollBar();
}

int TPopupDataList::rowHeight() const
{
    return fontMetrics().height();
}

int TPopupDataList::heightForRows(int rows) const
{
    return std::clamp(rows, 1, 100) * rowHeight() + 2 * border;
}

QRect TPopupDataList::listRect() const
{
    QRect inside = rect().adjusted(border, border, -border, -border);
    if (scrollBar_->isVisible())
        inside.setRight(scrollBar_->geometry().left() - 1);
    return inside;
}

void TPopupDataList::resizeEvent(QResizeEvent*)
{
    guarded([&] {
        const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        scrollBar_->setGeometry(width() - border - barWidth, border, barWidth, height() - 2 * border);
    });
}

void TPopupDataList::setKeyValue(const FieldValue& key)
{
    keyValue_ = key;
    if (listActive())
        locateKey();
    update();
}

void TPopupDataList::locateKey()
{
    TDataSet* dataSet = link_.DataSet();
    bool found = false;
    try {
        found = keyValue_ && dataSet->Locate(keyFieldName_, *keyValue_, false);
    } catch (const std::exception&) {
        found = false;  // a key that cannot be searched shows the first rows
    }
    if (!found)
        dataSet->First();
    else
        fillRows();
}

// The search centres the key's record in the window, which leaves rows
// blank below a record near the end of the table. The window is then taken
// from the end, which holds that record too, and every row shows one.
void TPopupDataList::fillRows()
{
    TDataSet* dataSet = link_.DataSet();
    const int shown = link_.RecordCount();
    if (shown >= rows_ || shown >= dataSet->RecordCount())
        return;
    dataSet->Last();
    const int row = keyRow();
    if (row >= 0)
        dataSet->MoveBy(row - link_.ActiveRecord());
}

void TPopupDataList::selectCurrent()
{
    TDataSet* dataSet = link_.DataSet();
    if (listActive() && !dataSet->IsEmpty())
        keyValue_ = keyField_->Value();
    update();
}

std::string TPopupDataList::rowText(int row)
{
    RowSelection selection(link_, row);
    return listField_->DisplayText();
}

std::vector<std::string> TPopupDataList::rowTexts()
{
    std::vector<std::string> texts;
    if (!listActive())
        return texts;
    for (int row = 0; row < link_.RecordCount(); ++row)
        texts.push_back(rowText(row));
    return texts;
}

int TPopupDataList::keyRow()
{
    if (!listActive() || !keyValue_)
        return -1;
    for (int row = 0; row < link_.RecordCount(); ++row) {
        RowSelection selection(link_, row);
        if (keyField_->Value() == keyValue_)
            return row;
    }
    return -1;
}

int TPopupDataList::highlightedRow()
{
    return keyRow();
}

// ---- keys ----

bool TPopupDataList::handleKey(int key, Qt::KeyboardModifiers, const QString& text)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit accepted();
        return true;
    case Qt::Key_Escape:
        emit discarded();
        return true;
    case Qt::Key_Backspace:
        search_.clear();
        return true;
    default:
        break;
    }
    if (!listActive())
        return false;
    int delta = 0;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        delta = -1;
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        delta = 1;
        break;
    case Qt::Key_PageUp:
        delta = 1 - rows_;
        break;
    case Qt::Key_PageDown:
        delta = rows_ - 1;
        break;
    case Qt::Key_Home:
        delta = INT_MIN;
        break;
    case Qt::Key_End:
        delta = INT_MAX;
        break;
    default:
        if (!text.isEmpty() && text.at(0).isPrint()) {
            search(text);
            return true;
        }
        return false;
    }
    if (!readOnly_)
        moveBy(delta);
    return true;
}

void TPopupDataList::moveBy(int delta)
{
    search_.clear();
    TDataSet* dataSet = link_.DataSet();
    if (delta == INT_MIN) {
        dataSet->First();
    } else if (delta == INT_MAX) {
        dataSet->Last();
    } else {
        const int row = keyRow();
        if (row >= 0) {
            dataSet->MoveBy(row - link_.ActiveRecord());
            dataSet->MoveBy(delta);
        } else {
            locateKey();  // only brings the highlighted record back
        }
    }
    selectCurrent();
}

void TPopupDataList::search(const QString& text)
{
    // Only a stored text field can be searched by its beginning.
    if (readOnly_ || listField_->FieldKind != TFieldKind::fkData || listField_->Size() == 0)
        return;
    TDataSet* dataSet = link_.DataSet();
    const std::string name = listField_->FieldName();
    const auto outcome = search_.type(text.left(1).toStdString(), [&](const std::string& candidate) {
        return dataSet->Locate(name, candidate, true);
    });
    if (outcome == LookupSearch::Outcome::Found)
        selectCurrent();
}

// ---- mouse ----

void TPopupDataList::selectRowAt(int y)
{
    if (readOnly_ || !listActive() || link_.RecordCount() == 0)
        return;
    const QRect list = listRect();
    y = std::clamp(y, list.top(), list.bottom());
    const int row = std::min((y - list.top()) / rowHeight(), link_.RecordCount() - 1);
    if (row != link_.ActiveRecord())
        link_.DataSet()->MoveBy(row - link_.ActiveRecord());
    selectCurrent();
}

void TPopupDataList::pressAt(const QPoint& global)
{
    search_.clear();
    tracking_ = true;
    selectRowAt(mapFromGlobal(global).y());
}

void TPopupDataList::dragTo(const QPoint& global)
{
    if (!tracking_)
        return;
    const QPoint local = mapFromGlobal(global);
    const QRect list = listRect();
    selectRowAt(local.y());
    int distance = 0;
    scrollDelta_ = 0;
    if (local.y() < list.top()) {
        scrollDelta_ = -1;
        distance = list.top() - local.y();
    } else if (local.y() > list.bottom()) {
        scrollDelta_ = 1;
        distance = local.y() - list.bottom();
    }
    if (scrollDelta_ == 0) {
        timer_->stop();
        return;
    }
    timer_->start(std::max(0, 200 - 15 * distance));
}

void TPopupDataList::scrollTick()
{
    if (!tracking_ || scrollDelta_ == 0 || !listActive()) {
        timer_->stop();
        return;
    }
    if (!readOnly_ && link_.DataSet()->MoveBy(scrollDelta_) != 0)
        selectCurrent();
}

void TPopupDataList::releaseAt(const QPoint& global)
{
    timer_->stop();
    const bool wasTracking = tracking_;
    tracking_ = false;
    const QPoint local = mapFromGlobal(global);
    if (wasTracking && isVisible() && listRect().contains(local)) {
        selectRowAt(local.y());
        emit accepted();
    } else {
        emit discarded();
    }
}

void TPopupDataList::setScrollTimer(std::unique_ptr<ControlTimer> timer)
{
    timer_ = std::move(timer);
    timer_->onTimeout = [this] { scrollTick(); };
}

void TPopupDataList::mousePressEvent(QMouseEvent* event)
{
    guardedEvent(event, [&] {
        if (event->button() == Qt::LeftButton)
            pressAt(event->globalPosition().toPoint());
    });
}

void TPopupDataList::mouseMoveEvent(QMouseEvent* event)
{
    guardedEvent(event, [&] {
        if (event->buttons() & Qt::LeftButton)
            dragTo(event->globalPosition().toPoint());
    });
}

void TPopupDataList::mouseReleaseEvent(QMouseEvent* event)
{
    guardedEvent(event, [&] {
        if (event->button() == Qt::LeftButton)
            releaseAt(event->globalPosition().toPoint());
    });
}

void TPopupDataList::wheelEvent(QWheelEvent* event)
{
    guardedEvent(event, [&] {
        const int steps = event->angleDelta().y() / 120;
        for (int i = 0; i < std::abs(steps); ++i)
            scrollBarAction(steps > 0 ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd);
        event->accept();
    });
}

// ---- scrolling the view (the highlight stays with its key) ----

void TPopupDataList::scrollBarAction(int action)
{
    if (!listActive())
        return;
    TDataSet* dataSet = link_.DataSet();
    const int active = link_.ActiveRecord();
    const int count = link_.RecordCount();
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        dataSet->MoveBy(-active - 1);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        dataSet->MoveBy(count - active);
        break;
    case QAbstractSlider::SliderPageStepSub:
        dataSet->MoveBy(-active - count + 1);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        dataSet->MoveBy(count - active + count - 2);
        break;
    case QAbstractSlider::SliderToMinimum:
        dataSet->First();
        break;
    case QAbstractSlider::SliderToMaximum:
        dataSet->Last();
        break;
    case QAbstractSlider::SliderMove:
        if (scrollBar_->sliderPosition() == scrollBar_->minimum())
            dataSet->First();
        else if (scrollBar_->sliderPosition() == scrollBar_->maximum())
            dataSet->Last();
        break;
    default:
        break;
    }
    update();
}

void TPopupDataList::listChanged()
{
    updateScrollBar();
    update();
}

// The list does not know record numbers: the thumb sits at the top, in the
// middle or at the bottom, as the dataset stands at its start, inside or at
// its end.
void TPopupDataList::updateScrollBar()
{
    TDataSet* dataSet = listActive() ? link_.DataSet() : nullptr;
    const bool needed = dataSet && dataSet->RecordCount() > rows_;
    scrollBar_->setVisible(needed);
    if (!needed)
        return;
    const QSignalBlocker blocker(scrollBar_);
    scrollBar_->setValue(dataSet->Bof() ? 0 : dataSet->Eof() ? 4 : 2);
}

// ---- painting ----

void TPopupDataList::paintEvent(QPaintEvent*)
{
    guarded([&] {
        QPainter painter(this);
        const QPalette& pal = palette();
        painter.setPen(pal.color(QPalette::WindowText));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        if (!listActive())
            return;
        const QRect list = listRect();
        painter.setClipRect(list);
        const int highlighted = keyRow();
        const int height = rowHeight();
        const QFontMetrics metrics = fontMetrics();
        for (int row = 0; row < link_.RecordCount(); ++row) {
            const QRect line(list.left(), list.top() + row * height, list.width(), height);
            const bool selected = row == highlighted;
            if (selected)
                painter.fillRect(line, pal.brush(QPalette::Highlight));
            painter.setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
            const QString text = QString::fromStdString(rowText(row));
            const QRect textArea = line.adjusted(textMargin, 0, -textMargin, 0);
            Qt::Alignment align = Qt::AlignLeft;
            if (listField_->Alignment == TAlignment::taRightJustify)
                align = Qt::AlignRight;
            else if (listField_->Alignment == TAlignment::taCenter)
                align = Qt::AlignHCenter;
            painter.drawText(textArea, int(align | Qt::AlignVCenter),
                             metrics.elidedText(text, Qt::ElideNone, textArea.width()));
        }
    });
}
