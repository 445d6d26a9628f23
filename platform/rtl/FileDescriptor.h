#pragma once
// One owner for a POSIX file descriptor, and writing every byte to one.
#include <unistd.h>

#include <string_view>
#include <utility>

// Owns one descriptor and closes it exactly once.
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
    ~TUniqueFd() { Close(); }

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    explicit operator bool() const { return Valid(); }
    int Release() { return std::exchange(fd_, -1); }
    void Reset(int fd = -1) {
        Close();
        fd_ = fd;
    }
    // Closes now: 0, or -1 with errno set. A failed close of a written file
    // can mean lost data, so writers check it.
    int Close() noexcept {
        const int fd = std::exchange(fd_, -1);
        return fd >= 0 ? ::close(fd) : 0;
    }

private:
    int fd_ = -1;
};

// Writes every byte, going on after short writes and signals; false with
// errno set on an error. Calls nothing but write(), so a forked child may
// use it before exec.
bool WriteAll(int fd, std::string_view bytes) noexcept;
