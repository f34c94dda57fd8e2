// Opening the game's own files: pictures, level files and the profile. Only
// a regular file is ever read or written. A FIFO, a device or a folder at one
// of those paths would otherwise block the open, or the first read, for good
// and freeze the game before its first frame or on "Loading.... Please Wait";
// here it counts as a file that cannot be opened.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// The file for reading, or null (errno set) when it is missing, unreadable
// or not a regular file. Never waits for a writer at the other end.
FILE* openRegularFile(const char* path);

// The file for writing, created when missing and emptied when it is there,
// or null (errno set) when it cannot be, or when the path holds anything but
// a regular file: nothing else is ever emptied or written to. Never waits
// for a reader at the other end. EACCES and EPERM keep their meaning, so a
// caller can still tell a folder that refuses new files.
FILE* createRegularFile(const char* path);

// The whole of a small file into `text`: 0, or an errno when it is missing
// (ENOENT), cannot be read, is not a regular file, or holds more than
// `limit` bytes (EFBIG), which are never read in full.
int readSmallFile(const char* path, std::size_t limit, std::string& text);

// Puts `text` in place of the file at `path`, all or nothing: it is written
// beside it as PATH.new, flushed to the disk, and `commit` (a rename; a test
// may hand in one that fails or kills) moves it over the old file, so a
// crash, a kill or a full disk leaves the old file or the new one, never
// half of one. The new file is removed again when anything fails. In a
// folder that takes no new file the file itself is written in place, if it
// may be, as a plain write would. Answers whether the text is there.
bool replaceFile(const char* path, const std::string& text, int (*commit)(const char* from, const char* to));
