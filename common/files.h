// Opening the game's own files: pictures, level files and the profile. Only
// a regular file is ever read or written. A FIFO, a device or a folder at one
// of those paths would otherwise block the open, or the first read, for good
// and freeze the game before its first frame or on "Loading.... Please Wait";
// here it counts as a file that cannot be opened.
#pragma once

#include <cstdio>

// The file for reading, or null (errno set) when it is missing, unreadable
// or not a regular file. Never waits for a writer at the other end.
FILE* openRegularFile(const char* path);

// The file for writing, created when missing and emptied when it is there,
// or null (errno set) when it cannot be, or when the path holds anything but
// a regular file: nothing else is ever emptied or written to. Never waits
// for a reader at the other end. EACCES and EPERM keep their meaning, so a
// caller can still tell a folder that refuses new files.
FILE* createRegularFile(const char* path);
