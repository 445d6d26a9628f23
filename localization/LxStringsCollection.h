#pragma once
// The identifiers of a translation component's Strings list, split and
// sorted for binary search.
#include "classes/Collections.h"
#include "classes/Strings.h"

#include <functional>
#include <utility>
#include <vector>

class TlxCustomLang;

// The classic exchange sort of Items from L to R, around the element in the
// middle; Compare(A, B) is negative, zero or positive. Equal keys end up
// where this sort has always put them, which stored data relies on.
template <class T, class Compare>
void lxExchangeSort(std::vector<T>& Items, int L, int R, const Compare& Compare_) {
    auto at = [&Items](int Index) -> const T& {
        if (Index < 0 || Index >= int(Items.size())) throw EListError("List index out of bounds");
        return Items[size_t(Index)];
    };
    int I = 0;
    do {
        I = L;
        int J = R;
        const T pivot = at((L + R) / 2);
        do {
            while (Compare_(at(I), pivot) < 0) ++I;
            while (Compare_(at(J), pivot) > 0) --J;
            if (I <= J) {
                std::swap(Items[size_t(I)], Items[size_t(J)]);
                ++I;
                --J;
            }
        } while (I <= J);
        if (L < J) lxExchangeSort(Items, L, J, Compare_);
        L = I;
    } while (I < R);
}

class TlxSortCollection : public TCollection {
    YORDE_CLASS(TlxSortCollection, TCollection)
public:
    using TCompare = std::function<int(TCollectionItem* Item1, TCollectionItem* Item2)>;
    explicit TlxSortCollection(TMetaClass* ItemClass, TPersistent* Owner = nullptr) : TCollection(ItemClass, Owner) {}
    void Sort(const TCompare& Compare);
    // Partition exchange around the item in the middle.
    virtual void QuickSort(int L, int R, const TCompare& Compare);

protected:
    // Order holds the items now at L, L + 1, ... in their new order.
    virtual void placeItems(int L, const std::vector<TCollectionItem*>& Order);
};

class TlxStringsCollectionItem : public TCollectionItem {
    YORDE_CLASS(TlxStringsCollectionItem, TCollectionItem)
public:
    explicit TlxStringsCollectionItem(TCollection* Collection) : TCollectionItem(Collection) {}
    void SetValues(TStrings* AValues) { Values.Assign(AValues); }
    // The text of language k at index k - 1.
    TStringList Values;
    AnsiString ID;
};

class TlxStringsCollection : public TlxSortCollection {
    YORDE_CLASS(TlxStringsCollection, TlxSortCollection)
public:
    TlxStringsCollection(TMetaClass* ItemClass, TlxCustomLang* Owner);

    TlxStringsCollectionItem* Add() { return static_cast<TlxStringsCollectionItem*>(TCollection::Add()); }
    TlxStringsCollectionItem* GetItems(int Index) const { return static_cast<TlxStringsCollectionItem*>(Items(Index)); }
    void SetItems(int Index, TlxStringsCollectionItem* Value) { TCollection::SetItems(Index, Value); }
    TPersistent* GetOwner() override;
    TlxCustomLang* Lang() const { return lang_; }

    // 0: sorted by ID; n: by the texts of language n (escapes decoded).
    int SortLanguage() const { return sortLanguage_; }
    void SetSortLanguage(int Value) { sortLanguage_ = Value; }
    void Sort();
    static int SortByID(TCollectionItem* Item1, TCollectionItem* Item2);
    int SortByLang(TCollectionItem* Item1, TCollectionItem* Item2) const;

    // Linear, case-insensitive; -1 when absent.
    int GetIDIndex(const AnsiString& AID) const;
    // Binary search by ID; -1 when absent.
    int FindID(const AnsiString& AID) const;
    // Text of language Lang for ID; empty when the ID is absent or Lang lies
    // outside the item's languages.
    AnsiString GetTranslationByID(const AnsiString& AID, int Lang) const;
    // The searches run under the owner's lock (TlxCustomLang::WithStringsCollection).
    // Searches the sort language's texts for Text: the found item's text of
    // Lang (language 1 in capitals when empty in test mode), else Text.
    AnsiString GetTranslationByLang(const AnsiString& Text, int Lang) const;
    // The same, empty when nothing is found, no test-mode fall-back.
    AnsiString GetTranslationByLang2(const AnsiString& Text, int Lang) const;

    // Text of language Lang of an item; empty outside its languages.
    static AnsiString ValueOf(const TlxStringsCollectionItem* Item, int Lang);

protected:
    // The identifiers and texts move, the items stay where they are.
    void placeItems(int L, const std::vector<TCollectionItem*>& Order) override;

private:
    AnsiString sortText(const TlxStringsCollectionItem* Item) const;
    int findText(const AnsiString& Text) const;

    TlxCustomLang* lang_;
    int sortLanguage_ = 0;
};
