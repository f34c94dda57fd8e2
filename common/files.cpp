#include "common/files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The open itself is non-blocking, so a FIFO with nobody at its other end
// cannot hold the game; fstat on what was opened (not on the name, which
// could change in between) then decides. Anything but a regular file is
// closed again at once.
FILE* openChecked(const char* path, int flags, const char* mode) {
    if (path == nullptr) {
        errno = EINVAL;
        return nullptr;
    }
    const int fd = ::open(path, flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    struct stat info;
    if (fstat(fd, &info) != 0) {
        const int reason = errno;
        ::close(fd);
        errno = reason;
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return nullptr;
    }
    // A regular file never blocks anyway; the stream reads and writes as usual.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    // Emptied only now that it is known to be a regular file.
    if ((flags & O_ACCMODE) != O_RDONLY && ftruncate(fd, 0) != 0) {
        const int reason = errno;
        ::close(fd);
        errno = reason;
        return nullptr;
    }
    FILE* file = fdopen(fd, mode);
    if (file == nullptr) {
        const int reason = errno;
        ::close(fd);
        errno = reason;
    }
    return file;
}

}  // namespace

FILE* openRegularFile(const char* path) { return openChecked(path, O_RDONLY, "rb"); }

FILE* createRegularFile(const char* path) { return openChecked(path, O_WRONLY | O_CREAT, "wb"); }
