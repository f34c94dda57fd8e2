// The play screen: background, board, blocks and trails, the side panel
// with the problem number, the blocks still to clear and the score, the
// dustbin, the lesson panel of the tutorial world and the pointer.
#pragma once

void drawPlayScreen();
void drawTutorialPanel();
