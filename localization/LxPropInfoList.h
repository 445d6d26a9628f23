#pragma once
// The published properties of one object, filtered by kind and sorted by name.
#include "classes/Classes.h"

#include <vector>

class TlxPropInfoList : public TObject {
    YORDE_CLASS(TlxPropInfoList, TObject)
public:
    // AObject must not be null.
    TlxPropInfoList(const TObject* AObject, TTypeKinds Filter);

    int Count() const { return int(list_.size()); }
    // 0-based; EListError outside the list.
    const TPropInfo* Get(int Index) const;
    // The first property of that name (case-insensitive), or null.
    const TPropInfo* Find(const AnsiString& AName) const;
    // Same property type (by identity) and name (case-insensitive).
    bool Contains(const TPropInfo* P) const;
    void Delete(int Index);
    // Keeps only the properties that List contains too, in this list's order.
    void Intersect(const TlxPropInfoList* List);

private:
    std::vector<const TPropInfo*> list_;
};
