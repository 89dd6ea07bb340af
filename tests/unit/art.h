#ifndef SWARM_TEST_ART_H
#define SWARM_TEST_ART_H

#include <allegro.h>

#include <string>

#include "gfx/bmp.h"
#include "platform/display.h"

// A blank bitmap with an opaque red rectangle over columns left..right and rows top..bottom.
inline Bmp* artWithRect(int w, int h, int left, int top, int right, int bottom)
{
    Bmp* art = new Bmp(w, h, false);
    rectfill(art->bitmap, left, top, right, bottom, makecol(200, 40, 40));
    return art;
}

inline Bmp* opaqueArt(int w, int h) { return artWithRect(w, h, 0, 0, w - 1, h - 1); }

// Saves the art as a BMP file and releases it.
inline void saveArt(const std::string& path, Bmp* art)
{
    save_bmp(path.c_str(), art->bitmap, nullptr);
    delete art;
}

#endif
