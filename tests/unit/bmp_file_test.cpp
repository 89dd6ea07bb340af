#include <allegro.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gfx/bmp.h"
#include "gfx/bmp_file.h"

namespace {

using Bytes = std::vector<unsigned char>;

void put(Bytes& b, std::size_t at, unsigned long value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// A BMP file: headers, a palette of the depth's full size, then the given pixel bytes.
Bytes bmp(int bitsPerPixel, int width, int height, Bytes pixels, int compression = 0, bool os2 = false)
{
    const std::size_t header = os2 ? 12 : 40, entry = os2 ? 3 : 4;
    const std::size_t palette = bitsPerPixel <= 8 ? (1u << bitsPerPixel) * entry : 0;
    const std::size_t masks = compression == 3 ? 12 : 0;
    Bytes b(14 + header + masks + palette, 0);
    b[0] = 'B', b[1] = 'M';
    put(b, 10, b.size(), 4);
    put(b, 14, header, 4);
    if (os2) {
        put(b, 18, width, 2), put(b, 20, height, 2), put(b, 22, 1, 2), put(b, 24, bitsPerPixel, 2);
    } else {
        put(b, 18, width, 4), put(b, 22, height, 4), put(b, 26, 1, 2), put(b, 28, bitsPerPixel, 2);
        put(b, 30, compression, 4);
    }
    if (compression == 3)
        put(b, 54, 0xF800, 4), put(b, 58, 0x07E0, 4), put(b, 62, 0x001F, 4);
    for (std::size_t i = 14 + header + masks; i < b.size(); ++i)
        b[i] = static_cast<unsigned char>(i * 7);
    b.insert(b.end(), pixels.begin(), pixels.end());
    put(b, 2, b.size(), 4);
    return b;
}

Bytes uncompressed(int bitsPerPixel, int width, int height, bool os2 = false)
{
    const std::size_t row = (width * bitsPerPixel + 31) / 32 * 4;
    Bytes pixels(row * height);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<unsigned char>(i * 13 + 1);
    return bmp(bitsPerPixel, width, height, pixels, 0, os2);
}

// Eight rows of eight pixels: a run, a literal run and a run per row, then the end of the picture.
Bytes rle(bool nibbles)
{
    Bytes stream;
    for (int row = 0; row < 8; ++row) {
        const Bytes line = nibbles ? Bytes{2, 0x12, 0, 4, 0x34, 0x56, 2, 0x77, 0, 0}
                                   : Bytes{2, 9, 0, 4, 1, 2, 3, 4, 2, 7, 0, 0};
        stream.insert(stream.end(), line.begin(), line.end());
    }
    stream.insert(stream.end(), {0, 1});
    return bmp(nibbles ? 4 : 8, 8, 8, stream, nibbles ? 2 : 1);
}

void save(const std::string& path, const Bytes& b)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
}

} // namespace

TEST(BmpFile, EveryKindOfSoundFileStillLoads)
{
    const std::pair<const char*, Bytes> files[] = {
        {"1 bit", uncompressed(1, 13, 5)},     {"4 bits", uncompressed(4, 7, 3)},
        {"8 bits", uncompressed(8, 9, 4)},     {"16 bits", uncompressed(16, 5, 5)},
        {"24 bits", uncompressed(24, 6, 2)},   {"32 bits", uncompressed(32, 3, 3)},
        {"RLE8", rle(false)},                  {"RLE4", rle(true)},
        {"OS/2 header", uncompressed(24, 4, 4, true)},
        {"16-bit bit fields", bmp(16, 2, 2, Bytes(8, 0x55), 3)},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.first);
        EXPECT_TRUE(bmpDataIsSafe(file.second.data(), file.second.size()));
        save("bmp_file_sound.bmp", file.second);
        BITMAP* direct = load_bmp("bmp_file_sound.bmp", nullptr);
        ASSERT_NE(direct, nullptr) << "the library itself refuses it";
        Bmp loaded("bmp_file_sound.bmp", false);
        EXPECT_EQ(loaded.bitmap->w, direct->w);
        EXPECT_EQ(loaded.bitmap->h, direct->h);
        destroy_bitmap(direct);
    }
    std::remove("bmp_file_sound.bmp");
}

TEST(BmpFile, DamagedFilesAreRefusedLikeMissingOnes)
{
    const Bytes sound = uncompressed(24, 8, 8);
    std::vector<std::pair<const char*, Bytes>> files = {
        {"empty", {}},
        {"wrong magic", sound},
        {"header only", Bytes(sound.begin(), sound.begin() + 54)},
        {"truncated pixels", Bytes(sound.begin(), sound.end() - 30)},
        {"huge", sound},
        {"negative width", sound},
        {"zero height", sound},
        {"bad header size", sound},
        {"bad depth", sound},
        {"offset past the end", sound},
        {"palette longer than 256", sound},
        {"RLE8 without pixels", bmp(8, 8, 8, {})},
        {"RLE4 without pixels", bmp(4, 8, 8, {})},
        {"RLE run past the row", bmp(8, 8, 8, {9, 1, 0, 1}, 1)},
        {"RLE literal past the file", bmp(8, 8, 8, {0, 6, 1, 2}, 1)},
        {"RLE moved below the picture", bmp(8, 8, 8, {0, 2, 0, 8, 1, 1, 0, 1}, 1)},
        {"RLE without an end", bmp(8, 8, 8, {8, 1, 0, 0}, 1)},
    };
    files[0].second = {};
    files[1].second[0] = 'X';
    put(files[4].second, 18, 70000, 4), put(files[4].second, 22, 70000, 4);
    put(files[5].second, 18, -8L & 0xFFFFFFFF, 4);
    put(files[6].second, 22, 0, 4);
    put(files[7].second, 14, 20, 4);
    put(files[8].second, 28, 7, 2);
    put(files[9].second, 10, sound.size() + 100, 4);
    put(files[10].second, 10, 54 + 257 * 4, 4);
    files[11].second[30] = files[12].second[30] = 0;
    put(files[11].second, 30, 1, 4), put(files[12].second, 30, 2, 4);
    for (const auto& file : files) {
        SCOPED_TRACE(file.first);
        EXPECT_FALSE(bmpDataIsSafe(file.second.data(), file.second.size()));
        save("bmp_file_damaged.bmp", file.second);
        try {
            Bmp loaded("bmp_file_damaged.bmp", false);
            ADD_FAILURE() << "loaded";
        } catch (const Bmp::LoadError& e) {
            EXPECT_EQ(e.getMsg(), "Could not create memory bitmap from file bmp_file_damaged.bmp.");
        }
    }
    std::remove("bmp_file_damaged.bmp");

    mkdir("bmp_file_folder.bmp", 0755);
    EXPECT_FALSE(bmpFileIsSafe("bmp_file_folder.bmp"));
    EXPECT_THROW(Bmp("bmp_file_folder.bmp", false), Bmp::LoadError);
}

TEST(BmpFile, EveryFileThatOnceCrashedTheLoaderIsRefused)
{
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FUZZ_REGRESSIONS)) {
        const std::string path = entry.path().string();
        SCOPED_TRACE(path);
        EXPECT_FALSE(bmpFileIsSafe(path));
        EXPECT_THROW(Bmp(path, false), Bmp::LoadError);
        ++replayed;
    }
    EXPECT_GE(replayed, 4);
}
