#include "ShellTestUtil.h"
#include "shell/CapsLock.h"

#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

// A virtual display of the test's own: Xvfb picks a free display number and
// writes it down once it takes connections.
class TVirtualDisplay {
public:
    TVirtualDisplay() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[1], 3);  // the one descriptor the child keeps open
            execlp("Xvfb", "Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        char c = 0;
        while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (!number.empty()) name_ = ":" + number;
    }
    ~TVirtualDisplay() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    TVirtualDisplay(const TVirtualDisplay&) = delete;
    TVirtualDisplay& operator=(const TVirtualDisplay&) = delete;

    // Empty when Xvfb could not start.
    const std::string& Name() const { return name_; }

    // Switches the lock on the display's core keyboard, as a key press would.
    bool SetCapsLock(bool On) const {
        std::unique_ptr<Display, int (*)(Display*)> d(XOpenDisplay(name_.c_str()), XCloseDisplay);
        if (!d) return false;
        XkbLockModifiers(d.get(), XkbUseCoreKbd, LockMask, On ? LockMask : 0);
        XSync(d.get(), False);
        return true;
    }

private:
    pid_t pid_ = -1;
    std::string name_;
};

// Sets (Value null: removes) an environment variable for the scope, then
// puts the old value back.
class TEnvScope {
public:
    TEnvScope(const char* Name, const char* Value) : name_(Name) {
        if (const char* old = std::getenv(Name)) old_ = std::make_unique<std::string>(old);
        if (Value)
            setenv(Name, Value, 1);
        else
            unsetenv(Name);
    }
    ~TEnvScope() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    TEnvScope(const TEnvScope&) = delete;
    TEnvScope& operator=(const TEnvScope&) = delete;

private:
    const char* name_;
    std::unique_ptr<std::string> old_;
};

}  // namespace

TEST(ShellCapsLock, ReadsTheKeyboardLed) {
    TTempFolder leds("yorde shell");
    EXPECT_FALSE(CapsLockFromLedFolder(leds.Dir()));
    EXPECT_FALSE(CapsLockFromLedFolder(leds.Path("missing")));

    leds.Write("input3::numlock/brightness", "1\n");
    leds.Write("input3::capslock/brightness", "0\n");
    EXPECT_FALSE(CapsLockFromLedFolder(leds.Dir()));
    // A second keyboard with Caps Lock on.
    leds.Write("input7::capslock/brightness", "1\n");
    EXPECT_TRUE(CapsLockFromLedFolder(leds.Dir()));
}

// A remote desktop or a virtual display has no keyboard LED: the display
// server's own state tells.
TEST(ShellCapsLock, ReadsTheLockTheDisplayServerKeeps) {
    TVirtualDisplay display;
    if (display.Name().empty()) GTEST_SKIP() << "Xvfb could not start";
    TEnvScope env("DISPLAY", display.Name().c_str());
    EXPECT_EQ(CapsLockFromDisplay(AnsiString()), false);
    EXPECT_FALSE(CapsLockOn());
    ASSERT_TRUE(display.SetCapsLock(true));
    EXPECT_EQ(CapsLockFromDisplay(display.Name()), true);
    EXPECT_TRUE(CapsLockOn());
    ASSERT_TRUE(display.SetCapsLock(false));
    EXPECT_FALSE(CapsLockOn());
}

TEST(ShellCapsLock, WithoutADisplayTheAnswerComesFromElsewhere) {
    TEnvScope env("DISPLAY", nullptr);
    EXPECT_EQ(CapsLockFromDisplay(AnsiString()), std::nullopt);
    // A display that does not exist answers nothing either.
    EXPECT_EQ(CapsLockFromDisplay(":9999"), std::nullopt);
    EXPECT_EQ(CapsLockOn(), CapsLockFromLedFolder("/sys/class/leds"));
}
