#include "TDBNavigator.h"

#include "ConfirmDelete.h"
#include "HandlerGuard.h"
#include "NavigatorEnabling.h"
#include "TDataSet.h"
#include "TDataSource.h"
#include "TNavButton.h"

#include <QEvent>
#include <QKeyEvent>

namespace {

const char* const defaultHints[navigateButtonCount] = {"First record",  "Prior record",  "Next record", "Last record",
                                                       "Insert record", "Delete record", "Edit record", "Post edit",
                                                       "Cancel edit",   "Refresh data"};

}  // namespace

TDBNavigator::TDBNavigator(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    for (int i = 0; i < navigateButtonCount; ++i) {
        buttons_[i] = new TNavButton(static_cast<TNavigateBtn>(i), this);
        buttons_[i]->onClick = [this](TNavigateBtn b) { BtnClick(b); };
    }
    link_.OnChange = [this] { updateEnabling(); };
    SetBounds(0, 0, 241, 25);
    updateEnabling();
}

void TDBNavigator::SetDataSource(TDataSource* source)
{
    link_.SetDataSource(source);
    updateEnabling();
}

void TDBNavigator::SetVisibleButtons(TNavButtonSet buttons)
{
    visible_ = buttons;
    for (int i = 0; i < navigateButtonCount; ++i)
        buttons_[i]->setVisible(visible_[i]);
    if (!visible_[focused_])
        for (int i = 0; i < navigateButtonCount; ++i)
            if (visible_[i]) {
                focused_ = static_cast<TNavigateBtn>(i);
                break;
            }
    layoutButtons();
    updateFocusMark();
}

void TDBNavigator::SetFlat(bool flat)
{
    flat_ = flat;
    for (TNavButton* b : buttons_)
        b->setFlat(flat);
}

void TDBNavigator::SetShowHint(bool show)
{
    showHint_ = show;
    updateHints();
}

void TDBNavigator::SetTabStop(bool tabStop)
{
    setFocusPolicy(tabStop ? Qt::TabFocus : Qt::NoFocus);
}

void TDBNavigator::SetBounds(int left, int top, int width, int height)
{
    setGeometry(left, top, width, height);
    layoutButtons();
}

void TDBNavigator::SetAligned(bool aligned)
{
    aligned_ = aligned;
    layoutButtons();
}

void TDBNavigator::Loaded()
{
    layoutButtons();
    updateHints();
    updateEnabling();
}

QString TDBNavigator::hintOf(TNavigateBtn button) const
{
    if (button < Hints.size() && !Hints.at(button).isEmpty())
        return Hints.at(button);
    return QString::fromLatin1(defaultHints[button]);
}

void TDBNavigator::updateHints()
{
    for (int i = 0; i < navigateButtonCount; ++i)
        buttons_[i]->setToolTip(showHint_ ? hintOf(static_cast<TNavigateBtn>(i)) : QString());
}

// ---- layout ----

int TDBNavigator::visibleCount() const
{
    return std::max<int>(1, static_cast<int>(visible_.count()));
}

QSize TDBNavigator::sizeHint() const
{
    return QSize(std::max(width(), visibleCount() * minButtonWidth), std::max(height(), minButtonHeight));
}

QSize TDBNavigator::minimumSizeHint() const
{
    return QSize(visibleCount() * minButtonWidth, minButtonHeight);
}

void TDBNavigator::resizeEvent(QResizeEvent*)
{
    layoutButtons();
}

void TDBNavigator::layoutButtons()
{
    const int count = visibleCount();
    int w = std::max(width(), count * minButtonWidth);
    const int h = std::max(height(), minButtonHeight);
    if (!aligned_)
        w -= w % count;
    if (w != width() || h != height())
        resize(w, h);
    const int buttonWidth = w / count;
    int remainder = w % count;
    int x = 0;
    for (int i = 0; i < navigateButtonCount; ++i) {
        if (!visible_[i]) {
            buttons_[i]->setGeometry(w + 1, 0, buttonWidth, h);
            continue;
        }
        int bw = buttonWidth;
        if (remainder > 0) {
            ++bw;
            --remainder;
        }
        buttons_[i]->setGeometry(x, 0, bw, h);
        x += bw;
    }
}

// ---- enabling ----

void TDBNavigator::updateEnabling()
{
    NavigatorEnabling state;
    state.enabled = isEnabled();
    state.active = link_.Active();
    if (TDataSet* dataSet = state.active ? link_.DataSet() : nullptr) {
        state.bof = dataSet->Bof();
        state.eof = dataSet->Eof();
        state.canModify = dataSet->CanModify();
        state.editing = link_.Editing();
    }
    const TNavButtonSet on = state.buttons();
    for (int i = 0; i < navigateButtonCount; ++i)
        buttons_[i]->setEnabled(on[i]);
}

void TDBNavigator::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        updateEnabling();
    QWidget::changeEvent(event);
}

// ---- clicks ----

void TDBNavigator::BtnClick(TNavigateBtn button)
{
    TDataSource* source = DataSource();
    TDataSet* dataSet = source ? source->DataSet() : nullptr;
    if (dataSet && source->State() != TDataSetState::dsInactive) {
        if (BeforeAction)
            BeforeAction(button);
        switch (button) {
        case nbFirst:
            dataSet->First();
            break;
        case nbPrior:
            dataSet->Prior();
            break;
        case nbNext:
            dataSet->Next();
            break;
        case nbLast:
            dataSet->Last();
            break;
        case nbInsert:
            dataSet->Insert();
            break;
        case nbDelete:
            if (!ConfirmDelete || ::ConfirmDelete(this, false))
                dataSet->Delete();
            break;
        case nbEdit:
            dataSet->Edit();
            break;
        case nbPost:
            dataSet->Post();
            break;
        case nbCancel:
            dataSet->Cancel();
            break;
        case nbRefresh:
            dataSet->Refresh();
            break;
        }
    }
    if (OnClick)
        OnClick(button);
}

// ---- keyboard (only with TabStop) ----

void TDBNavigator::keyPressEvent(QKeyEvent* event)
{
    guardedEvent(event, [&] {
        int step = 0;
        switch (event->key()) {
        case Qt::Key_Left:
            step = -1;
            break;
        case Qt::Key_Right:
            step = 1;
            break;
        case Qt::Key_Space:
            event->accept();
            if (buttons_[focused_]->isEnabled())
                BtnClick(focused_);
            return;
        default:
            QWidget::keyPressEvent(event);
            return;
        }
        event->accept();
        for (int i = focused_ + step; i >= 0 && i < navigateButtonCount; i += step) {
            if (visible_[i]) {
                focused_ = static_cast<TNavigateBtn>(i);
                break;
            }
        }
        updateFocusMark();
    });
}

void TDBNavigator::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    updateFocusMark();
}

void TDBNavigator::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    updateFocusMark();
}

void TDBNavigator::updateFocusMark()
{
    for (int i = 0; i < navigateButtonCount; ++i)
        buttons_[i]->setFocusMark(hasFocus() && i == focused_);
}
