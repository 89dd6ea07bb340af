/*
 *      Web browser specific header defines: the drivers of the platform.
 *
 *      See readme.txt for copyright information.
 */


#ifndef ALEM_H
#define ALEM_H

#ifndef ALLEGRO_EMSCRIPTEN
   #error bad include
#endif


/* System driver */
#define SYSTEM_EMSCRIPTEN AL_ID('W', 'E', 'B', ' ')
AL_VAR(SYSTEM_DRIVER, system_emscripten);

/* Timer driver */
#define TIMER_EMSCRIPTEN AL_ID('W', 'E', 'B', 'T')
AL_VAR(TIMER_DRIVER, timer_emscripten);

/* Keyboard driver */
#define KEYBOARD_EMSCRIPTEN AL_ID('W', 'E', 'B', 'K')
AL_VAR(KEYBOARD_DRIVER, keyboard_emscripten);

/* Mouse driver */
#define MOUSE_EMSCRIPTEN AL_ID('W', 'E', 'B', 'M')
AL_VAR(MOUSE_DRIVER, mouse_emscripten);

/* Gfx driver: a window, the page's canvas */
#define GFX_EMSCRIPTEN AL_ID('W', 'E', 'B', 'G')
AL_VAR(GFX_DRIVER, gfx_emscripten);

#endif
