#pragma once
#include <array>
#include <bitset>

// The navigator's buttons, in their fixed order.
enum TNavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };

constexpr int navigateButtonCount = 10;
using TNavButtonSet = std::bitset<navigateButtonCount>;

// All ten, the default of VisibleButtons.
inline TNavButtonSet allNavigateButtons()
{
    return TNavButtonSet().set();
}
