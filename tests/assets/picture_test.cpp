// The pictures as the game loads them: sizes, formats, where the tileset's
// frames sit, and the properties the screens rely on.
#include "generated_assets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

struct ExpectedPicture {
    const char* path;
    int width, height;
    bool shaped;  // has a real alpha channel: transparent around its shape
};

const ExpectedPicture PICTURES[] = {
    {"gfx/tilesets/classic.tga", 512, 32, true}, {"gfx/title.tga", 257, 103, true},
    {"gfx/frontend/bkg.tga", 32, 32, false},     {"gfx/frontend/gui.tga", 256, 64, true},
    {"gfx/frontend/manga.tga", 256, 448, true},  {"gfx/frontend/hvlogo.tga", 250, 125, true},
    {"gfx/frontend/woodbox.tga", 256, 256, true}, {"gfx/frontend/lvlcomp.tga", 240, 128, true},
    {"gfx/frontend/splash.tga", 512, 384, false}, {"gfx/bkgs/1.tga", 512, 384, false},
    {"gfx/bkgs/2.tga", 512, 384, false},          {"gfx/bkgs/3.tga", 512, 384, false},
    {"gfx/bkgs/4.tga", 512, 384, false},          {"gfx/bkgs/5.tga", 512, 384, false},
    {"gfx/bkgs/6.tga", 512, 384, false},          {"gfx/icon.tga", 64, 64, true},
};

constexpr int TILE = 32;

double luminance(const Pixel& p) { return 0.299 * p.r + 0.587 * p.g + 0.114 * p.b; }

// Average colour of the opaque pixels of a rectangle; with `saturatedOnly`
// only the coloured ones, leaving out pale symbols and dark outlines.
struct Mean {
    double r = 0, g = 0, b = 0;
    int count = 0;
};
Mean meanColour(const TgaImage& image, int x0, int y0, int w, int h, bool saturatedOnly = false) {
    Mean m;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const Pixel p = pixelAt(image, x, y);
            if (p.a < 250) continue;
            if (saturatedOnly && std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b}) < 60) continue;
            m.r += p.r, m.g += p.g, m.b += p.b, ++m.count;
        }
    if (m.count) m.r /= m.count, m.g /= m.count, m.b /= m.count;
    return m;
}

bool allOpaque(const TgaImage& image, int x0, int y0, int w, int h) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (pixelAt(image, x, y).a != 255) return false;
    return true;
}

bool allTransparent(const TgaImage& image, int x0, int y0, int w, int h) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (pixelAt(image, x, y).a != 0) return false;
    return true;
}

// Mean absolute difference between column (or row) a and column (or row) b.
double lineDifference(const TgaImage& image, int a, int b, bool columns) {
    const int n = columns ? image.height : image.width;
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        const Pixel p = columns ? pixelAt(image, a, i) : pixelAt(image, i, a);
        const Pixel q = columns ? pixelAt(image, b, i) : pixelAt(image, i, b);
        sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
    }
    return sum / n;
}

TEST(Pictures, EveryFileHasTheSizeTypeAndDepthTheLoaderTakes) {
    const GeneratedAssets& assets = generatedAssets();
    ASSERT_TRUE(assets.ok);
    for (const ExpectedPicture& expected : PICTURES) {
        SCOPED_TRACE(expected.path);
        const std::vector<unsigned char> file = readWholeFile(assets.first + "/" + expected.path);
        ASSERT_GE(file.size(), 18u);
        EXPECT_EQ(file[2], 2) << "uncompressed true colour";
        EXPECT_EQ(file[12] | (file[13] << 8), expected.width);
        EXPECT_EQ(file[14] | (file[15] << 8), expected.height);
        const int depth = file[16];
        EXPECT_EQ(depth, expected.shaped ? 32 : 24);
        EXPECT_EQ(file[17] & 0x0f, depth == 32 ? 8 : 0) << "alpha bits in the descriptor";
        EXPECT_EQ(file.size(), 18u + file[0] + static_cast<size_t>(expected.width) * expected.height * depth / 8);

        const TgaImage image = loadPicture(expected.path);
        ASSERT_EQ(image.width, expected.width);
        ASSERT_EQ(image.height, expected.height);
        if (expected.shaped) {
            // A real shape: some of it fully see-through, some fully solid.
            int clear = 0, solid = 0;
            for (size_t i = 3; i < image.pixels.size(); i += 4) clear += image.pixels[i] == 0, solid += image.pixels[i] == 255;
            EXPECT_GT(clear, 0);
            EXPECT_GT(solid, expected.width * expected.height / 10);
        }
    }
}

TEST(Pictures, RowsAreStoredInTheOrderTheDescriptorSays) {
    // The pointer's tip is at the top-left: if the row order were flipped it
    // would show at the bottom of the tile instead.
    const TgaImage tiles = loadPicture("gfx/tilesets/classic.tga");
    ASSERT_EQ(tiles.width, 512);
    const int left = 13 * TILE;
    EXPECT_GT(pixelAt(tiles, left + 1, 2).a, 200);
    EXPECT_EQ(pixelAt(tiles, left + 1, TILE - 1).a, 0);
}

TEST(Tileset, PointerIsAnArrowFromTheTopLeftWithNothingAroundIt) {
    const TgaImage tiles = loadPicture("gfx/tilesets/classic.tga");
    ASSERT_EQ(tiles.width, 512);
    const int left = 13 * TILE;  // frame 14
    EXPECT_GT(pixelAt(tiles, left, 0).a, 0) << "the tip is the tile's top-left pixel";
    EXPECT_EQ(pixelAt(tiles, left + 3, 10).a, 255) << "the arrow's body is solid";
    int outsideVisible = 0, arrowPixels = 0;
    for (int y = 0; y < TILE; ++y)
        for (int x = 0; x < TILE; ++x) {
            const int a = pixelAt(tiles, left + x, y).a;
            // Right of the arrow's upper edge, right of its widest point, or below its tail.
            const bool outside = x > y + 3 || x >= 17 || y >= 28;
            if (outside && a != 0) ++outsideVisible;
            if (a > 0) ++arrowPixels;
        }
    EXPECT_EQ(outsideVisible, 0);
    EXPECT_GT(arrowPixels, 120);
    EXPECT_LT(arrowPixels, 400);
}

TEST(Tileset, FramesSitInTheirOwnCells) {
    const TgaImage tiles = loadPicture("gfx/tilesets/classic.tga");
    ASSERT_EQ(tiles.width, 512);
    // Wall and floor fill their cells completely: they pave the board.
    EXPECT_TRUE(allOpaque(tiles, 1 * TILE, 0, TILE, TILE)) << "wall";
    EXPECT_TRUE(allOpaque(tiles, 2 * TILE, 0, TILE, TILE)) << "floor";
    // Every block, ordinary or special, is centred on its own cell.
    for (int frame = 4; frame <= 13; ++frame) {
        SCOPED_TRACE(frame);
        double sx = 0, sy = 0, weight = 0;
        for (int y = 0; y < TILE; ++y)
            for (int x = 0; x < TILE; ++x) {
                const double a = pixelAt(tiles, (frame - 1) * TILE + x, y).a;
                sx += a * x, sy += a * y, weight += a;
            }
        ASSERT_GT(weight, 0);
        EXPECT_NEAR(sx / weight, 15.5, 1.0);
        EXPECT_NEAR(sy / weight, 15.5, 1.0);
        EXPECT_EQ(pixelAt(tiles, (frame - 1) * TILE + 16, 16).a, 255);
    }
}

TEST(Tileset, FloorIsQuietAndDarkerThanTheBlocks) {
    const TgaImage tiles = loadPicture("gfx/tilesets/classic.tga");
    ASSERT_EQ(tiles.width, 512);
    double sum = 0, sumSq = 0;
    for (int y = 0; y < TILE; ++y)
        for (int x = 0; x < TILE; ++x) {
            const double l = luminance(pixelAt(tiles, 2 * TILE + x, y));
            sum += l, sumSq += l * l;
        }
    const double n = TILE * TILE, mean = sum / n;
    EXPECT_LT(std::sqrt(sumSq / n - mean * mean), 8.0) << "the floor must not draw the eye";
    for (int frame = 4; frame <= 11; ++frame) {
        const Mean m = meanColour(tiles, (frame - 1) * TILE, 0, TILE, TILE);
        EXPECT_GT(0.299 * m.r + 0.587 * m.g + 0.114 * m.b, mean + 40) << "frame " << frame;
    }
}

TEST(Tileset, OrdinaryKindsDifferInColourAndInShape) {
    const TgaImage tiles = loadPicture("gfx/tilesets/classic.tga");
    ASSERT_EQ(tiles.width, 512);
    // The symbol: the pale pixels in the middle of the block.
    std::vector<std::vector<bool>> symbols;
    std::vector<Mean> colours;
    for (int frame = 4; frame <= 10; ++frame) {
        std::vector<bool> mask;
        for (int y = 4; y < 28; ++y)
            for (int x = 4; x < 28; ++x) mask.push_back(luminance(pixelAt(tiles, (frame - 1) * TILE + x, y)) > 215);
        symbols.push_back(mask);
        colours.push_back(meanColour(tiles, (frame - 1) * TILE, 0, TILE, TILE, true));
    }
    for (size_t i = 0; i < symbols.size(); ++i)
        for (size_t j = i + 1; j < symbols.size(); ++j) {
            SCOPED_TRACE(testing::Message() << "kinds " << i + 4 << " and " << j + 4);
            int differ = 0;
            for (size_t k = 0; k < symbols[i].size(); ++k) differ += symbols[i][k] != symbols[j][k];
            EXPECT_GT(differ, 40) << "symbols too alike";
            const double d = std::fabs(colours[i].r - colours[j].r) + std::fabs(colours[i].g - colours[j].g) +
                             std::fabs(colours[i].b - colours[j].b);
            EXPECT_GT(d, 60) << "colours too alike";
        }
}

TEST(Tileset, LiftIsRedAndTheIckyBlockIsTarred) {
    const TgaImage tiles = loadPicture("gfx/tilesets/classic.tga");
    ASSERT_EQ(tiles.width, 512);
    const Mean lift = meanColour(tiles, 12 * TILE, 0, TILE, TILE);
    EXPECT_GT(lift.r, lift.g + 60);
    EXPECT_GT(lift.r, lift.b + 60);
    int black = 0;
    for (int y = 0; y < TILE; ++y)
        for (int x = 0; x < TILE; ++x) black += luminance(pixelAt(tiles, 11 * TILE + x, y)) < 40;
    EXPECT_GT(black, TILE * TILE / 3) << "at least a third of the Icky-Block is tar";
}

TEST(FrontEnd, ButtonStripHoldsALightButtonAndMarksThatLieOverIt) {
    const TgaImage gui = loadPicture("gfx/frontend/gui.tga");
    ASSERT_EQ(gui.width, 256);
    // The tinted button: light and neutral, so the tint gives its colour.
    const Mean button = meanColour(gui, 0, 0, 64, 64);
    EXPECT_GT(std::min({button.r, button.g, button.b}), 185);
    EXPECT_LT(std::max({button.r, button.g, button.b}) - std::min({button.r, button.g, button.b}), 25);
    // Every frame keeps to its own 64 x 64 cell with a clear margin.
    for (int frame = 0; frame < 4; ++frame) {
        SCOPED_TRACE(frame);
        EXPECT_TRUE(allTransparent(gui, frame * 64, 0, 64, 2));
        EXPECT_TRUE(allTransparent(gui, frame * 64, 63, 64, 1));
        EXPECT_TRUE(allTransparent(gui, frame * 64, 0, 2, 64));
        EXPECT_TRUE(allTransparent(gui, frame * 64 + 62, 0, 2, 64));
    }
    // The marks: transparent around them, green tick, red cross.
    EXPECT_TRUE(allTransparent(gui, 128, 0, 64, 6));
    EXPECT_TRUE(allTransparent(gui, 192, 0, 64, 6));
    const Mean tick = meanColour(gui, 128, 0, 64, 64, true);
    const Mean cross = meanColour(gui, 192, 0, 64, 64, true);
    EXPECT_GT(tick.g, tick.r + 30);
    EXPECT_GT(cross.r, cross.g + 60);
}

TEST(FrontEnd, WallpaperTileWrapsWithoutASeam) {
    const TgaImage tile = loadPicture("gfx/frontend/bkg.tga");
    ASSERT_EQ(tile.width, 32);
    for (bool columns : {true, false}) {
        SCOPED_TRACE(columns ? "left and right edges" : "top and bottom edges");
        double inside = 0;
        for (int i = 1; i < 32; ++i) inside = std::max(inside, lineDifference(tile, i - 1, i, columns));
        EXPECT_LE(lineDifference(tile, 31, 0, columns), inside);
    }
}

TEST(Worlds, SixBackgroundsThatDifferFromEachOther) {
    std::vector<TgaImage> worlds;
    for (int i = 1; i <= 6; ++i) worlds.push_back(loadPicture("gfx/bkgs/" + std::to_string(i) + ".tga"));
    for (size_t i = 0; i < worlds.size(); ++i) {
        ASSERT_EQ(worlds[i].pixels.size(), 512u * 384u * 4u);
        for (size_t j = i + 1; j < worlds.size(); ++j) {
            double sum = 0;
            for (size_t k = 0; k < worlds[i].pixels.size(); k += 4)
                for (int c = 0; c < 3; ++c) sum += std::abs(worlds[i].pixels[k + c] - worlds[j].pixels[k + c]);
            EXPECT_GT(sum / (512.0 * 384.0), 40) << "worlds " << i + 1 << " and " << j + 1;
        }
    }
}

TEST(Generator, WritesEveryFileAndTheSameBytesOnEveryRun) {
    const GeneratedAssets& assets = generatedAssets();
    ASSERT_TRUE(assets.ok);
    for (const std::string& file : gameAssetFiles()) {
        SCOPED_TRACE(file);
        const std::vector<unsigned char> a = readWholeFile(assets.first + "/" + file);
        const std::vector<unsigned char> b = readWholeFile(assets.second + "/" + file);
        EXPECT_FALSE(a.empty());
        EXPECT_TRUE(a == b);
    }
    for (const DesktopIcon& icon : desktopIcons()) {
        SCOPED_TRACE(icon.path);
        const std::vector<unsigned char> a = readWholeFile(assets.first + "/" + icon.path);
        const std::vector<unsigned char> b = readWholeFile(assets.second + "/" + icon.path);
        EXPECT_FALSE(a.empty());
        EXPECT_TRUE(a == b);
    }
}

}  // namespace
