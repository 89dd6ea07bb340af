#include "platform/display.h"

#include <allegro.h>

#include "core/errors.h"
#include "gfx/bmp.h"
#include "platform/desktop.h"

Bmp* screenBuffer = nullptr;
int maskColor = 0;

namespace {

int pageFlipping = 0;
Bmp* videoPage1 = nullptr;
Bmp* videoPage2 = nullptr;

constexpr int fullscreen = 0;
constexpr int windowed = 1;

bool inWindow = false;        // the start-up's fullscreen request was refused
bool coveringScreen = false;  // full screen by F11: the window, without a border, as large as the screen
// The frame on the screen: enlarged so many times, its top left corner there.
int frameScale = 1;
int frameX = 0;
int frameY = 0;

// The window's size for a frame of that size: the frame enlarged by the largest whole multiple that leaves room
// for a title bar and a panel (the work area's width, nine tenths of its height); or the screen's, covering it.
void sizeWindow(int& width, int& height)
{
    if (coveringScreen) {
        get_desktop_resolution(&width, &height);
        return;
    }
    const Area room = workArea();
    const int scale = largestScale(width, height, room.width, room.height * 9 / 10);
    width *= scale;
    height *= scale;
}

// The frame as large as fits the screen by a whole multiple, centred on it.
void placeFrame(int width, int height)
{
    frameScale = largestScale(width, height, SCREEN_W, SCREEN_H);
    frameX = (SCREEN_W - width * frameScale) / 2;
    frameY = (SCREEN_H - height * frameScale) / 2;
}

bool isVideoPage(const Bmp* bmp) { return bmp != nullptr && (bmp == videoPage1 || bmp == videoPage2); }

// Asks for a virtual screen twice the visible height first: room for two pages.
void setGraphicsMode(int card, int width, int height)
{
    if (set_gfx_mode(card, width, height, width, 2 * height) != 0 && set_gfx_mode(card, width, height, 0, 0) != 0)
        throw BadRes(allegro_error);
}

// Each colour's nearest 3-3-2 value: the true-colour art and texts keep their own colours at 8 bits.
// It is the palette the library's loader converts true-colour files with; index 0 stays transparent.
void selectTrueColourPalette()
{
    PALETTE palette;
    generate_332_palette(palette);
    set_palette(palette);
}

void releaseFrameBuffers()
{
    if (!isVideoPage(screenBuffer))
        delete screenBuffer;
    delete videoPage1;
    delete videoPage2;
    screenBuffer = videoPage1 = videoPage2 = nullptr;
}

Bmp* createMemoryBuffer(int width, int height)
{
    try {
        return new Bmp(width, height, false);
    } catch (const Bmp::LoadError& e) {
        throw BuffError("Could not create memory bitmap for fullscreen double-buffering.\nBitmap error: " +
                        e.getMsg());
    }
}

// Two pages in video memory show a frame without copying it; a memory buffer is the fallback.
void createFullscreenBuffers(int width, int height)
{
    releaseFrameBuffers();
    pageFlipping = 1;
    try {
        videoPage1 = new Bmp(width, height, true);
        videoPage2 = new Bmp(width, height, true);
        screenBuffer = videoPage1;
    } catch (const Bmp::LoadError&) {
        pageFlipping = 0;
        releaseFrameBuffers();
        screenBuffer = createMemoryBuffer(width, height);
    }
}

// The pages of an earlier fullscreen mode are left alone: the library owned their memory.
void createWindowBuffer(int width, int height)
{
    pageFlipping = 0;
    Bmp* buffer = createMemoryBuffer(width, height);
    if (!isVideoPage(screenBuffer))
        delete screenBuffer;
    screenBuffer = buffer;
}

void openWindow()
{
    try {
        setVideoMode(windowed, 640, 480, desktop_color_depth());
    } catch (const BadRes& e) {
        fatalError("Could not set video mode.  Cause:  " + e.getMsg());
    } catch (const BuffError&) {
        fatalError("Could not load windowed buffers.");
    } catch (const ResError&) {
        // Switch mode refused: the window works, only without the redraw on switching back.
    }
}

}  // namespace

int largestScale(int width, int height, int roomWidth, int roomHeight)
{
    int scale = 1;
    while (width * (scale + 1) <= roomWidth && height * (scale + 1) <= roomHeight)
        ++scale;
    return scale;
}

void setVideoMode(int mode, int width, int height, int depth)
{
    set_color_depth(depth);
    const int card = mode == fullscreen ? GFX_AUTODETECT_FULLSCREEN : GFX_AUTODETECT_WINDOWED;
    int shownWidth = width, shownHeight = height;
    if (mode != fullscreen)
        sizeWindow(shownWidth, shownHeight);
    setGraphicsMode(card, shownWidth, shownHeight);
    inWindow = mode != fullscreen;
    placeFrame(width, height);
    if (depth == 8)
        selectTrueColourPalette();
    if (mode == fullscreen)
        createFullscreenBuffers(width, height);
    else
        createWindowBuffer(width, height);
    if (set_display_switch_mode(SWITCH_AMNESIA) < 0)
        throw BadSwitchMode("Could not set proper switch mode.");
    set_display_switch_callback(SWITCH_IN, flipBuffer);
    // Last, so the frame buffers above were cleared with the previous value.
    maskColor = depth == 8 ? 0 : makecol(255, 0, 255);
}

void openDisplay()
{
    try {
        setVideoMode(fullscreen, 640, 480, 24);
    } catch (const BuffError&) {
        fatalError("Could not load fullscreen buffers.");
    } catch (const ResError&) {
        openWindow();
    }
}

void flipBuffer()
{
    BITMAP* frame = screenBuffer->bitmap;
    if (pageFlipping) {
        show_video_bitmap(frame);
        screenBuffer = screenBuffer == videoPage1 ? videoPage2 : videoPage1;
    } else if (frameScale == 1) {
        blit(frame, screen, 0, 0, frameX, frameY, frame->w, frame->h);
    } else {
        // Nearest neighbour: each of the frame's pixels a block of frameScale x frameScale, never smoothed.
        stretch_blit(frame, screen, 0, 0, frame->w, frame->h, frameX, frameY, frame->w * frameScale,
                     frame->h * frameScale);
    }
}

void toggleFullScreen()
{
    if (!inWindow || !canCoverTheScreen())
        return;
    if (coveringScreen)
        coverTheScreen(false);
    coveringScreen = !coveringScreen;
    openWindow();  // as large as the screen, or as the window was
    if (coveringScreen)
        coverTheScreen(true);
}

void drawText(std::string text, int x, int y)
{
    // Background -1: no box behind the text.
    textout_ex(screenBuffer->bitmap, font, text.c_str(), x, y, makecol(170, 170, 170), -1);
}
