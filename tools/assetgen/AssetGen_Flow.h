#pragma once

#include <algorithm>
#include <utility>

namespace AssetGen
{

// Lays boxes out left to right on a review page, wrapping to a new row at
// the page's width.
struct Flow
{
    int pageWidth;
    int margin;
    int x = margin;
    int y = margin;
    int rowHeight = 0;

    std::pair<int, int> Place(int width, int height)
    {
        if (x + width > pageWidth - margin && x > margin)
        {
            NewRow();
        }
        const std::pair<int, int> at{x, y};
        x += width + margin;
        rowHeight = std::max(rowHeight, height);
        return at;
    }

    void NewRow()
    {
        y += rowHeight + margin;
        x = margin;
        rowHeight = 0;
    }
};

} // namespace AssetGen
