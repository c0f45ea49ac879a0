#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

/// A loopback port that was free a moment ago and where nothing listens now (0 when none could be had).
inline int unusedLoopbackPort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    const bool ok = fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&addr), len) == 0 &&
                    getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0;
    if (fd >= 0) close(fd);
    return ok ? ntohs(addr.sin_port) : 0;
}

} // namespace testsupport
