// Program entry: the screen, the resources, the toolkit callbacks, and the
// toolkit's main loop for the rest of the run.
#include <GL/freeglut.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <string>

#include "app/frame_stats.h"
#include "app/frame_timer.h"
#include "app/input_state.h"
#include "app/key_state.h"
#include "app/picture_rect.h"
#include "app/shell.h"
#include "app/window_focus.h"
#include "app/window_identity.h"
#include "app/window_mode.h"
#include "common/files.h"
#include "frontend/play_screen.h"
#include "frontend/replay_screen.h"
#include "frontend/settings.h"
#include "render/sprite_sheet.h"

namespace {

// The window's size in pixels, as the latest reshape gave it.
int windowWidth = SCREEN_WIDTH;
int windowHeight = SCREEN_HEIGHT;

// The picture is drawn whole into its rectangle of the window, never
// stretched: the view is that rectangle, and the bars beside it stay black.
void onReshape(int width, int height) {
    if (width <= 0) width = 1;
    if (height <= 0) height = 1;
    windowWidth = width;
    windowHeight = height;
    setWindowSize(width, height);
    const PictureRect picture = pictureRect(width, height);
    fitFontToPicture(picture.width, picture.height);
    const PictureRect view = viewportOf(picture, height);
    glViewport(view.x, view.y, view.width, view.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = static_cast<double>(view.width) / view.height;
    glFrustum(-10 * aspect, 10 * aspect, -10, 10, 10, 2000);
    glMatrixMode(GL_MODELVIEW);
}

// The frame's clear at its start covers the whole window, bars too; only
// text, drawn in window pixels from where its line starts, can reach past
// the picture's edge. The bars are cleared again before the frame is shown.
void clearBars() {
    const PictureRect view = viewportOf(pictureRect(windowWidth, windowHeight), windowHeight);
    const int right = view.x + view.width, top = view.y + view.height;
    if (view.x == 0 && view.y == 0 && right == windowWidth && top == windowHeight) return;
    glPushAttrib(GL_SCISSOR_BIT | GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    const int bars[4][4] = {
        {0, 0, view.x, windowHeight},                         // left
        {right, 0, windowWidth - right, windowHeight},        // right
        {0, 0, windowWidth, view.y},                          // bottom
        {0, top, windowWidth, windowHeight - top},            // top
    };
    for (const auto& bar : bars) {
        if (bar[2] <= 0 || bar[3] <= 0) continue;
        glScissor(bar[0], bar[1], bar[2], bar[3]);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glPopAttrib();
}

// F11 or Alt+Enter: the window or the full screen, kept for the next
// start. A key held down repeats; a switch within half a second of the
// last is such a repeat, and is let go.
void switchFullScreen() {
    static auto last = std::chrono::steady_clock::time_point{};
    const auto now = std::chrono::steady_clock::now();
    if (now - last < std::chrono::milliseconds(500)) return;
    last = now;
    toggleFullScreen();
    if (playerSettings.fullScreen == fullScreenChosen()) return;
    playerSettings.fullScreen = fullScreenChosen();
    saveSettings();
}

// The space bar state for the splash is kept beside the Esc handling.
void onKeyDown(unsigned char key, int x, int y) {
    // Alt+Enter is no Enter for the game.
    if (key == '\r' && (glutGetModifiers() & GLUT_ACTIVE_ALT) != 0) {
        switchFullScreen();
        return;
    }
    keyState.press(key);
    onKeyboard(key, x, y);
    glutPostRedisplay();
}

void onKeyUp(unsigned char key, int, int) { keyState.release(key); }

// Arrows and function keys come apart from the letters.
void onSpecialKeyDown(int key, int, int) {
    if (key == GLUT_KEY_F11) switchFullScreen();
    keyState.press(specialKey(key));
    glutPostRedisplay();
}

void onSpecialKeyUp(int key, int, int) { keyState.release(specialKey(key)); }

// At most one delayed redraw is waiting at any time, so waking and idling
// again never adds a second chain of them.
bool redrawTimerPending = false;

void delayedRedisplay(int) {
    redrawTimerPending = false;
    glutPostRedisplay();
}

// The end of every frame: show it and ask for the next one, at once, or a
// little later while the menu sits idle.
void presentFrame() {
    clearBars();
    glutSwapBuffers();
    if (!displayIsIdle()) {
        glutPostRedisplay();
    } else if (!redrawTimerPending) {
        redrawTimerPending = true;
        glutTimerFunc(MENU_IDLE_REDRAW_MS, delayedRedisplay, 0);
    }
}

// Input wakes an idle menu at once.
void mouse(int button, int buttonState, int x, int y) {
    onMouse(button, buttonState, x, y);
    glutPostRedisplay();
}

// The game draws its own pointer, on the picture only: over a bar the
// desktop's pointer shows instead, so the player never loses it.
void showPointerOverBars(int x, int y) {
    static int shown = GLUT_CURSOR_NONE;
    const int wanted = onPicture(currentPicture(), x, y) ? GLUT_CURSOR_NONE : GLUT_CURSOR_LEFT_ARROW;
    if (wanted == shown) return;
    shown = wanted;
    glutSetCursor(wanted);
}

void motion(int x, int y) {
    onMotion(x, y);
    showPointerOverBars(x, y);
    glutPostRedisplay();
}

void passiveMotion(int x, int y) {
    onPassiveMotion(x, y);
    showPointerOverBars(x, y);
    glutPostRedisplay();
}

// A level in play pauses, as with P, when the window loses the keyboard
// focus or is hidden (minimised, or unmapped by other means).
void onFocusLost() {
    pausePlay(game);
    glutPostRedisplay();
}

void onWindowStatus(int status) {
    if (status == GLUT_HIDDEN) pausePlay(game);
}

// Closing the window ends the game the same way as Esc on the menu.
void onWindowClose() { std::exit(0); }

void writeFrameStats() { frameStats.write(); }

// `--replay FILE` anywhere on the command line: the replay is read, and its
// level file looked for, before any window opens, and the two words are
// taken off the line the toolkit sees. Answers false, having said why, when
// the replay cannot be shown.
bool takeReplayOption(int& argc, char** argv, Replay& replay, bool& wanted) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--replay") != 0) continue;
        wanted = true;
        if (i + 1 >= argc) {
            std::printf("usage: tolvane [--replay FILE]\n");
            return false;
        }
        std::string error;
        if (!readReplay(argv[i + 1], replay, error)) {
            std::printf("%s\n", error.c_str());
            return false;
        }
        const std::string levelFile = "levels/" + replay.levelFile;
        FILE* level = openRegularFile(levelFile.c_str());
        if (level == nullptr) {
            std::printf("%s: the level file %s cannot be read here\n", argv[i + 1], levelFile.c_str());
            return false;
        }
        std::fclose(level);
        for (int j = i + 2; j <= argc; ++j) argv[j - 2] = argv[j];
        argc -= 2;
        return true;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // A limit on file sizes must not end the game in the middle of a save:
    // the write past it fails instead, and the save says it could not be
    // made, keeping the old profile, as with a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    // A world start reads and decodes a picture in blocks of a megabyte or
    // so. The C library would raise the size it maps such blocks apart at
    // each one freed, and then keep later ones in its heap, whose pages stay
    // resident: some tens of megabytes over an evening's world starts. Kept
    // at its first value, a freed picture goes back to the system at once.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
    Replay replay;
    bool showReplay = false;
    if (!takeReplayOption(argc, argv, replay, showReplay)) return 2;
    findSettingsPath();
    loadSettings();
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);
    glutGameModeString("1024x768:32@75");
    if (glutGameModeGet(GLUT_GAME_MODE_POSSIBLE)) {
        glutEnterGameMode();
    } else {
        glutInitWindowSize(SCREEN_WIDTH, SCREEN_HEIGHT);
        glutInitWindowPosition(50, 50);
        glutCreateWindow("Tolvane");
    }
    // Named at once, so a dock matches the window to the game's menu entry
    // from its first appearance.
    nameGameWindow();
    sprites.presentFrame = presentFrame;
    loadResources();
    // Full screen once the window is up, as the player left it.
    if (playerSettings.fullScreen) setFullScreen(true);
    if (showReplay) {
        std::string error;
        if (!prepareReplay(game, replay, error)) {
            std::printf("%s\n", error.c_str());
            return 2;
        }
        changeState(STATE_REPLAY);
    }
    // The icon after the loading line: a missing icon's word from the
    // picture loader then follows the others instead of coming first.
    setGameWindowIcon("gfx/icon.tga");

    glutMouseFunc(mouse);
    glutMotionFunc(motion);
    glutPassiveMotionFunc(passiveMotion);
    glutDisplayFunc(onDisplay);
    glutReshapeFunc(onReshape);
    glutKeyboardFunc(onKeyDown);
    glutKeyboardUpFunc(onKeyUp);
    glutSpecialFunc(onSpecialKeyDown);
    glutSpecialUpFunc(onSpecialKeyUp);
    glutCloseFunc(onWindowClose);
    glutWindowStatusFunc(onWindowStatus);
    watchWindowFocus(onFocusLost);

    glutSetCursor(GLUT_CURSOR_NONE);
    setFramePacing(true);
    // scripts/measure asks the game what each screen cost it.
    frameStats.start(std::getenv("TOLVANE_FRAME_STATS"), systemStatsClocks());
    if (frameStats.active()) std::atexit(writeFrameStats);
    glutMainLoop();
    return 0;
}
