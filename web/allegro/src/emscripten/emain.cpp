/*
 *      The web browser's main(): calls the program's.
 *
 *      In the browser a C++ exception that nothing catches would leave
 *      main() as a script error, without std::terminate() and the handler
 *      the program may have set; here it reaches them, as it does in a
 *      native program.
 *
 *      See readme.txt for copyright information.
 */


#include <exception>


/* The program's main, as END_OF_MAIN() wraps it. */
extern "C" int _al_em_main(int argc, char *argv[]);


int main(int argc, char *argv[])
{
   try {
      return _al_em_main(argc, argv);
   } catch (...) {
      std::terminate();
   }
}
