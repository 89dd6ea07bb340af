#ifndef SWARM_BMP_H
#define SWARM_BMP_H

#include <allegro.h>

#include <string>

#include "core/errors.h"

// Owns one library bitmap; always created with new and held by pointer.
class Bmp {
public:
    class LoadError : public Exception {
    public:
        using Exception::Exception;
    };

    // A blank bitmap in video or system memory, filled with maskColor.
    Bmp(int width, int height, bool video);
    // A memory bitmap loaded from a BMP file; video must be false.
    Bmp(std::string file, bool video);
    ~Bmp();
    Bmp(const Bmp&) = delete;
    Bmp& operator=(const Bmp&) = delete;

    // True when an opaque pixel of this bitmap at (x, y) lies on one of other's at (otherX, otherY).
    bool collides(int x, int y, int otherX, int otherY, const Bmp& other) const;

    BITMAP* bitmap;
};

// The palette of the file loaded last; nothing reads it.
extern PALETTE loadPalette;

#endif
