#include "net/ServerSocket.h"

#include "TestServers.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool CanConnect(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

TEST(ServerSocket, SecondSocketOnTheSamePortIsRefusedUntilTheFirstCloses) {
    int port = UnusedPort();
    TServerSocket first(nullptr), second(nullptr);
    first.SetPort(port);
    second.SetPort(port);

    first.SetActive(true);
    EXPECT_TRUE(first.Active());
    EXPECT_TRUE(CanConnect(port));  // a connection waits in the backlog
    EXPECT_THROW(second.SetActive(true), ESocketError);
    EXPECT_FALSE(second.Active());
    EXPECT_THROW(first.SetPort(port + 1), ESocketError);

    first.SetActive(false);
    EXPECT_FALSE(first.Active());
    EXPECT_FALSE(CanConnect(port));
    second.SetActive(true);
    EXPECT_TRUE(second.Active());
    EXPECT_THROW(first.SetActive(true), ESocketError);

    // A port outside 0 to 65535 is refused, not wrapped onto another one.
    for (int wrong : {-1, 65536, 65536 + port}) {
        TServerSocket out(nullptr);
        out.SetPort(wrong);
        EXPECT_THROW(out.SetActive(true), ESocketError) << wrong;
        EXPECT_FALSE(out.Active()) << wrong;
    }
}

TEST(ServerSocket, PublishedPropertiesAndActiveFromALayoutWaitForLoaded) {
    int port = UnusedPort();
    TComponent owner(nullptr);
    auto* s = static_cast<TServerSocket*>(TServerSocket::StaticClass()->CreateComponent(&owner));
    s->SetLoading(true);
    SetOrdProp(s, "Port", port);
    SetOrdProp(s, "Active", 1);
    EXPECT_FALSE(CanConnect(port));
    s->Loaded();
    EXPECT_TRUE(CanConnect(port));
    EXPECT_EQ(GetOrdProp(s, "Port"), port);
    EXPECT_EQ(GetOrdProp(s, "Active"), 1);
}

TEST(ServerSocket, FreedWithItsOwnerAndThePortWithIt) {
    int port = UnusedPort();
    {
        TComponent owner(nullptr);
        auto* s = new TServerSocket(&owner);
        s->SetPort(port);
        s->SetActive(true);
    }
    EXPECT_FALSE(CanConnect(port));
    TServerSocket again(nullptr);
    again.SetPort(port);
    EXPECT_NO_THROW(again.SetActive(true));
}
