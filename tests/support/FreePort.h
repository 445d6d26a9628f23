#pragma once
// A TCP port on 127.0.0.1 that nobody listens on at the moment (0 when none
// could be found): for the single-instance guard and servers of a test.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <random>

namespace yorde::test {

inline bool LoopbackPortBindable(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    const bool ok = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    if (fd >= 0) ::close(fd);
    return ok;
}

// Picked below the kernel's range for outgoing connections (32768 on): a port
// the kernel handed out could go to a client socket of a test running beside
// before the caller binds it.
inline int FreeLoopbackPort() {
    thread_local std::mt19937 random(std::random_device{}() ^ static_cast<unsigned>(::getpid()));
    std::uniform_int_distribution<int> pick(20000, 32000);
    for (int attempt = 0; attempt < 200; ++attempt)
        if (const int port = pick(random); LoopbackPortBindable(port)) return port;
    return 0;
}

}  // namespace yorde::test
