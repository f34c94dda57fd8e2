#include "app/window_identity.h"

#include "render/tga_image.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

namespace {

// The toolkit's window is the drawable of the current GL context.
struct GameWindow {
    Display* display;
    Window window;
};

GameWindow currentWindow() { return GameWindow{glXGetCurrentDisplay(), glXGetCurrentDrawable()}; }

// Xlib's default answer to a refused request is to end the program. Naming
// the window or giving it an icon is never worth that: the requests are
// made with errors noted instead, and waited for before the default comes
// back.
bool xErrorSeen = false;

int noteXError(Display*, XErrorEvent*) {
    xErrorSeen = true;
    return 0;
}

template <typename Requests>
bool withoutFatalErrors(Display* display, Requests requests) {
    xErrorSeen = false;
    XErrorHandler previous = XSetErrorHandler(noteXError);
    requests();
    XSync(display, False);
    XSetErrorHandler(previous);
    return !xErrorSeen;
}

// _NET_WM_ICON is a list of CARDINALs, which Xlib passes as longs: width,
// height, then each pixel as 0xAARRGGBB, top row first.
std::vector<long> iconCardinals(const TgaImage& image) {
    std::vector<long> cardinals;
    cardinals.reserve(2 + static_cast<size_t>(image.width) * image.height);
    cardinals.push_back(image.width);
    cardinals.push_back(image.height);
    const uint8_t* p = image.pixels.data();
    for (int32_t i = 0; i < image.width * image.height; ++i, p += image.channels) {
        const unsigned long r = p[0];
        const unsigned long g = image.channels == 4 ? p[1] : p[0];
        const unsigned long b = image.channels == 4 ? p[2] : p[0];
        const unsigned long a = image.channels == 4 ? p[3] : 0xff;
        cardinals.push_back(static_cast<long>(a << 24 | r << 16 | g << 8 | b));
    }
    return cardinals;
}

// The words one request may carry, less the property request's own six.
long largestPropertyWords(Display* display) {
    long words = XExtendedMaxRequestSize(display);
    if (words == 0) words = XMaxRequestSize(display);
    return words - 6;
}

}  // namespace

void nameGameWindow() {
    const GameWindow game = currentWindow();
    if (game.display == nullptr || game.window == None) return;
    char name[] = "tolvane";
    char className[] = "Tolvane";
    XClassHint hint;
    hint.res_name = name;
    hint.res_class = className;
    withoutFatalErrors(game.display, [&] { XSetClassHint(game.display, game.window, &hint); });
}

void setGameWindowIcon(const char* path) {
    const GameWindow game = currentWindow();
    if (game.display == nullptr || game.window == None) return;
    TgaImage image;
    if (decodeTgaFile(path, image) != TGA_OK || image.width <= 0 || image.height <= 0) return;
    // A picture too large for one request would be refused by the server.
    const long words = 2 + static_cast<long>(image.width) * image.height;
    if (words > largestPropertyWords(game.display)) return;
    const std::vector<long> cardinals = iconCardinals(image);
    const Atom netWmIcon = XInternAtom(game.display, "_NET_WM_ICON", False);
    withoutFatalErrors(game.display, [&] {
        XChangeProperty(game.display, game.window, netWmIcon, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(cardinals.data()), static_cast<int>(cardinals.size()));
    });
}
