// The board's tileset strip and the front end's button strip.
#include "canvas.h"
#include "pictures.h"

#include <cmath>

namespace {

constexpr int TILE = 32;

// The symbol each ordinary kind carries, so kinds differ in shape as well
// as colour for players who cannot tell the colours apart.
enum Symbol { SYMBOL_CIRCLE, SYMBOL_STAR, SYMBOL_TRIANGLE, SYMBOL_DIAMOND, SYMBOL_SQUARE, SYMBOL_HEART, SYMBOL_PLUS };

struct Kind {
    Rgb colour;
    Symbol symbol;
};

// Kinds 4 to 10 in order.
const Kind ORDINARY_KINDS[7] = {
    {pal::ORANGE, SYMBOL_CIRCLE}, {pal::YELLOW, SYMBOL_STAR},  {pal::GREEN, SYMBOL_TRIANGLE},
    {pal::TEAL, SYMBOL_DIAMOND},  {pal::BLUE, SYMBOL_SQUARE},  {pal::PURPLE, SYMBOL_HEART},
    {pal::PINK, SYMBOL_PLUS},
};

void symbolPath(cairo_t* cr, Symbol symbol, double cx, double cy, double s) {
    switch (symbol) {
    case SYMBOL_CIRCLE:
        cairo_new_sub_path(cr);
        cairo_arc(cr, cx, cy, s * 0.3, 0, 2 * M_PI);
        break;
    case SYMBOL_STAR: starPath(cr, cx, cy + s * 0.03, s * 0.38, s * 0.16, 5); break;
    case SYMBOL_TRIANGLE: {
        const double p[6] = {cx, cy - s * 0.33, cx + s * 0.34, cy + s * 0.26, cx - s * 0.34, cy + s * 0.26};
        polygonPath(cr, p, 3);
        break;
    }
    case SYMBOL_DIAMOND: {
        const double p[8] = {cx, cy - s * 0.36, cx + s * 0.28, cy, cx, cy + s * 0.36, cx - s * 0.28, cy};
        polygonPath(cr, p, 4);
        break;
    }
    case SYMBOL_SQUARE: roundedRect(cr, cx - s * 0.25, cy - s * 0.25, s * 0.5, s * 0.5, s * 0.06); break;
    case SYMBOL_HEART: heartPath(cr, cx, cy + s * 0.02, s * 0.46); break;
    case SYMBOL_PLUS: {
        const double a = s * 0.1, b = s * 0.32;
        const double p[24] = {cx - a, cy - b, cx + a, cy - b, cx + a, cy - a, cx + b, cy - a,
                              cx + b, cy + a, cx + a, cy + a, cx + a, cy + b, cx - a, cy + b,
                              cx - a, cy + a, cx - b, cy + a, cx - b, cy - a, cx - a, cy - a};
        polygonPath(cr, p, 12);
        break;
    }
    }
}

}  // namespace

// An ordinary block of kind 4 to 10 with its symbol, at any size; the
// mascot and the splash hold the same blocks as the board.
void drawOrdinaryBlock(cairo_t* cr, int kind, double x, double y, double s) {
    const Kind& k = ORDINARY_KINDS[(kind - 4) % 7];
    blockBody(cr, x, y, s, k.colour);
    const double cx = x + s / 2, cy = y + s / 2;
    cairo_new_path(cr);
    symbolPath(cr, k.symbol, cx, cy + s * 0.03, s);
    setColor(cr, darker(k.colour, 0.55), 0.6);
    cairo_fill(cr);
    symbolPath(cr, k.symbol, cx, cy, s);
    setColor(cr, lighter(k.colour, 0.82));
    cairo_fill_preserve(cr);
    setColor(cr, darker(k.colour, 0.5));
    cairo_set_line_width(cr, s * 0.035);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

namespace {

// Dark masonry: two courses of stones per tile, the lower one offset by half
// a stone, so walls laid side by side read as one continuous wall.
void wallTile(cairo_t* cr) {
    Random rng(2);
    setColor(cr, darker(pal::INK, 0.2));
    cairo_rectangle(cr, 0, 0, TILE, TILE);
    cairo_fill(cr);
    const double courses[2][4] = {{0, 16, 32, 48}, {-8, 8, 24, 40}};
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i + 1 < 4; ++i) {
            const double x0 = courses[row][i], y0 = row * 16.0;
            const Rgb stone = mix(pal::SLATE, pal::DEEP, 0.35 + 0.3 * rng.unit());
            cairo_new_path(cr);
            roundedRect(cr, x0 + 1, y0 + 1, 14, 14, 2.5);
            fillVertical(cr, y0, lighter(stone, 0.12), y0 + 16, darker(stone, 0.2));
            cairo_new_path(cr);
            setColor(cr, pal::WHITE, 0.16);
            cairo_rectangle(cr, x0 + 2, y0 + 1.5, 12, 1.2);
            cairo_fill(cr);
            for (int d = 0; d < 5; ++d) {
                setColor(cr, pal::INK, 0.25);
                cairo_rectangle(cr, x0 + 3 + rng.unit() * 10, y0 + 3 + rng.unit() * 10, 1, 1);
                cairo_fill(cr);
            }
        }
    }
}

// The open floor behind every free cell: dark and quiet, with only a faint
// groove so the grid can be felt without drawing the eye from the blocks.
void floorTile(cairo_t* cr) {
    cairo_rectangle(cr, 0, 0, TILE, TILE);
    fillVertical(cr, 0, mix(pal::NIGHT, pal::DEEP, 0.45), TILE, mix(pal::NIGHT, pal::DEEP, 0.3));
    cairo_new_path(cr);
    setColor(cr, pal::WHITE, 0.05);
    cairo_rectangle(cr, 0, 0, TILE, 1);
    cairo_rectangle(cr, 0, 1, 1, TILE - 1);
    cairo_fill(cr);
    setColor(cr, pal::INK, 0.35);
    cairo_rectangle(cr, 0, TILE - 1, TILE, 1);
    cairo_rectangle(cr, TILE - 1, 0, 1, TILE - 1);
    cairo_fill(cr);
}

// Riveted steel around a faceted stone stud: plainly not something that
// breaks.
void rockTile(cairo_t* cr) {
    cairo_new_path(cr);
    roundedRect(cr, 0.5, 0.5, 31, 31, 3);
    fillVertical(cr, 0, lighter(pal::ROCK, 0.35), TILE, darker(pal::ROCK, 0.35));
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // The stud: four facets lit from the top left.
    const double a = 7, b = 25, c = 16;
    const double facets[4][6] = {{a, a, b, a, c, c}, {b, a, b, b, c, c}, {b, b, a, b, c, c}, {a, b, a, a, c, c}};
    const double light[4] = {0.35, -0.15, -0.4, 0.15};
    for (int i = 0; i < 4; ++i) {
        polygonPath(cr, facets[i], 3);
        const Rgb shade = light[i] > 0 ? lighter(pal::ROCK, light[i]) : darker(pal::ROCK, -light[i]);
        setColor(cr, shade);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, a, a, b - a, b - a);
    setColor(cr, darker(pal::ROCK, 0.6));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Rivets in the corners of the frame.
    const double rivets[4][2] = {{3.8, 3.8}, {28.2, 3.8}, {3.8, 28.2}, {28.2, 28.2}};
    for (const auto& r : rivets) {
        cairo_arc(cr, r[0], r[1], 1.9, 0, 2 * M_PI);
        setColor(cr, darker(pal::ROCK, 0.55));
        cairo_fill(cr);
        cairo_arc(cr, r[0] - 0.5, r[1] - 0.5, 1.0, 0, 2 * M_PI);
        setColor(cr, lighter(pal::ROCK, 0.7));
        cairo_fill(cr);
    }
}

// A dull block smothered in glossy black tar that drips down its face.
void ickyTile(cairo_t* cr) {
    blockBody(cr, 0, 0, TILE, mix(pal::WOOD_LIGHT, pal::SLATE, 0.5));
    cairo_new_path(cr);
    cairo_move_to(cr, 1, 4);
    cairo_curve_to(cr, 1, 1, 3, 1, 5, 1);
    cairo_line_to(cr, 27, 1);
    cairo_curve_to(cr, 29, 1, 31, 1, 31, 4);
    cairo_line_to(cr, 31, 17);
    cairo_curve_to(cr, 31, 21, 28, 21, 28, 18);
    cairo_curve_to(cr, 28, 22, 26, 26, 24, 26);
    cairo_curve_to(cr, 22, 26, 22, 22, 21, 19);
    cairo_curve_to(cr, 20, 16, 17, 16, 16, 20);
    cairo_curve_to(cr, 15.5, 25, 15, 30, 12.5, 30);
    cairo_curve_to(cr, 10, 30, 10, 25, 9.5, 21);
    cairo_curve_to(cr, 9, 17, 6, 17, 5, 21);
    cairo_curve_to(cr, 4.5, 23, 1, 23, 1, 19);
    cairo_close_path(cr);
    fillVertical(cr, 0, mix(pal::TAR, pal::DUSK, 0.25), TILE, pal::TAR);
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    // Wet highlights.
    setColor(cr, pal::WHITE, 0.55);
    cairo_set_line_width(cr, 1.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 6, 5);
    cairo_curve_to(cr, 10, 3.8, 15, 3.8, 19, 4.5);
    cairo_stroke(cr);
    cairo_arc(cr, 12.3, 26.5, 1.1, 0, 2 * M_PI);
    cairo_fill(cr);
    setColor(cr, pal::WHITE, 0.3);
    cairo_arc(cr, 24, 10, 2.2, 0, 2 * M_PI);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

// The red lift: a block with striped ends and an up-and-down arrow.
void liftTile(cairo_t* cr) {
    blockBody(cr, 0, 0, TILE, pal::RED);
    for (int band = 0; band < 2; ++band) {
        const double y = band ? 25.5 : 3.5;
        cairo_save(cr);
        cairo_rectangle(cr, 3.5, y, 25, 3);
        cairo_clip(cr);
        setColor(cr, darker(pal::RED, 0.5));
        cairo_paint(cr);
        setColor(cr, pal::GOLD);
        for (int i = -1; i < 8; ++i) {
            const double x = 3.5 + i * 4;
            const double p[8] = {x, y + 3, x + 2, y + 3, x + 5, y, x + 3, y};
            polygonPath(cr, p, 4);
        }
        cairo_fill(cr);
        cairo_restore(cr);
    }
    const double arrow[20] = {16, 7.5, 22, 13, 18.3, 13, 18.3, 19, 22, 19, 16, 24.5, 10, 19, 13.7, 19, 13.7, 13, 10, 13};
    cairo_new_path(cr);
    polygonPath(cr, arrow, 10);
    setColor(cr, pal::CREAM);
    cairo_fill_preserve(cr);
    setColor(cr, darker(pal::RED, 0.6));
    cairo_set_line_width(cr, 1.1);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

// The mouse pointer: an arrow whose tip is the tile's top-left pixel, with
// nothing around it.
void pointerTile(cairo_t* cr) {
    const double arrow[14] = {0, 0, 0, 22, 5.2, 17.3, 9.2, 26, 12.8, 24.4, 8.9, 15.9, 15.6, 15.9};
    cairo_new_path(cr);
    polygonPath(cr, arrow, 7);
    fillVertical(cr, 0, pal::WHITE, 26, pal::MIST);
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, 1.5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

// Three spare tiles the levels never place: a moonstone, a gold star and a
// cream keystone, kept in the same style.
void spareTile(cairo_t* cr, int frame) {
    if (frame == 1) {
        blockBody(cr, 0, 0, TILE, pal::MIST);
        cairo_arc(cr, 16, 16, 7, 0, 2 * M_PI);
        setColor(cr, pal::CREAM);
        cairo_fill_preserve(cr);
        setColor(cr, pal::SLATE);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        cairo_arc(cr, 19, 14, 5.5, 0, 2 * M_PI);
        setColor(cr, pal::MIST);
        cairo_fill(cr);
    } else if (frame == 15) {
        blockBody(cr, 0, 0, TILE, pal::GOLD_DARK);
        starPath(cr, 16, 16.5, 11, 4.6, 5);
        fillVertical(cr, 5, pal::CREAM, 27, pal::GOLD);
        setColor(cr, darker(pal::GOLD_DARK, 0.5));
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    } else {
        blockBody(cr, 0, 0, TILE, pal::CREAM);
        const double key[8] = {10, 7, 22, 7, 25, 25, 7, 25};
        polygonPath(cr, key, 4);
        setColor(cr, darker(pal::CREAM, 0.25));
        cairo_fill_preserve(cr);
        setColor(cr, darker(pal::CREAM, 0.55));
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
}

// The plain front-end button: light and neutral so the menu's tint (green
// for the first world through red for the last) shows true.
void buttonBody(cairo_t* cr, double x, Rgb top, Rgb bottom) {
    cairo_new_path(cr);
    roundedRect(cr, x + 5, 7, 54, 54, 12);
    setColor(cr, pal::INK, 0.35);
    cairo_fill(cr);
    roundedRect(cr, x + 4, 4, 54, 54, 12);
    fillVertical(cr, 4, top, 58, bottom);
    setColor(cr, darker(bottom, 0.55));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    roundedRect(cr, x + 8, 8, 46, 22, 9);
    cairo_pattern_t* gloss = cairo_pattern_create_linear(0, 8, 0, 30);
    cairo_pattern_add_color_stop_rgba(gloss, 0, 1, 1, 1, 0.75);
    cairo_pattern_add_color_stop_rgba(gloss, 1, 1, 1, 1, 0.05);
    cairo_set_source(cr, gloss);
    cairo_fill(cr);
    cairo_pattern_destroy(gloss);
}

void dustbinButton(cairo_t* cr, double x) {
    buttonBody(cr, x, lighter(pal::TEAL, 0.55), darker(pal::TEAL, 0.1));
    const double cx = x + 31;
    // Bin body, slightly tapered, with ribs.
    const double bin[8] = {cx - 12, 24, cx + 12, 24, cx + 10, 51, cx - 10, 51};
    cairo_new_path(cr);
    polygonPath(cr, bin, 4);
    fillVertical(cr, 24, pal::WHITE, 51, pal::MIST);
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, 2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 1.6);
    setColor(cr, pal::SLATE);
    for (int i = -1; i <= 1; ++i) {
        cairo_move_to(cr, cx + i * 6, 28);
        cairo_line_to(cr, cx + i * 5.2, 47);
    }
    cairo_stroke(cr);
    // Lid with its handle.
    cairo_new_path(cr);
    roundedRect(cr, cx - 15, 17, 30, 6, 2);
    fillVertical(cr, 17, pal::WHITE, 23, pal::MIST);
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    roundedRect(cr, cx - 5, 12, 10, 5, 2);
    cairo_stroke(cr);
}

// The marks are stickers: an ink rim, a white ring and the coloured face,
// so they read over a button of any tint, green to red.
void stickerOutline(cairo_t* cr) {
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, 9);
    cairo_stroke_preserve(cr);
    setColor(cr, pal::WHITE);
    cairo_set_line_width(cr, 5);
    cairo_stroke_preserve(cr);
}

void tickMark(cairo_t* cr, double x) {
    const double p[12] = {x + 11, 34, x + 19, 26, x + 27, 34, x + 46, 12, x + 54, 20, x + 27, 51};
    cairo_new_path(cr);
    polygonPath(cr, p, 6);
    stickerOutline(cr);
    fillVertical(cr, 11, lighter(pal::GREEN, 0.3), 52, darker(pal::GREEN, 0.3));
    cairo_new_path(cr);
    setColor(cr, pal::WHITE, 0.5);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, x + 15, 33);
    cairo_line_to(cr, x + 19, 29);
    cairo_move_to(cr, x + 31, 39);
    cairo_line_to(cr, x + 46, 16);
    cairo_stroke(cr);
}

void crossMark(cairo_t* cr, double x) {
    const double cx = x + 32, cy = 32, a = 6, b = 19;
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, M_PI / 4);
    const double p[24] = {-a, -b, a, -b, a, -a, b, -a, b, a, a, a, a, b, -a, b, -a, a, -b, a, -b, -a, -a, -a};
    polygonPath(cr, p, 12);
    cairo_restore(cr);
    stickerOutline(cr);
    fillVertical(cr, 10, lighter(pal::RED, 0.25), 54, darker(pal::RED, 0.3));
    cairo_new_path(cr);
}

}  // namespace

bool writeTileset(const std::string& dataDir) {
    Canvas canvas(16 * TILE, TILE);
    cairo_t* cr = canvas.cr();
    for (int frame = 1; frame <= 16; ++frame) {
        cairo_save(cr);
        cairo_translate(cr, (frame - 1) * TILE, 0);
        cairo_rectangle(cr, 0, 0, TILE, TILE);
        cairo_clip(cr);
        cairo_new_path(cr);
        if (frame == 2) wallTile(cr);
        else if (frame == 3) floorTile(cr);
        else if (frame >= 4 && frame <= 10) drawOrdinaryBlock(cr, frame, 0, 0, TILE);
        else if (frame == 11) rockTile(cr);
        else if (frame == 12) ickyTile(cr);
        else if (frame == 13) liftTile(cr);
        else if (frame == 14) pointerTile(cr);
        else spareTile(cr, frame);
        cairo_restore(cr);
    }
    return canvas.writeTga(dataDir + "/gfx/tilesets/classic.tga", true);
}

bool writeGui(const std::string& dataDir) {
    Canvas canvas(256, 64);
    cairo_t* cr = canvas.cr();
    buttonBody(cr, 0, pal::WHITE, hex(0xc9ced6));
    dustbinButton(cr, 64);
    tickMark(cr, 128);
    crossMark(cr, 192);
    return canvas.writeTga(dataDir + "/gfx/frontend/gui.tga", true);
}
