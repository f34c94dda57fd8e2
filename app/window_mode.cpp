#include "app/window_mode.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

bool chosen = false;

// The window as it was before a full screen made by moving and sizing it.
struct Geometry {
    int x, y, width, height;
};
Geometry windowed{50, 50, 1024, 768};
bool madeByHand = false;

// A stale window id in a property must not end the program through Xlib's
// default error handler: the questions are asked with errors noted instead.
bool xErrorSeen = false;
int noteXError(Display*, XErrorEvent*) {
    xErrorSeen = true;
    return 0;
}

// The one WINDOW a property names, or None.
Window windowIn(Display* display, Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window named = None;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_WINDOW, &type, &format, &count, &after,
                           &data) == Success &&
        type == XA_WINDOW && format == 32 && count == 1 && data != nullptr)
        named = static_cast<Window>(reinterpret_cast<unsigned long*>(data)[0]);
    if (data != nullptr) XFree(data);
    return named;
}

// EWMH: a window manager that runs names a check window on the root and on
// that window itself, and lists the states it takes in _NET_SUPPORTED.
bool managerTakesFullScreen(Display* display) {
    const Window root = DefaultRootWindow(display);
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
    const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    xErrorSeen = false;
    XErrorHandler previous = XSetErrorHandler(noteXError);
    bool takes = false;
    const Window manager = windowIn(display, root, check);
    if (manager != None && windowIn(display, manager, check) == manager) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, root, supported, 0, 4096, False, XA_ATOM, &type, &format, &count, &after,
                               &data) == Success &&
            type == XA_ATOM && format == 32 && data != nullptr) {
            const unsigned long* atoms = reinterpret_cast<unsigned long*>(data);
            for (unsigned long i = 0; i < count; ++i)
                if (atoms[i] == fullScreen) takes = true;
        }
        if (data != nullptr) XFree(data);
    }
    XSync(display, False);
    XSetErrorHandler(previous);
    return takes && !xErrorSeen;
}

}  // namespace

bool fullScreenChosen() { return chosen; }

void setFullScreen(bool on) {
    if (on == chosen || glutGameModeGet(GLUT_GAME_MODE_ACTIVE)) return;
    chosen = on;
    if (on) {
        Display* display = glXGetCurrentDisplay();
        madeByHand = display == nullptr || !managerTakesFullScreen(display);
        if (!madeByHand) {
            glutFullScreen();
            return;
        }
        windowed = Geometry{glutGet(GLUT_WINDOW_X), glutGet(GLUT_WINDOW_Y), glutGet(GLUT_WINDOW_WIDTH),
                            glutGet(GLUT_WINDOW_HEIGHT)};
        glutPositionWindow(0, 0);
        glutReshapeWindow(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
        glutPopWindow();
    } else if (madeByHand) {
        glutPositionWindow(windowed.x, windowed.y);
        glutReshapeWindow(windowed.width, windowed.height);
    } else {
        glutLeaveFullScreen();
    }
}

void toggleFullScreen() { setFullScreen(!chosen); }
