// The record grid: the drop-down of a column's pick list.
#include "TDBGrid.h"

#include "HandlerGuard.h"
#include "TField.h"
#include "TInplaceEdit.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QScreen>

bool TDBGrid::HasPickList() const
{
    TColumn* column = Column(selectedIndex_);
    TField* field = column ? column->Field() : nullptr;
    return field && !column->PickList.empty() && !column->ReadOnly() && field->CanModify();
}

bool TDBGrid::PickListVisible() const
{
    return pickList_ && pickList_->isVisible();
}

// A popup list: it takes the keys while open, Escape or a click elsewhere
// closes it without change.
void TDBGrid::DropDownPickList()
{
    if (PickListVisible())
        return;
    if (!pickList_) {
        pickList_ = new QListWidget(this);
        pickList_->setWindowFlags(Qt::Popup);
        pickList_->setFocusPolicy(Qt::NoFocus);
        pickList_->installEventFilter(this);
        connect(pickList_, &QListWidget::itemActivated, this, guard(this, &TDBGrid::ChoosePick));
        connect(pickList_, &QListWidget::itemClicked, this, guard(this, &TDBGrid::ChoosePick));
    }
    TColumn* column = Column(selectedIndex_);
    pickList_->clear();
    for (const std::string& text : column->PickList)
        pickList_->addItem(QString::fromStdString(text));
    const QList<QListWidgetItem*> same = pickList_->findItems(editor_->text(), Qt::MatchExactly);
    pickList_->setCurrentRow(same.isEmpty() ? 0 : pickList_->row(same.first()));
    pickList_->setFont(font());
    const int rows = std::min(column->DropDownRows, pickList_->count());
    const int height = rows * pickList_->sizeHintForRow(0) + 2 * pickList_->frameWidth();
    QPoint place = editor_->mapToGlobal(QPoint(0, editor_->height()));
    const QRect screen = editor_->screen()->availableGeometry();
    if (place.y() + height > screen.bottom())
        place.setY(editor_->mapToGlobal(QPoint(0, 0)).y() - height);
    pickList_->setGeometry(QRect(place, QSize(editor_->width(), height)));
    pickList_->show();
    pickList_->setFocus(Qt::PopupFocusReason);
}

void TDBGrid::ChoosePick(QListWidgetItem* item)
{
    pickList_->hide();
    if (!item || !EditorVisible() || !EditorCanModify())
        return;
    editor_->setText(item->text());
    WriteEditorText();
    RefreshEditor();
}

// Escape closes the pick list without change.
bool TDBGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == pickList_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        pickList_->hide();
        return true;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}
