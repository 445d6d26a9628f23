#pragma once
// The component model: TObject with class identity, TPersistent, TComponent
// (owner, owned components, names, state, notifications, Loaded), the class
// registry and the description of published members.
//
// A class takes part by declaring YORDE_CLASS(TName, TParent) in its body and
// YORDE_IMPLEMENT_CLASS(TName, builder-lambda) in one source file, e.g.
//
//   class TLabel : public TGraphicControl {
//       YORDE_CLASS(TLabel, TGraphicControl)
//   public:
//       explicit TLabel(TComponent* AOwner);
//       ...
//   };
//   YORDE_IMPLEMENT_CLASS(TLabel, [](TClassBuilder<TLabel>& c) {
//       c.Property("Caption", &TLabel::Caption, &TLabel::SetCaption);
//       c.Property("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(true);
//       c.Event("OnClick", &TLabel::OnClick);
//   })
//
// Classes constructible as TName(TComponent* owner) get a virtual constructor
// (created by name from layouts); forms and frames also publish their
// component fields and event handler methods:
//       c.Field("MessageLabel", &TMessageDialog::MessageLabel);
//       c.Method("OKButtonClick", &TMessageDialog::OKButtonClick);
#include "TypInfo.h"

#include <map>
#include <mutex>

class TFiler;
class TReader;
class TWriter;
class TStream;
class TCollection;
class TCollectionItem;

// ---------------------------------------------------------------------------
// Class identity

class TMetaClass {
public:
    using ComponentFactory = std::function<TComponent*(TComponent* owner)>;
    using ItemFactory = std::function<TCollectionItem*(TCollection* collection)>;

    TMetaClass(AnsiString name, TMetaClass* parent);
    TMetaClass(const TMetaClass&) = delete;
    TMetaClass& operator=(const TMetaClass&) = delete;

    const AnsiString& ClassName() const { return name_; }
    TMetaClass* ClassParent() const { return parent_; }
    bool InheritsFrom(const TMetaClass* other) const;
    const TTypeInfo* ClassInfo() const { return &typeInfo_; }

    // Own and inherited members, base class first, each in declaration order.
    const std::vector<const TPropInfo*>& Properties() const;
    const TPropInfo* FindProperty(const AnsiString& name) const;  // case-insensitive
    const TMethodInfo* FindMethod(const AnsiString& name) const;  // case-insensitive
    const TFieldInfo* FindField(const AnsiString& name) const;    // case-insensitive

    bool CanCreateComponent() const { return static_cast<bool>(componentFactory_); }
    TComponent* CreateComponent(TComponent* owner) const;  // EComponentError when abstract
    bool CanCreateItem() const { return static_cast<bool>(itemFactory_); }
    TCollectionItem* CreateItem(TCollection* collection) const;

    // Used by TClassBuilder while the class describes itself.
    TPropInfo& AddProperty(const AnsiString& name, const TTypeInfo* type);
    void AddMethod(TMethodInfo m);
    void AddField(TFieldInfo f);
    void SetComponentFactory(ComponentFactory f) { componentFactory_ = std::move(f); }
    void SetItemFactory(ItemFactory f) { itemFactory_ = std::move(f); }

private:
    AnsiString name_;
    TMetaClass* parent_;
    TTypeInfo typeInfo_;
    std::vector<std::unique_ptr<TPropInfo>> ownProps_;
    std::vector<TMethodInfo> methods_;
    std::vector<TFieldInfo> fields_;
    ComponentFactory componentFactory_;
    ItemFactory itemFactory_;
    mutable std::vector<const TPropInfo*> allProps_;
    mutable bool allPropsBuilt_ = false;
    mutable std::mutex mutex_;
};

using TClass = TMetaClass*;

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static TMetaClass* StaticClass();
    virtual TMetaClass* ClassType() const { return StaticClass(); }
    AnsiString ClassName() const { return ClassType()->ClassName(); }
    TMetaClass* ClassParent() const { return ClassType()->ClassParent(); }
    bool InheritsFrom(const TMetaClass* c) const { return ClassType()->InheritsFrom(c); }

    // Runs while the object is still of its full type, before the destructor.
    virtual void BeforeDestruction() {}
    // The class library's Free: BeforeDestruction, then delete (also when
    // BeforeDestruction throws; the exception then goes on). Null-safe.
    static void Free(TObject* obj);
};

template <class T>
T* Cast(TObject* obj) {
    return dynamic_cast<T*>(obj);
}

// ---------------------------------------------------------------------------
// Describing a class

template <class T>
class TClassBuilder {
public:
    explicit TClassBuilder(TMetaClass* mc) : mc_(mc) {}

    class PropRef {
    public:
        explicit PropRef(TPropInfo& p) : p_(p) {}
        PropRef& Default(int64_t v) {
            p_.HasDefault = true;
            p_.Default = v;
            return *this;
        }
        PropRef& NoDefault() {
            p_.HasDefault = false;
            return *this;
        }
        PropRef& Stored(bool (T::*fn)() const) {
            p_.IsStoredFn = [fn](const TObject* o) { return (static_cast<const T*>(o)->*fn)(); };
            return *this;
        }
        PropRef& Stored(bool stored) {
            p_.IsStoredFn = [stored](const TObject*) { return stored; };
            return *this;
        }

    private:
        TPropInfo& p_;
    };

    // Getter and optional setter (nullptr = read-only). V is the property's type:
    // an integral, enum, TSet, double, AnsiString, or pointer to a TObject class.
    template <class G, class S = std::nullptr_t>
    PropRef Property(const char* name, G getter, S setter = nullptr);

    // An event member: TEvent<Args...> T::*.
    template <class... A>
    PropRef Event(const char* name, TEvent<A...> T::*member);

    // A published component field of a form, frame or data module.
    template <class C>
    void Field(const char* name, C* T::*member);

    // A published event handler.
    template <class... A>
    void Method(const char* name, void (T::*m)(A...));

    TMetaClass* Meta() const { return mc_; }

private:
    TMetaClass* mc_;
};

// ---------------------------------------------------------------------------
// Declaring and registering classes

#define YORDE_CLASS(Class, Parent)                                          \
public:                                                                     \
    using inherited = Parent;                                               \
    static TMetaClass* StaticClass();                                       \
    TMetaClass* ClassType() const override { return Class::StaticClass(); } \
                                                                            \
private:

// Builds the metaclass on first use; Describe is a callable taking TClassBuilder<Class>&.
#define YORDE_IMPLEMENT_CLASS(Class, ...)                                                                \
    TMetaClass* Class::StaticClass() {                                                                   \
        static TMetaClass* mc =                                                                          \
            ::yorde_detail::BuildMetaClass<Class>(#Class, Class::inherited::StaticClass(), __VA_ARGS__); \
        return mc;                                                                                       \
    }

// The class registry: classes that layouts and images may name.
void RegisterClass(TMetaClass* c);  // same class again: no-op; another class of that name: EFilerError
void RegisterClasses(std::initializer_list<TMetaClass*> classes);
void UnRegisterClass(TMetaClass* c);
TMetaClass* GetClass(const AnsiString& name);   // nullptr when absent; case-insensitive
TMetaClass* FindClass(const AnsiString& name);  // EClassNotFound "Class %s not found"

// ---------------------------------------------------------------------------
// TPersistent

class TPersistent : public TObject {
    YORDE_CLASS(TPersistent, TObject)
public:
    TPersistent() = default;
    // Copies Source into this object; falls back to Source->AssignTo(this).
    virtual void Assign(TPersistent* Source);
    // Declares non-published data to streaming (binary properties and lists).
    virtual void DefineProperties(TFiler& Filer);
    virtual AnsiString GetNamePath();
    virtual TPersistent* GetOwner() { return nullptr; }

protected:
    // Default: EConvertError "Cannot assign a %s to a %s".
    virtual void AssignTo(TPersistent* Dest);
    friend class TClassHelperAccess;
};

// ---------------------------------------------------------------------------
// TComponent

enum TComponentStateItem {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;
enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
    YORDE_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;  // destroys owned components, leaves the owner

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return int(components_.size()); }
    TComponent* Components(int index) const;  // EListError out of range
    int ComponentIndex() const;
    void SetComponentIndex(int index);

    const AnsiString& Name() const { return name_; }
    // Valid identifier, unique within the owner (case-insensitive), else EComponentError.
    // The owner's published field of that name then points here (cleared again
    // on rename, removal and destruction).
    virtual void SetName(const AnsiString& NewName);
    int Tag() const { return tag_; }
    void SetTag(int v) { tag_ = v; }

    TComponentState ComponentState() const { return state_; }
    TComponent* FindComponent(const AnsiString& AName) const;  // case-insensitive; nullptr when absent

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Called once for every component read from a stream, after all references
    // were resolved; the base clears csLoading.
    virtual void Loaded();
    // Sent to the owner when a component joins or leaves it; the base passes
    // it on to every owned component (the one concerned too), so overrides
    // call the inherited one. On opRemove it also drops a free notification.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Sets csDestroying and destroys the owned components (last first) and
    // sends the removal notifications while this object is still complete.
    void BeforeDestruction() override;

    TPersistent* GetOwner() override { return owner_; }
    AnsiString GetNamePath() override { return name_; }

    // Streaming hooks.
    using TGetChildProc = std::function<void(TComponent* Child)>;
    // The children a writer writes: here, when this is the root, the owned
    // components without a parent (controls override it).
    virtual void GetChildren(TGetChildProc Proc, TComponent* Root);
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* /*Value*/) {}
    virtual void SetChildOrder(TComponent* /*Child*/, int /*Order*/) {}
    virtual void ReadState(TReader& Reader);
    virtual void WriteState(TWriter& Writer);

    // Owner and parent of the components read as this one's children
    // (owner null: the reader's root).
    virtual TComponent* GetChildOwner() { return nullptr; }
    virtual TComponent* GetChildParent() { return this; }

    // Design position of a non-visual component, streamed as the defined
    // properties "Left" (low word) and "Top" (high word) when not zero.
    int32_t DesignInfo() const { return designInfo_; }
    void SetDesignInfo(int32_t Value) { designInfo_ = Value; }
    void DefineProperties(TFiler& Filer) override;

    // State changes used by the reader and by tests (design-time branches).
    void SetDesigning(bool Value, bool SetChildren = true);
    void SetLoading(bool Value);  // csLoading (and csReading)
    void SetStateItem(TComponentStateItem item, bool on);

protected:
    virtual void ValidateRename(TComponent* AComponent, const AnsiString& CurName, const AnsiString& NewName);
    virtual void ChangeName(const AnsiString& NewName) { name_ = NewName; }

private:
    void insert(TComponent* c);
    void remove(TComponent* c);
    // Points the owner's published field of this name at this component (or clears it).
    void setReference(bool enable);
    void destroying();
    void sendFreeNotifications();
    void unlinkFreeNotify(TComponent* c);

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;  // both ways: each side lists the other
    AnsiString name_;
    int tag_ = 0;
    int32_t designInfo_ = 0;
    TComponentState state_;
    bool destructionStarted_ = false;
};

// Roots that cross-root references ("DMLang.lxLangDispatcher1") resolve
// through: forms and data modules add themselves while they live.
void AddGlobalRoot(TComponent* root);
void RemoveGlobalRoot(TComponent* root);
TComponent* FindGlobalRoot(const AnsiString& name);  // case-insensitive
std::vector<TComponent*> GlobalRoots();

// ---------------------------------------------------------------------------
// Streaming of non-published data (implemented by TReader and TWriter in Filer.h)

class TFiler : public TObject {
    YORDE_CLASS(TFiler, TObject)
public:
    using TReaderProc = std::function<void(TReader&)>;
    using TWriterProc = std::function<void(TWriter&)>;
    using TStreamProc = std::function<void(TStream&)>;

    // Writers call WriteData when HasData; readers call ReadData when the property is met.
    virtual void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) = 0;
    // The reader hands ReadData a stream holding exactly the property's bytes;
    // the writer lets WriteData fill a memory stream and writes it as binary.
    virtual void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData,
                                      bool HasData) = 0;

    TComponent* Root() const { return root_; }
    TComponent* LookupRoot() const { return lookupRoot_; }
    TPersistent* Ancestor() const { return ancestor_; }

protected:
    TComponent* root_ = nullptr;
    TComponent* lookupRoot_ = nullptr;
    TPersistent* ancestor_ = nullptr;
};

// ---------------------------------------------------------------------------
// Template implementations

namespace yorde_detail {

template <class T>
TMetaClass* BuildMetaClassBase(const char* name, TMetaClass* parent) {
    auto* mc = new TMetaClass(name, parent);  // lives for the whole process
    if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*> &&
                  !std::is_abstract_v<T>) {
        mc->SetComponentFactory([](TComponent* owner) -> TComponent* { return new T(owner); });
    }
    // Only items: a collection built from an owner would match TCollection* too.
    if constexpr (std::is_base_of_v<TCollectionItem, T> && std::is_constructible_v<T, TCollection*> &&
                  !std::is_abstract_v<T>) {
        mc->SetItemFactory([](TCollection* c) -> TCollectionItem* { return new T(c); });
    }
    return mc;
}

template <class T, class D>
TMetaClass* BuildMetaClass(const char* name, TMetaClass* parent, D describe) {
    TMetaClass* mc = BuildMetaClassBase<T>(name, parent);
    TClassBuilder<T> b(mc);
    describe(b);
    return mc;
}

template <class T>
TMetaClass* BuildMetaClass(const char* name, TMetaClass* parent) {
    return BuildMetaClassBase<T>(name, parent);
}

template <class V>
using Plain = std::remove_cv_t<std::remove_reference_t<V>>;

template <class F>
struct GetterTraits;
template <class T, class V>
struct GetterTraits<V (T::*)() const> {
    using Value = Plain<V>;
};

template <class F>
struct SetterTraits;
template <class T, class V>
struct SetterTraits<void (T::*)(V)> {
    using Value = Plain<V>;
};

template <class V>
constexpr bool IsOrdinal = std::is_integral_v<V> || std::is_enum_v<V>;

template <class V>
struct IsTSet : std::false_type {};
template <class E>
struct IsTSet<TSet<E>> : std::true_type {};

template <class V>
int64_t ToOrd(const V& v) {
    if constexpr (IsTSet<V>::value)
        return int64_t(v.Bits());
    else
        return int64_t(v);
}
template <class V>
V FromOrd(int64_t v) {
    if constexpr (IsTSet<V>::value)
        return V::FromBits(uint64_t(v));
    else
        return static_cast<V>(v);
}

}  // namespace yorde_detail

template <class T>
const TTypeInfo* TypeInfoOf<T*, std::enable_if_t<std::is_base_of_v<TObject, T>>>::Get() {
    return T::StaticClass()->ClassInfo();
}

template <class T>
template <class G, class S>
typename TClassBuilder<T>::PropRef TClassBuilder<T>::Property(const char* name, G getter, S setter) {
    using namespace yorde_detail;
    using V = typename GetterTraits<G>::Value;
    TPropInfo& p = mc_->AddProperty(name, TypeInfo<V>());
    constexpr bool hasSetter = !std::is_same_v<S, std::nullptr_t>;
    if constexpr (IsOrdinal<V> || IsTSet<V>::value) {
        p.GetOrd = [getter](const TObject* o) { return ToOrd<V>((static_cast<const T*>(o)->*getter)()); };
        if constexpr (hasSetter)
            p.SetOrd = [setter](TObject* o, int64_t v) { (static_cast<T*>(o)->*setter)(FromOrd<V>(v)); };
    } else if constexpr (std::is_floating_point_v<V>) {
        p.GetFloat = [getter](const TObject* o) { return double((static_cast<const T*>(o)->*getter)()); };
        if constexpr (hasSetter) p.SetFloat = [setter](TObject* o, double v) { (static_cast<T*>(o)->*setter)(V(v)); };
    } else if constexpr (std::is_same_v<V, AnsiString>) {
        p.GetStr = [getter](const TObject* o) { return AnsiString((static_cast<const T*>(o)->*getter)()); };
        if constexpr (hasSetter)
            p.SetStr = [setter](TObject* o, const AnsiString& v) { (static_cast<T*>(o)->*setter)(v); };
    } else if constexpr (std::is_pointer_v<V>) {
        using C = std::remove_pointer_t<V>;
        static_assert(std::is_base_of_v<TObject, C>, "class properties hold TObject descendants");
        p.GetObj = [getter](const TObject* o) -> TObject* { return (static_cast<const T*>(o)->*getter)(); };
        if constexpr (hasSetter)
            p.SetObj = [setter](TObject* o, TObject* v) {
                C* c = v ? dynamic_cast<C*>(v) : nullptr;
                if (v && !c) throw EPropertyError("Invalid property value");
                (static_cast<T*>(o)->*setter)(c);
            };
    } else {
        static_assert(sizeof(V) == 0, "unsupported property type");
    }
    if constexpr (std::is_same_v<V, bool>) {
        // Booleans default to False unless stated otherwise.
        p.HasDefault = true;
        p.Default = 0;
    }
    return PropRef(p);
}

template <class T>
template <class... A>
typename TClassBuilder<T>::PropRef TClassBuilder<T>::Event(const char* name, TEvent<A...> T::*member) {
    using Ev = TEvent<A...>;
    TPropInfo& p = mc_->AddProperty(name, TypeInfo<Ev>());
    p.GetMeth = [member](const TObject* o) {
        const Ev& ev = static_cast<const T*>(o)->*member;
        return TMethod{ev.Data(), ev.MethodName()};
    };
    p.SetMeth = [member](TObject* o, const TMethod& m) {
        Ev& ev = static_cast<T*>(o)->*member;
        if (m.IsNull() || !m.Data) {
            ev.Clear();
            return;
        }
        const TMethodInfo* mi = m.Data->ClassType()->FindMethod(m.Name);
        if (!mi) throw EMethodNotFound("Method " + m.Name + " not found");
        if (mi->Signature != TypeInfo<Ev>())
            throw EPropertyError("Method " + m.Name + " does not match the event's signature");
        ev.Bind(std::any_cast<typename Ev::Fn>(mi->MakeFunction(m.Data)), m.Data, mi->Name);
    };
    return PropRef(p);
}

template <class T>
template <class C>
void TClassBuilder<T>::Field(const char* name, C* T::*member) {
    static_assert(std::is_base_of_v<TComponent, C>, "published fields hold components");
    TFieldInfo f;
    f.Name = name;
    f.FieldClass = C::StaticClass();
    f.Set = [member](TObject* o, TComponent* c) { static_cast<T*>(o)->*member = dynamic_cast<C*>(c); };
    f.Get = [member](const TObject* o) -> TComponent* { return static_cast<const T*>(o)->*member; };
    mc_->AddField(std::move(f));
}

template <class T>
template <class... A>
void TClassBuilder<T>::Method(const char* name, void (T::*m)(A...)) {
    using Ev = TEvent<A...>;
    TMethodInfo mi;
    mi.Name = name;
    mi.Signature = TypeInfo<Ev>();
    mi.MakeFunction = [m](TObject* o) -> std::any {
        T* obj = static_cast<T*>(o);
        return typename Ev::Fn([obj, m](A... a) { (obj->*m)(a...); });
    };
    mc_->AddMethod(std::move(mi));
}
