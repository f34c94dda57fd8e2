// The one palette every picture of the game is painted from: a dusky
// storybook night with warm wood and cream, and seven jewel colours for the
// block kinds. A new picture takes its colours from here, nowhere else.
#pragma once

struct Rgb {
    double r, g, b;
};

constexpr Rgb hex(unsigned v) {
    return Rgb{((v >> 16) & 0xff) / 255.0, ((v >> 8) & 0xff) / 255.0, (v & 0xff) / 255.0};
}

// Blends a towards b by t (0 keeps a, 1 gives b).
constexpr Rgb mix(Rgb a, Rgb b, double t) {
    return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
constexpr Rgb lighter(Rgb c, double t) { return mix(c, Rgb{1, 1, 1}, t); }
constexpr Rgb darker(Rgb c, double t) { return mix(c, Rgb{0, 0, 0}, t); }

namespace pal {

// Outlines, night and stone.
constexpr Rgb INK = hex(0x231a33);
constexpr Rgb NIGHT = hex(0x1f2742);
constexpr Rgb DEEP = hex(0x2e3a59);
constexpr Rgb DUSK = hex(0x4b4a7a);
constexpr Rgb SLATE = hex(0x5c6b8a);
constexpr Rgb MIST = hex(0xa9b8cc);
constexpr Rgb CREAM = hex(0xfff3d6);
constexpr Rgb WHITE = hex(0xffffff);

// Wood for the panels and the dustbin.
constexpr Rgb WOOD_DARK = hex(0x4a2b18);
constexpr Rgb WOOD = hex(0x7e4e2e);
constexpr Rgb WOOD_LIGHT = hex(0xa86d42);
constexpr Rgb WOOD_HIGH = hex(0xd39a63);

// Gold for lettering and stars.
constexpr Rgb GOLD = hex(0xf5c542);
constexpr Rgb GOLD_DARK = hex(0xc9791b);

// The seven ordinary block kinds, then the special blocks.
constexpr Rgb ORANGE = hex(0xf08a24);
constexpr Rgb YELLOW = hex(0xf4d03f);
constexpr Rgb GREEN = hex(0x58b368);
constexpr Rgb TEAL = hex(0x2fb9b0);
constexpr Rgb BLUE = hex(0x3d7dd8);
constexpr Rgb PURPLE = hex(0x9b5de5);
constexpr Rgb PINK = hex(0xef6fa8);
constexpr Rgb RED = hex(0xd63a3a);
constexpr Rgb ROCK = hex(0x8a8f99);
constexpr Rgb TAR = hex(0x121015);

// Skin, hair and cheeks of the mascot.
constexpr Rgb SKIN = hex(0xffd9b8);
constexpr Rgb HAIR = hex(0x6b3f8a);
constexpr Rgb BLUSH = hex(0xf59aa0);

}  // namespace pal
