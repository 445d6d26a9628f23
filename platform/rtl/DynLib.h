#pragma once
// A shared library loaded at run time (in place of LoadLibrary/GetProcAddress/
// FreeLibrary). The handle is released when the object goes; symbols taken
// from it must not be used after that.
#include "rtl/AnsiString.h"

class TDynLib {
public:
    TDynLib() = default;
    explicit TDynLib(const AnsiString& name) { Load(name); }
    ~TDynLib() { Unload(); }
    TDynLib(const TDynLib&) = delete;
    TDynLib& operator=(const TDynLib&) = delete;
    TDynLib(TDynLib&& other) noexcept;
    TDynLib& operator=(TDynLib&& other) noexcept;

    // Loads the library (a bare name goes through the loader's search path);
    // any library held before is released first. False on failure, with the
    // loader's message in Error().
    bool Load(const AnsiString& name);
    void Unload();
    bool Loaded() const { return handle_ != nullptr; }
    const AnsiString& Error() const { return error_; }

    // nullptr when not loaded or the symbol is missing.
    void* Symbol(const char* name) const;
    template <class F>
    F Function(const char* name) const {
        return reinterpret_cast<F>(Symbol(name));
    }

private:
    void* handle_ = nullptr;
    mutable AnsiString error_;
};
