#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

#include "art.h"
#include "world/ball_monster.h"

namespace {

using Ball = BallMonster::Ball;

// While set, every pointer given back to operator delete is recorded here.
std::vector<void*>* released = nullptr;

double degrees(double d) { return d * M_PI / 180.0; }

// A lone ball at (x, y) heading the given way, measured against a circle.
Ball ballAt(float x, float y, int heading)
{
    Ball ball(0, 0, nullptr);
    ball.x = x, ball.y = y, ball.heading = heading;
    return ball;
}

} // namespace

void* operator new(std::size_t size)
{
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

namespace {

void recordAndFree(void* p)
{
    if (released && p) {
        std::vector<void*>* record = released;
        released = nullptr;  // the vector's own growth is not recorded
        record->push_back(p);
        released = record;
    }
    std::free(p);
}

} // namespace

void operator delete(void* p) noexcept { recordAndFree(p); }
void operator delete(void* p, std::size_t) noexcept { recordAndFree(p); }

TEST(BallMonster, StartsAsASquareOfTwoHundredAndFiftyBallsAroundItsCentre)
{
    BallMonster monster;
    EXPECT_EQ(monster.x, 270);
    EXPECT_EQ(monster.y, 50);
    EXPECT_EQ(monster.size, 100);
    ASSERT_NE(monster.ballImage, nullptr);
    ASSERT_EQ(monster.balls.size(), 250u);
    std::vector<int> headings;
    for (const Ball* ball : monster.balls) {
        EXPECT_EQ(ball->x, std::floor(ball->x));
        EXPECT_EQ(ball->y, std::floor(ball->y));
        EXPECT_GE(ball->x, 220);
        EXPECT_LE(ball->x, 319);
        EXPECT_GE(ball->y, 0);
        EXPECT_LE(ball->y, 99);
        EXPECT_GE(ball->heading, 0);
        EXPECT_LE(ball->heading, 359);
        EXPECT_EQ(ball->speed, 1.5f);
        EXPECT_EQ(ball->image, monster.ballImage);
        headings.push_back(ball->heading);
    }
    EXPECT_NE(headings.front(), headings.back());
}

TEST(BallMonster, EveryBallStartsInsideAndSwingsBackAndForth)
{
    BallMonster monster;
    std::vector<Ball> start;
    for (const Ball* ball : monster.balls)
        start.push_back(*ball);

    monster.update();
    EXPECT_EQ(monster.y, 51);
    auto ball = monster.balls.begin();
    for (const Ball& before : start) {
        const Ball& now = **ball++;
        EXPECT_EQ(now.heading, before.heading - 180);
        // 1.5 pixels straight against the starting heading.
        const double along = (now.x - before.x) * std::cos(degrees(before.heading)) +
                             (now.y - before.y) * std::sin(degrees(before.heading));
        EXPECT_NEAR(along, -1.5, 1e-4);
        EXPECT_NEAR(std::hypot(now.x - before.x, now.y - before.y), 1.5, 1e-4);
    }

    monster.update();
    EXPECT_EQ(monster.y, 52);
    ball = monster.balls.begin();
    for (const Ball& before : start) {
        const Ball& now = **ball++;
        EXPECT_EQ(now.heading, before.heading - 360);
        EXPECT_NEAR(now.x, before.x, 1e-3);
        EXPECT_NEAR(now.y, before.y, 1e-3);
    }
}

TEST(BallMonsterBall, TheCircleIncludesItsEdgeAndMeasuresWholePixels)
{
    Ball onEdge = ballAt(60, 80, 0);  // 100 pixels from (0, 0)
    onEdge.update(0, 0, 100);
    EXPECT_EQ(onEdge.heading, -180);
    EXPECT_FLOAT_EQ(onEdge.x, 58.5f);
    EXPECT_NEAR(onEdge.y, 80, 1e-5);

    Ball beyond = ballAt(60, 81, 0);  // 100.8 pixels away: wanders by -9 to +10 degrees
    beyond.update(0, 0, 100);
    EXPECT_GE(beyond.heading, -9);
    EXPECT_LE(beyond.heading, 10);
    EXPECT_NEAR(std::hypot(beyond.x - 60, beyond.y - 81), 1.5, 1e-5);

    // With a radius of 0 only a whole-pixel distance of 0 is inside.
    for (float x : {269.9f, 270.9f}) {
        Ball within = ballAt(x, 10.9f, 0);
        within.update(270, 10, 0);
        EXPECT_EQ(within.heading, -180) << x;
    }
    Ball outside = ballAt(271, 10, 0);
    outside.update(270, 10, 0);
    EXPECT_NE(outside.heading, -180);
}

TEST(BallMonsterBall, HeadingsGrowClockwiseFromRight)
{
    Ball down = ballAt(5, 5, 270);  // reversed to 90 inside the circle
    down.update(5, 5, 10);
    EXPECT_EQ(down.heading, 90);
    EXPECT_FLOAT_EQ(down.x, 5);
    EXPECT_FLOAT_EQ(down.y, 6.5f);

    Ball right = ballAt(5, 5, 180);  // reversed to 0
    right.update(5, 5, 10);
    EXPECT_EQ(right.heading, 0);
    EXPECT_FLOAT_EQ(right.x, 6.5f);
    EXPECT_FLOAT_EQ(right.y, 5);
}

TEST(BallMonsterBall, FarBelowTheCentreIsOutsideWhereThirtyTwoBitSquaresWouldWrap)
{
    // 65536 squared is 2 to the 32nd: wrapped to 0 it would read as the centre.
    Ball far = ballAt(270, 0, 0);
    far.update(270, 65536, 100);
    EXPECT_GE(far.heading, -9);
    EXPECT_LE(far.heading, 10);
    Ball farthest = ballAt(270, 0, 0);
    farthest.update(270, INT_MAX, 100);
    EXPECT_GE(farthest.heading, -9);
    EXPECT_TRUE(std::isfinite(farthest.y));
    Ball near = ballAt(270, 65536, 0);
    near.update(270, 65586, 100);
    EXPECT_EQ(near.heading, -180);
}

TEST(BallMonster, KeepsItsRulesLongAfterTheSquaresOutgrowThirtyTwoBits)
{
    BallMonster monster;
    for (int tick = 0; tick < 200000; ++tick)
        monster.update();
    EXPECT_EQ(monster.y, 200050);
    std::vector<Ball> before;
    for (const Ball* ball : monster.balls)
        before.push_back(*ball);
    monster.update();
    auto ball = monster.balls.begin();
    for (const Ball& was : before) {
        const Ball& now = **ball++;
        ASSERT_TRUE(std::isfinite(now.x) && std::isfinite(now.y));
        const long double dx = std::trunc(std::fabs(270.0L - was.x));
        const long double dy = std::trunc(std::fabs(200051.0L - was.y));
        const int turn = now.heading - was.heading;
        if (dx * dx + dy * dy <= 100.0L * 100.0L)
            EXPECT_EQ(turn, -180);
        else
            EXPECT_TRUE(turn >= -9 && turn <= 10) << turn;
        EXPECT_NEAR(std::hypot(now.x - was.x, now.y - was.y), 1.5, 0.1);  // floats far from 0 are coarse
    }
}

TEST(BallMonsterBall, DrawsAtItsPositionTruncatedTowardZero)
{
    Bmp* const savedBuffer = screenBuffer;
    screenBuffer = new Bmp(20, 20, false);
    Bmp* sprite = artWithRect(4, 4, 0, 0, 0, 3);  // only the left column is opaque
    Ball ball = ballAt(-0.5f, 3.7f, 0);
    ball.image = sprite;
    ball.draw();
    const int red = getpixel(sprite->bitmap, 0, 0);
    EXPECT_EQ(getpixel(screenBuffer->bitmap, 0, 3), red);
    EXPECT_EQ(getpixel(screenBuffer->bitmap, 0, 2), maskColor);
    EXPECT_EQ(getpixel(screenBuffer->bitmap, 1, 3), maskColor);
    Ball gone = ballAt(-1000, 5000, 0);
    gone.image = sprite;
    gone.draw();
    delete sprite;
    delete screenBuffer;
    screenBuffer = savedBuffer;
}

TEST(BallMonster, DestructionReleasesTheSpriteAndEveryBallOnce)
{
    auto* monster = new BallMonster;
    std::vector<void*> owned(monster->balls.begin(), monster->balls.end());
    owned.push_back(monster->ballImage);
    std::vector<void*> freed;
    freed.reserve(1000);
    released = &freed;
    delete monster;
    released = nullptr;
    for (void* p : owned)
        EXPECT_EQ(std::count(freed.begin(), freed.end(), p), 1);
}
