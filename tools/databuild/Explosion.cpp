#include "tools/databuild/Explosion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace vg::databuild {

namespace {

constexpr double kPi = 3.14159265358979323846;

enum class Palette { Fire, Gold, Blue, Smoke };

struct Recipe {
    const char* gen;
    uint32_t seed;
    int puffs;
    double spread;      // how far the puffs travel, in half cells
    double puffRadius;  // puff size, in half cells
    double lag;         // the latest a puff may start, as a share of the animation
    Palette palette;
    int sparks;
    bool ring;   // an opening shock ring
    bool flash;  // a white flash over the first frames
};

constexpr Recipe kRecipes[] = {
    {"fireball", 0x5EED0001u, 10, 0.6, 0.5, 0.30, Palette::Fire, 6, false, false},
    {"fireball2", 0x5EED0002u, 7, 0.5, 0.46, 0.15, Palette::Gold, 4, false, false},
    {"bigblast", 0x5EED0006u, 14, 0.62, 0.38, 0.45, Palette::Fire, 12, false, true},
    {"flashburst", 0x5EED0008u, 8, 0.40, 0.36, 0.20, Palette::Gold, 10, true, true},
    {"shipblast", 0x5EED0003u, 12, 0.55, 0.40, 0.35, Palette::Blue, 10, true, true},
    {"smoke", 0x5EED0002u, 8, 0.50, 0.40, 0.30, Palette::Smoke, 0, false, false},
};

// A small fixed generator: the art must not depend on the library's random engines.
struct Lcg {
    uint32_t state;
    double next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / static_cast<double>(1u << 24);
    }
};

struct Rgb {
    double r, g, b;
};

// Colour of a puff at heat h (1 white hot .. 0 out).
Rgb heatColour(Palette palette, double h) {
    h = std::clamp(h, 0.0, 1.0);
    struct Stop {
        double at;
        Rgb colour;
    };
    static const std::vector<Stop> fire = {{0.0, {0, 0, 0}},          {0.2, {0.38, 0.07, 0.03}},
                                           {0.4, {0.85, 0.26, 0.05}}, {0.6, {1.0, 0.58, 0.14}},
                                           {0.8, {1.0, 0.88, 0.48}},  {1.0, {1.0, 1.0, 0.94}}};
    static const std::vector<Stop> gold = {{0.0, {0, 0, 0}},
                                           {0.25, {0.45, 0.2, 0.02}},
                                           {0.5, {1.0, 0.7, 0.15}},
                                           {0.75, {1.0, 0.95, 0.55}},
                                           {1.0, {1.0, 1.0, 1.0}}};
    static const std::vector<Stop> blue = {{0.0, {0, 0, 0}},
                                           {0.2, {0.45, 0.1, 0.05}},
                                           {0.45, {1.0, 0.5, 0.15}},
                                           {0.7, {0.75, 0.85, 1.0}},
                                           {1.0, {1.0, 1.0, 1.0}}};
    static const std::vector<Stop> smoke = {{0.0, {0, 0, 0}}, {1.0, {0.42, 0.42, 0.40}}};
    const std::vector<Stop>& stops = palette == Palette::Fire   ? fire
                                     : palette == Palette::Gold ? gold
                                     : palette == Palette::Blue ? blue
                                                                : smoke;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (h <= stops[i].at) {
            double f = (h - stops[i - 1].at) / (stops[i].at - stops[i - 1].at);
            const Rgb& a = stops[i - 1].colour;
            const Rgb& b = stops[i].colour;
            return {a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f};
        }
    }
    return stops.back().colour;
}

void addStop(cairo_pattern_t* pattern, double offset, const Rgb& c, double alpha = 1.0) {
    cairo_pattern_add_color_stop_rgba(pattern, offset, c.r, c.g, c.b, alpha);
}

void drawPuff(cairo_t* cr, double x, double y, double radius, Palette palette, double heat,
              double hollow) {
    if (radius <= 0.1 || heat <= 0.01) return;
    cairo_pattern_t* pattern = cairo_pattern_create_radial(x, y, 0, x, y, radius);
    // A breaking puff is cooler in its middle than in its shell.
    addStop(pattern, 0.0, heatColour(palette, heat * (1.0 - 0.55 * hollow)));
    addStop(pattern, 0.45, heatColour(palette, heat * (0.9 - 0.1 * hollow)));
    addStop(pattern, 0.78, heatColour(palette, heat * 0.35), 0.6);
    addStop(pattern, 1.0, {0, 0, 0}, 0.0);
    cairo_set_source(cr, pattern);
    cairo_arc(cr, x, y, radius, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

void drawFrame(cairo_t* cr, const Recipe& recipe, double cx, double cy, double half, double t) {
    Lcg random{recipe.seed};
    for (int j = 0; j < recipe.puffs; ++j) {
        // Spread round the centre with a jitter, so that no side of the cloud stays bare.
        double angle = (j + 0.6 * random.next()) * 2 * kPi / std::max(1, recipe.puffs - 1);
        double distance = j == 0 ? 0.0 : 0.25 + 0.75 * random.next();
        double size = 0.55 + 0.45 * random.next();
        double lag = j == 0 ? 0.0 : random.next() * recipe.lag;
        double bias = (random.next() - 0.5) * 0.2;
        if (t < lag) continue;
        double u = (t - lag) / (1.0 - lag);
        double grown = 1.0 - std::pow(1.0 - u, 2.5);
        double reach = distance * recipe.spread * half * (0.3 + 0.7 * grown);
        double x = cx + std::cos(angle) * reach;
        double y = cy + std::sin(angle) * reach;
        double radius = size * recipe.puffRadius * half * (0.6 + 0.4 * grown);
        double heat = 0;
        double hollow = 0;
        if (recipe.palette == Palette::Smoke) {
            radius *= 0.7 + 0.5 * u;
            heat = std::min(1.0, 3.0 * u) * std::pow(1.0 - u, 0.7);
        } else {
            heat = std::pow(1.0 - u, 1.25) * (1.12 - 0.3 * distance) + bias;
            hollow = std::clamp((u - 0.35) * 2.0, 0.0, 1.0);
        }
        drawPuff(cr, x, y, radius, recipe.palette, heat, hollow);
    }
    for (int k = 0; k < recipe.sparks; ++k) {
        double angle = random.next() * 2 * kPi;
        double speed = 0.55 + 0.45 * random.next();
        double heat = std::pow(1.0 - t, 1.6) * 1.1;
        double reach = (0.15 + 0.8 * (1.0 - std::pow(1.0 - t, 2.0))) * speed * half * 0.92;
        drawPuff(cr, cx + std::cos(angle) * reach, cy + std::sin(angle) * reach, half * 0.09 + 1.0,
                 recipe.palette, heat, 0);
    }
    if (recipe.ring && t > 0.02) {
        double grown = 1.0 - std::pow(1.0 - t, 2.0);
        double radius = (0.2 + 0.72 * grown) * half;
        Rgb c = heatColour(recipe.palette == Palette::Blue ? Palette::Blue : Palette::Gold,
                           std::pow(1.0 - t, 1.4) * 0.95);
        cairo_set_source_rgb(cr, c.r, c.g, c.b);
        cairo_set_line_width(cr, 1.0 + 0.09 * half * (1.0 - t));
        cairo_arc(cr, cx, cy, radius, 0, 2 * kPi);
        cairo_stroke(cr);
    }
    if (recipe.flash && t < 0.25) {
        double strength = 1.0 - t / 0.25;
        drawPuff(cr, cx, cy, half * (0.35 + 0.4 * strength), Palette::Gold, strength, 0);
    }
}

}  // namespace

bool isExplosionKind(const std::string& gen) {
    for (const Recipe& recipe : kRecipes) {
        if (gen == recipe.gen) return true;
    }
    return false;
}

bool renderExplosion(const AtlasCell& cell, cairo_surface_t* surface, std::string& error) {
    const Recipe* recipe = nullptr;
    for (const Recipe& candidate : kRecipes) {
        if (cell.gen == candidate.gen) recipe = &candidate;
    }
    if (!recipe) {
        error = "unknown gen=" + cell.gen;
        return false;
    }
    cairo_t* cr = cairo_create(surface);
    for (int32_t i = 0; i < cell.frames; ++i) {
        double x = cell.frameX(i);
        double y = cell.frameY(i);
        cairo_save(cr);
        cairo_rectangle(cr, x, y, cell.w, cell.h);
        cairo_clip(cr);
        // Opaque black under additive light: the flattened picture then holds the light alone.
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_rgba(cr, 0, 0, 0, 1);
        cairo_paint(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
        double half = std::min(cell.w, cell.h) / 2.0 - 1.0;
        // The last frame still glows faintly: the game shows every frame it asks for.
        double t = (i + 0.3) / cell.frames;
        drawFrame(cr, *recipe, x + cell.w / 2.0, y + cell.h / 2.0, half, t);
        cairo_restore(cr);
    }
    bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    if (!ok) error = "cairo failed";
    return ok;
}

}  // namespace vg::databuild
