// The game's window, or the whole desktop: F11 and Alt+Enter switch between
// a window and a borderless full screen at the desktop's own resolution.
// The display's mode is never changed. Where a window manager takes
// _NET_WM_STATE_FULLSCREEN the toolkit asks it (glutFullScreen); where none
// does, as under a bare X server, the window itself is moved to the
// screen's corner and sized to the screen, and put back as it was after.
// The game-mode screen the game may open at start-up is full screen already:
// there these do nothing.
#pragma once

// Whether the player chose full screen (false until they do).
bool fullScreenChosen();
// Full screen on or off; the same choice again does nothing.
void setFullScreen(bool on);
// F11 and Alt+Enter.
void toggleFullScreen();
