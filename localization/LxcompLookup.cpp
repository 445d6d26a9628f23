// Look-up of texts by identifier; the only part of the component that runs
// on worker threads.
#include "localization/LxStringsCollection.h"
#include "localization/LxTextRoutines.h"
#include "localization/LxcompDispatcher.h"
#include "localization/LxcompLang.h"
#include "localization/MemIni.h"
#include "rtl/Convert.h"
#include "rtl/Format.h"
#include "rtl/StrUtils.h"

namespace {
[[noreturn]] void raiseNotFound(const AnsiString& ID) {
    throw ELanguageError(Format("String identifier \"%s\" not found!", {ID}));
}
}  // namespace

AnsiString TlxCustomLang::GetTextOrDefault(const AnsiString& ID) const {
    AnsiString result;
    GetTextFrom(Strings(), ID, result, true);
    return DecodeEscapes(result);
}

AnsiString TlxCustomLang::GetText(const AnsiString& ID) const {
    AnsiString result;
    GetTextFrom(Strings(), ID, result, translateType_ == ttGetDefault);
    return DecodeEscapes(result);
}

AnsiString TlxCustomLang::GetTextbyInt(int ID) const { return GetText(IntToStr(ID)); }

bool TlxCustomLang::testModeLocked() const { return langDispatcher_ && langDispatcher_->TestMode(); }

bool TlxCustomLang::DispatcherTestMode() const {
    std::shared_lock<std::shared_mutex> lock(collLock_);
    return testModeLocked();
}

bool TlxCustomLang::redirectedList(TStrings* List, bool ByIndex, TStrings*& Other) const {
    TStrings* (TlxCustomLang::*pick)() const = nullptr;
    if (options_.Contains(loUseExtCommonStrings) && List == DlgsCaptions())
        pick = &TlxCustomLang::DlgsCaptions;
    else if (options_.Contains(loUseExtCommonStrings) && List == Locales())
        pick = &TlxCustomLang::Locales;
    else if (!ByIndex && options_.Contains(loUseExtUDStrings) && List == Strings())
        pick = &TlxCustomLang::Strings;
    if (!pick) return false;
    Other = nullptr;
    if (!langDispatcher_) return true;
    for (int i = 0; i < langDispatcher_->GetLxLangsCount(); ++i) {
        TStrings* l = (langDispatcher_->GetLxLangs(i)->*pick)();
        if (l && l->Count() > 0) {
            Other = l;
            break;
        }
    }
    return true;
}

AnsiString TlxCustomLang::entryText(const AnsiString& Entry, bool OrDefault, bool TestModeRule) const {
    const int lang = ActiveLanguage();
    // A language outside the count reads as empty, so language 1 stands in.
    AnsiString result =
        lang >= 1 && lang <= numOfLanguages_ ? ExtractTranslation(Entry, langDelim_, lang) : AnsiString();
    if (result.empty() && TestModeRule && lang >= 2 && DispatcherTestMode())
        result = AnsiUpperCase(ExtractTranslation(Entry, langDelim_, 1));
    if (result.empty() && OrDefault) result = ExtractTranslation(Entry, langDelim_, 1);
    return result;
}

void TlxCustomLang::textSearch(TStrings* List, const AnsiString& ID, AnsiString& Result, bool OrDefault) const {
    // Entry by entry, so that a field never runs into the next entry and a
    // line break inside a text is not taken for the start of an entry.
    const size_t n = ID.size();
    for (int i = 0; List && i < List->Count(); ++i) {
        const AnsiString entry = List->Strings(i);
        if (entry.size() > n && entry[n] == langDelim_ && AnsiSameText(entry.substr(0, n), ID)) {
            Result = entryText(entry, OrDefault, true);
            return;
        }
    }
    if (doRaiseExceptions_) raiseNotFound(ID);
}

void TlxCustomLang::GetTextFrom(TStrings* List, const AnsiString& ID, AnsiString& Result, bool OrDefault) const {
    Result.clear();
    TStrings* other = nullptr;
    if (redirectedList(List, false, other)) {
        // A direct search of the other list: it never asks that component
        // again, so choosing this one cannot recurse.
        if (other) textSearch(other, ID, Result, OrDefault);
        return;
    }
    if (List == Strings() && !IsDesigning()) {
        std::shared_lock<std::shared_mutex> lock(collLock_);
        const int index = stringsColl_->FindID(ID);
        if (index < 0) {
            if (doRaiseExceptions_) raiseNotFound(ID);
            return;
        }
        const TlxStringsCollectionItem* item = stringsColl_->GetItems(index);
        const int lang = ActiveLanguage();
        Result = TlxStringsCollection::ValueOf(item, lang);
        if (Result.empty() && lang >= 2 && testModeLocked())
            Result = AnsiUpperCase(TlxStringsCollection::ValueOf(item, 1));
        if (Result.empty() && OrDefault) Result = TlxStringsCollection::ValueOf(item, 1);
        return;
    }
    textSearch(List, ID, Result, OrDefault);
}

void TlxCustomLang::GetTextFromByIndex(TStrings* List, int Index, AnsiString& Result, bool OrDefault) const {
    Result.clear();
    TStrings* list = List;
    TStrings* other = nullptr;
    if (redirectedList(List, true, other)) {
        if (!other) return;
        list = other;
    }
    if (!list || Index < 0 || Index >= list->Count()) return;
    Result = entryText(list->Strings(Index), OrDefault, false);
}
