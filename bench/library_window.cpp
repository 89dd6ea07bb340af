// The floor for the game's start-up on Linux: a bare program on the library that installs the drivers the game
// installs, opens the same 640 x 480 window at the desktop's depth, presents one frame (black, with a grey mark
// where the game shows its frame rate) and leaves the same way, through the library's exit handler.
#include <allegro.h>

#include <cerrno>
#include <cstdlib>

int main()
{
    if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0 || install_timer() != 0 || install_keyboard() != 0)
        return 1;
    install_mouse();
    set_color_depth(desktop_color_depth());
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 640, 480, 0, 0) != 0)
        return 1;
    BITMAP* buffer = create_bitmap(640, 480);
    clear_to_color(buffer, makecol(0, 0, 0));
    rectfill(buffer, 50, 50, 57, 57, makecol(170, 170, 170));
    blit(buffer, screen, 0, 0, 0, 0, 640, 480);
    return 0;
}
END_OF_MAIN()
