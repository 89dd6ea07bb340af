/*
 *      Internal header file for the web browser port: what its drivers
 *      share, and the browser's side of it (src/emscripten/library_allegro.js).
 *
 *      See readme.txt for copyright information.
 */


#ifndef AINTEM_H
#define AINTEM_H

/* The page's <canvas id="canvas">: the window, and where keys and mouse
 * events come from.
 */
#define _AL_EM_CANVAS "#canvas"

/* Gives the installed timers the time that passed while the page was
 * visible; called after each yield to the browser (etimer.c).
 */
AL_FUNC(void, _al_em_run_timers, (void));

/* Tells the timer driver that the page is hidden (nonzero) or shown. */
AL_FUNC(void, _al_em_page_hidden, (int hidden));

/* Every yield to the browser: to its next animation frame (AL_EM_FRAME),
 * for at least ms milliseconds (AL_EM_SLEEP) or until the player has
 * dismissed a message box showing the UTF-8 text (AL_EM_MESSAGE).  Before
 * it, the keys tapped since the last are let go; after it, the gamepads
 * are looked at and the timers run for the time that passed (esystem.c).
 */
#define AL_EM_FRAME   0
#define AL_EM_SLEEP   1
#define AL_EM_MESSAGE 2
AL_FUNC(void, _al_em_yield, (int until, unsigned int ms, AL_CONST char *text));

/* The sources of keys (ekey.c): the keyboard, a finger on the page's own
 * controls (etouch.c), by its touch's identifier, and a gamepad
 * (egamepad.c), by its index.  Each holds its own keys; a key is down
 * while any source holds it.
 */
#define AL_EM_KEYBOARD 1
#define AL_EM_FINGER   2
#define AL_EM_GAMEPAD  3
AL_FUNC(void, _al_em_hold_key, (int kind, int id, int scancode, int character, int pressed));
/* The same, of a key by its KeyboardEvent.code, which names what it types. */
AL_FUNC(void, _al_em_hold_code, (int kind, int id, AL_CONST char *code, int pressed));
/* A source holds these arrows and no other. */
#define AL_EM_LEFT  1
#define AL_EM_RIGHT 2
#define AL_EM_UP    4
#define AL_EM_DOWN  8
AL_FUNC(void, _al_em_hold_arrows, (int kind, int id, int arrows));
/* A source lets go of all it holds; every source does. */
AL_FUNC(void, _al_em_let_go, (int kind, int id));
AL_FUNC(void, _al_em_let_go_of_everything, (void));
/* The arrows that steer towards (x, y), y down, in units of a control's
 * reach (a pad's radius, a stick's travel): one of eight directions, or
 * none within the dead zone, a quarter of the reach.
 */
#define AL_EM_DEAD_ZONE 0.25
AL_FUNC(int, _al_em_arrows_towards, (double x, double y));

/* The page's controls and the gamepads, taken and given back with the
 * keyboard.
 */
AL_FUNC(void, _al_em_controls_init, (void));
AL_FUNC(void, _al_em_controls_exit, (void));
AL_FUNC(void, _al_em_gamepads_init, (void));
AL_FUNC(void, _al_em_gamepads_exit, (void));
/* Each gamepad holds the arrows it points, once a frame (egamepad.c). */
AL_FUNC(void, _al_em_poll_gamepads, (void));
/* Lets go of the keys tapped since the last yield (ekey.c). */
AL_FUNC(void, _al_em_release_tapped_keys, (void));


/* The browser's side, in JavaScript. */

/* Puts width x height pixels, 4 bytes each in the order red, green, blue,
 * alpha, on the canvas.
 */
AL_FUNC(void, _al_em_present, (AL_CONST void *rgba, int width, int height));
/* Blanks the canvas: the window closed. */
AL_FUNC(void, _al_em_blank, (void));
/* Returns at the browser's next animation frame: never while the page is
 * hidden.
 */
AL_FUNC(void, _al_em_wait_for_frame, (void));
/* Shows the UTF-8 text in a dialog on the page; returns once the player
 * has dismissed it.
 */
AL_FUNC(void, _al_em_message, (AL_CONST char *text));
AL_FUNC(void, _al_em_set_title, (AL_CONST char *title));
/* Whether a gamepad of the standard mapping is at that index; if so, its
 * left stick's place (each axis -1 to 1) and its d-pad's arrows.
 */
AL_FUNC(int, _al_em_gamepad, (int index, double *x, double *y, int *arrows));
/* Offers the page the functions by which its controls hold keys:
 * Module.touchPad(finger, x, y) holds the arrows towards (x, y) from the
 * pad's centre, in units of its radius; Module.touchKey(finger, code)
 * holds a key; Module.lift(finger) lets go.  NULLs take them back.
 */
AL_FUNC(void, _al_em_offer_controls,
        (AL_METHOD(void, touch_pad, (int finger, double x, double y)),
         AL_METHOD(void, touch_key, (int finger, AL_CONST char *code)), AL_METHOD(void, lift, (int finger))));
/* The canvas's own menu would hide it on a right click. */
AL_FUNC(void, _al_em_keep_context_menu_off, (int off));

#endif
