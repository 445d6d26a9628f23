#pragma once
// Run-time type information for published properties, events and fields.
// Every streamable class describes itself once (see YORDE_CLASS and
// YORDE_IMPLEMENT_CLASS in Classes.h); layouts, the translation engine and
// the component reader and writer reach properties by name through it.
#include "rtl/AnsiString.h"
#include "rtl/Exceptions.h"

#include <any>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <type_traits>
#include <vector>

class TObject;
class TMetaClass;
class TPersistent;
class TComponent;

// Kind names and order are those of the class library: they are data
// (written to translation files by name).
enum TTypeKind {
    tkUnknown,
    tkInteger,
    tkChar,
    tkEnumeration,
    tkFloat,
    tkString,
    tkSet,
    tkClass,
    tkMethod,
    tkWChar,
    tkLString,
    tkWString,
    tkVariant,
    tkArray,
    tkRecord,
    tkInterface,
    tkInt64,
    tkDynArray
};
using TTypeKinds = uint32_t;  // one bit per TTypeKind
constexpr TTypeKinds KindBit(TTypeKind k) { return TTypeKinds(1) << unsigned(k); }
constexpr TTypeKinds tkAny = ~TTypeKinds(0);
constexpr TTypeKinds tkProperties = tkAny & ~KindBit(tkUnknown) & ~KindBit(tkMethod);
const char* TypeKindName(TTypeKind k);                          // "tkLString"
bool TypeKindFromName(const AnsiString& name, TTypeKind& out);  // case-insensitive

struct TIdentMapEntry {
    int64_t Value;
    AnsiString Name;
};

// One object per type; compared by identity.
struct TTypeInfo {
    TTypeKind Kind = tkUnknown;
    AnsiString Name;                      // "AnsiString", "Integer", "Boolean", "TColor", "TFont"
    std::vector<AnsiString> EnumNames;    // tkEnumeration: value i is EnumNames[i]
    const TTypeInfo* CompType = nullptr;  // tkSet: the element enumeration
    TMetaClass* ClassType = nullptr;      // tkClass
    std::vector<TIdentMapEntry> Idents;   // integer types streamed as identifiers (clRed, crHourGlass)
};

// Ordinal value <-> identifier, for enumerations (by index) and integer types with idents.
AnsiString GetEnumName(const TTypeInfo* t, int64_t value);         // "" when out of range
int64_t GetEnumValue(const TTypeInfo* t, const AnsiString& name);  // -1 when unknown; case-insensitive
bool IdentToInt(const TTypeInfo* t, const AnsiString& ident, int64_t& value);
bool IntToIdent(const TTypeInfo* t, int64_t value, AnsiString& ident);

// A set of up to 64 enumeration values.
template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items) {
        for (E e : items) bits_ |= bit(e);
    }
    static constexpr TSet FromBits(uint64_t b) {
        TSet s;
        s.bits_ = b;
        return s;
    }
    constexpr uint64_t Bits() const { return bits_; }
    constexpr bool Contains(E e) const { return (bits_ & bit(e)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TSet& operator<<(E e) {
        bits_ |= bit(e);
        return *this;
    }
    constexpr TSet& operator>>(E e) {
        bits_ &= ~bit(e);
        return *this;
    }
    constexpr TSet operator+(TSet o) const { return FromBits(bits_ | o.bits_); }
    constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
    constexpr TSet operator*(TSet o) const { return FromBits(bits_ & o.bits_); }
    constexpr bool operator==(const TSet&) const = default;

private:
    static constexpr uint64_t bit(E e) { return uint64_t(1) << unsigned(e); }
    uint64_t bits_ = 0;
};

// An event: a callable plus, when it is bound to a published method, the
// object and the method's name (so that writers can stream it by name).
template <class... Args>
class TEvent {
public:
    using Fn = std::function<void(Args...)>;
    TEvent() = default;
    TEvent(std::nullptr_t) {}
    template <class F,
              class = std::enable_if_t<std::is_invocable_v<F&, Args...> && !std::is_same_v<std::decay_t<F>, TEvent>>>
    TEvent(F f) : fn_(std::move(f)) {}
    template <class T>
    TEvent(T* obj, void (T::*m)(Args...)) : fn_([obj, m](Args... a) { (obj->*m)(a...); }), data_(obj) {}

    explicit operator bool() const { return static_cast<bool>(fn_); }
    void operator()(Args... a) const {
        if (fn_) fn_(a...);
    }
    TObject* Data() const { return data_; }
    const AnsiString& MethodName() const { return name_; }
    void Bind(Fn fn, TObject* data, AnsiString name) {
        fn_ = std::move(fn);
        data_ = data;
        name_ = std::move(name);
    }
    void Clear() {
        fn_ = nullptr;
        data_ = nullptr;
        name_.clear();
    }
    const Fn& Function() const { return fn_; }

private:
    Fn fn_;
    TObject* data_ = nullptr;
    AnsiString name_;
};

using TNotifyEvent = TEvent<TObject*>;

// A published method as a property value: which object, which method.
struct TMethod {
    TObject* Data = nullptr;
    AnsiString Name;
    bool IsNull() const { return Name.empty(); }
};

// Type information of built-in and declared types.
template <class T, class = void>
struct TypeInfoOf;  // specialised below and by the YORDE_*_TYPEINFO macros

template <class T>
const TTypeInfo* TypeInfo() {
    return TypeInfoOf<T>::Get();
}

const TTypeInfo* MakeTypeInfo(TTypeKind kind, const char* name);
const TTypeInfo* MakeEnumTypeInfo(const char* name, std::initializer_list<const char*> names);
const TTypeInfo* MakeSetTypeInfo(const char* name, const TTypeInfo* element);
const TTypeInfo* MakeIdentTypeInfo(const char* name, std::initializer_list<TIdentMapEntry> idents);

#define YORDE_SIMPLE_TYPEINFO(T, Kind, Name)                      \
    template <>                                                   \
    struct TypeInfoOf<T> {                                        \
        static const TTypeInfo* Get() {                           \
            static const TTypeInfo* t = MakeTypeInfo(Kind, Name); \
            return t;                                             \
        }                                                         \
    };
YORDE_SIMPLE_TYPEINFO(int, tkInteger, "Integer")
YORDE_SIMPLE_TYPEINFO(unsigned, tkInteger, "Cardinal")
YORDE_SIMPLE_TYPEINFO(short, tkInteger, "SmallInt")
YORDE_SIMPLE_TYPEINFO(unsigned short, tkInteger, "Word")
YORDE_SIMPLE_TYPEINFO(unsigned char, tkInteger, "Byte")
YORDE_SIMPLE_TYPEINFO(long long, tkInt64, "Int64")
YORDE_SIMPLE_TYPEINFO(long, tkInt64, "Int64")
YORDE_SIMPLE_TYPEINFO(char, tkChar, "Char")
YORDE_SIMPLE_TYPEINFO(double, tkFloat, "Double")
YORDE_SIMPLE_TYPEINFO(AnsiString, tkLString, "AnsiString")

template <>
struct TypeInfoOf<bool> {
    static const TTypeInfo* Get() {
        static const TTypeInfo* t = MakeEnumTypeInfo("Boolean", {"False", "True"});
        return t;
    }
};

// enum class TAlign { alNone, ... };  YORDE_ENUM_TYPEINFO(TAlign, "alNone", "alTop", ...)
#define YORDE_ENUM_TYPEINFO(E, ...)                                          \
    template <>                                                              \
    struct TypeInfoOf<E> {                                                   \
        static const TTypeInfo* Get() {                                      \
            static const TTypeInfo* t = MakeEnumTypeInfo(#E, {__VA_ARGS__}); \
            return t;                                                        \
        }                                                                    \
    };
// using TBorderIcons = TSet<TBorderIcon>;  YORDE_SET_TYPEINFO(TBorderIcons, TBorderIcon)
#define YORDE_SET_TYPEINFO(S, E)                                            \
    template <>                                                             \
    struct TypeInfoOf<S> {                                                  \
        static const TTypeInfo* Get() {                                     \
            static const TTypeInfo* t = MakeSetTypeInfo(#S, TypeInfo<E>()); \
            return t;                                                       \
        }                                                                   \
    };
// enum TColor : int32_t {...};  YORDE_IDENT_TYPEINFO(TColor, {clBlack, "clBlack"}, ...)
#define YORDE_IDENT_TYPEINFO(T, ...)                                          \
    template <>                                                               \
    struct TypeInfoOf<T> {                                                    \
        static const TTypeInfo* Get() {                                       \
            static const TTypeInfo* t = MakeIdentTypeInfo(#T, {__VA_ARGS__}); \
            return t;                                                         \
        }                                                                     \
    };
// using TCloseEvent = TEvent<TObject*, TCloseAction&>;  YORDE_EVENT_TYPEINFO(TCloseEvent)
#define YORDE_EVENT_TYPEINFO(Ev)                                     \
    template <>                                                      \
    struct TypeInfoOf<Ev> {                                          \
        static const TTypeInfo* Get() {                              \
            static const TTypeInfo* t = MakeTypeInfo(tkMethod, #Ev); \
            return t;                                                \
        }                                                            \
    };
YORDE_EVENT_TYPEINFO(TNotifyEvent)
// Events without a declared name share one type per signature.
template <class... A>
struct TypeInfoOf<TEvent<A...>> {
    static const TTypeInfo* Get() {
        static const TTypeInfo* t = MakeTypeInfo(tkMethod, "TMethod");
        return t;
    }
};

// Pointers to classes derived from TObject: the class's own type info.
template <class T>
struct TypeInfoOf<T*, std::enable_if_t<std::is_base_of_v<TObject, T>>> {
    static const TTypeInfo* Get();  // defined in Classes.h: T::StaticClass()->TypeInfo()
};

// A published property. Exactly the accessors of its kind are set:
// ordinal kinds (integer, char, enumeration, set as bits, Int64) use Ord,
// tkFloat Float, tkLString Str, tkClass Obj, tkMethod Meth.
struct TPropInfo {
    AnsiString Name;
    const TTypeInfo* PropType = nullptr;
    TMetaClass* DeclaringClass = nullptr;
    int NameIndex = 0;  // declaration order across the class chain, base first

    std::function<int64_t(const TObject*)> GetOrd;
    std::function<void(TObject*, int64_t)> SetOrd;
    std::function<double(const TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    std::function<AnsiString(const TObject*)> GetStr;
    std::function<void(TObject*, const AnsiString&)> SetStr;
    std::function<TObject*(const TObject*)> GetObj;
    std::function<void(TObject*, TObject*)> SetObj;
    std::function<TMethod(const TObject*)> GetMeth;
    std::function<void(TObject*, const TMethod&)> SetMeth;

    std::function<bool(const TObject*)> IsStoredFn;  // empty: always stored
    bool HasDefault = false;                         // ordinal default ("nodefault" when false)
    int64_t Default = 0;

    TTypeKind Kind() const { return PropType ? PropType->Kind : tkUnknown; }
    bool IsWritable() const;
    bool IsStored(const TObject* instance) const { return !IsStoredFn || IsStoredFn(instance); }
};

// A published method of a class (event handlers bound by name).
struct TMethodInfo {
    AnsiString Name;
    const TTypeInfo* Signature = nullptr;            // TypeInfo<TEvent<Args...>>()
    std::function<std::any(TObject*)> MakeFunction;  // returns TEvent<Args...>::Fn bound to the object
};

// A published field: a component pointer member that the reader fills by name.
struct TFieldInfo {
    AnsiString Name;
    TMetaClass* FieldClass = nullptr;
    std::function<void(TObject*, TComponent*)> Set;  // stores nullptr when the class does not match
    std::function<TComponent*(const TObject*)> Get;
};

// Queries. Names are compared without regard to case.
const TPropInfo* GetPropInfo(const TObject* instance, const AnsiString& name);
const TPropInfo* GetPropInfo(const TObject* instance, const AnsiString& name, TTypeKinds kinds);
std::vector<const TPropInfo*> GetPropList(const TObject* instance, TTypeKinds kinds = tkAny, bool sorted = true);
bool IsPublishedProp(const TObject* instance, const AnsiString& name);
bool PropIsType(const TObject* instance, const AnsiString& name, TTypeKind kind);

// Get and set by name; EPropertyError when the property does not exist or is read-only.
int64_t GetOrdProp(const TObject* instance, const AnsiString& name);
void SetOrdProp(TObject* instance, const AnsiString& name, int64_t value);
AnsiString GetEnumProp(const TObject* instance, const AnsiString& name);
void SetEnumProp(TObject* instance, const AnsiString& name, const AnsiString& value);
AnsiString GetSetProp(const TObject* instance, const AnsiString& name, bool brackets = false);
void SetSetProp(TObject* instance, const AnsiString& name, const AnsiString& value);  // "a,b" or "[a,b]"
AnsiString GetStrProp(const TObject* instance, const AnsiString& name);
void SetStrProp(TObject* instance, const AnsiString& name, const AnsiString& value);
double GetFloatProp(const TObject* instance, const AnsiString& name);
void SetFloatProp(TObject* instance, const AnsiString& name, double value);
int64_t GetInt64Prop(const TObject* instance, const AnsiString& name);
void SetInt64Prop(TObject* instance, const AnsiString& name, int64_t value);
TObject* GetObjectProp(const TObject* instance, const AnsiString& name);
void SetObjectProp(TObject* instance, const AnsiString& name, TObject* value);
TMethod GetMethodProp(const TObject* instance, const AnsiString& name);
void SetMethodProp(TObject* instance, const AnsiString& name, const TMethod& value);

// The same through a descriptor.
int64_t GetOrdProp(const TObject* instance, const TPropInfo* p);
void SetOrdProp(TObject* instance, const TPropInfo* p, int64_t value);
AnsiString GetStrProp(const TObject* instance, const TPropInfo* p);
void SetStrProp(TObject* instance, const TPropInfo* p, const AnsiString& value);
double GetFloatProp(const TObject* instance, const TPropInfo* p);
void SetFloatProp(TObject* instance, const TPropInfo* p, double value);
TObject* GetObjectProp(const TObject* instance, const TPropInfo* p);
void SetObjectProp(TObject* instance, const TPropInfo* p, TObject* value);
TMethod GetMethodProp(const TObject* instance, const TPropInfo* p);
void SetMethodProp(TObject* instance, const TPropInfo* p, const TMethod& value);

// Any non-class, non-method value as text, as the object text writes it:
// integers by their identifier when their type maps the value to one
// (clBtnFace, RUSSIAN_CHARSET, crHourGlass), else decimal; chars as one
// character; enumerations by name; sets "a,b"; floats by FloatToStr. Reading
// takes an identifier or a number. (Always decimal: IntToStr(GetOrdProp(...)).)
AnsiString GetPropValueText(const TObject* instance, const TPropInfo* p);
void SetPropValueText(TObject* instance, const TPropInfo* p, const AnsiString& text);
