#include "gfx/bmp.h"

#include "gfx/bmp_file.h"

#include "core/startup.h"
#include "core/to_string.h"
#include "platform/display.h"

PALETTE loadPalette;

namespace {

std::string sizeText(int width, int height) { return toString(width) + "x" + toString(height); }

}  // namespace

Bmp::Bmp(int width, int height, bool video)
{
    if (!libraryInstalled)
        fatalError("Attempt to load " + sizeText(width, height) + " bitmap before library has been installed.");
    if (video) {
        bitmap = create_video_bitmap(width, height);
        if (bitmap == nullptr)
            throw LoadError("Could not create " + sizeText(width, height) + " video bitmap.");
    } else {
        bitmap = create_bitmap(width, height);
        if (bitmap == nullptr)
            throw LoadError("Could not create " + sizeText(width, height) + " memory bitmap.");
    }
    clear_to_color(bitmap, maskColor);
}

Bmp::Bmp(std::string file, bool video)
{
    if (!libraryInstalled)
        fatalError("Attempt to load bitmap from " + file + " before library has been installed.");
    if (video)
        throw LoadError("Attempt to create video bitmap from a bitmap file: that's very bad, and I shouldn't "
                        "have done it.");
    // Read once, and the library's loader handed those very bytes, checked: it would corrupt memory on a damaged
    // file, which is refused like a missing one.
    // At 8 bits a true-colour file is matched to the selected palette: one of its own shows nowhere.
    RGB* palette = get_color_depth() == 8 ? nullptr : loadPalette;
    const std::optional<bmp::Bytes> art = readArtFile(file);
    bitmap = art ? loadBmpBytes(*art, palette) : nullptr;
    if (bitmap == nullptr)
        throw LoadError("Could not create memory bitmap from file " + file + ".");
}

Bmp::~Bmp() { destroy_bitmap(bitmap); }
