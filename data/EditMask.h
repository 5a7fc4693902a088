#pragma once
#include <string>
#include <vector>

// A parsed edit mask: "pattern;flag;blank", the sections found from the end
// of the text. Every literal and mask character of the pattern is one
// position of the edit text; directives ("!", ">", "<", "\") take none.
// An empty mask text means no mask: a plain edit.
//
// The rules are pure functions of the mask. Texts are Unicode code points;
// the UTF-8 members at the end are conveniences for callers outside the
// editor. "/" and ":" take the separators of RegionalSettings::current() at
// the time the mask is parsed.
class EditMask {
public:
    enum class Case { None, Upper, Lower };

    // One position of the edit text. kind is the pattern character ("0",
    // "9", "#", "L", "l", "A", "a", "C", "c"), or 0 for a literal, whose
    // shown character is then literal.
    struct Position {
        char32_t kind = 0;
        char32_t literal = 0;
        Case letterCase = Case::None;
        bool isLiteral() const { return kind == 0; }
    };

    static constexpr const char* invalidInputMessage = "Invalid input value.  Use escape key to abandon changes";

    EditMask() = default;
    // Parses a mask text (UTF-8). Never fails: any text is some mask.
    explicit EditMask(const std::string& text);

    const std::string& text() const { return text_; }
    // True for the empty mask text; the control is then a plain edit.
    bool empty() const { return text_.empty(); }
    int width() const { return static_cast<int>(positions_.size()); }
    bool saveLiterals() const { return saveLiterals_; }
    char32_t blank() const { return blank_; }
    bool reverse() const { return reverse_; }
    const Position& position(int pos) const { return positions_[pos]; }
    bool isLiteral(int pos) const { return positions_[pos].isLiteral(); }

    // Whether c may be typed at mask position pos (never at a literal).
    bool accepts(int pos, char32_t c) const;
    // c as stored at pos: letters follow the case directive in force there.
    char32_t convertCase(int pos, char32_t c) const;
    // Whether pos must be filled ("0", "L", "A", "C").
    bool isRequired(int pos) const;

    // First mask (non-literal) position at or after pos; width() when none.
    int nextMaskPosition(int pos) const;
    // Last mask position before pos; -1 when none.
    int previousMaskPosition(int pos) const;
    // First literal position after pos; -1 when none.
    int nextLiteral(int pos) const;

    // Setting the text: the edit text for value, with the mask's own
    // save-literals rule (align by literals, or fill positions). The result
    // has exactly width() characters, except that the save-off fill keeps
    // surplus characters at the end (the editor cuts them).
    std::u32string apply(const std::u32string& value, char32_t blank) const;
    // Save-literals-on setting: align value segment by segment at its literals.
    std::u32string alignByLiterals(const std::u32string& value, char32_t blank) const;
    // Save-literals-off setting: fill mask positions from the left (from
    // the right in reverse mode); literals go to their own positions.
    std::u32string fillPositions(const std::u32string& value, char32_t blank) const;

    // Reading, steps 1 to 3: literal positions removed, blanks at the end
    // (start in reverse mode) removed, the others replaced by spaces.
    std::u32string strip(const std::u32string& editText) const;
    // Reading the text of an edit text. With save-literals on the result has
    // the full width, literals included, spaces in unfilled positions.
    std::u32string read(const std::u32string& editText) const;
    // Display formatting of a stored value: setting with a space as blank.
    std::u32string format(const std::u32string& value) const { return apply(value, U' '); }

    // True when no mask position of editText holds a character: each is the
    // blank character or a space. Literals do not count. The empty mask
    // has no positions: only the empty text is blank.
    bool isBlank(const std::u32string& editText) const;

    // The first required position of editText that is not filled; -1 when
    // the text satisfies the mask (always for the empty mask).
    int firstInvalidPosition(const std::u32string& editText) const;
    // Throws EDBEditError(invalidInputMessage, position) on failure.
    void validate(const std::u32string& editText) const;

    // UTF-8 forms of apply (with the mask's blank), read and format.
    std::string editTextFor(const std::string& value) const;
    std::string textOf(const std::string& editText) const;
    std::string displayText(const std::string& value) const;
    // Whether a stored value, formatted for display, fills no mask position.
    bool isBlankValue(const std::string& value) const;

private:
    void parseSections(const std::u32string& mask);
    void parsePattern(const std::u32string& pattern);
    void indexPositions();
    // Number of mask positions in [from, to).
    int maskCount(int from, int to) const;
    template <class Text>
    Text alignByLiteralsIn(const Text& value, typename Text::value_type blank) const;

    std::string text_;
    std::vector<Position> positions_;
    // By position, and one past the last (see indexPositions).
    std::vector<int> nextMask_{0}, previousMask_{-1}, nextLiteral_{-1};
    bool saveLiterals_ = true;
    bool reverse_ = false;
    char32_t blank_ = U'_';
    size_t patternLength_ = 0;
};
