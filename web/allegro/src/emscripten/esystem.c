/*
 *      Web browser system driver.
 *
 *      The page is the program's window: its title is the window title,
 *      its dialog is the message box, and the browser's hiding of the
 *      page is the display switch.  There is one thread, the page's, so
 *      no mutexes; waiting is yielding to the browser.
 *
 *      See readme.txt for copyright information.
 */


#include <emscripten.h>
#include <emscripten/html5.h>

#include "allegro.h"
#include "allegro/internal/aintern.h"
#include "allegro/platform/aintem.h"

#ifndef ALLEGRO_EMSCRIPTEN
   #error something is wrong with the makefile
#endif


static int em_sys_init(void);
static void em_sys_exit(void);
static void em_set_window_title(AL_CONST char *name);
static void em_message(AL_CONST char *msg);
static int em_set_display_switch_mode(int mode);
static int em_desktop_color_depth(void);
static int em_get_desktop_resolution(int *width, int *height);
static void em_get_gfx_safe_mode(int *driver, struct GFX_MODE *mode);
static void em_yield_timeslice(void);


SYSTEM_DRIVER system_emscripten = {
   SYSTEM_EMSCRIPTEN,
   empty_string,
   empty_string,
   "Web browser",
   em_sys_init,
   em_sys_exit,
   NULL, /* AL_METHOD(void, get_executable_name, (char *output, int size)); */
   NULL, /* AL_METHOD(int, find_resource, (char *dest, AL_CONST char *resource, int size)); */
   em_set_window_title,
   NULL, /* AL_METHOD(int, set_close_button_callback, (AL_METHOD(void, proc, (void)))); */
   em_message,
   NULL, /* AL_METHOD(void, assert, (AL_CONST char *msg)); */
   NULL, /* AL_METHOD(void, save_console_state, (void)); */
   NULL, /* AL_METHOD(void, restore_console_state, (void)); */
   NULL, /* AL_METHOD(struct BITMAP *, create_bitmap, (int color_depth, int width, int height)); */
   NULL, /* AL_METHOD(void, created_bitmap, (struct BITMAP *bmp)); */
   NULL, /* AL_METHOD(struct BITMAP *, create_sub_bitmap, (struct BITMAP *parent, int x, int y, int width, int
            height)); */
   NULL, /* AL_METHOD(void, created_sub_bitmap, (struct BITMAP *bmp, struct BITMAP *parent)); */
   NULL, /* AL_METHOD(int, destroy_bitmap, (struct BITMAP *bitmap)); */
   NULL, /* AL_METHOD(void, read_hardware_palette, (void)); */
   NULL, /* AL_METHOD(void, set_palette_range, (AL_CONST struct RGB *p, int from, int to, int retracesync)); */
   NULL, /* AL_METHOD(struct GFX_VTABLE *, get_vtable, (int color_depth)); */
   em_set_display_switch_mode,
   NULL, /* AL_METHOD(void, display_switch_lock, (int lock, int foreground)); */
   em_desktop_color_depth,
   em_get_desktop_resolution,
   em_get_gfx_safe_mode,
   em_yield_timeslice,
   NULL, /* AL_METHOD(void *, create_mutex, (void)); */
   NULL, /* AL_METHOD(void, destroy_mutex, (void *handle)); */
   NULL, /* AL_METHOD(void, lock_mutex, (void *handle)); */
   NULL, /* AL_METHOD(void, unlock_mutex, (void *handle)); */
   NULL, /* AL_METHOD(_DRIVER_INFO *, gfx_drivers, (void)); */
   NULL, /* AL_METHOD(_DRIVER_INFO *, digi_drivers, (void)); */
   NULL, /* AL_METHOD(_DRIVER_INFO *, midi_drivers, (void)); */
   NULL, /* AL_METHOD(_DRIVER_INFO *, keyboard_drivers, (void)); */
   NULL, /* AL_METHOD(_DRIVER_INFO *, mouse_drivers, (void)); */
   NULL, /* AL_METHOD(_DRIVER_INFO *, joystick_drivers, (void)); */
   NULL  /* AL_METHOD(_DRIVER_INFO *, timer_drivers, (void)); */
};



/* em_visibility_changed:
 *  A page the browser hides is a window switched away from, and its time
 *  is not the timers'.
 */
static EM_BOOL em_visibility_changed(int type, AL_CONST EmscriptenVisibilityChangeEvent *event, void *data)
{
   _al_em_page_hidden(event->hidden);

   if (event->hidden) {
      _al_em_let_go_of_everything(); /* their releases go elsewhere */
      _switch_out();
   }
   else
      _switch_in();

   return EM_FALSE;
}



/* em_sys_init:
 *  Initializes the web browser system driver.
 */
static int em_sys_init(void)
{
   os_type = OSTYPE_UNKNOWN;

   emscripten_set_visibilitychange_callback(NULL, EM_FALSE, em_visibility_changed);
   set_display_switch_mode(SWITCH_PAUSE);

   return 0;
}



/* em_sys_exit:
 *  Shuts down the system driver.
 */
static void em_sys_exit(void)
{
   emscripten_set_visibilitychange_callback(NULL, EM_FALSE, NULL);
}



/* em_set_window_title:
 *  The page's title.
 */
static void em_set_window_title(AL_CONST char *name)
{
   char utf8[256];

   _al_em_set_title(uconvert(name, U_CURRENT, utf8, U_UTF8, sizeof(utf8)));
}



/* em_message:
 *  Shows the text in a dialog on the page and returns once the player has
 *  dismissed it, as a message box does.
 */
static void em_message(AL_CONST char *msg)
{
   char *utf8 = _AL_MALLOC_ATOMIC(ALLEGRO_MESSAGE_SIZE);

   if (!utf8)
      return;

   _al_em_yield(AL_EM_MESSAGE, 0, uconvert(msg, U_CURRENT, utf8, U_UTF8, ALLEGRO_MESSAGE_SIZE));
   _AL_FREE(utf8);
}



/* em_set_display_switch_mode:
 *  The browser stops a hidden page, and keeps its canvas: the program is
 *  paused while it is switched away, and nothing else.
 */
static int em_set_display_switch_mode(int mode)
{
   return (mode == SWITCH_PAUSE) ? 0 : -1;
}



/* em_desktop_color_depth:
 *  A canvas holds 8 bits of each of red, green, blue and alpha.
 */
static int em_desktop_color_depth(void)
{
   return 32;
}



/* em_get_desktop_resolution:
 *  The screen the browser runs on, in CSS pixels.
 */
static int em_get_desktop_resolution(int *width, int *height)
{
   emscripten_get_screen_size(width, height);
   return 0;
}



/* em_get_gfx_safe_mode:
 *  A window of 640 x 480 at the canvas's depth always opens.
 */
static void em_get_gfx_safe_mode(int *driver, struct GFX_MODE *mode)
{
   *driver = GFX_EMSCRIPTEN;
   mode->width = 640;
   mode->height = 480;
   mode->bpp = 32;
}



/* _al_em_yield:
 *  Yields to the browser, which delivers the input events meanwhile: the
 *  keys tapped since the last yield are let go first, so that the ticks
 *  run before it saw them held; after it, time has passed for the timers,
 *  and the gamepads are looked at.
 */
void _al_em_yield(int until, unsigned int ms, AL_CONST char *text)
{
   _al_em_release_tapped_keys();

   if (until == AL_EM_FRAME)
      _al_em_wait_for_frame();
   else if (until == AL_EM_MESSAGE)
      _al_em_message(text);
   else
      emscripten_sleep(ms);

   _al_em_poll_gamepads();
   _al_em_run_timers();
}



/* em_yield_timeslice:
 *  Lets the browser do its own work.
 */
static void em_yield_timeslice(void)
{
   _al_em_yield(AL_EM_SLEEP, 0, NULL);
}
