#pragma once
// Owns one POSIX file descriptor; closes it exactly once.
#include <unistd.h>
#include <utility>

class TUniqueFd {
public:
    TUniqueFd() = default;
    explicit TUniqueFd(int fd) : fd_(fd) {}
    TUniqueFd(const TUniqueFd&) = delete;
    TUniqueFd& operator=(const TUniqueFd&) = delete;
    TUniqueFd(TUniqueFd&& o) noexcept : fd_(std::exchange(o.fd_, -1)) {}
    TUniqueFd& operator=(TUniqueFd&& o) noexcept {
        if (this != &o) Reset(std::exchange(o.fd_, -1));
        return *this;
    }
    ~TUniqueFd() { Reset(); }

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    explicit operator bool() const { return Valid(); }
    int Release() { return std::exchange(fd_, -1); }
    void Reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_ = -1;
};
