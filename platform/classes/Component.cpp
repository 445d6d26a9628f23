// TComponent: ownership, names, states, notifications and the destruction order.
#include "classes/Classes.h"
#include "classes/Filer.h"

#include "rtl/Convert.h"
#include "rtl/StrUtils.h"

#include <algorithm>

YORDE_IMPLEMENT_CLASS(TComponent, [](TClassBuilder<TComponent>& c) {
    c.Property("Name", &TComponent::Name, &TComponent::SetName).Stored(false);
    c.Property("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
})

namespace {
bool isValidIdent(const AnsiString& s) {
    auto alpha = [](unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (s.empty() || !alpha(static_cast<unsigned char>(s[0]))) return false;
    return std::all_of(s.begin() + 1, s.end(), [&](char ch) {
        auto c = static_cast<unsigned char>(ch);
        return alpha(c) || (c >= '0' && c <= '9');
    });
}
}  // namespace

TComponent::TComponent(TComponent* AOwner) {
    if (!AOwner) return;
    try {
        AOwner->InsertComponent(this);
    } catch (...) {
        // The destructor does not run for a constructor that throws.
        if (owner_) owner_->remove(this);
        throw;
    }
}

TComponent::~TComponent() {
    if (!destructionStarted_) {
        // Plain delete (or a derived constructor that threw): the same steps
        // as BeforeDestruction, but this object is only a TComponent now.
        destructionStarted_ = true;
        destroying();
        sendFreeNotifications();
        RemoveGlobalRoot(this);
        DestroyComponents();
    }
    if (owner_) {
        // Leave first, so that the owner's notification does not reach this
        // half-destroyed object.
        TComponent* owner = owner_;
        setReference(false);
        owner->remove(this);
        owner->Notification(this, opRemove);
    }
    for (TComponent* c : freeNotifies_) c->unlinkFreeNotify(this);
    freeNotifies_.clear();
    RemoveGlobalRoot(this);
}

void TComponent::BeforeDestruction() {
    if (destructionStarted_) return;
    destructionStarted_ = true;
    destroying();
    sendFreeNotifications();
    RemoveGlobalRoot(this);
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::destroying() {
    if (state_.Contains(csDestroying)) return;
    state_ << csDestroying;
    for (TComponent* c : components_) c->destroying();
}

void TComponent::sendFreeNotifications() {
    while (!freeNotifies_.empty()) {
        TComponent* c = freeNotifies_.back();
        freeNotifies_.pop_back();
        c->unlinkFreeNotify(this);
        c->Notification(this, opRemove);
    }
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        // Each one leaves this list while it is destroyed, with notifications.
        TObject::Free(components_.back());
    }
}

// ---------------------------------------------------------------------------
// Owned components

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= int(components_.size()))
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return components_[size_t(index)];
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

void TComponent::SetComponentIndex(int index) {
    if (!owner_) return;
    auto& list = owner_->components_;
    int current = ComponentIndex();
    if (current < 0) return;
    index = std::clamp(index, 0, int(list.size()) - 1);
    if (index == current) return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + index, this);
}

TComponent* TComponent::FindComponent(const AnsiString& AName) const {
    if (AName.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, AName)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->owner_ == this) return;
    for (TComponent* p = this; p; p = p->owner_)
        if (p == AComponent) throw EComponentError("A component cannot own itself or its owner");
    if (AComponent->owner_) AComponent->owner_->RemoveComponent(AComponent);
    ValidateRename(AComponent, AnsiString(), AComponent->name_);
    insert(AComponent);
    AComponent->setReference(true);
    if (state_.Contains(csDesigning)) AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->owner_ != this) return;
    Notification(AComponent, opRemove);
    if (AComponent->owner_ == this) {
        AComponent->setReference(false);
        remove(AComponent);
    }
}

void TComponent::insert(TComponent* c) {
    components_.push_back(c);
    c->owner_ = this;
}

void TComponent::remove(TComponent* c) {
    auto it = std::find(components_.begin(), components_.end(), c);
    if (it != components_.end()) components_.erase(it);
    c->owner_ = nullptr;
}

void TComponent::setReference(bool enable) {
    if (!owner_ || name_.empty()) return;
    const TFieldInfo* f = owner_->ClassType()->FindField(name_);
    if (!f || !f->Set) return;
    if (enable)
        f->Set(owner_, this);
    else if (f->Get && f->Get(owner_) == this)
        f->Set(owner_, nullptr);
}

// ---------------------------------------------------------------------------
// Names

void TComponent::SetName(const AnsiString& NewName) {
    if (name_ == NewName) return;
    if (!NewName.empty() && !isValidIdent(NewName))
        throw EComponentError("'" + NewName + "' is not a valid component name");
    if (owner_)
        owner_->ValidateRename(this, name_, NewName);
    else
        ValidateRename(nullptr, name_, NewName);
    setReference(false);
    ChangeName(NewName);
    setReference(true);
}

void TComponent::ValidateRename(TComponent* AComponent, const AnsiString& CurName, const AnsiString& NewName) {
    if (!AComponent || NewName.empty() || SameText(CurName, NewName)) return;
    TComponent* other = FindComponent(NewName);
    if (other && other != AComponent) throw EComponentError("A component named " + NewName + " already exists");
}

// ---------------------------------------------------------------------------
// Notifications

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
    // By index: a handler may add or remove components.
    for (size_t i = 0; i < components_.size(); ++i) components_[i]->Notification(AComponent, Operation);
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this) return;
    // A dying component would leave a dangling entry behind.
    if (destructionStarted_ || AComponent->destructionStarted_) return;
    // Components of one owner hear of each other through the owner.
    if (!owner_ || AComponent->owner_ != owner_) {
        if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) == freeNotifies_.end()) {
            freeNotifies_.push_back(AComponent);
            AComponent->FreeNotification(this);
        }
    }
    state_ << csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (!AComponent) return;
    unlinkFreeNotify(AComponent);
    AComponent->unlinkFreeNotify(this);
}

void TComponent::unlinkFreeNotify(TComponent* c) {
    auto it = std::find(freeNotifies_.begin(), freeNotifies_.end(), c);
    if (it != freeNotifies_.end()) freeNotifies_.erase(it);
}

// ---------------------------------------------------------------------------
// States and streaming

void TComponent::Loaded() { state_ >> csLoading; }

void TComponent::SetDesigning(bool Value, bool SetChildren) {
    SetStateItem(csDesigning, Value);
    if (SetChildren)
        for (TComponent* c : components_) c->SetDesigning(Value, true);
}

void TComponent::SetLoading(bool Value) {
    SetStateItem(csLoading, Value);
    SetStateItem(csReading, Value);
}

void TComponent::SetStateItem(TComponentStateItem item, bool on) {
    if (on)
        state_ << item;
    else
        state_ >> item;
}

void TComponent::GetChildren(TGetChildProc Proc, TComponent* Root) {
    if (Root != this) return;
    std::vector<TComponent*> children = components_;
    for (TComponent* c : children)
        if (!c->HasParent()) Proc(c);
}

void TComponent::ReadState(TReader& Reader) { Reader.ReadData(this); }

void TComponent::WriteState(TWriter& Writer) { Writer.WriteData(this); }

void TComponent::DefineProperties(TFiler& Filer) {
    inherited::DefineProperties(Filer);
    auto lo = [this] { return int(uint32_t(designInfo_) & 0xFFFF); };
    auto hi = [this] { return int(uint32_t(designInfo_) >> 16); };
    Filer.DefineProperty(
        "Left",
        [this, hi](TReader& r) {
            designInfo_ = int32_t((uint32_t(hi()) << 16) | (uint32_t(r.ReadInteger()) & 0xFFFF));
        },
        [lo](TWriter& w) { w.WriteInteger(lo()); }, lo() != 0);
    Filer.DefineProperty(
        "Top", [this, lo](TReader& r) { designInfo_ = int32_t((uint32_t(r.ReadInteger()) << 16) | uint32_t(lo())); },
        [hi](TWriter& w) { w.WriteInteger(hi()); }, hi() != 0);
}
