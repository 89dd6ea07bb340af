/*
 *      Web browser mouse driver: three buttons, from the canvas.
 *
 *      Positions are the screen's pixels, however large the page shows the
 *      canvas.  The canvas's own menu stays away from a right click.
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


static int em_mouse_init(void);
static void em_mouse_exit(void);
static void em_mouse_position(int x, int y);
static void em_mouse_set_range(int x1, int y1, int x2, int y2);


MOUSE_DRIVER mouse_emscripten = {
   MOUSE_EMSCRIPTEN,
   empty_string,
   empty_string,
   "Web browser mouse",
   em_mouse_init,
   em_mouse_exit,
   NULL, /* AL_METHOD(void, poll, (void)); */
   NULL, /* AL_METHOD(void, timer_poll, (void)); */
   em_mouse_position,
   em_mouse_set_range,
   NULL, /* AL_METHOD(void, set_speed, (int xspeed, int yspeed)); */
   NULL, /* AL_METHOD(void, get_mickeys, (int *mickeyx, int *mickeyy)); */
   NULL, /* AL_METHOD(int,  analyse_data, (AL_CONST char *buffer, int size)); */
   NULL, /* AL_METHOD(void,  enable_hardware_cursor, (AL_CONST int mode)); */
   NULL  /* AL_METHOD(int,  select_system_cursor, (AL_CONST int cursor)); */
};


static int min_x, min_y, max_x, max_y;



/* em_mouse_changed:
 *  A move, a press or a release over the canvas.  The browser's buttons
 *  (1 left, 2 right, 4 middle) are the library's.
 */
static EM_BOOL em_mouse_changed(int type, AL_CONST EmscriptenMouseEvent *event, void *data)
{
   double css_w, css_h;
   int w, h;

   emscripten_get_element_css_size(_AL_EM_CANVAS, &css_w, &css_h);
   emscripten_get_canvas_element_size(_AL_EM_CANVAS, &w, &h);
   if ((css_w <= 0) || (css_h <= 0))
      return EM_FALSE;

   _mouse_x = MID(min_x, (int)(event->targetX * w / css_w), max_x);
   _mouse_y = MID(min_y, (int)(event->targetY * h / css_h), max_y);
   _mouse_b = event->buttons & 7;
   _handle_mouse_input();

   return EM_FALSE;
}



/* em_mouse_init:
 *  Listens to the canvas.
 */
static int em_mouse_init(void)
{
   em_mouse_set_range(0, 0, 639, 479);

   if ((emscripten_set_mousedown_callback(_AL_EM_CANVAS, NULL, EM_TRUE, em_mouse_changed) !=
        EMSCRIPTEN_RESULT_SUCCESS) ||
       (emscripten_set_mouseup_callback(_AL_EM_CANVAS, NULL, EM_TRUE, em_mouse_changed) !=
        EMSCRIPTEN_RESULT_SUCCESS) ||
       (emscripten_set_mousemove_callback(_AL_EM_CANVAS, NULL, EM_TRUE, em_mouse_changed) !=
        EMSCRIPTEN_RESULT_SUCCESS)) {
      em_mouse_exit();
      return -1;
   }
   _al_em_keep_context_menu_off(TRUE);

   return 3;
}



/* em_mouse_exit:
 *  Stops listening.
 */
static void em_mouse_exit(void)
{
   emscripten_set_mousedown_callback(_AL_EM_CANVAS, NULL, EM_TRUE, NULL);
   emscripten_set_mouseup_callback(_AL_EM_CANVAS, NULL, EM_TRUE, NULL);
   emscripten_set_mousemove_callback(_AL_EM_CANVAS, NULL, EM_TRUE, NULL);
   _al_em_keep_context_menu_off(FALSE);
}



/* em_mouse_position:
 *  Where the program puts the pointer, within its range.
 */
static void em_mouse_position(int x, int y)
{
   _mouse_x = MID(min_x, x, max_x);
   _mouse_y = MID(min_y, y, max_y);
}



/* em_mouse_set_range:
 *  Where the pointer may be.
 */
static void em_mouse_set_range(int x1, int y1, int x2, int y2)
{
   min_x = x1;
   min_y = y1;
   max_x = x2;
   max_y = y2;
   em_mouse_position(_mouse_x, _mouse_y);
}
