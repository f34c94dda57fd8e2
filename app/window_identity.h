// How docks and task bars know the game's window: its class, which matches
// the menu entry (StartupWMClass=Tolvane), and its icon. Both act on the
// window of the current GL context, a plain window or the game-mode screen.
#pragma once

// WM_CLASS "tolvane", "Tolvane".
void nameGameWindow();

// _NET_WM_ICON from a picture the game can load. A missing, unreadable or
// oversized picture leaves the window without an icon and the game as it
// was; the only word on the console is the picture loader's own.
void setGameWindowIcon(const char* path);
