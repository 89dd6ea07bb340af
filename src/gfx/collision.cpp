// The pixel-exact collision test of Bmp.
#include <algorithm>

#include "gfx/bmp.h"
#include "platform/display.h"

bool Bmp::collides(int x, int y, int otherX, int otherY, const Bmp& other) const
{
    BITMAP* a = bitmap;
    BITMAP* b = other.bitmap;
    // Inclusive bounds: rectangles sharing only an edge column or row do overlap.
    if (x > otherX + b->w - 1 || x + a->w - 1 < otherX || y > otherY + b->h - 1 || y + a->h - 1 < otherY)
        return false;
    // The overlap in this bitmap's coordinates; the other's are these plus a fixed offset.
    const int left = std::max(0, otherX - x);
    const int right = std::min(x + a->w - 1, otherX + b->w - 1) - x;
    const int top = std::max(0, otherY - y);
    const int bottom = std::min(y + a->h - 1, otherY + b->h - 1) - y;
    const int offsetX = x - otherX;
    const int offsetY = y - otherY;
    for (int row = top; row <= bottom; ++row)
        for (int column = left; column <= right; ++column)
            if (getpixel(a, column, row) != maskColor && getpixel(b, column + offsetX, row + offsetY) != maskColor)
                return true;
    return false;
}
