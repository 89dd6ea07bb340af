/*
 *      Web browser touch controls: the page's steering pad and Quit button,
 *      which stand for keys, as a handheld port's buttons do.
 *
 *      The page tells where each finger is: on the pad, as a place from
 *      its centre, which holds the arrows towards it; on Quit, which holds
 *      Escape.  Each finger is a source of keys of its own (ekey.c), so a
 *      second finger, anywhere, never changes what the first holds, and a
 *      finger let go after the page lost the focus steers again as it
 *      next moves.
 *
 *      See readme.txt for copyright information.
 */


#include "allegro.h"
#include "allegro/internal/aintern.h"
#include "allegro/platform/aintem.h"

#ifndef ALLEGRO_EMSCRIPTEN
   #error something is wrong with the makefile
#endif



/* touch_pad:
 *  A finger at (x, y) from the pad's centre, in units of its radius.
 */
static void touch_pad(int finger, double x, double y)
{
   _al_em_hold_arrows(AL_EM_FINGER, finger, _al_em_arrows_towards(x, y));
}



/* touch_key:
 *  A finger on a control that stands for a key, by its code: "Escape".
 */
static void touch_key(int finger, AL_CONST char *code)
{
   _al_em_hold_code(AL_EM_FINGER, finger, code, TRUE);
}



/* lift:
 *  A finger let go, or the browser took it away.
 */
static void lift(int finger)
{
   _al_em_let_go(AL_EM_FINGER, finger);
}



/* _al_em_controls_init:
 *  Offers the page the functions its controls call.
 */
void _al_em_controls_init(void)
{
   _al_em_offer_controls(touch_pad, touch_key, lift);
}



/* _al_em_controls_exit:
 *  Takes them back.
 */
void _al_em_controls_exit(void)
{
   _al_em_offer_controls(NULL, NULL, NULL);
}
