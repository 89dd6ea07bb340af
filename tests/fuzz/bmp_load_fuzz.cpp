// Hands arbitrary bytes to the game's bitmap loader as the game hands it an art file's: it must load or refuse,
// never corrupt.
#include <allegro.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "gfx/bmp.h"
#include "gfx/bmp_file.h"

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
    static bool installed = false;
    if (!installed) {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        set_color_depth(32);  // the window's depth on a 24-bit desktop
        installed = true;
    }
    if (BITMAP* bitmap = loadBmpBytes(bmp::Bytes(data, data + size), loadPalette))
        destroy_bitmap(bitmap);
    return 0;
}
