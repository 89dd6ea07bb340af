#include <allegro.h>
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "art.h"
#include "fatal.h"
#include "platform/keyboard.h"
#include "world/obj.h"
#include "world/player.h"

namespace {

// Opaque 10 x 10 objects in the game's object list, which each test leaves empty.
class Objects : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        saveArt("obj_square.bmp", opaqueArt(10, 10));
        saveArt("obj_wall.bmp", opaqueArt(10, 100));
    }
    void TearDown() override { objects.clear(); }

    Obj& add(int x, int y, const char* file = "obj_square.bmp")
    {
        owned.emplace_back(new Obj(file, x, y));
        objects.push_back(owned.back().get());
        return *owned.back();
    }

    std::vector<std::unique_ptr<Obj>> owned;
};

std::pair<int, int> at(const Obj& o) { return {o.x, o.y}; }

} // namespace

TEST_F(Objects, ALoneObjectMovesFreelyInEveryDirection)
{
    Obj& lone = add(0, 0);
    const std::pair<int, int> after[] = {{0, -2}, {2, -4}, {4, -4}, {6, -2}, {6, 0}, {4, 2}, {2, 2}, {0, 0}, {0, 0}};
    for (int d = N; d <= NONE; ++d) {
        lone.move(static_cast<Dir>(d), 2);
        EXPECT_EQ(at(lone), after[d]) << "direction " << d;
    }
}

TEST_F(Objects, ABlockedStepIsRefusedWholeNeverShortened)
{
    Obj& mover = add(0, 0);
    add(13, 0);  // three free columns, 10 to 12
    mover.move(E, 5);
    EXPECT_EQ(mover.x, 0);
    mover.move(E, 3);
    EXPECT_EQ(mover.x, 3);
    mover.move(E, 1);
    EXPECT_EQ(mover.x, 3);
    EXPECT_FALSE(mover.coll(E, 0));
    EXPECT_TRUE(mover.coll(E, 1));
    EXPECT_FALSE(mover.coll(E, -20));
}

TEST_F(Objects, DiagonalsTestEachAxisFromWhereTheObjectIs)
{
    Obj& mover = add(0, 0);
    Obj& blocker = add(11, 0);  // right of the mover: the step right is blocked
    mover.move(NE, 2);
    EXPECT_EQ(at(mover), std::make_pair(0, -2));

    blocker.x = 0, blocker.y = -13;  // now above it
    mover.move(NE, 2);
    EXPECT_EQ(at(mover), std::make_pair(2, -2));

    add(13, -2);  // right as well: both axes blocked
    mover.move(NE, 2);
    EXPECT_EQ(at(mover), std::make_pair(2, -2));
}

TEST_F(Objects, FreeAxesMoveDiagonallyEvenOntoAnotherObject)
{
    Obj& mover = add(0, 0);
    Obj& corner = add(11, -11);
    mover.move(NE, 2);
    EXPECT_EQ(at(mover), std::make_pair(2, -2));
    EXPECT_TRUE(mover.image->collides(mover.x, mover.y, corner.x, corner.y, *corner.image));
    // Overlapping now: every step that keeps them overlapping is refused, NONE never collides.
    mover.move(N, 1);
    mover.move(E, 1);
    EXPECT_EQ(at(mover), std::make_pair(2, -2));
    EXPECT_FALSE(mover.coll(NONE, 0));
    mover.move(S, 1);
    EXPECT_EQ(at(mover), std::make_pair(2, -1));
}

TEST_F(Objects, TheTickUnlinksDeadObjectsAndStillUpdatesTheNext)
{
    struct Counted : Obj {
        Counted(bool dies) : Obj("obj_square.bmp", 0, 0), dies(dies) {}
        void update() override { ++updates, dead = dies; }
        bool dies;
        int updates = 0;
    };
    Counted first(false), dying(true), next(false), last(true);
    objects = {&first, &dying, &next, &last};
    updateObjects();
    EXPECT_EQ((std::list<Obj*>{&first, &next}), objects);
    updateObjects();
    // Unlinked objects are still alive and were updated once only.
    EXPECT_EQ(first.updates, 2);
    EXPECT_EQ(dying.updates, 1);
    EXPECT_EQ(next.updates, 2);
    EXPECT_EQ(last.updates, 1);
}

TEST_F(Objects, ThePlayerStepsOnePixelPerTickTheWayTheArrowsPoint)
{
    if (!keyboard) {
        Keyboard::installed = false;  // no keyboard driver without a display: key is ours to write
        keyboard = new Keyboard;
    }
    Player player;
    objects.push_back(&player);
    EXPECT_EQ(at(player), std::make_pair(292, 440));
    auto hold = [&](int arrowA, int arrowB, int ticks) {
        key[arrowA] = key[arrowB] = 1;
        for (int i = 0; i < ticks; ++i)
            updateObjects();
        key[arrowA] = key[arrowB] = 0;
    };
    hold(KEY_RIGHT, KEY_RIGHT, 240);
    EXPECT_EQ(at(player), std::make_pair(532, 440));
    hold(KEY_UP, KEY_LEFT, 10);
    EXPECT_EQ(at(player), std::make_pair(522, 430));
    hold(KEY_LEFT, KEY_RIGHT, 10);
    EXPECT_EQ(at(player), std::make_pair(522, 430));
    // A wall just right of the ship's rightmost opaque column: Up with Right climbs along it.
    BITMAP* ship = player.image->bitmap;
    int rightmost = 0;
    for (int y = 0; y < ship->h; ++y)
        for (int x = 0; x < ship->w; ++x)
            if (getpixel(ship, x, y) != maskColor && x > rightmost)
                rightmost = x;
    add(522 + rightmost + 1, 380, "obj_wall.bmp");
    hold(KEY_UP, KEY_RIGHT, 10);
    EXPECT_EQ(at(player), std::make_pair(522, 420));
}

TEST_F(Objects, BadDirectionsAreFatal)
{
    Obj& o = add(0, 0);
    o.move(NE, 1);
    EXPECT_FATAL(o.coll(NE, 1), "Non-cardinal direction passed to Obj::coll ( Dir, int ).");
    EXPECT_FATAL(o.coll(static_cast<Dir>(9), 1), "Non-cardinal direction passed to Obj::coll ( Dir, int ).");
    EXPECT_FATAL(o.move(static_cast<Dir>(9), 1), "Non-cardinal direction passed to Obj::move ( Dir, int ).");
    EXPECT_FATAL(o.move(static_cast<Dir>(-1), 1), "Non-cardinal direction passed to Obj::move ( Dir, int ).");
}
