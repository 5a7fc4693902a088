#pragma once
#include <cstdint>
#include <vector>

// Where something has been drawn on a page so far, roughly: a white fill
// where nothing has been drawn would paint the white page white, and is left
// out by whoever draws (every band and text of a report fills white first).
// Areas are in page pixels, right and bottom edges excluded.
class InkedAreas {
public:
    struct Area {
        std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    };

    void add(const Area& area);
    bool touches(const Area& area) const;

private:
    std::vector<Area> areas_;
    std::vector<std::int64_t> lowest_;  // the lowest bottom of areas_ up to each
};
