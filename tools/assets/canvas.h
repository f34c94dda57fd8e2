// Shared drawing helpers over cairo for the game's pictures: a canvas that
// is written out as TGA, paths for the common shapes, gradients, lettering
// with a Debian font, and a seeded random source so every run paints the
// same pixels.
#pragma once

#include "palette.h"

#include <cairo.h>

#include <cstdint>
#include <string>

// A picture being painted; its pixels start fully transparent.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    cairo_surface_t* surface() const { return surface_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Writes an uncompressed TGA, top row first: 32 bits with the straight
    // (not premultiplied) alpha, or 24 bits for a picture with no shape.
    bool writeTga(const std::string& path, bool withAlpha) const;

private:
    int width_;
    int height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// A small xorshift generator: the grain, speckles and stars come from it.
class Random {
public:
    explicit Random(uint32_t seed) : state_(seed ? seed : 0x9e3779b9u) {}
    uint32_t next();
    double unit();                       // 0 <= value < 1
    double range(double lo, double hi);  // lo <= value < hi

private:
    uint32_t state_;
};

void setColor(cairo_t* cr, Rgb c, double alpha = 1.0);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void starPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double turn = 0);
void heartPath(cairo_t* cr, double cx, double cy, double size);
void polygonPath(cairo_t* cr, const double* xy, int points);

// A linear gradient from top colour to bottom colour between y0 and y1.
cairo_pattern_t* verticalGradient(double y0, Rgb top, double y1, Rgb bottom);
// Fills the current path with a top-to-bottom gradient and keeps the path.
void fillVertical(cairo_t* cr, double y0, Rgb top, double y1, Rgb bottom);
// A soft round glow of colour c fading out to nothing at radius r.
void glow(cairo_t* cr, double cx, double cy, double r, Rgb c, double alpha);

// Lettering in DejaVu Sans Bold (or Serif Bold when serif is set).
void useFont(cairo_t* cr, double size, bool serif = false);
// Adds the outline of text to the path, centred on cx with its baseline at y.
void centredTextPath(cairo_t* cr, const char* text, double cx, double baseline);
// Width of text in the current font.
double textWidth(cairo_t* cr, const char* text);
// Bold display lettering: a drop shadow, a thick ink outline, a gradient
// face and a thin glossy highlight, centred on cx.
void displayText(cairo_t* cr, const char* text, double cx, double baseline, double size, Rgb top,
                 Rgb bottom, double outline);

// The glossy bevelled block that every block sprite is built on.
void blockBody(cairo_t* cr, double x, double y, double size, Rgb base);
