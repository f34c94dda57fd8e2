// The game's pictures, one painter per file; each returns false only when
// the file could not be written.
#pragma once

#include <string>

bool writeTileset(const std::string& dataDir);
bool writeTitle(const std::string& dataDir);
bool writeWallpaper(const std::string& dataDir);
bool writeGui(const std::string& dataDir);
bool writeMascot(const std::string& dataDir);
bool writeMakerLogo(const std::string& dataDir);
bool writeWoodPanel(const std::string& dataDir);
bool writeLevelComplete(const std::string& dataDir);
bool writeSplash(const std::string& dataDir);
bool writeWorldBackgrounds(const std::string& dataDir);
// The window's icon, gfx/icon.tga, which the game hands to the task bar.
bool writeWindowIcon(const std::string& dataDir);

// Every picture above, in one go.
bool writeAllPictures(const std::string& dataDir);

// The icon for the desktop's menus and docks: iconDir/hicolor/NxN/apps/tolvane.png
// at every size a desktop asks for, and hicolor/scalable/apps/tolvane.svg.
bool writeIconTheme(const std::string& iconDir);
