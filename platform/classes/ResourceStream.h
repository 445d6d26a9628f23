#pragma once
// Data linked into the program (the compiled form layouts), found by name,
// and a read-only stream over it.
#include "classes/MemoryStream.h"

#include <optional>

struct TResourceEntry {
    const void* Data = nullptr;
    size_t Size = 0;
};

// The process-wide table. Names are compared without regard to case. The
// data must outlive its registration (static data of the program). A name
// registered again takes the new data.
void RegisterResource(const AnsiString& Name, const void* Data, size_t Size);
void UnregisterResource(const AnsiString& Name);
std::optional<TResourceEntry> FindResource(const AnsiString& Name);

// Registers at static initialisation: generated sources hold one of these per resource.
struct TResourceRegistration {
    TResourceRegistration(const char* Name, const void* Data, size_t Size) { RegisterResource(Name, Data, Size); }
};

// EResNotFound "Resource %s not found"; writing raises EStreamError.
class TResourceStream : public TCustomMemoryStream {
    YORDE_CLASS(TResourceStream, TCustomMemoryStream)
public:
    explicit TResourceStream(const AnsiString& ResName);
    int64_t Write(const void* Buffer, int64_t Count) override;
};
