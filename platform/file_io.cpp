#include "platform/file_io.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

constexpr std::uint64_t kMegabyte = 1024 * 1024;

std::string Describe(int error) {
    switch (error) {
    case ENOENT:
        return "no such file";
    case EACCES:
        return "permission denied";
    case ENOTDIR:
        return "a folder on the way is a file";
    case ELOOP:
        return "too many symbolic links";
    default:
        return std::strerror(error);
    }
}

std::string NotAFile(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return "is a folder";
    if (S_ISBLK(st.st_mode)) return "is a block device";
    if (S_ISSOCK(st.st_mode)) return "is a socket";
    return "is not a file";
}

std::string LimitText(InputKind kind) {
    return std::to_string(InputLimit(kind) / kMegabyte) + " MB";
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

// Reads until the end or until `limit` bytes more than `contents` holds; false with errno on error.
bool ReadUpTo(int fd, std::string& contents, std::uint64_t limit) {
    char buffer[65536];
    while (contents.size() < limit) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(sizeof buffer, limit - contents.size()));
        const ssize_t n = ::read(fd, buffer, want);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        contents.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

std::string Directory(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links ends at (which need not exist), or empty when the chain loops.
std::string FinalTarget(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        char buffer[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer);
        if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buffer) return {};
        std::string target(buffer, static_cast<std::size_t>(n));
        path = target[0] == '/' ? target : Directory(path) + "/" + target;
    }
    return {};
}

bool WriteAll(int fd, std::string_view contents) {
    const char* p = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

mode_t Umask() {
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

} // namespace

std::uint64_t InputLimit(InputKind kind) {
    switch (kind) {
    case InputKind::ResourceFile:
        return 32 * kMegabyte; // 24-bit data offsets and the last block
    case InputKind::ResourceSource:
        return 16 * kMegabyte;
    case InputKind::Picture:
        return 64 * kMegabyte; // a 4096 x 4096 picture of 32-bit pixels
    case InputKind::Png:
        return 144 * kMegabyte; // 4096 x 4096 of 16-bit RGBA, stored uncompressed
    case InputKind::Wave:
        return 64 * kMegabyte;
    case InputKind::TrueType:
        return 64 * kMegabyte;
    case InputKind::Script:
        return 16 * kMegabyte;
    case InputKind::Settings:
        return 64 * kMegabyte; // refusing would lose the user's settings at the next write
    case InputKind::Text:
        return 16 * kMegabyte;
    }
    return 16 * kMegabyte;
}

const char* InputKindName(InputKind kind) {
    switch (kind) {
    case InputKind::ResourceFile:
        return "resource file";
    case InputKind::ResourceSource:
        return "resource source";
    case InputKind::Picture:
        return "picture";
    case InputKind::Png:
        return "PNG image";
    case InputKind::Wave:
        return "WAV sound";
    case InputKind::TrueType:
        return "TrueType face";
    case InputKind::Script:
        return "script";
    case InputKind::Settings:
        return "settings file";
    case InputKind::Text:
        return "text file";
    }
    return "file";
}

bool ReadInputFile(const std::string& path, InputKind kind, std::string& contents, std::string& error,
                   const HeadCheck& head) {
    contents.clear();
    error.clear();
    const auto fail = [&](const std::string& what) {
        contents.clear();
        contents.shrink_to_fit();
        error = (path.empty() ? std::string("(no name)") : path) + ": " + what;
        return false;
    };
    if (path.empty()) return fail("no such file");
    // Not blocking on a pipe without a writer; reads block again once it is open.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.Get() < 0) return fail(Describe(errno));
    ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) return fail(Describe(errno));
    const bool regular = S_ISREG(st.st_mode);
    if (!regular && !S_ISCHR(st.st_mode) && !S_ISFIFO(st.st_mode)) {
        return fail(NotAFile(st) + ", not a " + InputKindName(kind));
    }
    const std::uint64_t limit = InputLimit(kind);
    if (regular && static_cast<std::uint64_t>(st.st_size) > limit) {
        return fail("is " + std::to_string(st.st_size) + " bytes, more than a " + InputKindName(kind) +
                    " may have (" + LimitText(kind) + ")");
    }
    if (regular && head.check) {
        if (!ReadUpTo(fd.Get(), contents, head.size)) return fail("cannot be read: " + Describe(errno));
        const std::string problem =
            head.check({reinterpret_cast<const std::uint8_t*>(contents.data()), contents.size()},
                       static_cast<std::uint64_t>(st.st_size));
        if (!problem.empty()) return fail(problem);
    }
    if (regular) contents.reserve(static_cast<std::size_t>(st.st_size));
    if (!ReadUpTo(fd.Get(), contents, limit + 1)) return fail("cannot be read: " + Describe(errno));
    if (contents.size() > limit) {
        return fail(regular ? "grew beyond " + LimitText(kind) + " while being read"
                            : "does not end within " + LimitText(kind) + ", the most a " +
                                  InputKindName(kind) + " may have");
    }
    if (!regular && head.check) {
        const std::string problem = head.check(
            {reinterpret_cast<const std::uint8_t*>(contents.data()), std::min(contents.size(), head.size)},
            contents.size());
        if (!problem.empty()) return fail(problem);
    }
    return true;
}

bool ReadInputFile(const std::string& path, InputKind kind, std::vector<std::uint8_t>& contents,
                   std::string& error, const HeadCheck& head) {
    std::string text;
    const bool ok = ReadInputFile(path, kind, text, error, head);
    contents.assign(text.begin(), text.end());
    return ok;
}

std::string WriteOutputFile(const std::string& path, std::string_view contents, unsigned newFileMode) {
    const auto fail = [&](const std::string& what) {
        return (path.empty() ? "(no name)" : path) + ": " + what;
    };
    if (path.empty()) return fail("no file name");
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode)) return fail("is a folder");
        // A device, a pipe or standard output: there is nothing to rename over, so write in place.
        Descriptor fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
        if (fd.Get() < 0) return fail("cannot be written: " + Describe(errno));
        if (!WriteAll(fd.Get(), contents)) return fail("cannot be written: " + Describe(errno));
        if (::close(fd.Release()) != 0) return fail("cannot be written: " + Describe(errno));
        return {};
    }
    const std::string target = FinalTarget(path);
    if (target.empty()) return fail("too many symbolic links");
    const std::string folder = Directory(target);
    struct stat folderStat {};
    if (::stat(folder.c_str(), &folderStat) != 0 || !S_ISDIR(folderStat.st_mode))
        return fail("the folder " + folder + " does not exist");
    const bool replacing = ::stat(target.c_str(), &st) == 0;
    std::string temporary = target + ".XXXXXX";
    Descriptor fd(::mkstemp(temporary.data()));
    if (fd.Get() < 0) return fail("cannot be written: " + Describe(errno));
    bool ok = WriteAll(fd.Get(), contents);
    int problem = ok ? 0 : errno;
    ::fchmod(fd.Get(), replacing ? (st.st_mode & 07777) : (newFileMode & ~Umask() & 07777));
    if (ok && ::fsync(fd.Get()) != 0) {
        ok = false;
        problem = errno;
    }
    if (::close(fd.Release()) != 0 && ok) {
        ok = false;
        problem = errno;
    }
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        problem = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return fail("cannot be written: " + Describe(problem));
    }
    return {};
}

std::optional<FileStamp> StampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    const auto nanoseconds = [](const timespec& t) {
        return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
    };
    return FileStamp{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                     static_cast<std::uint64_t>(st.st_size), nanoseconds(st.st_mtim),
                     nanoseconds(st.st_ctim)};
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace platform
