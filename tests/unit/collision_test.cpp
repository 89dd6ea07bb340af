#include "helpers.h"

TEST(Collision, OnlyOpaquePixelsOnOpaquePixelsTouch)
{
    std::unique_ptr<Bmp> full(opaqueArt(10, 10)), empty(new Bmp(10, 10, false));
    std::unique_ptr<Bmp> left(artWithRect(10, 10, 0, 0, 4, 9)), right(artWithRect(10, 10, 5, 0, 9, 9));
    std::unique_ptr<Bmp> corner(artWithRect(10, 10, 9, 9, 9, 9)), dot(artWithRect(10, 10, 4, 4, 4, 4));
    struct Case {
        Bmp* a;
        int x, y;
        Bmp* b;
        int otherX, otherY;
        bool touch;
    };
    const Case cases[] = {
        // Rectangles that share only their last pixel touch.
        {full.get(), 0, 0, full.get(), 9, 9, true},
        {full.get(), 9, 9, full.get(), 0, 0, true},
        {full.get(), 0, 0, full.get(), -9, 9, true},
        {full.get(), 0, 0, full.get(), 10, 0, false},
        {full.get(), 0, 0, full.get(), 0, -10, false},
        {full.get(), 0, 0, full.get(), 10, 10, false},
        // Only opaque on opaque touches: a pixel past either bitmap's edge is none of its own.
        {empty.get(), 0, 0, full.get(), 5, 5, false},
        {empty.get(), 0, 0, full.get(), 0, 0, false},
        {full.get(), 3, 3, empty.get(), 0, 0, false},
        {left.get(), 0, 0, right.get(), 0, 0, false},
        {left.get(), 0, 0, right.get(), -1, 0, true},
        {corner.get(), -5, -5, dot.get(), 0, 0, true},
        {dot.get(), 0, 0, corner.get(), -5, -5, true},
        {corner.get(), -5, -5, dot.get(), 1, 1, false},
        {dot.get(), 2, 2, dot.get(), 2, 2, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.a->collides(c.x, c.y, c.otherX, c.otherY, *c.b), c.touch)
            << c.x << "," << c.y << " on " << c.otherX << "," << c.otherY;
    }
    // The windowed start-up may leave the mask colour at 0: magenta is opaque then.
    const int savedMask = maskColor;
    maskColor = 0;
    EXPECT_TRUE(empty->collides(0, 0, 0, 0, *empty));
    maskColor = savedMask;
}
