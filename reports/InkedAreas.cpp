#include "InkedAreas.h"

#include <algorithm>

void InkedAreas::add(const Area& area)
{
    areas_.push_back(area);
    lowest_.push_back(std::max(lowest_.empty() ? area.bottom : lowest_.back(), area.bottom));
}

// A page is drawn top down: what ends above the area is passed over at once.
bool InkedAreas::touches(const Area& area) const
{
    if (area.left >= area.right || area.top >= area.bottom)
        return false;
    const auto from = std::upper_bound(lowest_.begin(), lowest_.end(), area.top) - lowest_.begin();
    return std::any_of(areas_.begin() + from, areas_.end(), [&](const Area& a) {
        return a.left < a.right && a.top < a.bottom && a.left < area.right && area.left < a.right &&
               a.top < area.bottom && area.top < a.bottom;
    });
}
