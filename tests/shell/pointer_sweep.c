/* Moves the pointer over a window for a while, one small step every 10 ms,
 * from a single process: a player's moving hand, without the cost of
 * starting a program for every step taking processor time from the game
 * being measured.
 * Usage: pointer_sweep WINDOW-ID LEFT TOP WIDTH HEIGHT SECONDS */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

int main(int argc, char** argv) {
    if (argc != 7) {
        fprintf(stderr, "usage: %s WINDOW-ID LEFT TOP WIDTH HEIGHT SECONDS\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "pointer_sweep: no display\n");
        return 1;
    }
    const Window window = (Window)strtoul(argv[1], NULL, 0);
    const int left = atoi(argv[2]), top = atoi(argv[3]), width = atoi(argv[4]), height = atoi(argv[5]);
    const double seconds = atof(argv[6]);
    if (width < 1 || height < 1) return 2;
    const struct timespec step = {0, 10 * 1000 * 1000};
    const long steps = (long)(seconds * 100);
    for (long i = 0; i < steps; ++i) {
        /* Back and forth across the region, a little lower each sweep. */
        const long across = (i * 7) % (2 * width);
        const int x = left + (int)(across < width ? across : 2 * width - 1 - across);
        const int y = top + (int)((i / 20) % height);
        XWarpPointer(display, None, window, 0, 0, 0, 0, x, y);
        XFlush(display);
        nanosleep(&step, NULL);
    }
    XCloseDisplay(display);
    return 0;
}
