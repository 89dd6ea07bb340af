#ifndef SWARM_BMP_FORMAT_H
#define SWARM_BMP_FORMAT_H

// The layout of a BMP file, shared by the rewrite into the forms the library's loader reads and the check of what
// it is handed.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace bmp {

using Bytes = std::vector<unsigned char>;

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t os2HeaderSize = 12;
constexpr std::size_t windowsHeaderSize = 40;
constexpr std::size_t masksSize = 12;  // red, green and blue bit fields, at byte 54 after any Windows header
// Far beyond any sprite, small enough that no size computed from them overflows.
constexpr std::int64_t maxSide = 16384;
constexpr std::int64_t maxPixels = std::int64_t(1) << 26;

enum Compression : std::uint32_t { rgb = 0, rle8 = 1, rle4 = 2, bitfields = 3 };

// Little-endian fields; has() says whether they are inside the file.
class Reader {
public:
    Reader(const unsigned char* data, std::size_t size) : data(data), size(size) {}
    bool has(std::size_t at, std::size_t n) const { return at <= size && n <= size - at; }
    std::uint32_t u16(std::size_t at) const { return data[at] | data[at + 1] << 8; }
    std::uint32_t u32(std::size_t at) const { return u16(at) | u16(at + 2) << 16; }
    std::int32_t i32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }
    unsigned char at(std::size_t i) const { return data[i]; }

    const unsigned char* data;
    std::size_t size;
};

// One row's bytes, padded to whole 32-bit words.
inline std::int64_t rowBytes(std::int64_t width, unsigned bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

// The bytes the loader reads for the rows. The last row's padding may be missing at 16 bits and more, which it
// reads pixel by pixel; at 1, 4 and 8 bits it reads whole words, and a word cut by the end of the file reads as -1.
inline std::int64_t pixelBytes(std::int64_t width, std::int64_t height, unsigned bitsPerPixel)
{
    const std::int64_t row = rowBytes(width, bitsPerPixel);
    return row * (height - 1) + (bitsPerPixel <= 8 ? row : (width * bitsPerPixel + 7) / 8);
}

}  // namespace bmp

#endif
