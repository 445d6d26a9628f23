#pragma once
// Permission bits in tests: what a path has, and a umask for one scope.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

namespace yorde::test {

// The permission bits (with setuid, setgid and sticky) of Path itself, a
// link not followed; 0 with a failure when it is missing.
inline unsigned ModeOf(const std::string& Path) {
    struct stat st {};
    EXPECT_EQ(::lstat(Path.c_str(), &st), 0) << Path;
    return st.st_mode & 07777;
}

// Sets the umask for a scope and puts the old one back.
class TUmaskScope {
public:
    explicit TUmaskScope(mode_t Mask) : old_(::umask(Mask)) {}
    ~TUmaskScope() { ::umask(old_); }
    TUmaskScope(const TUmaskScope&) = delete;
    TUmaskScope& operator=(const TUmaskScope&) = delete;

private:
    mode_t old_;
};

}  // namespace yorde::test
