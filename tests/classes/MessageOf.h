#pragma once
// The message of the Exception that F raises, or "<no exception>".
#include "rtl/Exceptions.h"

#include <string>

template <class F>
std::string messageOf(F f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.Message;
    }
    return "<no exception>";
}
