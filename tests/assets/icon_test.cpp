// The game's icon as a desktop shows it: the theme's PNGs at their sizes,
// the window icon the game hands to the task bar, and the scalable icon as
// the desktop's own SVG renderer draws it.
#include "generated_assets.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A PNG as cairo reads it: premultiplied, one 32-bit word a pixel.
struct Png {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};

Png readPng(const std::string& path) {
    Png png;
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
        cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32) {
        png.width = cairo_image_surface_get_width(surface);
        png.height = cairo_image_surface_get_height(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        for (int y = 0; y < png.height; ++y) {
            const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
            png.pixels.insert(png.pixels.end(), row, row + png.width);
        }
    }
    cairo_surface_destroy(surface);
    return png;
}

int channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xff); }
int alphaOf(uint32_t pixel) { return channel(pixel, 24); }

// Hue in degrees of an unpremultiplied colour, or -1 for a grey one: a
// block's lit top and shaded bottom keep its hue.
double hueOf(int r, int g, int b) {
    const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
    if (hi < 80 || hi - lo < 0.35 * hi) return -1;
    const double d = hi - lo;
    double h = hi == r ? (g - b) / d : hi == g ? 2 + (b - r) / d : 4 + (r - g) / d;
    return h < 0 ? h * 60 + 360 : h * 60;
}

// The share of an icon's pixels within a few degrees of a block's hue,
// inside the gold rim (whose hue is near the yellow block's).
double shareOfHue(const Png& png, double hue) {
    const int inset = png.width / 10;
    int near = 0;
    for (int y = inset; y < png.height - inset; ++y)
        for (int x = inset; x < png.width - inset; ++x) {
            const uint32_t p = png.pixels[y * png.width + x];
            const double h = hueOf(channel(p, 16), channel(p, 8), channel(p, 0));
            near += alphaOf(p) == 255 && h >= 0 && std::abs(h - hue) < 7;
        }
    return static_cast<double>(near) / png.pixels.size();
}

unsigned bigEndian32(const std::vector<unsigned char>& bytes, size_t at) {
    return static_cast<unsigned>(bytes[at]) << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3];
}

std::string iconPath(int size) {
    for (const DesktopIcon& icon : desktopIcons())
        if (icon.size == size) return generatedAssets().first + "/" + icon.path;
    return std::string();
}

TEST(DesktopIcons, EachSizeIsAnRgbaPngOfThatSizeWithAShapeAndTheThreeBlocks) {
    ASSERT_TRUE(generatedAssets().ok);
    for (const DesktopIcon& icon : desktopIcons()) {
        if (icon.size == 0) continue;
        SCOPED_TRACE(icon.path);
        const std::vector<unsigned char> file = readWholeFile(generatedAssets().first + "/" + icon.path);
        ASSERT_GE(file.size(), 33u);
        EXPECT_EQ(std::string(file.begin() + 1, file.begin() + 4), "PNG");
        EXPECT_EQ(std::string(file.begin() + 12, file.begin() + 16), "IHDR");
        EXPECT_EQ(bigEndian32(file, 16), static_cast<unsigned>(icon.size));
        EXPECT_EQ(bigEndian32(file, 20), static_cast<unsigned>(icon.size));
        EXPECT_EQ(file[24], 8) << "bits a channel";
        EXPECT_EQ(file[25], 6) << "colour with alpha";

        const Png png = readPng(generatedAssets().first + "/" + icon.path);
        ASSERT_EQ(png.width, icon.size);
        ASSERT_EQ(png.height, icon.size);
        // A rounded plate: clear corners, a solid middle, most of it covered.
        const int last = icon.size - 1;
        for (int corner : {0, last, last * icon.size, last * icon.size + last})
            EXPECT_EQ(alphaOf(png.pixels[corner]), 0) << "corner " << corner;
        EXPECT_EQ(alphaOf(png.pixels[icon.size / 2 * icon.size + icon.size / 2]), 255);
        const long solid = std::count_if(png.pixels.begin(), png.pixels.end(), [](uint32_t p) { return alphaOf(p) == 255; });
        EXPECT_GT(solid, static_cast<long>(png.pixels.size() * 0.7));
        // The orange, teal and yellow blocks are there at every size, each a
        // good part of the picture, so even the smallest icon reads as blocks.
        EXPECT_GT(shareOfHue(png, hueOf(0xf0, 0x8a, 0x24)), 0.04) << "orange";
        EXPECT_GT(shareOfHue(png, hueOf(0x2f, 0xb9, 0xb0)), 0.04) << "teal";
        EXPECT_GT(shareOfHue(png, hueOf(0xf4, 0xd0, 0x3f)), 0.04) << "yellow";
    }
}

TEST(DesktopIcons, WindowIconIsTheThemesSixtyFourPixelIcon) {
    // The task bar shows the window's icon beside the menu's: the same picture.
    const TgaImage window = loadPicture("gfx/icon.tga");
    const Png theme = readPng(iconPath(64));
    ASSERT_EQ(window.width, 64);
    ASSERT_EQ(window.height, 64);
    ASSERT_EQ(theme.width, 64);
    int differing = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const Pixel p = pixelAt(window, x, y);
            const uint32_t q = theme.pixels[y * 64 + x];
            // Both files store straight colour; compare as painted, premultiplied.
            const int straight[4] = {p.a, p.r, p.g, p.b};
            for (int c = 0; c < 4; ++c) {
                const int painted = c == 0 ? p.a : (straight[c] * p.a + 127) / 255;
                differing += std::abs(painted - channel(q, 24 - 8 * c)) > 2;
            }
        }
    EXPECT_EQ(differing, 0);
}

TEST(DesktopIcons, ScalableIconIsAllVectorAndDrawsLikeTheLargest) {
    ASSERT_TRUE(generatedAssets().ok);
    const std::string svgPath = iconPath(0);
    const std::vector<unsigned char> file = readWholeFile(svgPath);
    const std::string svg(file.begin(), file.end());
    ASSERT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("width=\"256\" height=\"256\" viewBox=\"0 0 256 256\""), std::string::npos)
        << "a size in plain units, scaled by its view box";
    EXPECT_EQ(svg.find("<image"), std::string::npos) << "a picture inside it would blur when scaled";

    // Drawn by librsvg, which desktops use for SVG icons, at 256 pixels.
    const std::string drawn = generatedAssets().first + "/scalable-256.png";
    const std::string command = std::string("'") + TOLVANE_RSVG_CONVERT + "' -w 256 -h 256 -o '" + drawn + "' '" + svgPath + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << "rsvg-convert (librsvg2-bin) draws the scalable icon";
    const Png vector = readPng(drawn);
    const Png bitmap = readPng(iconPath(256));
    ASSERT_EQ(vector.width, 256);
    ASSERT_EQ(vector.height, 256);
    ASSERT_EQ(bitmap.pixels.size(), vector.pixels.size());
    int differing = 0;
    for (size_t i = 0; i < vector.pixels.size(); ++i)
        for (int shift = 0; shift < 32; shift += 8)
            if (std::abs(channel(vector.pixels[i], shift) - channel(bitmap.pixels[i], shift)) > 8) {
                ++differing;
                break;
            }
    EXPECT_LT(differing, 256 * 256 / 200) << "pixels that differ between the SVG and the 256-pixel PNG";
}

}  // namespace
