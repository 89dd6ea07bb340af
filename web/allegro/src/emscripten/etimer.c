/*
 *      Web browser timer driver.
 *
 *      The page has no thread to run the callbacks on: each time the
 *      program yields to the browser, the time that passed meanwhile runs
 *      them, so they keep their rate over time.  Time while the page is
 *      hidden, when the browser stops it, counts not at all, as a native
 *      program's monotonic clock does not count a suspended machine's
 *      sleep: a page shown again goes on where it was, without a burst.
 *
 *      See readme.txt for copyright information.
 */


#include <math.h>

#include <emscripten.h>
#include <emscripten/html5.h>

#include "allegro.h"
#include "allegro/internal/aintern.h"
#include "allegro/platform/aintem.h"

#ifndef ALLEGRO_EMSCRIPTEN
   #error something is wrong with the makefile
#endif


static int em_timer_init(void);
static void em_timer_exit(void);
static void em_rest(unsigned int time, AL_METHOD(void, callback, (void)));


TIMER_DRIVER timer_emscripten = { TIMER_EMSCRIPTEN,
                                  empty_string,
                                  empty_string,
                                  "Web browser timer",
                                  em_timer_init,
                                  em_timer_exit,
                                  NULL,
                                  NULL, /* install_int, remove_int */
                                  NULL,
                                  NULL, /* install_param_int, remove_param_int */
                                  NULL,
                                  NULL, /* can_simulate_retrace, simulate_retrace */
                                  em_rest };


static int timer_on = FALSE;
static int page_hidden;
static double counted_until; /* on the page's clock, in ms: the time given to the timers so far */
static double owed;          /* timer units that passed while visible, not yet run */



/* _al_em_page_hidden:
 *  Told by the system driver whenever the page is hidden or shown: the
 *  time up to hiding is owed to the callbacks, the time until showing is
 *  not.
 */
void _al_em_page_hidden(int hidden)
{
   double now = emscripten_get_now();

   if ((hidden) && (!page_hidden))
      owed += (now - counted_until) * TIMERS_PER_SECOND / 1000.0;

   counted_until = now;
   page_hidden = hidden;
}



/* em_timer_init:
 *  Starts counting time from now, if the page is visible.
 */
static int em_timer_init(void)
{
   EmscriptenVisibilityChangeEvent status;

   emscripten_get_visibility_status(&status);
   page_hidden = status.hidden;
   counted_until = emscripten_get_now();
   owed = 0;
   timer_on = TRUE;

   return 0;
}



/* em_timer_exit:
 *  Stops running the callbacks.
 */
static void em_timer_exit(void)
{
   timer_on = FALSE;
}



/* _al_em_run_timers:
 *  Runs the callbacks for the whole timer units that passed while the page
 *  was visible, at most a second's worth a call to the library, so that an
 *  interval never overflows; the fraction waits for the next time.
 */
void _al_em_run_timers(void)
{
   double now, whole;
   long interval;

   if (!timer_on)
      return;

   now = emscripten_get_now();
   if (!page_hidden) {
      owed += (now - counted_until) * TIMERS_PER_SECOND / 1000.0;
      counted_until = now;
   }

   whole = floor(owed);
   owed -= whole;
   while (whole > 0) {
      interval = (whole > TIMERS_PER_SECOND) ? TIMERS_PER_SECOND : (long)whole;
      _handle_timer_tick(interval);
      whole -= interval;
   }
}



/* em_rest:
 *  Waits for so many milliseconds, yielding to the browser meanwhile,
 *  calling the callback, if any, between yields.
 */
static void em_rest(unsigned int time, AL_METHOD(void, callback, (void)))
{
   double end = emscripten_get_now() + time;
   double left;

   do {
      if (callback)
         callback();
      left = end - emscripten_get_now();
      _al_em_yield(AL_EM_SLEEP, (callback) ? 1 : ((left > 0) ? (unsigned int)ceil(left) : 0), NULL);
   } while (emscripten_get_now() < end);
}
