#pragma once
#include "EditMask.h"

#include <functional>
#include <string>

// The editing model behind a masked single-line edit: edit text, cursor,
// selection, old value and the modified and re-enter flags. Widgets and the
// grid's in-place editor forward keys, pastes, cuts, clicks and focus
// changes here and paint what it holds; nothing here knows about windows.
//
// With a mask the edit text always has exactly one character per position
// (a literal, a typed character or the blank), nothing is ever inserted or
// shifted, and the cursor covers one character: it is a position from 0 to
// width() (width() means after the last position, where typing does
// nothing). With the empty mask it is a plain edit: typing inserts, and
// maxLength() (0 = no limit) bounds what the user can type or paste.
//
// Before every change it is about to make (typing, Backspace, Delete, cut,
// paste) it asks its owner through the modify check; a refusal drops the key
// silently, an exception from the check propagates. It never plays sounds:
// it calls the beep handler and counts the warnings.
class MaskEditor {
public:
    enum class Key { Left, Right, Home, End, Up, Down, Delete, Backspace, Enter, Escape };

    MaskEditor() = default;

    // Sets the mask. A different mask reformats the current content: it is
    // read with the old mask (steps 1 to 3) and filled into the new one's
    // positions. Counts as a program change: old value = edit text,
    // modified cleared. The plain limit becomes the new width (0, no limit,
    // for the empty mask).
    void setEditMask(const std::string& text);
    const std::string& editMask() const { return mask_.text(); }
    const EditMask& mask() const { return mask_; }
    bool isMasked() const { return !mask_.empty(); }
    // The input limit: the mask's width while masked, else the plain limit.
    int maxLength() const { return isMasked() ? mask_.width() : maxLength_; }
    // The limit of the plain edit; kept but ignored while masked. 0 = none.
    void setMaxLength(int length) { maxLength_ = length < 0 ? 0 : length; }
    int plainMaxLength() const { return maxLength_; }

    // Program changes. setText applies the setting rule (padded or cut to
    // the width, never fails); setEditText takes the raw edit text, padded
    // or cut, literals kept in place. Both make the old value the new edit
    // text, clear the modified flag and put the cursor on the first mask
    // position (at the end of a plain text).
    void setText(const std::string& value);
    void setEditText(const std::string& editText);
    // The text read back by the mask (the edit text itself when plain).
    std::string text() const;
    std::string editText() const;
    const std::u32string& edit() const { return edit_; }
    // Nothing entered: an empty plain text, or a masked one whose every
    // mask position is blank (text() is never empty then).
    bool isBlank() const { return mask_.isBlank(edit_); }
    std::string oldValue() const;

    // Cursor and selection. The selection runs between the anchor and the
    // cursor; selectionLength() is 0 when there is none (the block cursor).
    int cursor() const { return cursor_; }
    int selectionStart() const { return cursor_ < anchor_ ? cursor_ : anchor_; }
    int selectionLength() const { return cursor_ < anchor_ ? anchor_ - cursor_ : cursor_ - anchor_; }
    // Places the cursor (a click) or moves it keeping the anchor (a drag),
    // clamped to the text.
    void moveCursor(int pos, bool extend = false);
    void selectAll();
    // The selected characters; with a mask and no selection, the character
    // under the cursor.
    std::string selectedText() const;

    bool modified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // Set by a failed validation until the next entry or a passed validation.
    bool reEnter() const { return reEnter_; }
    // Warning sounds asked for since creation.
    int beepCount() const { return beeps_; }

    // A typed character (Escape, Enter and Backspace as code 27, 13 and 8
    // are handed to pressKey). Returns whether the character was consumed:
    // a masked edit consumes every character it is given; other control
    // characters are never consumed and change nothing.
    bool typeChar(char32_t c);
    // Types every character of a UTF-8 text in turn.
    void typeText(const std::string& text);
    // A key. Returns whether it was consumed. Enter validates and is not
    // consumed (a dialog may still act on it); Escape is consumed only when
    // it restored the old value. May throw EDBEditError (Enter) or whatever
    // the modify check throws.
    bool pressKey(Key key, bool shift = false, bool ctrl = false);
    // Pastes a UTF-8 text at the cursor: with a mask, each character is tried
    // at its position (a rejected one leaves the blank), stopping at the
    // width; the cursor ends after the last pasted character.
    void paste(const std::string& text);
    // Deletes the selection (with a mask, the character under the cursor
    // when nothing is selected) and returns what was deleted for the
    // clipboard; returns "" and changes nothing when it may not modify.
    std::string cut();

    // Whether Escape belongs to this edit now: masked and modified.
    bool claimsEscape() const { return isMasked() && modified_; }
    // Escape: the old value back, modified cleared.
    void restoreOldValue();

    // Focus entering: the edit text becomes the old value, unless the focus
    // returns after a failed validation. The selection collapses to the
    // cursor.
    void enter();
    // Focus leaving: validates.
    void exit() { validate(); }
    // When masked and modified: the first required position that is not
    // filled asks for a warning, sets the re-enter flag, gets the cursor and
    // raises EDBEditError with that position. Otherwise clears re-enter.
    void validate();

    void setModifyCheck(std::function<bool()> check) { modifyCheck_ = std::move(check); }
    void setBeepHandler(std::function<void()> handler) { beepHandler_ = std::move(handler); }
    // Called after every change of the edit text, by the user or the program.
    void setChangeHandler(std::function<void()> handler) { changeHandler_ = std::move(handler); }

private:
    bool mayModify();
    void beep();
    void replaceEdit(std::u32string text, bool byUser);
    void setByProgram(std::u32string text);
    std::u32string fitToMask(std::u32string text) const;
    void placeCursor(int pos);
    int textLimit() const { return static_cast<int>(edit_.size()); }
    // The range a Delete or Cut acts on: the selection or the block.
    void effectiveRange(int& start, int& end) const;
    void blankRange(int start, int end);
    void setAt(int pos, char32_t c);
    void editedInPlace();

    void typeMasked(char32_t c);
    void typePlain(char32_t c);
    void deleteMasked(bool backspace);
    void deletePlain(bool backspace);
    void moveMasked(Key key, bool extend);
    void movePlain(Key key, bool shift, bool ctrl);
    int wordStart(int pos) const;
    int nextWordStart(int pos) const;
    void pasteMasked(const std::u32string& text);
    void pastePlain(const std::u32string& text);
    void insertPlain(const std::u32string& text);

    EditMask mask_;
    std::u32string edit_;
    std::u32string old_;
    int cursor_ = 0;
    int anchor_ = 0;
    int maxLength_ = 0;
    bool modified_ = false;
    bool readOnly_ = false;
    bool reEnter_ = false;
    int beeps_ = 0;
    std::function<bool()> modifyCheck_;
    std::function<void()> beepHandler_;
    std::function<void()> changeHandler_;
};
