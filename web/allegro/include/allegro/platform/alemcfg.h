/*
 *      Configuration defines for the web browser, through Emscripten.
 *
 *      The program runs on the page's main thread, between the browser's
 *      own work: it yields to the browser when it presents a frame, shows
 *      a message, rests or yields its timeslice, and only then does time
 *      pass for its timers and do its input events arrive.
 *
 *      See readme.txt for copyright information.
 */


#ifndef ALEMCFG_H
#define ALEMCFG_H

#ifndef SCAN_DEPEND
   #include <fcntl.h>
   #include <unistd.h>
#endif


/* The library's own main (src/emscripten/emain.cpp) calls the program's,
 * so that a C++ exception nothing catches reaches std::terminate and its
 * handler, as it does in a native program.  The call goes through a
 * function of the program's own, with the arguments the library passes:
 * WebAssembly calls a function only with the parameters it has, and the
 * compiler adapts the call to them.
 */
#if (!defined ALLEGRO_NO_MAGIC_MAIN) && (!defined ALLEGRO_SRC)
   #define ALLEGRO_MAGIC_MAIN
   #define main _mangled_main
   #undef END_OF_MAIN
   #ifdef __cplusplus
      #define _AL_EM_MAIN_LINKAGE extern "C"
   #else
      #define _AL_EM_MAIN_LINKAGE
   #endif
   #define END_OF_MAIN()                                                                                           \
      _AL_EM_MAIN_LINKAGE int _al_em_main(int argc, char *argv[])                                                  \
      {                                                                                                            \
         return ((int (*)(int, char *[]))_mangled_main)(argc, argv);                                               \
      }
#else
   #undef END_OF_MAIN
   #define END_OF_MAIN()
#endif


/* Emscripten's C library is a POSIX one. */
#define ALLEGRO_HAVE_DIRENT_H   1
#define ALLEGRO_HAVE_INTTYPES_H 1
#define ALLEGRO_HAVE_STDINT_H   1
#define ALLEGRO_HAVE_SYS_TIME_H 1
#define ALLEGRO_HAVE_SYS_STAT_H 1
#define ALLEGRO_NO_STRICMP
#define ALLEGRO_NO_STRLWR
#define ALLEGRO_NO_STRUPR

/* Describe this platform */
#define ALLEGRO_PLATFORM_STR "Emscripten"
#define ALLEGRO_USE_CONSTRUCTOR
#define ALLEGRO_LITTLE_ENDIAN

/* Exclude ASM */
#ifndef ALLEGRO_NO_ASM
   #define ALLEGRO_NO_ASM
#endif

/* Arrange for other headers to be included later on */
#define ALLEGRO_EXTRA_HEADER "allegro/platform/alem.h"


#endif
