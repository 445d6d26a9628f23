#pragma once
// TCollection: an owned list of items of one class (streamed as vaCollection),
// and TCollectionItem, the base of those items.
//
//   class TColumn : public TCollectionItem {
//       YORDE_CLASS(TColumn, TCollectionItem)
//   public:
//       explicit TColumn(TCollection* Collection) : TCollectionItem(Collection) {}
//       ...
//   };
//   TCollection columns(TColumn::StaticClass(), owner);
#include "classes/Classes.h"

class TCollectionItem : public TPersistent {
    YORDE_CLASS(TCollectionItem, TPersistent)
public:
    // Joins Collection (when not null) at the end, without an Update call:
    // TCollection::Add makes that once the item is complete.
    explicit TCollectionItem(TCollection* Collection);
    // Leaves the collection.
    ~TCollectionItem() override;

    TCollection* Collection() const { return collection_; }
    void SetCollection(TCollection* Value);
    int Index() const;
    // Moves the item; the index is clamped to the collection.
    virtual void SetIndex(int Value);
    int ID() const { return id_; }

    // Default: the class name.
    virtual AnsiString GetDisplayName() const { return ClassName(); }
    AnsiString DisplayName() const { return GetDisplayName(); }

    TPersistent* GetOwner() override;
    AnsiString GetNamePath() override;  // "Owner.Items[2]"

protected:
    // Tells the collection (Update) unless it is inside BeginUpdate.
    virtual void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

class TCollection : public TPersistent {
    YORDE_CLASS(TCollection, TPersistent)
public:
    // ItemClass must describe a TCollectionItem class constructible from TCollection*.
    explicit TCollection(TMetaClass* ItemClass, TPersistent* Owner = nullptr);
    ~TCollection() override;

    TMetaClass* ItemClass() const { return itemClass_; }
    int Count() const { return int(items_.size()); }
    TCollectionItem* Items(int Index) const;  // EListError "List index out of bounds (%d)"
    // Assigns Value to the item at Index.
    void SetItems(int Index, TCollectionItem* Value);
    TCollectionItem* Add();
    TCollectionItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    TCollectionItem* FindItemID(int ID) const;

    void BeginUpdate();
    void EndUpdate();  // the last one calls Update(nullptr)
    int UpdateCount() const { return updateCount_; }

    // Item by item through the items' own Assign.
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() override { return owner_; }
    AnsiString GetNamePath() override;  // "Owner.PropertyName"

protected:
    // After a change: Item is the changed item, or null when any may have changed.
    virtual void Update(TCollectionItem* /*Item*/) {}
    void Changed();

private:
    friend class TCollectionItem;
    void insertItem(TCollectionItem* item);
    void removeItem(TCollectionItem* item);

    TMetaClass* itemClass_;
    TPersistent* owner_;
    std::vector<TCollectionItem*> items_;
    int updateCount_ = 0;
    int nextId_ = 0;
};

// A collection that names its owner (the class library's TOwnedCollection).
class TOwnedCollection : public TCollection {
    YORDE_CLASS(TOwnedCollection, TCollection)
public:
    TOwnedCollection(TPersistent* AOwner, TMetaClass* ItemClass) : TCollection(ItemClass, AOwner) {}
};
