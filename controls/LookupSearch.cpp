#include "LookupSearch.h"

#include <chrono>
#include <exception>
#include <limits>

namespace {

LookupSearch::Clock& clockSlot()
{
    static LookupSearch::Clock clock;
    return clock;
}

int characterCount(const std::string& utf8)
{
    int count = 0;
    for (unsigned char c : utf8)
        count += (c & 0xC0) != 0x80;
    return count;
}

}  // namespace

// Far enough in the past that the first keystroke always starts afresh.
std::int64_t LookupSearch::lastKeyTime_ = std::numeric_limits<std::int64_t>::min() / 2;

void LookupSearch::setClock(Clock clock)
{
    clockSlot() = std::move(clock);
}

std::int64_t LookupSearch::now()
{
    if (clockSlot())
        return clockSlot()();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

LookupSearch::Outcome LookupSearch::type(const std::string& character,
                                         const std::function<bool(const std::string&)>& locate)
{
    const std::int64_t time = now();
    if (time - lastKeyTime_ > resetMilliseconds)
        text_.clear();
    lastKeyTime_ = time;
    if (characterCount(text_) >= maxCharacters)
        return Outcome::Ignored;
    const std::string candidate = text_ + character;
    bool found = false;
    try {
        found = locate(candidate);
    } catch (const std::exception&) {
        text_ = candidate;
        return Outcome::NotFound;
    }
    if (found)
        text_ = candidate;
    return found ? Outcome::Found : Outcome::NotFound;
}
