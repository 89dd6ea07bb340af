#include "gfx/bmp_check.h"

#include <cstdint>

#include "gfx/bmp_format.h"

namespace {

using bmp::Reader;

// Decodes an RLE stream without storing pixels: every pixel must land inside the bitmap, every
// byte must be inside the file, and the stream must end the picture. The loader ends a line by
// itself once x passes the row's end, so a move past the row would leave it on another row than
// this count: moves, runs and literals must stay inside the picture, as a sound encoder's do.
bool rleStreamIsSafe(const Reader& file, std::size_t at, std::int64_t width, std::int64_t height, bool nibbles)
{
    std::int64_t x = 0, y = 0;
    while (file.has(at, 2)) {
        const unsigned count = file.at(at), value = file.at(at + 1);
        at += 2;
        if (count > 0) {
            if (x + static_cast<std::int64_t>(count) > width)
                return false;
            x += count;
        } else if (value == 0) {  // end of line
            x = 0;
            if (++y >= height)
                return true;
        } else if (value == 1) {  // end of picture
            return true;
        } else if (value == 2) {  // move right and up
            if (!file.has(at, 2))
                return false;
            x += file.at(at);
            y += file.at(at + 1);
            at += 2;
            if (x > width || y >= height)
                return false;
        } else {  // a literal run of value pixels, padded to whole words
            const std::size_t bytes = nibbles ? (value + 1) / 2 : value;
            if (x + static_cast<std::int64_t>(value) > width || !file.has(at, bytes + bytes % 2))
                return false;
            x += value;
            at += bytes + bytes % 2;
        }
    }
    return false;
}

// The loader reads bit-field pixels straight after the masks, whatever the header's offset, and
// sizes them by the masks rather than the depth: both must agree with the header.
bool bitFieldsFit(const Reader& file, unsigned bitsPerPixel, std::size_t pixelsAt, std::size_t masksEnd)
{
    const std::uint32_t red = file.u32(masksEnd - 12), blue = file.u32(masksEnd - 4);
    const bool masksFit =
        bitsPerPixel == 16 ? blue == 0x1F && (red == 0x7C00 || red == 0xF800) : blue == 0xFF && red == 0xFF0000;
    return pixelsAt == masksEnd && masksFit;
}

}  // namespace

bool bmpDataIsSafe(const unsigned char* data, std::size_t size)
{
    using namespace bmp;
    const Reader file(data, size);
    if (!file.has(0, fileHeaderSize + 4) || data[0] != 'B' || data[1] != 'M')
        return false;
    const std::size_t pixelsAt = file.u32(10);
    const std::size_t headerSize = file.u32(14);
    std::int64_t width, height;
    unsigned bitsPerPixel, compression = rgb;
    std::size_t paletteEntry;
    if (headerSize == os2HeaderSize) {
        if (!file.has(0, fileHeaderSize + os2HeaderSize))
            return false;
        width = file.u16(18);
        height = file.u16(20);
        bitsPerPixel = file.u16(24);
        paletteEntry = 3;
    } else if (headerSize == windowsHeaderSize) {  // the loader reads no later kind
        if (!file.has(0, fileHeaderSize + windowsHeaderSize))
            return false;
        width = file.i32(18);
        height = file.i32(22);
        bitsPerPixel = file.u16(28);
        compression = file.u32(30);
        paletteEntry = 4;
    } else {
        return false;
    }
    // The Linux library takes a negative (top-down) height as the bitmap's size: such rows are turned first.
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide || width * height > maxPixels)
        return false;
    const bool depthFits = bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 16 ||
                           bitsPerPixel == 24 || bitsPerPixel == 32;
    const bool compressionFits = compression == rgb || (compression == rle8 && bitsPerPixel == 8) ||
                                 (compression == rle4 && bitsPerPixel == 4) ||
                                 (compression == bitfields && (bitsPerPixel == 16 || bitsPerPixel == 32));
    if (!depthFits || !compressionFits)
        return false;
    // The loader takes everything between the headers and the pixels as palette: at most 256 entries.
    const std::size_t headersEnd = fileHeaderSize + headerSize + (compression == bitfields ? masksSize : 0);
    if (pixelsAt < headersEnd || pixelsAt - headersEnd > 256 * paletteEntry || pixelsAt >= size)
        return false;
    if (compression == bitfields && !bitFieldsFit(file, bitsPerPixel, pixelsAt, headersEnd))
        return false;
    if (compression == rle8 || compression == rle4)
        return rleStreamIsSafe(file, pixelsAt, width, height, compression == rle4);
    return file.has(pixelsAt, pixelBytes(width, height, bitsPerPixel));
}
