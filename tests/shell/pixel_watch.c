/* Watches a region of a window with the wall clock beside it, far more
 * often and far more cheaply than photographs can: every 2 ms it reads the
 * region and, whenever it changed, prints the time (seconds since the epoch,
 * as `date +%s.%N` gives it), the brightest red, green and blue there, and a
 * hash of the region's pixels.
 * With --first-change last, it ends at the first change, having printed it,
 * and fails when none came in time.
 * Usage: pixel_watch WINDOW-ID X Y WIDTH HEIGHT SECONDS [--first-change] */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static int ignoreErrors(Display* display, XErrorEvent* error) {
    (void)display;
    (void)error;
    return 0;
}

static int channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long value = (pixel & mask) >> shift;
    const unsigned long top = mask >> shift;
    return (int)(value * 255 / top);
}

int main(int argc, char** argv) {
    const int firstChange = argc == 8 && strcmp(argv[7], "--first-change") == 0;
    if (argc != 7 && !firstChange) {
        fprintf(stderr, "usage: %s WINDOW-ID X Y WIDTH HEIGHT SECONDS [--first-change]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);  /* the window may go away while watched */
    const Window window = (Window)strtoul(argv[1], NULL, 0);
    const int x = atoi(argv[2]), y = atoi(argv[3]);
    const unsigned w = (unsigned)atoi(argv[4]), h = (unsigned)atoi(argv[5]);
    const double seconds = atof(argv[6]);

    struct timespec start, now;
    clock_gettime(CLOCK_MONOTONIC, &start);
    uint64_t last = 0;
    int first = 1;
    for (;;) {
        clock_gettime(CLOCK_MONOTONIC, &now);
        if ((now.tv_sec - start.tv_sec) + (now.tv_nsec - start.tv_nsec) * 1e-9 > seconds) break;
        XImage* image = XGetImage(display, window, x, y, w, h, AllPlanes, ZPixmap);
        struct timespec wall;
        clock_gettime(CLOCK_REALTIME, &wall);
        if (image != NULL) {
            uint64_t hash = 1469598103934665603ULL;
            int r = 0, g = 0, b = 0;
            for (unsigned row = 0; row < h; ++row)
                for (unsigned column = 0; column < w; ++column) {
                    const unsigned long p = XGetPixel(image, (int)column, (int)row);
                    hash = (hash ^ p) * 1099511628211ULL;
                    const int pr = channel(p, image->red_mask), pg = channel(p, image->green_mask),
                              pb = channel(p, image->blue_mask);
                    if (pr > r) r = pr;
                    if (pg > g) g = pg;
                    if (pb > b) b = pb;
                }
            XDestroyImage(image);
            if ((first && !firstChange) || (!first && hash != last)) {
                printf("%ld.%09ld %d %d %d %016llx\n", (long)wall.tv_sec, wall.tv_nsec, r, g, b,
                       (unsigned long long)hash);
                fflush(stdout);
                if (firstChange) {
                    XCloseDisplay(display);
                    return 0;
                }
            }
            first = 0;
            last = hash;
        }
        const struct timespec pause = {0, 2000000};
        nanosleep(&pause, NULL);
    }
    XCloseDisplay(display);
    return firstChange ? 1 : 0;
}
