// The picture decoder against files written by ImageMagick: every kind the
// game may ship decodes to exactly the pixels ImageMagick reads back from
// the same file, and the kinds the game refuses are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "render/tga_image.h"
#include "tga_test_files.h"

namespace {

using tga_test::readFile;
using tga_test::scratchDir;
using tga_test::writeFile;

// An odd width, so a row is never a multiple of four bytes.
constexpr int PICTURE_W = 13;
constexpr int PICTURE_H = 7;

bool haveConvert() {
    const std::string probe = std::string(IMAGEMAGICK_CONVERT) + " -version >/dev/null 2>&1";
    return std::system(probe.c_str()) == 0;
}

std::vector<uint8_t> commandOutput(const std::string& command) {
    std::vector<uint8_t> out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return out;
    int c;
    while ((c = std::fgetc(p)) != EOF) out.push_back(static_cast<uint8_t>(c));
    pclose(p);
    return out;
}

class ImageMagickFiles : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!haveConvert()) return;
        // The source: a portable arbitrary map with noise in all four
        // channels, some pixels fully transparent.
        std::string pam = "P7\nWIDTH " + std::to_string(PICTURE_W) + "\nHEIGHT " + std::to_string(PICTURE_H) +
                          "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
        std::vector<uint8_t> bytes(pam.begin(), pam.end());
        for (int i = 0; i < PICTURE_W * PICTURE_H * 4; ++i) {
            uint8_t v = tga_test::noise(static_cast<uint32_t>(i));
            if (i % 4 == 3 && (i / 4) % 5 == 0) v = 0;
            bytes.push_back(v);
        }
        writeFile(path("source.pam"), bytes);
    }

    static std::string path(const std::string& name) { return scratchDir() + "/" + name; }

    void SetUp() override {
        if (!haveConvert()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    }

    static std::string convert(const std::string& options, const std::string& name) {
        const std::string command = std::string(IMAGEMAGICK_CONVERT) + " " + path("source.pam") + " " +
                                    options + " " + path(name) + " 2>/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return path(name);
    }

    // What ImageMagick itself reads from a file, top row first. It keeps a
    // file's row order as a tag on the picture; -auto-orient applies it.
    static std::vector<uint8_t> reference(const std::string& file, bool grey) {
        return commandOutput(std::string(IMAGEMAGICK_CONVERT) + " " + file + " -auto-orient -depth 8 " +
                             (grey ? "gray:-" : "rgba:-"));
    }
};

struct Kind {
    const char* name;
    const char* options;
    uint8_t type, depth;
    bool topRowFirst, grey, withId;
};

TEST_F(ImageMagickFiles, EveryAcceptedKindDecodesToImageMagicksPixels) {
    const Kind kinds[] = {
        {"rgb_bottom.tga", "-alpha off -type TrueColor", 2, 24, false, false, false},
        {"rgb_top.tga", "-alpha off -type TrueColor -orient TopLeft", 2, 24, true, false, false},
        {"rgba_bottom.tga", "-type TrueColorAlpha", 2, 32, false, false, false},
        {"rgba_top.tga", "-type TrueColorAlpha -orient TopLeft", 2, 32, true, false, false},
        {"grey_bottom.tga", "-alpha off -colorspace Gray", 3, 8, false, true, false},
        {"grey_top.tga", "-alpha off -colorspace Gray -orient TopLeft", 3, 8, true, true, false},
        {"rgb_id.tga", "-alpha off -type TrueColor -set comment Tolvane-title-picture", 2, 24, false, false, true},
        {"grey_id.tga", "-alpha off -colorspace Gray -orient TopLeft -set comment A-grey-one", 3, 8, true, true,
         true},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.name);
        const std::string file = convert(k.options, k.name);
        const std::vector<uint8_t> bytes = readFile(file);
        ASSERT_GE(bytes.size(), 18u);
        // The file really is of the kind this case is about.
        EXPECT_EQ(bytes[2], k.type);
        EXPECT_EQ(bytes[16], k.depth);
        EXPECT_EQ((bytes[17] & 0x20) != 0, k.topRowFirst);
        EXPECT_EQ(bytes[0] != 0, k.withId);

        TgaImage image;
        ASSERT_EQ(decodeTgaFile(file.c_str(), image), TGA_OK);
        EXPECT_EQ(image.width, PICTURE_W);
        EXPECT_EQ(image.height, PICTURE_H);
        EXPECT_EQ(image.channels, k.grey ? 1 : 4);
        const std::vector<uint8_t> expected = reference(file, k.grey);
        ASSERT_EQ(expected.size(), static_cast<size_t>(PICTURE_W * PICTURE_H * (k.grey ? 1 : 4)));
        EXPECT_EQ(image.pixels, expected);
        if (k.depth == 24) {
            for (size_t i = 3; i < image.pixels.size(); i += 4) ASSERT_EQ(image.pixels[i], 255) << i;
        }
    }
}

TEST_F(ImageMagickFiles, TheRowOrderBitTurnsThePictureUpsideDown) {
    // ImageMagick stores the same bytes under either row order, so the two
    // files are the same rows read from opposite ends.
    TgaImage bottom, top;
    const std::string b = convert("-type TrueColorAlpha", "order_b.tga");
    const std::string t = convert("-type TrueColorAlpha -orient TopLeft", "order_t.tga");
    const std::vector<uint8_t> bBytes = readFile(b), tBytes = readFile(t);
    ASSERT_GT(bBytes.size(), 18u);
    ASSERT_EQ(std::vector<uint8_t>(bBytes.begin() + 18, bBytes.end()),
              std::vector<uint8_t>(tBytes.begin() + 18, tBytes.end()));
    ASSERT_EQ(decodeTgaFile(b.c_str(), bottom), TGA_OK);
    ASSERT_EQ(decodeTgaFile(t.c_str(), top), TGA_OK);
    const size_t row = PICTURE_W * 4;
    for (int r = 0; r < PICTURE_H; ++r)
        EXPECT_TRUE(std::equal(top.pixels.begin() + static_cast<long>(r * row),
                               top.pixels.begin() + static_cast<long>((r + 1) * row),
                               bottom.pixels.begin() + static_cast<long>((PICTURE_H - 1 - r) * row)))
            << "row " << r;
    // The source's alpha survives, transparent pixels included.
    EXPECT_EQ(top.pixels[3], 0);
    EXPECT_EQ(top.pixels[7], tga_test::noise(7));
}

TEST_F(ImageMagickFiles, ColourMapBeforeThePixelsIsSkipped) {
    // ImageMagick writes no map with a grey picture, so one is spliced in:
    // five 24-bit entries between the ID field and the pixels.
    const std::string file = convert("-alpha off -colorspace Gray -set comment abc", "mapped_src.tga");
    std::vector<uint8_t> bytes = readFile(file);
    ASSERT_GT(bytes.size(), 21u);
    const size_t pixelStart = 18 + bytes[0];
    bytes[1] = 1;
    bytes[5] = 5;
    bytes[6] = 0;
    bytes[7] = 24;
    bytes.insert(bytes.begin() + static_cast<long>(pixelStart), 15, 0xAB);
    TgaImage image;
    ASSERT_EQ(decodeTga(bytes.data(), bytes.size(), image), TGA_OK);
    EXPECT_EQ(image.pixels, reference(file, true));
}

TEST_F(ImageMagickFiles, CompressedAndColourMappedFilesAreRefusedSilently) {
    const std::pair<const char*, const char*> refused[] = {
        {"rle_rgb.tga", "-alpha off -type TrueColor -compress RLE"},
        {"rle_rgba.tga", "-type TrueColorAlpha -compress RLE"},
        {"rle_grey.tga", "-alpha off -colorspace Gray -compress RLE"},
        {"palette.tga", "-alpha off -type Palette"},
    };
    for (const auto& [name, options] : refused) {
        SCOPED_TRACE(name);
        const std::string file = convert(options, name);
        const std::vector<uint8_t> bytes = readFile(file);
        ASSERT_GE(bytes.size(), 18u);
        EXPECT_TRUE(bytes[2] == 1 || bytes[2] >= 9) << "type " << int(bytes[2]);
        TgaImage image;
        testing::internal::CaptureStdout();
        EXPECT_EQ(decodeTgaFile(file.c_str(), image), TGA_REFUSED);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_TRUE(image.pixels.empty());
    }
}

// [SECTION] Damaged and hostile files

std::vector<uint8_t> smallRgbFile() {
    std::vector<uint8_t> rgba(4 * 3 * 4);
    for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<uint8_t>(i * 7);
    return tga_test::encodeRgba(4, 3, rgba, 24, false);
}

TEST(TgaDecoder, TwoByTwoBottomRowFirstSwapsRedAndBlue) {
    // Stored bottom row first: blue, green, red.
    std::vector<uint8_t> f = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 0,
                              1, 2, 3, 4, 5, 6,  // bottom row
                              7, 8, 9, 10, 11, 12};  // top row
    TgaImage image;
    ASSERT_EQ(decodeTga(f.data(), f.size(), image), TGA_OK);
    const std::vector<uint8_t> expected = {9, 8, 7, 255, 12, 11, 10, 255, 3, 2, 1, 255, 6, 5, 4, 255};
    EXPECT_EQ(image.pixels, expected);
    // The same picture stored top row first.
    const std::vector<uint8_t> top = tga_test::encodeRgba(2, 2, expected, 24, true);
    ASSERT_EQ(top[17], 0x20);
    TgaImage again;
    ASSERT_EQ(decodeTga(top.data(), top.size(), again), TGA_OK);
    EXPECT_EQ(again.pixels, expected);
}

TEST(TgaDecoder, FilesPromisingMoreThanTheyHoldAreRefused) {
    const std::vector<uint8_t> good = smallRgbFile();
    TgaImage image;
    ASSERT_EQ(decodeTga(good.data(), good.size(), image), TGA_OK);
    // Every cut, from no header at all to one byte short of the last pixel.
    for (size_t size = 0; size < good.size(); ++size) {
        EXPECT_EQ(decodeTga(good.data(), size, image), TGA_REFUSED) << size;
        EXPECT_TRUE(image.pixels.empty());
    }
    // An ID field or colour map that runs past the end of the file.
    std::vector<uint8_t> f = good;
    f[0] = 255;
    EXPECT_EQ(decodeTga(f.data(), f.size(), image), TGA_REFUSED);
    f = good;
    f[5] = 0xFF;
    f[6] = 0xFF;
    f[7] = 32;
    EXPECT_EQ(decodeTga(f.data(), f.size(), image), TGA_REFUSED);
    // Bytes after the pixels are never looked at.
    f = good;
    f.resize(f.size() + 40, 0xEE);
    EXPECT_EQ(decodeTga(f.data(), f.size(), image), TGA_OK);
}

TEST(TgaDecoder, SizesAndDepthsOutsideTheGamesKindsAreRefused) {
    struct Case {
        const char* what;
        int offset;
        uint8_t value;
    };
    const Case cases[] = {
        {"width 0", 12, 0},        {"height 0", 14, 0},         {"type 1", 2, 1},
        {"type 10", 2, 10},        {"type 0", 2, 0},            {"true colour of 16 bits", 16, 16},
        {"true colour of 8 bits", 16, 8}, {"true colour of 0 bits", 16, 0},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> f = smallRgbFile();
        f[c.offset] = c.value;
        TgaImage image;
        EXPECT_EQ(decodeTga(f.data(), f.size(), image), TGA_REFUSED) << c.what;
    }
    // Grey pictures hold one byte per pixel and nothing else.
    for (uint8_t depth : {16, 24, 32}) {
        std::vector<uint8_t> f = smallRgbFile();
        f[2] = 3;
        f[16] = depth;
        TgaImage image;
        EXPECT_EQ(decodeTga(f.data(), f.size(), image), TGA_REFUSED) << int(depth);
    }
    // A side over 8192 is refused even when the file holds all it promises.
    for (const auto& [w, h] : {std::pair{8193, 1}, std::pair{1, 8193}, std::pair{65535, 1}}) {
        std::vector<uint8_t> f(18, 0);
        f[2] = 3;
        f[16] = 8;
        f[12] = static_cast<uint8_t>(w);
        f[13] = static_cast<uint8_t>(w >> 8);
        f[14] = static_cast<uint8_t>(h);
        f[15] = static_cast<uint8_t>(h >> 8);
        f.resize(18 + static_cast<size_t>(w) * h, 7);
        TgaImage image;
        EXPECT_EQ(decodeTga(f.data(), f.size(), image), TGA_REFUSED) << w << "x" << h;
    }
    // 8192 itself is still a picture.
    std::vector<uint8_t> f(18, 0);
    f[2] = 3;
    f[16] = 8;
    f[13] = 0x20;  // 8192 wide
    f[14] = 1;
    f.resize(18 + 8192, 9);
    TgaImage image;
    EXPECT_EQ(decodeTga(f.data(), f.size(), image), TGA_OK);
}

TEST(TgaDecoder, OnlyAMissingFileIsReportedOnTheConsole) {
    const std::string missing = scratchDir() + "/no/such/picture.tga";
    TgaImage image;
    testing::internal::CaptureStdout();
    EXPECT_EQ(decodeTgaFile(missing.c_str(), image), TGA_CANNOT_OPEN);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "unable to open file " + missing + "\n");

    const std::string empty = scratchDir() + "/empty.tga";
    writeFile(empty, {});
    testing::internal::CaptureStdout();
    EXPECT_EQ(decodeTgaFile(empty.c_str(), image), TGA_REFUSED);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

// [SECTION] Mipmap levels

TEST(MipmapLevels, EachLevelHalvesTheSidesAndAveragesItsBlock) {
    TgaImage grey;
    grey.width = 4;
    grey.height = 2;
    grey.channels = 1;
    grey.pixels = {0, 10, 100, 200, 20, 30, 50, 51};
    TgaImage half = halveTgaImage(grey);
    EXPECT_EQ(half.width, 2);
    EXPECT_EQ(half.height, 1);
    EXPECT_EQ(half.pixels, (std::vector<uint8_t>{15, 100}));  // 60/4 and 401/4 rounded

    // An odd side folds its last column into the last block: 3 by 1 to 1 by 1.
    TgaImage odd;
    odd.width = 3;
    odd.height = 1;
    odd.channels = 4;
    odd.pixels = {0, 0, 0, 255, 30, 60, 90, 255, 60, 120, 180, 0};
    half = halveTgaImage(odd);
    EXPECT_EQ(half.width, 1);
    EXPECT_EQ(half.height, 1);
    EXPECT_EQ(half.pixels, (std::vector<uint8_t>{30, 60, 90, 170}));

    // A 257 by 103 title goes down to 1 by 1 in eight steps, never to a 0 side.
    TgaImage title;
    title.width = 257;
    title.height = 103;
    title.channels = 4;
    title.pixels.assign(257 * 103 * 4, 200);
    int steps = 0;
    const int expectedW[] = {128, 64, 32, 16, 8, 4, 2, 1};
    const int expectedH[] = {51, 25, 12, 6, 3, 1, 1, 1};
    while (title.width > 1 || title.height > 1) {
        title = halveTgaImage(title);
        ASSERT_LT(steps, 8);
        EXPECT_EQ(title.width, expectedW[steps]);
        EXPECT_EQ(title.height, expectedH[steps]);
        EXPECT_EQ(title.pixels.size(), static_cast<size_t>(title.width * title.height * 4));
        EXPECT_EQ(title.pixels.front(), 200);
        ++steps;
    }
    EXPECT_EQ(steps, 8);
}

}  // namespace
