#pragma once
// Components to and from the image a layout is stored in, in its binary and
// its text form.
#include "classes/MemoryStream.h"
#include "classes/ObjectText.h"

#include <string>

namespace yorde::test {

// Root written as the root of an image.
inline std::string ImageOf(TComponent* Root) {
    TMemoryStream ms;
    ms.WriteComponent(Root);
    return std::string(static_cast<const char*>(ms.Memory()), size_t(ms.Size()));
}

// Reads Image into Root, or into a new component of the image's class when
// Root is null; returns the root read.
inline TComponent* ReadImage(const std::string& Image, TComponent* Root = nullptr) {
    TMemoryStream ms;
    ms.WriteBuffer(Image.data(), int64_t(Image.size()));
    ms.SetPosition(0);
    return ms.ReadComponent(Root);
}

// The same with the text form.
inline AnsiString WriteLayout(TComponent* Root) { return ObjectBinaryToText(ImageOf(Root)); }
inline TComponent* ReadLayout(const AnsiString& Text, TComponent* Root = nullptr) {
    return ReadImage(ObjectTextToBinary(Text), Root);
}

}  // namespace yorde::test
