#include "helpers.h"

namespace {

// Counts the pixels the collision test reads, through the bitmap's own drawing table.
int reads = 0;
int (*libraryGetpixel)(BITMAP*, int, int);
int countedGetpixel(BITMAP* bmp, int x, int y) { return ++reads, libraryGetpixel(bmp, x, y); }

Bmp* watched(Bmp* bmp)
{
    static GFX_VTABLE table = *bmp->bitmap->vtable;
    libraryGetpixel = bmp->bitmap->vtable->getpixel;
    table.getpixel = countedGetpixel;
    bmp->bitmap->vtable = &table;
    return bmp;
}

} // namespace

TEST(Collision, OnlyOpaquePixelsOnOpaquePixelsTouch)
{
    std::unique_ptr<Bmp> full(watched(opaqueArt(10, 10))), empty(watched(new Bmp(10, 10, false)));
    std::unique_ptr<Bmp> left(artWithRect(10, 10, 0, 0, 4, 9)), right(artWithRect(10, 10, 5, 0, 9, 9));
    std::unique_ptr<Bmp> corner(artWithRect(10, 10, 9, 9, 9, 9)), dot(artWithRect(10, 10, 4, 4, 4, 4));
    struct Case {
        Bmp *a;
        int x, y;
        Bmp* b;
        int otherX, otherY;
        bool touch;
        int pixelsRead;
    };
    const Case cases[] = {
        // Rectangles that share only their last pixel touch; apart, no pixel is read at all.
        {full.get(), 0, 0, full.get(), 9, 9, true, 2},      {full.get(), 9, 9, full.get(), 0, 0, true, 2},
        {full.get(), 0, 0, full.get(), -9, 9, true, 2},     {full.get(), 0, 0, full.get(), 10, 0, false, 0},
        {full.get(), 0, 0, full.get(), 0, -10, false, 0},   {full.get(), 0, 0, full.get(), 10, 10, false, 0},
        // The other bitmap is read only where this one is opaque, and neither past its own edges.
        {empty.get(), 0, 0, full.get(), 5, 5, false, 25},
        {empty.get(), 0, 0, full.get(), 0, 0, false, 100},  {full.get(), 3, 3, empty.get(), 0, 0, false, 98},
        {left.get(), 0, 0, right.get(), 0, 0, false, -1},   {left.get(), 0, 0, right.get(), -1, 0, true, -1},
        {corner.get(), -5, -5, dot.get(), 0, 0, true, -1},  {dot.get(), 0, 0, corner.get(), -5, -5, true, -1},
        {corner.get(), -5, -5, dot.get(), 1, 1, false, -1}, {dot.get(), 2, 2, dot.get(), 2, 2, true, -1},
    };
    for (const Case& c : cases) {
        reads = 0;
        EXPECT_EQ(c.a->collides(c.x, c.y, c.otherX, c.otherY, *c.b), c.touch) << c.x << "," << c.y << " on "
                                                                              << c.otherX << "," << c.otherY;
        if (c.pixelsRead >= 0) {
            EXPECT_EQ(reads, c.pixelsRead);
        }
    }
    // The windowed start-up may leave the mask colour at 0: magenta is opaque then.
    const int savedMask = maskColor;
    maskColor = 0;
    EXPECT_TRUE(empty->collides(0, 0, 0, 0, *empty));
    maskColor = savedMask;
}
