/*
 *      Web browser gfx driver: a window, the page's canvas.
 *
 *      The screen is a bitmap in memory.  A blit that covers all of it puts
 *      the frame on the canvas and yields to the browser until its next
 *      animation frame, so that the page stays alive while the program's
 *      loop never returns, and a program presents as many frames as the
 *      page shows.  There is no fullscreen mode and no video memory.
 *
 *      See readme.txt for copyright information.
 */


#include <limits.h>

#include <emscripten.h>
#include <emscripten/html5.h>

#include "allegro.h"
#include "allegro/internal/aintern.h"
#include "allegro/platform/aintem.h"

#ifndef ALLEGRO_EMSCRIPTEN
   #error something is wrong with the makefile
#endif


static BITMAP *em_gfx_init(int w, int h, int v_w, int v_h, int color_depth);
static void em_gfx_exit(BITMAP *bmp);
static void em_vsync(void);


GFX_DRIVER gfx_emscripten = {
   GFX_EMSCRIPTEN,
   empty_string,
   empty_string,
   "Web page canvas",
   em_gfx_init,
   em_gfx_exit,
   NULL, /* AL_METHOD(int, scroll, (int x, int y)); */
   em_vsync,
   NULL, /* AL_METHOD(void, set_palette, (AL_CONST struct RGB *p, int from, int to, int retracesync)); */
   NULL, /* AL_METHOD(int, request_scroll, (int x, int y)); */
   NULL, /* AL_METHOD(int, poll_scroll, (void)); */
   NULL, /* AL_METHOD(void, enable_triple_buffer, (void)); */
   NULL, /* AL_METHOD(struct BITMAP *, create_video_bitmap, (int width, int height)); */
   NULL, /* AL_METHOD(void, destroy_video_bitmap, (struct BITMAP *bitmap)); */
   NULL, /* AL_METHOD(int, show_video_bitmap, (struct BITMAP *bitmap)); */
   NULL, /* AL_METHOD(int, request_video_bitmap, (struct BITMAP *bitmap)); */
   NULL, /* AL_METHOD(struct BITMAP *, create_system_bitmap, (int width, int height)); */
   NULL, /* AL_METHOD(void, destroy_system_bitmap, (struct BITMAP *bitmap)); */
   NULL, /* AL_METHOD(int, set_mouse_sprite, (struct BITMAP *sprite, int xfocus, int yfocus)); */
   NULL, /* AL_METHOD(int, show_mouse, (struct BITMAP *bmp, int x, int y)); */
   NULL, /* AL_METHOD(void, hide_mouse, (void)); */
   NULL, /* AL_METHOD(void, move_mouse, (int x, int y)); */
   NULL, /* AL_METHOD(void, drawing_mode, (void)); */
   NULL, /* AL_METHOD(void, save_video_state, (void)); */
   NULL, /* AL_METHOD(void, restore_video_state, (void)); */
   NULL, /* AL_METHOD(void, set_blender_mode, (int mode, int r, int g, int b, int a)); */
   NULL, /* AL_METHOD(int, fetch_mode_list, (void)); */
   0,
   0,    /* physical (not virtual!) screen size */
   TRUE, /* true if video memory is linear */
   0,    /* bank size, in bytes */
   0,    /* bank granularity, in bytes */
   0,    /* video memory size, in bytes */
   0,    /* physical address of video memory */
   TRUE  /* true if driver runs windowed */
};


static unsigned char *screen_pixels; /* the screen bitmap's memory */
static uint32_t *frame;              /* what the canvas is given: red, green, blue, alpha */
static BITMAP *converted;            /* the screen at 32 bits, when it has another depth */
static BITMAP *screen_bitmap;

static AL_METHOD(void, memory_blit, (BITMAP * src, BITMAP *dest, int s_x, int s_y, int d_x, int d_y, int w, int h));
static AL_METHOD(void, system_blit, (BITMAP * src, BITMAP *dest, int s_x, int s_y, int d_x, int d_y, int w, int h));



/* show_frame:
 *  Puts the visible part of the screen on the canvas, opaque, then waits
 *  for the browser to show it.
 */
static void show_frame(void)
{
   BITMAP *source = screen_bitmap;
   int w = gfx_emscripten.w, h = gfx_emscripten.h;
   int x, y;

   if (converted) {
      blit(screen_bitmap, converted, 0, 0, 0, 0, w, h);
      source = converted;
   }

   for (y = 0; y < h; y++) {
      uint32_t *in = (uint32_t *)source->line[y];
      uint32_t *out = frame + y * w;
      for (x = 0; x < w; x++)
         out[x] = in[x] | 0xFF000000;
   }

   _al_em_present(frame, w, h);
   em_vsync();
}



/* frame_if_whole:
 *  A blit to the screen that covers all that shows is a frame.
 */
static void frame_if_whole(BITMAP *dest, int d_x, int d_y, int w, int h)
{
   if ((dest == screen_bitmap) && (d_x == 0) && (d_y == 0) && (w >= gfx_emscripten.w) && (h >= gfx_emscripten.h))
      show_frame();
}



/* em_blit_from_memory, em_blit_from_system:
 *  The library's blits to the screen, then perhaps a frame.
 */
static void em_blit_from_memory(BITMAP *src, BITMAP *dest, int s_x, int s_y, int d_x, int d_y, int w, int h)
{
   memory_blit(src, dest, s_x, s_y, d_x, d_y, w, h);
   frame_if_whole(dest, d_x, d_y, w, h);
}

static void em_blit_from_system(BITMAP *src, BITMAP *dest, int s_x, int s_y, int d_x, int d_y, int w, int h)
{
   system_blit(src, dest, s_x, s_y, d_x, d_y, w, h);
   frame_if_whole(dest, d_x, d_y, w, h);
}



/* em_gfx_init:
 *  Sizes the canvas and makes the screen, at any depth the library draws;
 *  a virtual screen larger than the window is kept, as other windows keep
 *  it, and its top left corner shows.
 */
static BITMAP *em_gfx_init(int w, int h, int v_w, int v_h, int color_depth)
{
   int bytes = BYTES_PER_PIXEL(color_depth);

   if ((color_depth != 8) && (color_depth != 15) && (color_depth != 16) && (color_depth != 24) &&
       (color_depth != 32)) {
      ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("Unsupported color depth"));
      return NULL;
   }

   if ((w <= 0) || (h <= 0)) {
      w = 320;
      h = 200;
   }
   if (emscripten_set_canvas_element_size(_AL_EM_CANVAS, w, h) != EMSCRIPTEN_RESULT_SUCCESS) {
      ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("The page has no canvas"));
      return NULL;
   }

   if (v_w < w)
      v_w = w;
   if (v_h < h)
      v_h = h;

   /* The canvas's byte order, read as a little-endian word. */
   _rgb_r_shift_32 = 0;
   _rgb_g_shift_32 = 8;
   _rgb_b_shift_32 = 16;
   _rgb_a_shift_32 = 24;

   /* The screen's bytes must be counted in an int, as the library counts them. */
   if ((double)v_w * v_h * bytes > INT_MAX) {
      ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("Not enough memory"));
      return NULL;
   }

   screen_pixels = _AL_MALLOC_ATOMIC((size_t)v_w * v_h * bytes);
   frame = _AL_MALLOC_ATOMIC((size_t)w * h * sizeof(uint32_t));
   if (color_depth != 32)
      converted = create_bitmap_ex(32, w, h);
   if ((!screen_pixels) || (!frame) || ((color_depth != 32) && (!converted))) {
      em_gfx_exit(NULL);
      ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("Not enough memory"));
      return NULL;
   }

   screen_bitmap = _make_bitmap(v_w, v_h, (uintptr_t)screen_pixels, &gfx_emscripten, color_depth, v_w * bytes);
   if (!screen_bitmap) {
      em_gfx_exit(NULL);
      ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("Not enough memory"));
      return NULL;
   }

   gfx_emscripten.w = screen_bitmap->cr = w;
   gfx_emscripten.h = screen_bitmap->cb = h;
   gfx_emscripten.vid_mem = v_w * v_h * bytes;

   memory_blit = screen_bitmap->vtable->blit_from_memory;
   system_blit = screen_bitmap->vtable->blit_from_system;
   screen_bitmap->vtable->blit_from_memory = em_blit_from_memory;
   screen_bitmap->vtable->blit_from_system = em_blit_from_system;

   return screen_bitmap;
}



/* em_gfx_exit:
 *  Blanks the canvas, as a closed window goes, and frees the screen's
 *  memory; the library frees the bitmap itself.
 */
static void em_gfx_exit(BITMAP *bmp)
{
   _al_em_blank();

   if (converted)
      destroy_bitmap(converted);
   _AL_FREE(frame);
   _AL_FREE(screen_pixels);
   converted = NULL;
   frame = NULL;
   screen_pixels = NULL;
   screen_bitmap = NULL;
}



/* em_vsync:
 *  Waits for the browser's next animation frame, which also yields to it.
 */
static void em_vsync(void)
{
   _al_em_yield(AL_EM_FRAME, 0, NULL);
}
