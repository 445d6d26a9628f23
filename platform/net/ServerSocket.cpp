#include "ServerSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <cerrno>
#include <cstring>
#include <string>

YORDE_IMPLEMENT_CLASS(TServerSocket, [](TClassBuilder<TServerSocket>& c) {
    c.Property("Active", &TServerSocket::Active, &TServerSocket::SetActive);
    c.Property("Port", &TServerSocket::Port, &TServerSocket::SetPort).Default(0);
})

TServerSocket::TServerSocket(TComponent* AOwner) : TComponent(AOwner) {}

TServerSocket::~TServerSocket() = default;

bool TServerSocket::loading() const { return ComponentState().Contains(csLoading); }

void TServerSocket::SetPort(int Value) {
    if (Value == port_) return;
    if (listening_) throw ESocketError("Cannot change the port of an active socket");
    port_ = Value;
}

void TServerSocket::SetActive(bool Value) {
    if (loading()) {
        streamedActive_ = Value;
        return;
    }
    if (ComponentState().Contains(csDesigning)) return;
    if (Value == listening_.Valid()) return;
    if (Value)
        open();
    else
        listening_.Reset();
}

void TServerSocket::Loaded() {
    TComponent::Loaded();
    if (streamedActive_) {
        streamedActive_ = false;
        SetActive(true);
    }
}

void TServerSocket::open() {
    if (port_ < 0 || port_ > 65535) throw ESocketError("Invalid port " + std::to_string(port_));
    // Close-on-exec, so a program started from here does not hold the port.
    TUniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd) throw ESocketError(AnsiString("Cannot create a socket: ") + std::strerror(errno));
    // SO_REUSEADDR lets a new instance bind while old connections linger in
    // TIME_WAIT; SO_REUSEPORT is never set, or two instances could share the port.
    int one = 1;
    ::setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);

    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(uint16_t(port_));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd.Get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        int err = errno;
        if (err == EADDRINUSE) throw ESocketError("Port " + std::to_string(port_) + " is already in use");
        throw ESocketError("Cannot bind to port " + std::to_string(port_) + ": " + std::strerror(err));
    }
    if (::listen(fd.Get(), SOMAXCONN) != 0)
        throw ESocketError("Cannot listen on port " + std::to_string(port_) + ": " + std::strerror(errno));
    listening_ = std::move(fd);
}
