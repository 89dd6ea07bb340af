// Feeds arbitrary bytes as an art file to the game's bitmap loader: it must load or refuse, never corrupt.
#include <allegro.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/startup.h"
#include "gfx/bmp.h"
#include "platform/display.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/swarm_fuzz_" + std::to_string(getpid()) + ".bmp";
    if (!libraryInstalled) {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        libraryInstalled = true;
        set_color_depth(32);
        maskColor = makecol(255, 0, 255);
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    try {
        Bmp bmp(path, false);
    } catch (const Bmp::LoadError&) {
    }
    return 0;
}
