/* A second window that takes the keyboard focus, as another program the
 * player turns to would: it opens a small window at X,Y, sets the input
 * focus on it once it is mapped, prints its id and holds on to it for
 * SECONDS before it closes. Usage: focus_thief SECONDS X Y */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: %s SECONDS X Y\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "no display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), atoi(argv[2]), atoi(argv[3]), 120,
                                        80, 0, BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, "focus thief");
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && event.xmap.window == window) break;
    }
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
    printf("0x%lx\n", (unsigned long)window);
    fflush(stdout);
    sleep((unsigned)atoi(argv[1]));
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return 0;
}
