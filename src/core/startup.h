#ifndef SWARM_STARTUP_H
#define SWARM_STARTUP_H

// True once initSystem has installed the library; bitmaps and input need it.
extern bool libraryInstalled;

// Route uncaught and unexpected exceptions to fatalError; called first in main.
void installExceptionHandlers();
[[noreturn]] void unexpectedHandler();
[[noreturn]] void terminateHandler();

// Library, 240 Hz timer, keyboard, mouse, quit requests and display, in that order.
void initSystem();
// The keyboard, then a mouse of at least two buttons; part of initSystem.
void installInput();

#endif
