#ifndef SWARM_X11_H
#define SWARM_X11_H

#include <string>

// Where the library draws through an X server (elsewhere these do nothing of their own).

// A lost X connection ends the game at once, status 1, with a fatal message on standard error;
// called right after the library is installed.
void exitWhenTheDisplayIsLost();

// Gives the window its own class, ("swarm", "Swarm"), and the ship as its icon, so that a desktop
// matches it to the menu entry; called before the display is set.
void identifyTheWindow();

// Why the library found no system driver, as far as can be known: no DISPLAY, or one that
// cannot be opened, or neither.
std::string whyNoSystemDriver();

#endif
