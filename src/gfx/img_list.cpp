#include "gfx/img_list.h"

#include "core/errors.h"
#include "gfx/bmp.h"

namespace {

// Never cleared: even a destroyed registry counts.
bool imgListLoaded = false;

}  // namespace

ImgList images;

ImgList::ImgList()
{
    if (imgListLoaded)
        fatalError("Attempt to load two image lists.");
    imgListLoaded = true;
}

Bmp* ImgList::get(std::string file)
{
    const auto found = bitmaps.find(file);
    if (found != bitmaps.end())
        return found->second;
    Bmp* bmp = new Bmp(file, false);
    bitmaps.emplace(file, bmp);
    return bmp;
}
