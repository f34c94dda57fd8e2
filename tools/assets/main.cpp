// Writes every picture and sound the game loads into its runtime directory,
// and with --icons the desktop's icons of the game into ICON_DIR/hicolor.
// Same input, same bytes: all randomness is seeded and nothing reads the
// clock.
//
//   tolvane_assets DATA_DIR [--icons ICON_DIR] [--fluidsynth PATH] [--soundfont PATH]
//                  [--lame PATH] [--pictures-only]
#include "pictures.h"
#include "sounds.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#ifndef TOLVANE_FLUIDSYNTH
#define TOLVANE_FLUIDSYNTH "fluidsynth"
#endif
#ifndef TOLVANE_SOUNDFONT
#define TOLVANE_SOUNDFONT "/usr/share/sounds/sf2/TimGM6mb.sf2"
#endif
#ifndef TOLVANE_LAME
#define TOLVANE_LAME "lame"
#endif

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: %s DATA_DIR [--icons ICON_DIR] [--fluidsynth PATH] [--soundfont PATH] [--lame PATH] "
                     "[--pictures-only]\n",
                     argv[0]);
        return 2;
    }
    const std::string dataDir = argv[1];
    SoundTools tools{TOLVANE_FLUIDSYNTH, TOLVANE_SOUNDFONT, TOLVANE_LAME, ""};
    bool picturesOnly = false;
    std::string iconDir;
    for (int i = 2; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--fluidsynth") && hasValue) tools.fluidsynth = argv[++i];
        else if (!std::strcmp(argv[i], "--soundfont") && hasValue) tools.soundfont = argv[++i];
        else if (!std::strcmp(argv[i], "--lame") && hasValue) tools.lame = argv[++i];
        else if (!std::strcmp(argv[i], "--icons") && hasValue) iconDir = argv[++i];
        else if (!std::strcmp(argv[i], "--pictures-only")) picturesOnly = true;
        else {
            std::fprintf(stderr, "unknown option %s\n", argv[i]);
            return 2;
        }
    }

    std::error_code error;
    for (const char* sub : {"gfx/tilesets", "gfx/frontend", "gfx/bkgs", "sound"}) {
        fs::create_directories(fs::path(dataDir) / sub, error);
        if (error) {
            std::fprintf(stderr, "cannot make %s/%s\n", dataDir.c_str(), sub);
            return 1;
        }
    }
    if (!writeAllPictures(dataDir)) {
        std::fprintf(stderr, "could not write the pictures into %s\n", dataDir.c_str());
        return 1;
    }
    if (!iconDir.empty() && !writeIconTheme(iconDir)) {
        std::fprintf(stderr, "could not write the icons into %s\n", iconDir.c_str());
        return 1;
    }
    if (picturesOnly) return 0;

    std::string scratch = (fs::temp_directory_path() / "tolvane-assets-XXXXXX").string();
    if (!mkdtemp(scratch.data())) {
        std::fprintf(stderr, "cannot make a scratch directory\n");
        return 1;
    }
    tools.workDir = scratch;
    const bool ok = writeEffects(dataDir, tools) && writeMusic(dataDir, tools);
    fs::remove_all(scratch, error);
    if (!ok) {
        std::fprintf(stderr, "could not write the sounds into %s\n", dataDir.c_str());
        return 1;
    }
    return 0;
}
