#include "helpers.h"

namespace {

using bmp::Bytes;

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
Bytes bmpFile(int bitsPerPixel, int width, int height, Bytes pixels = {}, int compression = 0, bool os2 = false)
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

Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The files of a folder of tests/, by name.
std::vector<std::pair<std::string, Bytes>> testFiles(const std::string& folder)
{
    std::vector<std::pair<std::string, Bytes>> files;
    for (const auto& entry : std::filesystem::directory_iterator(TEST_FILES "/" + folder))
        files.emplace_back(entry.path().filename().string(), readFile(entry.path().string()));
    return files;
}

// The file on disk, named after the test (tests run side by side), through the game's loader; nothing when refused
// as a missing file is.
std::unique_ptr<Bmp> loaded(const Bytes& b)
{
    const std::string path = ::testing::UnitTest::GetInstance()->current_test_info()->name() + std::string(".bmp");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
    Bmp* bmp = nullptr;
    const std::string error = thrown<Bmp::LoadError>([&] { bmp = new Bmp(path, false); });
    std::remove(path.c_str());
    EXPECT_TRUE(error.empty() || error == "Could not create memory bitmap from file " + path + ".") << error;
    return std::unique_ptr<Bmp>(bmp);
}

bool loads(const Bytes& b) { return loaded(b) != nullptr; }

// The largest difference of a colour channel between two loaded pictures of the same size; 256 when either did not
// load or their sizes differ.
int largestDifference(const std::unique_ptr<Bmp>& a, const std::unique_ptr<Bmp>& b)
{
    if (!a || !b || a->bitmap->w != b->bitmap->w || a->bitmap->h != b->bitmap->h)
        return 256;
    int largest = 0;
    for (int y = 0; y < a->bitmap->h; ++y)
        for (int x = 0; x < a->bitmap->w; ++x) {
            const int p = getpixel(a->bitmap, x, y), q = getpixel(b->bitmap, x, y);
            largest = std::max(
                {largest, std::abs(getr(p) - getr(q)), std::abs(getg(p) - getg(q)), std::abs(getb(p) - getb(q))});
        }
    return largest;
}

}  // namespace

TEST(BmpFile, EveryKindOfSoundFileLoadsAndDamagedOnesAreRefusedLikeMissingOnes)
{
    // The fuzzer's seeds hold a file of every header, depth, compression and row order the game reads.
    auto sound = testFiles("fuzz/seeds");
    EXPECT_GE(sound.size(), 27u);
    const Bytes padded = bmpFile(24, 6, 2);  // rows of 18 bytes and 2 of padding
    sound.emplace_back("last row without its padding", Bytes(padded.begin(), padded.end() - 2));
    const Bytes bitFields = bmpFile(16, 2, 2, Bytes(12, 0x55), 3);
    sound.emplace_back("bit fields with bytes before their pixels", with(bitFields, 10, 70));
    for (const auto& file : sound)
        EXPECT_TRUE(loads(file.second)) << file.first;

    const Bytes b = bmpFile(24, 8, 8), os2 = bmpFile(24, 4, 4, {}, 0, true), cut = bmpFile(8, 9, 2);
    std::vector<std::pair<std::string, Bytes>> damaged = {
        {"empty", {}},
        {"wrong magic", with(b, 0, 'X', 1)},
        {"header only", Bytes(b.begin(), b.begin() + 54)},
        {"header cut short", Bytes(b.begin(), b.begin() + 40)},
        {"OS/2 header cut short", Bytes(os2.begin(), os2.begin() + 20)},
        {"truncated pixels", Bytes(b.begin(), b.end() - 30)},
        {"last row a byte short", Bytes(padded.begin(), padded.end() - 3)},
        {"8-bit last row cut in its last word", Bytes(cut.begin(), cut.end() - 1)},
        {"top-down rows missing", with(Bytes(b.begin(), b.end() - 30), 22, -8L & 0xFFFFFFFF)},
        {"zero width", with(b, 18, 0)},
        {"huge", with(with(b, 18, 70000), 22, 70000)},
        {"negative width", with(b, 18, -8L & 0xFFFFFFFF)},
        {"zero height", with(b, 22, 0)},
        {"bad header size", with(b, 14, 20)},
        {"an OS/2 2.x header", with(b, 14, 64)},
        {"bad depth", with(b, 28, 7, 2)},
        {"PNG inside", with(b, 30, 5)},
        {"offset past the end", with(b, 10, b.size() + 100)},
        {"bit fields without masks", with(bitFields, 10, 54)},
        {"bit fields wider than the depth", with(with(bitFields, 54, 0xFF0000), 62, 0xFF)},
        {"RLE8 without pixels", bmpFile(8, 8, 8, {}, 1)},
        {"RLE4 without pixels", bmpFile(4, 8, 8, {}, 2)},
        {"RLE top-down", with(bmpFile(8, 8, 1, {8, 1, 0, 1}, 1), 22, -1L & 0xFFFFFFFF)},
        {"RLE run past the row", bmpFile(8, 8, 8, {9, 1, 0, 1}, 1)},
        {"RLE runs past the row together", bmpFile(8, 8, 8, {5, 1, 5, 1, 0, 1}, 1)},
        {"RLE move past the row", bmpFile(8, 8, 8, {0, 2, 9, 0, 0, 1}, 1)},
        {"RLE move, then a run past the row", bmpFile(8, 8, 8, {0, 2, 6, 0, 4, 1, 0, 1}, 1)},
        {"RLE literal, then a run past the row", bmpFile(8, 8, 8, {0, 6, 1, 2, 3, 4, 5, 6, 4, 1, 0, 1}, 1)},
        {"RLE literal past the row", bmpFile(8, 8, 8, {0, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 1}, 1)},
        {"RLE literal past the file", bmpFile(8, 8, 8, {0, 6, 1, 2}, 1)},
        {"RLE moved below the picture", bmpFile(8, 8, 8, {0, 2, 0, 8, 1, 1, 0, 1}, 1)},
        {"RLE without an end", bmpFile(8, 8, 8, {8, 1, 0, 0}, 1)},
        {"RLE move past the file", bmpFile(8, 8, 8, {2, 9, 0, 2}, 1)},
    };
    // Files that once passed the check and broke the library's loader. The one-row top-down file, whose height the
    // loader misread, now loads: as the same row bottom-up.
    for (const auto& file : testFiles("fuzz/regressions"))
        if (file.first == "top-down-1-bit.bmp")
            EXPECT_EQ(largestDifference(loaded(file.second), loaded(with(file.second, 22, 1))), 0);
        else
            damaged.push_back(file);
    // Read as what they are: a top-down last row without its padding, and a palette shorter than its depth's that
    // gives no count, which is what lies before the pixels.
    const Bytes topDown = readFile(TEST_FILES "/fuzz/seeds/top-down-24-bit.bmp");
    EXPECT_EQ(largestDifference(loaded(topDown), loaded(Bytes(topDown.begin(), topDown.end() - 1))), 0);
    const Bytes palette = readFile(TEST_FILES "/fuzz/seeds/windows-8-bit.bmp");
    EXPECT_EQ(largestDifference(loaded(palette), loaded(with(palette, 46, 0))), 0);
    EXPECT_GE(damaged.size(), 37u);
    for (const auto& file : damaged)
        EXPECT_FALSE(loads(file.second)) << file.first;
}

TEST(BmpFile, TheShipAsEditorsSaveItLoadsPixelForPixel)
{
    const Bytes original = readFile("gfx/player.bmp");
    const std::unique_ptr<Bmp> ship = loaded(original);
    // Five bits a channel come within half their step of eight bits, 4; the library's palettes hold six, within 3.
    const std::pair<const char*, int> saved[] = {
        {"gimp-default.bmp", 0}, {"imagemagick-default.bmp", 0}, {"gimp-r5g6b5-no-colour-space.bmp", 4},
        {"pillow-rgba.bmp", 0},  {"netpbm-os2.bmp", 3},          {"gimp-indexed-rle.bmp", 3},
        {"top-down.bmp", 0},
    };
    for (const auto& [name, within] : saved)
        EXPECT_LE(largestDifference(ship, loaded(readFile(TEST_FILES "/art/" + std::string(name)))), within)
            << name;
    // Bytes between the header and the pixels, where a colour profile may sit, are neither palette nor pixels.
    Bytes gap = with(original, 10, 54 + 24);
    gap.insert(gap.begin() + 54, 24, 0x7F);
    EXPECT_EQ(largestDifference(ship, loaded(gap)), 0);
    // ImageMagick's palette file of the 10-pixel ball runs its rows' padding as pixels past the bitmap.
    EXPECT_FALSE(loads(readFile(TEST_FILES "/art/imagemagick-ball-palette.bmp")));
}

TEST(BmpFile, OnlyARegularFileIsReadAndNothingElseIsOpened)
{
    std::filesystem::create_directory("bmp_file_folder.bmp");
    EXPECT_FALSE(readArtFile("bmp_file_folder.bmp"));
    EXPECT_EQ(readArtFile("gfx/player.bmp"), readFile("gfx/player.bmp"));
#ifndef _WIN32
    // Opened, a FIFO would wait for a writer for ever, and a device may never end.
    std::remove("bmp_file_fifo.bmp");
    ASSERT_EQ(mkfifo("bmp_file_fifo.bmp", 0600), 0);
    struct stat made {};
    if (stat("bmp_file_fifo.bmp", &made) != 0 || !S_ISFIFO(made.st_mode))
        GTEST_SKIP() << "mkfifo made no FIFO here (node's files, for the web build, have none)";
    for (const char* target : {"bmp_file_fifo.bmp", "/dev/zero", "gfx/player.bmp"}) {
        std::remove("bmp_file_link.bmp");
        ASSERT_EQ(symlink(target, "bmp_file_link.bmp"), 0);
        EXPECT_EQ(readArtFile("bmp_file_link.bmp").has_value(), target == std::string("gfx/player.bmp")) << target;
    }
    EXPECT_EQ(thrown<Bmp::LoadError>([] { Bmp("bmp_file_fifo.bmp", false); }),
              "Could not create memory bitmap from file bmp_file_fifo.bmp.");
    std::remove("bmp_file_fifo.bmp");
    std::remove("bmp_file_link.bmp");
#endif
}
