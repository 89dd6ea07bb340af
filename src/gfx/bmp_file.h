#ifndef SWARM_BMP_FILE_H
#define SWARM_BMP_FILE_H

#include <allegro.h>

#include <optional>
#include <string>

#include "gfx/bmp_format.h"

// The whole of a regular file (symlinks followed) of at most 256 MiB, read once. Nothing for anything else: a
// FIFO, a device, a socket or a folder is never opened for reading.
std::optional<bmp::Bytes> readArtFile(const std::string& path);
// The library's loader on a file's bytes in memory, once they are in forms it reads and checked safe for it;
// nullptr when they are not.
BITMAP* loadBmpBytes(const bmp::Bytes& file, RGB* palette);

#endif
