#include "gfx/gui.h"

#include "core/errors.h"
#include "gfx/bmp.h"

// Defined in one file, so they are built in this order: guiDir first.
const std::string guiDir = "gui/";
const std::string guiBkgdPath = guiDir + "bkgd.bmp";
const std::string guiBorderNPath = guiDir + "bordern.bmp";
const std::string guiBorderNEPath = guiDir + "borderne.bmp";
const std::string guiBorderEPath = guiDir + "bordere.bmp";
const std::string guiBorderSEPath = guiDir + "borderse.bmp";
const std::string guiBorderSPath = guiDir + "borders.bmp";
const std::string guiBorderSWPath = guiDir + "bordersw.bmp";
const std::string guiBorderWPath = guiDir + "borderw.bmp";
const std::string guiBorderNWPath = guiDir + "bordernw.bmp";

Bmp *guiBkgd = nullptr, *guiBorderN = nullptr, *guiBorderNE = nullptr, *guiBorderE = nullptr,
    *guiBorderSE = nullptr, *guiBorderS = nullptr, *guiBorderSW = nullptr, *guiBorderW = nullptr,
    *guiBorderNW = nullptr;

void loadGuiBitmaps()
{
    // The background, then the border clockwise from the top edge, the top-left corner last.
    struct Piece {
        const std::string& path;
        Bmp*& bitmap;
    };
    const Piece pieces[] = {
        {guiBkgdPath, guiBkgd},         {guiBorderNPath, guiBorderN},   {guiBorderNEPath, guiBorderNE},
        {guiBorderEPath, guiBorderE},   {guiBorderSEPath, guiBorderSE}, {guiBorderSPath, guiBorderS},
        {guiBorderSWPath, guiBorderSW}, {guiBorderWPath, guiBorderW},   {guiBorderNWPath, guiBorderNW},
    };
    try {
        for (const Piece& piece : pieces)
            piece.bitmap = new Bmp(piece.path, false);
    } catch (const Bmp::LoadError& e) {
        fatalError("Error loading gui bitmaps.\nCause: " + e.getMsg());
    }
}
