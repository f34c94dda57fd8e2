// Program entry: the screen, the resources, the toolkit callbacks, and the
// toolkit's main loop for the rest of the run.
#include <GL/freeglut.h>

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
#include "app/shell.h"
#include "app/window_identity.h"
#include "common/files.h"
#include "frontend/replay_screen.h"
#include "render/sprite_sheet.h"

namespace {

void onReshape(int width, int height) {
    setWindowSize(width, height);
    fitFontToWindow(width, height);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (height <= 0) height = 1;
    if (width <= 0) width = 1;
    if (width > height) {
        const double aspect = static_cast<double>(width) / height;
        glFrustum(-10 * aspect, 10 * aspect, -10, 10, 10, 2000);
    } else {
        const double aspect = static_cast<double>(height) / width;
        glFrustum(-10, 10, -10 * aspect, 10 * aspect, 10, 2000);
    }
    glMatrixMode(GL_MODELVIEW);
}

// The space bar state for the splash is kept beside the Esc handling.
void onKeyDown(unsigned char key, int x, int y) {
    keyState.press(key);
    onKeyboard(key, x, y);
    glutPostRedisplay();
}

void onKeyUp(unsigned char key, int, int) { keyState.release(key); }

// Arrows and function keys come apart from the letters.
void onSpecialKeyDown(int key, int, int) {
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

void motion(int x, int y) {
    onMotion(x, y);
    glutPostRedisplay();
}

void passiveMotion(int x, int y) {
    onPassiveMotion(x, y);
    glutPostRedisplay();
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

    glutSetCursor(GLUT_CURSOR_NONE);
    setFramePacing(true);
    // scripts/measure asks the game what each screen cost it.
    frameStats.start(std::getenv("TOLVANE_FRAME_STATS"), systemStatsClocks());
    if (frameStats.active()) std::atexit(writeFrameStats);
    glutMainLoop();
    return 0;
}
