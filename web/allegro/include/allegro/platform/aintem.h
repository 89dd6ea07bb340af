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

/* Yields to the browser for at least so many milliseconds, then runs the
 * timers.
 */
AL_FUNC(void, _al_em_sleep, (unsigned int ms));

/* Lets go of the keys tapped since the last yield; called before each
 * (ekey.c).
 */
AL_FUNC(void, _al_em_release_tapped_keys, (void));
/* Presses and releases the arrows the gamepads hold or let go of since the
 * last look; called once a frame (ekey.c).
 */
AL_FUNC(void, _al_em_poll_gamepads, (void));


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
/* The arrows the standard gamepads hold: bits 1 left, 2 right, 4 up, 8 down. */
AL_FUNC(int, _al_em_gamepad_arrows, (void));
/* Offers the page Module.pressKey(code, pressed) for its own controls,
 * which calls press; NULL takes it back.
 */
AL_FUNC(void, _al_em_offer_controls, (AL_METHOD(void, press, (AL_CONST char *code, int pressed))));
/* The canvas's own menu would hide it on a right click. */
AL_FUNC(void, _al_em_keep_context_menu_off, (int off));

#endif
