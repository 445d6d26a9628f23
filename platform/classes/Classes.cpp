// Class identity (TMetaClass, TObject) and TPersistent.
#include "classes/Classes.h"

#include "rtl/StrUtils.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TMetaClass

TMetaClass::TMetaClass(AnsiString name, TMetaClass* parent) : name_(std::move(name)), parent_(parent) {
    typeInfo_.Kind = tkClass;
    typeInfo_.Name = name_;
    typeInfo_.ClassType = this;
}

bool TMetaClass::InheritsFrom(const TMetaClass* other) const {
    for (const TMetaClass* c = this; c; c = c->parent_)
        if (c == other) return true;
    return false;
}

const std::vector<const TPropInfo*>& TMetaClass::Properties() const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!allPropsBuilt_) {
        allProps_ = parent_ ? parent_->Properties() : std::vector<const TPropInfo*>{};
        for (const auto& own : ownProps_) {
            // A class that publishes an inherited property again (another
            // default, say) takes its place in the order.
            auto it = std::find_if(allProps_.begin(), allProps_.end(),
                                   [&](const TPropInfo* p) { return SameText(p->Name, own->Name); });
            if (it != allProps_.end()) {
                own->NameIndex = int(it - allProps_.begin());
                *it = own.get();
            } else {
                own->NameIndex = int(allProps_.size());
                allProps_.push_back(own.get());
            }
        }
        allPropsBuilt_ = true;
    }
    return allProps_;
}

const TPropInfo* TMetaClass::FindProperty(const AnsiString& name) const {
    for (const TPropInfo* p : Properties())
        if (SameText(p->Name, name)) return p;
    return nullptr;
}

const TMethodInfo* TMetaClass::FindMethod(const AnsiString& name) const {
    for (const TMetaClass* c = this; c; c = c->parent_)
        for (const TMethodInfo& m : c->methods_)
            if (SameText(m.Name, name)) return &m;
    return nullptr;
}

const TFieldInfo* TMetaClass::FindField(const AnsiString& name) const {
    if (name.empty()) return nullptr;
    for (const TMetaClass* c = this; c; c = c->parent_)
        for (const TFieldInfo& f : c->fields_)
            if (SameText(f.Name, name)) return &f;
    return nullptr;
}

TComponent* TMetaClass::CreateComponent(TComponent* owner) const {
    if (!componentFactory_) throw EComponentError("Cannot create an instance of " + name_);
    return componentFactory_(owner);
}

TCollectionItem* TMetaClass::CreateItem(TCollection* collection) const {
    if (!itemFactory_) throw EComponentError("Cannot create a collection item of class " + name_);
    return itemFactory_(collection);
}

TPropInfo& TMetaClass::AddProperty(const AnsiString& name, const TTypeInfo* type) {
    auto p = std::make_unique<TPropInfo>();
    p->Name = name;
    p->PropType = type;
    p->DeclaringClass = this;
    ownProps_.push_back(std::move(p));
    std::lock_guard<std::mutex> lock(mutex_);
    allPropsBuilt_ = false;
    return *ownProps_.back();
}

void TMetaClass::AddMethod(TMethodInfo m) { methods_.push_back(std::move(m)); }

void TMetaClass::AddField(TFieldInfo f) { fields_.push_back(std::move(f)); }

// ---------------------------------------------------------------------------
// TObject

TMetaClass* TObject::StaticClass() {
    static TMetaClass* mc = new TMetaClass("TObject", nullptr);  // lives for the whole process
    return mc;
}

void TObject::Free(TObject* obj) {
    if (!obj) return;
    try {
        obj->BeforeDestruction();
    } catch (...) {
        delete obj;
        throw;
    }
    delete obj;
}

// ---------------------------------------------------------------------------
// TPersistent

YORDE_IMPLEMENT_CLASS(TPersistent, [](TClassBuilder<TPersistent>&) {})

namespace {
[[noreturn]] void assignError(TPersistent* source, TPersistent* dest) {
    AnsiString from = source ? source->ClassName() : AnsiString("nil");
    AnsiString to = dest ? dest->ClassName() : AnsiString("nil");
    throw EConvertError("Cannot assign a " + from + " to a " + to);
}
}  // namespace

void TPersistent::Assign(TPersistent* Source) {
    if (Source)
        Source->AssignTo(this);
    else
        assignError(nullptr, this);
}

void TPersistent::AssignTo(TPersistent* Dest) { assignError(this, Dest); }

void TPersistent::DefineProperties(TFiler&) {}

AnsiString TPersistent::GetNamePath() {
    AnsiString result = ClassName();
    if (TPersistent* owner = GetOwner()) {
        AnsiString s = owner->GetNamePath();
        if (!s.empty()) result = s + "." + result;
    }
    return result;
}
