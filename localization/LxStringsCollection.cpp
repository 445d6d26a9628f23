#include "localization/LxStringsCollection.h"

#include "localization/LxTextRoutines.h"
#include "localization/LxcompLang.h"
#include "rtl/StrUtils.h"

#include <utility>

YORDE_IMPLEMENT_CLASS(TlxSortCollection, [](TClassBuilder<TlxSortCollection>&) {})
YORDE_IMPLEMENT_CLASS(TlxStringsCollectionItem, [](TClassBuilder<TlxStringsCollectionItem>&) {})
YORDE_IMPLEMENT_CLASS(TlxStringsCollection, [](TClassBuilder<TlxStringsCollection>&) {})

void TlxSortCollection::Sort(const TCompare& Compare) {
    if (Count() < 1) return;
    BeginUpdate();
    try {
        QuickSort(0, Count() - 1, Compare);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TlxSortCollection::QuickSort(int L, int R, const TCompare& Compare) {
    if (L < 0 || R >= Count() || L > R) return;
    // Sorted aside and placed once: moving items one index at a time costs
    // a pass over the collection per exchange.
    std::vector<TCollectionItem*> items;
    items.reserve(size_t(Count()));
    for (int i = 0; i < Count(); ++i) items.push_back(Items(i));
    lxExchangeSort(items, L, R, Compare);
    placeItems(L, std::vector<TCollectionItem*>(items.begin() + L, items.begin() + R + 1));
}

void TlxSortCollection::placeItems(int L, const std::vector<TCollectionItem*>& Order) {
    for (size_t k = 0; k < Order.size(); ++k) Order[k]->SetIndex(L + int(k));
}

TlxStringsCollection::TlxStringsCollection(TMetaClass* ItemClass, TlxCustomLang* Owner)
    : TlxSortCollection(ItemClass, Owner), lang_(Owner) {}

TPersistent* TlxStringsCollection::GetOwner() { return lang_; }

void TlxStringsCollection::placeItems(int L, const std::vector<TCollectionItem*>& Order) {
    std::vector<AnsiString> ids(Order.size());
    std::vector<std::vector<AnsiString>> values(Order.size());
    for (size_t k = 0; k < Order.size(); ++k) {
        auto* item = static_cast<TlxStringsCollectionItem*>(Order[k]);
        ids[k] = std::move(item->ID);
        for (int v = 0; v < item->Values.Count(); ++v) values[k].push_back(item->Values.Strings(v));
    }
    for (size_t k = 0; k < Order.size(); ++k) {
        TlxStringsCollectionItem* item = GetItems(L + int(k));
        item->ID = std::move(ids[k]);
        item->Values.Clear();
        for (AnsiString& v : values[k]) item->Values.Add(v);
    }
}

void TlxStringsCollection::Sort() {
    if (sortLanguage_ == 0)
        TlxSortCollection::Sort(&TlxStringsCollection::SortByID);
    else
        TlxSortCollection::Sort([this](TCollectionItem* a, TCollectionItem* b) { return SortByLang(a, b); });
}

int TlxStringsCollection::SortByID(TCollectionItem* Item1, TCollectionItem* Item2) {
    return AnsiCompareText(static_cast<TlxStringsCollectionItem*>(Item1)->ID,
                           static_cast<TlxStringsCollectionItem*>(Item2)->ID);
}

AnsiString TlxStringsCollection::ValueOf(const TlxStringsCollectionItem* Item, int Lang) {
    if (Lang < 1 || Lang > Item->Values.Count()) return AnsiString();
    return Item->Values.Strings(Lang - 1);
}

AnsiString TlxStringsCollection::sortText(const TlxStringsCollectionItem* Item) const {
    // Sorted by the same decoded text the search compares.
    return DecodeEscapes(ValueOf(Item, sortLanguage_));
}

int TlxStringsCollection::SortByLang(TCollectionItem* Item1, TCollectionItem* Item2) const {
    if (sortLanguage_ == 0) return 0;
    return AnsiCompareText(sortText(static_cast<TlxStringsCollectionItem*>(Item1)),
                           sortText(static_cast<TlxStringsCollectionItem*>(Item2)));
}

int TlxStringsCollection::GetIDIndex(const AnsiString& AID) const {
    for (int i = 0; i < Count(); ++i)
        if (AnsiCompareText(GetItems(i)->ID, AID) == 0) return i;
    return -1;
}

namespace {
// The binary search of the sorted collections; Compare(i) compares item i with the key.
template <class Compare>
int binarySearch(int count, Compare compare) {
    if (count == 0) return -1;
    int L = 0;
    int H = count - 1;
    do {
        const int M = (L + H) / 2;
        const int c = compare(M);
        if (c == 0) return M;
        if (c > 0) {
            H = M;
        } else {
            if (M == L) return (M + 1 < count && compare(M + 1) == 0) ? M + 1 : -1;
            L = M;
        }
    } while (H > L);
    return -1;
}
}  // namespace

int TlxStringsCollection::FindID(const AnsiString& AID) const {
    return binarySearch(Count(), [&](int i) { return AnsiCompareText(GetItems(i)->ID, AID); });
}

AnsiString TlxStringsCollection::GetTranslationByID(const AnsiString& AID, int Lang) const {
    const int i = FindID(AID);
    return i < 0 ? AnsiString() : ValueOf(GetItems(i), Lang);
}

int TlxStringsCollection::findText(const AnsiString& Text) const {
    return binarySearch(Count(), [&](int i) { return AnsiCompareText(sortText(GetItems(i)), Text); });
}

AnsiString TlxStringsCollection::GetTranslationByLang(const AnsiString& Text, int Lang) const {
    const int i = findText(Text);
    if (i < 0) return Text;
    const TlxStringsCollectionItem* item = GetItems(i);
    AnsiString result = ValueOf(item, Lang);
    if (result.empty() && Lang >= 2 && lang_ && lang_->testModeLocked()) result = AnsiUpperCase(ValueOf(item, 1));
    return result;
}

AnsiString TlxStringsCollection::GetTranslationByLang2(const AnsiString& Text, int Lang) const {
    const int i = findText(Text);
    return i < 0 ? AnsiString() : ValueOf(GetItems(i), Lang);
}
