// The record grid: painting.
#include "TDBGrid.h"

#include "HandlerGuard.h"
#include "IndicatorImages.h"
#include "TDataSet.h"
#include "TField.h"
#include "TInplaceEdit.h"

#include <QApplication>
#include <QPainter>

namespace {

constexpr int textMargin = 2;

QString fromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

// ---- painting ----

bool TDBGrid::GridFocused() const
{
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == this || (editor_ && focus == editor_));
}

void TDBGrid::paintEvent(QPaintEvent*)
{
    guarded([&] {
        QPainter painter(viewport());
        painter.fillRect(viewport()->rect(), palette().color(QPalette::Active, QPalette::Base));
        if (HasTitles())
            PaintTitles(painter);
        TDataSet* dataSet = DataSet();
        if (!link_.Active() || !dataSet || link_.RecordCount() == 0) {
            PaintRow(painter, 0, link_.Active());
            return;
        }
        const int current = link_.ActiveRecord();
        const int rows = std::min(link_.RecordCount(), visibleRows_);
        for (int row = 0; row < rows; ++row) {
            link_.SetActiveRecord(row);
            PaintRow(painter, row, row == current);
        }
        link_.SetActiveRecord(current);
        if (drag_ == Drag::Move && dragTarget_ >= 0) {
            const int x = ColumnLeft(dragTarget_);
            if (x >= 0)
                painter.fillRect(QRect(x - 1, 0, 3, TitleHeight()), palette().color(QPalette::Highlight));
        }
    });
}

void TDBGrid::PaintFixedCell(QPainter& painter, const QRect& rect)
{
    painter.fillRect(rect, palette().color(QPalette::Active, QPalette::Button));
    if (!Has(TDBGridOption::dgColLines) || !Has(TDBGridOption::dgRowLines))
        return;
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

// Grid lines right of and below a cell, as the options ask.
void TDBGrid::PaintLines(QPainter& painter, const QRect& cell)
{
    const QColor line = palette().color(QPalette::Mid);
    if (ColLine())
        painter.fillRect(QRect(cell.right() + 1, cell.top(), 1, cell.height() + RowLine()), line);
    if (RowLine())
        painter.fillRect(QRect(cell.left(), cell.bottom() + 1, cell.width() + ColLine(), 1), line);
}

void TDBGrid::PaintTitles(QPainter& painter)
{
    if (IndicatorWidth() > 0) {
        const QRect corner(0, 0, IndicatorWidth(), TitleHeight());
        PaintFixedCell(painter, corner);
        PaintLines(painter, corner);
    }
    const std::vector<int> lefts = ColumnLefts();
    for (int i = leftColumn_; i < ColumnCount(); ++i) {
        const int left = lefts[static_cast<size_t>(i - leftColumn_)];
        if (left < 0)
            continue;
        const QRect cell(left, 0, Column(i)->Width(), TitleHeight());
        if (cell.isEmpty())
            continue;
        if (cell.left() > viewport()->width())
            break;
        const TColumnTitle& title = Column(i)->Title;
        PaintFixedCell(painter, cell);
        if (title.Color)
            painter.fillRect(cell.adjusted(1, 1, -1, -1), *title.Color);
        PaintLines(painter, cell);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.setFont(title.Font.value_or(titleFont_));
        painter.setClipRect(cell);
        const QRect inner = cell.adjusted(textMargin, textMargin, -textMargin, 0);
        Qt::Alignment align = Qt::AlignLeft;
        if (title.Alignment == TAlignment::taRightJustify)
            align = Qt::AlignRight;
        else if (title.Alignment == TAlignment::taCenter)
            align = Qt::AlignHCenter;
        painter.drawText(inner, static_cast<int>(align | Qt::AlignTop), fromUtf8(Column(i)->TitleCaption()));
        painter.setClipping(false);
    }
}

void TDBGrid::PaintIndicator(QPainter& painter, const QRect& rect, bool current)
{
    PaintFixedCell(painter, rect);
    PaintLines(painter, rect);
    TDataSet* dataSet = DataSet();
    if (!link_.Active() || !dataSet)
        return;
    const bool selected = !selectedRows_.empty() && link_.RecordCount() > 0 && IsRowSelected(dataSet->Bookmark());
    int image = -1;
    if (current) {
        if (selected)
            image = IndicatorImages::MultiArrow;
        else if (dataSet->State() == TDataSetState::dsEdit)
            image = IndicatorImages::Edit;
        else if (dataSet->State() == TDataSetState::dsInsert)
            image = IndicatorImages::Insert;
        else
            image = IndicatorImages::Arrow;
    } else if (selected) {
        image = IndicatorImages::MultiDot;
    }
    if (image < 0)
        return;
    const QImage& picture = IndicatorImages::image(static_cast<IndicatorImages::Index>(image));
    const int x = rect.right() - picture.width();
    const int y = rect.top() + (rect.height() - picture.height()) / 2;
    painter.drawImage(QPoint(x, y), picture);
}

void TDBGrid::PaintRow(QPainter& painter, int row, bool current)
{
    painter.setFont(font());
    if (IndicatorWidth() > 0)
        PaintIndicator(painter, CellRect(-1, row), current);
    const bool hasRecord = link_.Active() && link_.RecordCount() > 0;
    const bool showSelection = Has(TDBGridOption::dgAlwaysShowSelection) || GridFocused();
    const bool rowSelect = Has(TDBGridOption::dgRowSelect);
    const QPalette& colours = palette();
    const std::vector<int> lefts = ColumnLefts();
    const int top = DataTop() + row * (RowHeight() + RowLine());
    for (int i = leftColumn_; i < ColumnCount(); ++i) {
        const int left = lefts[static_cast<size_t>(i - leftColumn_)];
        if (left >= viewport()->width())
            break;
        if (left < 0)
            continue;
        const QRect cell(left, top, Column(i)->Width(), RowHeight());
        if (cell.isEmpty())
            continue;
        const bool selected = current && hasRecord && (rowSelect || i == selectedIndex_);
        const bool highlight = selected && showSelection;
        painter.fillRect(cell, colours.color(QPalette::Active, highlight ? QPalette::Highlight : QPalette::Base));
        PaintLines(painter, cell);
        TField* field = hasRecord ? Column(i)->Field() : nullptr;
        if (field) {
            QPalette::ColorRole role = highlight ? QPalette::HighlightedText : QPalette::Text;
            painter.setPen(colours.color(isEnabled() ? QPalette::Active : QPalette::Disabled, role));
            const QString text = fromUtf8(field->DisplayText());
            const QRect inner = cell.adjusted(textMargin, textMargin, -textMargin, 0);
            Qt::Alignment align = Qt::AlignLeft;
            if (Column(i)->Alignment() == TAlignment::taRightJustify)
                align = Qt::AlignRight;
            else if (Column(i)->Alignment() == TAlignment::taCenter)
                align = Qt::AlignHCenter;
            painter.setClipRect(cell);
            painter.drawText(inner, static_cast<int>(align | Qt::AlignTop), text);
            painter.setClipping(false);
        }
        if (selected && !rowSelect && hasFocus()) {
            painter.setPen(QPen(colours.color(QPalette::HighlightedText), 1, Qt::DotLine));
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
        }
    }
}
