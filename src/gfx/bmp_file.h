#ifndef SWARM_BMP_FILE_H
#define SWARM_BMP_FILE_H

#include <cstddef>
#include <string>

// The library's BMP loader trusts the file: sizes, palette length and RLE streams that run past
// the bitmap or the file corrupt memory. These tell whether it can read a file safely.
bool bmpFileIsSafe(const std::string& path);
bool bmpDataIsSafe(const unsigned char* data, std::size_t size);

#endif
