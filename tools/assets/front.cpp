// The front end's pictures: title, wallpaper, maker's logo, wooden panel,
// level-complete banner, the mascot and the splash.
#include "canvas.h"
#include "pictures.h"

#include <cmath>

void drawOrdinaryBlock(cairo_t* cr, int kind, double x, double y, double s);

namespace {

const char* const TITLE_WORD = "Tolvane";

// The title lettering fitted into a box: gold letters stretched a little
// taller than the font, with a row of the seven block colours beneath.
void titleLettering(cairo_t* cr, double cx, double top, double width, double height) {
    useFont(cr, 100);
    const double natural = textWidth(cr, TITLE_WORD);
    const double size = 100 * width / natural;
    const double stretch = 1.28;
    cairo_save(cr);
    cairo_translate(cr, cx, top + height * 0.74);
    cairo_scale(cr, 1, stretch);
    displayText(cr, TITLE_WORD, 0, 0, size, lighter(pal::GOLD, 0.45), pal::ORANGE, size * 0.05);
    cairo_restore(cr);
    const double gem = height * 0.15;
    const double gap = gem * 0.5;
    const double rowWidth = 7 * gem + 6 * gap;
    for (int k = 0; k < 7; ++k)
        drawOrdinaryBlock(cr, 4 + k, cx - rowWidth / 2 + k * (gem + gap), top + height * 0.83, gem);
}

// Night wallpaper: a faint lattice of diamonds with a small star in each,
// drawn once for each neighbouring copy so the tile wraps without a seam.
void wallpaperPattern(cairo_t* cr, int size) {
    cairo_rectangle(cr, 0, 0, size, size);
    setColor(cr, mix(pal::NIGHT, pal::DUSK, 0.35));
    cairo_fill(cr);
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const double ox = dx * size, oy = dy * size;
            const double h = size / 2.0;
            const double diamond[8] = {ox + h, oy + 1.5, ox + size - 1.5, oy + h, ox + h, oy + size - 1.5, ox + 1.5, oy + h};
            polygonPath(cr, diamond, 4);
            setColor(cr, mix(pal::NIGHT, pal::DUSK, 0.5));
            cairo_fill_preserve(cr);
            setColor(cr, pal::INK, 0.35);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
            starPath(cr, ox + h, oy + h, 3.2, 1.1, 4);
            setColor(cr, pal::MIST, 0.35);
            cairo_fill(cr);
            starPath(cr, ox, oy, 1.8, 0.7, 4);
            setColor(cr, pal::CREAM, 0.25);
            cairo_fill(cr);
        }
    }
}

// Wood grain planks inside a darker frame; thin enough at the edges that the
// panel still reads as wood when the game stretches it very wide.
void woodPanel(cairo_t* cr, int w, int h) {
    Random rng(27);
    roundedRect(cr, 0, 0, w, h, 10);
    fillVertical(cr, 0, pal::WOOD_LIGHT, h, pal::WOOD_DARK);
    cairo_new_path(cr);
    const double inset = 9;
    const int planks = 5;
    const double plankH = (h - 2 * inset) / planks;
    for (int p = 0; p < planks; ++p) {
        const double y0 = inset + p * plankH;
        const Rgb tone = mix(pal::WOOD, pal::WOOD_LIGHT, 0.15 + 0.25 * rng.unit());
        cairo_save(cr);
        cairo_rectangle(cr, inset, y0, w - 2 * inset, plankH);
        cairo_clip(cr);
        cairo_rectangle(cr, inset, y0, w - 2 * inset, plankH);
        fillVertical(cr, y0, lighter(tone, 0.08), y0 + plankH, darker(tone, 0.12));
        cairo_new_path(cr);
        // Grain: long gently waving strokes.
        for (int g = 0; g < 14; ++g) {
            const double gy = y0 + rng.range(2, plankH - 2);
            const double wave = rng.range(0.5, 2.2);
            const double phase = rng.range(0, 6.28);
            cairo_move_to(cr, inset, gy);
            for (double x = inset; x <= w - inset + 4; x += 8)
                cairo_line_to(cr, x, gy + wave * std::sin(phase + x * 0.035));
            setColor(cr, darker(tone, 0.35), rng.range(0.15, 0.4));
            cairo_set_line_width(cr, rng.range(0.6, 1.4));
            cairo_stroke(cr);
        }
        // A knot now and then.
        if (p % 2 == 1) {
            const double kx = rng.range(inset + 30, w - inset - 30), ky = y0 + plankH * 0.5;
            for (int ring = 3; ring >= 1; --ring) {
                cairo_save(cr);
                cairo_translate(cr, kx, ky);
                cairo_scale(cr, 2.2, 1);
                cairo_arc(cr, 0, 0, ring * 2.3, 0, 2 * M_PI);
                cairo_restore(cr);
                setColor(cr, darker(tone, 0.25 + 0.12 * ring), 0.5);
                cairo_set_line_width(cr, 1);
                cairo_stroke(cr);
            }
        }
        // Seam and its highlight.
        setColor(cr, pal::WOOD_DARK, 0.9);
        cairo_rectangle(cr, inset, y0 + plankH - 1.5, w - 2 * inset, 1.5);
        cairo_fill(cr);
        setColor(cr, pal::WOOD_HIGH, 0.35);
        cairo_rectangle(cr, inset, y0, w - 2 * inset, 1);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    // Inner shadow of the frame, outline and corner nails.
    setColor(cr, pal::WOOD_DARK);
    cairo_set_line_width(cr, 2);
    cairo_rectangle(cr, inset, inset, w - 2 * inset, h - 2 * inset);
    cairo_stroke(cr);
    roundedRect(cr, 1, 1, w - 2, h - 2, 9.5);
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    const double nails[4][2] = {{4.5, 4.5}, {w - 4.5, 4.5}, {4.5, h - 4.5}, {w - 4.5, h - 4.5}};
    for (const auto& n : nails) {
        cairo_arc(cr, n[0], n[1], 2.2, 0, 2 * M_PI);
        setColor(cr, pal::GOLD_DARK);
        cairo_fill(cr);
        cairo_arc(cr, n[0] - 0.6, n[1] - 0.6, 1, 0, 2 * M_PI);
        setColor(cr, pal::CREAM, 0.8);
        cairo_fill(cr);
    }
}

// The mascot, Vani: a cheerful young puzzler holding an orange block, drawn
// on a 256 x 448 canvas with the face in the upper half, where the tutorial
// panel shows it.
constexpr double MASCOT_CENTRE = 128;
constexpr double MASCOT_INK = 3.5;  // outline width

// Shadow, legs and boots.
void mascotLegs(cairo_t* cr) {
    const double cx = MASCOT_CENTRE, ink = MASCOT_INK;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);

    // Ground shadow.
    cairo_save(cr);
    cairo_translate(cr, cx, 436);
    cairo_scale(cr, 1, 0.22);
    cairo_arc(cr, 0, 0, 70, 0, 2 * M_PI);
    cairo_restore(cr);
    setColor(cr, pal::INK, 0.35);
    cairo_fill(cr);

    // Legs and boots.
    for (int side = -1; side <= 1; side += 2) {
        const double lx = cx + side * 24;
        cairo_new_path(cr);
        roundedRect(cr, lx - 15, 340, 30, 80, 10);
        fillVertical(cr, 340, pal::DEEP, 420, pal::NIGHT);
        setColor(cr, pal::INK);
        cairo_set_line_width(cr, ink);
        cairo_stroke(cr);
        cairo_new_path(cr);
        cairo_move_to(cr, lx - 17, 432);
        cairo_line_to(cr, lx - 17, 414);
        cairo_curve_to(cr, lx - 17, 404, lx + 12, 404, lx + 14, 414);
        cairo_curve_to(cr, lx + 16 + side * 8, 418, lx + 18 + side * 10, 426, lx + 14 + side * 10, 432);
        cairo_close_path(cr);
        fillVertical(cr, 404, pal::WOOD_HIGH, 432, pal::WOOD);
        setColor(cr, pal::INK);
        cairo_stroke(cr);
    }

}

// The mane behind the head, drawn before the body so the shoulders overlap it.
void mascotHairBehind(cairo_t* cr) {
    const double cx = MASCOT_CENTRE, ink = MASCOT_INK;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    // Hair behind the head: a big soft mane with pointed tufts.
    cairo_new_path(cr);
    cairo_move_to(cr, cx - 96, 200);
    cairo_curve_to(cr, cx - 118, 120, cx - 98, 34, cx, 30);
    cairo_curve_to(cr, cx + 98, 34, cx + 118, 120, cx + 96, 200);
    cairo_line_to(cr, cx + 104, 236);
    cairo_line_to(cr, cx + 74, 214);
    cairo_line_to(cr, cx + 64, 246);
    cairo_line_to(cr, cx - 64, 246);
    cairo_line_to(cr, cx - 74, 214);
    cairo_line_to(cr, cx - 104, 236);
    cairo_close_path(cr);
    fillVertical(cr, 30, lighter(pal::HAIR, 0.15), 246, darker(pal::HAIR, 0.35));
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, ink);
    cairo_stroke(cr);

}

// Hoodie, the block held in both hands, sleeves and hands.
void mascotHoodie(cairo_t* cr) {
    const double cx = MASCOT_CENTRE, ink = MASCOT_INK;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    // Hoodie body.
    cairo_new_path(cr);
    cairo_move_to(cr, cx - 50, 212);
    cairo_curve_to(cr, cx - 86, 216, cx - 90, 250, cx - 86, 300);
    cairo_line_to(cr, cx - 80, 352);
    cairo_curve_to(cr, cx - 40, 362, cx + 40, 362, cx + 80, 352);
    cairo_line_to(cr, cx + 86, 300);
    cairo_curve_to(cr, cx + 90, 250, cx + 86, 216, cx + 50, 212);
    cairo_close_path(cr);
    fillVertical(cr, 212, lighter(pal::TEAL, 0.2), 360, darker(pal::TEAL, 0.35));
    setColor(cr, pal::INK);
    cairo_stroke(cr);
    // Hood collar and zip.
    cairo_new_path(cr);
    cairo_move_to(cr, cx - 52, 212);
    cairo_curve_to(cr, cx - 40, 240, cx + 40, 240, cx + 52, 212);
    setColor(cr, darker(pal::TEAL, 0.45));
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_move_to(cr, cx, 232);
    cairo_line_to(cr, cx, 352);
    setColor(cr, pal::CREAM, 0.8);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Hoodie strings.
    for (int side = -1; side <= 1; side += 2) {
        cairo_move_to(cr, cx + side * 14, 230);
        cairo_curve_to(cr, cx + side * 16, 246, cx + side * 12, 256, cx + side * 15, 266);
        setColor(cr, pal::CREAM);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
    }

    // The block held in both hands, tilted a little.
    cairo_save(cr);
    cairo_translate(cr, cx, 296);
    cairo_rotate(cr, -0.12);
    drawOrdinaryBlock(cr, 4, -42, -42, 84);
    cairo_restore(cr);
    // Sleeves and hands around it.
    for (int side = -1; side <= 1; side += 2) {
        cairo_new_path(cr);
        cairo_move_to(cr, cx + side * 78, 236);
        cairo_curve_to(cr, cx + side * 100, 262, cx + side * 92, 300, cx + side * 60, 310);
        cairo_line_to(cr, cx + side * 48, 290);
        cairo_curve_to(cr, cx + side * 66, 280, cx + side * 66, 262, cx + side * 62, 246);
        cairo_close_path(cr);
        fillVertical(cr, 236, pal::TEAL, 310, darker(pal::TEAL, 0.3));
        setColor(cr, pal::INK);
        cairo_set_line_width(cr, ink);
        cairo_stroke(cr);
        cairo_new_path(cr);
        cairo_arc(cr, cx + side * 46, 302, 13, 0, 2 * M_PI);
        fillVertical(cr, 289, pal::SKIN, 315, darker(pal::SKIN, 0.12));
        setColor(cr, pal::INK);
        cairo_stroke(cr);
    }

}

// Face, cheeks, eyes and the open smile.
void mascotFace(cairo_t* cr) {
    const double cx = MASCOT_CENTRE, ink = MASCOT_INK;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    // Head.
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, 132);
    cairo_scale(cr, 1, 0.94);
    cairo_arc(cr, 0, 0, 76, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* skin = cairo_pattern_create_radial(cx - 20, 110, 10, cx, 132, 90);
    cairo_pattern_add_color_stop_rgb(skin, 0, lighter(pal::SKIN, 0.3).r, lighter(pal::SKIN, 0.3).g,
                                     lighter(pal::SKIN, 0.3).b);
    cairo_pattern_add_color_stop_rgb(skin, 1, darker(pal::SKIN, 0.1).r, darker(pal::SKIN, 0.1).g,
                                     darker(pal::SKIN, 0.1).b);
    cairo_set_source(cr, skin);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(skin);
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, ink);
    cairo_stroke(cr);

    // Cheeks.
    for (int side = -1; side <= 1; side += 2) {
        cairo_save(cr);
        cairo_translate(cr, cx + side * 46, 166);
        cairo_scale(cr, 1.5, 1);
        cairo_arc(cr, 0, 0, 9, 0, 2 * M_PI);
        cairo_restore(cr);
        setColor(cr, pal::BLUSH, 0.65);
        cairo_fill(cr);
    }

    // Eyes: tall, dark, with a purple iris and two sparkles each.
    for (int side = -1; side <= 1; side += 2) {
        const double ex = cx + side * 30, ey = 140;
        cairo_save(cr);
        cairo_translate(cr, ex, ey);
        cairo_scale(cr, 0.78, 1);
        cairo_arc(cr, 0, 0, 19, 0, 2 * M_PI);
        cairo_restore(cr);
        setColor(cr, pal::INK);
        cairo_fill(cr);
        cairo_save(cr);
        cairo_translate(cr, ex, ey + 4);
        cairo_scale(cr, 0.7, 0.8);
        cairo_arc(cr, 0, 0, 15, 0, 2 * M_PI);
        cairo_restore(cr);
        cairo_pattern_t* iris = verticalGradient(ey - 8, pal::DUSK, ey + 16, pal::PURPLE);
        cairo_set_source(cr, iris);
        cairo_fill(cr);
        cairo_pattern_destroy(iris);
        cairo_arc(cr, ex + side * 2 - 5, ey - 7, 6, 0, 2 * M_PI);
        setColor(cr, pal::WHITE);
        cairo_fill(cr);
        cairo_arc(cr, ex + 5, ey + 8, 2.8, 0, 2 * M_PI);
        setColor(cr, pal::WHITE, 0.85);
        cairo_fill(cr);
        // Brow.
        cairo_move_to(cr, ex - 13, ey - 30);
        cairo_curve_to(cr, ex - 5, ey - 35, ex + 5, ey - 35, ex + 13, ey - 31);
        setColor(cr, darker(pal::HAIR, 0.3));
        cairo_set_line_width(cr, 3.5);
        cairo_stroke(cr);
    }

    // Open, happy mouth.
    cairo_new_path(cr);
    cairo_move_to(cr, cx - 15, 172);
    cairo_curve_to(cr, cx - 10, 194, cx + 10, 194, cx + 15, 172);
    cairo_close_path(cr);
    setColor(cr, darker(pal::RED, 0.35));
    cairo_fill_preserve(cr);
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, 186);
    cairo_scale(cr, 1.5, 0.8);
    cairo_arc(cr, 0, 0, 5, 0, 2 * M_PI);
    cairo_restore(cr);
    setColor(cr, pal::BLUSH);
    cairo_fill(cr);

}

// Fringe, cowlick, shine and the star clip, over the face.
void mascotFringe(cairo_t* cr) {
    const double cx = MASCOT_CENTRE, ink = MASCOT_INK;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    // Fringe over the forehead, and the cowlick that bobs on top.
    cairo_new_path(cr);
    cairo_move_to(cr, cx - 80, 130);
    cairo_curve_to(cr, cx - 84, 70, cx - 44, 46, cx, 46);
    cairo_curve_to(cr, cx + 44, 46, cx + 84, 70, cx + 80, 130);
    cairo_curve_to(cr, cx + 70, 110, cx + 62, 96, cx + 56, 84);
    cairo_curve_to(cr, cx + 50, 100, cx + 40, 108, cx + 24, 110);
    cairo_curve_to(cr, cx + 26, 100, cx + 24, 90, cx + 18, 82);
    cairo_curve_to(cr, cx + 8, 98, cx - 10, 106, cx - 30, 108);
    cairo_curve_to(cr, cx - 26, 98, cx - 26, 90, cx - 30, 84);
    cairo_curve_to(cr, cx - 44, 100, cx - 60, 108, cx - 80, 130);
    cairo_close_path(cr);
    fillVertical(cr, 46, lighter(pal::HAIR, 0.3), 130, pal::HAIR);
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, ink);
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, cx - 6, 48);
    cairo_curve_to(cr, cx - 14, 20, cx + 10, 6, cx + 26, 14);
    cairo_curve_to(cr, cx + 8, 18, cx + 4, 30, cx + 8, 48);
    cairo_close_path(cr);
    fillVertical(cr, 8, lighter(pal::HAIR, 0.35), 48, pal::HAIR);
    setColor(cr, pal::INK);
    cairo_stroke(cr);
    // Shine on the hair.
    cairo_move_to(cr, cx - 50, 70);
    cairo_curve_to(cr, cx - 36, 58, cx - 20, 54, cx - 6, 54);
    setColor(cr, pal::WHITE, 0.45);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    // A gold star hair clip.
    starPath(cr, cx + 60, 70, 15, 6.5, 5, 0.25);
    fillVertical(cr, 55, lighter(pal::GOLD, 0.4), 85, pal::GOLD_DARK);
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void mascot(cairo_t* cr) {
    mascotLegs(cr);
    mascotHairBehind(cr);
    mascotHoodie(cr);
    mascotFace(cr);
    mascotFringe(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

// A night sky from top to horizon with seeded stars.
void starrySky(cairo_t* cr, int w, int h, Rgb top, Rgb horizon, double horizonY, uint32_t seed, int stars) {
    cairo_rectangle(cr, 0, 0, w, h);
    fillVertical(cr, 0, top, horizonY, horizon);
    cairo_new_path(cr);
    Random rng(seed);
    for (int i = 0; i < stars; ++i) {
        const double x = rng.range(0, w), y = rng.range(0, horizonY * 0.8);
        const double r = rng.range(0.4, 1.3);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        setColor(cr, pal::CREAM, rng.range(0.3, 0.9) * (1 - y / horizonY));
        cairo_fill(cr);
    }
}

}  // namespace

bool writeTitle(const std::string& dataDir) {
    Canvas canvas(257, 103);
    titleLettering(canvas.cr(), 128.5, 0, 236, 100);
    return canvas.writeTga(dataDir + "/gfx/title.tga", true);
}

bool writeWallpaper(const std::string& dataDir) {
    Canvas canvas(32, 32);
    wallpaperPattern(canvas.cr(), 32);
    return canvas.writeTga(dataDir + "/gfx/frontend/bkg.tga", false);
}

bool writeMakerLogo(const std::string& dataDir) {
    Canvas canvas(250, 125);
    cairo_t* cr = canvas.cr();
    // The badge: two towers of blocks joined by a bridge, an H in the
    // maker's own material, inside a gold ring.
    const double bx = 58, by = 62, br = 48;
    cairo_arc(cr, bx, by + 2, br, 0, 2 * M_PI);
    setColor(cr, pal::INK, 0.5);
    cairo_fill(cr);
    cairo_arc(cr, bx, by, br, 0, 2 * M_PI);
    fillVertical(cr, by - br, pal::DUSK, by + br, pal::NIGHT);
    setColor(cr, pal::GOLD);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    cairo_arc(cr, bx, by, br - 5, 0, 2 * M_PI);
    setColor(cr, pal::GOLD_DARK);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    const double s = 19;
    for (int i = 0; i < 3; ++i) {
        drawOrdinaryBlock(cr, 7, bx - 1.5 * s - 1, by - 1.5 * s + i * s, s);
        drawOrdinaryBlock(cr, 9, bx + 0.5 * s + 1, by - 1.5 * s + i * s, s);
    }
    drawOrdinaryBlock(cr, 5, bx - 0.5 * s, by - 0.5 * s, s);
    // The name in two lines beside the badge.
    const double left = 116, right = 246;
    useFont(cr, 40, true);
    const double nameSize = 40 * (right - left) / textWidth(cr, "Halvoren");
    useFont(cr, 40);
    const double gamesSize = std::min(nameSize, 40 * (right - left) * 0.72 / textWidth(cr, "Games"));
    const double mid = (left + right) / 2;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    useFont(cr, nameSize, true);
    cairo_new_path(cr);
    centredTextPath(cr, "Halvoren", mid, 64);
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, 5);
    cairo_stroke_preserve(cr);
    fillVertical(cr, 40, pal::CREAM, 64, pal::GOLD);
    cairo_new_path(cr);
    useFont(cr, gamesSize);
    centredTextPath(cr, "Games", mid, 96);
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, 4);
    cairo_stroke_preserve(cr);
    fillVertical(cr, 76, lighter(pal::TEAL, 0.4), 96, pal::TEAL);
    cairo_new_path(cr);
    cairo_move_to(cr, left + 6, 74);
    cairo_line_to(cr, right - 6, 74);
    setColor(cr, pal::GOLD, 0.9);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    return canvas.writeTga(dataDir + "/gfx/frontend/hvlogo.tga", true);
}

bool writeWoodPanel(const std::string& dataDir) {
    Canvas canvas(256, 256);
    woodPanel(canvas.cr(), 256, 256);
    return canvas.writeTga(dataDir + "/gfx/frontend/woodbox.tga", true);
}

bool writeLevelComplete(const std::string& dataDir) {
    Canvas canvas(240, 128);
    cairo_t* cr = canvas.cr();
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    // Ribbon tails folded behind the banner.
    for (int side = -1; side <= 1; side += 2) {
        const double x0 = 120 + side * 96, x1 = 120 + side * 118;
        const double tail[10] = {x0, 52, x1, 52, x1 - side * 10, 75, x1, 98, x0, 98};
        polygonPath(cr, tail, 5);
        fillVertical(cr, 52, darker(pal::PURPLE, 0.3), 98, darker(pal::PURPLE, 0.55));
        setColor(cr, pal::INK);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
    }
    roundedRect(cr, 14, 32, 212, 74, 14);
    fillVertical(cr, 32, lighter(pal::PURPLE, 0.15), 106, darker(pal::PURPLE, 0.35));
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    roundedRect(cr, 19, 37, 202, 64, 10);
    setColor(cr, pal::GOLD);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Three stars on the top edge, the middle one raised.
    const double stars[3][3] = {{76, 26, 13}, {120, 18, 17}, {164, 26, 13}};
    for (const auto& st : stars) {
        starPath(cr, st[0], st[1], st[2], st[2] * 0.45, 5);
        fillVertical(cr, st[1] - st[2], lighter(pal::GOLD, 0.5), st[1] + st[2], pal::GOLD_DARK);
        setColor(cr, pal::INK);
        cairo_set_line_width(cr, 2.2);
        cairo_stroke(cr);
    }
    useFont(cr, 30);
    const double size = std::min(34.0, 30 * 176 / textWidth(cr, "Complete"));
    displayText(cr, "Level", 120, 64, size * 0.8, pal::CREAM, lighter(pal::GOLD, 0.2), 2.5);
    displayText(cr, "Complete", 120, 96, size, lighter(pal::GOLD, 0.5), pal::ORANGE, 2.8);
    return canvas.writeTga(dataDir + "/gfx/frontend/lvlcomp.tga", true);
}

bool writeMascot(const std::string& dataDir) {
    Canvas canvas(256, 448);
    mascot(canvas.cr());
    return canvas.writeTga(dataDir + "/gfx/frontend/manga.tga", true);
}

bool writeSplash(const std::string& dataDir) {
    const int w = 512, h = 384;
    Canvas canvas(w, h);
    cairo_t* cr = canvas.cr();
    starrySky(cr, w, h, pal::NIGHT, mix(pal::DUSK, pal::PINK, 0.35), 300, 29, 120);
    glow(cr, 256, 120, 230, pal::PURPLE, 0.35);
    // Rolling hills.
    for (int layer = 0; layer < 3; ++layer) {
        const double base = 286 + layer * 30;
        cairo_move_to(cr, 0, h);
        for (double x = 0; x <= w; x += 8)
            cairo_line_to(cr, x, base - 16 * std::sin(x * (0.011 + layer * 0.004) + layer * 2.1) - 10 * layer);
        cairo_line_to(cr, w, h);
        cairo_close_path(cr);
        setColor(cr, mix(pal::DUSK, pal::NIGHT, 0.3 + layer * 0.3));
        cairo_fill(cr);
    }
    // A few columns of blocks on a stone ledge, as on the board.
    cairo_new_path(cr);
    roundedRect(cr, 10, 300, 172, 16, 4);
    fillVertical(cr, 300, pal::SLATE, 316, pal::DEEP);
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    const int stack[8][3] = {{4, 20, 262}, {8, 20, 224}, {7, 58, 262}, {5, 58, 224},
                             {10, 58, 186}, {9, 96, 262}, {6, 134, 262}, {4, 134, 224}};
    for (const auto& b : stack) drawOrdinaryBlock(cr, b[0], b[1], b[2], 38);
    // The mascot on the right, waving hello with the block.
    cairo_save(cr);
    cairo_translate(cr, 330, 92);
    cairo_scale(cr, 0.66, 0.66);
    mascot(cr);
    cairo_restore(cr);
    // The title across the top.
    glow(cr, 190, 90, 130, pal::GOLD, 0.25);
    titleLettering(cr, 190, 28, 300, 126);
    return canvas.writeTga(dataDir + "/gfx/frontend/splash.tga", false);
}

bool writeAllPictures(const std::string& dataDir) {
    return writeTileset(dataDir) && writeTitle(dataDir) && writeWallpaper(dataDir) && writeGui(dataDir) &&
           writeMascot(dataDir) && writeMakerLogo(dataDir) && writeWoodPanel(dataDir) &&
           writeLevelComplete(dataDir) && writeSplash(dataDir) && writeWorldBackgrounds(dataDir) &&
           writeWindowIcon(dataDir);
}
