// TCollection and TCollectionItem.
#include "classes/Collections.h"

#include "rtl/Convert.h"

#include <algorithm>
#include <iterator>

YORDE_IMPLEMENT_CLASS(TCollectionItem, [](TClassBuilder<TCollectionItem>&) {})
YORDE_IMPLEMENT_CLASS(TCollection, [](TClassBuilder<TCollection>&) {})
YORDE_IMPLEMENT_CLASS(TOwnedCollection, [](TClassBuilder<TOwnedCollection>&) {})

// ---------------------------------------------------------------------------
// TCollectionItem

TCollectionItem::TCollectionItem(TCollection* Collection) {
    // Quietly: Update must not meet an item whose derived part is not built
    // yet. Add tells the collection once the item is complete.
    if (Collection) Collection->insertItem(this);
}

TCollectionItem::~TCollectionItem() {
    if (TCollection* c = collection_) {
        c->removeItem(this);
        c->Changed();
    }
}

void TCollectionItem::SetCollection(TCollection* Value) {
    if (collection_ == Value) return;
    if (collection_) {
        TCollection* old = collection_;
        old->removeItem(this);
        old->Changed();
    }
    if (Value) {
        Value->insertItem(this);
        Value->Changed();
    }
}

int TCollectionItem::Index() const {
    if (!collection_) return -1;
    auto& items = collection_->items_;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : int(it - items.begin());
}

void TCollectionItem::SetIndex(int Value) {
    int current = Index();
    if (current < 0) return;
    auto& items = collection_->items_;
    Value = std::clamp(Value, 0, int(items.size()) - 1);
    if (Value == current) return;
    items.erase(items.begin() + current);
    items.insert(items.begin() + Value, this);
    Changed(true);
}

void TCollectionItem::Changed(bool AllItems) {
    if (collection_ && collection_->updateCount_ == 0) collection_->Update(AllItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() { return collection_; }

AnsiString TCollectionItem::GetNamePath() {
    if (!collection_) return ClassName();
    return collection_->GetNamePath() + "[" + IntToStr(Index()) + "]";
}

// ---------------------------------------------------------------------------
// TCollection

TCollection::TCollection(TMetaClass* ItemClass, TPersistent* Owner) : itemClass_(ItemClass), owner_(Owner) {}

TCollection::~TCollection() {
    updateCount_ = 1;  // no Update calls while going
    Clear();
}

TCollectionItem* TCollection::Items(int Index) const {
    if (Index < 0 || Index >= int(items_.size()))
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    return items_[size_t(Index)];
}

void TCollection::SetItems(int Index, TCollectionItem* Value) { Items(Index)->Assign(Value); }

TCollectionItem* TCollection::Add() {
    if (!itemClass_ || !itemClass_->InheritsFrom(TCollectionItem::StaticClass()))
        throw EComponentError("Collection item class is not a TCollectionItem");
    TCollectionItem* item = itemClass_->CreateItem(this);
    if (item->collection_ != this)
        item->SetCollection(this);
    else
        Changed();
    return item;
}

TCollectionItem* TCollection::Insert(int Index) {
    TCollectionItem* item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(int Index) {
    TCollectionItem* item = Items(Index);
    removeItem(item);
    TObject::Free(item);
    Changed();
}

void TCollection::Clear() {
    if (items_.empty()) return;
    BeginUpdate();
    while (!items_.empty()) {
        TCollectionItem* item = items_.back();
        removeItem(item);
        TObject::Free(item);
    }
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int ID) const {
    for (TCollectionItem* item : items_)
        if (item->id_ == ID) return item;
    return nullptr;
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
    if (updateCount_ <= 0) return;
    if (--updateCount_ == 0) Changed();
}

void TCollection::Changed() {
    if (updateCount_ == 0) Update(nullptr);
}

void TCollection::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TCollection*>(Source);
    if (!source) {
        inherited::Assign(Source);
        return;
    }
    if (source == this) return;
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* item : source->items_) Add()->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

AnsiString TCollection::GetNamePath() {
    TPersistent* owner = GetOwner();
    if (!owner) return ClassName();
    AnsiString path = owner->GetNamePath();
    if (path.empty()) return ClassName();
    // The name of the owner's property that holds this collection.
    for (const TPropInfo* p : owner->ClassType()->Properties())
        if (p->Kind() == tkClass && p->GetObj && p->GetObj(owner) == this) return path + "." + p->Name;
    return ClassName();
}

void TCollection::insertItem(TCollectionItem* item) {
    items_.push_back(item);
    item->collection_ = this;
    item->id_ = nextId_++;
}

void TCollection::removeItem(TCollectionItem* item) {
    // From the end: Clear and the destructor take the last item each time.
    auto it = std::find(items_.rbegin(), items_.rend(), item);
    if (it != items_.rend()) items_.erase(std::next(it).base());
    item->collection_ = nullptr;
}
