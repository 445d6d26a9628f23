#include "rtl/DynLib.h"

#include <utility>

#include <dlfcn.h>

TDynLib::TDynLib(TDynLib&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_)) {}

TDynLib& TDynLib::operator=(TDynLib&& other) noexcept {
    if (this != &other) {
        Unload();
        handle_ = std::exchange(other.handle_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

bool TDynLib::Load(const AnsiString& name) {
    Unload();
    handle_ = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    error_ = handle_ ? AnsiString() : FromCStr(dlerror());
    return handle_ != nullptr;
}

void TDynLib::Unload() {
    if (handle_) dlclose(handle_);
    handle_ = nullptr;
}

void* TDynLib::Symbol(const char* name) const {
    if (!handle_ || !name) return nullptr;
    dlerror();
    void* sym = dlsym(handle_, name);
    if (!sym) error_ = FromCStr(dlerror());
    return sym;
}
