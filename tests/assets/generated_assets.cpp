#include "generated_assets.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::string makeScratch() {
    std::string dir = (fs::temp_directory_path() / "tolvane-asset-test-XXXXXX").string();
    return mkdtemp(dir.data()) ? dir : std::string();
}

bool runGenerator(const std::string& dir) {
    const std::string command = std::string("'") + TOLVANE_ASSETS_TOOL + "' '" + dir + "' --icons '" + dir + "/icons'";
    return !dir.empty() && std::system(command.c_str()) == 0;
}

void removeScratch() {
    const GeneratedAssets& assets = generatedAssets();
    std::error_code ignored;
    if (!assets.first.empty()) fs::remove_all(assets.first, ignored);
    if (!assets.second.empty()) fs::remove_all(assets.second, ignored);
}

}  // namespace

const GeneratedAssets& generatedAssets() {
    static GeneratedAssets assets;
    static bool started = false;
    if (!started) {
        started = true;
        assets.first = makeScratch();
        assets.second = makeScratch();
        std::atexit(removeScratch);
        assets.ok = runGenerator(assets.first) && runGenerator(assets.second);
    }
    return assets;
}

const std::vector<std::string>& gameAssetFiles() {
    static const std::vector<std::string> files = {
        "gfx/tilesets/classic.tga", "gfx/title.tga",          "gfx/frontend/bkg.tga",    "gfx/frontend/gui.tga",
        "gfx/frontend/manga.tga",   "gfx/frontend/hvlogo.tga", "gfx/frontend/woodbox.tga", "gfx/frontend/lvlcomp.tga",
        "gfx/frontend/splash.tga",  "gfx/bkgs/1.tga",          "gfx/bkgs/2.tga",          "gfx/bkgs/3.tga",
        "gfx/bkgs/4.tga",           "gfx/bkgs/5.tga",          "gfx/bkgs/6.tga",          "sound/BLEEP.mp3",
        "sound/pop.wav",            "sound/timeup.wav",        "sound/restart.wav",       "sound/finish.wav",
        "sound/music.mp3",          "gfx/icon.tga",
    };
    return files;
}

const std::vector<DesktopIcon>& desktopIcons() {
    static const std::vector<DesktopIcon> icons = {
        {"icons/hicolor/32x32/apps/tolvane.png", 32},   {"icons/hicolor/48x48/apps/tolvane.png", 48},
        {"icons/hicolor/64x64/apps/tolvane.png", 64},   {"icons/hicolor/128x128/apps/tolvane.png", 128},
        {"icons/hicolor/256x256/apps/tolvane.png", 256}, {"icons/hicolor/scalable/apps/tolvane.svg", 0},
    };
    return icons;
}

std::vector<unsigned char> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TgaImage loadPicture(const std::string& relativePath) {
    TgaImage image;
    const GeneratedAssets& assets = generatedAssets();
    EXPECT_TRUE(assets.ok) << "the generator failed";
    EXPECT_EQ(decodeTgaFile((assets.first + "/" + relativePath).c_str(), image), TGA_OK) << relativePath;
    return image;
}

Pixel pixelAt(const TgaImage& image, int x, int y) {
    const unsigned char* p = image.pixels.data() + (static_cast<size_t>(y) * image.width + x) * 4;
    return Pixel{p[0], p[1], p[2], p[3]};
}
