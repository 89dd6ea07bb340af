#include "helpers.h"

namespace {

using Ball = BallMonster::Ball;

// A lone ball at (x, y) heading the given way, measured against a circle.
Ball ballAt(float x, float y, int heading)
{
    Ball ball(0, 0, nullptr);
    ball.x = x, ball.y = y, ball.heading = heading;
    return ball;
}

}  // namespace

TEST(BallMonster, StartsAsASquareOfTwoHundredAndFiftyBallsThatSwingBackAndForth)
{
    std::vector<Ball> start;
    auto* monster = new BallMonster;
    EXPECT_EQ(monster->x * 1000000 + monster->y * 1000 + monster->size, 270050100);
    ASSERT_EQ(monster->balls.size(), 250u);
    for (const Ball* ball : monster->balls) {
        EXPECT_EQ(ball->speed, 1.5f);
        EXPECT_EQ(ball->image, monster->ballImage);
        start.push_back(*ball);
    }
    // Every ball starts inside the circle: the first tick reverses it, the second brings it back.
    for (int tick = 1; tick <= 2; ++tick) {
        monster->update();
        EXPECT_EQ(monster->y, 50 + tick);
        auto was = start.begin();
        for (const Ball* now : monster->balls) {
            EXPECT_EQ(now->heading, was->heading - 180 * tick);
            EXPECT_NEAR(std::hypot(now->x - was->x, now->y - was->y), tick == 1 ? 1.5 : 0, 1e-3);
            ++was;
        }
    }
    delete monster;
}

TEST(BallMonster, EachBallTakesItsVerticalStartThenItsHorizontalStartThenItsHeadingFromTheRandomNumbers)
{
    // Every run shows the same swarm: the generator is never seeded, and these orders are part of the design.
    std::srand(7);
    std::vector<int> numbers(3 * 250);
    std::generate(numbers.begin(), numbers.end(), std::rand);
    std::srand(7);
    const BallMonster monster;
    auto number = numbers.begin();
    for (const Ball* ball : monster.balls) {
        EXPECT_EQ(ball->y, *number++ % 100);
        EXPECT_EQ(ball->x, 220 + *number++ % 100);
        EXPECT_EQ(ball->heading, *number++ % 360);
    }
}

TEST(BallMonsterBall, TheCircleIncludesItsEdgeMeasuresWholePixelsAndNeverOverflows)
{
    struct Case {
        float x, y;
        int centreX, centreY, size;
        bool inside;
    };
    const Case cases[] = {
        {60, 80, 0, 0, 100, true},   // exactly 100 pixels away
        {60, 81, 0, 0, 100, false},  // 100.8 pixels
        {269.9f, 10.9f, 270, 10, 0, true},
        {270.9f, 10.9f, 270, 10, 0, true},
        {271, 10, 270, 10, 0, false},
        // 65536 squared is 2 to the 32nd: wrapped to 0 it would read as the centre.
        {270, 0, 270, 65536, 100, false},
        {270, 0, 270, INT_MAX, 100, false},
        {270, 65536, 270, 65586, 100, true},
    };
    for (const Case& c : cases) {
        Ball ball = ballAt(c.x, c.y, 0);
        ball.update(c.centreX, c.centreY, c.size);
        // Inside it reverses; outside it wanders by -9 to +10 degrees.
        if (c.inside)
            EXPECT_EQ(ball.heading, -180) << c.x << "," << c.y;
        else
            EXPECT_TRUE(ball.heading >= -9 && ball.heading <= 10) << c.x << "," << c.y << ": " << ball.heading;
        EXPECT_NEAR(std::hypot(ball.x - c.x, ball.y - c.y), 1.5, 1e-2);
    }
    // A new ball may head any whole degree from 0 to 359; outside, it turns by any from -9 to +10.
    std::set<int> headings;
    for (int i = 0; i < 5000; ++i)
        headings.insert(Ball(0, 0, nullptr).heading);
    EXPECT_EQ(headings.size(), 360u);
    EXPECT_EQ(*headings.rbegin(), 359);
    std::set<int> turns;
    for (int i = 0; i < 2000; ++i) {
        Ball ball = ballAt(0, 0, 0);
        ball.update(1000, 1000, 10);
        turns.insert(ball.heading);
    }
    EXPECT_EQ(turns.size(), 20u);
    EXPECT_EQ(*turns.begin(), -9);
    // Headings grow clockwise from right, with y downwards: reversed to 90 (down) and to 0 (right).
    for (int heading : {270, 180}) {
        Ball ball = ballAt(5, 5, heading);
        ball.update(5, 5, 10);
        EXPECT_FLOAT_EQ(ball.x, heading == 180 ? 6.5f : 5);
        EXPECT_FLOAT_EQ(ball.y, heading == 270 ? 6.5f : 5);
    }
}

TEST(BallMonsterBall, DrawsAtItsPositionTruncatedTowardZero)
{
    screenBuffer = new Bmp(20, 20, false);
    Bmp* sprite = artWithRect(4, 4, 0, 0, 0, 3);  // only the left column is opaque
    Ball ball = ballAt(-0.5f, 3.7f, 0);
    ball.image = sprite;
    ball.draw();
    ball.x = -1000;  // far off the screen: clipped, not a crash
    ball.draw();
    EXPECT_EQ(getpixel(screenBuffer->bitmap, 0, 3), getpixel(sprite->bitmap, 0, 0));
    EXPECT_EQ(getpixel(screenBuffer->bitmap, 0, 2), maskColor);
    EXPECT_EQ(getpixel(screenBuffer->bitmap, 1, 3), maskColor);
    delete sprite;
    delete screenBuffer;
    screenBuffer = nullptr;
}
