#include "localization/LxPropInfoList.h"

#include "rtl/Convert.h"
#include "rtl/StrUtils.h"

YORDE_IMPLEMENT_CLASS(TlxPropInfoList, [](TClassBuilder<TlxPropInfoList>&) {})

TlxPropInfoList::TlxPropInfoList(const TObject* AObject, TTypeKinds Filter) {
    if (!AObject) throw EInvalidOperation("TlxPropInfoList needs an object");
    list_ = GetPropList(AObject, Filter, true);
}

const TPropInfo* TlxPropInfoList::Get(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    return list_[size_t(Index)];
}

const TPropInfo* TlxPropInfoList::Find(const AnsiString& AName) const {
    for (const TPropInfo* p : list_)
        if (SameText(p->Name, AName)) return p;
    return nullptr;
}

bool TlxPropInfoList::Contains(const TPropInfo* P) const {
    if (!P) return false;
    for (const TPropInfo* p : list_)
        if (p->PropType == P->PropType && SameText(p->Name, P->Name)) return true;
    return false;
}

void TlxPropInfoList::Delete(int Index) {
    Get(Index);
    list_.erase(list_.begin() + Index);
}

void TlxPropInfoList::Intersect(const TlxPropInfoList* List) {
    for (int i = Count() - 1; i >= 0; --i)
        if (!List || !List->Contains(list_[size_t(i)])) list_.erase(list_.begin() + i);
}
