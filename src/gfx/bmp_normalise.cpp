#include "gfx/bmp_normalise.h"

#include <algorithm>
#include <cstdint>

namespace {

using namespace bmp;

// What the loader reads of a palette; it skips the rest.
constexpr std::size_t maxColours = 256;

// The later Windows headers begin with the 40-byte one's fields: 52 and 56 bytes add the bit-field masks (and
// alpha's), 108 and 124 colour-space information too. The loader reads only the 40-byte one.
bool isWindowsHeader(std::size_t size)
{
    return size == windowsHeaderSize || size == 52 || size == 56 || size == 108 || size == 124;
}

void put32(Bytes& b, std::size_t at, std::uint64_t value)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// Appends a top-down picture's rows bottom-up, as the loader reads them; false when rows are missing. The last
// row's padding may be missing, and that row comes first now: zeros stand in for it.
bool appendBottomUp(Bytes& out, const Reader& file, std::size_t pixelsAt, std::int64_t width, std::int64_t height,
                    unsigned bitsPerPixel)
{
    if (width <= 0 || width > maxSide || height > maxSide ||
        !file.has(pixelsAt, pixelBytes(width, height, bitsPerPixel)))
        return false;
    const std::size_t row = rowBytes(width, bitsPerPixel);
    for (std::int64_t y = height - 1; y >= 0; --y) {
        const std::size_t from = pixelsAt + y * row, n = std::min(row, file.size - from);
        out.insert(out.end(), file.data + from, file.data + from + n);
        out.resize(out.size() + row - n);
    }
    return true;
}

}  // namespace

std::optional<Bytes> normalisedBmp(const Bytes& bytes)
{
    const Reader file(bytes.data(), bytes.size());
    if (!file.has(0, fileHeaderSize + 4) || bytes[0] != 'B' || bytes[1] != 'M')
        return std::nullopt;
    const std::size_t pixelsAt = file.u32(10), headerSize = file.u32(14);
    const bool os2 = headerSize == os2HeaderSize;
    if (!(os2 || isWindowsHeader(headerSize)) || !file.has(0, fileHeaderSize + headerSize))
        return std::nullopt;
    const unsigned bitsPerPixel = file.u16(os2 ? 24 : 28);
    const std::uint32_t compression = os2 ? rgb : file.u32(30);
    const bool topDown = !os2 && file.i32(22) < 0;
    if (compression > bitfields || (topDown && (compression == rle8 || compression == rle4)))
        return std::nullopt;  // no JPEG or PNG inside, and RLE pictures are bottom-up by definition

    // Bit fields follow a 40-byte header and are inside a later one: at byte 54 either way.
    const std::size_t headerAndMasks =
        (os2 ? os2HeaderSize : windowsHeaderSize) + (compression == bitfields ? masksSize : 0);
    const std::size_t paletteAt = fileHeaderSize + std::max(headerSize, headerAndMasks);
    if (!file.has(0, paletteAt) || pixelsAt < paletteAt || pixelsAt > bytes.size())
        return std::nullopt;
    // The colours the header declares, no more than the loader reads: other bytes before the pixels, a colour
    // profile among them, are not palette. The loader reads neither the count nor the file's size.
    const std::size_t entry = os2 ? 3 : 4;
    const std::size_t used = os2 ? 0 : file.u32(46);
    const std::size_t declared = bitsPerPixel > 8 ? 0 : used != 0 ? used : std::size_t(1) << bitsPerPixel;
    const std::size_t colours = std::min({declared, maxColours, (pixelsAt - paletteAt) / entry});

    Bytes out(file.data, file.data + fileHeaderSize + headerAndMasks);
    out.insert(out.end(), file.data + paletteAt, file.data + paletteAt + colours * entry);
    put32(out, 10, out.size());
    if (!os2)
        put32(out, 14, windowsHeaderSize);
    if (!topDown) {
        out.insert(out.end(), file.data + pixelsAt, file.data + file.size);
        return out;
    }
    const std::int64_t height = -std::int64_t(file.i32(22));
    if (!appendBottomUp(out, file, pixelsAt, file.i32(18), height, bitsPerPixel))
        return std::nullopt;
    put32(out, 22, height);
    return out;
}
