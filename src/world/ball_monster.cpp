#include "world/ball_monster.h"

// Before the library's header: its fixed-point class declares sqrt, sin and cos first, and GCC then compiles each
// as a plain call, without the inline square root or the one sincos call of a tick.
#include <cmath>
#include <cstdlib>

#include "gfx/bmp.h"
#include "platform/display.h"

namespace {

constexpr int ballCount = 250;
// Not M_PI: strict C++ on Windows does not declare it.
constexpr double degreesToRadians = 3.14159265358979323846 / 180.0;

// Whole pixels between a centre and a ball: the float difference first, truncated after.
double truncatedDistance(int centre, float position)
{
    return std::trunc(std::fabs(static_cast<double>(centre) - static_cast<double>(position)));
}

}  // namespace

BallMonster::Ball::Ball(int x, int y, Bmp* image)
    : x(static_cast<float>(x)), y(static_cast<float>(y)), speed(1.5f), heading(std::rand() % 360), image(image)
{
}

void BallMonster::Ball::update(int centreX, int centreY, int size)
{
    const double dx = truncatedDistance(centreX, x);
    const double dy = truncatedDistance(centreY, y);
    // Squares in double: whole numbers stay exact far beyond where 32-bit squares overflow.
    const double distance = std::sqrt(dx * dx + dy * dy);
    if (size >= distance)
        heading -= 180;
    else
        heading += 10 - std::rand() % 20;
    const double radians = heading * degreesToRadians;
    x = static_cast<float>(x + std::cos(radians) * speed);
    y = static_cast<float>(y + std::sin(radians) * speed);
}

void BallMonster::Ball::draw()
{
    masked_blit(image->bitmap, screenBuffer->bitmap, 0, 0, static_cast<int>(x), static_cast<int>(y),
                image->bitmap->w, image->bitmap->h);
}

BallMonster::BallMonster()
{
    // In this order: x and y are derived from size.
    size = 100;
    x = 320 - size / 2;
    y = size / 2;
    ballImage = new Bmp("gfx/ball.bmp", false);
    for (int i = 0; i < ballCount; ++i) {
        // Vertical first: the order fixes the sequence of random numbers.
        const int startY = y - size / 2 + std::rand() % size;
        const int startX = x - size / 2 + std::rand() % size;
        balls.push_back(new Ball(startX, startY, ballImage));
    }
}

BallMonster::~BallMonster()
{
    delete ballImage;
    for (Ball* ball : balls)
        delete ball;
}

void BallMonster::update()
{
    // Unsigned arithmetic keeps the endless descent defined when it wraps, after about 103 days.
    y = static_cast<int>(static_cast<unsigned>(y) + 1u);
    for (Ball* ball : balls)
        ball->update(x, y, size);
}

void BallMonster::draw()
{
    for (Ball* ball : balls)
        ball->draw();
}
