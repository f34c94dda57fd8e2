// Runs the asset generator twice, into two fresh scratch directories, the
// first time a test asks; every asset test then looks at the first run and
// the determinism test compares the two.
#pragma once

#include "render/tga_image.h"

#include <string>
#include <vector>

struct GeneratedAssets {
    bool ok = false;
    std::string first;
    std::string second;
};

const GeneratedAssets& generatedAssets();

// Every file the game loads from its runtime directory, relative to it.
const std::vector<std::string>& gameAssetFiles();

// The desktop's icons: the generator writes them into the icons folder of
// each run's directory, and these are relative to that directory.
struct DesktopIcon {
    const char* path;
    int size;  // 0 for the scalable one
};
const std::vector<DesktopIcon>& desktopIcons();

std::vector<unsigned char> readWholeFile(const std::string& path);

// One decoded picture of the first run; fails the test when it cannot load.
TgaImage loadPicture(const std::string& relativePath);

struct Pixel {
    int r, g, b, a;
};
Pixel pixelAt(const TgaImage& image, int x, int y);
