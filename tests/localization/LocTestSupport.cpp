#include "LocTestSupport.h"

#include "classes/MemoryStream.h"
#include "classes/ObjectText.h"

namespace loctest {

void RegisterTestClasses() {
    RegisterLocalizationClasses();
    RegisterTestComponents();
}

AnsiString E(const AnsiString& Key, std::initializer_list<AnsiString> Texts, char D) {
    AnsiString e = Key + D;
    for (const AnsiString& t : Texts) e += t + D;
    return e;
}

std::vector<AnsiString> Lines(const TStrings* List) {
    std::vector<AnsiString> out;
    for (int i = 0; i < List->Count(); ++i) out.push_back(List->Strings(i));
    return out;
}

AnsiString Hex(const AnsiString& Bytes) {
    static const char digits[] = "0123456789ABCDEF";
    AnsiString out;
    for (unsigned char c : Bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

}  // namespace loctest
