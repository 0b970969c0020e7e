#include "platform/single_instance.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/paths.h"

namespace platform {
namespace {

int lockFd = -1;
int listenFd = -1;
std::string socketPath;
pid_t ownerPid = 0; // a forked child must not remove its parent's socket

bool MakeAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

bool SendWord(const std::string& path, std::int32_t message) {
    sockaddr_un address;
    if (!MakeAddress(path, address)) return false;
    // The first instance may be between taking the lock and listening: try for about a second.
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            const bool ok = ::write(fd, &message, sizeof message) == static_cast<ssize_t>(sizeof message);
            ::close(fd);
            return ok;
        }
        ::close(fd);
        ::usleep(50000);
    }
    return false;
}

} // namespace

InstanceClaim ClaimSingleInstance(const std::string& name, std::int32_t wakeMessage, bool* delivered) {
    if (delivered) *delivered = false;
    if (lockFd >= 0) return InstanceClaim::First;
    const std::string dir = RuntimeDirectory();
    if (dir.empty()) return InstanceClaim::Unknown;
    const std::string lockPath = JoinPath(dir, "qiva-" + name + ".lock");
    socketPath = JoinPath(dir, "qiva-" + name + ".sock");
    lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd < 0) return InstanceClaim::Unknown;
    if (::flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
        ::close(lockFd);
        lockFd = -1;
        if (errno != EWOULDBLOCK) return InstanceClaim::Unknown;
        const bool ok = SendWord(socketPath, wakeMessage);
        if (delivered) *delivered = ok;
        return InstanceClaim::Second;
    }
    // We hold the lock, so a socket file left by a crashed run is stale.
    ::unlink(socketPath.c_str());
    ownerPid = ::getpid();
    sockaddr_un address;
    listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const mode_t oldMask = ::umask(0077);
    const bool bound = listenFd >= 0 && MakeAddress(socketPath, address) &&
                       ::bind(listenFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                       ::listen(listenFd, 4) == 0;
    ::umask(oldMask);
    if (!bound && listenFd >= 0) {
        ::close(listenFd);
        listenFd = -1;
    }
    return InstanceClaim::First;
}

bool PollWakeUp(std::int32_t& message) {
    if (listenFd < 0) return false;
    const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return false;
    // The sender writes its word right after connecting; do not let a silent peer stall the pump.
    pollfd p{fd, POLLIN, 0};
    std::int32_t word = 0;
    const bool ok =
        ::poll(&p, 1, 200) == 1 && ::read(fd, &word, sizeof word) == static_cast<ssize_t>(sizeof word);
    ::close(fd);
    if (ok) message = word;
    return ok;
}

void ReleaseSingleInstance() {
    if (listenFd >= 0) {
        ::close(listenFd);
        listenFd = -1;
        if (ownerPid == ::getpid()) ::unlink(socketPath.c_str());
    }
    if (lockFd >= 0) {
        ::close(lockFd);
        lockFd = -1;
    }
}

} // namespace platform
