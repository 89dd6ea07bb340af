#ifndef SWARM_QUIT_REQUESTS_H
#define SWARM_QUIT_REQUESTS_H

// Escape, the window's close button, and SIGINT, SIGTERM or SIGHUP ask the game to end.
// Called by initSystem once the keyboard is installed; from then on no request is lost.
void listenForQuitRequests();

// Escape held now, or any request since listening began; the main loop asks once per frame.
bool quitRequested();

#endif
