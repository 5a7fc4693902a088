#pragma once
#include <optional>
#include <string>

// Which history rows to read: those of one record key (all when none), made
// at or after since (a UTC date or time in the history's own text form;
// empty: from the beginning). Newest entry first, its fields in table order.
struct HistoryQuery {
    std::optional<std::string> key;
    std::string since;
};
