#include "MaskEditor.h"

#include "UnicodeText.h"

#include <algorithm>

void MaskEditor::setEditMask(const std::string& text)
{
    if (text == mask_.text())
        return;
    const std::u32string content = mask_.strip(edit_);
    mask_ = EditMask(text);
    maxLength_ = mask_.width();
    setByProgram(isMasked() ? mask_.fillPositions(content, mask_.blank()) : content);
}

void MaskEditor::setText(const std::string& value)
{
    const std::u32string text = UnicodeText::fromUtf8(value);
    setByProgram(isMasked() ? mask_.apply(text, mask_.blank()) : text);
}

void MaskEditor::setEditText(const std::string& editText)
{
    setByProgram(UnicodeText::fromUtf8(editText));
}

std::string MaskEditor::text() const
{
    return UnicodeText::toUtf8(mask_.read(edit_));
}

std::string MaskEditor::editText() const
{
    return UnicodeText::toUtf8(edit_);
}

std::string MaskEditor::oldValue() const
{
    return UnicodeText::toUtf8(old_);
}

// Exactly one character per position: surplus cut, missing ones blank, the
// literals at their places and no control character at a mask position.
std::u32string MaskEditor::fitToMask(std::u32string text) const
{
    if (!isMasked())
        return text;
    text.resize(static_cast<size_t>(mask_.width()), mask_.blank());
    for (int pos = 0; pos < mask_.width(); ++pos) {
        if (mask_.isLiteral(pos))
            text[pos] = mask_.position(pos).literal;
        else if (UnicodeText::isControl(text[pos]))
            text[pos] = mask_.blank();
    }
    return text;
}

void MaskEditor::setByProgram(std::u32string text)
{
    replaceEdit(fitToMask(std::move(text)), false);
    old_ = edit_;
    modified_ = false;
    placeCursor(isMasked() ? mask_.nextMaskPosition(0) : textLimit());
}

void MaskEditor::replaceEdit(std::u32string text, bool byUser)
{
    if (text == edit_)
        return;
    edit_ = std::move(text);
    if (byUser)
        modified_ = true;
    cursor_ = std::min(cursor_, textLimit());
    anchor_ = std::min(anchor_, textLimit());
    if (changeHandler_)
        changeHandler_();
}

void MaskEditor::placeCursor(int pos)
{
    cursor_ = anchor_ = std::clamp(pos, 0, textLimit());
}

void MaskEditor::moveCursor(int pos, bool extend)
{
    cursor_ = std::clamp(pos, 0, textLimit());
    if (!extend)
        anchor_ = cursor_;
}

void MaskEditor::selectAll()
{
    anchor_ = 0;
    cursor_ = textLimit();
}

void MaskEditor::effectiveRange(int& start, int& end) const
{
    start = selectionStart();
    end = start + selectionLength();
    if (start == end && isMasked() && start < textLimit())
        end = start + 1;
}

std::string MaskEditor::selectedText() const
{
    int start = 0, end = 0;
    effectiveRange(start, end);
    return UnicodeText::toUtf8(edit_.substr(start, end - start));
}

// The owner is asked first: a bound box is read-only until the check has
// put its record into edit state, which makes it writable.
bool MaskEditor::mayModify()
{
    if (modifyCheck_ && !modifyCheck_())
        return false;
    return !readOnly_;
}

void MaskEditor::beep()
{
    ++beeps_;
    if (beepHandler_)
        beepHandler_();
}

// Changes in place: a key press costs the same on any width of mask.
void MaskEditor::blankRange(int start, int end)
{
    bool changed = false;
    for (int pos = std::max(start, 0); pos < end && pos < mask_.width(); ++pos) {
        if (!mask_.isLiteral(pos) && edit_[pos] != mask_.blank()) {
            edit_[pos] = mask_.blank();
            changed = true;
        }
    }
    if (changed)
        editedInPlace();
}

void MaskEditor::setAt(int pos, char32_t c)
{
    if (edit_[pos] == c)
        return;
    edit_[pos] = c;
    editedInPlace();
}

void MaskEditor::editedInPlace()
{
    modified_ = true;
    if (changeHandler_)
        changeHandler_();
}

bool MaskEditor::typeChar(char32_t c)
{
    switch (c) {
    case 27:
        return pressKey(Key::Escape);
    case 13:
        return pressKey(Key::Enter);
    case 8:
        return pressKey(Key::Backspace);
    default:
        break;
    }
    if (UnicodeText::isControl(c))
        return false;
    if (!mayModify())
        return true;
    if (isMasked())
        typeMasked(c);
    else
        typePlain(c);
    return true;
}

void MaskEditor::typeText(const std::string& text)
{
    for (char32_t c : UnicodeText::fromUtf8(text))
        typeChar(c);
}

void MaskEditor::typeMasked(char32_t c)
{
    if (selectionLength() > 1) {
        const int start = selectionStart();
        blankRange(start, start + selectionLength());
        placeCursor(mask_.nextMaskPosition(start));
    } else {
        placeCursor(selectionStart());
    }
    const int pos = cursor_;
    if (pos >= mask_.width())
        return;
    if (mask_.isLiteral(pos)) {
        placeCursor(mask_.nextMaskPosition(pos + 1));
        return;
    }
    if (mask_.accepts(pos, c)) {
        setAt(pos, mask_.convertCase(pos, c));
        placeCursor(mask_.nextMaskPosition(pos + 1));
        return;
    }
    // A rejected separator typed early jumps over the rest of its group.
    const int literal = mask_.nextLiteral(pos);
    if (literal >= 0 && mask_.position(literal).literal == c)
        placeCursor(literal + 1);
    else
        beep();
}

void MaskEditor::typePlain(char32_t c)
{
    insertPlain(std::u32string(1, c));
}

void MaskEditor::insertPlain(const std::u32string& text)
{
    const int start = selectionStart();
    const int removed = selectionLength();
    std::u32string insert = text;
    if (maxLength_ > 0) {
        const int room = std::max(0, maxLength_ - (textLimit() - removed));
        if (static_cast<int>(insert.size()) > room)
            insert.resize(static_cast<size_t>(room));
    }
    if (insert.empty() && removed == 0)
        return;
    std::u32string result = edit_;
    result.replace(static_cast<size_t>(start), static_cast<size_t>(removed), insert);
    replaceEdit(std::move(result), true);
    placeCursor(start + static_cast<int>(insert.size()));
}

bool MaskEditor::pressKey(Key key, bool shift, bool ctrl)
{
    switch (key) {
    case Key::Escape:
        if (!claimsEscape())
            return false;
        restoreOldValue();
        return true;
    case Key::Enter:
        validate();
        return false;
    case Key::Delete:
    case Key::Backspace:
        if (!mayModify())
            return true;
        if (isMasked())
            deleteMasked(key == Key::Backspace);
        else
            deletePlain(key == Key::Backspace);
        return true;
    case Key::Up:
    case Key::Down:
        return isMasked();
    case Key::Left:
    case Key::Right:
    case Key::Home:
    case Key::End:
        if (isMasked())
            moveMasked(key, shift || ctrl);
        else
            movePlain(key, shift, ctrl);
        return true;
    }
    return false;
}

void MaskEditor::deleteMasked(bool backspace)
{
    if (selectionLength() > 1) {
        const int start = selectionStart();
        blankRange(start, start + selectionLength());
        placeCursor(mask_.nextMaskPosition(start));
        return;
    }
    placeCursor(selectionStart());
    if (!backspace) {
        blankRange(cursor_, cursor_ + 1);
        return;
    }
    const int previous = mask_.previousMaskPosition(cursor_);
    if (previous < 0)
        return;
    placeCursor(previous);
    blankRange(previous, previous + 1);
}

void MaskEditor::deletePlain(bool backspace)
{
    if (selectionLength() == 0) {
        if (backspace ? cursor_ == 0 : cursor_ == textLimit())
            return;
        moveCursor(backspace ? cursor_ - 1 : cursor_ + 1, true);
    }
    insertPlain(std::u32string());
}

// The block cursor is a selection of one character, so Shift extends it to
// two from either side; Ctrl extends like Shift.
void MaskEditor::moveMasked(Key key, bool extend)
{
    const int width = mask_.width();
    if (extend) {
        const int step = key == Key::Left ? -1 : 1;
        if (key == Key::Home || key == Key::End) {
            moveCursor(key == Key::Home ? 0 : width, true);
            return;
        }
        if (selectionLength() == 0 && cursor_ < width) {
            anchor_ = step > 0 ? cursor_ : cursor_ + 1;
            cursor_ += step > 0 ? 1 : 0;
        }
        moveCursor(cursor_ + step, true);
        return;
    }
    switch (key) {
    case Key::Left: {
        const int previous = mask_.previousMaskPosition(cursor_);
        placeCursor(previous < 0 ? cursor_ : previous);
        break;
    }
    case Key::Right:
        placeCursor(cursor_ >= width ? width : mask_.nextMaskPosition(cursor_ + 1));
        break;
    case Key::Home:
        placeCursor(mask_.nextMaskPosition(0));
        break;
    default:
        placeCursor(width);
        break;
    }
}

int MaskEditor::wordStart(int pos) const
{
    while (pos > 0 && edit_[pos - 1] == U' ')
        --pos;
    while (pos > 0 && edit_[pos - 1] != U' ')
        --pos;
    return pos;
}

int MaskEditor::nextWordStart(int pos) const
{
    while (pos < textLimit() && edit_[pos] != U' ')
        ++pos;
    while (pos < textLimit() && edit_[pos] == U' ')
        ++pos;
    return pos;
}

void MaskEditor::movePlain(Key key, bool shift, bool ctrl)
{
    int pos = cursor_;
    switch (key) {
    case Key::Left:
        if (!shift && !ctrl && selectionLength() > 0)
            pos = selectionStart();
        else if (ctrl)
            pos = wordStart(pos);
        else
            pos = std::max(0, pos - 1);
        break;
    case Key::Right:
        if (!shift && !ctrl && selectionLength() > 0)
            pos = selectionStart() + selectionLength();
        else if (ctrl)
            pos = nextWordStart(pos);
        else
            pos = std::min(textLimit(), pos + 1);
        break;
    case Key::Home:
        pos = 0;
        break;
    default:
        pos = textLimit();
        break;
    }
    moveCursor(pos, shift);
}

void MaskEditor::paste(const std::string& text)
{
    if (!mayModify())
        return;
    const std::u32string pasted = UnicodeText::fromUtf8(text);
    if (isMasked())
        pasteMasked(pasted);
    else
        pastePlain(pasted);
}

void MaskEditor::pasteMasked(const std::u32string& pasted)
{
    const int width = mask_.width();
    int pos = selectionStart();
    if (selectionLength() > 1)
        blankRange(pos, pos + selectionLength());
    std::u32string text = edit_;
    for (char32_t c : pasted) {
        // A literal that is not the pasted character stays and is skipped.
        while (pos < width && mask_.isLiteral(pos) && mask_.position(pos).literal != c)
            ++pos;
        if (pos >= width)
            break;
        if (!mask_.isLiteral(pos))
            text[pos] = mask_.accepts(pos, c) ? mask_.convertCase(pos, c) : mask_.blank();
        ++pos;
    }
    replaceEdit(std::move(text), true);
    placeCursor(pos);
}

void MaskEditor::pastePlain(const std::u32string& pasted)
{
    std::u32string clean;
    for (char32_t c : pasted) {
        if (!UnicodeText::isControl(c))
            clean += c;
    }
    insertPlain(clean);
}

std::string MaskEditor::cut()
{
    int start = 0, end = 0;
    effectiveRange(start, end);
    if (start == end || !mayModify())
        return std::string();
    const std::string removed = UnicodeText::toUtf8(edit_.substr(start, end - start));
    if (isMasked()) {
        blankRange(start, end);
        placeCursor(selectionLength() > 0 ? mask_.nextMaskPosition(start) : start);
    } else {
        insertPlain(std::u32string());
    }
    return removed;
}

void MaskEditor::restoreOldValue()
{
    replaceEdit(old_, false);
    modified_ = false;
    placeCursor(isMasked() ? mask_.nextMaskPosition(0) : textLimit());
}

void MaskEditor::enter()
{
    if (reEnter_)
        reEnter_ = false;
    else
        old_ = edit_;
    anchor_ = cursor_;
}

void MaskEditor::validate()
{
    if (!isMasked() || !modified_) {
        reEnter_ = false;
        return;
    }
    const int pos = mask_.firstInvalidPosition(edit_);
    if (pos < 0) {
        reEnter_ = false;
        return;
    }
    beep();
    reEnter_ = true;
    placeCursor(pos);
    mask_.validate(edit_);
}
