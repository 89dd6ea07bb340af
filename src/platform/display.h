#ifndef SWARM_DISPLAY_H
#define SWARM_DISPLAY_H

#include <string>

class Bmp;

// The bitmap the current frame is drawn into; read it afresh after every flipBuffer.
extern Bmp* screenBuffer;
// The transparent pixel value of the mode that was set last.
extern int maskColor;

// mode 0: fullscreen with page flipping, or a memory buffer when video pages fail;
// mode 1: a window with a memory buffer. Throws BadRes, BuffError or BadSwitchMode.
void setVideoMode(int mode, int width, int height, int depth);
// Start-up: 640 x 480 fullscreen at 24 bits, else a window at the desktop's depth.
void openDisplay();
// Shows the finished frame; called once per frame and when the display comes back.
void flipBuffer();
// Grey text into screenBuffer, top-left corner at (x, y).
void drawText(std::string text, int x, int y);

#endif
