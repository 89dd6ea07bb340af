#include "helpers.h"

namespace {

using Bytes = std::vector<unsigned char>;

void put(Bytes& b, std::size_t at, unsigned long value, int bytes = 4)
{
    for (int i = 0; i < bytes; ++i)
        b[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

Bytes with(Bytes b, std::size_t at, unsigned long value, int bytes = 4)
{
    put(b, at, value, bytes);
    return b;
}

// A BMP file: headers, a palette of the depth's full size, then the pixel bytes (patterned when not given).
Bytes bmp(int bitsPerPixel, int width, int height, Bytes pixels = {}, int compression = 0, bool os2 = false)
{
    const std::size_t header = os2 ? 12 : 40, masks = compression == 3 ? 12 : 0;
    const std::size_t palette = bitsPerPixel <= 8 ? (1u << bitsPerPixel) * (os2 ? 3 : 4) : 0;
    Bytes b(14 + header + masks + palette, 0);
    b[0] = 'B', b[1] = 'M';
    put(b, 10, b.size());
    put(b, 14, header);
    if (os2)
        put(b, 18, width, 2), put(b, 20, height, 2), put(b, 22, 1, 2), put(b, 24, bitsPerPixel, 2);
    else
        put(b, 18, width), put(b, 22, height), put(b, 26, 1, 2), put(b, 28, bitsPerPixel, 2),
            put(b, 30, compression);
    if (compression == 3)
        put(b, 54, 0xF800), put(b, 58, 0x07E0), put(b, 62, 0x001F);
    if (compression == 0 && pixels.empty())
        for (std::size_t i = 0; i < (width * bitsPerPixel + 31) / 32 * 4 * std::size_t(height); ++i)
            pixels.push_back(static_cast<unsigned char>(i * 13 + 1));
    b.insert(b.end(), pixels.begin(), pixels.end());
    return with(b, 2, b.size());
}

// The files of a folder of tests/fuzz, by name.
std::vector<std::pair<std::string, Bytes>> fuzzFiles(const std::string& folder)
{
    std::vector<std::pair<std::string, Bytes>> files;
    for (const auto& entry : std::filesystem::directory_iterator(FUZZ_FILES "/" + folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        files.emplace_back(entry.path().filename().string(), Bytes(std::istreambuf_iterator<char>(in), {}));
    }
    return files;
}

// The file on disk through the game's loader: true when it loads, false when refused as a missing file is.
bool loads(const Bytes& b)
{
    std::ofstream("bmp_file_test.bmp", std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
    const std::string error = thrown<Bmp::LoadError>([] { Bmp("bmp_file_test.bmp", false); });
    EXPECT_TRUE(error.empty() || error == "Could not create memory bitmap from file bmp_file_test.bmp.") << error;
    return error.empty();
}

}  // namespace

TEST(BmpFile, EveryKindOfSoundFileLoadsAndDamagedOnesAreRefusedLikeMissingOnes)
{
    // The fuzzer's seeds hold a file of every header, depth and compression the loader reads.
    auto sound = fuzzFiles("seeds");
    EXPECT_GE(sound.size(), 18u);
    const Bytes padded = bmp(24, 6, 2);  // rows of 18 bytes and 2 of padding
    sound.emplace_back("last row without its padding", Bytes(padded.begin(), padded.end() - 2));
    for (const auto& file : sound) {
        EXPECT_TRUE(bmpDataIsSafe(file.second.data(), file.second.size())) << file.first;
        EXPECT_TRUE(loads(file.second)) << file.first;
    }
    const Bytes b = bmp(24, 8, 8), os2 = bmp(24, 4, 4, {}, 0, true), bitFields = bmp(16, 2, 2, Bytes(12, 0x55), 3);
    std::vector<std::pair<std::string, Bytes>> damaged = {
        {"empty", {}},
        {"wrong magic", with(b, 0, 'X', 1)},
        {"header only", Bytes(b.begin(), b.begin() + 54)},
        {"header cut short", Bytes(b.begin(), b.begin() + 40)},
        {"OS/2 header cut short", Bytes(os2.begin(), os2.begin() + 20)},
        {"truncated pixels", Bytes(b.begin(), b.end() - 30)},
        {"last row a byte short", Bytes(padded.begin(), padded.end() - 3)},
        {"zero width", with(b, 18, 0)},
        {"huge", with(with(b, 18, 70000), 22, 70000)},
        {"negative width", with(b, 18, -8L & 0xFFFFFFFF)},
        {"zero height", with(b, 22, 0)},
        {"bad header size", with(b, 14, 20)},
        {"bad depth", with(b, 28, 7, 2)},
        {"offset past the end", with(b, 10, b.size() + 100)},
        {"palette longer than 256", with(b, 10, 54 + 257 * 4)},
        {"bit fields away from their masks", with(bitFields, 10, 70)},
        {"bit fields wider than the depth", with(with(bitFields, 54, 0xFF0000), 62, 0xFF)},
        {"RLE8 without pixels", bmp(8, 8, 8, {}, 1)},
        {"RLE4 without pixels", bmp(4, 8, 8, {}, 2)},
        {"RLE run past the row", bmp(8, 8, 8, {9, 1, 0, 1}, 1)},
        {"RLE runs past the row together", bmp(8, 8, 8, {5, 1, 5, 1, 0, 1}, 1)},
        {"RLE move past the row", bmp(8, 8, 8, {0, 2, 9, 0, 0, 1}, 1)},
        {"RLE move, then a run past the row", bmp(8, 8, 8, {0, 2, 6, 0, 4, 1, 0, 1}, 1)},
        {"RLE literal, then a run past the row", bmp(8, 8, 8, {0, 6, 1, 2, 3, 4, 5, 6, 4, 1, 0, 1}, 1)},
        {"RLE literal past the row", bmp(8, 8, 8, {0, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 1}, 1)},
        {"RLE literal past the file", bmp(8, 8, 8, {0, 6, 1, 2}, 1)},
        {"RLE moved below the picture", bmp(8, 8, 8, {0, 2, 0, 8, 1, 1, 0, 1}, 1)},
        {"RLE without an end", bmp(8, 8, 8, {8, 1, 0, 0}, 1)},
        {"RLE move past the file", bmp(8, 8, 8, {2, 9, 0, 2}, 1)},
    };
    // Files that once passed the check and broke the library's loader.
    const auto regressions = fuzzFiles("regressions");
    EXPECT_GE(regressions.size(), 5u);
    damaged.insert(damaged.end(), regressions.begin(), regressions.end());
    for (const auto& file : damaged) {
        EXPECT_FALSE(bmpDataIsSafe(file.second.data(), file.second.size())) << file.first;
        EXPECT_FALSE(loads(file.second)) << file.first;
    }
    std::remove("bmp_file_test.bmp");
    std::filesystem::create_directory("bmp_file_folder.bmp");
    EXPECT_FALSE(bmpFileIsSafe("bmp_file_folder.bmp"));
}
