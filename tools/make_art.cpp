// Draws the game's artwork and saves it as 24-bit BMPs into gfx/ and gui/.
// Run from the repository root: build/make_art
#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Rgb {
    double r, g, b;
};

int colour(Rgb c)
{
    auto clamp = [](double v) { return static_cast<int>(std::lround(std::min(255.0, std::max(0.0, v)))); };
    return makecol(clamp(c.r), clamp(c.g), clamp(c.b));
}

Rgb mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

Rgb scale(Rgb c, double k) { return {c.r * k, c.g * k, c.b * k}; }

void save(BITMAP* bmp, const std::string& path)
{
    if (save_bmp(path.c_str(), bmp, nullptr) != 0) {
        std::fprintf(stderr, "could not write %s\n", path.c_str());
        std::exit(1);
    }
    std::printf("wrote %s (%d x %d)\n", path.c_str(), bmp->w, bmp->h);
    destroy_bitmap(bmp);
}

// A lit sphere: diffuse light from the upper left, a specular highlight and a dark rim.
BITMAP* makeBall(int size)
{
    BITMAP* bmp = create_bitmap(size, size);
    clear_to_color(bmp, makecol(255, 0, 255));
    const double radius = size / 2.0;
    const Rgb body{235, 90, 40};
    const double lx = -0.5, ly = -0.6, lz = 0.62;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double nx = (x + 0.5 - radius) / radius, ny = (y + 0.5 - radius) / radius;
            const double d2 = nx * nx + ny * ny;
            if (d2 > 1.0)
                continue;
            const double nz = std::sqrt(1.0 - d2);
            const double diffuse = std::max(0.0, nx * lx + ny * ly + nz * lz);
            const double specular = std::pow(std::max(0.0, nz * 0.9 + diffuse * 0.1), 24.0);
            Rgb c = scale(body, 0.25 + 0.85 * diffuse);
            c = mix(c, Rgb{255, 240, 200}, std::min(1.0, specular * 0.9));
            putpixel(bmp, x, y, colour(c));
        }
    return bmp;
}

// A fighter seen from above, nose up: hull, swept wings, cockpit and two engine flames.
BITMAP* makePlayer()
{
    const int w = 56, h = 40;
    BITMAP* bmp = create_bitmap(w, h);
    clear_to_color(bmp, makecol(255, 0, 255));
    const Rgb hull{150, 170, 195}, wing{70, 95, 140}, trim{220, 60, 60};

    // Wings: a swept triangle on each side, lit from the left.
    for (int side = -1; side <= 1; side += 2) {
        int pts[] = {28, 12, 28 + side * 27, 30, 28 + side * 27, 34, 28, 30};
        polygon(bmp, 4, pts, colour(side < 0 ? wing : scale(wing, 0.75)));
        line(bmp, 28 + side * 27, 30, 28 + side * 27, 34, colour(trim));
        line(bmp, 28 + side * 26, 30, 28 + side * 26, 34, colour(trim));
    }
    // Hull: a tapered body, shaded across its width.
    for (int y = 2; y < 36; ++y) {
        const double t = (y - 2) / 34.0;
        const int half = static_cast<int>(1 + 6.5 * std::sqrt(t));
        for (int x = -half; x <= half; ++x) {
            const double across = (x + half) / static_cast<double>(2 * half + 1);
            putpixel(bmp, 28 + x, y, colour(scale(hull, 1.15 - 0.55 * across)));
        }
    }
    // Cockpit canopy with a glint.
    ellipsefill(bmp, 28, 15, 2, 5, colour(Rgb{40, 110, 200}));
    putpixel(bmp, 27, 12, colour(Rgb{200, 235, 255}));
    putpixel(bmp, 27, 13, colour(Rgb{140, 200, 255}));
    // Engines and their flames.
    for (int side = -1; side <= 1; side += 2) {
        const int ex = 28 + side * 10;
        rectfill(bmp, ex - 2, 24, ex + 2, 35, colour(scale(hull, 0.7)));
        rectfill(bmp, ex - 1, 24, ex + 1, 34, colour(hull));
        for (int y = 36; y < h; ++y) {
            const double t = (y - 36) / 4.0;
            const int half = y < 38 ? 2 : 1;
            hline(bmp, ex - half, y, ex + half, colour(mix(Rgb{255, 240, 150}, Rgb{255, 90, 20}, t)));
        }
    }
    return bmp;
}

// Dark blue panel with a faint diagonal brushed pattern that tiles seamlessly.
BITMAP* makeBackground(int size)
{
    BITMAP* bmp = create_bitmap(size, size);
    const Rgb base{28, 34, 52};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double stripe = 0.5 + 0.5 * std::sin(2 * M_PI * (x + y) / size * 4);
            const double grain = ((x * 73 + y * 151) % 17) / 17.0;
            putpixel(bmp, x, y, colour(scale(base, 0.9 + 0.12 * stripe + 0.08 * grain)));
        }
    return bmp;
}

// Light and dark bands across a border's thickness give a raised metal rim.
Rgb bevel(double across)
{
    const Rgb light{190, 200, 220}, mid{110, 120, 145}, dark{45, 50, 65};
    return across < 0.5 ? mix(light, mid, across * 2) : mix(mid, dark, (across - 0.5) * 2);
}

// An edge piece: `along` pixels long, `thick` pixels thick; across runs outside to inside.
BITMAP* makeEdge(bool horizontal, int along, int thick, bool outsideFirst)
{
    BITMAP* bmp = horizontal ? create_bitmap(along, thick) : create_bitmap(thick, along);
    for (int a = 0; a < along; ++a)
        for (int t = 0; t < thick; ++t) {
            const double across = (outsideFirst ? t : thick - 1 - t) / static_cast<double>(thick - 1);
            Rgb c = bevel(across);
            if (a % 16 == 8 && t > 1 && t < thick - 2)
                c = scale(c, 0.8);  // rivet line
            if (horizontal)
                putpixel(bmp, a, t, colour(c));
            else
                putpixel(bmp, t, a, colour(c));
        }
    return bmp;
}

// A corner: the bevel follows the distance to the outer corner, rounded off with magenta.
BITMAP* makeCorner(int size, int cornerX, int cornerY)
{
    BITMAP* bmp = create_bitmap(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double dx = std::abs(x - cornerX), dy = std::abs(y - cornerY);
            const double d = std::sqrt(dx * dx + dy * dy);
            if (dx + dy < 2) {
                putpixel(bmp, x, y, makecol(255, 0, 255));
                continue;
            }
            const double across = std::min(1.0, std::min(dx, dy) / (size - 1));
            Rgb c = bevel(across);
            if (d > size - 2.5 && d < size - 1.5)
                c = scale(c, 0.85);
            putpixel(bmp, x, y, colour(c));
        }
    // A brass rivet at the inner corner.
    circlefill(bmp, size - 1 - cornerX, size - 1 - cornerY, 1, colour(Rgb{230, 200, 120}));
    return bmp;
}

}  // namespace

int main()
{
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return 1;
    set_color_depth(24);
    const int edge = 8, length = 32;
    save(makePlayer(), "gfx/player.bmp");
    save(makeBall(10), "gfx/ball.bmp");
    save(makeBackground(length), "gui/bkgd.bmp");
    save(makeEdge(true, length, edge, true), "gui/bordern.bmp");
    save(makeCorner(edge, edge - 1, 0), "gui/borderne.bmp");
    save(makeEdge(false, length, edge, false), "gui/bordere.bmp");
    save(makeCorner(edge, edge - 1, edge - 1), "gui/borderse.bmp");
    save(makeEdge(true, length, edge, false), "gui/borders.bmp");
    save(makeCorner(edge, 0, edge - 1), "gui/bordersw.bmp");
    save(makeEdge(false, length, edge, true), "gui/borderw.bmp");
    save(makeCorner(edge, 0, 0), "gui/bordernw.bmp");
    return 0;
}
END_OF_MAIN()
