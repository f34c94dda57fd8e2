// The world table: names, descriptions, level files and backgrounds.
#pragma once

void fillWorldTable();
