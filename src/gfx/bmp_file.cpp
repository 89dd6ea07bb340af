#include "gfx/bmp_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "gfx/bmp_check.h"
#include "gfx/bmp_normalise.h"

namespace {

// The size limit keeps an absurd file out of memory.
constexpr std::size_t maxFileSize = std::size_t(1) << 28;

#ifdef _WIN32
constexpr int openFlags = O_RDONLY | O_BINARY;
#else
// A FIFO put in the file's place after the look at it opens at once this way, and is refused by the second look.
constexpr int openFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
#endif

bool isSmallRegularFile(const struct stat& status)
{
    return S_ISREG(status.st_mode) && static_cast<std::size_t>(status.st_size) <= maxFileSize;
}

// The bytes of an art file in memory, read by the library's loader through a PACKFILE.
struct Memory {
    const unsigned char* data;
    std::size_t size, at;
};

int memoryGetc(void* userdata)
{
    auto* m = static_cast<Memory*>(userdata);
    return m->at < m->size ? m->data[m->at++] : EOF;
}

long memoryRead(void* to, long n, void* userdata)
{
    auto* m = static_cast<Memory*>(userdata);
    const std::size_t count = std::min(static_cast<std::size_t>(n), m->size - m->at);
    std::memcpy(to, m->data + m->at, count);
    m->at += count;
    return static_cast<long>(count);
}

int memoryEof(void* userdata)
{
    const auto* m = static_cast<Memory*>(userdata);
    return m->at >= m->size;
}

// The loader reads bytes in order and nothing else: there is nothing to put back, skip, write or report.
int noUngetc(int, void*) { return EOF; }
int noSeek(void*, int) { return -1; }
int noPutc(int, void*) { return EOF; }
long noWrite(const void*, long, void*) { return 0; }
int nothing(void*) { return 0; }

const PACKFILE_VTABLE memoryFile = {nothing, memoryGetc, noUngetc,  memoryRead, noPutc,
                                    noWrite, noSeek,     memoryEof, nothing};

}  // namespace

std::optional<bmp::Bytes> readArtFile(const std::string& path)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !isSmallRegularFile(status))
        return std::nullopt;
    const int fd = open(path.c_str(), openFlags);
    if (fd < 0)
        return std::nullopt;
    std::optional<bmp::Bytes> data;
    if (fstat(fd, &status) == 0 && isSmallRegularFile(status)) {
        data.emplace();
        unsigned char chunk[4096];
        long n = 0;
        // A file that grows past the limit meanwhile is refused too.
        while (data->size() <= maxFileSize && (n = read(fd, chunk, sizeof chunk)) > 0)
            data->insert(data->end(), chunk, chunk + n);
        if (n < 0 || data->size() > maxFileSize)
            data.reset();
    }
    close(fd);
    return data;
}

BITMAP* loadBmpBytes(const bmp::Bytes& file, RGB* palette)
{
    const std::optional<bmp::Bytes> normal = normalisedBmp(file);
    if (!normal || !bmpDataIsSafe(normal->data(), normal->size()))
        return nullptr;
    Memory memory{normal->data(), normal->size(), 0};
    PACKFILE* packfile = pack_fopen_vtable(&memoryFile, &memory);
    if (packfile == nullptr)
        return nullptr;
    BITMAP* bitmap = load_bmp_pf(packfile, palette);
    pack_fclose(packfile);
    return bitmap;
}
