// Developer tool: runs the renumbering from one file to another, for measuring and for trying
// the transform on real configurations without Windows.
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "base/error.h"
#include "scenery/renumber.h"

namespace {

// The Windows error numbers that the messages are keyed on.
std::uint32_t ToSystemError(int error) {
    switch (error) {
    case ENOENT:
        return 2;
    case ENAMETOOLONG:
    case EINVAL:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
        return 5;
    default:
        return static_cast<std::uint32_t>(error);
    }
}

class FdFile {
public:
    FdFile(const char* path, int flags) : fd_(::open(path, flags | O_CLOEXEC, 0644)) {
        if (fd_ < 0)
            RaiseIoError(ToSystemError(errno));
    }
    FdFile(const FdFile&) = delete;
    FdFile& operator=(const FdFile&) = delete;
    ~FdFile() { ::close(fd_); }
    int fd() const { return fd_; }

private:
    int fd_;
};

class FdSource : public ByteSource {
public:
    explicit FdSource(int fd) : fd_(fd) {}
    size_t Read(char* buffer, size_t capacity) override {
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, capacity);
            if (got >= 0)
                return static_cast<size_t>(got);
            if (errno != EINTR)
                RaiseIoError(ToSystemError(errno));
        }
    }

private:
    int fd_;
};

class FdSink : public ByteSink {
public:
    explicit FdSink(int fd) : fd_(fd) {}
    void Write(const char* data, size_t size) override {
        while (size > 0) {
            const ssize_t put = ::write(fd_, data, size);
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                RaiseIoError(ToSystemError(errno));
            }
            data += put;
            size -= static_cast<size_t>(put);
        }
    }

private:
    int fd_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: scenery-renumber SOURCE TARGET\n");
        return 2;
    }
    try {
        FdFile source(argv[1], O_RDONLY);
        FdFile target(argv[2], O_WRONLY | O_CREAT | O_TRUNC);
        FdSource in(source.fd());
        FdSink out(target.fd());
        RenumberAreas(in, out);
        if (::close(::dup(target.fd())) != 0) // surfaces delayed write errors, as on NFS
            RaiseIoError(ToSystemError(errno));
    } catch (const Error& error) {
        std::fprintf(stderr, "scenery-renumber: %s\n", error.what());
        return 1;
    }
    return 0;
}
