#include "world/obj.h"

#include <iterator>

#include "core/errors.h"
#include "gfx/bmp.h"
#include "gfx/img_list.h"
#include "platform/display.h"

std::list<Obj*> objects;

namespace {

// Unit steps of the eight directions, clockwise from up; y grows downwards.
constexpr int stepX[] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int stepY[] = {-1, -1, 0, 1, 1, 1, 0, -1};

bool isDir(Dir d) { return d >= N && d <= NONE; }

}  // namespace

Obj::Obj(std::string file, int x, int y) : x(x), y(y), dead(false), image(images.get(file)) {}

void Obj::update() {}

bool Obj::coll(Dir d, int n)
{
    if (d == NONE)
        return false;
    if (d != N && d != E && d != S && d != W)
        fatalError("Non-cardinal direction passed to Obj::coll ( Dir, int ).");
    const int candidateX = x + stepX[d] * n;
    const int candidateY = y + stepY[d] * n;
    for (const Obj* other : objects)
        if (other != this && image->collides(candidateX, candidateY, other->x, other->y, *other->image))
            return true;
    return false;
}

void Obj::move(Dir d, int n)
{
    if (!isDir(d))
        fatalError("Non-cardinal direction passed to Obj::move ( Dir, int ).");
    if (d == NONE)
        return;
    // Both axes are tested from the current position, vertical first; the diagonal target never is.
    const bool verticalFree = stepY[d] == 0 || !coll(stepY[d] < 0 ? N : S, n);
    const bool horizontalFree = stepX[d] == 0 || !coll(stepX[d] > 0 ? E : W, n);
    if (horizontalFree)
        x += stepX[d] * n;
    if (verticalFree)
        y += stepY[d] * n;
}

void updateObjects()
{
    for (auto entry = objects.begin(); entry != objects.end();) {
        Obj* object = *entry;
        object->update();
        // Unlinked, not destroyed: whoever created the object owns it.
        entry = object->dead ? objects.erase(entry) : std::next(entry);
    }
}

void drawObjects()
{
    for (const Obj* object : objects)
        masked_blit(object->image->bitmap, screenBuffer->bitmap, 0, 0, object->x, object->y,
                    object->image->bitmap->w, object->image->bitmap->h);
}
