// The six world backgrounds. Each is a soft landscape behind the board:
// bright detail stays in the margins, and everything is veiled a little so
// the blocks always stand out in front.
#include "canvas.h"
#include "pictures.h"

#include <cmath>
#include <string>

namespace {

constexpr int W = 512;
constexpr int H = 384;

enum Detail { DETAIL_CLOUDS, DETAIL_SEA, DETAIL_TREES, DETAIL_DUNES, DETAIL_PEAKS, DETAIL_EMBERS };

struct World {
    Rgb skyTop, skyBottom;
    Rgb sun;               // the glow in the sky
    double sunX, sunY, sunRadius;
    Rgb hillFar, hillNear;  // the farthest and nearest ridge
    Detail detail;
    int stars;             // how many stars show in the sky
    uint32_t seed;
};

const World WORLDS[6] = {
    // 1: a meadow at dawn, for the tutorial and world 5.
    {hex(0x8fb8e0), hex(0xffd9b0), hex(0xfff0c0), 80, 150, 120, hex(0x8cc7a0), hex(0x3f8a5a), DETAIL_CLOUDS, 0, 11},
    // 2: a lagoon under a clear sky.
    {hex(0x3f86c4), hex(0xa8e0e0), pal::CREAM, 430, 70, 90, hex(0x6fb0b8), hex(0x1f6f80), DETAIL_SEA, 0, 12},
    // 3: an autumn wood in the late afternoon.
    {hex(0xd98a5a), hex(0xf6d08a), hex(0xffe2a0), 450, 130, 130, hex(0xc07040), hex(0x6a3a22), DETAIL_TREES, 0, 13},
    // 4: desert dunes at dusk.
    {hex(0x5a3f7a), hex(0xf0a060), hex(0xffc070), 256, 230, 110, hex(0xd0905a), hex(0x8a5030), DETAIL_DUNES, 25, 14},
    // 5: snowy peaks by moonlight.
    {pal::NIGHT, pal::DUSK, pal::MIST, 420, 60, 70, hex(0x54608a), hex(0x2a3352), DETAIL_PEAKS, 140, 15},
    // 6: the ember sky of the last world.
    {hex(0x2a1030), hex(0xb0404a), hex(0xff9050), 420, 80, 90, hex(0x5a2038), hex(0x220c1a), DETAIL_EMBERS, 60, 16},
};

// A ridge line across the picture: a sum of two waves around a base height.
double ridge(double x, double base, double amp, double freq, double phase) {
    return base - amp * (0.6 * std::sin(x * freq + phase) + 0.4 * std::sin(x * freq * 2.3 + phase * 1.7));
}

void fillRidge(cairo_t* cr, double base, double amp, double freq, double phase, Rgb top, Rgb bottom) {
    cairo_new_path(cr);
    cairo_move_to(cr, 0, H);
    for (double x = 0; x <= W; x += 4) cairo_line_to(cr, x, ridge(x, base, amp, freq, phase));
    cairo_line_to(cr, W, H);
    cairo_close_path(cr);
    fillVertical(cr, base - amp, top, H, bottom);
    cairo_new_path(cr);
}

void cloud(cairo_t* cr, double x, double y, double s, Rgb c, double alpha) {
    cairo_new_path(cr);
    const double puffs[5][3] = {{0, 0, 1}, {0.9, -0.35, 0.85}, {1.8, 0, 0.9}, {0.5, 0.25, 0.8}, {1.35, 0.3, 0.8}};
    for (const auto& p : puffs) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, x + p[0] * s, y + p[1] * s, p[2] * s * 0.6, 0, 2 * M_PI);
    }
    setColor(cr, c, alpha);
    cairo_fill(cr);
}

void pine(cairo_t* cr, double x, double ground, double h, Rgb c) {
    cairo_new_path(cr);
    for (int tier = 0; tier < 3; ++tier) {
        const double top = ground - h + tier * h * 0.25, bottom = top + h * 0.45, half = h * (0.2 + tier * 0.08);
        const double p[6] = {x, top, x + half, bottom, x - half, bottom};
        polygonPath(cr, p, 3);
    }
    cairo_rectangle(cr, x - h * 0.04, ground - h * 0.2, h * 0.08, h * 0.2);
    setColor(cr, c);
    cairo_fill(cr);
}

void roundTree(cairo_t* cr, double x, double ground, double h, Rgb leaves, Rgb trunk) {
    cairo_new_path(cr);
    cairo_rectangle(cr, x - h * 0.05, ground - h * 0.45, h * 0.1, h * 0.45);
    setColor(cr, trunk);
    cairo_fill(cr);
    cairo_arc(cr, x, ground - h * 0.65, h * 0.33, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x - h * 0.2, ground - h * 0.5, h * 0.22, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + h * 0.2, ground - h * 0.5, h * 0.22, 0, 2 * M_PI);
    setColor(cr, leaves);
    cairo_fill(cr);
}

void paintDetail(cairo_t* cr, const World& w, Random& rng) {
    switch (w.detail) {
    case DETAIL_CLOUDS:
        for (int i = 0; i < 6; ++i)
            cloud(cr, rng.range(-20, W - 40), rng.range(20, 150), rng.range(18, 34), pal::WHITE, rng.range(0.35, 0.6));
        fillRidge(cr, 250, 26, 0.012, 1.0, w.hillFar, mix(w.hillFar, w.hillNear, 0.5));
        for (int i = 0; i < 9; ++i) {
            const double x = rng.range(0, W);
            roundTree(cr, x, ridge(x, 250, 26, 0.012, 1.0) + 6, rng.range(24, 40), mix(w.hillNear, w.hillFar, 0.3),
                      darker(pal::WOOD, 0.2));
        }
        fillRidge(cr, 310, 18, 0.018, 3.0, mix(w.hillFar, w.hillNear, 0.6), w.hillNear);
        break;
    case DETAIL_SEA: {
        for (int i = 0; i < 4; ++i)
            cloud(cr, rng.range(0, W - 60), rng.range(20, 110), rng.range(14, 26), pal::WHITE, 0.5);
        // Distant islands with palms, then the water with its glints.
        fillRidge(cr, 236, 14, 0.02, 2.0, w.hillFar, w.hillFar);
        cairo_rectangle(cr, 0, 240, W, H - 240);
        fillVertical(cr, 240, mix(w.hillFar, w.skyBottom, 0.4), H, w.hillNear);
        cairo_new_path(cr);
        for (int i = 0; i < 90; ++i) {
            const double y = rng.range(246, H), len = rng.range(6, 26) * (y - 230) / 120;
            const double x = rng.range(0, W);
            cairo_rectangle(cr, x, y, len, 1.2);
            setColor(cr, pal::WHITE, rng.range(0.1, 0.35));
            cairo_fill(cr);
        }
        break;
    }
    case DETAIL_TREES:
        fillRidge(cr, 230, 30, 0.01, 0.5, w.hillFar, mix(w.hillFar, w.hillNear, 0.4));
        for (int i = 0; i < 14; ++i) {
            const double x = rng.range(0, W);
            const Rgb leaves = mix(mix(pal::ORANGE, pal::RED, rng.unit()), w.hillFar, 0.45);
            roundTree(cr, x, ridge(x, 230, 30, 0.01, 0.5) + 10, rng.range(30, 56), leaves, darker(pal::WOOD, 0.3));
        }
        fillRidge(cr, 320, 16, 0.02, 2.2, mix(w.hillFar, w.hillNear, 0.6), w.hillNear);
        for (int i = 0; i < 40; ++i) {
            cairo_arc(cr, rng.range(0, W), rng.range(0, H), rng.range(1, 2.2), 0, 2 * M_PI);
            setColor(cr, mix(pal::ORANGE, pal::YELLOW, rng.unit()), 0.45);
            cairo_fill(cr);
        }
        break;
    case DETAIL_DUNES:
        fillRidge(cr, 262, 20, 0.008, 0.3, w.hillFar, mix(w.hillFar, w.hillNear, 0.4));
        for (int i = 0; i < 3; ++i) {
            const double x = 40 + i * 190 + rng.range(-20, 20), g = 255;
            const double p[6] = {x, g - 40, x + 36, g, x - 36, g};
            polygonPath(cr, p, 3);
            setColor(cr, darker(w.hillFar, 0.25), 0.8);
            cairo_fill(cr);
        }
        fillRidge(cr, 300, 24, 0.011, 2.4, mix(w.hillFar, w.hillNear, 0.5), mix(w.hillFar, w.hillNear, 0.8));
        fillRidge(cr, 345, 14, 0.016, 4.1, mix(w.hillFar, w.hillNear, 0.8), w.hillNear);
        break;
    case DETAIL_PEAKS: {
        // Mountains with snow caps, and pines below.
        const double peaks[5][3] = {{40, 150, 130}, {150, 110, 150}, {300, 140, 140}, {430, 100, 160}, {520, 160, 110}};
        for (const auto& p : peaks) {
            const double tri[6] = {p[0], p[1], p[0] + p[2], 300, p[0] - p[2], 300};
            cairo_new_path(cr);
            polygonPath(cr, tri, 3);
            fillVertical(cr, p[1], w.hillFar, 300, darker(w.hillFar, 0.25));
            cairo_new_path(cr);
            const double cap[10] = {p[0], p[1], p[0] + p[2] * 0.28, p[1] + 34, p[0] + 6, p[1] + 26,
                                    p[0] - 10, p[1] + 38, p[0] - p[2] * 0.28, p[1] + 34};
            polygonPath(cr, cap, 5);
            setColor(cr, pal::MIST, 0.85);
            cairo_fill(cr);
        }
        fillRidge(cr, 300, 10, 0.02, 1.3, mix(w.hillFar, w.hillNear, 0.5), w.hillNear);
        for (int i = 0; i < 26; ++i) {
            const double x = rng.range(0, W);
            pine(cr, x, ridge(x, 300, 10, 0.02, 1.3) + 12, rng.range(22, 44), darker(w.hillNear, 0.25));
        }
        for (int i = 0; i < 70; ++i) {
            cairo_arc(cr, rng.range(0, W), rng.range(0, H), rng.range(0.6, 1.6), 0, 2 * M_PI);
            setColor(cr, pal::WHITE, rng.range(0.3, 0.7));
            cairo_fill(cr);
        }
        break;
    }
    case DETAIL_EMBERS: {
        // A volcano far off, glowing, with embers drifting up.
        cairo_new_path(cr);
        cairo_move_to(cr, 40, 340);
        cairo_curve_to(cr, 150, 300, 200, 230, 222, 196);
        cairo_line_to(cr, 240, 204);
        cairo_line_to(cr, 256, 198);
        cairo_line_to(cr, 274, 206);
        cairo_line_to(cr, 290, 196);
        cairo_curve_to(cr, 312, 230, 362, 300, 472, 340);
        cairo_close_path(cr);
        fillVertical(cr, 196, mix(w.hillFar, pal::RED, 0.3), 340, w.hillFar);
        cairo_new_path(cr);
        // Glowing streams down the slope.
        cairo_move_to(cr, 246, 204);
        cairo_curve_to(cr, 236, 240, 250, 262, 226, 300);
        cairo_move_to(cr, 270, 206);
        cairo_curve_to(cr, 282, 236, 272, 270, 300, 310);
        setColor(cr, pal::ORANGE, 0.45);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        glow(cr, 256, 196, 70, pal::ORANGE, 0.6);
        fillRidge(cr, 330, 16, 0.015, 0.9, mix(w.hillFar, w.hillNear, 0.5), w.hillNear);
        for (int i = 0; i < 80; ++i) {
            const double x = rng.range(0, W), y = rng.range(0, 340);
            cairo_arc(cr, x, y, rng.range(0.6, 1.8), 0, 2 * M_PI);
            setColor(cr, mix(pal::ORANGE, pal::YELLOW, rng.unit()), rng.range(0.3, 0.8));
            cairo_fill(cr);
        }
        break;
    }
    }
}

void worldBackground(cairo_t* cr, const World& w) {
    Random rng(w.seed);
    cairo_rectangle(cr, 0, 0, W, H);
    fillVertical(cr, 0, w.skyTop, H * 0.75, w.skyBottom);
    cairo_new_path(cr);
    for (int i = 0; i < w.stars; ++i) {
        const double y = rng.range(0, 200);
        cairo_arc(cr, rng.range(0, W), y, rng.range(0.4, 1.3), 0, 2 * M_PI);
        setColor(cr, pal::CREAM, rng.range(0.3, 0.9) * (1 - y / 220));
        cairo_fill(cr);
    }
    glow(cr, w.sunX, w.sunY, w.sunRadius, w.sun, 0.75);
    cairo_arc(cr, w.sunX, w.sunY, w.sunRadius * 0.22, 0, 2 * M_PI);
    setColor(cr, lighter(w.sun, 0.4), 0.9);
    cairo_fill(cr);
    paintDetail(cr, w, rng);

    // The veil: a dusky wash over everything, heavier where the board
    // stands (the middle-right of the picture), lighter at the edges.
    cairo_rectangle(cr, 0, 0, W, H);
    setColor(cr, pal::NIGHT, 0.18);
    cairo_fill(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(320, 240, 40, 320, 240, 260);
    cairo_pattern_add_color_stop_rgba(p, 0, pal::NIGHT.r, pal::NIGHT.g, pal::NIGHT.b, 0.3);
    cairo_pattern_add_color_stop_rgba(p, 1, pal::NIGHT.r, pal::NIGHT.g, pal::NIGHT.b, 0.0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
}

}  // namespace

bool writeWorldBackgrounds(const std::string& dataDir) {
    for (int i = 0; i < 6; ++i) {
        Canvas canvas(W, H);
        worldBackground(canvas.cr(), WORLDS[i]);
        if (!canvas.writeTga(dataDir + "/gfx/bkgs/" + std::to_string(i + 1) + ".tga", false)) return false;
    }
    return true;
}
