/*
 *      Web browser keyboard driver.
 *
 *      Keys come from several sources at once: the keyboard, each finger
 *      on the page's own controls (etouch.c) and each gamepad (egamepad.c).
 *      Each source holds its own keys, and a key is down while any source
 *      holds it: a source that lets go releases only its own.  A page that
 *      loses the focus or is hidden lets go of every source, as a window
 *      does; a canvas that loses it lets go of the keyboard's.
 *
 *      The keyboard's keys come from the canvas while it has the focus, by
 *      where they are on the keyboard (KeyboardEvent.code), whatever the
 *      layout; the characters they type come from the browser.  Each press
 *      and each release reaches the library as it arrives, so a tap
 *      shorter than a frame is still seen by the low level callback, and a
 *      key pressed and released between two yields to the browser is held
 *      until the next, so that the program's loop sees it too.  Keys that
 *      would scroll the page are the program's alone.
 *
 *      See readme.txt for copyright information.
 */


#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <emscripten.h>
#include <emscripten/dom_pk_codes.h>
#include <emscripten/html5.h>

#include "allegro.h"
#include "allegro/internal/aintern.h"
#include "allegro/platform/aintem.h"

#ifndef ALLEGRO_EMSCRIPTEN
   #error something is wrong with the makefile
#endif


static int em_keyboard_init(void);
static void em_keyboard_exit(void);


KEYBOARD_DRIVER keyboard_emscripten = {
   KEYBOARD_EMSCRIPTEN,
   empty_string,
   empty_string,
   "Web browser keyboard",
   FALSE, /* the browser repeats held keys itself */
   em_keyboard_init,
   em_keyboard_exit,
   NULL, /* AL_METHOD(void, poll, (void)); */
   NULL, /* AL_METHOD(void, set_leds, (int leds)); */
   NULL, /* AL_METHOD(void, set_rate, (int delay, int rate)); */
   NULL, /* AL_METHOD(void, wait_for_input, (void)); */
   NULL, /* AL_METHOD(void, stop_waiting_for_input, (void)); */
   NULL, /* AL_METHOD(int,  scancode_to_ascii, (int scancode)); */
   NULL  /* AL_METHOD(AL_CONST char *, scancode_to_name, (int scancode)); */
};


/* The browser's physical key codes, as emscripten_compute_dom_pk_code()
 * gives them, and the library's scancodes.
 */
/* clang-format off */
static const struct { int dom; int scancode; } key_codes[] =
{
   { DOM_PK_A, KEY_A }, { DOM_PK_B, KEY_B }, { DOM_PK_C, KEY_C }, { DOM_PK_D, KEY_D },
   { DOM_PK_E, KEY_E }, { DOM_PK_F, KEY_F }, { DOM_PK_G, KEY_G }, { DOM_PK_H, KEY_H },
   { DOM_PK_I, KEY_I }, { DOM_PK_J, KEY_J }, { DOM_PK_K, KEY_K }, { DOM_PK_L, KEY_L },
   { DOM_PK_M, KEY_M }, { DOM_PK_N, KEY_N }, { DOM_PK_O, KEY_O }, { DOM_PK_P, KEY_P },
   { DOM_PK_Q, KEY_Q }, { DOM_PK_R, KEY_R }, { DOM_PK_S, KEY_S }, { DOM_PK_T, KEY_T },
   { DOM_PK_U, KEY_U }, { DOM_PK_V, KEY_V }, { DOM_PK_W, KEY_W }, { DOM_PK_X, KEY_X },
   { DOM_PK_Y, KEY_Y }, { DOM_PK_Z, KEY_Z },
   { DOM_PK_0, KEY_0 }, { DOM_PK_1, KEY_1 }, { DOM_PK_2, KEY_2 }, { DOM_PK_3, KEY_3 },
   { DOM_PK_4, KEY_4 }, { DOM_PK_5, KEY_5 }, { DOM_PK_6, KEY_6 }, { DOM_PK_7, KEY_7 },
   { DOM_PK_8, KEY_8 }, { DOM_PK_9, KEY_9 },
   { DOM_PK_NUMPAD_0, KEY_0_PAD }, { DOM_PK_NUMPAD_1, KEY_1_PAD }, { DOM_PK_NUMPAD_2, KEY_2_PAD },
   { DOM_PK_NUMPAD_3, KEY_3_PAD }, { DOM_PK_NUMPAD_4, KEY_4_PAD }, { DOM_PK_NUMPAD_5, KEY_5_PAD },
   { DOM_PK_NUMPAD_6, KEY_6_PAD }, { DOM_PK_NUMPAD_7, KEY_7_PAD }, { DOM_PK_NUMPAD_8, KEY_8_PAD },
   { DOM_PK_NUMPAD_9, KEY_9_PAD },
   { DOM_PK_F1, KEY_F1 }, { DOM_PK_F2, KEY_F2 }, { DOM_PK_F3, KEY_F3 }, { DOM_PK_F4, KEY_F4 },
   { DOM_PK_F5, KEY_F5 }, { DOM_PK_F6, KEY_F6 }, { DOM_PK_F7, KEY_F7 }, { DOM_PK_F8, KEY_F8 },
   { DOM_PK_F9, KEY_F9 }, { DOM_PK_F10, KEY_F10 }, { DOM_PK_F11, KEY_F11 }, { DOM_PK_F12, KEY_F12 },
   { DOM_PK_ESCAPE, KEY_ESC }, { DOM_PK_BACKQUOTE, KEY_TILDE }, { DOM_PK_MINUS, KEY_MINUS },
   { DOM_PK_EQUAL, KEY_EQUALS }, { DOM_PK_BACKSPACE, KEY_BACKSPACE }, { DOM_PK_TAB, KEY_TAB },
   { DOM_PK_BRACKET_LEFT, KEY_OPENBRACE }, { DOM_PK_BRACKET_RIGHT, KEY_CLOSEBRACE },
   { DOM_PK_ENTER, KEY_ENTER }, { DOM_PK_SEMICOLON, KEY_COLON }, { DOM_PK_QUOTE, KEY_QUOTE },
   { DOM_PK_BACKSLASH, KEY_BACKSLASH }, { DOM_PK_INTL_BACKSLASH, KEY_BACKSLASH2 },
   { DOM_PK_COMMA, KEY_COMMA }, { DOM_PK_PERIOD, KEY_STOP }, { DOM_PK_SLASH, KEY_SLASH },
   { DOM_PK_SPACE, KEY_SPACE }, { DOM_PK_INSERT, KEY_INSERT }, { DOM_PK_DELETE, KEY_DEL },
   { DOM_PK_HOME, KEY_HOME }, { DOM_PK_END, KEY_END }, { DOM_PK_PAGE_UP, KEY_PGUP },
   { DOM_PK_PAGE_DOWN, KEY_PGDN }, { DOM_PK_ARROW_LEFT, KEY_LEFT }, { DOM_PK_ARROW_RIGHT, KEY_RIGHT },
   { DOM_PK_ARROW_UP, KEY_UP }, { DOM_PK_ARROW_DOWN, KEY_DOWN },
   { DOM_PK_NUMPAD_DIVIDE, KEY_SLASH_PAD }, { DOM_PK_NUMPAD_MULTIPLY, KEY_ASTERISK },
   { DOM_PK_NUMPAD_SUBTRACT, KEY_MINUS_PAD }, { DOM_PK_NUMPAD_ADD, KEY_PLUS_PAD },
   { DOM_PK_NUMPAD_DECIMAL, KEY_DEL_PAD }, { DOM_PK_NUMPAD_ENTER, KEY_ENTER_PAD },
   { DOM_PK_NUMPAD_EQUAL, KEY_EQUALS_PAD }, { DOM_PK_PRINT_SCREEN, KEY_PRTSCR }, { DOM_PK_PAUSE, KEY_PAUSE },
   { DOM_PK_INTL_RO, KEY_ABNT_C1 }, { DOM_PK_INTL_YEN, KEY_YEN }, { DOM_PK_KANA_MODE, KEY_KANA },
   { DOM_PK_CONVERT, KEY_CONVERT }, { DOM_PK_NON_CONVERT, KEY_NOCONVERT },
   { DOM_PK_SHIFT_LEFT, KEY_LSHIFT }, { DOM_PK_SHIFT_RIGHT, KEY_RSHIFT },
   { DOM_PK_CONTROL_LEFT, KEY_LCONTROL }, { DOM_PK_CONTROL_RIGHT, KEY_RCONTROL },
   { DOM_PK_ALT_LEFT, KEY_ALT }, { DOM_PK_ALT_RIGHT, KEY_ALTGR },
   { DOM_PK_META_LEFT, KEY_LWIN }, { DOM_PK_OS_LEFT, KEY_LWIN },
   { DOM_PK_META_RIGHT, KEY_RWIN }, { DOM_PK_OS_RIGHT, KEY_RWIN }, { DOM_PK_CONTEXT_MENU, KEY_MENU },
   { DOM_PK_SCROLL_LOCK, KEY_SCRLOCK }, { DOM_PK_NUM_LOCK, KEY_NUMLOCK }, { DOM_PK_CAPS_LOCK, KEY_CAPSLOCK }
};
/* clang-format on */



#define SOURCES 16 /* the keyboard, fingers and gamepads that may hold keys at once */

static struct source {
   int kind; /* AL_EM_KEYBOARD, AL_EM_FINGER or AL_EM_GAMEPAD; 0 for a free slot */
   int id;
   char held[KEY_MAX];
} sources[SOURCES];

static const struct source free_source;
static char tapped[KEY_MAX]; /* pressed since the last yield */
static char let_go[KEY_MAX]; /* tapped, then released: let go at the next yield */



/* scancode_of:
 *  The library's scancode of the key at that place, or 0.
 */
static int scancode_of(AL_CONST char *code)
{
   int dom = emscripten_compute_dom_pk_code(code);
   unsigned int i;

   for (i = 0; i < sizeof(key_codes) / sizeof(key_codes[0]); i++) {
      if (key_codes[i].dom == dom)
         return key_codes[i].scancode;
   }

   return 0;
}



/* character_of:
 *  The character the key types, for the key buffer, by its name
 *  (KeyboardEvent.key): the browser's, one of the control characters the
 *  library's other drivers give, or 0 for a key that types none.
 */
static int character_of(AL_CONST char *name, int ctrl)
{
   static const struct {
      AL_CONST char *name;
      int character;
   } named[] = { { "Enter", '\r' }, { "Tab", '\t' }, { "Backspace", 8 }, { "Escape", 27 }, { "Delete", 127 } };
   char buffer[sizeof(((EmscriptenKeyboardEvent *)NULL)->key) * 2];
   AL_CONST char *typed = uconvert(name, U_UTF8, buffer, U_CURRENT, sizeof(buffer));
   unsigned int i;
   int c;

   if (ustrlen(typed) == 1) {
      c = ugetc(typed);
      if ((ctrl) && ((c | 0x20) >= 'a') && ((c | 0x20) <= 'z'))
         return (c | 0x20) - 'a' + 1;
      return c;
   }

   for (i = 0; i < sizeof(named) / sizeof(named[0]); i++) {
      if (strcmp(name, named[i].name) == 0)
         return named[i].character;
   }

   return 0;
}



/* update_shifts:
 *  The modifier keys the event says are held.
 */
static void update_shifts(AL_CONST EmscriptenKeyboardEvent *event)
{
   _key_shifts = (_key_shifts & ~(KB_SHIFT_FLAG | KB_CTRL_FLAG | KB_ALT_FLAG | KB_LWIN_FLAG)) |
                 (event->shiftKey ? KB_SHIFT_FLAG : 0) | (event->ctrlKey ? KB_CTRL_FLAG : 0) |
                 (event->altKey ? KB_ALT_FLAG : 0) | (event->metaKey ? KB_LWIN_FLAG : 0);
}



/* scrolls_the_page:
 *  Whether the browser would scroll the page for this key.
 */
static int scrolls_the_page(int scancode)
{
   return (scancode == KEY_UP) || (scancode == KEY_DOWN) || (scancode == KEY_LEFT) || (scancode == KEY_RIGHT) ||
          (scancode == KEY_SPACE) || (scancode == KEY_PGUP) || (scancode == KEY_PGDN) || (scancode == KEY_HOME) ||
          (scancode == KEY_END);
}



/* key_changed:
 *  A key goes down (or repeats while held) or up.  The program's loop
 *  looks at the keys once a frame, and runs the ticks that passed during
 *  a yield after it: a key tapped within the yield is released at the
 *  next, and so is held for them.
 */
static void key_changed(int scancode, int character, int pressed)
{
   if (pressed) {
      if (!key[scancode])
         tapped[scancode] = TRUE;
      let_go[scancode] = FALSE;
      _handle_key_press(character, scancode);
   }
   else if (tapped[scancode])
      let_go[scancode] = TRUE;
   else
      _handle_key_release(scancode);
}



/* source_of:
 *  The slot of a source; a free one is taken for it if take is set.
 *  -1 if it has none.
 */
static int source_of(int kind, int id, int take)
{
   int i;

   for (i = 0; i < SOURCES; i++) {
      if ((sources[i].kind == kind) && (sources[i].id == id))
         return i;
   }

   for (i = 0; (take) && (i < SOURCES); i++) {
      if (!sources[i].kind) {
         sources[i] = free_source;
         sources[i].kind = kind;
         sources[i].id = id;
         return i;
      }
   }

   return -1;
}



/* holders:
 *  How many sources hold the key.
 */
static int holders(int scancode)
{
   int i, n = 0;

   for (i = 0; i < SOURCES; i++)
      n += (sources[i].kind != 0) && (sources[i].held[scancode]);

   return n;
}



/* _al_em_hold_key:
 *  A source presses (pressed) or releases a key: the key goes down with
 *  the first source to hold it, and up with the last.  A source that
 *  holds nothing more gives up its slot.
 */
void _al_em_hold_key(int kind, int id, int scancode, int character, int pressed)
{
   int source;

   if ((scancode <= 0) || (scancode >= KEY_MAX) || ((source = source_of(kind, id, pressed)) < 0))
      return;

   if (pressed) {
      /* A press of a key this source holds is the browser's repeat. */
      if ((sources[source].held[scancode]) || (!holders(scancode)))
         key_changed(scancode, character, TRUE);
      sources[source].held[scancode] = TRUE;
      return;
   }

   if (!sources[source].held[scancode])
      return;
   sources[source].held[scancode] = FALSE;
   if (!holders(scancode))
      key_changed(scancode, 0, FALSE);
   if (!memchr(sources[source].held, TRUE, KEY_MAX))
      sources[source].kind = 0;
}



/* _al_em_hold_code:
 *  As _al_em_hold_key, of the key at that place (KeyboardEvent.code),
 *  which also names what it types: "ArrowLeft", "Escape".
 */
void _al_em_hold_code(int kind, int id, AL_CONST char *code, int pressed)
{
   _al_em_hold_key(kind, id, scancode_of(code), character_of(code, FALSE), pressed);
}



/* _al_em_hold_arrows:
 *  A source holds these arrows (AL_EM_LEFT and the others) and no other.
 */
void _al_em_hold_arrows(int kind, int id, int arrows)
{
   static const int scancodes[] = { KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN };
   int source, i, wanted;

   for (i = 0; i < 4; i++) {
      source = source_of(kind, id, FALSE);
      wanted = (arrows & (1 << i)) != 0;
      if (wanted != ((source >= 0) && (sources[source].held[scancodes[i]])))
         _al_em_hold_key(kind, id, scancodes[i], 0, wanted);
   }
}



/* _al_em_arrows_towards:
 *  The arrows that steer towards (x, y), y down, in units of the reach of
 *  the control (a pad's radius, a stick's travel): one of eight
 *  directions, each the arrow or the two adjacent arrows a keyboard would
 *  hold; none within the dead zone.
 */
int _al_em_arrows_towards(double x, double y)
{
   static const int eighths[] = { AL_EM_RIGHT, AL_EM_RIGHT | AL_EM_DOWN, AL_EM_DOWN, AL_EM_DOWN | AL_EM_LEFT,
                                  AL_EM_LEFT,  AL_EM_LEFT | AL_EM_UP,    AL_EM_UP,   AL_EM_UP | AL_EM_RIGHT };

   if (hypot(x, y) < AL_EM_DEAD_ZONE)
      return 0;

   return eighths[((int)lround(atan2(y, x) / (M_PI / 4)) + 8) % 8];
}



/* _al_em_let_go:
 *  A source lets go of every key it holds.
 */
void _al_em_let_go(int kind, int id)
{
   int scancode;

   for (scancode = 1; (source_of(kind, id, FALSE) >= 0) && (scancode < KEY_MAX); scancode++)
      _al_em_hold_key(kind, id, scancode, 0, FALSE);
}



/* _al_em_let_go_of_everything:
 *  Every source lets go: the page lost the focus or was hidden.  A source
 *  still held presses again as it next moves: a finger as it slides, a
 *  gamepad at the next look.
 */
void _al_em_let_go_of_everything(void)
{
   int i;

   for (i = 0; i < SOURCES; i++) {
      if (sources[i].kind)
         _al_em_let_go(sources[i].kind, sources[i].id);
   }
}



/* _al_em_release_tapped_keys:
 *  Called before each yield to the browser: the keys tapped since the last
 *  one are let go.
 */
void _al_em_release_tapped_keys(void)
{
   int scancode;

   for (scancode = 1; scancode < KEY_MAX; scancode++) {
      if (let_go[scancode])
         _handle_key_release(scancode);
      tapped[scancode] = let_go[scancode] = FALSE;
   }
}



/* em_key_changed:
 *  A key on the keyboard.
 */
static EM_BOOL em_key_changed(int type, AL_CONST EmscriptenKeyboardEvent *event, void *data)
{
   int scancode = scancode_of(event->code);

   update_shifts(event);
   _al_em_hold_key(AL_EM_KEYBOARD, 0, scancode, character_of(event->key, event->ctrlKey),
                   type == EMSCRIPTEN_EVENT_KEYDOWN);

   return scrolls_the_page(scancode);
}



/* em_canvas_blurred:
 *  The keyboard's keys released elsewhere never come back to the canvas.
 */
static EM_BOOL em_canvas_blurred(int type, AL_CONST EmscriptenFocusEvent *event, void *data)
{
   _al_em_let_go(AL_EM_KEYBOARD, 0);
   _key_shifts &= ~(KB_SHIFT_FLAG | KB_CTRL_FLAG | KB_ALT_FLAG | KB_LWIN_FLAG);

   return EM_FALSE;
}



/* em_page_blurred:
 *  A page that lost the focus gets no more of any source's releases.
 */
static EM_BOOL em_page_blurred(int type, AL_CONST EmscriptenFocusEvent *event, void *data)
{
   _al_em_let_go_of_everything();
   return em_canvas_blurred(type, event, data);
}



/* em_keyboard_init:
 *  Listens to the canvas and the page, and takes the page's controls.
 */
static int em_keyboard_init(void)
{
   if ((emscripten_set_keydown_callback(_AL_EM_CANVAS, NULL, EM_TRUE, em_key_changed) !=
        EMSCRIPTEN_RESULT_SUCCESS) ||
       (emscripten_set_keyup_callback(_AL_EM_CANVAS, NULL, EM_TRUE, em_key_changed) != EMSCRIPTEN_RESULT_SUCCESS) ||
       (emscripten_set_blur_callback(_AL_EM_CANVAS, NULL, EM_TRUE, em_canvas_blurred) !=
        EMSCRIPTEN_RESULT_SUCCESS) ||
       /* Not capturing: the page's own blur, not that of an element in it. */
       (emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, NULL, EM_FALSE, em_page_blurred) !=
        EMSCRIPTEN_RESULT_SUCCESS)) {
      em_keyboard_exit();
      ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("The page has no canvas"));
      return -1;
   }

   _al_em_controls_init();
   _al_em_gamepads_init();
   return 0;
}



/* em_keyboard_exit:
 *  Stops listening.
 */
static void em_keyboard_exit(void)
{
   int i;

   _al_em_gamepads_exit();
   _al_em_controls_exit();
   emscripten_set_keydown_callback(_AL_EM_CANVAS, NULL, EM_TRUE, NULL);
   emscripten_set_keyup_callback(_AL_EM_CANVAS, NULL, EM_TRUE, NULL);
   emscripten_set_blur_callback(_AL_EM_CANVAS, NULL, EM_TRUE, NULL);
   emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, NULL, EM_FALSE, NULL);
   for (i = 0; i < SOURCES; i++)
      sources[i].kind = 0;
}
