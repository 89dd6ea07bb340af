// Times the game's own frame, tick, loading and start-up paths against their floors. Each figure is a line
// "figure = value unit; against baseline = value unit", which bench/run gathers over runs into a table.
//   swarm_bench memory [measure | smoke]   memory bitmaps only, no display needed; smoke: a few calls of each
//   swarm_bench display [frames]           the real window: the frame rate against the same calls and a bare floor
//   swarm_bench startup                    the game's start-up to its first presented frame, then the way out
//   swarm_bench rates [seconds]            the game's loop: its logic ticks and presented frames a second
// <cmath> before the library's header, as in the game's sources: its fixed-point class declares sqrt, sin and cos
// first, and GCC then compiles each as a plain call, without the inline square root or the one sincos call.
#include <cmath>

#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/main_loop.h"
#include "core/startup.h"
#include "core/ticks.h"
#include "core/to_string.h"
#include "gfx/bmp.h"
#include "gfx/gui.h"
#include "platform/display.h"
#include "world/ball_monster.h"
#include "world/obj.h"
#include "world/player.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// 1 for a measurement; a smoke run divides every count by 100.
int countDivisor = 1;

// Median nanoseconds per call over several rounds of n calls, each round after a reset that is not timed.
double nanosPerCall(
    const std::function<void()>& step, int n, const std::function<void()>& reset = [] {})
{
    n = std::max(1, n / countDivisor);
    std::vector<double> samples;
    for (int round = 0; round < 7; ++round) {
        reset();
        const auto start = Clock::now();
        for (int i = 0; i < n; ++i)
            step();
        samples.push_back(secondsSince(start) * 1e9 / n);
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

void report(const char* what, double value, const char* against, double baseline, const char* unit)
{
    std::printf("%s = %.0f %s; against %s = %.0f %s\n", what, value, unit, against, baseline, unit);
}

// The swarm as plain floats in one flat array: the floor of its tick and of its drawing.
struct FlatBall {
    float x, y, speed;
    int heading;
};

std::vector<FlatBall> flatCopy(const BallMonster& boss)
{
    std::vector<FlatBall> flat;
    for (const BallMonster::Ball* b : boss.balls)
        flat.push_back({b->x, b->y, b->speed, b->heading});
    return flat;
}

// Puts the game's swarm back where the copy was taken: both ticks then start each round alike.
void restore(BallMonster& boss, const std::vector<FlatBall>& flat, int centreY)
{
    boss.y = centreY;
    auto from = flat.begin();
    for (BallMonster::Ball* b : boss.balls) {
        b->x = from->x, b->y = from->y, b->speed = from->speed, b->heading = from->heading;
        ++from;
    }
}

constexpr double degreesToRadians = 3.14159265358979323846 / 180.0;

// The same work as a swarm tick, conversion for conversion and call for call, on the flat array.
void flatTick(std::vector<FlatBall>& balls, int centreX, int centreY, int size)
{
    for (FlatBall& b : balls) {
        const double dx = std::trunc(std::fabs(static_cast<double>(centreX) - static_cast<double>(b.x)));
        const double dy = std::trunc(std::fabs(static_cast<double>(centreY) - static_cast<double>(b.y)));
        if (size >= std::sqrt(dx * dx + dy * dy))
            b.heading -= 180;
        else
            b.heading += 10 - std::rand() % 20;
        const double radians = b.heading * degreesToRadians;
        b.x = static_cast<float>(b.x + std::cos(radians) * b.speed);
        b.y = static_cast<float>(b.y + std::sin(radians) * b.speed);
    }
}

void drawGameFrame(BallMonster& boss)
{
    clearScreenBuffer(makecol(0, 0, 0));
    drawFrame(boss);
}

// The drawing a frame cannot do without: the same library calls at the same places, from plain arrays.
void drawFloorFrame(BITMAP* buffer, const std::vector<FlatBall>& balls, BITMAP* ball, const std::string& rate)
{
    clear_to_color(buffer, makecol(0, 0, 0));
    for (const FlatBall& b : balls)
        masked_blit(ball, buffer, 0, 0, static_cast<int>(b.x), static_cast<int>(b.y), ball->w, ball->h);
    BITMAP* ship = player->image->bitmap;
    masked_blit(ship, buffer, 0, 0, player->x, player->y, ship->w, ship->h);
    textout_ex(buffer, font, rate.c_str(), 50, 50, makecol(170, 170, 170), -1);
}

int memoryBench(bool smoke)
{
    countDivisor = smoke ? 100 : 1;
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return 1;
    libraryInstalled = true;
    set_color_depth(32);  // what the window runs at on a 24-bit X desktop
    maskColor = makecol(255, 0, 255);
    screenBuffer = new Bmp(640, 480, false);
    BITMAP* presented = create_bitmap(640, 480);
    createPlayer();
    BallMonster boss;
    for (int i = 0; i < 600; ++i)  // a spread-out swarm, as seen most of the game
        boss.update();

    BITMAP* buffer = screenBuffer->bitmap;
    const std::vector<FlatBall> swarm = flatCopy(boss);
    const double floor =
        nanosPerCall([&] { drawFloorFrame(buffer, swarm, boss.ballImage->bitmap, toString(fps)); }, 2000);
    const double gameFrame = nanosPerCall([&] { drawGameFrame(boss); }, 2000);
    const char* frame = "one frame in memory: the clear, 250 balls, the player, the frame rate";
    report(frame, gameFrame, "the same drawing calls from plain arrays", floor, "ns");
    const double bareClear = nanosPerCall([&] { clear_to_color(buffer, 0); }, 2000);
    report(frame, gameFrame, "the library's bare clear", bareClear, "ns");
    auto present = [&] { blit(buffer, presented, 0, 0, 0, 0, 640, 480); };
    const double barePresent = nanosPerCall([&] { clear_to_color(buffer, 0), present(); }, 2000);
    report("the same frame with a present blit to a second 640 x 480 bitmap",
           nanosPerCall([&] { drawGameFrame(boss), present(); }, 2000), "clear + blit", barePresent, "ns");

    // Every round of both ticks starts from this swarm and the same random numbers: they take the same branches.
    const int centreY = boss.y;
    constexpr unsigned seed = 1;
    std::vector<FlatBall> flat;
    int flatCentre = 0;
    const double flatTickNs = nanosPerCall([&] { flatTick(flat, boss.x, ++flatCentre, boss.size); }, 20000,
                                           [&] { flat = swarm, flatCentre = centreY, std::srand(seed); });
    const double gameTickNs = nanosPerCall([&] { boss.update(), updateObjects(); }, 20000,
                                           [&] { restore(boss, swarm, centreY), std::srand(seed); });
    report("one world tick: the swarm and the object tick", gameTickNs,
           "the same work on a flat float array, from the same swarm and random numbers", flatTickNs, "ns");
    if (flat.front().x != boss.balls.front()->x || flat.back().heading != boss.balls.back()->heading)
        std::fprintf(stderr, "The two ticks went different ways: the flat array's is not the same work.\n");

    const double catchUp = nanosPerCall([&] { pendingTicks = ticksPerSecond, runPendingTicks(boss); }, 20);
    report("catch-up: 240 pending ticks back to back", catchUp, "the second of play they stand for", 1e9, "ns");

    // The game reads each file once and hands the library those bytes, rewritten and checked; the library alone
    // reads the file itself.
    const std::string art[] = {"gfx/player.bmp", "gfx/ball.bmp", guiBkgdPath,     guiBorderNPath,
                               guiBorderNEPath,  guiBorderEPath, guiBorderSEPath, guiBorderSPath,
                               guiBorderSWPath,  guiBorderWPath, guiBorderNWPath};
    const double gameLoad = nanosPerCall(
        [&] {
            for (const std::string& file : art)
                delete new Bmp(file, false);
        },
        500);
    const double libraryLoad = nanosPerCall(
        [&] {
            for (const std::string& file : art)
                destroy_bitmap(load_bmp(file.c_str(), loadPalette));
        },
        500);
    report("loading the eleven art files: each read once, rewritten, checked and decoded from memory", gameLoad,
           "the library's load_bmp of the same files alone", libraryLoad, "ns");
    return 0;
}

#ifndef _WIN32
// This program's own peak resident memory in kB. Not getrusage's ru_maxrss: it outlives exec, so it would
// report the launcher's peak when that was larger; a new program starts its VmHWM afresh.
long peakResidentKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}
#endif

// The game's own start-up, up to its first presented frame.
void startUpAndPresentTheFirstFrame(std::optional<BallMonster>& boss)
{
    installExceptionHandlers();
    initSystem();
    loadGuiBitmaps();
    createPlayer();
    boss.emplace();
    clearScreenBuffer(makecol(0, 0, 0));
    runPendingTicks(*boss);
    drawFrame(*boss);
    flipBuffer();
}

// bench/run times this process from its launch to its end.
int startupBench()
{
    std::optional<BallMonster> boss;
    startUpAndPresentTheFirstFrame(boss);
#ifndef _WIN32  // under Wine the memory is Wine's as much as the game's
    std::printf("peak resident memory at the first frame = %ld kB\n", peakResidentKb());
#endif
    return 0;
}

int displayBench(int frames)
{
    std::optional<BallMonster> started;
    startUpAndPresentTheFirstFrame(started);
    BallMonster& boss = *started;
    auto framesPerSecond = [&](const std::function<void()>& frame) {
        const auto start = Clock::now();
        for (int i = 0; i < frames; ++i)
            frame();
        return frames / secondsSince(start);
    };
    const int black = makecol(0, 0, 0);
    const double bare = framesPerSecond([&] {
        flipBuffer();
        clearScreenBuffer(black);
    });
    // The same library calls from plain arrays, presented the same way: the swarm ticks as the game's does.
    std::vector<FlatBall> flat = flatCopy(boss);
    int flatCentre = boss.y;
    const double sameCalls = framesPerSecond([&] {
        while (!noTickPending())
            flatTick(flat, boss.x, ++flatCentre, boss.size);
        drawFloorFrame(screenBuffer->bitmap, flat, boss.ballImage->bitmap, toString(fps));
        flipBuffer();
    });
    const double game = framesPerSecond([&] {
        runPendingTicks(boss);
        drawFrame(boss);
        flipBuffer();
        clearScreenBuffer(black);
    });
    const char* frameRate = "frame rate of the game loop in the window";
    report(frameRate, game, "the same calls from plain arrays, presented the same way", sameCalls, "fps");
    report(frameRate, game, "clear + present in the same window", bare, "fps");
    return 0;
}

// The game's loop as main runs it. The swarm's centre goes down one pixel a tick: its travel counts the ticks run.
int ratesBench(double seconds)
{
    std::optional<BallMonster> started;
    startUpAndPresentTheFirstFrame(started);
    BallMonster& boss = *started;
    const int black = makecol(0, 0, 0);
    const int firstY = boss.y;
    long frames = 0;
    const auto start = Clock::now();
    while (secondsSince(start) < seconds) {
        runPendingTicks(boss);
        drawFrame(boss);
        flipBuffer();
        clearScreenBuffer(black);
        ++frames;
    }
    const double elapsed = secondsSince(start);
    std::printf("logic ticks a second in the game loop = %.1f /s; against the timer's rate = %d /s\n",
                (boss.y - firstY) / elapsed, ticksPerSecond);
    std::printf("presented frames a second in the game loop = %.1f fps\n", frames / elapsed);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "memory";
    if (mode == "memory")
        return memoryBench(argc > 2 && std::string(argv[2]) == "smoke");  // or "measure"
    if (mode == "display")
        return displayBench(argc > 2 ? std::atoi(argv[2]) : 2000);
    if (mode == "startup")
        return startupBench();
    if (mode == "rates")
        return ratesBench(argc > 2 ? std::atof(argv[2]) : 10);
    std::fprintf(stderr, "usage: %s memory [measure | smoke] | display [frames] | startup | rates [seconds]\n",
                 argv[0]);
    return 2;
}
END_OF_MAIN()
