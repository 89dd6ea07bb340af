#ifndef SWARM_BMP_NORMALISE_H
#define SWARM_BMP_NORMALISE_H

#include <optional>

#include "gfx/bmp_format.h"

// The same picture in the forms the library's loader reads: the 40-byte Windows header (or OS/2's 12-byte one),
// bit-field masks straight after it, at most 256 colours of palette, then the pixels, rows bottom-up. Nothing for
// a file that is no BMP of a header, compression or row order it can be brought to.
std::optional<bmp::Bytes> normalisedBmp(const bmp::Bytes& file);

#endif
