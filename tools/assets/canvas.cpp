#include "canvas.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

const char* const SANS_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* const SERIF_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";

// One FreeType face per font file for the whole run; cairo keeps them alive.
cairo_font_face_t* fontFace(bool serif) {
    static FT_Library library = nullptr;
    static cairo_font_face_t* faces[2] = {nullptr, nullptr};
    cairo_font_face_t*& face = faces[serif ? 1 : 0];
    if (face) return face;
    if (!library && FT_Init_FreeType(&library) != 0) return nullptr;
    FT_Face ft = nullptr;
    if (FT_New_Face(library, serif ? SERIF_BOLD : SANS_BOLD, 0, &ft) != 0) {
        std::fprintf(stderr, "cannot open font %s\n", serif ? SERIF_BOLD : SANS_BOLD);
        return nullptr;
    }
    face = cairo_ft_font_face_create_for_ft_face(ft, 0);
    return face;
}

void put16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(v & 0xff);
    out.push_back((v >> 8) & 0xff);
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

bool Canvas::writeTga(const std::string& path, bool withAlpha) const {
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    std::vector<uint8_t> out;
    out.reserve(18 + static_cast<size_t>(width_) * height_ * 4);
    out.push_back(0);  // no image ID
    out.push_back(0);  // no colour map
    out.push_back(2);  // uncompressed true colour
    for (int i = 0; i < 5; ++i) out.push_back(0);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<unsigned>(width_));
    put16(out, static_cast<unsigned>(height_));
    out.push_back(withAlpha ? 32 : 24);
    out.push_back(withAlpha ? 0x28 : 0x20);  // top row first; 8 alpha bits
    for (int y = 0; y < height_; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < width_; ++x) {
            const uint32_t p = row[x];
            const unsigned a = p >> 24;
            unsigned c[3] = {p & 0xff, (p >> 8) & 0xff, (p >> 16) & 0xff};  // blue, green, red
            for (unsigned& v : c) {
                if (!withAlpha) continue;  // an opaque picture is stored as painted
                v = a == 0 ? 0 : std::min(255u, (v * 255 + a / 2) / a);
            }
            out.push_back(static_cast<uint8_t>(c[0]));
            out.push_back(static_cast<uint8_t>(c[1]));
            out.push_back(static_cast<uint8_t>(c[2]));
            if (withAlpha) out.push_back(static_cast<uint8_t>(a));
        }
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

uint32_t Random::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

double Random::unit() { return next() / 4294967296.0; }

double Random::range(double lo, double hi) { return lo + (hi - lo) * unit(); }

void setColor(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void starPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double turn) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        const double a = -M_PI / 2 + turn + i * M_PI / points;
        const double r = (i % 2) ? inner : outer;
        cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
}

void heartPath(cairo_t* cr, double cx, double cy, double s) {
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx, cy + 0.45 * s);
    cairo_curve_to(cr, cx - 0.9 * s, cy - 0.1 * s, cx - 0.5 * s, cy - 0.75 * s, cx, cy - 0.3 * s);
    cairo_curve_to(cr, cx + 0.5 * s, cy - 0.75 * s, cx + 0.9 * s, cy - 0.1 * s, cx, cy + 0.45 * s);
    cairo_close_path(cr);
}

void polygonPath(cairo_t* cr, const double* xy, int points) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < points; ++i) cairo_line_to(cr, xy[2 * i], xy[2 * i + 1]);
    cairo_close_path(cr);
}

cairo_pattern_t* verticalGradient(double y0, Rgb top, double y1, Rgb bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
    return p;
}

void fillVertical(cairo_t* cr, double y0, Rgb top, double y1, Rgb bottom) {
    cairo_pattern_t* p = verticalGradient(y0, top, y1, bottom);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
}

void glow(cairo_t* cr, double cx, double cy, double r, Rgb c, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
    cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void useFont(cairo_t* cr, double size, bool serif) {
    cairo_set_font_face(cr, fontFace(serif));
    cairo_set_font_size(cr, size);
}

double textWidth(cairo_t* cr, const char* text) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    return e.x_advance;
}

void centredTextPath(cairo_t* cr, const char* text, double cx, double baseline) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    cairo_move_to(cr, cx - e.width / 2 - e.x_bearing, baseline);
    cairo_text_path(cr, text);
}

void displayText(cairo_t* cr, const char* text, double cx, double baseline, double size, Rgb top,
                 Rgb bottom, double outline) {
    useFont(cr, size);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

    cairo_new_path(cr);
    centredTextPath(cr, text, cx + outline * 0.5, baseline + outline * 0.8);
    setColor(cr, pal::INK, 0.55);
    cairo_set_line_width(cr, outline * 2);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);

    cairo_new_path(cr);
    centredTextPath(cr, text, cx, baseline);
    setColor(cr, pal::INK);
    cairo_set_line_width(cr, outline * 2);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* p = verticalGradient(baseline - fe.ascent * 0.75, top, baseline, bottom);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);

    // A gloss across the upper half of the letters.
    cairo_save(cr);
    cairo_clip(cr);
    cairo_rectangle(cr, cx - 1000, baseline - fe.ascent, 2000, fe.ascent * 0.42);
    setColor(cr, pal::WHITE, 0.28);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_new_path(cr);
}

void blockBody(cairo_t* cr, double x, double y, double s, Rgb base) {
    const double r = s * 0.16;
    cairo_new_path(cr);
    roundedRect(cr, x + 1, y + 1, s - 2, s - 2, r);
    fillVertical(cr, y, lighter(base, 0.22), y + s, darker(base, 0.18));
    setColor(cr, darker(base, 0.55));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);

    // Bevel: light along the top and left, shade along the bottom and right.
    cairo_set_line_width(cr, s * 0.06);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColor(cr, pal::WHITE, 0.45);
    cairo_move_to(cr, x + s * 0.14, y + s * 0.1);
    cairo_line_to(cr, x + s * 0.86, y + s * 0.1);
    cairo_move_to(cr, x + s * 0.1, y + s * 0.14);
    cairo_line_to(cr, x + s * 0.1, y + s * 0.86);
    cairo_stroke(cr);
    setColor(cr, darker(base, 0.5), 0.45);
    cairo_move_to(cr, x + s * 0.14, y + s * 0.9);
    cairo_line_to(cr, x + s * 0.86, y + s * 0.9);
    cairo_move_to(cr, x + s * 0.9, y + s * 0.14);
    cairo_line_to(cr, x + s * 0.9, y + s * 0.86);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}
