#pragma once
// The identifiers of a translation component's Strings list, split and
// sorted for binary search.
#include "classes/Collections.h"
#include "classes/Strings.h"

#include <functional>

class TlxCustomLang;

class TlxSortCollection : public TCollection {
    YORDE_CLASS(TlxSortCollection, TCollection)
public:
    using TCompare = std::function<int(TCollectionItem* Item1, TCollectionItem* Item2)>;
    explicit TlxSortCollection(TMetaClass* ItemClass, TPersistent* Owner = nullptr) : TCollection(ItemClass, Owner) {}
    void Sort(const TCompare& Compare);
    // In-place partition exchange around the item in the middle.
    virtual void QuickSort(int L, int R, const TCompare& Compare);
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

private:
    AnsiString sortText(const TlxStringsCollectionItem* Item) const;
    int findText(const AnsiString& Text) const;

    TlxCustomLang* lang_;
    int sortLanguage_ = 0;
};
