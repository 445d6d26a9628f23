// restart: started by the program after a language change. Waits until the
// running instance has gone (its single-instance port can be bound again),
// then starts the program anew from the folder it was given.
//
//   restart [--port N] [--timeout-ms N] [--program NAME] <program-folder>

#include "shell/Launcher.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Options {
    int port = 50505;
    long timeoutMs = 30000;
    std::string program = "yorde";
    std::string folder;
};

class Socket {
public:
    Socket() : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~Socket() {
        if (fd_ >= 0) close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

sockaddr_in Loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

// Free when we could listen there ourselves. SO_REUSEADDR lets the bind pass
// over connections still in TIME_WAIT, while a live listener still blocks it.
// Where binding is not allowed at all, a refused connection means nobody
// listens.
bool PortIsFree(int port) {
    sockaddr_in addr = Loopback(port);
    {
        Socket s;
        if (s.fd() < 0) return false;
        int one = 1;
        setsockopt(s.fd(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        if (bind(s.fd(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return true;
        if (errno == EADDRINUSE) return false;
    }
    Socket s;
    if (s.fd() < 0) return false;
    return connect(s.fd(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 && errno == ECONNREFUSED;
}

bool ParseNumber(const char* text, long min, long max, long& value) {
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || v < min || v > max) return false;
    value = v;
    return true;
}

int Usage(const char* message) {
    std::fprintf(stderr, "restart: %s\nusage: restart [--port N] [--timeout-ms N] [--program NAME] <program-folder>\n",
                 message);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        bool hasValue = i + 1 < argc;
        long n = 0;
        if (a == "--port") {
            if (!hasValue || !ParseNumber(argv[++i], 1, 65535, n)) return Usage("bad --port");
            opt.port = static_cast<int>(n);
        } else if (a == "--timeout-ms") {
            if (!hasValue || !ParseNumber(argv[++i], 0, 24L * 3600 * 1000, n)) return Usage("bad --timeout-ms");
            opt.timeoutMs = n;
        } else if (a == "--program") {
            if (!hasValue || argv[i + 1][0] == '\0') return Usage("bad --program");
            opt.program = argv[++i];
        } else if (a == "--") {
            if (i + 1 < argc) opt.folder = argv[++i];
            break;
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            return Usage(("unknown option " + a).c_str());
        } else if (opt.folder.empty()) {
            opt.folder = a;
        } else {
            return Usage("more than one folder given");
        }
    }
    if (opt.folder.empty()) return Usage("no program folder given");
    if (opt.program.find('/') != std::string::npos) return Usage("--program takes a name, not a path");

    struct stat st {};
    if (stat(opt.folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        std::fprintf(stderr, "restart: folder not found: %s\n", opt.folder.c_str());
        return 3;
    }
    std::string path = opt.folder;
    if (path.back() != '/') path += '/';
    path += opt.program;
    if (access(path.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "restart: program not found or not executable: %s\n", path.c_str());
        return 3;
    }

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(opt.timeoutMs);
    while (!PortIsFree(opt.port)) {
        if (Clock::now() >= deadline) {
            std::fprintf(stderr, "restart: the running instance did not end within %ld ms (port %d still taken)\n",
                         opt.timeoutMs, opt.port);
            return 4;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }

    if (!ShellStart(path, {})) {
        std::fprintf(stderr, "restart: could not start %s: %s\n", path.c_str(), std::strerror(errno));
        return 5;
    }
    return 0;
}
