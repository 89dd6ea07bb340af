#ifndef SWARM_REQUESTS_H
#define SWARM_REQUESTS_H

// What the player asks of the game as a whole: to end it (Escape, the window's close button, and SIGINT, SIGTERM
// or SIGHUP), and to toggle full screen (F11).
// Called by initSystem once the keyboard is installed; from then on no request is lost.
void listenForRequests();

// Escape held now, or any request to end since listening began; the main loop asks once per frame.
bool quitRequested();

// Whether F11 was pressed since the last time the main loop asked; each press counts once, however long held.
bool fullScreenRequested();

// Whether the command line asks to start in full screen ("--fullscreen").
bool fullScreenAsked(int argc, char* argv[]);

#endif
