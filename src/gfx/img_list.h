#ifndef SWARM_IMG_LIST_H
#define SWARM_IMG_LIST_H

#include <map>
#include <string>

class Bmp;

// Sprite images by file name: each file is loaded once and shared. Only one may exist.
class ImgList {
public:
    ImgList();
    ImgList(const ImgList&) = delete;
    ImgList& operator=(const ImgList&) = delete;

    // The bitmap of a file, loaded on first request; throws Bmp::LoadError and keeps nothing then.
    // The registry keeps every bitmap for the rest of the run: borrow, never delete.
    Bmp* get(std::string file);

private:
    std::map<std::string, Bmp*> bitmaps;
};

extern ImgList images;

#endif
