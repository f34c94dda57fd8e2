// The keyboard focus of the game's window, asked of the X server a few times
// a second (the toolkit has no focus callback). Losing it, after having had
// it, calls the handler; see FocusWatch for what counts as losing it.
#pragma once

// Starts the watch over the window of the current GL context.
void watchWindowFocus(void (*onFocusLost)());
