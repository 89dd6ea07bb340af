#include "platform/display.h"

#include <allegro.h>

#include "core/errors.h"
#include "gfx/bmp.h"

Bmp* screenBuffer = nullptr;
int maskColor = 0;

namespace {

int pageFlipping = 0;
Bmp* videoPage1 = nullptr;
Bmp* videoPage2 = nullptr;

constexpr int fullscreen = 0;

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
        setVideoMode(1, 640, 480, desktop_color_depth());
    } catch (const BadRes& e) {
        fatalError("Could not set video mode.  Cause:  " + e.getMsg());
    } catch (const BuffError&) {
        fatalError("Could not load windowed buffers.");
    } catch (const ResError&) {
        // Switch mode refused: the window works, only without the redraw on switching back.
    }
}

}  // namespace

void setVideoMode(int mode, int width, int height, int depth)
{
    set_color_depth(depth);
    const int card = mode == fullscreen ? GFX_AUTODETECT_FULLSCREEN : GFX_AUTODETECT_WINDOWED;
    setGraphicsMode(card, width, height);
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
    if (pageFlipping) {
        show_video_bitmap(screenBuffer->bitmap);
        screenBuffer = screenBuffer == videoPage1 ? videoPage2 : videoPage1;
    } else {
        blit(screenBuffer->bitmap, screen, 0, 0, 0, 0, screenBuffer->bitmap->w, screenBuffer->bitmap->h);
    }
}

void drawText(std::string text, int x, int y)
{
    // Background -1: no box behind the text.
    textout_ex(screenBuffer->bitmap, font, text.c_str(), x, y, makecol(170, 170, 170), -1);
}
