#pragma once
#include "MaskEditor.h"

#include <QWidget>

class QStyleOptionFrame;

// A single-line edit with an edit mask. The text, cursor, selection, old
// value and flags live in a MaskEditor; this widget forwards every key,
// paste, cut, click and focus change to it and paints what it holds, with
// the cursor as a block over one character while a mask is set. With an
// empty mask it is a plain edit.
//
// Errors are not caught here: a failed validation (leaving the box, Enter,
// validateEdit()) sounds the beep, keeps or takes back the focus and then
// raises EDBEditError out of the event handler, for the application's error
// box. Escape belongs to the box while its text is modified, so a window's
// cancel button does not see it.
class TCustomMaskEdit : public QWidget {
    Q_OBJECT

public:
    explicit TCustomMaskEdit(QWidget* parent = nullptr);

    // EditMask: setting a different mask reformats the content and makes
    // the mask's width the input limit.
    QString editMask() const;
    void setEditMask(const QString& mask);
    // Text: what the mask reads back (with literals and spaces when the
    // mask saves literals, so a masked box never reads as empty). Setting it
    // applies the mask; no validation.
    QString text() const;
    void setText(const QString& text);
    // Nothing entered: empty, or for a masked box only its literals and
    // blanks, which Text reads back as literals and spaces.
    bool isBlank() const { return editor_.isBlank(); }
    // EditText: the raw content, literals and blank characters included.
    QString editText() const;
    void setEditText(const QString& text);
    // MaxLength: the limit of a plain edit (0 = none); ignored while masked.
    int maxLength() const;
    void setMaxLength(int length);
    bool isMasked() const { return editor_.isMasked(); }
    bool isReadOnly() const { return editor_.readOnly(); }
    void setReadOnly(bool readOnly);
    // Set by the user's changes, cleared when the program sets the text.
    bool isModified() const { return editor_.modified(); }
    void setModified(bool modified) { editor_.setModified(modified); }
    Qt::Alignment alignment() const { return alignment_; }
    // Used only while the box has no focus; the edit text is left-aligned.
    void setAlignment(Qt::Alignment alignment);

    int cursorPosition() const { return editor_.cursor(); }
    int selectionStart() const { return editor_.selectionStart(); }
    int selectionLength() const { return editor_.selectionLength(); }
    void selectAll();
    // The character position under a point of the widget (a click).
    int positionAt(const QPoint& point) const;

    // Validates the text against the mask when the user modified it. On
    // failure: beep, focus taken back if needed, cursor on the failing
    // position, EDBEditError raised.
    virtual void validateEdit();

    const MaskEditor& editor() const { return editor_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The edit text changed, by the user or the program.
    void changed();
    // The focus left to another control and the box let it go (its text
    // passed; a bound box has written it). Not after a refusal.
    void exited();

protected:
    // Asked before every change the user is about to make; false drops the
    // key. May throw (for example when a dataset cannot enter edit state).
    virtual bool canModify() { return true; }
    // Whether Escape is this box's key now: while masked and modified.
    virtual bool claimsEscape() const { return editor_.claimsEscape(); }
    // Escape when claimed: the old value back and the modified flag cleared.
    virtual void reset();
    // After every change of the edit text; the default emits changed().
    virtual void change();
    // The focus came in: remembers the old value, selects the cursor.
    virtual void doEnter();
    // The focus is leaving to another control of the window: validates.
    virtual void doExit();

    MaskEditor& model() { return editor_; }

    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // The focus loss: the exit check, then exited(). Raises when the exit is
    // refused; the box then keeps the focus.
    void leaveBox(QFocusEvent* event);
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void initFrameOption(QStyleOptionFrame* option) const;
    QRect textRect() const;
    QString shownText() const;
    // x of the boundary before code point index in the shown text, from
    // the start of the text.
    int advanceTo(const QString& shown, int index) const;
    int textOffset(const QString& shown, int available) const;
    int boundaryAt(int x) const;
    bool handleStandardKey(QKeyEvent* event);
    bool isEditingKey(QKeyEvent* event) const;
    void copy() const;
    void cut();
    void paste();

    MaskEditor editor_;
    // Entered and not left: focus coming back from another window is no
    // new entry.
    bool entered_ = false;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    mutable int scroll_ = 0;
};
