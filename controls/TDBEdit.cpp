#include "TDBEdit.h"

#include "HandlerGuard.h"
#include "TDataSet.h"
#include "TDataSource.h"
#include "TField.h"
#include "TStringField.h"

#include <QEvent>
#include <QKeyEvent>

namespace {

Qt::Alignment toQt(TAlignment alignment)
{
    switch (alignment) {
    case TAlignment::taRightJustify:
        return Qt::AlignRight;
    case TAlignment::taCenter:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

bool isTextField(const TField* field)
{
    return dynamic_cast<const TStringField*>(field) != nullptr;
}

}  // namespace

TDBEdit::TDBEdit(QWidget* parent) : TCustomMaskEdit(parent)
{
    TCustomMaskEdit::setReadOnly(true);
    connect(this, &QObject::objectNameChanged, this,
            [this](const QString& name) { link_.ControlName = name.toStdString(); });
    link_.OnDataChange = [this] { dataChange(); };
    link_.OnEditingChange = [this] { editingChange(); };
    link_.OnUpdateData = [this] { updateData(); };
    link_.OnActiveChange = [this] { activeChange(); };
    link_.OnFocusRequest = [this] {
        if (!isEnabled() || !isVisible() || focusPolicy() == Qt::NoFocus)
            return false;
        setFocus(Qt::OtherFocusReason);
        return true;
    };
}

void TDBEdit::SetDataSource(TDataSource* source)
{
    link_.SetDataSource(source);
}

void TDBEdit::SetDataField(const std::string& name)
{
    // The rule looks at the field named so far: a length taken from it is
    // given up before the new field is bound.
    resetMaxLength();
    link_.SetFieldName(name);
}

void TDBEdit::Loaded()
{
    resetMaxLength();
    takeFieldLength();
}

void TDBEdit::activeChange()
{
    resetMaxLength();
    takeFieldLength();
}

// While no length is set, the text field's size is the limit.
void TDBEdit::takeFieldLength()
{
    const TField* field = link_.Field();
    if (isTextField(field) && editor().plainMaxLength() == 0)
        setMaxLength(field->Size());
}

// A MaxLength equal to the text field's size goes back to 0, so the next
// redisplay takes the size again: both end as the field's size.
void TDBEdit::resetMaxLength()
{
    const int length = editor().plainMaxLength();
    TDataSet* dataSet = DataSource() ? DataSource()->DataSet() : nullptr;
    if (length <= 0 || !dataSet)
        return;
    const TField* field = dataSet->FindField(link_.FieldName());
    if (isTextField(field) && field->Size() == length)
        setMaxLength(0);
}

void TDBEdit::dataChange()
{
    const TField* field = link_.Field();
    if (!field) {
        setAlignment(Qt::AlignLeft);
        fieldAlignment_ = Qt::AlignLeft;
        setEditMask(QString());
        setText(QString());
        return;
    }
    const Qt::Alignment alignment = toQt(field->Alignment);
    if (alignment != fieldAlignment_) {
        setEditText(QString());
        fieldAlignment_ = alignment;
        setAlignment(alignment);
    }
    setEditMask(QString::fromStdString(field->EditMask));
    takeFieldLength();
    // An unchanged text is not set again: the cursor stays where the key
    // that began the edit is about to land.
    if (focused_ && link_.CanModify()) {
        const QString shown = QString::fromStdString(field->EditText());
        if (shown != text())
            setText(shown);
    } else {
        // A date's display text is the short date, wider than a two-digit
        // year mask: it is formatted through the mask, as a masked text
        // field's display text already is (a second pass changes nothing).
        // Nothing to format shows the blanks.
        std::string display = field->DisplayText();
        if (isMasked() && !display.empty())
            display = editor().mask().displayText(display);
        const QString shown = QString::fromStdString(display);
        if (shown != editText())
            setEditText(shown);
        if (link_.Editing() && link_.IsModified())
            setModified(true);
    }
}

void TDBEdit::editingChange()
{
    TCustomMaskEdit::setReadOnly(!link_.Editing());
}

void TDBEdit::updateData()
{
    validateEdit();
    link_.Field()->SetEditText(text().toStdString());
}

bool TDBEdit::canModify()
{
    return link_.Edit();
}

void TDBEdit::change()
{
    link_.Modified();
    TCustomMaskEdit::change();
}

// Escape: the field's value back, typed text discarded; the dataset stays
// in edit or insert state.
void TDBEdit::reset()
{
    link_.Reset();
    selectAll();
}

void TDBEdit::keyPressEvent(QKeyEvent* event)
{
    guardedEvent(event, [&] {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            reset();
            event->accept();
            return;
        }
        TCustomMaskEdit::keyPressEvent(event);
    });
}

void TDBEdit::setFocused(bool focused)
{
    if (focused_ == focused)
        return;
    focused_ = focused;
    update();
    link_.Reset();
}

void TDBEdit::doEnter()
{
    setFocused(true);
    TCustomMaskEdit::doEnter();
}

// The pending text is written before the focus may leave; a refusal keeps
// the focus here with the text selected.
void TDBEdit::doExit()
{
    try {
        link_.UpdateRecord();
    } catch (...) {
        // Back in first: entering collapses the selection.
        if (!hasFocus())
            setFocus(Qt::OtherFocusReason);
        selectAll();
        throw;
    }
    setFocused(false);
    if (isMasked() && cursorPosition() >= editor().mask().width())
        model().moveCursor(0);
}

void TDBEdit::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        update();
    TCustomMaskEdit::changeEvent(event);
}
