/*
 *      List of the web browser's drivers: no sound and no joystick.
 *
 *      See readme.txt for copyright information.
 */


#include "allegro.h"

#ifndef ALLEGRO_EMSCRIPTEN
   #error something is wrong with the makefile
#endif


_DRIVER_INFO _system_driver_list[] = { { SYSTEM_EMSCRIPTEN, &system_emscripten, TRUE },
                                       { SYSTEM_NONE, &system_none, FALSE },
                                       { 0, NULL, 0 } };


_DRIVER_INFO _timer_driver_list[] = { { TIMER_EMSCRIPTEN, &timer_emscripten, TRUE }, { 0, NULL, 0 } };


_DRIVER_INFO _keyboard_driver_list[] = { { KEYBOARD_EMSCRIPTEN, &keyboard_emscripten, TRUE }, { 0, NULL, 0 } };


_DRIVER_INFO _mouse_driver_list[] = { { MOUSE_EMSCRIPTEN, &mouse_emscripten, TRUE }, { 0, NULL, 0 } };


_DRIVER_INFO _gfx_driver_list[] = { { GFX_EMSCRIPTEN, &gfx_emscripten, TRUE }, { 0, NULL, 0 } };


BEGIN_DIGI_DRIVER_LIST
END_DIGI_DRIVER_LIST


BEGIN_MIDI_DRIVER_LIST
END_MIDI_DRIVER_LIST


BEGIN_JOYSTICK_DRIVER_LIST
END_JOYSTICK_DRIVER_LIST
