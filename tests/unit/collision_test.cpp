#include <allegro.h>
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "art.h"

namespace {

// Records every pixel the collision test reads, through the bitmaps' own drawing table.
class PixelReads {
public:
    explicit PixelReads(std::vector<Bmp*> watched)
    {
        for (Bmp* bmp : watched) {
            tables.push_back(std::make_unique<GFX_VTABLE>(*bmp->bitmap->vtable));
            original = bmp->bitmap->vtable->getpixel;
            tables.back()->getpixel = record;
            bmp->bitmap->vtable = tables.back().get();
        }
        reads = {};
    }

    static std::vector<std::pair<BITMAP*, int>> reads;  // bitmap and x + 1000 * y

private:
    static int record(BITMAP* bmp, int x, int y)
    {
        reads.emplace_back(bmp, x + 1000 * y);
        return original(bmp, x, y);
    }

    static int (*original)(BITMAP*, int, int);
    std::vector<std::unique_ptr<GFX_VTABLE>> tables;
};

std::vector<std::pair<BITMAP*, int>> PixelReads::reads;
int (*PixelReads::original)(BITMAP*, int, int);

} // namespace

TEST(Collision, OpaqueSquaresMeetOnTheirLastSharedPixelAndNoPixelIsReadWhenApart)
{
    std::unique_ptr<Bmp> a(opaqueArt(10, 10)), b(opaqueArt(10, 10));
    PixelReads watch({a.get(), b.get()});

    EXPECT_TRUE(a->collides(0, 0, 9, 9, *b));
    EXPECT_TRUE(b->collides(9, 9, 0, 0, *a));
    EXPECT_TRUE(a->collides(0, 0, -9, 9, *b));
    EXPECT_FALSE(a->collides(0, 0, 10, 0, *b));
    EXPECT_FALSE(a->collides(0, 0, 0, -10, *b));
    EXPECT_FALSE(a->collides(0, 0, 10, 10, *b));

    // The four hits scanned one shared pixel each; the misses read nothing at all.
    const std::vector<std::pair<BITMAP*, int>> expected = {
        {a->bitmap, 9 + 9000}, {b->bitmap, 0}, {b->bitmap, 0}, {a->bitmap, 9 + 9000},
        {a->bitmap, 9000},     {b->bitmap, 9},
    };
    EXPECT_EQ(PixelReads::reads, expected);
}

TEST(Collision, TransparentPixelsNeverTouch)
{
    // Opaque left half against opaque right half: their rectangles overlap, their pixels do not.
    std::unique_ptr<Bmp> left(artWithRect(10, 10, 0, 0, 4, 9)), right(artWithRect(10, 10, 5, 0, 9, 9));
    std::unique_ptr<Bmp> empty(new Bmp(10, 10, false)), full(opaqueArt(10, 10));
    EXPECT_FALSE(left->collides(0, 0, 0, 0, *right));
    EXPECT_TRUE(left->collides(0, 0, -1, 0, *right));

    PixelReads watch({empty.get(), full.get()});
    EXPECT_FALSE(empty->collides(0, 0, 0, 0, *full));
    // The other bitmap is read only where this one is opaque: never behind the empty one.
    EXPECT_EQ(PixelReads::reads.size(), 100u);
    for (const auto& read : PixelReads::reads)
        EXPECT_EQ(read.first, empty->bitmap);
    PixelReads::reads.clear();
    EXPECT_FALSE(full->collides(3, 3, 0, 0, *empty));
    EXPECT_EQ(PixelReads::reads.size(), 2u * 7 * 7);  // the 7 x 7 overlap, both bitmaps at each pixel
}

TEST(Collision, NegativePositionsCompareTheSharedAreaOnly)
{
    // A's only opaque pixel lands on screen (4, 4).
    std::unique_ptr<Bmp> a(artWithRect(10, 10, 9, 9, 9, 9));
    std::unique_ptr<Bmp> hit(artWithRect(10, 10, 4, 4, 4, 4)), miss(artWithRect(10, 10, 5, 5, 5, 5));
    EXPECT_TRUE(a->collides(-5, -5, 0, 0, *hit));
    EXPECT_FALSE(a->collides(-5, -5, 0, 0, *miss));
    EXPECT_TRUE(hit->collides(0, 0, -5, -5, *a));
}

TEST(Collision, UsesTheMaskColourOfTheCurrentMode)
{
    const int savedMask = maskColor;
    std::unique_ptr<Bmp> a(new Bmp(4, 4, false)), b(new Bmp(4, 4, false));
    EXPECT_FALSE(a->collides(0, 0, 0, 0, *b));
    maskColor = 0;  // the windowed start-up leaves the mask colour at 0: magenta is opaque then
    EXPECT_TRUE(a->collides(0, 0, 0, 0, *b));
    maskColor = savedMask;
}
