#ifndef SWARM_BMP_CHECK_H
#define SWARM_BMP_CHECK_H

#include <cstddef>

// The library's BMP loader trusts the file: sizes, palette length and RLE streams that run past the bitmap or the
// file corrupt memory. True when it can read these bytes safely.
bool bmpDataIsSafe(const unsigned char* data, std::size_t size);

#endif
