#pragma once
// The test components, and helpers to build forms from text layouts and to
// write entries.
#include "ComponentImage.h"
#include "Owned.h"
#include "TestComponents.h"

#include "classes/Strings.h"
#include "localization/Lxcomp.h"

#include <memory>
#include <vector>

namespace loctest {

using namespace yorde::test;

// The translation components and the test components.
void RegisterTestClasses();

using yorde::test::Owned;

// "K" #1 "a" #1 "b" #1 with the delimiter D.
AnsiString E(const AnsiString& Key, std::initializer_list<AnsiString> Texts, char D = '\1');
// The list's entries.
std::vector<AnsiString> Lines(const TStrings* List);
// Hex digits of bytes, as a binary value of a text layout.
AnsiString Hex(const AnsiString& Bytes);
using yorde::test::ReadLayout;
using yorde::test::WriteLayout;
// A new root read from its text layout.
template <class T>
Owned<T> Load(const AnsiString& Text) {
    return Owned<T>(dynamic_cast<T*>(ReadLayout(Text)));
}

}  // namespace loctest
