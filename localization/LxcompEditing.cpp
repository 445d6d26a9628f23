// The identifier collections and the editing of entries.
#include "localization/LxExtended.h"
#include "localization/LxStringsCollection.h"
#include "localization/LxTextRoutines.h"
#include "localization/LxcompLang.h"
#include "localization/MemIni.h"
#include "rtl/Files.h"
#include "rtl/StrUtils.h"

#include <algorithm>
#include <mutex>

void TlxCustomLang::LoadStringsColl(TlxStringsCollection* Coll, int SortLanguage) {
    if (!Coll) return;
    // Split and sorted aside, so that look-ups wait only for the copy. The
    // sort keys are the small-letter forms, which compare as the collection's
    // own comparisons do.
    struct Item {
        AnsiString ID;
        std::vector<AnsiString> Values;
        AnsiString Key;
    };
    std::vector<Item> items;
    TStrings* strings = Strings();
    items.reserve(size_t(strings->Count()));
    for (int i = 0; i < strings->Count(); ++i) {
        const AnsiString entry = strings->Strings(i);
        Item item;
        item.ID = ExtractTranslation(entry, langDelim_, 0);
        for (int k = 1; k <= numOfLanguages_; ++k) item.Values.push_back(ExtractTranslation(entry, langDelim_, k));
        const AnsiString sortText = SortLanguage == 0 ? item.ID
                                    : SortLanguage >= 1 && SortLanguage <= numOfLanguages_
                                        ? DecodeEscapes(item.Values[size_t(SortLanguage) - 1])
                                        : AnsiString();
        item.Key = AnsiLowerCase(sortText);
        items.push_back(std::move(item));
    }
    std::vector<size_t> order(items.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    if (!order.empty())
        lxExchangeSort(order, 0, int(order.size()) - 1,
                       [&items](size_t A, size_t B) { return items[A].Key.compare(items[B].Key); });
    std::unique_lock<std::shared_mutex> lock(collLock_);
    Coll->BeginUpdate();
    while (Coll->Count() > int(items.size())) Coll->Delete(Coll->Count() - 1);
    while (Coll->Count() < int(items.size())) Coll->Add();
    for (size_t i = 0; i < order.size(); ++i) {
        TlxStringsCollectionItem* item = Coll->GetItems(int(i));
        item->ID = std::move(items[order[i]].ID);
        item->Values.Clear();
        for (AnsiString& v : items[order[i]].Values) item->Values.Add(v);
    }
    Coll->SetSortLanguage(SortLanguage);
    Coll->EndUpdate();
}

void TlxCustomLang::UpdateStrCollections() {
    if (IsDesigning()) return;
    LoadStringsColl(stringsColl_.get(), 0);
    if (handleResourceStrings_ && Owner()) LoadStringsColl(resStringsColl_.get(), resourceLanguageIndex_);
}

AnsiString TlxCustomLang::BuildStringByOne(const AnsiString& Text, int Index) const {
    AnsiString out;
    for (int k = 1; k <= numOfLanguages_; ++k) {
        if (k == Index) out += Text;
        out += langDelim_;
    }
    return out;
}

void TlxCustomLang::ReplaceStringValue(TStrings* List, const AnsiString& NewText, int Lang, const AnsiString& Key) {
    if (!List || Lang < 1) return;
    if (List == Strings() && !IsDesigning()) {
        std::unique_lock<std::shared_mutex> lock(collLock_);
        for (TlxStringsCollection* coll : {stringsColl_.get(), resStringsColl_.get()}) {
            const int i = coll->GetIDIndex(Key);
            if (i < 0) continue;
            TStringList& values = coll->GetItems(i)->Values;
            while (values.Count() < Lang) values.Add(AnsiString());
            values.SetStrings(Lang - 1, NewText);
            // A collection searched by this language's texts must stay sorted.
            if (coll->SortLanguage() == Lang) coll->Sort();
        }
    }
    for (int i = 0; i < List->Count(); ++i) {
        const AnsiString entry = List->Strings(i);
        if (!AnsiSameText(ExtractTranslation(entry, langDelim_, 0), Key)) continue;
        List->SetStrings(i, entryWithText(entry, NewText, Lang));
        return;
    }
}

AnsiString TlxCustomLang::entryWithText(const AnsiString& Entry, const AnsiString& NewText, int Lang) const {
    std::vector<size_t> delims;
    for (size_t p = Entry.find(langDelim_); p != AnsiString::npos; p = Entry.find(langDelim_, p + 1))
        delims.push_back(p);
    if (delims.size() >= size_t(Lang) + 1)
        return Entry.substr(0, delims[size_t(Lang) - 1] + 1) + NewText + Entry.substr(delims[size_t(Lang)]);
    if (delims.size() == size_t(Lang)) return Entry.substr(0, delims[size_t(Lang) - 1] + 1) + NewText;
    // Missing fields are padded so that the text lands in language Lang.
    return Entry + AnsiString(size_t(Lang) - delims.size(), langDelim_) + NewText;
}

bool TlxCustomLang::AddString(const AnsiString& ID, const std::vector<AnsiString>& Values) {
    return AddString(ID, Values.data(), int(Values.size()) - 1);
}

bool TlxCustomLang::AddString(const AnsiString& ID, const AnsiString* Values, int HighIndex) {
    try {
        // The same match as the collection's, so that list and collection agree.
        const int old = GetIDIndex(ID);
        if (old >= 0) Strings()->Delete(old);
        AnsiString entry = ID + langDelim_;
        const int given = HighIndex + 1;
        for (int k = 0; k < given; ++k) entry += Values[k] + langDelim_;
        for (int k = given; k < numOfLanguages_; ++k) entry += langDelim_;
        Strings()->Add(entry);
        TStringList values;
        for (int k = 1; k <= numOfLanguages_; ++k) values.Add(ExtractTranslation(entry, langDelim_, k));
        std::unique_lock<std::shared_mutex> lock(collLock_);
        const int i = stringsColl_->GetIDIndex(ID);
        if (i >= 0) {
            stringsColl_->GetItems(i)->Values.Assign(&values);
        } else {
            TlxStringsCollectionItem* item = stringsColl_->Add();
            item->ID = ID;
            item->Values.Assign(&values);
            stringsColl_->Sort();
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TlxCustomLang::DeleteString(const AnsiString& ID) {
    const AnsiString prefix = ID + langDelim_;
    TStrings* strings = Strings();
    for (int i = 0; i < strings->Count(); ++i) {
        if (strings->Strings(i).compare(0, prefix.size(), prefix) != 0) continue;
        strings->Delete(i);
        // Neither the look-ups nor the resource-string translation may keep
        // returning a deleted identifier.
        std::unique_lock<std::shared_mutex> lock(collLock_);
        for (TlxStringsCollection* coll : {stringsColl_.get(), resStringsColl_.get()})
            for (int k = 0; k < coll->Count(); ++k)
                if (coll->GetItems(k)->ID == ID) {
                    coll->Delete(k);
                    break;
                }
        return true;
    }
    return false;
}

AnsiString TlxCustomLang::GetStringID(int Index) const {
    if (Index < 0 || Index >= Strings()->Count()) throw EListError("List index is out of bonds!");
    return ExtractTranslation(Strings()->Strings(Index), langDelim_, 0);
}

int TlxCustomLang::GetIDIndex(const AnsiString& ID) const {
    TStrings* strings = Strings();
    for (int i = 0; i < strings->Count(); ++i)
        if (AnsiCompareText(ExtractTranslation(strings->Strings(i), langDelim_, 0), ID) == 0) return i;
    return -1;
}

void TlxCustomLang::NormalizeStrings() {
    for (TStrings* list : {Strings(), DlgsCaptions(), Locales()}) {
        for (int i = 0; i < list->Count(); ++i) {
            const AnsiString entry = list->Strings(i);
            const int delims = int(std::count(entry.begin(), entry.end(), langDelim_));
            if (delims <= numOfLanguages_)
                list->SetStrings(i, entry + AnsiString(size_t(numOfLanguages_ + 1 - delims), langDelim_));
        }
    }
}

void TlxCustomLang::ClearTranslations() {
    for (int t = 0; t < StringsTypeCount; ++t)
        if (TStrings* list = GetPropListByType(TStringsType(t))) list->Clear();
    if (!IsDesigning()) UpdateStrCollections();
}

void TlxCustomLang::ChangeDelimOnStrs(char Old, char New, TStrings* List) {
    if (!List) return;
    for (int i = 0; i < List->Count(); ++i) {
        AnsiString entry = List->Strings(i);
        if (entry.find(Old) == AnsiString::npos) continue;
        std::replace(entry.begin(), entry.end(), Old, New);
        List->SetStrings(i, entry);
    }
}

void TlxCustomLang::ChangeDelimOnExtended(char Old, char New) {
    for (int i = 0; i < extended_->Count(); ++i) {
        TlxExtendedItem* item = extended_->GetItems(i);
        AnsiString values = item->Values();
        std::replace(values.begin(), values.end(), Old, New);
        item->SetValues(values);
    }
}

void TlxCustomLang::ChangeLangDelim(char Old, char New) {
    for (int t = 0; t < StringsTypeCount; ++t) ChangeDelimOnStrs(Old, New, GetPropListByType(TStringsType(t)));
    ChangeDelimOnExtended(Old, New);
}

void TlxCustomLang::ReBuildDoNotList() {
    TComponent* owner = Owner();
    if (!owner) return;
    for (int i = 0; i < doNotTranslate_->Count(); ++i) {
        const AnsiString name = doNotTranslate_->Strings(i);
        TComponent* c = owner->FindComponent(name);
        if (!c && AnsiSameText(name, owner->ClassName())) c = owner;
        if (!c) continue;
        for (TStringsType t : {stCaptions, stHints, stDisplayLabels, stFonts, stMultiLines, stOtherStrings})
            MakeNotification(List(t), c, opRemove, t);
        MakeNotification(CharSets(), c, opRemove, stFonts);
        MakeNotification(Collections(), c, opRemove, stCollections);
    }
}

bool TlxCustomLang::IsHandledTStrings(const AnsiString& AClassName) const {
    return stringsTypes_->IndexOf(AClassName) >= 0;
}
