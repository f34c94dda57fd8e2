#include <GL/osmesa.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "offscreen.h"
#include "render/bitmap_font.h"
#include "render/sprite_sheet.h"
#include "render/tga_image.h"
#include "tga_test_files.h"

namespace offscreen {

namespace {

// Static storage, so the buffer outlives the font, whose lists are deleted
// at exit while the context is still current.
uint8_t colourBuffer[SCREEN_WIDTH * SCREEN_HEIGHT * 4];

class Screen : public testing::Environment {
public:
    void SetUp() override {
        context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
        ASSERT_NE(context, nullptr);
        ASSERT_TRUE(OSMesaMakeCurrent(context, colourBuffer, GL_UNSIGNED_BYTE, SCREEN_WIDTH,
                                      SCREEN_HEIGHT));
        glViewport(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
        // Start-up's order: the font, then the fixed state.
        font.setHeight(22);
        font.buildFont(GAME_FACE);
        font.setStyleFlags(1);
        sprites.initGraphics();
    }

private:
    OSMesaContext context = nullptr;
};

testing::Environment* const screen = testing::AddGlobalTestEnvironment(new Screen);

}  // namespace

std::vector<uint8_t> readScreen() {
    std::vector<uint8_t> pixels(static_cast<size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

Rgba pixelAt(const std::vector<uint8_t>& screen, int x, int y) {
    const uint8_t* p = &screen[(static_cast<size_t>(y) * SCREEN_WIDTH + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void beginFrameOn(float r, float g, float b) {
    glClearColor(r, g, b, 1.0f);
    sprites.beginFrame();
}

int32_t loadPicture(const std::string& name, int w, int h, const std::vector<uint8_t>& rgba, bool topRowFirst) {
    const std::string path = tga_test::scratchDir() + "/" + name;
    tga_test::writeFile(path, tga_test::encodeRgba(w, h, rgba, 32, topRowFirst));
    return loadTga(path.c_str());
}

}  // namespace offscreen
