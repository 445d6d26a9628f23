// Extended translations: reaching a published property by its path, reading
// and writing it as text, and applying the items on a language switch.
#include "classes/Collections.h"
#include "localization/LxExtended.h"
#include "localization/LxPropInfoList.h"
#include "localization/LxTextRoutines.h"
#include "localization/LxcompLang.h"
#include "rtl/Convert.h"
#include "rtl/StrUtils.h"

namespace {
// One middle segment ("Font", "Columns[1]") resolved on Object.
TObject* resolveSegment(const TObject* Object, const AnsiString& Segment) {
    const size_t open = Segment.find('[');
    TlxPropInfoList props(Object, tkProperties);
    const TPropInfo* p = props.Find(Segment.substr(0, open));
    if (!p || p->Kind() != tkClass) return nullptr;
    TObject* value = GetObjectProp(Object, p);
    auto* collection = dynamic_cast<TCollection*>(value);
    if (!collection) return value;
    // A collection needs a valid index; anything else is "not found".
    const size_t close = open == AnsiString::npos ? AnsiString::npos : Segment.find(']', open);
    int index = -1;
    if (close == AnsiString::npos || !ParseIndex(Segment.substr(open + 1, close - open - 1), index)) return nullptr;
    return index < collection->Count() ? collection->Items(index) : nullptr;
}

AnsiString lastSegment(const AnsiString& Path) {
    const size_t dot = Path.rfind('.');
    return dot == AnsiString::npos ? AnsiString() : Path.substr(dot + 1);
}

const TPropInfo* lastProperty(const TObject* Object, const AnsiString& Path) {
    if (!Object) return nullptr;
    TlxPropInfoList props(Object, tkProperties);
    return props.Find(lastSegment(Path));
}
}  // namespace

TObject* TlxCustomLang::GetObjByPath(const AnsiString& Path) const {
    TComponent* owner = Owner();
    const size_t dot = Path.find('.');
    if (!owner || dot == AnsiString::npos) return nullptr;
    const AnsiString first = Path.substr(0, dot);
    TObject* object = AnsiSameText(first, owner->ClassName()) ? owner : owner->FindComponent(first);
    AnsiString rest = Path.substr(dot + 1);
    for (size_t next = rest.find('.'); object && next != AnsiString::npos; next = rest.find('.')) {
        object = resolveSegment(object, rest.substr(0, next));
        rest = rest.substr(next + 1);
    }
    return object;
}

TTypeKind TlxCustomLang::GetPropTypeByPath(const AnsiString& Path) const {
    const TObject* object = GetObjByPath(Path);
    const TPropInfo* p = lastProperty(object, Path);
    if (!p) return tkUnknown;
    if (p->Kind() == tkClass) return dynamic_cast<TStrings*>(GetObjectProp(object, p)) ? tkClass : tkUnknown;
    return p->Kind();
}

AnsiString TlxCustomLang::GetPropValueByPath(const AnsiString& Path) const {
    const TObject* object = GetObjByPath(Path);
    const TPropInfo* p = lastProperty(object, Path);
    if (!p) return AnsiString();
    switch (p->Kind()) {
    case tkInteger:
    case tkInt64: return IntToStr(GetOrdProp(object, p));
    case tkChar:
    case tkWChar: return AnsiString(1, char(GetOrdProp(object, p)));
    case tkString:
    case tkLString:
    case tkWString: return GetStrProp(object, p);
    case tkEnumeration: return GetEnumName(p->PropType, GetOrdProp(object, p));
    case tkFloat: return FloatToStr(GetFloatProp(object, p));
    case tkSet: return GetSetProp(object, p->Name);
    case tkClass: {
        auto* lines = dynamic_cast<TStrings*>(GetObjectProp(object, p));
        return lines ? lines->Text() : AnsiString();
    }
    default: return AnsiString();
    }
}

void TlxCustomLang::SetPropValueByPath(const AnsiString& Path, const AnsiString& Value) {
    try {
        TObject* object = GetObjByPath(Path);
        const TPropInfo* p = lastProperty(object, Path);
        if (!p || !p->IsWritable()) return;
        switch (p->Kind()) {
        case tkInteger: SetOrdProp(object, p, StrToInt(Value)); break;
        case tkInt64: SetOrdProp(object, p, StrToInt64(Value)); break;
        case tkChar:
        case tkWChar:
            if (!Value.empty()) SetOrdProp(object, p, (unsigned char)Value[0]);
            break;
        case tkString:
        case tkLString:
        case tkWString: SetStrProp(object, p, Value); break;
        case tkEnumeration:
            if (const int64_t v = GetEnumValue(p->PropType, Value); v >= 0) SetOrdProp(object, p, v);
            break;
        case tkFloat: SetFloatProp(object, p, StrToFloat(Value)); break;
        case tkSet: SetSetProp(object, p->Name, Value); break;
        case tkClass:
            if (auto* lines = dynamic_cast<TStrings*>(GetObjectProp(object, p))) ReplaceLines(lines, Value);
            break;
        default: break;
        }
    } catch (const std::exception&) {
        // Not found, not convertible or refused by the setter: left as it is.
    }
}

void TlxCustomLang::ChangeLangForExtended() {
    const AnsiString delims(1, langDelim_);
    const int lang = ActiveLanguage();
    for (int i = 0; i < extended_->Count(); ++i) {
        TlxExtendedItem* item = extended_->GetItems(i);
        AnsiString text = ExtractWord(lang, item->Values(), delims);
        if (text.empty() && lang >= 2 && DispatcherTestMode())
            text = AnsiUpperCase(ExtractWord(1, item->Values(), delims));
        if (text.empty() && translateType_ == ttGetDefault) text = ExtractWord(1, item->Values(), delims);
        if (!text.empty()) SetPropValueByPath(item->GetIdentifier(), text);
    }
}

void TlxCustomLang::UpdateExtended() {
    const AnsiString delims(1, langDelim_);
    const int lang = ActiveLanguage();
    for (int i = 0; i < extended_->Count(); ++i) {
        TlxExtendedItem* item = extended_->GetItems(i);
        const AnsiString stored = ExtractWord(lang, item->Values(), delims);
        const AnsiString live = GetPropValueByPath(item->GetIdentifier());
        if (stored.empty() || stored == live) continue;
        AnsiString values;
        for (int k = 1; k <= numOfLanguages_; ++k)
            values += (k == lang ? live : ExtractWord(k, item->Values(), delims)) + langDelim_;
        item->SetValues(values);
    }
}
