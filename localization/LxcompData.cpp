// The translation lists inside the owner's layout ("TranslationData").
#include "classes/Filer.h"
#include "localization/LxPropInfoList.h"
#include "localization/LxTranslationData.h"
#include "localization/LxcompLang.h"
#include "rtl/StrUtils.h"

void TlxCustomLang::DefineProperties(TFiler& Filer) {
    TComponent::DefineProperties(Filer);
    Filer.DefineBinaryProperty(
        "TranslationData", [this](TStream& s) { readOurStrProps(s); }, [this](TStream& s) { writeOurStrProps(s); },
        hasTranslationData(Filer.Ancestor()));
}

void TlxCustomLang::readOurStrProps(TStream& Stream) {
    // The stream holds exactly the property's bytes (the reader checked the count).
    const int64_t size = Stream.Size() - Stream.Position();
    AnsiString data(size_t(size > 0 ? size : 0), '\0');
    if (size > 0) Stream.ReadBuffer(data.data(), size);
    ReadTranslationData(data, [this](TStringsType t) { return GetPropListByType(t); });
}

void TlxCustomLang::writeOurStrProps(TStream& Stream) {
    const AnsiString data = WriteTranslationData([this](TStringsType t) { return GetPropListByType(t); });
    if (!data.empty()) Stream.WriteBuffer(data.data(), int64_t(data.size()));
}

bool TlxCustomLang::hasTranslationData(TPersistent* Ancestor) const {
    auto* ancestor = dynamic_cast<TlxCustomLang*>(Ancestor);
    if (!ancestor) return true;
    if (useInheritedData_) return false;
    for (int t = 0; t < StringsTypeCount; ++t) {
        TStrings* mine = GetPropListByType(TStringsType(t));
        TStrings* theirs = ancestor->GetPropListByType(TStringsType(t));
        if (mine && theirs && AnsiCompareStr(mine->Text(), theirs->Text()) != 0) return true;
    }
    return false;
}

TStrings* TlxCustomLang::GetPropListByType(TStringsType Type) const {
    TlxPropInfoList props(this, tkProperties);
    const TPropInfo* p = props.Find(StringsTypeListName(Type));
    if (!p || p->Kind() != tkClass) return nullptr;
    return dynamic_cast<TStrings*>(GetObjectProp(this, p));
}

TStrings* TlxCustomLang::GetPropListByName(const AnsiString& AName) const {
    for (int t = 0; t < StringsTypeCount; ++t)
        if (SameText(AName, StringsTypeListName(TStringsType(t)))) return GetPropListByType(TStringsType(t));
    return nullptr;
}
