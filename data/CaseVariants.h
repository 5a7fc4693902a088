#pragma once
#include <string>
#include <vector>

// Every character that TextCompare folds to the same lower case as a given
// one: for "i" that is "i", "I" and the dotted capital I; for "k" also the
// Kelvin sign. A search that must match folded text through an index that
// folds less (or nothing) looks up each of these spellings.
class CaseVariants {
public:
    // c and every other character of the same fold, in code point order.
    static std::vector<char32_t> of(char32_t c);

    // The spellings of the first characters of prefix (as many as keep their
    // number at most limit) that an index distinguishes, one per distinct
    // spelling: with asciiFolded the index already equates A-Z with a-z.
    // Every text whose first characters fold like prefix's begins, in the
    // index's comparison, with one of them. Returned with how many
    // characters they cover; empty when prefix is empty.
    static std::vector<std::string> spellings(const std::string& prefix, bool asciiFolded, size_t limit,
                                              size_t& covered);
};
