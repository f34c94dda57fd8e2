#include "frontend/menu.h"

#include "app/frame_timer.h"
#include "render/sprite_sheet.h"

void runMenuFrame() {
    sprites.beginFrame();
    drawMenu();
    frameTimer.isTickDue(tickClock);  // keeps the tick rhythm; the menu has no ticked state
    sprites.endFrame();
}

void drawMenu() {}
