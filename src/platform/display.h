#ifndef SWARM_DISPLAY_H
#define SWARM_DISPLAY_H

#include <string>

class Bmp;

// The bitmap the current frame is drawn into; read it afresh after every flipBuffer.
extern Bmp* screenBuffer;
// The transparent pixel value of the mode that was set last.
extern int maskColor;

// mode 0: fullscreen with page flipping, or a memory buffer when video pages fail;
// mode 1: a window with a memory buffer, the frame enlarged by the largest whole multiple the desktop takes, or
// as large as the screen in full screen. Throws BadRes, BuffError or BadSwitchMode.
void setVideoMode(int mode, int width, int height, int depth);
// Start-up: 640 x 480 fullscreen at 24 bits, else a window at the desktop's depth.
void openDisplay();
// Shows the finished frame, enlarged as the window is; called once per frame and when the display comes back.
void flipBuffer();
// F11: the window to full screen, the frame as large as fits centred on black, or back; nothing where the
// start-up's fullscreen held, nor where the desktop cannot show it (the web page has its own button).
void toggleFullScreen();
// The largest whole multiple, at least 1, of a frame that fits the room.
int largestScale(int width, int height, int roomWidth, int roomHeight);
// Grey text into screenBuffer, top-left corner at (x, y).
void drawText(std::string text, int x, int y);

#endif
