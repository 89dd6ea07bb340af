#ifndef SWARM_GUI_H
#define SWARM_GUI_H

#include <string>

class Bmp;

// The pieces of a window frame: loaded at start-up, kept, not drawn.
extern const std::string guiDir;
extern const std::string guiBkgdPath, guiBorderNPath, guiBorderNEPath, guiBorderEPath, guiBorderSEPath,
    guiBorderSPath, guiBorderSWPath, guiBorderWPath, guiBorderNWPath;
extern Bmp *guiBkgd, *guiBorderN, *guiBorderNE, *guiBorderE, *guiBorderSE, *guiBorderS, *guiBorderSW, *guiBorderW,
    *guiBorderNW;

// Loads the nine pieces in order; the first that fails is a fatal error naming it.
void loadGuiBitmaps();

#endif
