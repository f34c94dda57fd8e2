// The level-select menu.
#pragma once

void runMenuFrame();
void drawMenu();
