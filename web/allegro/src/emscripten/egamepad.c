/*
 *      Web browser gamepads: the browser's standard gamepads, whose d-pad
 *      and left stick stand for the arrow keys, as a handheld port's
 *      buttons do.
 *
 *      The browser gives no event for them: they are looked at once a
 *      frame, after each yield.  Each pad is a source of keys of its own
 *      (ekey.c), which holds the arrows of its d-pad and those its stick
 *      points to; a pad connected meanwhile steers, one gone lets go.  No
 *      button quits, so that a stray press never ends a game.
 *
 *      See readme.txt for copyright information.
 */


#include "allegro.h"
#include "allegro/internal/aintern.h"
#include "allegro/platform/aintem.h"

#ifndef ALLEGRO_EMSCRIPTEN
   #error something is wrong with the makefile
#endif


#define GAMEPADS 8 /* the browser's indices looked at */

static int looking = FALSE;



/* _al_em_poll_gamepads:
 *  Each pad holds the arrows it points now.
 */
void _al_em_poll_gamepads(void)
{
   double x, y;
   int i, dpad;

   for (i = 0; (looking) && (i < GAMEPADS); i++) {
      if (_al_em_gamepad(i, &x, &y, &dpad))
         _al_em_hold_arrows(AL_EM_GAMEPAD, i, dpad | _al_em_arrows_towards(x, y));
      else
         _al_em_let_go(AL_EM_GAMEPAD, i);
   }
}



/* _al_em_gamepads_init:
 *  Starts looking at the pads.
 */
void _al_em_gamepads_init(void)
{
   looking = TRUE;
}



/* _al_em_gamepads_exit:
 *  Stops.
 */
void _al_em_gamepads_exit(void)
{
   looking = FALSE;
}
