#include "common/files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

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

int readSmallFile(const char* path, std::size_t limit, std::string& text) {
    text.clear();
    FILE* file = openRegularFile(path);
    if (file == nullptr) return errno;
    char buffer[16384];
    std::size_t got = 0;
    while (text.size() <= limit && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return EIO;
    if (text.size() > limit) {
        text.clear();
        return EFBIG;
    }
    return 0;
}

namespace {

// The text down to the disk; the file is closed either way.
bool writeAndClose(FILE* file, const std::string& text) {
    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = std::fflush(file) == 0 && ok;
    ok = fsync(fileno(file)) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace

bool replaceFile(const char* path, const std::string& text, int (*commit)(const char* from, const char* to)) {
    const std::string temporary = std::string(path) + ".new";
    if (FILE* file = createRegularFile(temporary.c_str())) {
        const bool ok = writeAndClose(file, text) && commit(temporary.c_str(), path) == 0;
        if (!ok) std::remove(temporary.c_str());
        return ok;
    }
    if (errno != EACCES && errno != EPERM) return false;
    FILE* file = createRegularFile(path);
    return file != nullptr && writeAndClose(file, text);
}
