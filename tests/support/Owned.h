#pragma once
// A component or form the test owns, freed (TObject::Free) when it goes.
#include "classes/Classes.h"

#include <memory>

namespace yorde::test {

struct FreeDeleter {
    void operator()(TObject* o) const { TObject::Free(o); }
};
template <class T>
using Owned = std::unique_ptr<T, FreeDeleter>;

}  // namespace yorde::test
