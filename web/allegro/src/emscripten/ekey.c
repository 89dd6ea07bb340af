/*
 *      Web browser keyboard driver.
 *
 *      Keys come from the canvas while it has the focus, by where they are
 *      on the keyboard (KeyboardEvent.code), whatever the layout; the
 *      characters they type come from the browser.  Each press and each
 *      release reaches the library as it arrives, so a tap shorter than a
 *      frame is still seen by the low level callback, and a key pressed
 *      and released between two yields to the browser is held until the
 *      next, so that the program's loop sees it too.  Keys that would
 *      scroll the page are the program's alone, and a canvas that loses
 *      the focus releases every key, as a window does.  The page's own
 *      controls (a touch screen's steering pad) press and release keys
 *      the same way, through Module.pressKey, and so do the arrows of the
 *      browser's standard gamepads, looked at once a frame.
 *
 *      See readme.txt for copyright information.
 */


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



static int listening = FALSE;
static int pad_arrows;       /* the arrows the gamepads held at the last look: bits 1 left, 2 right, 4 up, 8 down */
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
 *  A press (repeated while held) or a release, from the keyboard or the
 *  page's controls.  The program's loop looks at the keys once a frame,
 *  and runs the ticks that passed during a yield after it: a key tapped
 *  within the yield is released at the next, and so is held for them.
 */
static void key_changed(int scancode, int character, int pressed)
{
   if (!scancode)
      return;

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



/* _al_em_poll_gamepads:
 *  The arrows the gamepads hold now, pressed and released as keys: a pad
 *  connected meanwhile steers, one disconnected lets go.
 */
void _al_em_poll_gamepads(void)
{
   static const int arrows[] = { KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN };
   int held, i;

   if (!listening)
      return;

   held = _al_em_gamepad_arrows();
   for (i = 0; i < 4; i++) {
      if ((held ^ pad_arrows) & (1 << i))
         key_changed(arrows[i], 0, held & (1 << i));
   }
   pad_arrows = held;
}



/* control_key:
 *  A press or release from the page's own controls, of the key they stand
 *  for, by its code (KeyboardEvent.code), which here also names what it
 *  types: "ArrowLeft", "Escape".
 */
static void control_key(AL_CONST char *code, int pressed)
{
   key_changed(scancode_of(code), character_of(code, FALSE), pressed);
}



/* em_key_changed:
 *  A key on the keyboard.
 */
static EM_BOOL em_key_changed(int type, AL_CONST EmscriptenKeyboardEvent *event, void *data)
{
   int scancode = scancode_of(event->code);

   update_shifts(event);
   key_changed(scancode, character_of(event->key, event->ctrlKey), type == EMSCRIPTEN_EVENT_KEYDOWN);

   return scrolls_the_page(scancode);
}



/* em_focus_lost:
 *  Keys released elsewhere never come back to the canvas.
 */
static EM_BOOL em_focus_lost(int type, AL_CONST EmscriptenFocusEvent *event, void *data)
{
   int scancode;

   for (scancode = 1; scancode < KEY_MAX; scancode++) {
      if (key[scancode])
         _handle_key_release(scancode);
      tapped[scancode] = let_go[scancode] = FALSE;
   }
   pad_arrows = 0; /* those still held are pressed again at the next look */
   _key_shifts &= ~(KB_SHIFT_FLAG | KB_CTRL_FLAG | KB_ALT_FLAG | KB_LWIN_FLAG);

   return EM_FALSE;
}



/* em_keyboard_init:
 *  Listens to the canvas.
 */
static int em_keyboard_init(void)
{
   if ((emscripten_set_keydown_callback(_AL_EM_CANVAS, NULL, EM_TRUE, em_key_changed) !=
        EMSCRIPTEN_RESULT_SUCCESS) ||
       (emscripten_set_keyup_callback(_AL_EM_CANVAS, NULL, EM_TRUE, em_key_changed) != EMSCRIPTEN_RESULT_SUCCESS) ||
       (emscripten_set_blur_callback(_AL_EM_CANVAS, NULL, EM_TRUE, em_focus_lost) != EMSCRIPTEN_RESULT_SUCCESS)) {
      em_keyboard_exit();
      ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("The page has no canvas"));
      return -1;
   }

   _al_em_offer_controls(control_key);
   pad_arrows = 0;
   listening = TRUE;
   return 0;
}



/* em_keyboard_exit:
 *  Stops listening.
 */
static void em_keyboard_exit(void)
{
   listening = FALSE;
   _al_em_offer_controls(NULL);
   emscripten_set_keydown_callback(_AL_EM_CANVAS, NULL, EM_TRUE, NULL);
   emscripten_set_keyup_callback(_AL_EM_CANVAS, NULL, EM_TRUE, NULL);
   emscripten_set_blur_callback(_AL_EM_CANVAS, NULL, EM_TRUE, NULL);
}
