// Type information objects, identifier maps and property access by name.
#include "classes/TypInfo.h"

#include "classes/Classes.h"
#include "rtl/Convert.h"
#include "rtl/StrUtils.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Kinds

namespace {
const char* const kKindNames[] = {"tkUnknown", "tkInteger", "tkChar",   "tkEnumeration", "tkFloat",   "tkString",
                                  "tkSet",     "tkClass",   "tkMethod", "tkWChar",       "tkLString", "tkWString",
                                  "tkVariant", "tkArray",   "tkRecord", "tkInterface",   "tkInt64",   "tkDynArray"};
constexpr int kKindCount = int(sizeof(kKindNames) / sizeof(kKindNames[0]));
}  // namespace

const char* TypeKindName(TTypeKind k) {
    int i = int(k);
    return i >= 0 && i < kKindCount ? kKindNames[i] : "tkUnknown";
}

bool TypeKindFromName(const AnsiString& name, TTypeKind& out) {
    for (int i = 0; i < kKindCount; ++i)
        if (SameText(name, kKindNames[i])) {
            out = TTypeKind(i);
            return true;
        }
    return false;
}

// ---------------------------------------------------------------------------
// Type information objects: made once, kept for the whole process.

const TTypeInfo* MakeTypeInfo(TTypeKind kind, const char* name) {
    auto* t = new TTypeInfo;
    t->Kind = kind;
    t->Name = name;
    return t;
}

const TTypeInfo* MakeEnumTypeInfo(const char* name, std::initializer_list<const char*> names) {
    auto* t = new TTypeInfo;
    t->Kind = tkEnumeration;
    t->Name = name;
    for (const char* n : names) t->EnumNames.emplace_back(n);
    return t;
}

const TTypeInfo* MakeSetTypeInfo(const char* name, const TTypeInfo* element) {
    auto* t = new TTypeInfo;
    t->Kind = tkSet;
    t->Name = name;
    t->CompType = element;
    return t;
}

const TTypeInfo* MakeIdentTypeInfo(const char* name, std::initializer_list<TIdentMapEntry> idents) {
    auto* t = new TTypeInfo;
    t->Kind = tkInteger;
    t->Name = name;
    t->Idents.assign(idents.begin(), idents.end());
    return t;
}

// ---------------------------------------------------------------------------
// Identifiers

AnsiString GetEnumName(const TTypeInfo* t, int64_t value) {
    if (!t || t->Kind != tkEnumeration || value < 0 || value >= int64_t(t->EnumNames.size())) return {};
    return t->EnumNames[size_t(value)];
}

int64_t GetEnumValue(const TTypeInfo* t, const AnsiString& name) {
    if (!t || t->Kind != tkEnumeration) return -1;
    for (size_t i = 0; i < t->EnumNames.size(); ++i)
        if (SameText(t->EnumNames[i], name)) return int64_t(i);
    return -1;
}

bool IdentToInt(const TTypeInfo* t, const AnsiString& ident, int64_t& value) {
    if (!t) return false;
    if (t->Kind == tkEnumeration) {
        int64_t v = GetEnumValue(t, ident);
        if (v < 0) return false;
        value = v;
        return true;
    }
    for (const TIdentMapEntry& e : t->Idents)
        if (SameText(e.Name, ident)) {
            value = e.Value;
            return true;
        }
    return false;
}

bool IntToIdent(const TTypeInfo* t, int64_t value, AnsiString& ident) {
    if (!t) return false;
    if (t->Kind == tkEnumeration) {
        if (value < 0 || value >= int64_t(t->EnumNames.size())) return false;
        ident = t->EnumNames[size_t(value)];
        return true;
    }
    for (const TIdentMapEntry& e : t->Idents)
        if (e.Value == value) {
            ident = e.Name;
            return true;
        }
    return false;
}

// ---------------------------------------------------------------------------
// Descriptors

bool TPropInfo::IsWritable() const {
    switch (Kind()) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet:
    case tkInt64:
    case tkWChar: return static_cast<bool>(SetOrd);
    case tkFloat: return static_cast<bool>(SetFloat);
    case tkString:
    case tkLString:
    case tkWString: return static_cast<bool>(SetStr);
    case tkClass: return static_cast<bool>(SetObj);
    case tkMethod: return static_cast<bool>(SetMeth);
    default: return false;
    }
}

namespace {

bool isOrdinal(TTypeKind k) {
    return k == tkInteger || k == tkChar || k == tkEnumeration || k == tkSet || k == tkInt64 || k == tkWChar;
}
bool isString(TTypeKind k) { return k == tkString || k == tkLString || k == tkWString; }

const TPropInfo* findOrFail(const TObject* instance, const AnsiString& name) {
    const TPropInfo* p = GetPropInfo(instance, name);
    if (!p) throw EPropertyError("Property " + name + " does not exist");
    return p;
}

void checkInstance(const TObject* instance, const TPropInfo* p) {
    if (!p) throw EPropertyError("Property does not exist");
    if (!instance) throw EPropertyError("Property " + p->Name + " read without an object");
}

[[noreturn]] void invalidType(const TPropInfo* p) {
    throw EPropertyError("Invalid property type: " + (p->PropType ? p->PropType->Name : AnsiString("?")));
}

[[noreturn]] void readOnly(const TPropInfo* p) { throw EPropertyError("Property " + p->Name + " is read-only"); }

[[noreturn]] void invalidElement(const AnsiString& text) { throw EPropertyError("Invalid property element: " + text); }

const TTypeInfo* setElementType(const TPropInfo* p) {
    if (p->Kind() != tkSet || !p->PropType->CompType) invalidType(p);
    return p->PropType->CompType;
}

AnsiString setText(const TTypeInfo* element, uint64_t bits, bool brackets) {
    AnsiString out;
    for (size_t i = 0; i < element->EnumNames.size() && i < 64; ++i)
        if (bits & (uint64_t(1) << i)) {
            if (!out.empty()) out += ',';
            out += element->EnumNames[i];
        }
    return brackets ? "[" + out + "]" : out;
}

uint64_t setFromText(const TTypeInfo* element, const AnsiString& value) {
    AnsiString text = Trim(value);
    if (!text.empty() && text.front() == '[') {
        if (text.back() != ']') invalidElement(value);
        text = text.substr(1, text.size() - 2);
    }
    uint64_t bits = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == AnsiString::npos) comma = text.size();
        AnsiString name = Trim(text.substr(start, comma - start));
        if (!name.empty()) {
            int64_t v = GetEnumValue(element, name);
            if (v < 0 || v >= 64) invalidElement(name);
            bits |= uint64_t(1) << v;
        } else if (comma < text.size()) {
            invalidElement(value);  // "a,,b"
        }
        start = comma + 1;
    }
    return bits;
}

}  // namespace

// ---------------------------------------------------------------------------
// Queries

const TPropInfo* GetPropInfo(const TObject* instance, const AnsiString& name) {
    return instance ? instance->ClassType()->FindProperty(name) : nullptr;
}

const TPropInfo* GetPropInfo(const TObject* instance, const AnsiString& name, TTypeKinds kinds) {
    const TPropInfo* p = GetPropInfo(instance, name);
    return p && (kinds & KindBit(p->Kind())) ? p : nullptr;
}

std::vector<const TPropInfo*> GetPropList(const TObject* instance, TTypeKinds kinds, bool sorted) {
    std::vector<const TPropInfo*> out;
    if (!instance) return out;
    for (const TPropInfo* p : instance->ClassType()->Properties())
        if (kinds & KindBit(p->Kind())) out.push_back(p);
    if (sorted)
        std::stable_sort(out.begin(), out.end(),
                         [](const TPropInfo* a, const TPropInfo* b) { return CompareText(a->Name, b->Name) < 0; });
    return out;
}

bool IsPublishedProp(const TObject* instance, const AnsiString& name) { return GetPropInfo(instance, name) != nullptr; }

bool PropIsType(const TObject* instance, const AnsiString& name, TTypeKind kind) {
    return findOrFail(instance, name)->Kind() == kind;
}

// ---------------------------------------------------------------------------
// Through a descriptor

int64_t GetOrdProp(const TObject* instance, const TPropInfo* p) {
    checkInstance(instance, p);
    if (!isOrdinal(p->Kind()) || !p->GetOrd) invalidType(p);
    return p->GetOrd(instance);
}

void SetOrdProp(TObject* instance, const TPropInfo* p, int64_t value) {
    checkInstance(instance, p);
    if (!isOrdinal(p->Kind())) invalidType(p);
    if (!p->SetOrd) readOnly(p);
    p->SetOrd(instance, value);
}

AnsiString GetStrProp(const TObject* instance, const TPropInfo* p) {
    checkInstance(instance, p);
    if (!isString(p->Kind()) || !p->GetStr) invalidType(p);
    return p->GetStr(instance);
}

void SetStrProp(TObject* instance, const TPropInfo* p, const AnsiString& value) {
    checkInstance(instance, p);
    if (!isString(p->Kind())) invalidType(p);
    if (!p->SetStr) readOnly(p);
    p->SetStr(instance, value);
}

double GetFloatProp(const TObject* instance, const TPropInfo* p) {
    checkInstance(instance, p);
    if (p->Kind() != tkFloat || !p->GetFloat) invalidType(p);
    return p->GetFloat(instance);
}

void SetFloatProp(TObject* instance, const TPropInfo* p, double value) {
    checkInstance(instance, p);
    if (p->Kind() != tkFloat) invalidType(p);
    if (!p->SetFloat) readOnly(p);
    p->SetFloat(instance, value);
}

TObject* GetObjectProp(const TObject* instance, const TPropInfo* p) {
    checkInstance(instance, p);
    if (p->Kind() != tkClass || !p->GetObj) invalidType(p);
    return p->GetObj(instance);
}

void SetObjectProp(TObject* instance, const TPropInfo* p, TObject* value) {
    checkInstance(instance, p);
    if (p->Kind() != tkClass) invalidType(p);
    if (!p->SetObj) readOnly(p);
    p->SetObj(instance, value);
}

TMethod GetMethodProp(const TObject* instance, const TPropInfo* p) {
    checkInstance(instance, p);
    if (p->Kind() != tkMethod || !p->GetMeth) invalidType(p);
    return p->GetMeth(instance);
}

void SetMethodProp(TObject* instance, const TPropInfo* p, const TMethod& value) {
    checkInstance(instance, p);
    if (p->Kind() != tkMethod) invalidType(p);
    if (!p->SetMeth) readOnly(p);
    p->SetMeth(instance, value);
}

// ---------------------------------------------------------------------------
// By name

int64_t GetOrdProp(const TObject* instance, const AnsiString& name) {
    return GetOrdProp(instance, findOrFail(instance, name));
}
void SetOrdProp(TObject* instance, const AnsiString& name, int64_t value) {
    SetOrdProp(instance, findOrFail(instance, name), value);
}

AnsiString GetEnumProp(const TObject* instance, const AnsiString& name) {
    const TPropInfo* p = findOrFail(instance, name);
    int64_t v = GetOrdProp(instance, p);
    if (p->Kind() == tkEnumeration) return GetEnumName(p->PropType, v);
    return IntToStr(v);
}

void SetEnumProp(TObject* instance, const AnsiString& name, const AnsiString& value) {
    const TPropInfo* p = findOrFail(instance, name);
    if (p->Kind() != tkEnumeration) invalidType(p);
    int64_t v = GetEnumValue(p->PropType, value);
    if (v < 0) invalidElement(value);
    SetOrdProp(instance, p, v);
}

AnsiString GetSetProp(const TObject* instance, const AnsiString& name, bool brackets) {
    const TPropInfo* p = findOrFail(instance, name);
    const TTypeInfo* element = setElementType(p);
    return setText(element, uint64_t(GetOrdProp(instance, p)), brackets);
}

void SetSetProp(TObject* instance, const AnsiString& name, const AnsiString& value) {
    const TPropInfo* p = findOrFail(instance, name);
    const TTypeInfo* element = setElementType(p);
    SetOrdProp(instance, p, int64_t(setFromText(element, value)));
}

AnsiString GetStrProp(const TObject* instance, const AnsiString& name) {
    return GetStrProp(instance, findOrFail(instance, name));
}
void SetStrProp(TObject* instance, const AnsiString& name, const AnsiString& value) {
    SetStrProp(instance, findOrFail(instance, name), value);
}
double GetFloatProp(const TObject* instance, const AnsiString& name) {
    return GetFloatProp(instance, findOrFail(instance, name));
}
void SetFloatProp(TObject* instance, const AnsiString& name, double value) {
    SetFloatProp(instance, findOrFail(instance, name), value);
}
int64_t GetInt64Prop(const TObject* instance, const AnsiString& name) {
    return GetOrdProp(instance, findOrFail(instance, name));
}
void SetInt64Prop(TObject* instance, const AnsiString& name, int64_t value) {
    SetOrdProp(instance, findOrFail(instance, name), value);
}
TObject* GetObjectProp(const TObject* instance, const AnsiString& name) {
    return GetObjectProp(instance, findOrFail(instance, name));
}
void SetObjectProp(TObject* instance, const AnsiString& name, TObject* value) {
    SetObjectProp(instance, findOrFail(instance, name), value);
}
TMethod GetMethodProp(const TObject* instance, const AnsiString& name) {
    return GetMethodProp(instance, findOrFail(instance, name));
}
void SetMethodProp(TObject* instance, const AnsiString& name, const TMethod& value) {
    SetMethodProp(instance, findOrFail(instance, name), value);
}

// ---------------------------------------------------------------------------
// Values as text

AnsiString GetPropValueText(const TObject* instance, const TPropInfo* p) {
    checkInstance(instance, p);
    switch (p->Kind()) {
    case tkInteger:
    case tkInt64: {
        // As the writer does: the identifier when the value has one (clBtnFace, crHourGlass).
        int64_t v = GetOrdProp(instance, p);
        AnsiString ident;
        return IntToIdent(p->PropType, v, ident) ? ident : IntToStr(v);
    }
    case tkChar:
    case tkWChar: return AnsiString(1, char(GetOrdProp(instance, p)));
    case tkEnumeration: return GetEnumName(p->PropType, GetOrdProp(instance, p));
    case tkSet: return setText(setElementType(p), uint64_t(GetOrdProp(instance, p)), false);
    case tkFloat: return FloatToStr(GetFloatProp(instance, p));
    case tkString:
    case tkLString:
    case tkWString: return GetStrProp(instance, p);
    default: invalidType(p);
    }
}

void SetPropValueText(TObject* instance, const TPropInfo* p, const AnsiString& text) {
    checkInstance(instance, p);
    switch (p->Kind()) {
    case tkInteger:
    case tkInt64: {
        int64_t v = 0;
        if (!IdentToInt(p->PropType, Trim(text), v)) v = StrToInt64(text);
        SetOrdProp(instance, p, v);
        break;
    }
    case tkChar:
    case tkWChar: SetOrdProp(instance, p, text.empty() ? 0 : int64_t(static_cast<unsigned char>(text[0]))); break;
    case tkEnumeration: {
        int64_t v = GetEnumValue(p->PropType, Trim(text));
        if (v < 0) invalidElement(text);
        SetOrdProp(instance, p, v);
        break;
    }
    case tkSet: SetOrdProp(instance, p, int64_t(setFromText(setElementType(p), text))); break;
    case tkFloat: SetFloatProp(instance, p, StrToFloat(text)); break;
    case tkString:
    case tkLString:
    case tkWString: SetStrProp(instance, p, text); break;
    default: invalidType(p);
    }
}
