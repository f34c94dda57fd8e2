// tolvane_contact_sheet [--cell PX] MAP... -o FILE.png: draws every level of
// the worlds' maps as a small board, a row of nine per world with the
// tutorial first, each board labelled with its world and level ("T-1",
// "5-3"), so the whole set can be read at a glance: which rooms repeat,
// where the big rooms and the crowded ones are, where tar and lifts go.
//   --cell PX   the side of one cell in pixels (default 6)
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/game_context.h"
#include "tools/assets/palette.h"
#include "tools/levels/level_map.h"

namespace {

constexpr int32_t N = levelmap::MAP_SIZE;
constexpr double GAP = 12.0;           // between boards
constexpr double LABEL = 13.0;         // the label line above a board
constexpr double WORLD_COLUMN = 78.0;  // the world's name left of its row
constexpr double HEADING = 34.0;       // the picture's title line

struct WorldFile {
    int32_t number = 0;  // 0 for the tutorial
    levelmap::World world;
};

void fill(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

const Rgb NOTHING = darker(pal::INK, 0.35);
const Rgb FLOOR = mix(pal::NIGHT, pal::CREAM, 0.22);

// The game's colour for each kind of block, then rock, tar and the lift.
Rgb blockColour(int32_t code) {
    static const Rgb kinds[] = {pal::ORANGE, pal::YELLOW, pal::GREEN, pal::TEAL, pal::BLUE, pal::PURPLE, pal::PINK};
    if (code >= KIND_FIRST && code <= KIND_LAST_ORDINARY) return kinds[code - KIND_FIRST];
    if (code == KIND_ROCK) return pal::ROCK;
    if (code == KIND_LIFT) return pal::RED;
    return pal::TAR;
}

// One board with its top left corner at x, y. Wall fills its cells whole;
// blocks sit inset on the floor so they read apart from the wall, and tar,
// nearly black, carries a light rim.
void drawBoard(cairo_t* cr, const levelmap::Level& level, double x, double y, double cell) {
    fill(cr, NOTHING);
    cairo_rectangle(cr, x, y, N * cell, N * cell);
    cairo_fill(cr);
    const double inset = cell >= 5 ? 0.5 : 0.0;
    for (int32_t r = 0; r < N; ++r) {
        for (int32_t c = 0; c < N; ++c) {
            const int32_t code = level.cells[r][c];
            const double cx = x + c * cell, cy = y + r * cell;
            if (code == CELL_WALL) {
                fill(cr, pal::SLATE);
                cairo_rectangle(cr, cx, cy, cell, cell);
                cairo_fill(cr);
                continue;
            }
            if (code != CELL_EMPTY && code < KIND_FIRST) continue;
            fill(cr, FLOOR);
            cairo_rectangle(cr, cx, cy, cell, cell);
            cairo_fill(cr);
            if (code < KIND_FIRST) continue;
            fill(cr, blockColour(code));
            cairo_rectangle(cr, cx + inset, cy + inset, cell - 2 * inset, cell - 2 * inset);
            cairo_fill(cr);
            if (code == KIND_ICKY) {
                fill(cr, pal::MIST);
                cairo_set_line_width(cr, 1.0);
                cairo_rectangle(cr, cx + 1.0, cy + 1.0, cell - 2.0, cell - 2.0);
                cairo_stroke(cr);
            }
        }
    }
}

void text(cairo_t* cr, const std::string& s, double x, double y, double size, Rgb colour) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, size);
    fill(cr, colour);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, s.c_str());
}

// A key along the title line: a sample cell of each and its name.
void legend(cairo_t* cr, double x, double y, double cell) {
    const struct {
        int32_t code;
        const char* name;
    } keys[] = {{CELL_WALL, "wall"},  {CELL_EMPTY, "floor"}, {KIND_FIRST, "blocks"},
                {KIND_ROCK, "rock"},  {KIND_ICKY, "tar"},    {KIND_LIFT, "lift"}};
    for (const auto& k : keys) {
        const double side = std::max(cell, 8.0);
        if (k.code == CELL_WALL || k.code == CELL_EMPTY) {
            fill(cr, k.code == CELL_WALL ? pal::SLATE : FLOOR);
            cairo_rectangle(cr, x, y - side, side, side);
            cairo_fill(cr);
        } else {
            fill(cr, FLOOR);
            cairo_rectangle(cr, x, y - side, side, side);
            cairo_fill(cr);
            for (int32_t i = 0; i < (k.code == KIND_FIRST ? 3 : 1); ++i) {
                const Rgb c = blockColour(k.code == KIND_FIRST ? KIND_FIRST + 2 * i : k.code);
                fill(cr, c);
                cairo_rectangle(cr, x + i * side + 1, y - side + 1, side - 2, side - 2);
                cairo_fill(cr);
            }
            if (k.code == KIND_FIRST) x += 2 * side;
            if (k.code == KIND_ICKY) {
                fill(cr, pal::MIST);
                cairo_set_line_width(cr, 1.0);
                cairo_rectangle(cr, x + 1.5, y - side + 1.5, side - 3, side - 3);
                cairo_stroke(cr);
            }
        }
        cairo_text_extents_t e;
        cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
        cairo_set_font_size(cr, 11.0);
        cairo_text_extents(cr, k.name, &e);
        fill(cr, pal::MIST);
        cairo_move_to(cr, x + side + 4, y - 1);
        cairo_show_text(cr, k.name);
        x += side + 4 + e.x_advance + 14;
    }
}

int usage(const char* program) {
    std::fprintf(stderr, "usage: %s [--cell PX] MAP... -o FILE.png\n", program);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const char* output = nullptr;
    double cell = 6.0;
    std::vector<WorldFile> files;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "-o") == 0 && i + 1 < argc) {
            output = argv[++i];
        } else if (std::strcmp(a, "--cell") == 0 && i + 1 < argc) {
            cell = std::max(2, std::atoi(argv[++i]));
        } else if (a[0] == '-') {
            return usage(argv[0]);
        } else {
            WorldFile f;
            f.number = levelmap::worldNumber(a);
            f.world = levelmap::readWorld(a);
            if (!f.world.errors.empty()) {
                for (const std::string& e : f.world.errors) std::fprintf(stderr, "%s\n", e.c_str());
                return 2;
            }
            files.push_back(f);
        }
    }
    if (files.empty() || !output) return usage(argv[0]);
    std::sort(files.begin(), files.end(), [](const WorldFile& a, const WorldFile& b) { return a.number < b.number; });

    const double board = N * cell;
    size_t across = 0;
    for (const WorldFile& f : files) across = std::max(across, f.world.levels.size());
    const int width = static_cast<int>(WORLD_COLUMN + across * (board + GAP) + GAP);
    const int height = static_cast<int>(HEADING + files.size() * (LABEL + board + GAP) + GAP);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    fill(cr, pal::INK);
    cairo_paint(cr);
    text(cr, "Tolvane: every level, world by world", GAP, 22.0, 15.0, pal::GOLD);
    legend(cr, width - 420.0, 21.0, cell);

    double y = HEADING;
    for (const WorldFile& f : files) {
        const std::string world = f.number == 0 ? "Tutorial" : "World " + std::to_string(f.number);
        text(cr, world, GAP, y + LABEL + board / 2 + 4.0, 12.0, pal::CREAM);
        for (size_t i = 0; i < f.world.levels.size(); ++i) {
            const double x = WORLD_COLUMN + i * (board + GAP);
            const std::string name = (f.number == 0 ? std::string("T") : std::to_string(f.number)) + "-" +
                                     std::to_string(i + 1);
            text(cr, name, x, y + LABEL - 3.0, 10.0, pal::MIST);
            drawBoard(cr, f.world.levels[i], x, y + LABEL, cell);
        }
        y += LABEL + board + GAP;
    }
    cairo_destroy(cr);
    const cairo_status_t written = cairo_surface_write_to_png(surface, output);
    cairo_surface_destroy(surface);
    if (written != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "%s: cannot write (%s)\n", output, cairo_status_to_string(written));
        return 2;
    }
    return 0;
}
