#pragma once

#include <cstdint>

// The kit's table cell: the colour index of the background a row is about to be drawn on,
// written by the table before each draw (0 not selected, 2 selected in the focused table,
// 3 selected in a table without focus).
class RKTableCell {
public:
    virtual ~RKTableCell() = default;
    std::int32_t rkColorIndex = 0;
};
