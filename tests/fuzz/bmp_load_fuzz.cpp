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

namespace {

// The pixels the headers declare, Windows or OS/2.
long long declaredPixels(const std::uint8_t* data, std::size_t size)
{
    auto u16 = [&](std::size_t at) { return data[at] | data[at + 1] << 8; };
    auto i32 = [&](std::size_t at) {
        return static_cast<std::int32_t>(u16(at) | std::uint32_t(u16(at + 2)) << 16);
    };
    if (size < 26)
        return 0;
    if (u16(14) == 12)
        return static_cast<long long>(u16(18)) * u16(20);
    return std::llabs(static_cast<long long>(i32(18)) * i32(22));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A big picture takes a small one's paths, only at length (half a second for 40 million pixels), and the
    // loader's coverage would keep such pictures in the corpus: the fuzzer's time goes to paths instead.
    if (declaredPixels(data, size) > 256 * 256)
        return 0;
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
