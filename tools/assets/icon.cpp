// Tolvane's icon: three of the board's blocks stacked on a stone ledge, on a
// night-sky plate in a gold rim, like the maker's badge. Painted afresh at
// every size, with the blocks on whole pixels, so the small icons of a
// task bar stay as crisp as the large ones of a launcher.
#include "canvas.h"
#include "pictures.h"

#include <cairo-svg.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

void drawOrdinaryBlock(cairo_t* cr, int kind, double x, double y, double s);

namespace {

// The sizes of the icon theme, and the window icon's (a task bar asks for
// little more than 64 pixels; larger ones come from the theme).
const int THEME_SIZES[] = {32, 48, 64, 128, 256};
constexpr int WINDOW_ICON_SIZE = 64;
// The scalable icon is drawn at the largest size, with all its detail.
constexpr int SCALABLE_SIZE = 256;

// The kinds in the stack: the yellow star on top of the orange circle and
// the teal diamond, the three that differ most in colour and in shape.
constexpr int TOP_KIND = 5;
constexpr int LEFT_KIND = 4;
constexpr int RIGHT_KIND = 7;

// A board block with an ink rim wide enough to hold its own at the larger
// sizes, where the block's own thin edge would fade into the plate.
void iconBlock(cairo_t* cr, int kind, double x, double y, double s) {
    drawOrdinaryBlock(cr, kind, x, y, s);
    const double rim = s * 0.035;
    if (rim <= 1.2) return;
    cairo_new_path(cr);
    roundedRect(cr, x + 1, y + 1, s - 2, s - 2, s * 0.16);
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, rim);
    cairo_stroke(cr);
}

// A few faint stars in the plate's sky; only where there is room for them.
void plateStars(cairo_t* cr, int n) {
    if (n < 48) return;
    const double stars[3][3] = {{0.2, 0.24, 0.045}, {0.8, 0.19, 0.06}, {0.86, 0.4, 0.03}};
    const int count = n < 64 ? 1 : 3;
    for (int i = 0; i < count; ++i) {
        const double outer = std::max(1.5, stars[i][2] * n);
        starPath(cr, stars[i][0] * n, stars[i][1] * n, outer, outer * 0.35, 4);
        setColor(cr, i == 1 ? pal::CREAM : pal::MIST, 0.8);
        cairo_fill(cr);
    }
}

void paintIcon(cairo_t* cr, int n) {
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    // The plate: a margin of a pixel or more so it never touches the edge,
    // the rim's stroke wholly inside it, and from 64 pixels up a drop
    // shadow under it.
    const double margin = std::max(1L, std::lround(n * 0.03));
    const double rim = std::max(1.0, n * 0.035);
    const double radius = n * 0.2;
    const double shadow = n >= 64 ? n * 0.015 : 0;
    const double plate = n - 2 * margin - shadow;
    if (shadow > 0) {
        cairo_new_path(cr);
        roundedRect(cr, margin, margin + shadow, plate, plate, radius);
        setColor(cr, pal::INK, 0.45);
        cairo_fill(cr);
    }
    cairo_new_path(cr);
    roundedRect(cr, margin + rim / 2, margin + rim / 2, plate - rim, plate - rim, radius - rim / 2);
    fillVertical(cr, margin, pal::DUSK, margin + plate, pal::NIGHT);
    setColor(cr, pal::GOLD);
    cairo_set_line_width(cr, rim);
    cairo_stroke(cr);

    // The stack: an even block size so the top block centres on a whole
    // pixel, a gap between the lower two once there is room for one. The
    // smallest icons give the blocks a little more of the plate.
    const int block = 2 * static_cast<int>(std::lround(n * (n < 64 ? 0.18 : 0.17)));
    const int gap = 2 * (n / 64);
    const int ledge = std::max(2, static_cast<int>(std::lround(n * 0.06)));
    const int stackHeight = 2 * block + ledge;
    const int top = static_cast<int>(std::lround((n - shadow - stackHeight) / 2));
    const int centre = n / 2;
    const int ledgeTop = top + 2 * block;

    plateStars(cr, n);
    glow(cr, centre, top + block * 0.5, block * 1.3, pal::PURPLE, 0.4);

    // The stone ledge the blocks stand on, as on the splash.
    const double ledgeHalf = block + gap / 2.0 + n * 0.03;
    cairo_new_path(cr);
    roundedRect(cr, centre - ledgeHalf, ledgeTop, 2 * ledgeHalf, ledge, std::min(ledge / 2.0, n * 0.02));
    fillVertical(cr, ledgeTop, pal::SLATE, ledgeTop + ledge, pal::DEEP);
    if (n >= 64) {
        setColor(cr, pal::INK);
        cairo_set_line_width(cr, std::max(1.0, n * 0.01));
        cairo_stroke(cr);
    }
    cairo_new_path(cr);

    // A soft shadow under the stack, then the blocks, the top one last.
    if (shadow > 0) {
        const double lift = n * 0.012;
        setColor(cr, pal::INK, 0.35);
        roundedRect(cr, centre - block - gap / 2.0 + lift, top + block + lift * 2, 2 * block + gap, block, block * 0.16);
        roundedRect(cr, centre - block / 2.0 + lift, top + lift * 2, block, block, block * 0.16);
        cairo_fill(cr);
    }
    iconBlock(cr, LEFT_KIND, centre - block - gap / 2.0, top + block, block);
    iconBlock(cr, RIGHT_KIND, centre + gap / 2.0, top + block, block);
    iconBlock(cr, TOP_KIND, centre - block / 2.0, top, block);
}

bool writePng(const Canvas& canvas, const std::string& path) {
    cairo_surface_flush(canvas.surface());
    return cairo_surface_write_to_png(canvas.surface(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

// cairo's SVG surface writes through this, so a failed write is noticed.
cairo_status_t writeToFile(void* closure, const unsigned char* data, unsigned int length) {
    return std::fwrite(data, 1, length, static_cast<FILE*>(closure)) == length ? CAIRO_STATUS_SUCCESS
                                                                              : CAIRO_STATUS_WRITE_ERROR;
}

bool writeSvg(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    cairo_surface_t* surface = cairo_svg_surface_create_for_stream(writeToFile, file, SCALABLE_SIZE, SCALABLE_SIZE);
    // Plain user units: an icon has no physical size of its own.
    cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_USER);
    cairo_t* cr = cairo_create(surface);
    paintIcon(cr, SCALABLE_SIZE);
    const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return std::fclose(file) == 0 && drawn && written;
}

}  // namespace

bool writeWindowIcon(const std::string& dataDir) {
    Canvas canvas(WINDOW_ICON_SIZE, WINDOW_ICON_SIZE);
    paintIcon(canvas.cr(), WINDOW_ICON_SIZE);
    return canvas.writeTga(dataDir + "/gfx/icon.tga", true);
}

bool writeIconTheme(const std::string& iconDir) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (int n : THEME_SIZES) {
        const std::string folder = iconDir + "/hicolor/" + std::to_string(n) + "x" + std::to_string(n) + "/apps";
        fs::create_directories(folder, error);
        if (error) return false;
        Canvas canvas(n, n);
        paintIcon(canvas.cr(), n);
        if (!writePng(canvas, folder + "/tolvane.png")) return false;
    }
    const std::string scalable = iconDir + "/hicolor/scalable/apps";
    fs::create_directories(scalable, error);
    return !error && writeSvg(scalable + "/tolvane.svg");
}
