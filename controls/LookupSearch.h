#pragma once
#include <cstdint>
#include <functional>
#include <string>

// The incremental search of the lookup controls: characters typed in quick
// succession are joined into a search text (at most 32 characters) that is
// looked up as the beginning of the shown list texts. A pause of more than
// 2000 ms starts a new search; the time of the last search keystroke is one
// value for all lookup controls of the program.
class LookupSearch {
public:
    static constexpr int resetMilliseconds = 2000;
    static constexpr int maxCharacters = 32;

    // Milliseconds of a monotonic clock. Tests put a hand-set clock in place
    // of the real one; an empty function restores it.
    using Clock = std::function<std::int64_t()>;
    static void setClock(Clock clock);
    static std::int64_t now();

    const std::string& text() const { return text_; }
    void clear() { text_.clear(); }

    enum class Outcome { Ignored, Found, NotFound };
    // One typed character (UTF-8) of a box that can modify. locate(candidate)
    // answers whether a list text starts with the candidate and makes that
    // record current; an error it raises counts as found-nothing but the
    // candidate is kept all the same (a lookup box shows no search errors).
    Outcome type(const std::string& character, const std::function<bool(const std::string&)>& locate);

private:
    std::string text_;
    static std::int64_t lastKeyTime_;
};
