#ifndef SWARM_DESKTOP_H
#define SWARM_DESKTOP_H

// The desktop the game's window opens on: on X11 and Windows, where the game scales its window and can cover the
// screen; elsewhere (the web page, which scales the game itself) nothing of its own.

struct Area {
    int width, height;
};

// The room for a window: the desktop's work area, less its panels and docks, where the platform tells it, else
// the whole screen; {0, 0} where the game does not scale its window. Asked once the library is installed.
Area workArea();

// Whether the game's window can cover the screen in full screen; and asks the desktop to show it so, without a
// border over everything (cover), or as a window again. Called after the window has taken the screen's size, and
// before it gives it back.
bool canCoverTheScreen();
void coverTheScreen(bool cover);

#endif
