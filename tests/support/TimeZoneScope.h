#pragma once
// The process's time zone (TZ) for a scope, put back afterwards.
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace yorde::test {

class TimeZoneScope {
public:
    explicit TimeZoneScope(const char* Tz) {
        if (const char* old = std::getenv("TZ")) saved_ = old;
        ::setenv("TZ", Tz, 1);
        ::tzset();
    }
    ~TimeZoneScope() {
        if (saved_)
            ::setenv("TZ", saved_->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    TimeZoneScope(const TimeZoneScope&) = delete;
    TimeZoneScope& operator=(const TimeZoneScope&) = delete;

private:
    std::optional<std::string> saved_;
};

}  // namespace yorde::test
